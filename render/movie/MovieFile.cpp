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
