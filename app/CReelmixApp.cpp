#include "app/CReelmixApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/ShowTravel.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CCommandLineInfo.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CSingleDocTemplate.h"
#include "platform/media/MediaLibraries.h"
#include "preview/EditClipDlg.h"
#include "res/StringIds.h"
#include "show/CReelmixDoc.h"
#include "show/Clip.h"

#include <cstdlib>
#include <ctime>

CReelmixApp::CReelmixApp(CDocTemplate::ViewClass view) : m_viewClass(std::move(view))
{
    std::srand(unsigned(std::time(nullptr)));
}

// ActiveX hosting and three-dimensional controls have no counterpart here: the media player
// and the controls are the desktop's own widgets.
BOOL CReelmixApp::InitInstance()
{
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(16);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CReelmixDoc),
                                          RUNTIME_CLASS(CMainFrame), m_viewClass));
    EnableShellOpen();
    // Writing the file type to the settings store and the desktop's folders took longer than
    // the rest of the start: the window shows first.
    RunWhenShown([this] { RegisterShellFileTypes(TRUE); }, true);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    auto* frame = static_cast<CMainFrame*>(m_pMainWnd);
    frame->RestorePlacement();
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    frame->DragAcceptFiles(TRUE);
    // The clip editor's media libraries load meanwhile, so that its first opening need not wait.
    RunWhenShown(&MediaLibraries::LoadInBackground, false);

    for (const char* ext :
         {"avi", "mov", "qt", "mpg", "mpeg", "mpe", "mpv", "m1v", "mp2", "mpv2", "mpu"})
        m_movieExtensions.AddTail(ext);
    return TRUE;
}

CDocument* CReelmixApp::OpenDocumentFile(LPCTSTR pathName)
{
    CDocTemplate* shows = GetFirstDocTemplate();
    if (shows && pathName && ShowTravel::IsImportable(pathName))
        return ShowTravel::Import(*shows, pathName);
    return CWinApp::OpenDocumentFile(pathName);
}

void CReelmixApp::OnFileOpen()
{
    CDocTemplate* shows = GetFirstDocTemplate();
    if (!shows)
        return;
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       ShowTravel::OpenFilter(*shows), m_pMainWnd);
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

// The editor knows a movie and two marks; the clip takes the marks only when the user chose OK.
bool CReelmixApp::EditClip(Clip& clip, CWnd* parent)
{
    EditClipDlg dialog(clip.GetFullPath(), clip.m_fileName, clip.m_start, clip.m_end, parent);
    if (dialog.DoModal() != IDOK)
        return false;
    clip.m_start = dialog.m_start;
    clip.m_end = dialog.m_end;
    return true;
}

void CReelmixApp::OnAppAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

BOOL CReelmixApp::OnCmdMsg(UINT id, CCmdUI* ui)
{
    CDocTemplate* shows = GetFirstDocTemplate();
    const auto* show = shows ? dynamic_cast<CReelmixDoc*>(shows->GetOnlyDocument()) : nullptr;
    switch (id) {
    case ID_APP_ABOUT:
        return Handle(ui, [this] { OnAppAbout(); });
    case ID_FILE_OPEN:
        return Handle(ui, [this] { OnFileOpen(); });
    case ID_FILE_IMPORT:
        return shows && Handle(ui, [this, shows] { ShowTravel::OnFileImport(*shows, m_pMainWnd); });
    case ID_FILE_EXPORT_SHOW:
        return show &&
               Handle(ui, [this, show] { ShowTravel::OnFileExportShow(*show, m_pMainWnd); });
    default:
        break;
    }
    return CWinApp::OnCmdMsg(id, ui);
}
