#include "render/formats/OtioTimeline.h"

#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListPath.h"
#include "render/formats/ListText.h"

#include <algorithm>
#include <cmath>

namespace
{
// Nesting deeper than this is no timeline a person made.
constexpr int kMaxDepth = 32;

struct Range {
    double start = NAN;
    double duration = NAN;
    bool Valid() const { return std::isfinite(start) && std::isfinite(duration); }
};
} // namespace

void OtioTimeline::Read(std::string_view text)
{
    m_json.Parse(text);
    const Index root = 0;
    if (IsSchema(root, "Timeline"))
        ReadStack(m_json.Member(root, "tracks"), 0);
    else if (IsSchema(root, "Stack"))
        ReadStack(root, 0);
    else if (IsSchema(root, "Track"))
        ReadTrack(root, 0);
    else
        throw ListFormatError("The file holds no OpenTimelineIO timeline: its top object is \"" +
                              m_json.String(m_json.Member(root, "OTIO_SCHEMA")) + "\".");
}

// "Clip.2" is a Clip: the schema's name, a dot and its version.
bool OtioTimeline::IsSchema(Index object, std::string_view name) const
{
    const std::string schema = m_json.String(m_json.Member(object, "OTIO_SCHEMA"));
    return schema.size() > name.size() && schema.starts_with(name) && schema[name.size()] == '.';
}

// Seconds of a RationalTime, NaN when it is none.
double OtioTimeline::Seconds(Index time) const
{
    const double rate = m_json.Number(m_json.Member(time, "rate"));
    const double value = m_json.Number(m_json.Member(time, "value"));
    return rate > 0 ? value / rate : NAN;
}

OtioTimeline::Index OtioTimeline::MediaReference(Index clip) const
{
    const Index references = m_json.Member(clip, "media_references");
    if (references == JsonTree::None)
        return m_json.Member(clip, "media_reference");
    const std::string key = m_json.String(m_json.Member(clip, "active_media_reference_key"));
    return m_json.Member(references, key.empty() ? "DEFAULT_MEDIA" : key);
}

// The first video track plays; the others are left out.
void OtioTimeline::ReadStack(Index stack, int depth)
{
    if (depth > kMaxDepth)
        throw ListFormatError("The timeline nests its tracks too deep.");
    bool taken = false;
    for (Index track = m_json.First(m_json.Member(stack, "children")); track != JsonTree::None;
         track = m_json.Next(track)) {
        if (m_json.String(m_json.Member(track, "kind")) == "Audio") {
            m_context.notes.Add(FormatNotes::AudioLeftOut);
        } else if (taken) {
            m_context.notes.Add(FormatNotes::VideoTracksLeftOut);
        } else if (IsSchema(track, "Track")) {
            taken = true;
            ReadTrack(track, depth + 1);
        } else if (IsSchema(track, "Stack")) {
            taken = true;
            ReadStack(track, depth + 1);
        }
    }
}

void OtioTimeline::ReadTrack(Index track, int depth)
{
    for (Index item = m_json.First(m_json.Member(track, "children")); item != JsonTree::None;
         item = m_json.Next(item)) {
        if (IsSchema(item, "Clip"))
            ReadClip(item);
        else if (IsSchema(item, "Gap"))
            m_context.notes.Add(FormatNotes::GapsDropped);
        else if (IsSchema(item, "Transition"))
            m_context.notes.Add(FormatNotes::TransitionsCut);
        else if (IsSchema(item, "Stack"))
            ReadStack(item, depth + 1);
        else if (IsSchema(item, "Track"))
            ReadTrack(item, depth + 1);
    }
}

void OtioTimeline::ReadClip(Index object)
{
    const Index reference = MediaReference(object);
    const std::string url = m_json.String(m_json.Member(reference, "target_url"));
    if (!IsSchema(reference, "ExternalReference") || url.empty()) {
        m_context.notes.Add(FormatNotes::NoMovieLeftOut);
        return;
    }
    ListClip clip;
    clip.file = ListText::StartsWithNoCase(url, "file:") ? ListPath::FromUri(url) : url;
    clip.title = m_json.String(m_json.Member(object, "name"));
    const auto range = [this](Index value) {
        return Range{Seconds(m_json.Member(value, "start_time")),
                     Seconds(m_json.Member(value, "duration"))};
    };
    const Range available = range(m_json.Member(reference, "available_range"));
    const double offset = std::isfinite(available.start) ? available.start : 0.0;
    Range source = range(m_json.Member(object, "source_range"));
    if (!source.Valid() && available.Valid())
        source = available;
    if (source.Valid()) {
        clip.start = std::max(0.0, source.start - offset);
        clip.end = clip.start + std::max(0.0, source.duration);
    }
    m_context.Add(std::move(clip));
}
