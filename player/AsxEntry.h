#pragma once
// One ENTRY of an ASX playlist as written, before any file is looked for.
#include <string>
#include <vector>

struct AsxEntry {
    std::string title;
    // HREFs of its REF elements in order: the first that can be played is played.
    std::vector<std::string> refs;
    // Seconds; negative when the entry gives none.
    double start = -1.0;
    double duration = -1.0;
};
