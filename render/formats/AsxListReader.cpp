#include "render/formats/AsxListReader.h"

#include "platform/files/HostPath.h"
#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListText.h"
#include "util/AsxReader.h"

bool AsxListReader::Claims(std::string_view text) const
{
    return ListText::StartsWithNoCase(ListText::Trim(ListText::Utf8(text.substr(0, 64))), "<asx");
}

void AsxListReader::Read(std::string_view text, ImportContext& context) const
{
    AsxPlaylist playlist;
    QString error;
    if (!AsxReader::Read(text, playlist, error))
        throw ListFormatError(error.toStdString());
    for (const AsxEntry& entry : playlist.entries) {
        if (entry.refs.empty()) {
            context.notes.Add(FormatNotes::NoMovieLeftOut);
            continue;
        }
        const AsxRef& ref = entry.refs.front();
        context.notes.Add(FormatNotes::AlternativesLeftOut, long(entry.refs.size()) - 1);
        ListClip clip;
        // The program's own playlists name movies by their program paths.
        clip.file = ref.href.starts_with('\\') ? ToHostPath(CString(ref.href)) : ref.href;
        clip.title = entry.title;
        const double start = ref.start >= 0 ? ref.start : entry.start;
        const double duration = ref.start >= 0 ? ref.duration : entry.duration;
        clip.start = start;
        if (duration >= 0)
            clip.end = std::max(start, 0.0) + duration;
        context.Add(std::move(clip));
    }
    for (const QString& notice : playlist.notices)
        context.notes.AddText(notice.toStdString());
}
