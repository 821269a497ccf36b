#pragma once
#include <QSize>
#include <cstdint>
#include <limits>
#include <vector>

// What one pass over the packets tells about a movie. Each decoder of the movie and the frame
// worker hold a copy of their own; the worker's is the one whose key estimates get corrected.
struct MovieIndex {
    // A picture or packet without a timestamp (FFmpeg's AV_NOPTS_VALUE).
    static constexpr int64_t NoTimestamp = std::numeric_limits<int64_t>::min();
    // A seek to such a key starts numbering at whatever key picture it lands on.
    static constexpr int64_t AnyLanding = std::numeric_limits<int64_t>::max();
    struct Key {
        int frame;      // number of the key picture, estimated until verified
        int64_t seekTs; // where to seek for it, in the stream's time base
        bool verified;  // its number is known: decoding may start from it
        // The key picture's own packet timestamp: after a seek, only the picture with it is
        // this key (a neighbour key's timestamp can lie within a few frames of it).
        int64_t landingTs;
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
    // A decode from another key has come to key picture keyIndex as frame, with the decoder's
    // timestamp ts; without one the key cannot be told apart after a seek and stays unverified.
    void Verify(int keyIndex, int frame, int64_t ts);
};
