#pragma once
// FFmpeg's concat demuxer script: "ffconcat version 1.0", then "file", "inpoint" and
// "outpoint" lines per clip.
#include "render/formats/ListFormat.h"

class FfconcatFormat : public ListFormat
{
public:
    const char* Key() const override { return "ffconcat"; }
    const char* Name() const override { return "FFmpeg concat list"; }
    const char* ReadBy() const override { return "ffmpeg -f concat"; }
    const char* Extension() const override { return "ffconcat"; }
    bool Claims(std::string_view text) const override;
    std::string Write(const std::vector<ListClip>& clips, ExportContext& context) const override;
    void Read(std::string_view text, ImportContext& context) const override;

    // text in single quotes, each "'" in it written as '\''.
    static std::string Quote(const std::string& text);
    // The first word of line by the demuxer's rules (quotes and backslashes), and the rest.
    static std::string Token(std::string_view& line);
    // "[-][[HH:]MM:]SS[.m...]" or "S[.m...]" with "s", "ms" or "us"; false when it is neither.
    static bool ParseDuration(std::string_view text, double& seconds);
};
