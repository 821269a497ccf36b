#pragma once
#include <QSize>
#include <cstdint>
#include <vector>

// What one pass over the packets tells about a movie; shared by the decoders of one movie.
struct MovieIndex {
    struct Key {
        int frame;      // number of the key picture, estimated until verified
        int64_t seekTs; // where to seek for it, in the stream's time base
        bool verified;  // its number is known: decoding may start from it
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
    // Pictures carry their own timestamps (from the container's table); else they are counted
    // from a verified key picture, as program streams may give a timestamp to a neighbour.
    bool exactTimestamps = false;

    // The key picture of frame's group.
    int GroupOf(int frame) const;
    // The key a decode that should reach frame starts from.
    int KeyIndexFor(int frame) const;
    // A decode from another key has come to key picture keyIndex as frame.
    void Verify(int keyIndex, int frame);
};
