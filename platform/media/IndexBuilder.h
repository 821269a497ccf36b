#pragma once
// Numbers a movie's pictures for MovieIndex, from what its packets say or, when they cannot
// say it, from what a decode from the start gave.
#include "platform/media/MovieIndex.h"

#include <vector>

class IndexBuilder
{
public:
    // A packet that gives a picture, in decoding order.
    struct Packet {
        int64_t pts;
        int64_t dts;
        int64_t pos;
        bool key;
    };
    // A picture a decode gave, in display order.
    struct Picture {
        int64_t pts;        // its own timestamp, or NoTimestamp
        int64_t bestEffort; // the decoder's guess where it has none
        int64_t pos;        // its packet's byte position, or -1
        bool key;
    };

    // period: one frame at the nominal rate, in stream ticks. noTimestamps: the container has
    // none (elementary streams). reorders: pictures may be shown in another order than decoded.
    IndexBuilder(int64_t period, bool noTimestamps, bool reorders);

    // The movie's first packet, where a decode from the start begins (it may give no picture).
    void SetStart(const Packet& packet) { m_start = packet; }
    void Add(const Packet& packet) { m_packets.push_back(packet); }
    int Count() const { return int(m_packets.size()); }
    // Fills times, keys and timed from the packets.
    void FromPackets(MovieIndex& index) const;
    // Fills them from a decode of the whole movie; key pictures are found among the packets by
    // their byte positions.
    void FromPictures(const std::vector<Picture>& pictures, MovieIndex& index) const;

private:
    bool AllTimed(std::vector<int64_t>& times) const;
    std::vector<int> DisplayOrder() const;
    std::vector<int64_t> SlotTimes(const std::vector<int>& order) const;
    void Rise(std::vector<int64_t>& times) const;
    int64_t Spacing(const std::vector<int64_t>& times) const;
    void AddKey(MovieIndex& index, const Packet& packet, int frame) const;

    int64_t m_period;
    bool m_noTimestamps;
    bool m_reorders;
    Packet m_start{};
    std::vector<Packet> m_packets;
};
