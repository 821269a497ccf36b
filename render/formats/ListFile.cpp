#include "render/formats/ListFile.h"

#include "platform/files/RegularFile.h"
#include "render/formats/ExportContext.h"
#include "render/formats/ImportContext.h"
#include "render/formats/ListFormat.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListFormats.h"
#include "render/formats/ListPath.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <new>
#include <unistd.h>
#include <unordered_set>

namespace
{
std::string Quoted(const std::string& hostPath)
{
    return "\"" + hostPath + "\"";
}

// Movies named by a path that is not there; addresses are not looked for.
long MissingMovies(const std::vector<ListClip>& clips)
{
    std::unordered_set<std::string> missing;
    std::unordered_set<std::string> present;
    for (const ListClip& clip : clips) {
        if (ListPath::IsAddress(clip.file) || present.contains(clip.file))
            continue;
        if (clip.file.starts_with('/') && ::access(clip.file.c_str(), F_OK) == 0)
            present.insert(clip.file);
        else
            missing.insert(clip.file);
    }
    return long(missing.size());
}
} // namespace

bool ListFile::ReadWhole(const std::string& hostPath, std::string& bytes, std::string& error)
{
    QFile file;
    QString reason;
    switch (RegularFile::Open(QString::fromStdString(hostPath), file, reason)) {
    case RegularFile::Refusal::None:
        break;
    case RegularFile::Refusal::Folder:
    case RegularFile::Refusal::PipeOrDevice:
        error = Quoted(hostPath) + " is a folder, pipe or device, not a playlist or an edit list.";
        return false;
    case RegularFile::Refusal::Unreadable:
        error = Quoted(hostPath) + " could not be opened: " + reason.toStdString() + ".";
        return false;
    }
    // Read one byte past the limit rather than trust the size, which a file may outgrow.
    const QByteArray read = file.read(MaxFileSize + 1);
    if (read.size() > MaxFileSize) {
        error = Quoted(hostPath) + " is too large for a playlist or an edit list.";
        return false;
    }
    bytes = read.toStdString();
    return true;
}

bool ListFile::Import(const std::string& hostPath, MovieCatalog& movies,
                      std::vector<ListClip>& clips, FormatNotes& notes, std::string& error)
{
    std::string bytes;
    if (!ReadWhole(hostPath, bytes, error))
        return false;
    const ListReader* reader = ListFormats::ForFile(hostPath, bytes, error);
    if (!reader) {
        error = Quoted(hostPath) + " could not be imported. " + error;
        return false;
    }
    ImportContext context(QFileInfo(QString::fromStdString(hostPath)).absolutePath().toStdString(),
                          &movies);
    try {
        reader->Read(bytes, context);
    } catch (const ListFormatError& failure) {
        error = Quoted(hostPath) + " could not be imported as " + reader->Name() + ".\n\n" +
                failure.what();
        return false;
    } catch (const std::bad_alloc&) {
        error = Quoted(hostPath) + " could not be imported: it needs more memory than there is.";
        return false;
    }
    clips = std::move(context.clips);
    notes = std::move(context.notes);
    notes.Add(FormatNotes::MoviesNotFound, MissingMovies(clips));
    return true;
}

bool ListFile::Export(const std::vector<ListClip>& clips, const ListFormat& format,
                      const std::string& hostPath, ExportContext& context, std::string& error)
{
    // A clip without a name of its own goes by its movie's.
    std::vector<ListClip> named = clips;
    for (ListClip& clip : named)
        if (clip.title.empty())
            clip.title = clip.file.substr(clip.file.find_last_of("/\\") + 1);
    const std::string text = format.Write(named, context);
    QSaveFile file(QString::fromStdString(hostPath));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        error = Quoted(hostPath) + " could not be written: " + file.errorString().toStdString() +
                ". Nothing was changed on disk.";
        return false;
    }
    return true;
}
