#pragma once
// The events of a CMX 3600 list with the comments that name their clips, read line by line,
// and the clips they make: one per video event with a source out after its source in.
#include <string>
#include <string_view>
#include <vector>

class ImportContext;

class CmxEventList
{
public:
    // "001  REEL  V  C  01:00:00:00 ...": a number, then reel, channels, transition.
    static bool IsEventLine(std::string_view line);

    // Throws ListFormatError naming the line of an event it cannot read.
    void Parse(std::string_view text);
    void AddClips(ImportContext& context) const;

private:
    struct Event {
        long line = 0;
        std::string reel;
        std::string channels;
        std::string transition;
        std::string timecodes[4];
        std::string clipName;
        std::string toClipName;
        std::string sourceFile;
    };

    void ParseEvent(std::string_view line, long number);
    void ParseComment(std::string_view comment);
    // The rate the list's timecodes count at where no movie tells: stated, or guessed from the
    // largest frame number and the drop-frame marks.
    double ListRate() const;

    std::vector<Event> m_events;
    bool m_anyDropFrame = false;
    int m_largestFrame = 0;
    double m_statedRate = 0;
    long m_speedChanges = 0;
};
