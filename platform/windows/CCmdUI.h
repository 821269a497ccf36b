#pragma once
// The state of one command's menu item, toolbar button or accelerator, asked of the command
// targets before the command is shown or run. A command that no target claims stays disabled.
#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

class CCmdUI
{
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}

    void Enable(BOOL on = TRUE) { m_bEnabled = on; }
    void SetCheck(int check = 1) { m_nCheck = check; }
    // A menu item's text instead of its resource's, which keeps its shortcut ("&Undo Delete").
    void SetText(const CString& text) { m_strText = text; }

    UINT m_nID;
    BOOL m_bEnabled = FALSE;
    int m_nCheck = 0;
    CString m_strText;
    // Set by the target that handles the command.
    BOOL m_bHandled = FALSE;
};
