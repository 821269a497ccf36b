#pragma once
// The framework's static control: a text (left, centred or right, wrapped at words) or an
// icon. In a template, an icon static's text is the icon's resource id.
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

#include <QIcon>

class CStatic : public CWnd
{
public:
    // Shows icon in place of the text, at the control's size.
    void SetIcon(const QIcon& icon);

    // Makes the widget of a template item of class "Static".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);
};
