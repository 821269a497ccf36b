#pragma once
// The framework's button control: push buttons (the default one answers Enter in a dialog)
// and automatic check boxes. A click reaches the owning window's OnCommand with the id.
//
// A push button with the BS_OWNERDRAW style does not paint itself: every paint asks the
// button's own DrawItem (the framework reflects the request to the control's class). A change
// of focus since the previous paint is told first as an ODA_FOCUS request, so that drawing that
// toggles the focus rectangle stays in step. The button still clicks with the mouse, Space,
// Enter and its "&" mnemonic, with Alt or, when the focus is on a button, without.
#include "platform/gdi/DrawItemStruct.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

class CButton : public CWnd
{
public:
    // Check state of a check box; BST_UNCHECKED for a push button.
    int GetCheck() const;
    void SetCheck(int check);
    // BS_OWNERDRAW for an owner-drawn button, else BS_DEFPUSHBUTTON or BS_PUSHBUTTON for a push
    // button, BS_AUTOCHECKBOX for a check box.
    UINT GetButtonStyle() const;
    // Switches a push button between owner drawing (BS_OWNERDRAW) and the platform's own look
    // (BS_PUSHBUTTON, BS_DEFPUSHBUTTON); other styles and check boxes stay as they are.
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);

    // Draws an owner-drawn button; this class draws nothing, so that derived classes decide.
    virtual void DrawItem(LPDRAWITEMSTRUCT item);

    // Makes the widget of a template item of class "Button".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);
};
