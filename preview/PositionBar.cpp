#include "preview/PositionBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace
{
constexpr int kThumbWidth = 8;
constexpr int kGrooveHeight = 6;
} // namespace

PositionBar::PositionBar(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
}

QSize PositionBar::sizeHint() const
{
    return QSize(100, 18);
}

void PositionBar::SetLength(double seconds)
{
    m_length = std::max(0.0, seconds);
    update();
}

void PositionBar::SetPosition(double seconds)
{
    m_position = seconds;
    update();
}

void PositionBar::SetSelection(double start, double end)
{
    m_selectionStart = start;
    m_selectionEnd = end;
    update();
}

QRect PositionBar::Groove() const
{
    return QRect(kThumbWidth / 2, (height() - kGrooveHeight) / 2, width() - kThumbWidth,
                 kGrooveHeight);
}

int PositionBar::XOf(double seconds) const
{
    const QRect groove = Groove();
    const double share = m_length > 0 ? std::clamp(seconds / m_length, 0.0, 1.0) : 0.0;
    return groove.left() + int(share * groove.width() + 0.5);
}

double PositionBar::SecondsAt(int x) const
{
    const QRect groove = Groove();
    const double share = groove.width() > 0 ? double(x - groove.left()) / groove.width() : 0.0;
    return std::clamp(share, 0.0, 1.0) * m_length;
}

void PositionBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect groove = Groove();
    painter.fillRect(groove, palette().color(QPalette::Dark));
    if (m_length <= 0)
        return;
    if (m_selectionStart >= 0 && m_selectionEnd >= m_selectionStart) {
        const int left = XOf(m_selectionStart);
        const int right = std::max(XOf(m_selectionEnd), left + 1);
        painter.fillRect(QRect(left, 1, right - left, height() - 2),
                         palette().color(QPalette::Highlight));
    }
    const int x = XOf(m_position);
    const QRect thumb(x - kThumbWidth / 2, 0, kThumbWidth, height());
    painter.fillRect(thumb, palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(thumb.adjusted(0, 0, -1, -1));
}

void PositionBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_length > 0)
        emit SeekRequested(SecondsAt(event->position().toPoint().x()));
}

void PositionBar::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && m_length > 0)
        emit SeekRequested(SecondsAt(event->position().toPoint().x()));
}
