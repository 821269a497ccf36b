#include "platform/media/MpvVideoWidget.h"

#include "platform/media/MpvPlayer.h"

#include <QPainter>

MpvVideoWidget::MpvVideoWidget(MpvPlayer* player, QWidget* parent)
    : QWidget(parent), m_player(player)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_player, &MpvPlayer::FrameReady, this, qOverload<>(&QWidget::update));
}

void MpvVideoWidget::paintEvent(QPaintEvent*)
{
    // Turned a quarter, the picture is rendered into the widget's shape turned back.
    const int rotation = m_player->Rotation();
    const QSizeF shown = rotation % 180 ? QSizeF(size()).transposed() : QSizeF(size());
    const QSize pixels = (shown * devicePixelRatioF()).toSize();
    if (m_image.size() != pixels) {
        m_image = QImage(pixels, QImage::Format_RGBX8888);
        m_image.fill(Qt::black);
    }
    m_player->Render(m_image);
    QPainter painter(this);
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(rotation);
    painter.drawImage(QRectF(QPointF(-shown.width() / 2, -shown.height() / 2), shown), m_image);
}
