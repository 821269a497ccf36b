#pragma once
// The program's main window around the clip list: menu, dockable toolbar, status bar with the
// lock indicators, a minimum size, and its placement kept in the registry from one run to the
// next.
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"

class CMainFrame : public CFrameWnd
{
public:
    // The frame's registry key under HKEY_CURRENT_USER, value "WindowPlacement".
    static constexpr const char* s_registryKey = "Software\\Brantwell\\Reelmix\\CMainFrame";
    static constexpr int s_minWidth = 625;
    static constexpr int s_minHeight = 375;

    CMainFrame() = default;

    // Shows text in the status bar's message pane at once.
    void SetStatusText(const CString& text);
    // Applies the stored placement, if there is a usable one.
    void RestorePlacement();
    void SavePlacement();

    int OnCreate(CCreateContext* context) override;
    void OnClose() override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    // Movie files dropped on the window join the show, folders are searched for movies; other
    // files open as shows.
    void OnDropFiles(const std::vector<CString>& files) override;
    // File > Export Show As Movie, enabled while the show has clips.
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    void OnExportShowAsMovie();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
};
