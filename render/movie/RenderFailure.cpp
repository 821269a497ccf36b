#include "render/movie/RenderFailure.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>

QString RenderFailure::AvErrorText(int code)
{
    if (code == AVERROR(ENOSPC))
        return QStringLiteral("the disk is full");
    if (code == AVERROR(EFBIG))
        return QStringLiteral("the file has grown larger than this system allows");
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text).toLower();
}

void RenderFailure::Check(int code, const QString& what)
{
    if (code < 0)
        throw RenderFailure(QStringLiteral("%1: %2.").arg(what, AvErrorText(code)));
}
