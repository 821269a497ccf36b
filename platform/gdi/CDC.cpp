#include "platform/gdi/CDC.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/SysColor.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace
{
QRect ToQRect(const RECT& rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// The image's ink: its opaque pixels that are not light, which the disabled effect embosses.
QImage InkMask(const QImage& image, COLORREF colour)
{
    QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage mask(source.size(), QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    mask.setDevicePixelRatio(image.devicePixelRatio());
    const QRgb ink = ToQColor(colour).rgb();
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(in[x]) >= 128 && qGray(in[x]) < 192)
                out[x] = ink;
        }
    }
    return mask;
}
} // namespace

CDC::CDC(QPainter* painter)
    : m_painter(painter), m_pen(CGdiObject::GetStockObject(BLACK_PEN)),
      m_brush(CGdiObject::GetStockObject(WHITE_BRUSH)), m_qpen(static_cast<CPen*>(m_pen)->ToQPen()),
      m_qbrush(static_cast<CBrush*>(m_brush)->ToQBrush())
{
}

int CDC::GetDeviceCaps(int index) const
{
    const QPaintDevice* device = m_painter ? m_painter->device() : nullptr;
    if (!device)
        return 0;
    switch (index) {
    case LOGPIXELSX:
        return device->logicalDpiX();
    case LOGPIXELSY:
        return device->logicalDpiY();
    default:
        return 0;
    }
}

CPen* CDC::SelectObject(CPen* pen)
{
    return static_cast<CPen*>(SelectObject(static_cast<CGdiObject*>(pen)));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(brush)));
}

CFont* CDC::SelectObject(CFont* font)
{
    return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(font)));
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (!object || !object->IsCreated())
        return nullptr;
    CGdiObject* previous = nullptr;
    if (const auto* font = dynamic_cast<const CFont*>(object)) {
        previous = std::exchange(m_font, object);
        m_painter->setFont(font->ToQFont());
        return previous;
    }
    if (const auto* pen = dynamic_cast<const CPen*>(object)) {
        previous = m_pen;
        m_pen = object;
        m_qpen = pen->ToQPen();
    } else if (const auto* brush = dynamic_cast<const CBrush*>(object)) {
        previous = m_brush;
        m_brush = object;
        m_qbrush = brush->ToQBrush();
    }
    return previous;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return SelectObject(CGdiObject::GetStockObject(index));
}

COLORREF CDC::SetTextColor(COLORREF colour)
{
    return std::exchange(m_textColour, colour);
}

COLORREF CDC::SetBkColor(COLORREF colour)
{
    return std::exchange(m_bkColour, colour);
}

int CDC::SetBkMode(int mode)
{
    return mode == TRANSPARENT || mode == OPAQUE ? std::exchange(m_bkMode, mode) : 0;
}

CPoint CDC::MoveTo(int x, int y)
{
    return std::exchange(m_position, CPoint(x, y));
}

BOOL CDC::LineTo(int x, int y)
{
    const CPoint from = std::exchange(m_position, CPoint(x, y));
    const int dx = x - from.x;
    const int dy = y - from.y;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0 || m_qpen.style() == Qt::NoPen)
        return TRUE;
    // The last pixel drawn is the one a step before the end point along the longer axis.
    const QPoint last(from.x + int(std::lround(double(dx) * (steps - 1) / steps)),
                      from.y + int(std::lround(double(dy) * (steps - 1) / steps)));
    m_painter->setPen(m_qpen);
    if (last == QPoint(from.x, from.y))
        m_painter->drawPoint(last);
    else
        m_painter->drawLine(QPoint(from.x, from.y), last);
    return TRUE;
}

BOOL CDC::Rectangle(LPCRECT rect)
{
    const QRect area = ToQRect(*rect);
    if (area.width() <= 0 || area.height() <= 0)
        return TRUE;
    const bool outlined = m_qpen.style() != Qt::NoPen;
    // Without a pen the system leaves the right and bottom edges unfilled, too.
    const QRect inside = outlined ? area.adjusted(1, 1, -1, -1) : area.adjusted(0, 0, -1, -1);
    if (m_qbrush.style() != Qt::NoBrush && inside.isValid())
        m_painter->fillRect(inside, m_qbrush);
    if (outlined) {
        m_painter->setPen(m_qpen);
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawRect(area.adjusted(0, 0, -1, -1));
    }
    return TRUE;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF colour)
{
    SetBkColor(colour);
    m_painter->fillRect(ToQRect(*rect), ToQColor(colour));
}

int CDC::FillRect(LPCRECT rect, CBrush* brush)
{
    if (!brush || !brush->IsCreated())
        return FALSE;
    if (brush->ToQBrush().style() != Qt::NoBrush)
        m_painter->fillRect(ToQRect(*rect), brush->ToQBrush());
    return TRUE;
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour)
{
    const CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, colour);
}

void CDC::DrawFocusRect(LPCRECT rect)
{
    const CRect r(*rect);
    if (r.IsRectEmpty())
        return;
    // Each outline pixel once (a pixel inverted twice would not change), on a checkerboard.
    std::vector<QRect> dots;
    auto dot = [&dots](int x, int y) {
        if (((x + y) & 1) == 0)
            dots.emplace_back(x, y, 1, 1);
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top)
            dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left)
            dot(r.right - 1, y);
    }
    m_painter->save();
    m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_painter->setPen(Qt::NoPen);
    m_painter->setBrush(Qt::white);
    m_painter->drawRects(dots.data(), int(dots.size()));
    m_painter->restore();
}

BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state)
{
    if (type != DFC_BUTTON || !(state & DFCS_BUTTONPUSH))
        return FALSE;
    const auto* widget = dynamic_cast<const QWidget*>(m_painter->device());
    QStyleOptionButton option;
    option.rect = ToQRect(*rect);
    option.palette = widget ? widget->palette() : QApplication::palette();
    option.state = state & DFCS_INACTIVE ? QStyle::State_None : QStyle::State_Enabled;
    option.state |= state & DFCS_PUSHED ? QStyle::State_Sunken : QStyle::State_Raised;
    // The system's face fills the whole rectangle; a style may round its corners.
    m_painter->fillRect(option.rect, ToQColor(GetSysColor(COLOR_BTNFACE)));
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButtonBevel, &option, m_painter, widget);
    return TRUE;
}

BOOL CDC::DrawState(CPoint point, CSize size, const QIcon& icon, UINT flags)
{
    if (icon.isNull())
        return FALSE;
    const QSize extent =
        size == CSize() ? icon.availableSizes().value(0, QSize(32, 32)) : QSize(size.cx, size.cy);
    // Drawn from the icon's own pixels at the device's density, so that it stays sharp on a
    // scaled screen.
    const qreal ratio = m_painter->device() ? m_painter->device()->devicePixelRatio() : 1.0;
    QImage image = icon.pixmap(extent, ratio).toImage().scaled(extent * ratio);
    image.setDevicePixelRatio(ratio);
    DrawImageState(point, image, flags);
    return TRUE;
}

BOOL CDC::DrawState(CPoint point, CSize size, const QImage& bitmap, UINT flags)
{
    if (bitmap.isNull())
        return FALSE;
    const QSize extent = size == CSize() ? bitmap.size() : QSize(size.cx, size.cy);
    DrawImageState(point, bitmap.copy(0, 0, extent.width(), extent.height()), flags);
    return TRUE;
}

BOOL CDC::DrawState(CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText,
                    int textLength)
{
    if (!text)
        return FALSE;
    const CString shown = textLength > 0 ? CString(text).Left(textLength) : CString(text);
    const UINT format =
        DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP | (prefixText ? 0 : DT_NOPREFIX);
    CRect extent(0, 0, 0, 0);
    DrawText(shown, &extent, format | DT_CALCRECT);
    if (size != CSize())
        extent = CRect(0, 0, size.cx, size.cy);
    QImage image(std::max(1, extent.Width()), std::max(1, extent.Height()),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(m_painter->font());
        CDC dc(&painter);
        dc.SetTextColor(flags & DSS_DISABLED ? RGB(0, 0, 0) : m_textColour);
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(shown, &extent, format);
    }
    DrawImageState(point, image, flags);
    return TRUE;
}

void CDC::DrawImageState(CPoint point, const QImage& image, UINT flags)
{
    if (!(flags & DSS_DISABLED)) {
        m_painter->drawImage(QPoint(point.x, point.y), image);
        return;
    }
    // The system's embossed look: the ink in the highlight colour one pixel down and right,
    // then in the shadow colour over it.
    m_painter->drawImage(QPoint(point.x + 1, point.y + 1),
                         InkMask(image, GetSysColor(COLOR_3DHIGHLIGHT)));
    m_painter->drawImage(QPoint(point.x, point.y), InkMask(image, GetSysColor(COLOR_3DSHADOW)));
}
