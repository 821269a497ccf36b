#include "render/movie/RenderFailure.h"

#include "platform/media/AvErrorText.h"

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
    return ::AvErrorText(code).toLower();
}

void RenderFailure::Check(int code, const QString& what)
{
    if (code < 0)
        throw RenderFailure(QStringLiteral("%1: %2.").arg(what, AvErrorText(code)));
}
