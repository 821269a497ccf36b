#include "render/movie/RenderPlan.h"

#include "render/movie/MovieFile.h"
#include "render/movie/NalStream.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/SourceMovie.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace
{
// Without any picture in the show, the black pictures under its sound take this size.
constexpr int kSoundOnlyWidth = 640;
constexpr int kSoundOnlyHeight = 360;

// The profile as the encoder that continues the stream names it; empty for one it cannot make.
QString ProfileName(AVCodecID codec, int profile)
{
    if (codec == AV_CODEC_ID_HEVC)
        return profile == FF_PROFILE_HEVC_MAIN ? QStringLiteral("main") : QString();
    switch (profile) {
    case FF_PROFILE_H264_BASELINE:
    case FF_PROFILE_H264_CONSTRAINED_BASELINE:
        return QStringLiteral("baseline");
    case FF_PROFILE_H264_MAIN:
        return QStringLiteral("main");
    case FF_PROFILE_H264_HIGH:
        return QStringLiteral("high");
    default:
        return {};
    }
}

int Even(int value)
{
    return std::max(2, (value + 1) / 2 * 2);
}

bool SameColours(const AVCodecParameters& a, const AVCodecParameters& b)
{
    return a.color_range == b.color_range && a.color_space == b.color_space &&
           a.color_primaries == b.color_primaries && a.color_trc == b.color_trc;
}

// A movie whose timestamps wander a little around a common rate (a phone's 24.08 for 24) is
// shown at that rate, which steps evenly through its pictures.
AVRational OutputRate(const SourceMovie& movie)
{
    const AVRational rate = movie.Rate();
    if (movie.ConstantRate())
        return rate;
    AVRational nearest = rate;
    double distance = 0.01; // of the rates' ratio from 1
    for (AVRational common :
         {AVRational{24000, 1001}, AVRational{24, 1}, AVRational{25, 1}, AVRational{30000, 1001},
          AVRational{30, 1}, AVRational{50, 1}, AVRational{60000, 1001}, AVRational{60, 1}}) {
        const double away = std::abs(av_q2d(common) / av_q2d(rate) - 1);
        if (away < distance) {
            distance = away;
            nearest = common;
        }
    }
    return nearest;
}

bool IsAacRate(int rate)
{
    for (int known :
         {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000})
        if (rate == known)
            return true;
    return false;
}
} // namespace

RenderPlan::RenderPlan(const std::vector<RenderClip>& clips, const RenderSettings& settings,
                       const std::function<void()>& stillWanted)
{
    for (const RenderClip& clip : clips)
        m_sources.push_back(Movie(clip.hostPath, stillWanted));
    ChooseVideo(settings);
    if (settings.mode == RenderSettings::Mode::Smart)
        ChooseReference();
    ChooseSound();
    long long at = 0;
    for (size_t i = 0; i < clips.size(); ++i) {
        ClipPlan plan = PlanClip(clips[i], m_sources[i]);
        if (plan.pictures == 0) {
            m_notices << QStringLiteral("Clip %1 (%2) holds nothing between its marks; it is "
                                        "left out.")
                             .arg(i + 1)
                             .arg(MovieFile::Quoted(clips[i].hostPath));
            continue;
        }
        plan.outputStart = at;
        at += plan.pictures;
        PlanCopy(plan);
        m_clips.push_back(plan);
    }
    if (m_clips.empty())
        throw RenderFailure(QStringLiteral("The show holds no pictures or sound to render."));
}

std::shared_ptr<const SourceMovie> RenderPlan::Movie(const QString& hostPath,
                                                     const std::function<void()>& stillWanted)
{
    const QString key = QFileInfo(hostPath).absoluteFilePath();
    auto& movie = m_movies[key];
    if (!movie)
        movie = std::make_shared<const SourceMovie>(hostPath, stillWanted);
    return movie;
}

void RenderPlan::ChooseVideo(const RenderSettings& settings)
{
    m_video.preset = settings.preset;
    m_video.quality = settings.quality;
    m_video.range = AVCOL_RANGE_MPEG;
    const auto first = std::find_if(m_sources.begin(), m_sources.end(),
                                    [](const auto& movie) { return movie->HasVideo(); });
    QSize size(kSoundOnlyWidth, kSoundOnlyHeight);
    if (first != m_sources.end()) {
        const AVCodecParameters& video = (*first)->VideoParameters();
        size = QSize(video.width, video.height);
        m_video.rate = OutputRate(**first);
        if (video.sample_aspect_ratio.num > 0 && !settings.size.isValid())
            m_video.aspect = video.sample_aspect_ratio;
    }
    if (settings.size.isValid() && !settings.size.isEmpty())
        size = settings.size;
    m_video.width = Even(size.width());
    m_video.height = Even(size.height());
}

// The first movie whose video can be copied as it is: the output's stream continues it, and
// re-encoded pictures are made to match it.
void RenderPlan::ChooseReference()
{
    for (const auto& movie : m_sources) {
        if (!movie->HasVideo())
            continue;
        const QString problem = CopyProblem(*movie);
        const AVCodecParameters& video = movie->VideoParameters();
        if (problem.isEmpty() && video.width == m_video.width && video.height == m_video.height &&
            av_cmp_q(movie->Rate(), m_video.rate) == 0) {
            m_reference = movie;
            break;
        }
        if (m_exactReason.isEmpty())
            m_exactReason = problem.isEmpty() ? QStringLiteral("its size or rate is not the "
                                                               "movie's")
                                              : problem;
    }
    if (!m_reference)
        return;
    const AVCodecParameters& video = m_reference->VideoParameters();
    m_video.pixels = AVPixelFormat(video.format);
    m_video.aspect =
        video.sample_aspect_ratio.num > 0 ? video.sample_aspect_ratio : AVRational{1, 1};
    m_video.range = video.color_range;
    m_video.space = video.color_space;
    m_video.primaries = video.color_primaries;
    m_video.transfer = video.color_trc;
    m_video.codec = video.codec_id;
    m_video.profile = ProfileName(video.codec_id, video.profile);
    m_video.level = video.level;
}

QString RenderPlan::CopyProblem(const SourceMovie& movie)
{
    const AVCodecParameters& video = movie.VideoParameters();
    if (!NalStream::Supports(video.codec_id))
        return QStringLiteral("its video is %1, not H.264 or HEVC")
            .arg(avcodec_get_name(video.codec_id));
    if (video.format != AV_PIX_FMT_YUV420P || ProfileName(video.codec_id, video.profile).isEmpty())
        return QStringLiteral("its profile is not one the encoder can continue");
    if (video.field_order != AV_FIELD_PROGRESSIVE && video.field_order != AV_FIELD_UNKNOWN)
        return QStringLiteral("its video is interlaced");
    if (!movie.ConstantRate() || !movie.Timestamped())
        return QStringLiteral("its pictures do not come at a steady rate");
    if (std::none_of(movie.Keys().begin(), movie.Keys().end(),
                     [](const SourceMovie::Key& key) { return key.closed; }))
        return QStringLiteral("its groups of pictures are open");
    return {};
}

bool RenderPlan::JoinsReference(const SourceMovie& movie) const
{
    if (!m_reference || !movie.HasVideo() || !CopyProblem(movie).isEmpty())
        return false;
    const AVCodecParameters& a = movie.VideoParameters();
    const AVCodecParameters& b = m_reference->VideoParameters();
    return a.codec_id == b.codec_id && a.width == b.width && a.height == b.height &&
           a.format == b.format && a.profile == b.profile && a.level == b.level &&
           av_cmp_q(a.sample_aspect_ratio, b.sample_aspect_ratio) == 0 && SameColours(a, b) &&
           av_cmp_q(movie.Rate(), m_video.rate) == 0;
}

// The first clip with sound sets the rate; more than two channels become two.
void RenderPlan::ChooseSound()
{
    for (const auto& movie : m_sources) {
        if (movie->HasSound()) {
            m_soundRate = IsAacRate(movie->SoundRate()) ? movie->SoundRate() : 48000;
            m_soundChannels = std::min(2, movie->SoundChannels());
            return;
        }
    }
}

ClipPlan RenderPlan::PlanClip(const RenderClip& clip,
                              std::shared_ptr<const SourceMovie> movie) const
{
    ClipPlan plan;
    plan.movie = movie;
    const double start = std::max(0.0, clip.start);
    if (!movie->HasVideo()) {
        const double end =
            clip.end < 0 ? movie->DurationSeconds() : std::min(clip.end, movie->DurationSeconds());
        plan.soundStart = start;
        if (end > start)
            plan.pictures = std::max(1LL, std::llround((end - start) * Rate()));
        return plan;
    }
    plan.first = movie->FirstPictureFrom(start);
    plan.end = clip.end < 0 ? movie->PictureCount()
                            : std::max(plan.first, movie->FirstPictureFrom(clip.end));
    if (plan.end == plan.first)
        return plan;
    plan.soundStart = movie->TimeOf(plan.first);
    plan.sameRate = movie->ConstantRate() && av_cmp_q(movie->Rate(), m_video.rate) == 0;
    const double seconds = movie->EndOf(plan.end) - plan.soundStart;
    plan.pictures =
        plan.sameRate ? plan.end - plan.first : std::max(1LL, std::llround(seconds * Rate()));
    return plan;
}

// Whole groups between two closed key pictures (or the movie's end) are copied; a run whose
// packets do not hold exactly its pictures is encoded instead.
void RenderPlan::PlanCopy(ClipPlan& plan) const
{
    const SourceMovie& movie = *plan.movie;
    if (!JoinsReference(movie))
        return;
    const auto& keys = movie.Keys();
    const auto from = std::find_if(keys.begin(), keys.end(), [&](const SourceMovie::Key& key) {
        return key.closed && key.picture >= plan.first;
    });
    if (from == keys.end() || from->picture >= plan.end)
        return;
    int copyEnd = from->picture;
    size_t endPacket = size_t(from->packet);
    for (auto key = from + 1; key != keys.end() && key->picture <= plan.end; ++key) {
        if (key->closed) {
            copyEnd = key->picture;
            endPacket = size_t(key->packet);
        }
    }
    if (plan.end == movie.PictureCount()) {
        copyEnd = plan.end;
        endPacket = movie.Packets().size();
    }
    const auto& packets = movie.Packets();
    const size_t begin = size_t(from->packet);
    if (copyEnd <= from->picture || endPacket - begin != size_t(copyEnd - from->picture))
        return;
    for (size_t i = begin; i < endPacket; ++i)
        if (packets[i].picture < from->picture || packets[i].picture >= copyEnd)
            return;
    plan.copyFrom = from->picture;
    plan.copyEnd = copyEnd;
}

long long RenderPlan::Pictures() const
{
    return m_clips.back().outputStart + m_clips.back().pictures;
}

long long RenderPlan::CopiedPictures() const
{
    return std::accumulate(
        m_clips.begin(), m_clips.end(), 0LL,
        [](long long sum, const ClipPlan& c) { return sum + (c.copyEnd - c.copyFrom); });
}

QString RenderPlan::ModeText() const
{
    const long long copied = CopiedPictures();
    if (copied > 0)
        return QStringLiteral("Smart: %1 of %2 pictures copied without re-encoding, the rest "
                              "encoded to match.")
            .arg(copied)
            .arg(Pictures());
    if (m_reference)
        return QStringLiteral("Exact: every picture encoded again (no whole group of pictures "
                              "lies between a clip's marks).");
    if (!m_exactReason.isEmpty())
        return QStringLiteral("Exact: every picture encoded again (the first clip's video cannot "
                              "be copied: %1).")
            .arg(m_exactReason);
    return QStringLiteral("Exact: every picture encoded again.");
}
