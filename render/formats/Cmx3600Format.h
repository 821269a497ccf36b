#pragma once
// The CMX 3600 edit decision list that editors exchange: one video cut event per clip, source
// timecodes from its marks, record timecodes running on from 01:00:00:00.
#include "render/formats/ListFormat.h"

class Cmx3600Format : public ListFormat
{
public:
    const char* Key() const override { return "cmx3600"; }
    const char* Name() const override { return "CMX 3600 EDL"; }
    const char* ReadBy() const override { return "Resolve, Premiere, Avid"; }
    const char* Extension() const override { return "edl"; }
    bool Claims(std::string_view text) const override;
    std::string Write(const std::vector<ListClip>& clips, ExportContext& context) const override;
    void Read(std::string_view text, ImportContext& context) const override;

    // A reel name of at most 8 letters, digits and underscores from a movie's file name.
    static std::string ReelName(const std::string& file);
};
