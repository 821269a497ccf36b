#pragma once
// Decoded pictures by frame number under a memory cap. The window is the set of frames the
// server wants kept; over the cap, pictures outside it go first, farthest from the position.
// A picture once kept for a number stays the picture of that number until it is dropped.
#include "platform/media/FrameWindow.h"
#include "platform/media/YuvPicture.h"

#include <map>
#include <memory>

using PicturePtr = std::shared_ptr<const YuvPicture>;

class FrameCache
{
public:
    explicit FrameCache(size_t capBytes) : m_capBytes(capBytes) {}

    PicturePtr Find(int frame) const;
    void Put(int frame, PicturePtr picture, const FrameWindow& window);
    void Clear();
    // How many pictures of this many bytes fit under the cap.
    int Capacity(size_t pictureBytes) const
    {
        return int(m_capBytes / std::max<size_t>(1, pictureBytes));
    }
    size_t Bytes() const { return m_bytes; }

private:
    void Evict(const FrameWindow& window);

    std::map<int, PicturePtr> m_pictures;
    size_t m_capBytes;
    size_t m_bytes = 0;
};
