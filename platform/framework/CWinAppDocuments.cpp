// The application's document side: profile settings, templates, New and Open, the recent-file
// list, the command line and the shell.
#include "platform/files/HostPath.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CCommandLineInfo.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CRecentFileList.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/ShellOpenChannel.h"
#include "platform/framework/ShellRegistration.h"
#include "platform/registry/WinReg.h"
#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/ResourceTable.h"

#include <QCoreApplication>
#include <QWidget>
#include <cstring>

namespace
{
HKEY OpenUserKey(const CString& path, bool create)
{
    HKEY key = nullptr;
    const LONG result =
        create ? RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &key, nullptr)
               : RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    return result == ERROR_SUCCESS ? key : nullptr;
}

// The framework's switches; on this platform "/" also begins every absolute path, so a word
// after "/" is a switch only when it is one of these.
bool IsSwitch(const CString& argument)
{
    if (argument.GetLength() < 2)
        return false;
    if (argument[0] == '-')
        return true;
    const CString word = argument.Mid(1);
    return argument[0] == '/' &&
           (_stricmp(word, "p") == 0 || _stricmp(word, "pt") == 0 || _stricmp(word, "dde") == 0);
}

CString ProgramPathOfBinary()
{
    CString path;
    FromHostPath(QCoreApplication::applicationFilePath().toStdString(), path);
    return path;
}
} // namespace

void CWinApp::SetRegistryKey(LPCTSTR key)
{
    m_registryKey = key ? key : "";
    m_pszRegistryKey = m_registryKey;
    m_pszProfileName = m_pszAppName;
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU)
{
    m_pRecentFileList = std::make_unique<CRecentFileList>(0, "Recent File List", "File%d",
                                                          int(std::min(maxMRU, 16u)));
    m_pRecentFileList->ReadList();
}

CString CWinApp::AppKeyPath() const
{
    return CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
}

CString CWinApp::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) const
{
    const CString fallback = defaultValue ? defaultValue : "";
    if (!m_pszRegistryKey || !section || !entry)
        return fallback;
    HKEY key = OpenUserKey(AppKeyPath() + "\\" + section, false);
    if (!key)
        return fallback;
    DWORD type = 0;
    DWORD size = 0;
    CString value = fallback;
    if (RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        std::string text(size, '\0');
        if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                             &size) == ERROR_SUCCESS)
            value = CString(text.c_str());
    }
    RegCloseKey(key);
    return value;
}

BOOL CWinApp::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value)
{
    if (!m_pszRegistryKey || !section)
        return FALSE;
    if (!entry) {
        HKEY app = OpenUserKey(AppKeyPath(), false);
        if (!app)
            return TRUE;
        const LONG result = RegDeleteKeyA(app, section);
        RegCloseKey(app);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    HKEY key = OpenUserKey(AppKeyPath() + "\\" + section, true);
    if (!key)
        return FALSE;
    const LONG result =
        value ? RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                               DWORD(std::strlen(value) + 1))
              : RegDeleteValueA(key, entry);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void CWinApp::AddToRecentFileList(LPCTSTR pathName)
{
    if (m_pRecentFileList && pathName)
        m_pRecentFileList->Add(pathName);
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (docTemplate)
        m_templates.emplace_back(docTemplate);
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR pathName)
{
    CDocTemplate* docTemplate = GetFirstDocTemplate();
    if (!docTemplate || !pathName)
        return nullptr;
    // The document that already shows this file stays as it is.
    CDocument* open = docTemplate->GetOnlyDocument();
    if (open && open->GetPathName() == pathName && m_pMainWnd && m_pMainWnd->GetSafeHwnd()) {
        m_pMainWnd->GetSafeHwnd()->activateWindow();
        return open;
    }
    return docTemplate->OpenDocumentFile(pathName);
}

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    for (const auto& docTemplate : m_templates)
        docTemplate->CloseAllDocuments(endSession);
}

void CWinApp::EnableShellOpen()
{
    if (m_shellOpen)
        return;
    m_shellOpen = std::make_unique<ShellOpenChannel>();
    m_shellOpen->Listen([this](const CString& path) { OnShellOpen(path); });
}

void CWinApp::OnShellOpen(const CString& pathName)
{
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) {
        QWidget* window = m_pMainWnd->GetSafeHwnd();
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        window->activateWindow();
    }
    OpenDocumentFile(pathName);
}

void CWinApp::RegisterShellFileTypes(BOOL compat)
{
    const CString program = ProgramPathOfBinary();
    for (const auto& docTemplate : m_templates) {
        ShellRegistration::RegisterFileType(*docTemplate, program, compat);
        CString ext;
        if (!docTemplate->GetDocString(ext, CDocTemplate::filterExt) || ext.IsEmpty())
            continue;
        ShellRegistration::RegisterDesktopType(
            {QString::fromUtf8(m_pszAppName).toLower(), QCoreApplication::applicationFilePath(),
             QStringLiteral(":/icons/app-%1.svg").arg(docTemplate->GetResourceID())});
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        const CString& argument = m_arguments[i];
        const bool flag = IsSwitch(argument);
        info.ParseParam(flag ? argument.Mid(1) : argument, flag, i + 1 == m_arguments.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    BOOL result = TRUE;
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
    case CCommandLineInfo::FileDDE:
        OnFileNew();
        result = m_pMainWnd != nullptr;
        break;
    case CCommandLineInfo::FileOpen:
        if (info.m_bUnusableName) {
            AfxMessageBox(info.m_strFileName + "\nThis file name cannot be used.",
                          MB_ICONEXCLAMATION);
            result = FALSE;
        } else if (m_shellOpen && !m_shellOpen->IsListening() &&
                   ShellOpenChannel::Forward(info.m_strFileName)) {
            return FALSE;
        } else {
            result = OpenDocumentFile(info.m_strFileName) != nullptr;
        }
        break;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // Printing is whatever the program's targets do with the print command; the program
        // ends afterwards either way.
        if (OpenDocumentFile(info.m_strFileName) && m_pMainWnd)
            m_pMainWnd->OnCommand(ID_FILE_PRINT_DIRECT);
        return FALSE;
    case CCommandLineInfo::FileNothing:
        break;
    }
    if (!result)
        m_nExitCode = 1;
    return result;
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* docTemplate = GetFirstDocTemplate())
        docTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CDocTemplate* docTemplate = GetFirstDocTemplate();
    if (!docTemplate)
        return;
    const CString filter =
        docTemplate->GetFilter() + ResourceTable::FindString(AFX_IDS_ALLFILTER) + "|*.*||";
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter,
                       m_pMainWnd);
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

BOOL CWinApp::OnOpenRecentFile(UINT id)
{
    const int index = int(id - ID_FILE_MRU_FILE1);
    if (!m_pRecentFileList || index < 0 || index >= m_pRecentFileList->GetSize())
        return FALSE;
    const CString path = (*m_pRecentFileList)[index];
    // Only a file that failed to open leaves the list; one the user chose not to open yet stays.
    if (!path.IsEmpty() && !OpenDocumentFile(path) &&
        !(GetFirstDocTemplate() && GetFirstDocTemplate()->OpenWasRefused()))
        m_pRecentFileList->Remove(index);
    return TRUE;
}

void CWinApp::OnAppExit()
{
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->PostClose();
}

BOOL CWinApp::OnCmdMsg(UINT id, CCmdUI* ui)
{
    switch (id) {
    case ID_FILE_NEW:
        return Handle(ui, [this] { OnFileNew(); });
    case ID_FILE_OPEN:
        return Handle(ui, [this] { OnFileOpen(); });
    case ID_APP_EXIT:
        return Handle(ui, [this] { OnAppExit(); });
    default:
        break;
    }
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16 && m_pRecentFileList &&
        int(id - ID_FILE_MRU_FILE1) < m_pRecentFileList->GetSize() &&
        !(*m_pRecentFileList)[int(id - ID_FILE_MRU_FILE1)].IsEmpty())
        return Handle(ui, [this, id] { OnOpenRecentFile(id); });
    return FALSE;
}
