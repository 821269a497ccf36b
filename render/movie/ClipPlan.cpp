#include "render/movie/ClipPlan.h"

#include "render/movie/SourceMovie.h"

#include <algorithm>

int ClipPlan::SourcePictureAt(long long j, double outputRate) const
{
    if (sameRate)
        return first + int(j);
    const double time = movie->TimeOf(first) + double(j) / outputRate;
    return std::clamp(movie->PictureShownAt(time), first, end - 1);
}
