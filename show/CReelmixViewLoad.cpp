// Filling the show: Insert, Multi Load and its folder search, and files dropped on the window.
#include "show/CReelmixView.h"

#include "platform/files/FileFind.h"
#include "platform/files/HostPath.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/ShellFolderBrowser.h"
#include "platform/windows/AfxMessageBox.h"
#include "show/CReelmixDoc.h"
#include "show/Clip.h"
#include "show/MovieSearch.h"
#include "show/MovieTypes.h"
#include "show/MultiDlg.h"
#include "show/ShowEdit.h"
#include "util/Generic.h"

#include <QApplication>
#include <QKeyEvent>

#include <cstring>

bool CReelmixView::s_searchSubDirs = false;
bool CReelmixView::s_onlyAddNew = false;

namespace
{
constexpr int kInsertBufferSize = 32 * MAX_PATH;

// Escape pressed anywhere in the program while it lives.
class EscapeWatch : public QObject
{
public:
    EscapeWatch() { qApp->installEventFilter(this); }
    bool m_pressed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            m_pressed = true;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Names compare as the file system compares them: clip.avi and CLIP.avi are two files.
std::string Key(const CString& directory, const CString& fileName)
{
    return fileName.Str() + '\0' + directory.Str();
}

} // namespace

const CStringList* CReelmixView::MovieExtensions() const
{
    const auto* types = dynamic_cast<const MovieTypes*>(AfxGetApp());
    return types ? &types->GetMovieExtensions() : nullptr;
}

void CReelmixView::SetStatusText(const CString& text)
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetMessageText(text);
}

CString CReelmixView::BuildMovieFilter() const
{
    CString patterns;
    if (const CStringList* extensions = MovieExtensions())
        for (POSITION pos = extensions->GetHeadPosition(); pos;)
            patterns += "*." + extensions->GetNext(pos) + ";";
    return "Movie files (" + patterns + ")|" + patterns + "|All Files (*.*)|*.*||";
}

void CReelmixView::OnInsert()
{
    CFileDialog dialog(TRUE, nullptr, nullptr,
                       OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_READONLY,
                       BuildMovieFilter(), this);
    std::vector<char> buffer(kInsertBufferSize, '\0');
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = kInsertBufferSize;
    dialog.m_ofn.lpstrTitle = "Select Up to 32 Movie File(s) At Once";
    if (dialog.DoModal() == IDOK) {
        const ShowEdit edit(*this, "Insert");
        CString directory = CString(buffer.data()).Left(dialog.m_ofn.nFileOffset);
        Generic::RemoveTrailingSlash(directory);
        for (const char* name = buffer.data() + dialog.m_ofn.nFileOffset; *name;
             name += std::strlen(name) + 1)
            AddClipFile(directory, name, false);
    } else if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
        // The dialog would otherwise fail without a word and the user would wonder why.
        AfxMessageBox("The selection was too long to take at once.\n\n"
                      "Please select fewer files at a time.",
                      MB_ICONEXCLAMATION);
    }
    UpdateTotals();
}

void CReelmixView::OnMultiLoad()
{
    MultiDlg options(this);
    options.m_bSearchSubDirs = s_searchSubDirs;
    options.m_bOnlyAddNew = s_onlyAddNew;
    if (options.DoModal() == IDOK) {
        s_searchSubDirs = options.m_bSearchSubDirs;
        s_onlyAddNew = options.m_bOnlyAddNew;
        char displayName[MAX_PATH] = {};
        BROWSEINFOA browse{this,
                           nullptr,
                           displayName,
                           "Select Folder to Load All Movies From:",
                           BIF_RETURNONLYFSDIRS,
                           nullptr,
                           0,
                           0};
        if (LPITEMIDLIST folder = SHBrowseForFolderA(&browse)) {
            const ShowEdit edit(*this, "Multi Load");
            char path[MAX_PATH] = {};
            const BOOL named = SHGetPathFromIDListA(folder, path);
            CoTaskMemFree(folder);
            if (named)
                LoadFolder(path);
        }
    }
    UpdateTotals();
}

void CReelmixView::LoadFolder(const CString& folder)
{
    CStringList results(10);
    SearchTree(folder, results, s_searchSubDirs);
    const int rows = m_list.GetItemCount();
    for (POSITION pos = results.GetHeadPosition(); pos;) {
        const CString& file = results.GetNext(pos);
        AddClipFile(Generic::DirFromPath(file), Generic::FileFromPath(file), s_onlyAddNew);
    }
    const int added = m_list.GetItemCount() - rows;
    if (added < results.GetCount()) {
        CString text;
        text.Format("Found %d movies: %d added, %d already in the show.", results.GetCount(), added,
                    results.GetCount() - added);
        SetStatusText(text);
    }
}

void CReelmixView::SearchTree(const CString& root, CStringList& results, bool recurse)
{
    CWaitCursor wait;
    const CStringList* extensions = MovieExtensions();
    if (!extensions)
        return;
    CString directory = root;
    if (directory.IsEmpty() || directory[directory.GetLength() - 1] != '\\')
        directory += "\\";
    const CString shown(ToHostPath(directory));
    MovieSearch search(*extensions);
    EscapeWatch escape;
    const bool done = search.Run(directory, recurse, [&](long folders) {
        CString text;
        text.Format("Searching tree '%s' for movie files... %ld folders", (const char*)shown,
                    folders);
        SetStatusText(text);
        Generic::SpinTheMessageLoop();
        return !escape.m_pressed;
    });
    if (!done) {
        SetStatusText("Search cancelled.");
        return;
    }
    int found = 0;
    for (int extension = 0; extension < extensions->GetCount(); ++extension) {
        found += SearchTreeForExtension(results, search, directory, extension);
        Generic::SpinTheMessageLoop();
    }
    CString text;
    text.Format("Found %d movies.", found);
    if (search.Skipped() > 0) {
        CString skipped;
        skipped.Format(" %ld skipped: pipes, devices or names that cannot be used.",
                       search.Skipped());
        text += skipped;
    }
    SetStatusText(text);
}

int CReelmixView::SearchTreeForExtension(CStringList& results, MovieSearch& search,
                                         const CString& directory, int extension)
{
    const CStringList* extensions = MovieExtensions();
    CString text;
    text.Format("Searching tree '%s' for '%s' files...", ToHostPath(directory).c_str(),
                (const char*)extensions->GetAt(extensions->FindIndex(extension)));
    SetStatusText(text);
    return search.Take(extension, results);
}

bool CReelmixView::IsKnownClip(const CString& directory, const CString& fileName)
{
    if (!m_clipKeysValid) {
        m_clipKeys.clear();
        for (int row = 0; row < m_list.GetItemCount(); ++row)
            if (const Clip* clip = RowClip(row))
                m_clipKeys.insert(Key(clip->m_directory, clip->m_fileName));
        m_clipKeysValid = true;
    }
    return m_clipKeys.count(Key(directory, fileName)) > 0;
}

void CReelmixView::AddClipFile(const CString& directory, const CString& fileName, bool onlyNew)
{
    if (onlyNew && IsKnownClip(directory, fileName))
        return;
    auto* clip = new Clip(directory, fileName);
    GetDocument()->m_clips.AddTail(clip);
    if (m_clipKeysValid)
        m_clipKeys.insert(Key(directory, fileName));
    const int row =
        m_list.InsertItem(LVIF_TEXT | LVIF_PARAM, m_list.GetItemCount(), LPSTR_TEXTCALLBACK, 0, 0,
                          0, LPARAM(static_cast<CObject*>(clip)));
    m_list.SelectItem(row, TRUE);
    m_list.RedrawItems(row, row);
    m_list.EnsureVisible(row, FALSE);
}

std::vector<CString> CReelmixView::AddDroppedFiles(const std::vector<CString>& files)
{
    std::vector<CString> others;
    const CStringList* extensions = MovieExtensions();
    if (!extensions || !m_btnInsert.IsWindowEnabled())
        return files;
    const MovieSearch movies(*extensions);
    const ShowEdit edit(*this, "Insert");
    for (const CString& file : files) {
        if (Generic::IsDirectory(file))
            LoadFolder(file);
        else if (movies.ExtensionOf(Generic::FileFromPath(file).Str()) >= 0) {
            AddClipFile(Generic::DirFromPath(file), Generic::FileFromPath(file), false);
        } else {
            others.push_back(file);
        }
    }
    UpdateTotals();
    return others;
}
