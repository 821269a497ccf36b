#include "render/movie/SoundTrack.h"

#include "render/movie/MovieWriter.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/SoundReader.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr int kChunk = 4096;
constexpr double kFadeSeconds = 0.002;
} // namespace

SoundTrack::SoundTrack(int rate, int channels, MovieWriter& writer)
    : m_writer(writer), m_fadeSamples(std::max(1, int(rate * kFadeSeconds)))
{
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!encoder)
        throw RenderFailure(QStringLiteral("This system's FFmpeg has no AAC encoder."));
    m_codec.reset(avcodec_alloc_context3(encoder));
    m_codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    m_codec->sample_rate = rate;
    av_channel_layout_default(&m_codec->ch_layout, channels);
    m_codec->bit_rate = 96000 * channels;
    m_codec->time_base = {1, rate};
    m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    RenderFailure::Check(avcodec_open2(m_codec.get(), encoder, nullptr),
                         QStringLiteral("The AAC encoder could not be set up"));
    m_fifo.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, channels, kChunk * 2));
    m_chunk->format = AV_SAMPLE_FMT_FLTP;
    m_chunk->sample_rate = rate;
    av_channel_layout_copy(&m_chunk->ch_layout, &m_codec->ch_layout);
    m_chunk->nb_samples = kChunk;
    RenderFailure::Check(av_frame_get_buffer(m_chunk.get(), 0),
                         QStringLiteral("No memory for sound"));
    m_writer.AddSound(*m_codec);
}

void SoundTrack::BeginClip(SoundReader* reader, long long samples)
{
    m_reader = reader;
    m_clipStart = m_position;
    m_clipEnd = m_position + samples;
}

void SoundTrack::FillTo(long long position)
{
    const long long target = std::min(position, m_clipEnd);
    while (m_position < target) {
        const int count = int(std::min<long long>(kChunk, target - m_position));
        if (m_reader) {
            m_reader->Read(m_chunk->data, 0, count);
        } else {
            for (int c = 0; c < m_chunk->ch_layout.nb_channels; ++c)
                std::memset(m_chunk->data[c], 0, size_t(count) * sizeof(float));
        }
        Fade(*m_chunk, m_position - m_clipStart);
        av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(m_chunk->data), count);
        m_position += count;
        Encode(false);
    }
}

void SoundTrack::EndClip()
{
    FillTo(m_clipEnd);
    m_reader = nullptr;
}

void SoundTrack::Fade(AVFrame& chunk, long long firstInClip) const
{
    const long long length = m_clipEnd - m_clipStart;
    const int count = int(std::min<long long>(kChunk, length - firstInClip));
    for (int i = 0; i < count; ++i) {
        const long long at = firstInClip + i;
        const long long edge = std::min(at, length - 1 - at);
        if (edge >= m_fadeSamples)
            continue;
        const float gain = float(edge + 0.5) / float(m_fadeSamples);
        for (int c = 0; c < chunk.ch_layout.nb_channels; ++c)
            reinterpret_cast<float*>(chunk.data[c])[i] *= gain;
    }
}

// Whole frames of the encoder's size; the last may be shorter.
void SoundTrack::Encode(bool last)
{
    const int size = m_codec->frame_size;
    while (av_audio_fifo_size(m_fifo.get()) >= size ||
           (last && av_audio_fifo_size(m_fifo.get()) > 0)) {
        AVFrame& frame = *m_frame;
        av_frame_unref(&frame);
        frame.format = m_codec->sample_fmt;
        frame.sample_rate = m_codec->sample_rate;
        av_channel_layout_copy(&frame.ch_layout, &m_codec->ch_layout);
        frame.nb_samples = std::min(size, av_audio_fifo_size(m_fifo.get()));
        RenderFailure::Check(av_frame_get_buffer(&frame, 0), QStringLiteral("No memory for sound"));
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(frame.data), frame.nb_samples);
        frame.pts = m_encoded;
        m_encoded += frame.nb_samples;
        Send(&frame);
    }
}

void SoundTrack::Send(AVFrame* frame)
{
    RenderFailure::Check(avcodec_send_frame(m_codec.get(), frame),
                         QStringLiteral("The sound could not be encoded"));
    for (;;) {
        const int code = avcodec_receive_packet(m_codec.get(), m_packet.get());
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return;
        RenderFailure::Check(code, QStringLiteral("The sound could not be encoded"));
        m_writer.WriteSound(*m_packet, m_codec->time_base);
        av_packet_unref(m_packet.get());
    }
}

void SoundTrack::Finish()
{
    Encode(true);
    Send(nullptr);
}
