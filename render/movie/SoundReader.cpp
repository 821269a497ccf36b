#include "render/movie/SoundReader.h"

#include "render/movie/MovieFile.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/SourceMovie.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
constexpr AVSampleFormat kFormat = AV_SAMPLE_FMT_FLTP;
} // namespace

SoundReader::SoundReader(const SourceMovie& movie, int rate, int channels)
    : m_movie(movie), m_rate(rate), m_pending(av_audio_fifo_alloc(kFormat, channels, rate))
{
    av_channel_layout_default(&m_layout, channels);
    OpenDecoder();
}

void SoundReader::OpenDecoder()
{
    m_format = MovieFile::OpenStream(m_movie.Path(), m_movie.SoundStream());
    m_codec = MovieFile::OpenDecoder(*m_format->streams[m_movie.SoundStream()], m_movie.Path());
}

// Lands before the time and decodes up to it: sound packets are all key packets, but their
// timestamps are only where a packet begins.
void SoundReader::Seek(double seconds)
{
    const AVStream* stream = m_format->streams[m_movie.SoundStream()];
    const double containerTime = m_movie.OriginSeconds() + seconds - 0.1;
    const int64_t ts = std::llround(containerTime / av_q2d(stream->time_base));
    if (av_seek_frame(m_format.get(), m_movie.SoundStream(), ts, AVSEEK_FLAG_BACKWARD) < 0)
        OpenDecoder();
    avcodec_flush_buffers(m_codec.get());
    m_resampler.reset();
    av_audio_fifo_reset(m_pending.get());
    m_silenceAhead = 0;
    m_ended = false;
    if (!DecodeMore())
        return;
    const int64_t pts = m_decodedPts;
    const double first =
        pts == AV_NOPTS_VALUE ? seconds : pts * av_q2d(stream->time_base) - m_movie.OriginSeconds();
    const long long offset = std::llround((seconds - first) * m_rate);
    if (offset < 0)
        m_silenceAhead = -offset;
    else
        Skip(offset);
}

void SoundReader::Skip(long long samples)
{
    while (samples > 0) {
        const int available = av_audio_fifo_size(m_pending.get());
        const int dropped = int(std::min<long long>(samples, available));
        av_audio_fifo_drain(m_pending.get(), dropped);
        samples -= dropped;
        if (samples > 0 && !DecodeMore())
            return;
    }
}

// One more frame of sound into the pending samples; false at the sound's end.
bool SoundReader::DecodeMore()
{
    while (!m_ended) {
        const int code = avcodec_receive_frame(m_codec.get(), m_frame.get());
        if (code == 0) {
            m_decodedPts = m_frame->best_effort_timestamp;
            Resample(m_frame.get());
            return true;
        }
        if (code == AVERROR_EOF) {
            m_ended = true;
            if (m_resampler)
                Resample(nullptr);
            break;
        }
        if (av_read_frame(m_format.get(), m_packet.get()) < 0) {
            avcodec_send_packet(m_codec.get(), nullptr);
            continue;
        }
        if (m_packet->stream_index == m_movie.SoundStream() && m_packet->size > 0)
            avcodec_send_packet(m_codec.get(), m_packet.get()); // damaged: its samples are lost
        av_packet_unref(m_packet.get());
    }
    return false;
}

// Null frame: what the resampler still holds.
void SoundReader::Resample(const AVFrame* frame)
{
    if (frame && !m_resampler) {
        AVChannelLayout input{};
        if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&input, frame->ch_layout.nb_channels);
        else
            av_channel_layout_copy(&input, &frame->ch_layout);
        SwrContext* resampler = nullptr;
        swr_alloc_set_opts2(&resampler, &m_layout, kFormat, m_rate, &input,
                            AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&input);
        m_resampler.reset(resampler);
        RenderFailure::Check(swr_init(resampler), QStringLiteral("The sound of %1 could not be "
                                                                 "converted")
                                                      .arg(MovieFile::Quoted(m_movie.Path())));
    }
    const int inputSamples = frame ? frame->nb_samples : 0;
    AVFrame& out = *m_converted;
    av_frame_unref(&out);
    out.format = kFormat;
    out.sample_rate = m_rate;
    av_channel_layout_copy(&out.ch_layout, &m_layout);
    out.nb_samples = swr_get_out_samples(m_resampler.get(), inputSamples) + 16;
    RenderFailure::Check(av_frame_get_buffer(&out, 0), QStringLiteral("No memory for sound"));
    const int made = swr_convert(
        m_resampler.get(), out.data, out.nb_samples,
        frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr, inputSamples);
    if (made > 0)
        av_audio_fifo_write(m_pending.get(), reinterpret_cast<void**>(out.data), made);
    if (frame)
        av_frame_unref(m_frame.get());
}

void SoundReader::Read(uint8_t* const* planes, int offset, int count)
{
    const int channels = m_layout.nb_channels;
    const auto silence = [&](int from, int samples) {
        for (int c = 0; c < channels; ++c)
            std::memset(planes[c] + size_t(from) * sizeof(float), 0,
                        size_t(samples) * sizeof(float));
    };
    const int quiet = int(std::min<long long>(m_silenceAhead, count));
    silence(offset, quiet);
    m_silenceAhead -= quiet;
    int at = offset + quiet;
    int left = count - quiet;
    while (left > 0 && (av_audio_fifo_size(m_pending.get()) > 0 || DecodeMore())) {
        void* targets[AV_NUM_DATA_POINTERS] = {};
        for (int c = 0; c < channels; ++c)
            targets[c] = planes[c] + size_t(at) * sizeof(float);
        const int got = av_audio_fifo_read(m_pending.get(), targets, left);
        at += got;
        left -= got;
    }
    silence(at, left);
}
