#pragma once
// The frames a server wants kept: ranges of numbers around a position.
#include <utility>
#include <vector>

struct FrameWindow {
    int position = 0;
    std::vector<std::pair<int, int>> ranges; // [first, end) each

    bool Contains(int frame) const;
    int Size() const;
};
