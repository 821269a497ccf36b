#include "platform/windows/CStatic.h"

#include "res/Icons.h"

#include <QLabel>
#include <QPixmap>

namespace
{
Qt::Alignment AlignmentOf(DWORD style)
{
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        return Qt::AlignHCenter | Qt::AlignTop;
    case SS_RIGHT:
        return Qt::AlignRight | Qt::AlignTop;
    default:
        return Qt::AlignLeft | Qt::AlignTop;
    }
}

QIcon ResourceIcon(const char* idText)
{
    return LoadResourceIcon(UINT(QByteArray(idText).toUInt()));
}
} // namespace

void CStatic::SetIcon(const QIcon& icon)
{
    if (auto* label = qobject_cast<QLabel*>(GetSafeHwnd()))
        label->setPixmap(icon.pixmap(label->size()));
}

QWidget* CStatic::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setGeometry(rect);
    if ((item.style & SS_TYPEMASK) == SS_ICON) {
        // An icon static takes the system's standard icon size (32 x 32) at its top left
        // corner, as the dialog manager sizes it.
        const QIcon icon = ResourceIcon(item.text);
        if (icon.isNull()) {
            qWarning("Static control %d: no icon %s", item.id, item.text);
            return label;
        }
        const QSize size(32, 32);
        label->setPixmap(icon.pixmap(size));
        label->resize(size);
        return label;
    }
    if ((item.style & SS_TYPEMASK) == SS_GRAYFRAME) {
        // A rule or box in the colour of the window frame's shadow.
        label->setFrameShape(QFrame::Box);
        label->setForegroundRole(QPalette::Mid);
        return label;
    }
    label->setText(QString::fromUtf8(item.text));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(AlignmentOf(item.style));
    label->setWordWrap(true);
    return label;
}
