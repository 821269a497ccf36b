#pragma once
// Puts decoded pictures into the output's picture format: scaled to fit with their shape kept,
// centred between black borders. A picture that already fits is passed on untouched, so that its
// pixels stay bit for bit the source's.
#include "render/movie/AvPtr.h"
#include "render/movie/VideoFormat.h"

class PictureFitter
{
public:
    explicit PictureFitter(const VideoFormat& format);

    AvPtr<AVFrame> Fit(const AVFrame& picture);
    AvPtr<AVFrame> Black() const;

private:
    struct Area {
        int x, y, width, height;
    };
    Area PlaceOf(const AVFrame& picture) const;
    AvPtr<AVFrame> NewPicture() const;

    VideoFormat m_format;
    AvPtr<SwsContext> m_scaler;
};
