#include "platform/windows/FocusFrame.h"

#include <QPainter>
#include <QWidget>

void FocusFrame::Paint(QWidget& widget)
{
    if (!widget.hasFocus())
        return;
    QPainter painter(&widget);
    QPen pen(widget.palette().color(QPalette::Highlight), kWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(
        QRectF(widget.rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
}
