#pragma once
// A movie's pictures as the frame server numbers them (see FrameServer.h): each frame's
// timestamp, and the key pictures decoding can start from. Built once on opening; the worker
// thread owns it and marks keys that turn out unusable, and the GUI thread reads a copy.
#include <QSize>
#include <cstdint>
#include <limits>
#include <vector>

struct MovieIndex {
    static constexpr int64_t NoTimestamp = std::numeric_limits<int64_t>::min(); // AV_NOPTS_VALUE

    struct Key {
        int frame;   // the first frame a decode from this key gives (0 for the first key)
        int64_t dts; // its packet's decoding timestamp, which seeks go by
        int64_t pos; // its packet's byte position, or -1
        int64_t pts; // its packet's presentation timestamp, or NoTimestamp
        bool first;  // the movie's first packet: a decode from it is a decode from the start
        bool usable; // cleared when a decode from it did not come to its key picture
    };

    bool hasVideo = false;
    // Each picture is known by its own timestamp; else pictures are counted from a key picture.
    bool timed = false;
    double timeBase = 0; // seconds per stream tick
    double fps = 0;      // the nominal rate, for the length of the last picture
    double durationSeconds = 0;
    int rotation = 0;           // clockwise degrees the pictures are turned for showing
    QSize pictureSize;          // stored pictures, before turning
    std::vector<int64_t> times; // each frame's timestamp in stream ticks, rising
    std::vector<Key> keys;      // ascending by frame; the first is at frame 0

    int FrameCount() const { return int(times.size()); }
    double FirstPts() const { return times.empty() ? 0.0 : times.front() * timeBase; }
    double TimeOfFrame(int n) const;
    // The last frame whose time is at most seconds (with the allowance FrameServer.h gives).
    int FrameAtTime(double seconds) const;
    // The frame with exactly this timestamp, or -1.
    int FrameOfTimestamp(int64_t ts) const;
    // The key a decode that should give frame starts from: the last usable one at or before it.
    int KeyIndexFor(int frame) const;
    // The key of frame's group, usable or not.
    int GroupOf(int frame) const;
};
