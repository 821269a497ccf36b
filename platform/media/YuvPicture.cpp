#include "platform/media/YuvPicture.h"

void YuvPicture::Allocate(QSize pictureSize)
{
    size = pictureSize;
    bytes.resize(size_t(size.width()) * size.height() * 3 / 2);
}

size_t YuvPicture::PlaneOffset(int i) const
{
    const size_t luma = size_t(size.width()) * size.height();
    return i == 0 ? 0 : luma + (i - 1) * (luma / 4);
}
