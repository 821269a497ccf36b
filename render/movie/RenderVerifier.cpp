#include "render/movie/RenderVerifier.h"

#include "render/movie/PictureFitter.h"
#include "render/movie/PictureReader.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/RenderPlan.h"
#include "render/movie/RenderResult.h"
#include "render/movie/SourceMovie.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace
{
// Calls visit(rowA, rowB, bytes) for every row of every plane of two pictures of one format.
template <typename Visit> bool ForEachRow(const AVFrame& a, const AVFrame& b, Visit visit)
{
    if (a.width != b.width || a.height != b.height || a.format != b.format)
        return false;
    const AVPixFmtDescriptor* layout = av_pix_fmt_desc_get(AVPixelFormat(a.format));
    for (int plane = 0; plane < 3 && a.data[plane]; ++plane) {
        const bool chroma = plane > 0;
        const int width = chroma ? AV_CEIL_RSHIFT(a.width, layout->log2_chroma_w) : a.width;
        const int height = chroma ? AV_CEIL_RSHIFT(a.height, layout->log2_chroma_h) : a.height;
        for (int y = 0; y < height; ++y)
            visit(a.data[plane] + y * a.linesize[plane], b.data[plane] + y * b.linesize[plane],
                  width);
    }
    return true;
}
} // namespace

RenderVerifier::RenderVerifier(const RenderPlan& plan, const QString& moviePath)
    : m_plan(plan), m_path(moviePath)
{
}

bool RenderVerifier::Identical(const AVFrame& a, const AVFrame& b)
{
    bool same = true;
    return ForEachRow(a, b,
                      [&](const uint8_t* x, const uint8_t* y, int n) {
                          same = same && std::memcmp(x, y, size_t(n)) == 0;
                      }) &&
           same;
}

double RenderVerifier::Psnr(const AVFrame& a, const AVFrame& b)
{
    double squares = 0;
    double samples = 0;
    const bool comparable = ForEachRow(a, b, [&](const uint8_t* x, const uint8_t* y, int n) {
        for (int i = 0; i < n; ++i) {
            const double d = double(x[i]) - double(y[i]);
            squares += d * d;
        }
        samples += n;
    });
    if (!comparable)
        return 0;
    if (squares == 0)
        return std::numeric_limits<double>::infinity();
    return 10 * std::log10(255.0 * 255.0 * samples / squares);
}

void RenderVerifier::Check(RenderResult& result, const std::function<void()>& stillWanted,
                           const std::function<void()>& checked) const
{
    const SourceMovie output(m_path);
    if (output.PictureCount() != m_plan.Pictures())
        throw RenderFailure(QStringLiteral("The check after writing found %1 pictures where the "
                                           "show has %2.")
                                .arg(output.PictureCount())
                                .arg(m_plan.Pictures()));
    PictureReader written(output, stillWanted);
    PictureFitter fitter(m_plan.Video());
    std::unique_ptr<PictureReader> source;
    result.lowestPsnr = std::numeric_limits<double>::infinity();
    for (size_t k = 0; k < m_plan.Clips().size(); ++k) {
        const ClipPlan& clip = m_plan.Clips()[k];
        if (clip.movie->HasVideo() && (!source || &source->Movie() != clip.movie.get()))
            source = std::make_unique<PictureReader>(*clip.movie, stillWanted);
        for (long long j = 0; j < clip.pictures; j += std::max(1LL, clip.pictures - 1)) {
            checked();
            const int picture = clip.SourcePictureAt(j, m_plan.Rate());
            const AvPtr<AVFrame> expected =
                clip.movie->HasVideo() ? fitter.Fit(source->Picture(picture)) : fitter.Black();
            const AVFrame& actual = written.Picture(int(clip.outputStart + j));
            const bool copied = picture >= clip.copyFrom && picture < clip.copyEnd;
            ++result.checkedPictures;
            if (Identical(*expected, actual)) {
                ++result.identicalPictures;
                continue;
            }
            const double psnr = Psnr(*expected, actual);
            result.lowestPsnr = std::min(result.lowestPsnr, psnr);
            if (copied || psnr < MinimumPsnr)
                throw RenderFailure(
                    QStringLiteral("The check after writing found picture %1 of clip %2 %3.")
                        .arg(j + 1)
                        .arg(k + 1)
                        .arg(copied ? QStringLiteral("changed although it was copied")
                                    : QStringLiteral("too far from its source (%1 dB)")
                                          .arg(psnr, 0, 'f', 1)));
        }
    }
}
