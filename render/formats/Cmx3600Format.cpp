#include "render/formats/Cmx3600Format.h"

#include "render/formats/CmxEventList.h"
#include "render/formats/ExportContext.h"
#include "render/formats/ImportContext.h"
#include "render/formats/ListText.h"
#include "render/formats/Timecode.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace
{
// A comment holds one line: line breaks of a name become spaces.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string EventLine(long number, const std::string& reel, const std::string (&tc)[4])
{
    char text[160];
    std::snprintf(text, sizeof text, "%03ld  %-8s V     C        %s %s %s %s\n", number,
                  reel.c_str(), tc[0].c_str(), tc[1].c_str(), tc[2].c_str(), tc[3].c_str());
    return text;
}
} // namespace

bool Cmx3600Format::Claims(std::string_view text) const
{
    bool claimed = false;
    bool decided = false;
    ListText::ForEachLine(text.substr(0, 4096), [&](long, std::string_view line) {
        line = ListText::Trim(line);
        if (decided || line.empty())
            return;
        decided = true;
        claimed = line.starts_with("TITLE:") || line.starts_with("FCM:") ||
                  CmxEventList::IsEventLine(line);
    });
    return claimed;
}

std::string Cmx3600Format::ReelName(const std::string& file)
{
    std::string name = file.substr(file.find_last_of("/\\") + 1);
    name = name.substr(0, name.find('.'));
    std::string reel;
    for (const char c : name) {
        if (reel.size() == 8)
            break;
        const auto byte = static_cast<unsigned char>(c);
        reel += std::isalnum(byte) && byte < 0x80 ? char(std::toupper(byte)) : '_';
    }
    return reel.empty() ? "AX" : reel;
}

std::string Cmx3600Format::Write(const std::vector<ListClip>& clips, ExportContext& context) const
{
    std::string text = "TITLE: " + OneLine(context.title) + "\n";
    long number = 0;
    int recordNum = 0, recordDen = 1;
    int64_t record = 0;
    for (const ListClip& clip : clips) {
        ExportContext::FrameSpan span;
        if (!context.Frames(clip, span))
            continue;
        if (number == 0) {
            recordNum = span.movie.rateNum;
            recordDen = span.movie.rateDen;
            text += Timecode::IsDropRate(recordNum, recordDen) ? "FCM: DROP FRAME\n\n"
                                                               : "FCM: NON-DROP FRAME\n\n";
        }
        const int nominal = Timecode::Nominal(span.Rate());
        const bool drop = Timecode::IsDropRate(span.movie.rateNum, span.movie.rateDen);
        const double recordRate = double(recordNum) / recordDen;
        const int recordNominal = Timecode::Nominal(recordRate);
        const bool recordDrop = Timecode::IsDropRate(recordNum, recordDen);
        const int64_t length = std::llround((span.out - span.in) / span.Rate() * recordRate);
        // Record time starts at 01:00:00:00 and wraps after a day, as a timecode does.
        const int64_t day = Timecode::FramesPerHour(recordNominal, recordDrop) * 24;
        const int64_t start = Timecode::FramesPerHour(recordNominal, recordDrop);
        const std::string tc[4] = {
            Timecode::Format(span.in, nominal, drop), Timecode::Format(span.out, nominal, drop),
            Timecode::Format((start + record) % day, recordNominal, recordDrop),
            Timecode::Format((start + record + length) % day, recordNominal, recordDrop)};
        record += length;
        text += EventLine(++number, ReelName(clip.file), tc);
        text += "* FROM CLIP NAME: " + OneLine(clip.title) + "\n";
        text += "* SOURCE FILE: " + OneLine(clip.file) + "\n\n";
    }
    return text;
}

void Cmx3600Format::Read(std::string_view text, ImportContext& context) const
{
    CmxEventList events;
    events.Parse(text);
    events.AddClips(context);
}
