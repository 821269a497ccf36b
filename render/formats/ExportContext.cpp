#include "render/formats/ExportContext.h"

#include "render/formats/MovieCatalog.h"

#include <cmath>

bool ExportContext::Frames(const ListClip& clip, FrameSpan& span)
{
    span = FrameSpan();
    const MovieProbe::Facts* facts = m_movies.Find(clip.file);
    if (facts && facts->rateNum > 0)
        span.movie = *facts;
    else
        notes.Add(FormatNotes::RateGuessed);
    const double rate = span.Rate();
    span.in = clip.start >= 0 ? std::llround(clip.start * rate) : 0;
    if (clip.end >= 0 && clip.end > clip.start) {
        span.out = std::max(span.in, int64_t(std::llround(clip.end * rate)));
    } else if (span.movie.frames > span.in) {
        span.out = span.movie.frames;
    } else {
        notes.Add(FormatNotes::LengthUnknownLeftOut);
        return false;
    }
    return true;
}
