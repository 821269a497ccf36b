#pragma once
// A movie's sound from a given time on, decoded and resampled to the output's sound format
// (planar float), sample-exact: the first sample given is the one at that time, and silence
// stands in where the movie has no sound.
#include "render/movie/AvPtr.h"

class SourceMovie;

class SoundReader
{
public:
    SoundReader(const SourceMovie& movie, int rate, int channels);

    // seconds count from the movie's origin (its first picture).
    void Seek(double seconds);
    // Writes count samples into each plane of planes from offset on.
    void Read(uint8_t* const* planes, int offset, int count);

private:
    void OpenDecoder();
    bool DecodeMore();
    void Resample(const AVFrame* frame);
    void Skip(long long samples);

    const SourceMovie& m_movie;
    int m_rate;
    AVChannelLayout m_layout{};
    AvPtr<AVFormatContext> m_format;
    AvPtr<AVCodecContext> m_codec;
    AvPtr<SwrContext> m_resampler;
    AvPtr<AVPacket> m_packet{av_packet_alloc()};
    AvPtr<AVFrame> m_frame{av_frame_alloc()};
    AvPtr<AVFrame> m_converted{av_frame_alloc()};
    AvPtr<AVAudioFifo> m_pending;
    int64_t m_decodedPts = AV_NOPTS_VALUE; // of the last frame decoded
    long long m_silenceAhead = 0;
    bool m_ended = false;
};
