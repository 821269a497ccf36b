#pragma once
// One ENTRY of an ASX playlist as written, before any file is looked for.
#include <string>
#include <vector>

// A REF of an entry. Times written inside the REF hold for that reference only.
struct AsxRef {
    std::string href;
    // Seconds; negative when the reference gives none.
    double start = -1.0;
    double duration = -1.0;
};

struct AsxEntry {
    std::string title;
    // In order: the first that can be played is played.
    std::vector<AsxRef> refs;
    // Seconds; negative when the entry gives none.
    double start = -1.0;
    double duration = -1.0;
};
