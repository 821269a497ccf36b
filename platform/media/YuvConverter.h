#pragma once
// Turns pictures into RGB32 images, reusing one scaler context while the size stays.
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

    QImage ToImage(const YuvPicture& picture);

private:
    SwsContext* m_context = nullptr;
};
