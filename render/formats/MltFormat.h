#pragma once
// MLT's XML, as melt, Shotcut and Kdenlive read it: one producer per movie and one playlist
// of entries with in and out frames, out inclusive.
#include "render/formats/ListFormat.h"

class MltFormat : public ListFormat
{
public:
    const char* Key() const override { return "mlt"; }
    const char* Name() const override { return "MLT XML"; }
    const char* ReadBy() const override { return "melt, Shotcut, Kdenlive"; }
    const char* Extension() const override { return "mlt"; }
    bool Claims(std::string_view text) const override;
    std::string Write(const std::vector<ListClip>& clips, ExportContext& context) const override;
    void Read(std::string_view text, ImportContext& context) const override;
};
