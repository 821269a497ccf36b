#pragma once
// Reads the clips of an OpenTimelineIO file: the first video track of its timeline, with
// transitions as cuts and gaps, other tracks and clips without a movie left out.
#include <QJsonObject>
#include <string>
#include <string_view>

class ImportContext;
struct ListClip;

class OtioTimeline
{
public:
    explicit OtioTimeline(ImportContext& context) : m_context(context) {}

    // Throws ListFormatError naming the line, or the object, it cannot read.
    void Read(std::string_view text);

    // The JSON of text with the Inf, -Infinity and NaN that OpenTimelineIO writes made null,
    // which the JSON reader does not take; line numbers stay as they were.
    static std::string StrictJson(std::string_view text);

private:
    void ReadStack(const QJsonObject& stack, int depth);
    void ReadTrack(const QJsonObject& track, int depth);
    void ReadClip(const QJsonObject& clip);

    ImportContext& m_context;
};
