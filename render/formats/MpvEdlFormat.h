#pragma once
// mpv's edit list: "# mpv EDL v0", then one "file,start,length" segment a line, played as one
// timeline with a chapter per segment.
#include "render/formats/ListFormat.h"

class MpvEdlFormat : public ListFormat
{
public:
    static constexpr std::string_view Header = "# mpv EDL v0";

    const char* Key() const override { return "mpv-edl"; }
    const char* Name() const override { return "mpv EDL"; }
    const char* ReadBy() const override { return "mpv, as one timeline"; }
    const char* Extension() const override { return "edl"; }
    bool Claims(std::string_view text) const override;
    std::string Write(const std::vector<ListClip>& clips, ExportContext& context) const override;
    void Read(std::string_view text, ImportContext& context) const override;

    // value as it stands in a segment: as it is, or "%N%value" (N counted in bytes) when it
    // holds a character the segment syntax gives a meaning to.
    static std::string Quote(const std::string& value);
};
