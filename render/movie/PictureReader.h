#pragma once
// Decodes a movie's pictures by number, exactly: from the key picture before the one asked for,
// each decoded picture numbered by its timestamp as the movie's packet list numbers it. Asking
// in ascending order decodes every picture once.
#include "render/movie/AvPtr.h"

#include <functional>

class SourceMovie;

class PictureReader
{
public:
    // Throws RenderFailure when the video cannot be decoded. stillWanted is called now and then
    // on a long way to a picture, and throws to stop.
    explicit PictureReader(const SourceMovie& movie, std::function<void()> stillWanted = nullptr);

    const SourceMovie& Movie() const { return m_movie; }
    // Stays valid until the next call.
    const AVFrame& Picture(int n);

private:
    void Open();
    void SeekFrom(int keyIndex, int wanted);
    bool DecodeNext();
    bool SendPacket();
    int NumberOfDecoded() const;
    [[noreturn]] void Lost(int n) const;

    const SourceMovie& m_movie;
    std::function<void()> m_stillWanted;
    AvPtr<AVFormatContext> m_format;
    AvPtr<AVCodecContext> m_codec;
    AvPtr<AVPacket> m_packet{av_packet_alloc()};
    AvPtr<AVFrame> m_frame{av_frame_alloc()};
    int m_number = -1; // of m_frame
    int m_seekKey = -1;
    bool m_draining = false;
    // Pictures shown before it are decoded only when others refer to them.
    int64_t m_skipBefore = AV_NOPTS_VALUE;
};
