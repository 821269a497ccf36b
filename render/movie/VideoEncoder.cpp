#include "render/movie/VideoEncoder.h"

#include "render/movie/RenderFailure.h"

extern "C" {
#include <libavutil/opt.h>
}

VideoEncoder::VideoEncoder(const VideoFormat& format, bool globalHeaders, PacketSink sink)
    : m_sink(std::move(sink))
{
    const bool hevc = format.codec == AV_CODEC_ID_HEVC;
    const char* name = hevc ? "libx265" : "libx264";
    const AVCodec* encoder = avcodec_find_encoder_by_name(name);
    if (!encoder)
        throw RenderFailure(QStringLiteral("This system's FFmpeg has no %1 encoder (%2).")
                                .arg(hevc ? "HEVC" : "H.264", name));
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
    if (hevc) {
        // Key pictures as IDR pictures in closed groups, like libx264's, and quiet. FFmpeg does
        // not learn how far libx265 reorders; without pyramids of B-pictures it is one picture.
        av_dict_set(&options, "forced-idr", "1", 0);
        QString parameters = "open-gop=0:b-pyramid=0:log-level=error";
        m_delay = 1;
        if (format.level > 0) // FFmpeg counts HEVC levels in thirtieths
            parameters += QStringLiteral(":level-idc=%1").arg(format.level / 30.0, 0, 'f', 1);
        av_dict_set(&options, "x265-params", parameters.toUtf8().constData(), 0);
    }
    const int code = avcodec_open2(m_codec.get(), encoder, &options);
    av_dict_free(&options);
    if (!hevc)
        m_delay = m_codec->has_b_frames;
    RenderFailure::Check(
        code, QStringLiteral("The %1 encoder could not be set up").arg(hevc ? "HEVC" : "H.264"));
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
