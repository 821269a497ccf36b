#pragma once
// Where one clip's pictures and sound come from and where they go on the output's timeline.
#include <memory>

class SourceMovie;

struct ClipPlan {
    std::shared_ptr<const SourceMovie> movie;
    // The source's pictures [first, end); none for a movie without pictures.
    int first = 0;
    int end = 0;
    // Where the clip's sound starts in the source, in seconds from its origin.
    double soundStart = 0;
    // The clip's pictures on the output, from outputStart on.
    long long outputStart = 0;
    long long pictures = 0;
    // Pictures [copyFrom, copyEnd) are copied as they are stored; none when equal.
    int copyFrom = 0;
    int copyEnd = 0;
    // The same picture rate as the output: output picture j is source picture first + j.
    bool sameRate = true;

    bool Copies() const { return copyFrom < copyEnd; }
    // The source picture on screen at the clip's output picture j (repeated or skipped whole
    // when the rates differ).
    int SourcePictureAt(long long j, double outputRate) const;
};
