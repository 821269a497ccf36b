#include "platform/media/YuvPicture.h"

#include <new>
#include <sys/mman.h>

namespace
{
constexpr int Align = 32;
constexpr size_t MappedFrom = size_t(64) << 10;

int Padded(int bytes)
{
    return (bytes + Align - 1) / Align * Align;
}
} // namespace

void YuvPicture::Release::operator()(uint8_t* bytes) const
{
    if (mapped)
        ::munmap(bytes, size);
    else
        delete[] bytes;
}

void YuvPicture::Allocate(QSize pictureSize)
{
    size = pictureSize;
    const size_t bytes = PlaneOffset(3) + 64;
    if (bytes < MappedFrom) {
        m_bytes = std::unique_ptr<uint8_t, Release>(new uint8_t[bytes], Release{bytes, false});
        return;
    }
    void* mapped =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    m_bytes =
        std::unique_ptr<uint8_t, Release>(static_cast<uint8_t*>(mapped), Release{bytes, true});
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
