#include "render/formats/OtioTimeline.h"

#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListPath.h"
#include "render/formats/ListText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>

namespace
{
// Nesting deeper than this is no timeline a person made.
constexpr int kMaxDepth = 32;
// Numbers OpenTimelineIO writes that JSON has none for; the longer spelling first.
constexpr std::string_view kNonNumbers[] = {"-Infinity", "Infinity", "-Inf", "Inf", "NaN"};

bool IsSchema(const QJsonObject& object, const char* name)
{
    return object.value("OTIO_SCHEMA").toString().startsWith(QLatin1String(name) + '.');
}

// Seconds of a RationalTime, NaN when it is none.
double Seconds(const QJsonValue& time)
{
    const QJsonObject object = time.toObject();
    const double rate = object.value("rate").toDouble();
    const double value = object.value("value").toDouble(NAN);
    return rate > 0 ? value / rate : NAN;
}

struct Range {
    double start = NAN;
    double duration = NAN;
    bool Valid() const { return std::isfinite(start) && std::isfinite(duration); }
};

Range RangeOf(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    return {Seconds(object.value("start_time")), Seconds(object.value("duration"))};
}

QJsonObject MediaReference(const QJsonObject& clip)
{
    if (clip.contains("media_references")) {
        const QString key = clip.value("active_media_reference_key").toString("DEFAULT_MEDIA");
        return clip.value("media_references").toObject().value(key).toObject();
    }
    return clip.value("media_reference").toObject();
}
} // namespace

std::string OtioTimeline::StrictJson(std::string_view text)
{
    std::string json;
    json.reserve(text.size());
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            json += c;
            if (c == '\\' && i + 1 < text.size())
                json += text[++i];
            else if (c == '"')
                inString = false;
            continue;
        }
        inString = c == '"';
        const auto word =
            std::find_if(std::begin(kNonNumbers), std::end(kNonNumbers),
                         [&](std::string_view w) { return text.substr(i).starts_with(w); });
        if (word == std::end(kNonNumbers)) {
            json += c;
        } else {
            json += "null";
            i += word->size() - 1;
        }
    }
    return json;
}

void OtioTimeline::Read(std::string_view text)
{
    const std::string json = StrictJson(text);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(json.data(), qsizetype(json.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        const long offset = std::clamp<long>(error.offset, 0, long(json.size()));
        const long line = 1 + long(std::count(json.begin(), json.begin() + offset, '\n'));
        throw ListFormatError::AtLine(line, error.errorString().toStdString());
    }
    const QJsonObject root = document.object();
    if (IsSchema(root, "Timeline"))
        ReadStack(root.value("tracks").toObject(), 0);
    else if (IsSchema(root, "Stack"))
        ReadStack(root, 0);
    else if (IsSchema(root, "Track"))
        ReadTrack(root, 0);
    else
        throw ListFormatError("The file holds no OpenTimelineIO timeline: its top object is \"" +
                              root.value("OTIO_SCHEMA").toString().toStdString() + "\".");
}

// The first video track plays; the others are left out.
void OtioTimeline::ReadStack(const QJsonObject& stack, int depth)
{
    if (depth > kMaxDepth)
        throw ListFormatError("The timeline nests its tracks too deep.");
    bool taken = false;
    for (const QJsonValue child : stack.value("children").toArray()) {
        const QJsonObject track = child.toObject();
        if (track.value("kind").toString() == "Audio") {
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

void OtioTimeline::ReadTrack(const QJsonObject& track, int depth)
{
    for (const QJsonValue child : track.value("children").toArray()) {
        const QJsonObject item = child.toObject();
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

void OtioTimeline::ReadClip(const QJsonObject& object)
{
    const QJsonObject reference = MediaReference(object);
    const QString url = reference.value("target_url").toString();
    if (!IsSchema(reference, "ExternalReference") || url.isEmpty()) {
        m_context.notes.Add(FormatNotes::NoMovieLeftOut);
        return;
    }
    ListClip clip;
    const std::string target = url.toStdString();
    clip.file = ListText::StartsWithNoCase(target, "file:") ? ListPath::FromUri(target) : target;
    clip.title = object.value("name").toString().toStdString();
    const Range available = RangeOf(reference.value("available_range"));
    const double offset = std::isfinite(available.start) ? available.start : 0.0;
    Range source = RangeOf(object.value("source_range"));
    if (!source.Valid() && available.Valid())
        source = available;
    if (source.Valid()) {
        clip.start = std::max(0.0, source.start - offset);
        clip.end = clip.start + std::max(0.0, source.duration);
    }
    m_context.Add(std::move(clip));
}
