#pragma once
// The framework's single-line edit control.
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

class CEdit : public CWnd
{
public:
    BOOL SetReadOnly(BOOL readOnly = TRUE);

    // Makes the widget of a template item of class "Edit".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);
};
