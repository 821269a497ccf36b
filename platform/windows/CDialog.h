#pragma once
// The framework's modal dialog, made from a dialog template. DoModal returns the result given
// to EndDialog: IDOK from the OK button (and from Enter when OK is the default button), IDCANCEL
// from the Cancel button, Escape and the close box, -1 when the dialog could not be made.
#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/CWnd.h"

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual int DoModal();
    // Ends the modal run with result once the current handler returns.
    void EndDialog(int result);
    // Makes the push button id the one Enter clicks (the dialog's DM_SETDEFID).
    void SetDefID(UINT id);

    // Called once, after the controls exist and before the dialog shows: the data exchange to
    // the controls. TRUE lets the focus go to the first tab stop.
    virtual BOOL OnInitDialog();
    // The data exchange from the controls, then the end with IDOK.
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Routes the OK and Cancel buttons; derived dialogs route their own ids and call this.
    BOOL OnCommand(UINT id) override;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    bool Create();
    void PlaceOverParent();

    int m_nModalResult = -1;
};
