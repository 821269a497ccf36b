#include "render/formats/OtioFormat.h"

#include "render/formats/ExportContext.h"
#include "render/formats/ListPath.h"
#include "render/formats/OtioTimeline.h"

#include <charconv>

namespace
{
// The shortest text that reads back as the same number.
std::string Number(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string JsonString(std::string_view text)
{
    static const char* kHex = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            quoted += "\\u00";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 15];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string Time(double value, double rate)
{
    return "{\"OTIO_SCHEMA\":\"RationalTime.1\",\"rate\":" + Number(rate) +
           ",\"value\":" + Number(value) + "}";
}

std::string Range(double start, double duration, double rate)
{
    return "{\"OTIO_SCHEMA\":\"TimeRange.1\",\"duration\":" + Time(duration, rate) +
           ",\"start_time\":" + Time(start, rate) + "}";
}

// What every item of a timeline carries, empty here.
constexpr const char* kItemFields =
    "\"metadata\": {}, \"effects\": [], \"markers\": [], \"enabled\": true";

// One line a clip, without spaces, and without the effects, markers and enabled flag that
// readers take as none and true when they are missing: a show of 100,000 clips is tens of
// megabytes, and is read the faster for every value left out.
std::string ClipObject(const ListClip& clip, const ExportContext::FrameSpan& span)
{
    const double rate = span.Rate();
    const std::string available =
        span.movie.frames > 0 ? Range(0, double(span.movie.frames), rate) : "null";
    return "{\"OTIO_SCHEMA\":\"Clip.1\",\"name\":" + JsonString(clip.title) +
           ",\"metadata\":{},\"source_range\":" +
           Range(double(span.in), double(span.out - span.in), rate) +
           ",\"media_reference\":{\"OTIO_SCHEMA\":\"ExternalReference.1\",\"name\":\"\","
           "\"metadata\":{},\"target_url\":" +
           JsonString(ListPath::ToFileUri(clip.file)) + ",\"available_range\":" + available + "}}";
}
} // namespace

bool OtioFormat::Claims(std::string_view text) const
{
    return text.substr(0, 4096).find("\"OTIO_SCHEMA\"") != std::string_view::npos;
}

std::string OtioFormat::Write(const std::vector<ListClip>& clips, ExportContext& context) const
{
    std::string text = "{\"OTIO_SCHEMA\": \"Timeline.1\", \"name\": " + JsonString(context.title) +
                       ", \"metadata\": {}, \"global_start_time\": null,\n"
                       " \"tracks\": {\"OTIO_SCHEMA\": \"Stack.1\", \"name\": \"tracks\", " +
                       kItemFields +
                       ", \"source_range\": null, \"children\": [\n"
                       "  {\"OTIO_SCHEMA\": \"Track.1\", \"name\": \"V1\", \"kind\": \"Video\", " +
                       kItemFields + ", \"source_range\": null, \"children\": [\n";
    bool first = true;
    for (const ListClip& clip : clips) {
        ExportContext::FrameSpan span;
        if (!context.Frames(clip, span))
            continue;
        text += (first ? "" : ",\n") + ClipObject(clip, span);
        first = false;
    }
    return text + "\n  ]}\n ]}\n}\n";
}

void OtioFormat::Read(std::string_view text, ImportContext& context) const
{
    OtioTimeline(context).Read(text);
}
