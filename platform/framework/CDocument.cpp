#include "platform/framework/CDocument.h"

#include "platform/files/CArchive.h"
#include "platform/files/HostPath.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/CView.h"
#include "platform/windows/ResourceTable.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
[[noreturn]] void ThrowErrno(const CString& path)
{
    const int e = errno;
    throw CFileException(CFileException::OsErrorToException(e), e, path);
}

// The file a save really replaces: a link is followed, so that it keeps pointing at the show.
std::string SaveTarget(const std::string& host)
{
    struct stat st {
    };
    if (::lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(host.c_str(), resolved))
            return resolved;
    }
    return host;
}

// A save writes ".show.rlx.saving-XXXXXX" beside the show and holds a shared lock on it until
// the rename, so that one which can be locked exclusively was left by a save that was killed.
std::string TempPrefix(const std::filesystem::path& target)
{
    return "." + target.filename().string() + ".saving-";
}

// Removes what killed saves of target left beside it; the next save of the show is the first
// moment anyone knows those files are stale.
void RemoveStaleTemps(const std::filesystem::path& target)
{
    const std::string prefix = TempPrefix(target);
    std::error_code error;
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& path = it->path();
        const std::string name = path.filename().string();
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix))
            continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Unlinked under the lock, so that a writer that locks it later sees it gone.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
}

// The temporary file of one save, kept locked from its creation to the end of the save.
struct SaveTemp {
    std::string path;
    int fd = -1;
    ~SaveTemp()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// A new, empty file beside target with the permissions the saved file should have.
void CreateTempBeside(const std::string& target, const CString& programPath, SaveTemp& temp)
{
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    for (;;) {
        temp.path = (folder / TempPrefix(target)).string() + "XXXXXX";
        temp.fd = ::mkostemp(temp.path.data(), O_CLOEXEC);
        if (temp.fd < 0)
            ThrowErrno(programPath);
        // Another save may remove the file between its creation and the lock: then make another.
        struct stat locked, named;
        if (::flock(temp.fd, LOCK_SH) != 0 || ::fstat(temp.fd, &locked) != 0 ||
            (::stat(temp.path.c_str(), &named) == 0 && named.st_ino == locked.st_ino &&
             named.st_dev == locked.st_dev))
            break;
        ::close(temp.fd);
    }
    struct stat st {
    };
    mode_t mode = 0666;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(temp.fd, mode);
}
} // namespace

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_document = nullptr;
}

void CDocument::AddView(CView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) != m_views.end())
        return;
    m_views.push_back(view);
    view->m_document = this;
}

void CDocument::RemoveView(CView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    view->m_document = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    for (CView* view : m_views)
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_pathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::SetPathName(const CString& path, BOOL addToMRU)
{
    m_pathName = path;
    SetTitle(path.Mid(path.ReverseFind('\\') + 1));
    CWinApp* app = AfxGetApp();
    if (addToMRU && app)
        app->AddToRecentFileList(path);
}

void CDocument::SetTitle(const CString& title)
{
    m_title = title;
    for (CView* view : m_views) {
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString prompt = ResourceTable::FindString(AFX_IDP_ASK_TO_SAVE);
    const CString name =
        m_title.IsEmpty() ? CString(ResourceTable::FindString(AFX_IDS_UNTITLED)) : m_title;
    prompt.Replace("%1", name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return DoFileSave();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd*)
{
    return SaveModified();
}

BOOL CDocument::DoFileSave()
{
    if (m_pathName.IsEmpty())
        return DoSave(nullptr);
    return DoSave(m_pathName);
}

BOOL CDocument::DoSave(LPCTSTR pathName, BOOL replace)
{
    CString target = pathName ? pathName : "";
    if (target.IsEmpty()) {
        CString ext;
        if (m_pDocTemplate)
            m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt);
        const CString filter = (m_pDocTemplate ? m_pDocTemplate->GetFilter() : CString()) +
                               ResourceTable::FindString(AFX_IDS_ALLFILTER) + "|*.*||";
        const CString defExt = ext.Mid(1);
        CFileDialog dialog(FALSE, defExt.IsEmpty() ? nullptr : (LPCTSTR)defExt, ProposedFileName(),
                           OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        target = dialog.GetPathName();
    }
    if (!OnSaveDocument(target))
        return FALSE;
    if (replace)
        SetPathName(target);
    return TRUE;
}

CString CDocument::ProposedFileName() const
{
    if (!m_pathName.IsEmpty())
        return m_pathName;
    CString ext;
    if (m_pDocTemplate)
        m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt);
    CString name = m_title.SpanExcluding("#%;/\\");
    const bool hasExt = name.Right(ext.GetLength()) == ext;
    return name.IsEmpty() || ext.IsEmpty() || hasExt ? name : name + ext;
}

BOOL CDocument::OnCmdMsg(UINT id, CCmdUI* ui)
{
    switch (id) {
    case ID_FILE_SAVE:
        return Handle(ui, [this] { OnFileSave(); });
    case ID_FILE_SAVE_AS:
        return Handle(ui, [this] { OnFileSaveAs(); });
    default:
        return FALSE;
    }
}

BOOL CDocument::OnOpenDocument(const char* pathName)
{
    CFile file;
    CFileException openError;
    if (!file.Open(pathName, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportSaveLoadException(pathName, openError, false);
        return FALSE;
    }
    // The document keeps what it holds until the file's start has been found sound.
    bool cleared = false;
    const auto fail = [&](const CException& error) {
        file.Abort();
        if (cleared)
            DeleteContents();
        ReportSaveLoadException(pathName, error, false);
        return FALSE;
    };
    try {
        CArchive start(&file, CArchive::load);
        CheckFileStart(start);
        start.Close();
        file.SeekToBegin();
        DeleteContents();
        cleared = true;
        SetModifiedFlag(TRUE); // dirty while half loaded
        CArchive archive(&file, CArchive::load);
        Serialize(archive);
        archive.Close();
        file.Close();
    } catch (const CException& error) {
        return fail(error);
    } catch (const std::bad_alloc&) {
        return fail(CArchiveException(CArchiveException::badSchema, pathName));
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::CheckFileStart(CArchive&) {}

BOOL CDocument::OnSaveDocument(const char* pathName)
{
    try {
        WriteTo(pathName);
    } catch (const CException& error) {
        ReportSaveLoadException(pathName, error, true);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
}

// Writes a complete new file beside the old one and renames it over it, so that a failure at
// any point leaves the old file as it was.
void CDocument::WriteTo(const char* pathName)
{
    const std::string target = SaveTarget(ToHostPath(pathName));
    RemoveStaleTemps(target);
    SaveTemp temp;
    CreateTempBeside(target, pathName, temp);
    CString tempProgram;
    FromHostPath(temp.path, tempProgram);
    CFile file;
    const auto discard = [&] {
        file.Abort();
        ::unlink(temp.path.c_str());
    };
    try {
        CFileException error;
        // Shared, as the lock taken at its creation is.
        if (!file.Open(tempProgram, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite,
                       &error))
            throw error;
        CArchive archive(&file, CArchive::store);
        Serialize(archive);
        archive.Close();
        file.Flush();
        file.Close();
        if (::rename(temp.path.c_str(), target.c_str()) != 0)
            ThrowErrno(pathName);
    } catch (CFileException& error) {
        discard();
        // The user knows the show, not the temporary file beside it.
        error.m_strFileName = pathName;
        throw;
    } catch (...) {
        discard();
        throw;
    }
}

void CDocument::ReportSaveLoadException(const char* pathName, const CException& error, bool saving)
{
    CString text = error.GetErrorMessage();
    if (saving) {
        text += ::access(ToHostPath(pathName).c_str(), F_OK) == 0
                    ? "\n\nThe show was not saved. The file on disk is unchanged."
                    : "\n\nThe show was not saved.";
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}
