#pragma once
// The value below which the given fraction of the values lie (0.5: the median).
#include <algorithm>
#include <vector>

inline double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(fraction * double(values.size())))];
}
