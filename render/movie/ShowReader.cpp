#include "render/movie/ShowReader.h"

#include "render/formats/FormatNotes.h"
#include "render/formats/MovieCatalog.h"
#include "render/formats/ShowClips.h"
#include "render/movie/RenderFailure.h"

std::vector<RenderClip> ShowReader::FromList(const std::vector<ListClip>& clips)
{
    std::vector<RenderClip> render;
    for (const ListClip& clip : clips)
        render.push_back({QString::fromStdString(clip.file), clip.start, clip.end});
    return render;
}

std::vector<RenderClip> ShowReader::FromDocument(const CReelmixDoc& doc)
{
    return FromList(ShowClips::FromDocument(doc));
}

std::vector<RenderClip> ShowReader::ReadFile(const QString& hostPath, QStringList& notices)
{
    const std::string path = hostPath.toStdString();
    std::vector<ListClip> clips;
    std::string error;
    FormatNotes notes;
    MovieCatalog movies;
    if (!ShowClips::ReadShowOrList(path, movies, clips, notes, error))
        throw RenderFailure(QString::fromStdString(error));
    if (!notes.Empty())
        notices << QString::fromStdString(notes.Text());
    return FromList(clips);
}
