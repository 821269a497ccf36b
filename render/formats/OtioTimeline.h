#pragma once
// Reads the clips of an OpenTimelineIO file: the first video track of its timeline, with
// transitions as cuts and gaps, other tracks and clips without a movie left out.
#include "render/formats/JsonTree.h"

#include <string_view>

class ImportContext;

class OtioTimeline
{
public:
    explicit OtioTimeline(ImportContext& context) : m_context(context) {}

    // Throws ListFormatError naming the line, or the object, it cannot read.
    void Read(std::string_view text);

private:
    using Index = JsonTree::Index;

    bool IsSchema(Index object, std::string_view name) const;
    double Seconds(Index time) const;
    Index MediaReference(Index clip) const;
    void ReadStack(Index stack, int depth);
    void ReadTrack(Index track, int depth);
    void ReadClip(Index clip);

    ImportContext& m_context;
    JsonTree m_json;
};
