#include "render/movie/MovieRenderer.h"

#include "render/movie/MovieFile.h"
#include "render/movie/MovieWriter.h"
#include "render/movie/PictureFitter.h"
#include "render/movie/PictureReader.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/RenderPlan.h"
#include "render/movie/RenderVerifier.h"
#include "render/movie/SoundReader.h"
#include "render/movie/SoundTrack.h"
#include "render/movie/SourceMovie.h"
#include "render/movie/VideoTrack.h"

#include <QFileInfo>
#include <new>

namespace
{
// Units of work, against one picture encoded.
constexpr double kCopyWork = 0.05;
constexpr double kCheckWork = 5;
constexpr auto kReportInterval = std::chrono::milliseconds(100);

class Canceled
{
};
} // namespace

MovieRenderer::MovieRenderer(std::vector<RenderClip> clips, RenderSettings settings)
    : m_clips(std::move(clips)), m_settings(std::move(settings))
{
}

MovieRenderer::~MovieRenderer() = default;

RenderResult MovieRenderer::Run()
{
    RenderResult result;
    m_started = std::chrono::steady_clock::now();
    try {
        Render(result);
        result.succeeded = true;
    } catch (const Canceled&) {
        result.canceled = true;
        result.error = QStringLiteral("The render was cancelled; no movie was written.");
    } catch (const RenderFailure& failure) {
        result.error = failure.Text();
    } catch (const std::bad_alloc&) {
        result.error = QStringLiteral("There was not enough memory to render the show.");
    } catch (const std::exception& e) {
        result.error = QStringLiteral("The render failed: %1").arg(e.what());
    }
    m_video.reset();
    m_sound.reset();
    m_pictures.reset();
    m_soundReader.reset();
    return result;
}

void MovieRenderer::StillWanted() const
{
    if (m_canceled)
        throw Canceled();
}

void MovieRenderer::Advance(double work, const QString& stage, bool now)
{
    StillWanted();
    m_progress.done += work;
    const bool changed = stage != m_progress.stage;
    m_progress.stage = stage;
    const auto time = std::chrono::steady_clock::now();
    if (m_progressSink && (now || changed || time - m_lastReport >= kReportInterval)) {
        m_lastReport = time;
        m_progress.elapsed = std::chrono::duration<double>(time - m_started).count();
        m_progressSink(m_progress);
    }
}

// Renaming over one of the show's own movies would lose it.
void MovieRenderer::CheckTarget() const
{
    const QFileInfo target(m_settings.target);
    for (const RenderClip& clip : m_clips)
        if (target.exists() &&
            QFileInfo(clip.hostPath).canonicalFilePath() == target.canonicalFilePath())
            throw RenderFailure(QStringLiteral("%1 is one of the show's movies; choose another "
                                               "name for the new movie.")
                                    .arg(MovieFile::Quoted(m_settings.target)));
}

void MovieRenderer::Render(RenderResult& result)
{
    CheckTarget();
    Advance(0, QStringLiteral("Reading the clips"), true);
    m_plan = std::make_unique<RenderPlan>(m_clips, m_settings, [this] { StillWanted(); });
    const RenderPlan& plan = *m_plan;
    result.mode = m_progress.mode = plan.ModeText();
    result.notices = plan.Notices();
    const long long copied = plan.CopiedPictures();
    m_progress.total = double(plan.Pictures() - copied) + copied * kCopyWork +
                       (m_settings.verify ? kCheckWork * 2 * double(plan.Clips().size()) : 0);
    MovieWriter writer(m_settings.target);
    m_video = std::make_unique<VideoTrack>(plan, writer, [this](long long picture, bool copied) {
        if (m_sound)
            m_sound->FillTo(SampleAt(picture + 1));
        if (copied)
            Advance(kCopyWork, QStringLiteral("Copying groups of pictures"));
    });
    if (plan.HasSound())
        m_sound = std::make_unique<SoundTrack>(plan.SoundRate(), plan.SoundChannels(), writer);
    m_fitter = std::make_unique<PictureFitter>(plan.Video());
    writer.Begin();
    for (const ClipPlan& clip : plan.Clips())
        WriteClip(clip);
    m_video->Finish();
    if (m_sound)
        m_sound->Finish();
    writer.Finish();
    if (m_settings.verify) {
        RenderVerifier(plan, writer.TemporaryPath())
            .Check(
                result, [this] { StillWanted(); },
                [this] { Advance(kCheckWork, QStringLiteral("Checking the new movie")); });
    }
    writer.Commit();
    result.pictures = plan.Pictures();
    result.copiedPictures = copied;
}

void MovieRenderer::WriteClip(const ClipPlan& clip)
{
    StartSound(clip);
    if (clip.movie->HasVideo() && (!m_pictures || &m_pictures->Movie() != clip.movie.get()))
        m_pictures = std::make_unique<PictureReader>(*clip.movie, [this] { StillWanted(); });
    if (clip.Copies()) {
        EncodePictures(clip, 0, clip.copyFrom - clip.first);
        m_video->Copy(*clip.movie, clip.copyFrom, clip.copyEnd);
        EncodePictures(clip, clip.copyEnd - clip.first, clip.pictures);
    } else {
        EncodePictures(clip, 0, clip.pictures);
    }
    if (m_sound)
        m_sound->EndClip();
}

void MovieRenderer::EncodePictures(const ClipPlan& clip, long long from, long long to)
{
    const QString stage =
        QStringLiteral("Encoding %1").arg(QFileInfo(clip.movie->Path()).fileName());
    for (long long j = from; j < to; ++j) {
        AvPtr<AVFrame> picture =
            clip.movie->HasVideo()
                ? m_fitter->Fit(m_pictures->Picture(clip.SourcePictureAt(j, m_plan->Rate())))
                : m_fitter->Black();
        m_video->Encode(*picture, j == 0);
        if (m_sound)
            m_sound->FillTo(SampleAt(clip.outputStart + j + 1));
        Advance(1, stage);
    }
}

void MovieRenderer::StartSound(const ClipPlan& clip)
{
    if (!m_sound)
        return;
    const long long samples =
        SampleAt(clip.outputStart + clip.pictures) - SampleAt(clip.outputStart);
    if (!clip.movie->HasSound()) {
        m_sound->BeginClip(nullptr, samples);
        return;
    }
    m_soundReader =
        std::make_unique<SoundReader>(*clip.movie, m_plan->SoundRate(), m_plan->SoundChannels());
    m_soundReader->Seek(clip.soundStart);
    m_sound->BeginClip(m_soundReader.get(), samples);
}

long long MovieRenderer::SampleAt(long long picture) const
{
    return av_rescale_q_rnd(picture, av_inv_q(m_plan->Video().rate), {1, m_plan->SoundRate()},
                            AV_ROUND_NEAR_INF);
}
