#pragma once
// The framework's dialog data exchange, kept to what the program's forms use: binding a
// member control to its template control, and moving a text member to or from a control.
#include "platform/core/CString.h"

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* window, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(window)
    {
    }

    // TRUE: controls to members; FALSE: members to controls.
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Attaches control to the window's control id the first time; nothing once attached.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// The control's text to value, or value to the control's text.
void DDX_Text(CDataExchange* dx, int id, CString& value);
// A check box's state to value (TRUE when checked), or value to the check box.
void DDX_Check(CDataExchange* dx, int id, BOOL& value);
