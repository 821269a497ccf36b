#pragma once
// What a render will do, worked out from the clips' movies before anything is written: the
// output's picture format and rate, its sound, and for each clip its pictures, its sound, and
// which of its groups of pictures are copied rather than encoded again.
#include "render/movie/ClipPlan.h"
#include "render/movie/RenderClip.h"
#include "render/movie/RenderSettings.h"
#include "render/movie/VideoFormat.h"

#include <QStringList>
#include <functional>
#include <map>
#include <vector>

class RenderPlan
{
public:
    // Reads every clip's movie; throws RenderFailure. stillWanted is asked now and then and
    // throws to stop.
    RenderPlan(const std::vector<RenderClip>& clips, const RenderSettings& settings,
               const std::function<void()>& stillWanted);

    const std::vector<ClipPlan>& Clips() const { return m_clips; }
    const VideoFormat& Video() const { return m_video; }
    double Rate() const { return av_q2d(m_video.rate); }
    // The movie whose stream the output's video continues; null when every picture is encoded.
    const SourceMovie* Reference() const { return m_reference.get(); }
    bool HasSound() const { return m_soundRate > 0; }
    int SoundRate() const { return m_soundRate; }
    int SoundChannels() const { return m_soundChannels; }
    long long Pictures() const;
    long long CopiedPictures() const;
    QStringList Notices() const { return m_notices; }
    // How the movie is made, in a sentence for the user.
    QString ModeText() const;

    // Why a movie's video cannot be copied into a stream of its own codec; empty when it can.
    static QString CopyProblem(const SourceMovie& movie);

private:
    std::shared_ptr<const SourceMovie> Movie(const QString& hostPath,
                                             const std::function<void()>& stillWanted);
    void ChooseVideo(const RenderSettings& settings);
    void ChooseReference();
    void ChooseSound();
    ClipPlan PlanClip(const RenderClip& clip, std::shared_ptr<const SourceMovie> movie) const;
    void PlanCopy(ClipPlan& plan) const;
    bool JoinsReference(const SourceMovie& movie) const;

    std::map<QString, std::shared_ptr<const SourceMovie>> m_movies;
    std::vector<std::shared_ptr<const SourceMovie>> m_sources; // by clip
    std::vector<ClipPlan> m_clips;
    std::shared_ptr<const SourceMovie> m_reference;
    VideoFormat m_video;
    QString m_exactReason;
    int m_soundRate = 0;
    int m_soundChannels = 0;
    QStringList m_notices;
};
