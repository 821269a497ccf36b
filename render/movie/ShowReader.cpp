#include "render/movie/ShowReader.h"

#include "platform/files/CArchive.h"
#include "platform/files/CFile.h"
#include "platform/files/HostPath.h"
#include "render/movie/MovieFile.h"
#include "render/movie/RenderFailure.h"
#include "show/CReelmixDoc.h"
#include "show/Clip.h"
#include "util/AsxReader.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace
{
// A playlist's reference as a local file, or empty for an address this tool does not fetch.
QString LocalFile(const std::string& href, const QString& folder)
{
    const QString text = QString::fromStdString(href);
    const QUrl url(text);
    if (url.isValid() && url.scheme().size() > 1) // one letter is a drive, not a scheme
        return url.isLocalFile() ? url.toLocalFile() : QString();
    const QString host = QString::fromStdString(ToHostPath(CString(href)));
    return QDir::cleanPath(QDir(folder).filePath(host));
}
} // namespace

std::vector<RenderClip> ShowReader::FromDocument(const CReelmixDoc& doc)
{
    std::vector<RenderClip> clips;
    POSITION pos = doc.m_clips.GetHeadPosition();
    while (pos) {
        const auto* clip = static_cast<const Clip*>(doc.m_clips.GetNext(pos));
        clips.push_back(
            {QString::fromStdString(ToHostPath(clip->GetFullPath())), clip->m_start, clip->m_end});
    }
    return clips;
}

std::vector<RenderClip> ShowReader::ReadFile(const QString& hostPath, QStringList& notices)
{
    const QString extension = QFileInfo(hostPath).suffix().toLower();
    if (extension == "asx" || extension == "wax" || extension == "wvx")
        return ReadPlaylist(hostPath, notices);
    return ReadShow(hostPath);
}

std::vector<RenderClip> ShowReader::ReadShow(const QString& hostPath)
{
    CString programPath;
    if (!FromHostPath(hostPath.toStdString(), programPath))
        throw RenderFailure(QStringLiteral("%1 cannot be opened: its name holds a backslash.")
                                .arg(MovieFile::Quoted(hostPath)));
    CReelmixDoc doc;
    try {
        CFile file(programPath, CFile::modeRead | CFile::shareDenyWrite);
        CArchive archive(&file, CArchive::load);
        doc.Serialize(archive);
    } catch (const CFileException&) {
        throw RenderFailure(
            QStringLiteral("%1 could not be opened.").arg(MovieFile::Quoted(hostPath)));
    } catch (const CArchiveException&) {
        throw RenderFailure(QStringLiteral("%1 is not a show file, or it is damaged.")
                                .arg(MovieFile::Quoted(hostPath)));
    }
    return FromDocument(doc);
}

// Each entry plays its first reference; times in a reference hold over the entry's.
std::vector<RenderClip> ShowReader::ReadPlaylist(const QString& hostPath, QStringList& notices)
{
    AsxPlaylist playlist;
    QString error;
    if (!AsxReader::ReadFile(hostPath, playlist, error))
        throw RenderFailure(error);
    const QString folder = QFileInfo(hostPath).absolutePath();
    std::vector<RenderClip> clips;
    for (size_t i = 0; i < playlist.entries.size(); ++i) {
        const AsxEntry& entry = playlist.entries[i];
        const QString file = entry.refs.empty() ? QString() : LocalFile(entry.refs[0].href, folder);
        if (file.isEmpty()) {
            notices << QStringLiteral("Entry %1 of the playlist names no local file; it is left "
                                      "out.")
                           .arg(i + 1);
            continue;
        }
        const AsxRef& ref = entry.refs[0];
        const double start = ref.start >= 0 ? ref.start : entry.start;
        const double duration = ref.duration >= 0 ? ref.duration : entry.duration;
        clips.push_back({file, start, duration >= 0 ? std::max(0.0, start) + duration : -1.0});
    }
    return clips;
}
