#include "platform/gdi/CGdiObject.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"

#include <QGuiApplication>
#include <map>

BOOL CGdiObject::DeleteObject()
{
    if (!m_created || m_stock)
        return FALSE;
    Release();
    m_created = false;
    return TRUE;
}

CGdiObject* CGdiObject::GetStockObject(int index)
{
    static CPen whitePen(PS_SOLID, 0, RGB(255, 255, 255));
    static CPen blackPen(PS_SOLID, 0, RGB(0, 0, 0));
    static CPen nullPen(PS_NULL, 0, 0);
    static CBrush whiteBrush(RGB(255, 255, 255));
    static CBrush blackBrush(RGB(0, 0, 0));
    static CBrush nullBrush;
    static CFont guiFont;
    if (index == DEFAULT_GUI_FONT && !guiFont.IsCreated()) {
        // Made on first use, when the application (and its font) exists.
        const LOGFONT gui = CFont::DescriptionOf(QGuiApplication::font());
        guiFont.CreateFontIndirect(&gui);
        guiFont.m_stock = true;
    }
    static const std::map<int, CGdiObject*> stock = [] {
        nullBrush.CreateNullBrush();
        const std::map<int, CGdiObject*> objects = {
            {WHITE_BRUSH, &whiteBrush},   {BLACK_BRUSH, &blackBrush}, {NULL_BRUSH, &nullBrush},
            {WHITE_PEN, &whitePen},       {BLACK_PEN, &blackPen},     {NULL_PEN, &nullPen},
            {DEFAULT_GUI_FONT, &guiFont},
        };
        for (const auto& [id, object] : objects)
            object->m_stock = true;
        return objects;
    }();
    const auto found = stock.find(index);
    return found == stock.end() ? nullptr : found->second;
}
