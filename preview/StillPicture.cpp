#include "preview/StillPicture.h"

#include <QPainter>

StillPicture::StillPicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StillPicture::SetPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void StillPicture::SetText(const QString& text)
{
    m_text = text;
    update();
}

void StillPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_picture.isNull()) {
        QRect target(QPoint(), m_picture.size().scaled(size(), Qt::KeepAspectRatio));
        target.moveCenter(rect().center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_picture);
    }
    if (m_text.isEmpty())
        return;
    // Light text on a dark band, readable over any picture.
    const QRect band =
        painter
            .boundingRect(rect().adjusted(8, 0, -8, 0), Qt::AlignCenter | Qt::TextWordWrap, m_text)
            .adjusted(-6, -4, 6, 4);
    painter.fillRect(band, QColor(0, 0, 0, 180));
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignCenter | Qt::TextWordWrap, m_text);
}
