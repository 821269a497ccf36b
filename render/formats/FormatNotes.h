#pragma once
// What a list held that a show cannot, or what an export had to guess, counted by kind and
// said once: "2 transitions became cuts; 1 audio track left out".
#include <array>
#include <string>
#include <vector>

class FormatNotes
{
public:
    enum Kind {
        TransitionsCut,
        GapsDropped,
        AudioLeftOut,
        AudioEventsLeftOut,
        VideoTracksLeftOut,
        NoMovieLeftOut,
        ParallelStreamsLeftOut,
        OptionsLeftOut,
        AlternativesLeftOut,
        SpeedChangesIgnored,
        MoviesNotFound,
        RateGuessed,
        LengthUnknownLeftOut,
        KindCount
    };

    void Add(Kind kind, long count = 1) { m_counts[kind] += count; }
    // A note in words of its own, said after the counted ones.
    void AddText(const std::string& text);
    long Count(Kind kind) const { return m_counts[kind]; }
    bool Empty() const;
    // The notes joined with "; ", or empty.
    std::string Text() const;

private:
    std::array<long, KindCount> m_counts{};
    std::vector<std::string> m_texts;
};
