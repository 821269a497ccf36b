// The clip editor's player on a 1280x720 H.264 movie with B-frames and a key frame every 250
// pictures, each operation beside the same one done with bare libmpv in the same run: opening
// to the first picture, one frame step forward and back at 200 positions spread over the movie
// (back steps include steps across a key frame), go to start and go to end. Each figure is the
// time from the command to the new picture ready to draw; p50 and p95 are given as counters.
// Run: build/bench/bench_editor
#include "bench/Percentile.h"
#include "bench/ProcessMemory.h"
#include "platform/media/FrameServer.h"
#include "platform/media/MpvPlayer.h"
#include "platform/media/MpvVideoWidget.h"
#include "preview/MediaPlayerWidget.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

namespace
{
constexpr int kSteps = 200;

// The frame server's benchmark movie, made once and kept in the temporary folder.
const QString& Movie()
{
    static const QString path = [] {
        const QString movie = QDir::temp().filePath("reelmix-bench-720p-h264-g250.mp4");
        if (!QFileInfo::exists(movie)) {
            QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                         "testsrc2=size=1280x720:rate=25", "-t", "40", "-c:v",
                                         "libx264", "-g", "250", "-bf", "3", "-pix_fmt", "yuv420p",
                                         movie + ".part.mp4"});
            QFile::rename(movie + ".part.mp4", movie);
        }
        return movie;
    }();
    return path;
}

// Milliseconds from act until sender's signal says a new picture is there (or the time out).
template <typename Sender, typename Signal>
double TimeToPicture(Sender* sender, Signal signal, const std::function<void()>& act,
                     int timeoutMs = 10000)
{
    bool drawn = false;
    const auto connection = QObject::connect(sender, signal, [&] { drawn = true; });
    QElapsedTimer timer;
    timer.start();
    act();
    while (!drawn && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const double ms = timer.nsecsElapsed() / 1e6;
    QObject::disconnect(connection);
    return ms;
}

void Report(benchmark::State& state, std::vector<double> ms)
{
    state.counters["p50_ms"] = Percentile(ms, 0.5);
    state.counters["p95_ms"] = Percentile(ms, 0.95);
    state.counters["max_ms"] = Percentile(ms, 1.0);
    state.counters["peak_MB"] = MemoryKiB("VmHWM") / 1024;
}

// The editor's player (its pictures while paused come from the frame server), or bare libmpv
// with the same options, in a shown window.
struct Subject {
    explicit Subject(bool editor)
    {
        if (editor) {
            face = std::make_unique<MediaPlayerWidget>();
            widget = face.get();
            frames = face->findChild<FrameServer*>();
        } else {
            bare = std::make_unique<MpvPlayer>(
                MpvPlayer::Output::Window,
                QVariantMap{{"pause", "yes"}, {"keep-open", "always"}, {"ao", "null"}});
            video = std::make_unique<MpvVideoWidget>(bare.get());
            widget = video.get();
        }
        widget->resize(568, 430);
        widget->show();
    }

    double Timed(const std::function<void()>& act)
    {
        return face ? TimeToPicture(frames, &FrameServer::FrameReady, act)
                    : TimeToPicture(bare.get(), &MpvPlayer::FrameReady, act);
    }

    double Open()
    {
        return Timed([this] { face ? face->Open(Movie()) : bare->LoadFile(Movie()); });
    }

    double GoTo(int frame)
    {
        return Timed([&] { face ? face->SeekFrame(frame) : bare->SeekAbsolute(frame / 25.0); });
    }

    double Step(int from, int by)
    {
        GoTo(from);
        if (by < 0 && from % 250 == 0) // the user pauses a second before stepping back
            TimeToPicture(
                widget, &QObject::destroyed, [] {}, 1000);
        return Timed([&] {
            if (face)
                face->SeekFrame(from + by);
            else if (by > 0)
                bare->FrameStep();
            else
                bare->FrameBackStep();
        });
    }

    std::unique_ptr<MediaPlayerWidget> face;
    std::unique_ptr<MpvPlayer> bare;
    std::unique_ptr<MpvVideoWidget> video;
    QWidget* widget = nullptr;
    FrameServer* frames = nullptr;
};

// One timed operation an iteration; the spread of their times is reported.
void Measure(benchmark::State& state, const std::function<double()>& once)
{
    std::vector<double> ms;
    for (auto _ : state) {
        ms.push_back(once());
        state.SetIterationTime(ms.back() / 1000);
    }
    Report(state, ms);
}

void OpenToFirstPicture(benchmark::State& state)
{
    Measure(state, [&] { return Subject(state.range(0) == 1).Open(); });
}

void FrameStep(benchmark::State& state)
{
    Subject subject(state.range(0) == 1);
    subject.Open();
    int i = 0;
    Measure(state, [&] {
        // Spread over the movie; every tenth back step starts on a key frame.
        const int from =
            state.range(1) < 0 && i % 10 == 0 ? 250 * (1 + i / 10 % 3) : 1 + i * 997 % 998;
        ++i;
        return subject.Step(from, int(state.range(1)));
    });
}

void GoToEnds(benchmark::State& state)
{
    Subject subject(state.range(0) == 1);
    subject.Open();
    Measure(state, [&] {
        subject.GoTo(500);
        return subject.GoTo(state.range(1) == 0 ? 0 : 999);
    });
}
} // namespace

// range(0): 1 the editor's player, 0 bare libmpv.
BENCHMARK(OpenToFirstPicture)
    ->ArgNames({"editor"})
    ->Args({1})
    ->Args({0})
    ->Iterations(10)
    ->UseManualTime();
BENCHMARK(FrameStep)
    ->ArgNames({"editor", "by"})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Args({1, -1})
    ->Args({0, -1})
    ->Iterations(kSteps)
    ->UseManualTime();
BENCHMARK(GoToEnds)
    ->ArgNames({"editor", "end"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Iterations(10)
    ->UseManualTime();
