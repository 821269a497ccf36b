#include "platform/media/MovieIndex.h"

#include <algorithm>

int MovieIndex::GroupOf(int frame) const
{
    const auto after = std::upper_bound(keys.begin(), keys.end(), frame,
                                        [](int f, const Key& key) { return f < key.frame; });
    return std::max(0, int(after - keys.begin()) - 1);
}

int MovieIndex::KeyIndexFor(int frame) const
{
    int index = GroupOf(frame);
    while (index > 0 && !keys[index].verified)
        --index;
    return index;
}

void MovieIndex::Verify(int keyIndex, int frame, int64_t ts)
{
    keys[keyIndex] = {frame, keys[keyIndex].seekTs, ts != NoTimestamp, ts};
    for (int i = keyIndex + 1; i < int(keys.size()) && keys[i].frame < frame; ++i)
        keys[i].frame = frame; // estimates stay in order
    for (int i = keyIndex - 1; i >= 0 && keys[i].frame > frame; --i)
        keys[i].frame = frame;
}
