#include "platform/gdi/CGdiObject.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"

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
    static const std::map<int, CGdiObject*> stock = [] {
        nullBrush.CreateNullBrush();
        const std::map<int, CGdiObject*> objects = {
            {WHITE_BRUSH, &whiteBrush}, {BLACK_BRUSH, &blackBrush}, {NULL_BRUSH, &nullBrush},
            {WHITE_PEN, &whitePen},     {BLACK_PEN, &blackPen},     {NULL_PEN, &nullPen},
        };
        for (const auto& [id, object] : objects)
            object->m_stock = true;
        return objects;
    }();
    const auto found = stock.find(index);
    return found == stock.end() ? nullptr : found->second;
}
