#include "platform/gdi/CPen.h"

#include "platform/gdi/CDC.h"

CPen::CPen(int style, int width, COLORREF colour)
{
    CreatePen(style, width, colour);
}

BOOL CPen::CreatePen(int style, int width, COLORREF colour)
{
    if (IsCreated())
        return FALSE;
    Qt::PenStyle qtStyle = Qt::SolidLine;
    switch (style) {
    case PS_DASH:
        qtStyle = Qt::DashLine;
        break;
    case PS_DOT:
        qtStyle = Qt::DotLine;
        break;
    case PS_NULL:
        qtStyle = Qt::NoPen;
        break;
    default:
        break;
    }
    m_pen = QPen(ToQColor(colour), std::max(width, 0), qtStyle, Qt::SquareCap, Qt::MiterJoin);
    MarkCreated();
    return TRUE;
}
