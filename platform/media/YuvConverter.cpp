#include "platform/media/YuvConverter.h"

#include <QTransform>

extern "C" {
#include <libswscale/swscale.h>
}

YuvConverter::~YuvConverter()
{
    sws_freeContext(m_context);
}

QImage YuvConverter::ToImage(const YuvPicture& picture, int rotation)
{
    const int w = picture.size.width();
    const int h = picture.size.height();
    m_context = sws_getCachedContext(m_context, w, h, AV_PIX_FMT_YUV420P, w, h, AV_PIX_FMT_RGB32,
                                     SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_context)
        return {};
    // Padded rows and a spare tail, as for the pictures: the scaler writes past the last pixel.
    const int line = (w * 4 + 63) / 64 * 64;
    auto* buffer = new uint8_t[size_t(line) * h + 64];
    QImage image(
        buffer, w, h, line, QImage::Format_RGB32,
        [](void* bytes) { delete[] static_cast<uint8_t*>(bytes); }, buffer);
    const uint8_t* source[] = {picture.Plane(0), picture.Plane(1), picture.Plane(2)};
    const int sourceLines[] = {picture.LineSize(0), picture.LineSize(1), picture.LineSize(2)};
    uint8_t* target[] = {image.bits()};
    const int targetLines[] = {int(image.bytesPerLine())};
    sws_scale(m_context, source, sourceLines, 0, h, target, targetLines);
    return rotation ? image.transformed(QTransform().rotate(rotation)) : image;
}
