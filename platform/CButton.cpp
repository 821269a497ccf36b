#include "platform/CButton.h"

#include <QCheckBox>
#include <QPushButton>

int CButton::GetCheck() const
{
    const auto* box = qobject_cast<const QCheckBox*>(GetSafeHwnd());
    return box && box->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int check)
{
    if (auto* box = qobject_cast<QCheckBox*>(GetSafeHwnd()))
        box->setChecked(check == BST_CHECKED);
}

UINT CButton::GetButtonStyle() const
{
    if (qobject_cast<const QCheckBox*>(GetSafeHwnd()))
        return BS_AUTOCHECKBOX;
    const auto* push = qobject_cast<const QPushButton*>(GetSafeHwnd());
    return push && push->isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

QWidget* CButton::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    const QString text = QString::fromUtf8(item.text);
    if ((item.style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        auto* box = new QCheckBox(text, parent);
        box->setGeometry(rect);
        return box;
    }
    auto* button = new QPushButton(text, parent);
    button->setGeometry(rect);
    button->setDefault((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    button->setFocusPolicy(item.style & WS_TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
    return button;
}
