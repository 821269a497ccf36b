#include "platform/gdi/CImageList.h"

BOOL CImageList::Create(int cx, int cy, UINT, int initial, int)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    m_size = CSize(cx, cy);
    m_created = true;
    m_icons.clear();
    m_icons.reserve(std::size_t(std::max(0, initial)));
    return TRUE;
}

int CImageList::Add(const QIcon& icon)
{
    if (!m_created)
        return -1;
    m_icons.push_back(icon);
    return GetImageCount() - 1;
}

QIcon CImageList::ExtractIcon(int index) const
{
    return index >= 0 && index < GetImageCount() ? m_icons[std::size_t(index)] : QIcon();
}
