#pragma once
// Copies whole groups of a movie's H.264 or HEVC pictures as they are stored, in decoding order,
// each packet told which picture it holds; the first and every key picture carry the parameter sets
// they were made with.
#include "render/movie/AvPtr.h"
#include "render/movie/NalStream.h"

#include <functional>

class SourceMovie;

class PacketCopier
{
public:
    using PacketSink = std::function<void(AVPacket& packet, int picture)>;

    explicit PacketCopier(const SourceMovie& movie);
    const SourceMovie& Movie() const { return m_movie; }

    // Pictures [first, end): first is a closed key picture, end another or the movie's end.
    void Copy(int first, int end, const PacketSink& sink);

private:
    bool ReadVideoPacket();
    [[noreturn]] void Fail() const;

    const SourceMovie& m_movie;
    AvPtr<AVFormatContext> m_format;
    NalStream m_stream;
    AvPtr<AVPacket> m_packet{av_packet_alloc()};
};
