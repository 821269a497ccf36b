#pragma once
// XSPF playlists with VLC's extension for start and stop times, which VLC and other players
// read with sub-second marks.
#include "render/formats/ListFormat.h"

class XspfFormat : public ListFormat
{
public:
    static constexpr const char* VlcApplication = "http://www.videolan.org/vlc/playlist/0";

    const char* Key() const override { return "xspf"; }
    const char* Name() const override { return "XSPF playlist"; }
    const char* ReadBy() const override { return "VLC and other players"; }
    const char* Extension() const override { return "xspf"; }
    bool Claims(std::string_view text) const override;
    std::string Write(const std::vector<ListClip>& clips, ExportContext& context) const override;
    void Read(std::string_view text, ImportContext& context) const override;
};
