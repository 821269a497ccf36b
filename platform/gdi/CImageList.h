#pragma once
// The framework's image list: pictures of one size, addressed by index.
#include "platform/core/CSize.h"

#include <QIcon>
#include <vector>

class CImageList
{
public:
    // Pictures of cx by cy pixels; the other arguments (colour depth, growth) don't matter here.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // The new picture's index, -1 before Create.
    int Add(const QIcon& icon);
    int GetImageCount() const { return int(m_icons.size()); }
    CSize GetImageSize() const { return m_size; }
    // A null icon for an index out of range.
    QIcon ExtractIcon(int index) const;

private:
    CSize m_size;
    bool m_created = false;
    std::vector<QIcon> m_icons;
};
