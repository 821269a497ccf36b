#include "platform/media/YuvPicture.h"

namespace
{
constexpr int Align = 32;

int Padded(int bytes)
{
    return (bytes + Align - 1) / Align * Align;
}
} // namespace

void YuvPicture::Allocate(QSize pictureSize)
{
    size = pictureSize;
    bytes.resize(PlaneOffset(3) + 64);
}

int YuvPicture::LineSize(int i) const
{
    return Padded(i == 0 ? size.width() : size.width() / 2);
}

size_t YuvPicture::PlaneOffset(int i) const
{
    const size_t luma = size_t(LineSize(0)) * size.height();
    const size_t chroma = size_t(LineSize(1)) * (size.height() / 2);
    return i == 0 ? 0 : luma + (i - 1) * chroma;
}
