#include "platform/media/MovieIndex.h"

#include <algorithm>

namespace
{
// Marks are written with three decimals; half a millisecond gives each its frame back.
constexpr double Allowance = 0.0005;
} // namespace

double MovieIndex::TimeOfFrame(int n) const
{
    if (times.empty())
        return 0.0;
    n = std::clamp(n, 0, FrameCount() - 1);
    return (times[n] - times.front()) * timeBase;
}

// The allowance never reaches past halfway to the picture before.
int MovieIndex::FrameAtTime(double seconds) const
{
    if (times.empty() || timeBase <= 0)
        return 0;
    const double ticks = times.front() + seconds / timeBase;
    const auto after = std::upper_bound(times.begin(), times.end(), ticks + Allowance / timeBase,
                                        [](double t, int64_t time) { return t < double(time); });
    const int n = std::max(0, int(after - times.begin()) - 1);
    const bool early = n > 0 && times[n] - ticks > (times[n] - times[n - 1]) / 2.0;
    return early ? n - 1 : n;
}

int MovieIndex::FrameOfTimestamp(int64_t ts) const
{
    const auto found = std::lower_bound(times.begin(), times.end(), ts);
    return found != times.end() && *found == ts ? int(found - times.begin()) : -1;
}

int MovieIndex::GroupOf(int frame) const
{
    const auto after = std::upper_bound(keys.begin(), keys.end(), frame,
                                        [](int f, const Key& key) { return f < key.frame; });
    return std::max(0, int(after - keys.begin()) - 1);
}

int MovieIndex::KeyIndexFor(int frame) const
{
    int index = GroupOf(frame);
    while (index > 0 && !keys[index].usable)
        --index;
    return index;
}
