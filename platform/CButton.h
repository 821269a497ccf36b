#pragma once
// The framework's button control: push buttons (the default one answers Enter in a dialog)
// and automatic check boxes. A click reaches the owning window's OnCommand with the id.
#include "platform/CWnd.h"
#include "platform/DialogTemplate.h"

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

class CButton : public CWnd {
public:
    // Check state of a check box; BST_UNCHECKED for a push button.
    int GetCheck() const;
    void SetCheck(int check);
    // BS_DEFPUSHBUTTON or BS_PUSHBUTTON for a push button, BS_AUTOCHECKBOX for a check box.
    UINT GetButtonStyle() const;

    // Makes the widget of a template item of class "Button".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);
};
