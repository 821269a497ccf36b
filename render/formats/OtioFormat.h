#pragma once
// OpenTimelineIO's JSON: a Timeline with one video Track of Clips, each with its source range
// in its movie's rate and an external reference to the movie with its available range.
#include "render/formats/ListFormat.h"

class OtioFormat : public ListFormat
{
public:
    const char* Key() const override { return "otio"; }
    const char* Name() const override { return "OpenTimelineIO"; }
    const char* ReadBy() const override { return "OpenTimelineIO tools"; }
    const char* Extension() const override { return "otio"; }
    bool Claims(std::string_view text) const override;
    std::string Write(const std::vector<ListClip>& clips, ExportContext& context) const override;
    void Read(std::string_view text, ImportContext& context) const override;
};
