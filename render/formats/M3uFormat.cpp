#include "render/formats/M3uFormat.h"

#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListPath.h"
#include "render/formats/ListText.h"
#include "render/formats/VlcOptions.h"

#include <cmath>

namespace
{
// The title of "#EXTINF:-1 tvg-name="a, b",Title": what follows the first comma outside quotes.
std::string InfoTitle(std::string_view info)
{
    bool quoted = false;
    for (std::size_t i = 0; i < info.size(); ++i) {
        if (info[i] == '"')
            quoted = !quoted;
        else if (info[i] == ',' && !quoted)
            return std::string(ListText::Trim(info.substr(i + 1)));
    }
    return std::string();
}

// A path a line cannot hold as it is goes as a file:// URI.
std::string Location(const std::string& file)
{
    if (file.find_first_of("\r\n") != std::string::npos || file.starts_with('#'))
        return ListPath::ToFileUri(file);
    return file;
}
} // namespace

bool M3uFormat::Claims(std::string_view text) const
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return ListText::StartsWithNoCase(text, "#EXTM3U");
}

std::string M3uFormat::Write(const std::vector<ListClip>& clips, ExportContext&) const
{
    std::string text = "#EXTM3U\n";
    for (const ListClip& clip : clips) {
        const bool known = clip.start >= 0 && clip.end > clip.start;
        text += "#EXTINF:" + std::to_string(known ? std::lround(clip.end - clip.start) : -1) + "," +
                clip.title + "\n";
        if (clip.start >= 0)
            text += "#EXTVLCOPT:" + VlcOptions::StartOption(clip.start) + "\n";
        if (clip.end >= 0)
            text += "#EXTVLCOPT:" + VlcOptions::StopOption(clip.end) + "\n";
        text += Location(clip.file) + "\n";
    }
    return text;
}

void M3uFormat::Read(std::string_view bytes, ImportContext& context) const
{
    const std::string text = ListText::Utf8(bytes);
    VlcOptions options;
    std::string title;
    ListText::ForEachLine(text, [&](long number, std::string_view line) {
        line = ListText::Trim(line);
        if (line.find('\0') != std::string_view::npos)
            throw ListFormatError::AtLine(number, "the line holds binary data: this is no M3U "
                                                  "playlist");
        if (ListText::StartsWithNoCase(line, "#EXTVLCOPT:")) {
            options.Take(line.substr(11), number);
        } else if (ListText::StartsWithNoCase(line, "#EXTINF:")) {
            title = InfoTitle(line.substr(8));
        } else if (!line.empty() && line[0] != '#') {
            ListClip clip;
            clip.file = ListText::StartsWithNoCase(line, "file:") ? ListPath::FromUri(line)
                                                                  : std::string(line);
            clip.title = std::move(title);
            title.clear();
            options.ApplyTo(clip, context.notes);
            context.Add(std::move(clip));
        }
    });
}
