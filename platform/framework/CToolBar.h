#pragma once
// The frame's dockable toolbar: one button per command of a toolbar resource. A click is
// the button's command, sent to the frame; the frame's idle work greys the buttons of
// commands nobody handles. With CBRS_TOOLTIPS a button shows the tip of its command's string
// (the text after the line break), with CBRS_FLYBY the status bar shows the prompt (before it).
#include "platform/framework/AfxRes.h"
#include "platform/framework/ControlBarStyles.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplate.h"

class CFrameWnd;
class QAction;
class QToolBar;

class CToolBar : public CWnd
{
public:
    // Makes the bar in parent's window; docking it is the frame's DockControlBar.
    BOOL Create(CFrameWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT id = AFX_IDW_TOOLBAR);
    BOOL LoadToolBar(UINT id);

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style);
    // The sides the bar may be docked on (CBRS_ALIGN_ bits); none keeps it where it is put.
    void EnableDocking(DWORD style);
    DWORD GetDockingStyle() const { return m_dwDockStyle; }

    // Greys or enables every button as the frame's command targets say.
    void OnUpdateCmdUI(CFrameWnd* target);
    // The button of command id, or null.
    QAction* GetButton(UINT id) const;

private:
    void ApplyTexts();

    CFrameWnd* m_pFrame = nullptr;
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
};
