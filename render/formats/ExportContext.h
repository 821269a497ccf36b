#pragma once
// What writers need beside the clips: the movies' frame rates and lengths for the formats that
// count frames, and the notes on what had to be guessed or left out.
#include "platform/media/MovieProbe.h"
#include "render/formats/FormatNotes.h"
#include "render/formats/ListClip.h"

#include <cstdint>
#include <string>

class MovieCatalog;

class ExportContext
{
public:
    // A clip in whole frames of its movie.
    struct FrameSpan {
        // The movie's rate (25 when unknown) and pictures (0 when unknown).
        MovieProbe::Facts movie{25, 1, 0.0, 0};
        int64_t in = 0;
        // Exclusive.
        int64_t out = 0;

        double Rate() const { return movie.Rate(); }
    };

    explicit ExportContext(MovieCatalog& movies) : m_movies(movies) {}

    // The clip's marks in frames of its movie; an unset start is the first picture, an unset
    // end the movie's end. False (with a note) when the clip has no end and its movie's length
    // is unknown.
    bool Frames(const ListClip& clip, FrameSpan& span);

    // The show's name, for the formats that title their lists.
    std::string title;
    FormatNotes notes;

private:
    MovieCatalog& m_movies;
};
