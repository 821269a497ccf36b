#pragma once
// The framework's single-line edit control. Its messages reach the handlers (the class routes
// them), so that a derived class can take over typing; by default typing goes to the widget,
// with ES_UPPERCASE and ES_LOWERCASE converting the letters typed.
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

class CEdit : public CWnd
{
public:
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    // The selection as character positions; both the caret's without a selection.
    void GetSel(int& start, int& end) const;
    // Selects from start to end; start == end places the caret there.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    // Deletes the selection.
    void Clear();

    void PreSubclassWindow() override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;

    // Makes the widget of a template item of class "Edit".
    static QWidget* CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent);

protected:
    // WS_EX_DLGMODALFRAME shows a raised frame around the text.
    void OnFrameChanged() override;
};
