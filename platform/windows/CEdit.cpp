#include "platform/windows/CEdit.h"

#include <QLineEdit>

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd());
    if (!edit)
        return FALSE;
    edit->setReadOnly(readOnly);
    return TRUE;
}

QWidget* CEdit::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    auto* edit = new QLineEdit(QString::fromUtf8(item.text), parent);
    edit->setGeometry(rect);
    edit->setReadOnly(item.style & ES_READONLY);
    return edit;
}
