#include "app/CMainFrame.h"

#include "platform/framework/AfxRes.h"
#include "res/StringIds.h"
#include "show/CReelmixView.h"
#include "util/WindowPlacementStore.h"

namespace
{
constexpr UINT kIndicators[] = {
    ID_SEPARATOR, // the message pane
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
    ID_INDICATOR_SCRL,
};
} // namespace

int CMainFrame::OnCreate(CCreateContext* context)
{
    if (CFrameWnd::OnCreate(context) == -1)
        return -1;
    if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(kIndicators, int(std::size(kIndicators))))
        return -1;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY |
                             CBRS_SIZE_DYNAMIC);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
}

void CMainFrame::SetStatusText(const CString& text)
{
    m_wndStatusBar.SetPaneText(0, text);
    m_wndStatusBar.UpdateWindow();
}

void CMainFrame::OnDropFiles(const std::vector<CString>& files)
{
    auto* view = dynamic_cast<CReelmixView*>(GetActiveView());
    CFrameWnd::OnDropFiles(view ? view->AddDroppedFiles(files) : files);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (GetSafeHwnd())
        info->ptMinTrackSize = POINT{s_minWidth, s_minHeight};
    CFrameWnd::OnGetMinMaxInfo(info);
}

// Stored before the framework asks about unsaved changes, so also when the user cancels.
void CMainFrame::OnClose()
{
    SavePlacement();
    CFrameWnd::OnClose();
}

void CMainFrame::SavePlacement()
{
    WindowPlacementStore::Save(GetSafeHwnd(), s_registryKey);
}

void CMainFrame::RestorePlacement()
{
    WindowPlacementStore::Restore(GetSafeHwnd(), s_registryKey);
}
