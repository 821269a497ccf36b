#include "render/formats/CmxEventList.h"

#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListText.h"
#include "render/formats/Timecode.h"

#include <cctype>
#include <cmath>
#include <sstream>

namespace
{
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    while (true) {
        line = ListText::Trim(line);
        if (line.empty())
            return words;
        const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
        words.push_back(line.substr(0, end));
        line.remove_prefix(end);
    }
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// The value after prefix, or false when comment does not begin with it.
bool Field(std::string_view comment, std::string_view prefix, std::string& value)
{
    if (!ListText::StartsWithNoCase(comment, prefix))
        return false;
    value = std::string(ListText::Trim(comment.substr(prefix.size())));
    return true;
}

// Rates that timecodes are written at, by the whole frames a timecode second counts.
double RateOfNominal(int nominal, bool dropFrame)
{
    return dropFrame ? nominal * 1000.0 / 1001.0 : nominal;
}
} // namespace

bool CmxEventList::IsEventLine(std::string_view line)
{
    const std::vector<std::string_view> words = Words(line);
    return words.size() >= 8 && AllDigits(words[0]);
}

void CmxEventList::Parse(std::string_view text)
{
    ListText::ForEachLine(text, [this](long number, std::string_view raw) {
        const std::string_view line = ListText::Trim(raw);
        if (line.find('\0') != std::string_view::npos)
            throw ListFormatError::AtLine(number, "the line holds binary data: this is no EDL");
        if (ListText::StartsWithNoCase(line, "FCM:")) {
            m_anyDropFrame = m_anyDropFrame ||
                             ListText::StartsWithNoCase(ListText::Trim(line.substr(4)), "DROP");
        } else if (line.starts_with('*') || ListText::StartsWithNoCase(line, "FROM CLIP")) {
            ParseComment(ListText::Trim(line.substr(line.starts_with('*'))));
        } else if (ListText::StartsWithNoCase(line, "M2 ")) {
            ++m_speedChanges;
        } else if (!raw.empty() && std::isdigit(static_cast<unsigned char>(raw[0]))) {
            // Events begin their line; indented lines go on a header's text.
            ParseEvent(line, number);
        }
    });
}

void CmxEventList::ParseEvent(std::string_view line, long number)
{
    const std::vector<std::string_view> words = Words(line);
    if (!IsEventLine(line))
        throw ListFormatError::AtLine(number, "an event needs a number, a reel, its channels, "
                                              "a transition and four timecodes");
    Event event;
    event.line = number;
    event.reel = words[1];
    event.channels = words[2];
    event.transition = words[3];
    for (int i = 0; i < 4; ++i) {
        const std::string_view tc = words[words.size() - 4 + i];
        int64_t frame = 0;
        bool semicolons = false;
        if (!Timecode::Parse(tc, 30, false, frame, semicolons))
            throw ListFormatError::AtLine(number, "\"" + std::string(tc) + "\" is no timecode");
        event.timecodes[i] = tc;
        m_anyDropFrame = m_anyDropFrame || semicolons;
        m_largestFrame = std::max(m_largestFrame, Timecode::FrameField(tc));
    }
    m_events.push_back(std::move(event));
}

void CmxEventList::ParseComment(std::string_view comment)
{
    std::string value;
    if (Field(comment, "FORMAT:", value)) {
        // "3840X2160 P 59.94FPS"
        std::istringstream words(value);
        for (std::string word; words >> word;)
            if (word.size() > 3 && ListText::StartsWithNoCase(word.substr(word.size() - 3), "FPS"))
                ListText::ParseNumber(word.substr(0, word.size() - 3), m_statedRate);
        return;
    }
    if (m_events.empty())
        return;
    Event& event = m_events.back();
    if (Field(comment, "FROM CLIP NAME:", value))
        event.clipName = value;
    else if (Field(comment, "TO CLIP NAME:", value))
        event.toClipName = value;
    else if (Field(comment, "FROM CLIP:", value) || Field(comment, "FROM FILE:", value) ||
             Field(comment, "SOURCE FILE:", value))
        event.sourceFile = value;
}

double CmxEventList::ListRate() const
{
    if (m_statedRate > 0) {
        // "59.94FPS" is 60000/1001 frames a second, as written to two decimals.
        const int nominal = Timecode::Nominal(m_statedRate);
        const bool ntsc = std::abs(m_statedRate - RateOfNominal(nominal, true)) < 0.005;
        return ntsc ? RateOfNominal(nominal, true) : m_statedRate;
    }
    if (m_largestFrame >= 30)
        return RateOfNominal(60, m_anyDropFrame);
    if (m_largestFrame >= 25 || m_anyDropFrame)
        return RateOfNominal(30, m_anyDropFrame);
    return m_largestFrame >= 24 ? 25.0 : 24.0;
}

void CmxEventList::AddClips(ImportContext& context) const
{
    const double listRate = ListRate();
    int64_t lastRecordOut = -1;
    context.notes.Add(FormatNotes::SpeedChangesIgnored, m_speedChanges);
    for (const Event& event : m_events) {
        const bool video = event.channels.find_first_of("Vv") != std::string::npos ||
                           event.channels == "B" || event.channels == "b";
        if (!video) {
            context.notes.Add(FormatNotes::AudioEventsLeftOut);
            continue;
        }
        const bool cut = event.transition == "C" || event.transition == "c";
        if (!cut)
            context.notes.Add(FormatNotes::TransitionsCut);
        const std::string name =
            !cut && !event.toClipName.empty() ? event.toClipName : event.clipName;
        ListClip clip;
        clip.file = !event.sourceFile.empty() ? event.sourceFile
                    : !name.empty()           ? name
                                              : event.reel;
        clip.title = name;
        const double movieRate = context.MovieRate(clip.file);
        const double rate = movieRate > 0 ? movieRate : listRate;
        const int nominal = Timecode::Nominal(rate);
        // A list that counts in drop-frame timecode anywhere does so for every 29.97 and 59.94
        // source, whatever FCM lines stand between its events.
        const bool dropFrame =
            m_anyDropFrame && std::abs(rate - RateOfNominal(nominal, true)) < 0.005;
        int64_t frames[4];
        bool semicolons = false;
        for (int i = 0; i < 4; ++i)
            if (!Timecode::Parse(event.timecodes[i], nominal, dropFrame, frames[i], semicolons))
                throw ListFormatError::AtLine(event.line,
                                              "\"" + event.timecodes[i] + "\" is no timecode");
        if (lastRecordOut >= 0 && frames[2] > lastRecordOut)
            context.notes.Add(FormatNotes::GapsDropped);
        lastRecordOut = std::max(lastRecordOut, frames[3]);
        if (frames[1] <= frames[0])
            continue;
        clip.start = frames[0] / rate;
        clip.end = frames[1] / rate;
        context.Add(std::move(clip));
    }
}
