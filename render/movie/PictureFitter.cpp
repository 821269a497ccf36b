#include "render/movie/PictureFitter.h"

#include "render/movie/RenderFailure.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>

namespace
{
double PixelAspect(AVRational aspect)
{
    return aspect.num > 0 && aspect.den > 0 ? av_q2d(aspect) : 1.0;
}

int EvenAtMost(double value, int limit)
{
    return std::clamp(int(std::lround(value / 2)) * 2, 2, limit);
}
} // namespace

PictureFitter::PictureFitter(const VideoFormat& format) : m_format(format) {}

AvPtr<AVFrame> PictureFitter::NewPicture() const
{
    AvPtr<AVFrame> picture(av_frame_alloc());
    picture->format = m_format.pixels;
    picture->width = m_format.width;
    picture->height = m_format.height;
    picture->sample_aspect_ratio = m_format.aspect;
    RenderFailure::Check(av_frame_get_buffer(picture.get(), 0),
                         QStringLiteral("No memory for a picture"));
    return picture;
}

AvPtr<AVFrame> PictureFitter::Black() const
{
    AvPtr<AVFrame> picture = NewPicture();
    const ptrdiff_t lines[4] = {picture->linesize[0], picture->linesize[1], picture->linesize[2],
                                picture->linesize[3]};
    av_image_fill_black(picture->data, lines, m_format.pixels, m_format.range, m_format.width,
                        m_format.height);
    return picture;
}

// The largest area of the output with the picture's shape on screen, on even pixels.
PictureFitter::Area PictureFitter::PlaceOf(const AVFrame& picture) const
{
    const double shape =
        picture.width * PixelAspect(picture.sample_aspect_ratio) / std::max(1, picture.height);
    const double outputPixel = PixelAspect(m_format.aspect);
    double width = m_format.height * shape / outputPixel;
    double height = m_format.height;
    if (width > m_format.width) {
        width = m_format.width;
        height = m_format.width * outputPixel / shape;
    }
    const int w = EvenAtMost(width, m_format.width);
    const int h = EvenAtMost(height, m_format.height);
    return {(m_format.width - w) / 4 * 2, (m_format.height - h) / 4 * 2, w, h};
}

AvPtr<AVFrame> PictureFitter::Fit(const AVFrame& picture)
{
    const bool fits = picture.width == m_format.width && picture.height == m_format.height &&
                      picture.format == m_format.pixels &&
                      PixelAspect(picture.sample_aspect_ratio) == PixelAspect(m_format.aspect);
    if (fits)
        return AvPtr<AVFrame>(av_frame_clone(&picture));
    const Area area = PlaceOf(picture);
    m_scaler.reset(sws_getCachedContext(m_scaler.release(), picture.width, picture.height,
                                        AVPixelFormat(picture.format), area.width, area.height,
                                        m_format.pixels, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_scaler)
        throw RenderFailure(QStringLiteral("A picture of %1 x %2 could not be scaled.")
                                .arg(picture.width)
                                .arg(picture.height));
    AvPtr<AVFrame> out = Black();
    const AVPixFmtDescriptor* layout = av_pix_fmt_desc_get(m_format.pixels);
    uint8_t* planes[4] = {};
    for (int i = 0; i < 4 && out->data[i]; ++i) {
        const bool chroma = i == 1 || i == 2;
        const int x = chroma ? area.x >> layout->log2_chroma_w : area.x;
        const int y = chroma ? area.y >> layout->log2_chroma_h : area.y;
        planes[i] = out->data[i] + y * out->linesize[i] + x * std::max(1, layout->comp[i].step);
    }
    sws_scale(m_scaler.get(), picture.data, picture.linesize, 0, picture.height, planes,
              out->linesize);
    return out;
}
