#include "render/formats/ShowClips.h"

#include "platform/files/CArchive.h"
#include "platform/files/HostPath.h"
#include "render/formats/ListFile.h"
#include "render/formats/ListPath.h"
#include "show/CReelmixDoc.h"
#include "show/Clip.h"

#include <QFileInfo>
#include <new>

std::vector<ListClip> ShowClips::FromDocument(const CReelmixDoc& document)
{
    std::vector<ListClip> clips;
    clips.reserve(std::size_t(document.m_clips.GetCount()));
    POSITION pos = document.m_clips.GetHeadPosition();
    while (pos) {
        const auto* clip = static_cast<const Clip*>(document.m_clips.GetNext(pos));
        const CString full = clip->GetFullPath();
        ListClip listed;
        listed.file = full.Left(1) == "\\" ? ToHostPath(full) : full.Str();
        listed.start = clip->m_start;
        listed.end = clip->m_end;
        listed.title = clip->m_fileName.Str();
        clips.push_back(std::move(listed));
    }
    return clips;
}

void ShowClips::AddToDocument(const std::vector<ListClip>& clips, CReelmixDoc& document)
{
    for (const ListClip& listed : clips) {
        CString path;
        // A Windows path is already in the program's own form.
        if (ListPath::IsWindowsPath(listed.file) || listed.file.find('\\') != std::string::npos ||
            !FromHostPath(listed.file, path))
            path = CString(listed.file);
        const int slash = path.ReverseFind('\\');
        auto* clip = new Clip(slash < 0 ? CString() : path.Left(slash), path.Mid(slash + 1));
        clip->m_start = listed.start;
        clip->m_end = listed.end;
        document.m_clips.AddTail(clip);
    }
}

bool ShowClips::ReadShowFile(const std::string& hostPath, std::vector<ListClip>& clips,
                             std::string& error)
{
    CString programPath;
    if (!FromHostPath(hostPath, programPath)) {
        error = "\"" + hostPath + "\" cannot be named by the program: its name holds a backslash.";
        return false;
    }
    CFile file;
    CFileException openError;
    if (!file.Open(programPath, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        error = openError.GetErrorMessage().Str();
        return false;
    }
    CReelmixDoc document;
    try {
        CArchive archive(&file, CArchive::load);
        if (file.GetLength() != 0)
            document.Serialize(archive);
    } catch (const CException& failure) {
        error = failure.GetErrorMessage().Str();
        return false;
    } catch (const std::bad_alloc&) {
        error = "\"" + hostPath + "\" is no show file: it needs more memory than there is.";
        return false;
    }
    clips = FromDocument(document);
    return true;
}

bool ShowClips::ReadShowOrList(const std::string& hostPath, MovieCatalog& movies,
                               std::vector<ListClip>& clips, FormatNotes& notes, std::string& error)
{
    if (QFileInfo(QString::fromStdString(hostPath)).suffix().toLower() == "rlx")
        return ReadShowFile(hostPath, clips, error);
    return ListFile::Import(hostPath, movies, clips, notes, error);
}
