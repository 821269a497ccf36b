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
    const QSize pixels = size() * devicePixelRatioF();
    if (m_image.size() != pixels) {
        m_image = QImage(pixels, QImage::Format_RGBX8888);
        m_image.setDevicePixelRatio(devicePixelRatioF());
        m_image.fill(Qt::black);
    }
    m_player->Render(m_image);
    QPainter(this).drawImage(0, 0, m_image);
}
