#include "render/formats/MltFormat.h"

#include "render/formats/ExportContext.h"
#include "render/formats/ListText.h"
#include "render/formats/MltDocument.h"

#include <cmath>
#include <unordered_map>

namespace
{
std::string ProducerElement(const std::string& id, const std::string& file, int64_t length)
{
    std::string text = "  <producer id=\"" + id + "\"";
    if (length > 0)
        text += " in=\"0\" out=\"" + std::to_string(length - 1) + "\"";
    text += ">\n    <property name=\"resource\">" + ListText::XmlEscape(file) + "</property>\n";
    if (length > 0)
        text += "    <property name=\"length\">" + std::to_string(length) + "</property>\n";
    return text + "    <property name=\"mlt_service\">avformat</property>\n  </producer>\n";
}
} // namespace

bool MltFormat::Claims(std::string_view text) const
{
    return text.substr(0, 4096).find("<mlt") != std::string_view::npos;
}

// Entries count frames at the profile's rate, the first clip's movie's; clips of movies at
// other rates are converted to it.
std::string MltFormat::Write(const std::vector<ListClip>& clips, ExportContext& context) const
{
    std::string producers;
    std::string playlist;
    std::unordered_map<std::string, std::string> ids;
    int rateNum = 0, rateDen = 1;
    for (const ListClip& clip : clips) {
        ExportContext::FrameSpan span;
        if (!context.Frames(clip, span))
            continue;
        if (rateNum == 0)
            rateNum = span.movie.rateNum, rateDen = span.movie.rateDen;
        const double scale = double(rateNum) / rateDen / span.Rate();
        auto [found, added] = ids.try_emplace(clip.file, "producer" + std::to_string(ids.size()));
        if (added)
            producers +=
                ProducerElement(found->second, clip.file, std::llround(span.movie.frames * scale));
        const int64_t in = std::llround(span.in * scale);
        const int64_t out = std::max(in, int64_t(std::llround(span.out * scale))) - 1;
        playlist += "    <entry producer=\"" + found->second + "\" in=\"" + std::to_string(in) +
                    "\" out=\"" + std::to_string(out) + "\"/>\n";
    }
    if (rateNum == 0)
        rateNum = 25;
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<mlt LC_NUMERIC=\"C\" title=\"" +
           ListText::XmlEscape(context.title) + "\" producer=\"playlist0\">\n" +
           "  <profile frame_rate_num=\"" + std::to_string(rateNum) + "\" frame_rate_den=\"" +
           std::to_string(rateDen) + "\"/>\n" + producers + "  <playlist id=\"playlist0\">\n" +
           playlist + "  </playlist>\n</mlt>\n";
}

void MltFormat::Read(std::string_view text, ImportContext& context) const
{
    MltDocument document;
    document.Parse(text);
    document.AddClips(context);
}
