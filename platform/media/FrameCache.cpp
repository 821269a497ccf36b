#include "platform/media/FrameCache.h"

#include <cstdlib>

PicturePtr FrameCache::Find(int frame) const
{
    const auto found = m_pictures.find(frame);
    return found == m_pictures.end() ? nullptr : found->second;
}

void FrameCache::Put(int frame, PicturePtr picture, const FrameWindow& window)
{
    auto& slot = m_pictures[frame];
    if (slot)
        return;
    m_bytes += picture->Bytes();
    slot = std::move(picture);
    Evict(window);
}

void FrameCache::Clear()
{
    m_pictures.clear();
    m_bytes = 0;
}

void FrameCache::Evict(const FrameWindow& window)
{
    while (m_bytes > m_capBytes) {
        auto farthest = m_pictures.end();
        for (auto it = m_pictures.begin(); it != m_pictures.end(); ++it) {
            if (!window.Contains(it->first) &&
                (farthest == m_pictures.end() || std::abs(it->first - window.position) >
                                                     std::abs(farthest->first - window.position)))
                farthest = it;
        }
        if (farthest == m_pictures.end())
            return;
        m_bytes -= farthest->second->Bytes();
        m_pictures.erase(farthest);
    }
}
