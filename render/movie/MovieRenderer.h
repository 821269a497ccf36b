#pragma once
// Renders a show into one movie: every clip's pictures in show order, frame-exact at the marks,
// with groups of pictures copied untouched wherever the source allows and encoded with libx264
// (libx265 to continue an HEVC stream) elsewhere, the sound cut to match. Runs on the calling
// thread; Cancel may come from any other.
#include "render/movie/AvPtr.h"
#include "render/movie/RenderClip.h"
#include "render/movie/RenderProgress.h"
#include "render/movie/RenderResult.h"
#include "render/movie/RenderSettings.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

struct ClipPlan;
class PictureReader;
class RenderPlan;
class SoundReader;
class SoundTrack;
class VideoTrack;
class PictureFitter;

class MovieRenderer
{
public:
    using ProgressSink = std::function<void(const RenderProgress& progress)>;

    MovieRenderer(std::vector<RenderClip> clips, RenderSettings settings);
    ~MovieRenderer();

    // Called on the rendering thread, at most every tenth of a second.
    void SetProgressSink(ProgressSink sink) { m_progressSink = std::move(sink); }
    void Cancel() { m_canceled = true; }
    // Never throws: failures and cancelling end in the result, with no file left behind.
    RenderResult Run();

private:
    void Render(RenderResult& result);
    void WriteClip(const ClipPlan& clip);
    void EncodePictures(const ClipPlan& clip, long long from, long long to);
    void StartSound(const ClipPlan& clip);
    long long SampleAt(long long picture) const;
    void StillWanted() const;
    void Advance(double work, const QString& stage, bool now = false);
    void CheckTarget() const;

    std::vector<RenderClip> m_clips;
    RenderSettings m_settings;
    ProgressSink m_progressSink;
    std::atomic<bool> m_canceled = false;

    // While rendering:
    std::unique_ptr<RenderPlan> m_plan;
    std::unique_ptr<VideoTrack> m_video;
    std::unique_ptr<SoundTrack> m_sound;
    std::unique_ptr<PictureFitter> m_fitter;
    std::unique_ptr<PictureReader> m_pictures;
    std::unique_ptr<SoundReader> m_soundReader;
    RenderProgress m_progress;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_lastReport;
};
