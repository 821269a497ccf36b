// Exact frames on a 1280x720 H.264 movie with B-frames and a key picture every 250: the frame
// server beside bare libmpv doing the same. Latencies run from the call to the picture reaching
// the GUI thread. Run: scripts/bench.sh
#include "bench/Percentile.h"
#include "bench/ProcessMemory.h"
#include "platform/media/FrameServer.h"
#include "platform/media/MpvPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <vector>

namespace
{
constexpr int Group = 250;
constexpr int Frames = 1000;
constexpr double Fps = 25;
const QSize Display(568, 430);

// Made once and kept in the temporary folder: encoding takes a minute on two cores.
QString Movie()
{
    const QString path = QDir::temp().filePath("reelmix-bench-720p-h264-g250.mp4");
    if (!QFile::exists(path)) {
        QProcess::execute("ffmpeg",
                          {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                           "testsrc2=size=1280x720:rate=25", "-t", "40", "-c:v", "libx264", "-g",
                           "250", "-bf", "3", "-pix_fmt", "yuv420p", path + ".part.mp4"});
        QFile::rename(path + ".part.mp4", path);
    }
    return path;
}

// Spread over the movie; every other one just after a key picture, so that stepping back from
// it crosses the key picture.
std::vector<int> Positions()
{
    std::vector<int> positions;
    for (int i = 0; i < 20; ++i)
        positions.push_back(i % 2 ? (i / 2 % 3 + 1) * Group + 2 + i / 6 : 40 + i * 47);
    return positions;
}

// Milliseconds from act() until done fires; negative when it never did.
template <typename Object, typename Signal>
double Time(
    Object* object, Signal signal, const std::function<void()>& act,
    const std::function<bool()>& done = [] { return true; })
{
    QCoreApplication::processEvents();
    QEventLoop loop;
    bool finished = false;
    auto connection = QObject::connect(object, signal, &loop, [&] {
        if (done()) {
            finished = true;
            loop.quit();
        }
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    act();
    if (!finished)
        loop.exec();
    QObject::disconnect(connection);
    return finished ? timer.nsecsElapsed() / 1e6 : -1;
}

// One editing session: what the user waits for, by operation.
using Samples = std::map<std::string, std::vector<double>>;

void Report(benchmark::State& state, const Samples& samples)
{
    for (const auto& [name, values] : samples) {
        state.counters[name + "_p50_ms"] = Percentile(values, 0.5);
        state.counters[name + "_p95_ms"] = Percentile(values, 0.95);
    }
}

// Steps as the clip editor takes them: jump to a position, look for a second, five steps back
// (across the key picture where the position follows one), ten forward. Each position starts
// from a fresh movie, so that no earlier visit has left its pictures decoded.
template <typename Restart, typename Go, typename Back, typename Forward>
void Walk(Samples& samples, Restart restart, Go go, Back back, Forward forward)
{
    samples["go_end"].push_back(go(Frames - 1));
    samples["go_start"].push_back(go(0));
    for (int position : Positions()) {
        restart();
        samples["jump"].push_back(go(position));
        QThread::msleep(1000);
        for (int n = position - 1; n >= position - 5; --n)
            samples[n == (position / Group) * Group - 1 ? "back_across_key" : "back"].push_back(
                back(n));
        for (int n = position - 4; n <= position + 5; ++n)
            samples["forward"].push_back(forward(n));
    }
    samples["go_end"].push_back(go(Frames - 1));
    samples["go_start"].push_back(go(0));
}

void BM_FrameServer(benchmark::State& state)
{
    const QString movie = Movie();
    for (auto _ : state) {
        Samples samples;
        for (int i = 0; i < 5; ++i) {
            FrameServer server;
            QElapsedTimer timer;
            timer.start();
            if (!server.Open(movie, Display)) {
                state.SkipWithError(server.ErrorText().toStdString().c_str());
                return;
            }
            if (Time(&server, &FrameServer::FrameReady, [&] { server.Request(0); }) >= 0)
                samples["open"].push_back(timer.nsecsElapsed() / 1e6);
        }
        FrameServer server;
        server.Open(movie, Display);
        QThread::msleep(1000);
        int shown = -1;
        QObject::connect(&server, &FrameServer::FrameReady,
                         [&](int n, const QImage& picture) { shown = picture.isNull() ? -1 : n; });
        const auto request = [&](int n) {
            return Time(
                &server, &FrameServer::FrameReady, [&] { server.Request(n); },
                [&] { return shown == n; });
        };
        const auto reopen = [&] {
            server.Open(movie, Display);
            QThread::msleep(1000);
        };
        Walk(samples, reopen, request, request, request);
        Report(state, samples);
        state.counters["peak_MB"] = MemoryKiB("VmHWM") / 1024;
    }
}

void BM_BareMpv(benchmark::State& state)
{
    const QString movie = Movie();
    for (auto _ : state) {
        MpvPlayer player(MpvPlayer::Output::Window, {{"pause", "yes"}, {"keep-open", "always"}});
        QImage image(Display, QImage::Format_RGBX8888);
        const auto render = [&] { return player.Render(image); };
        Samples samples;
        samples["open"].push_back(Time(
            &player, &MpvPlayer::FrameReady, [&] { player.LoadFile(movie); }, render));
        const auto seek = [&](int n) {
            return Time(
                &player, &MpvPlayer::FrameReady, [&] { player.SeekAbsolute(n / Fps); }, render);
        };
        const auto back = [&](int) {
            return Time(
                &player, &MpvPlayer::FrameReady, [&] { player.FrameBackStep(); }, render);
        };
        const auto forward = [&](int) {
            return Time(
                &player, &MpvPlayer::FrameReady, [&] { player.FrameStep(); }, render);
        };
        Walk(
            samples, [] {}, seek, back, forward);
        Report(state, samples);
    }
}
} // namespace

BENCHMARK(BM_FrameServer)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BareMpv)->Unit(benchmark::kMillisecond)->Iterations(1);
