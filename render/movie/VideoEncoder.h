#pragma once
// H.264 through libx264 or HEVC through libx265: pictures in, packets out to a sink, each packet
// stamped with the number of its picture in the encoder's run.
#include "render/movie/AvPtr.h"
#include "render/movie/VideoFormat.h"

#include <functional>

class VideoEncoder
{
public:
    using PacketSink = std::function<void(AVPacket& packet)>;

    // With global headers the parameter sets are in Headers() only; without, in front of every
    // key picture, so that a run of this encoder can follow another stream's.
    VideoEncoder(const VideoFormat& format, bool globalHeaders, PacketSink sink);

    // picture's timestamp is set to the count of pictures given before it; a key picture starts
    // a group.
    void Encode(AVFrame& picture, bool key);
    void Finish();
    int64_t PicturesGiven() const { return m_given; }
    // How many pictures the decoding order runs ahead of the display order.
    int Delay() const { return m_delay; }
    const AVCodecContext& Context() const { return *m_codec; }

private:
    void Drain();

    AvPtr<AVCodecContext> m_codec;
    AvPtr<AVPacket> m_packet{av_packet_alloc()};
    PacketSink m_sink;
    int64_t m_given = 0;
    int m_delay = 0;
};
