#include "platform/gdi/CBrush.h"

#include "platform/gdi/CDC.h"

CBrush::CBrush(COLORREF colour)
{
    CreateSolidBrush(colour);
}

BOOL CBrush::CreateSolidBrush(COLORREF colour)
{
    if (IsCreated())
        return FALSE;
    m_brush = QBrush(ToQColor(colour));
    MarkCreated();
    return TRUE;
}

BOOL CBrush::CreateNullBrush()
{
    if (IsCreated())
        return FALSE;
    m_brush = QBrush(Qt::NoBrush);
    MarkCreated();
    return TRUE;
}
