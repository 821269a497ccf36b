#include "platform/media/MovieIndex.h"

#include <algorithm>

int MovieIndex::KeyIndexFor(int frame) const
{
    const auto after = std::upper_bound(keys.begin(), keys.end(), frame,
                                        [](int f, const Key& key) { return f < key.frame; });
    return std::max(0, int(after - keys.begin()) - 1);
}
