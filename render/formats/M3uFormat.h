#pragma once
// Extended M3U with VLC's "#EXTVLCOPT:start-time=" and "stop-time=" before each path.
#include "render/formats/ListFormat.h"

class M3uFormat : public ListFormat
{
public:
    const char* Key() const override { return "m3u"; }
    const char* Name() const override { return "M3U playlist"; }
    const char* ReadBy() const override { return "VLC and most players"; }
    const char* Extension() const override { return "m3u"; }
    bool Claims(std::string_view text) const override;
    std::string Write(const std::vector<ListClip>& clips, ExportContext& context) const override;
    void Read(std::string_view text, ImportContext& context) const override;
};
