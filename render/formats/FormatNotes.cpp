#include "render/formats/FormatNotes.h"

#include <algorithm>

namespace
{
struct Wording {
    const char* one;
    const char* many;
};

// In the order of FormatNotes::Kind.
constexpr Wording kWordings[] = {
    {"transition became a cut", "transitions became cuts"},
    {"gap dropped", "gaps dropped"},
    {"audio track left out", "audio tracks left out"},
    {"audio event left out", "audio events left out"},
    {"other video track left out", "other video tracks left out"},
    {"entry without a movie left out", "entries without a movie left out"},
    {"parallel stream left out", "parallel streams left out"},
    {"player option left out", "player options left out"},
    {"alternative reference left out", "alternative references left out"},
    {"speed change ignored", "speed changes ignored"},
    {"movie not found (kept as a clip)", "movies not found (kept as clips)"},
    {"clip of a movie of unknown frame rate counted at 25 frames a second",
     "clips of movies of unknown frame rate counted at 25 frames a second"},
    {"clip left out: its end is not set and its movie's length is unknown",
     "clips left out: their ends are not set and their movies' lengths are unknown"},
};
static_assert(std::size(kWordings) == FormatNotes::KindCount);
} // namespace

void FormatNotes::AddText(const std::string& text)
{
    if (std::find(m_texts.begin(), m_texts.end(), text) == m_texts.end())
        m_texts.push_back(text);
}

bool FormatNotes::Empty() const
{
    return m_texts.empty() &&
           std::all_of(m_counts.begin(), m_counts.end(), [](long count) { return count == 0; });
}

std::string FormatNotes::Text() const
{
    std::string text;
    const auto append = [&text](const std::string& part) {
        text += (text.empty() ? "" : "; ") + part;
    };
    for (int kind = 0; kind < KindCount; ++kind) {
        const long count = m_counts[kind];
        if (count > 0)
            append(std::to_string(count) + " " +
                   (count == 1 ? kWordings[kind].one : kWordings[kind].many));
    }
    for (const std::string& note : m_texts)
        append(note);
    return text;
}
