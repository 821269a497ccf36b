#include "render/movie/VideoEncoder.h"

#include "render/movie/RenderFailure.h"

extern "C" {
#include <libavutil/opt.h>
}

VideoEncoder::VideoEncoder(const VideoFormat& format, bool globalHeaders, PacketSink sink)
    : m_sink(std::move(sink))
{
    const AVCodec* encoder = avcodec_find_encoder_by_name("libx264");
    if (!encoder)
        throw RenderFailure(QStringLiteral("This system's FFmpeg has no H.264 encoder (libx264)."));
    m_codec.reset(avcodec_alloc_context3(encoder));
    AVCodecContext& c = *m_codec;
    c.width = format.width;
    c.height = format.height;
    c.pix_fmt = format.pixels;
    c.time_base = av_inv_q(format.rate);
    c.framerate = format.rate;
    c.sample_aspect_ratio = format.aspect;
    c.color_range = format.range;
    c.colorspace = format.space;
    c.color_primaries = format.primaries;
    c.color_trc = format.transfer;
    c.thread_count = 0;
    if (format.level > 0)
        c.level = format.level;
    if (globalHeaders)
        c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "preset", format.preset.toUtf8().constData(), 0);
    av_dict_set_int(&options, "crf", format.quality, 0);
    if (!format.profile.isEmpty())
        av_dict_set(&options, "profile", format.profile.toUtf8().constData(), 0);
    const int code = avcodec_open2(m_codec.get(), encoder, &options);
    av_dict_free(&options);
    RenderFailure::Check(code, QStringLiteral("The H.264 encoder could not be set up"));
}

void VideoEncoder::Encode(AVFrame& picture, bool key)
{
    picture.pts = m_given++;
    picture.pict_type = key ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    RenderFailure::Check(avcodec_send_frame(m_codec.get(), &picture),
                         QStringLiteral("A picture could not be encoded"));
    Drain();
}

void VideoEncoder::Finish()
{
    RenderFailure::Check(avcodec_send_frame(m_codec.get(), nullptr),
                         QStringLiteral("The video could not be finished"));
    Drain();
}

void VideoEncoder::Drain()
{
    for (;;) {
        const int code = avcodec_receive_packet(m_codec.get(), m_packet.get());
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return;
        RenderFailure::Check(code, QStringLiteral("A picture could not be encoded"));
        m_sink(*m_packet);
        av_packet_unref(m_packet.get());
    }
}
