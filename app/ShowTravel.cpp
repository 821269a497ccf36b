#include "app/ShowTravel.h"

#include "app/BackgroundWork.h"
#include "app/ExportShowDlg.h"
#include "platform/files/HostPath.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/windows/AfxMessageBox.h"
#include "render/formats/ExportContext.h"
#include "render/formats/ListFile.h"
#include "render/formats/ListFormat.h"
#include "render/formats/ListFormats.h"
#include "render/formats/MovieCatalog.h"
#include "render/formats/ShowClips.h"
#include "res/StringTable.h"
#include "show/CReelmixDoc.h"

#include <QFileInfo>
#include <QTimer>
#include <algorithm>

namespace
{
std::string FileName(const std::string& hostPath)
{
    return QFileInfo(QString::fromStdString(hostPath)).fileName().toStdString();
}

// "Playlists and Edit Lists (*.edl;*.xspf;...)|*.edl;*.xspf;...|".
CString ListFilter()
{
    std::string patterns = ListFormats::ImportPatterns();
    std::replace(patterns.begin(), patterns.end(), ' ', ';');
    return CString(("Playlists and Edit Lists (" + patterns + ")|" + patterns + "|").c_str());
}

CString AllFilesFilter()
{
    return CString(FindResourceString(AFX_IDS_ALLFILTER)) + "|*.*||";
}

// The main window, once there is one (an import from the command line comes before it).
CWnd* MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

QWidget* Window(CWnd* frame)
{
    return frame ? frame->GetSafeHwnd() : nullptr;
}

void Say(const std::string& text, UINT type)
{
    AfxMessageBox(CString(text.c_str()), type);
}

// Said once the main window shows, which after an import from the command line is later.
void SayLater(const std::string& text)
{
    QTimer::singleShot(0, [text] { Say(text, MB_ICONINFORMATION); });
}

std::string Clips(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " clip" : " clips");
}
} // namespace

bool ShowTravel::IsImportable(const CString& path)
{
    const QString suffix = QFileInfo(QString::fromStdString(ToHostPath(path))).suffix().toLower();
    const std::string patterns = " " + ListFormats::ImportPatterns() + " ";
    return !suffix.isEmpty() &&
           patterns.find(" *." + suffix.toStdString() + " ") != std::string::npos;
}

CString ShowTravel::OpenFilter(const CDocTemplate& shows)
{
    return shows.GetFilter() + ListFilter() + AllFilesFilter();
}

CDocument* ShowTravel::Import(CDocTemplate& shows, const CString& path)
{
    const std::string hostPath = ToHostPath(path);
    std::vector<ListClip> clips;
    FormatNotes notes;
    std::string error;
    bool imported = false;
    const bool ran = BackgroundWork::Run(
        Window(MainWindow()), "Importing " + FileName(hostPath) + "...",
        [&] {
            MovieCatalog movies;
            imported = ListFile::Import(hostPath, movies, clips, notes, error);
        },
        error);
    if (!ran || !imported) {
        Say(error, MB_ICONEXCLAMATION);
        return nullptr;
    }
    // A new empty show would only lose the one that is open.
    if (clips.empty()) {
        Say("\"" + FileName(hostPath) + "\" holds no clips a show can take" +
                (notes.Empty() ? "." : ": " + notes.Text() + "."),
            MB_ICONINFORMATION);
        return nullptr;
    }
    CDocument* document = shows.OpenDocumentFile(nullptr);
    auto* show = dynamic_cast<CReelmixDoc*>(document);
    if (!show)
        return nullptr;
    ShowClips::AddToDocument(clips, *show);
    show->SetModifiedFlag(TRUE);
    // The rows are made from the clips, which came after the new show's first update.
    if (auto* frame = dynamic_cast<CFrameWnd*>(MainWindow()))
        frame->InitialUpdateFrame(show, TRUE);
    if (!notes.Empty())
        SayLater("\"" + FileName(hostPath) + "\" became a show of " + Clips(clips.size()) +
                 ". Not all of it could be kept as it was:\n\n" + notes.Text() + ".");
    return show;
}

void ShowTravel::OnFileImport(CDocTemplate& shows, CWnd* frame)
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       ListFilter() + AllFilesFilter(), frame);
    if (dialog.DoModal() == IDOK)
        Import(shows, dialog.GetPathName());
}

void ShowTravel::OnFileExportShow(const CReelmixDoc& show, CWnd* frame)
{
    if (show.m_clips.IsEmpty()) {
        Say("The show has no clips to export. Add some clips first.", MB_ICONINFORMATION);
        return;
    }
    ExportShowDlg chooser(frame);
    if (chooser.DoModal() != IDOK || !chooser.m_format)
        return;
    const ListFormat& format = *chooser.m_format;
    const CString extension = format.Extension();
    const CString filter =
        CString(format.Name()) + " (*." + extension + ")|*." + extension + "|" + AllFilesFilter();
    const CString title = show.GetTitle().SpanExcluding("#%;/\\.");
    CFileDialog dialog(FALSE, extension, title.IsEmpty() ? CString() : title + "." + extension,
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter, frame);
    if (dialog.DoModal() != IDOK)
        return;
    const std::string hostPath = ToHostPath(dialog.GetPathName());
    const std::vector<ListClip> clips = ShowClips::FromDocument(show);
    FormatNotes notes;
    std::string error;
    bool exported = false;
    const bool ran = BackgroundWork::Run(
        Window(frame), "Exporting the show to " + FileName(hostPath) + "...",
        [&] {
            MovieCatalog movies;
            ExportContext context(movies);
            context.title = title.Str();
            exported = ListFile::Export(clips, format, hostPath, context, error);
            notes = context.notes;
        },
        error);
    if (!ran || !exported)
        Say(error, MB_ICONEXCLAMATION);
    else if (!notes.Empty())
        Say("The show was exported to \"" + FileName(hostPath) + "\" as " + format.Name() +
                ".\n\n" + notes.Text() + ".",
            MB_ICONINFORMATION);
}
