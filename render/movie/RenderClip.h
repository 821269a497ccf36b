#pragma once
// One clip of a show as the render takes it: a movie file and the section between its marks.
#include <QString>

struct RenderClip {
    QString hostPath;
    // Seconds from the movie's first picture; negative when not set (its start, its end).
    double start = -1.0;
    double end = -1.0;
};
