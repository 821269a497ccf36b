#include "app/CMainFrame.h"

#include "platform/framework/AfxRes.h"
#include "render/dialog/ExportMovieCommand.h"
#include "render/movie/ShowReader.h"
#include "res/StringIds.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "util/WindowPlacementStore.h"

#include <QFileInfo>

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

BOOL CMainFrame::OnCmdMsg(UINT id, CCmdUI* ui)
{
    if (id != ID_FILE_EXPORT_MOVIE)
        return CFrameWnd::OnCmdMsg(id, ui);
    const auto* doc = dynamic_cast<CReelmixDoc*>(GetActiveDocument());
    if (ui) {
        ui->Enable(doc && !doc->m_clips.IsEmpty());
        ui->m_bHandled = TRUE;
    } else {
        OnExportShowAsMovie();
    }
    return TRUE;
}

void CMainFrame::OnExportShowAsMovie()
{
    const auto* doc = dynamic_cast<CReelmixDoc*>(GetActiveDocument());
    if (!doc || doc->m_clips.IsEmpty())
        return;
    const QString title = QString::fromUtf8(static_cast<const char*>(doc->GetTitle()));
    ExportMovieCommand::Run(ShowReader::FromDocument(*doc),
                            QFileInfo(title).completeBaseName() + ".mp4", this);
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
