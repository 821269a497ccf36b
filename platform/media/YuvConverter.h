#pragma once
// Turns pictures into RGB32 images, reusing one scaler context while the size stays, and turns
// them upright as players do for movies filmed sideways.
#include "platform/media/YuvPicture.h"

#include <QImage>

struct SwsContext;

class YuvConverter
{
public:
    YuvConverter() = default;
    ~YuvConverter();
    YuvConverter(const YuvConverter&) = delete;
    YuvConverter& operator=(const YuvConverter&) = delete;

    // rotation: clockwise degrees, a multiple of 90.
    QImage ToImage(const YuvPicture& picture, int rotation = 0);

private:
    SwsContext* m_context = nullptr;
};
