#include "platform/media/MpvVideoWidget.h"

#include "platform/media/MpvPlayer.h"

#include <QPainter>

MpvVideoWidget::MpvVideoWidget(MpvPlayer* player, QWidget* parent)
    : QWidget(parent), m_player(player)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_player, &MpvPlayer::FrameReady, this, qOverload<>(&QWidget::update));
}

// A picture filmed sideways is rendered upright-to-be into an image of the turned shape, then
// painted turned.
void MpvVideoWidget::paintEvent(QPaintEvent*)
{
    const int rotation = m_player->Rotation();
    const QSize pixels = size() * devicePixelRatioF();
    const QSize unturned = rotation % 180 ? pixels.transposed() : pixels;
    if (m_image.size() != unturned) {
        m_image = QImage(unturned, QImage::Format_RGBX8888);
        m_image.fill(Qt::black);
    }
    m_player->Render(m_image);
    QPainter painter(this);
    painter.scale(1 / devicePixelRatioF(), 1 / devicePixelRatioF());
    painter.translate(pixels.width() / 2.0, pixels.height() / 2.0);
    painter.rotate(rotation);
    painter.drawImage(-unturned.width() / 2, -unturned.height() / 2, m_image);
}
