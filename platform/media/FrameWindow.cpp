#include "platform/media/FrameWindow.h"

#include <algorithm>

bool FrameWindow::Contains(int frame) const
{
    for (const auto& [first, end] : ranges) {
        if (frame >= first && frame < end)
            return true;
    }
    return false;
}

int FrameWindow::Size() const
{
    int size = 0;
    for (const auto& [first, end] : ranges)
        size += std::max(0, end - first);
    return size;
}
