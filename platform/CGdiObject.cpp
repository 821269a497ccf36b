#include "platform/CGdiObject.h"

#include "platform/CBrush.h"
#include "platform/CPen.h"

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
    static const bool marked = [] {
        nullBrush.CreateNullBrush();
        for (CGdiObject* object : std::initializer_list<CGdiObject*>{
                 &whitePen, &blackPen, &nullPen, &whiteBrush, &blackBrush, &nullBrush})
            object->m_stock = true;
        return true;
    }();
    (void)marked;
    switch (index) {
    case WHITE_BRUSH: return &whiteBrush;
    case BLACK_BRUSH: return &blackBrush;
    case NULL_BRUSH: return &nullBrush;
    case WHITE_PEN: return &whitePen;
    case BLACK_PEN: return &blackPen;
    case NULL_PEN: return &nullPen;
    default: return nullptr;
    }
}
