#pragma once
// What writers need beside the clips: the movies' frame rates and lengths for the formats that
// count frames, and the notes on what had to be guessed or left out.
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
        int rateNum = 25;
        int rateDen = 1;
        int64_t in = 0;
        // Exclusive.
        int64_t out = 0;
        // The movie's pictures, 0 when unknown.
        int64_t movieFrames = 0;

        double Rate() const { return double(rateNum) / rateDen; }
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
