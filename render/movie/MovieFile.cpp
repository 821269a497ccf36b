#include "render/movie/MovieFile.h"

#include "render/movie/RenderFailure.h"

AvPtr<AVFormatContext> MovieFile::Open(const QString& hostPath)
{
    av_log_set_level(AV_LOG_ERROR);
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext* raw = nullptr;
    const QByteArray url = QByteArray("file:") + hostPath.toUtf8();
    const int code = avformat_open_input(&raw, url.constData(), nullptr, &options);
    av_dict_free(&options);
    AvPtr<AVFormatContext> format(raw);
    RenderFailure::Check(code, QStringLiteral("%1 could not be opened").arg(Quoted(hostPath)));
    RenderFailure::Check(avformat_find_stream_info(format.get(), nullptr),
                         QStringLiteral("%1 could not be read as a movie").arg(Quoted(hostPath)));
    return format;
}

QString MovieFile::Quoted(const QString& hostPath)
{
    return QStringLiteral("\"%1\"").arg(hostPath);
}

AvPtr<AVFormatContext> MovieFile::OpenStream(const QString& hostPath, int stream)
{
    AvPtr<AVFormatContext> format = Open(hostPath);
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    return format;
}

AvPtr<AVCodecContext> MovieFile::OpenDecoder(const AVStream& stream, const QString& hostPath)
{
    const AVCodecParameters& parameters = *stream.codecpar;
    const bool video = parameters.codec_type == AVMEDIA_TYPE_VIDEO;
    const QString what = video ? QStringLiteral("video") : QStringLiteral("sound");
    const AVCodec* decoder = avcodec_find_decoder(parameters.codec_id);
    if (!decoder)
        throw RenderFailure(
            QStringLiteral("There is no decoder for the %1 of %2 (%3).")
                .arg(what, Quoted(hostPath), avcodec_get_name(parameters.codec_id)));
    AvPtr<AVCodecContext> codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), &parameters) < 0)
        throw RenderFailure(QStringLiteral("No memory to decode %1.").arg(Quoted(hostPath)));
    codec->thread_count = video ? 0 : 1;
    codec->pkt_timebase = stream.time_base;
    RenderFailure::Check(
        avcodec_open2(codec.get(), decoder, nullptr),
        QStringLiteral("The %1 of %2 could not be decoded").arg(what, Quoted(hostPath)));
    return codec;
}
