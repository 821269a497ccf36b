#pragma once
#include <QSize>
#include <cstdint>
#include <vector>

// What one pass over the packets tells about a movie; shared by the decoders of one movie.
struct MovieIndex {
    struct Key {
        int frame;      // estimated number of the key picture
        int64_t seekTs; // where to seek for it, in the stream's time base
    };
    bool hasVideo = false;
    int frameCount = 0;
    double fps = 0;
    double durationSeconds = 0;
    double firstPts = 0;   // seconds
    double timeBase = 0;   // seconds per stream tick
    int64_t baseTs = 0;    // decoder timestamp of picture 0
    QSize pictureSize;     // display size of the stored pictures
    std::vector<Key> keys; // ascending; the first is at picture 0

    // The key a decode that should reach frame starts from.
    int KeyIndexFor(int frame) const;
};
