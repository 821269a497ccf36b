#pragma once
// VLC's per-item options as XSPF and M3U carry them ("start-time=12.5"): the start and stop
// times become the clip's marks, and any other option is left out with a note.
#include "render/formats/FormatNotes.h"
#include "render/formats/ListClip.h"

#include <string>
#include <string_view>

class VlcOptions
{
public:
    // One option as written; throws ListFormatError (naming line) for a time that is none.
    void Take(std::string_view option, long line);
    // Sets the marks taken so far on clip and starts over for the next item.
    void ApplyTo(ListClip& clip, FormatNotes& notes);

    static std::string StartOption(double seconds);
    static std::string StopOption(double seconds);

private:
    double m_start = -1.0;
    double m_stop = -1.0;
    long m_others = 0;
};
