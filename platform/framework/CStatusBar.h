#pragma once
// The frame's status bar: a stretching message pane (ID_SEPARATOR) and indicator panes, each
// as wide as its string and showing it only while its command is enabled (the lock keys).
#include "platform/framework/AfxRes.h"
#include "platform/framework/ControlBarStyles.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

#include <vector>

class CFrameWnd;
class QLabel;

class CStatusBar : public CWnd
{
public:
    BOOL Create(CFrameWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* ids, int count);

    BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    UINT GetItemID(int index) const;
    int GetCount() const { return int(m_panes.size()); }

    // Shows or blanks each indicator as the frame's command targets say.
    void OnUpdateCmdUI(CFrameWnd* target);

private:
    struct Pane {
        UINT id;
        QLabel* label;
    };
    std::vector<Pane> m_panes;
};
