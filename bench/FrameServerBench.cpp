// Exact frames on the public movies (without them, on a generated 1280x720 H.264 movie with a
// key picture every 250): the frame server beside bare libmpv's exact seeks and frame steps on
// the same file in the same run. Each figure runs from the call to the picture reaching the GUI
// thread (for libmpv, to the picture rendered); p50 and p95 are given as counters, and the frame
// server's peak memory after all its sessions. Run: scripts/bench.sh
#include "bench/Percentile.h"
#include "bench/ProcessMemory.h"
#include "platform/media/FrameServer.h"
#include "platform/media/MpvPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <vector>

namespace
{
const QSize Display(568, 430);
constexpr size_t SmallCache = 12 * 568 * 430 * 3 / 2; // about 12 pictures: jumps decode
constexpr int Jumps = 20;
constexpr int Tries = 10;

// Made once and kept in the temporary folder: encoding takes a minute on two cores.
QString GeneratedMovie()
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

// Milliseconds from act() until done holds after object's signal; negative when it never did.
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

using Samples = std::map<std::string, std::vector<double>>;

// Each p95 beside its anchor, printed once every run is done.
struct Table {
    // (movie, operation) to (frame server, bare libmpv)
    std::map<std::pair<std::string, std::string>, std::pair<double, double>> p95;
    ~Table()
    {
        std::printf("\n%-34s %-15s %12s %12s\n", "movie", "operation", "server p95", "mpv p95");
        for (const auto& [key, figures] : p95)
            std::printf("%-34s %-15s %9.1f ms %9.1f ms\n", key.first.c_str(), key.second.c_str(),
                        figures.first, figures.second);
    }
};
Table figures;

void Report(benchmark::State& state, const Samples& samples, const std::string& movie, bool server)
{
    for (const auto& [name, values] : samples) {
        state.counters[name + "_p50_ms"] = Percentile(values, 0.5);
        state.counters[name + "_p95_ms"] = Percentile(values, 0.95);
        state.counters[name + "_max_ms"] = Percentile(values, 1.0);
        auto& pair = figures.p95[{movie, name}];
        (server ? pair.first : pair.second) = Percentile(values, 0.95);
    }
}

// The numbering both sides seek by, and the positions they visit: random jumps, and spots
// spread over the movie where the editor looks for a second, steps back five and forward ten
// (fewer at the ends).
struct Plan {
    int count = 0;
    std::vector<double> pts;
    std::vector<int> jumps;
    std::vector<int> spots;
};

Plan MakePlan(const QString& movie)
{
    Plan plan;
    FrameServer server;
    if (!server.Open(movie, Display))
        return plan;
    plan.count = server.FrameCount();
    for (int n = 0; n < plan.count; ++n)
        plan.pts.push_back(server.PtsOfFrame(n));
    std::mt19937 random(plan.count);
    std::uniform_int_distribution<int> any(0, plan.count - 1);
    for (int i = 0; i < Jumps; ++i)
        plan.jumps.push_back(any(random));
    for (int i = 1; i <= 5; ++i)
        plan.spots.push_back(plan.count * i / 6);
    return plan;
}

// What the editor waits for, done the same way on both sides: open, go to end right after
// opening, jump, step back and forward around a spot.
struct Side {
    std::function<double()> open;      // to the first picture
    std::function<double()> openEnd;   // to the last picture, asked for as soon as it can be
    std::function<void(size_t)> fresh; // a movie of its own, with this much cache
    std::function<double(int)> go;
    std::function<double(int)> back;
    std::function<double(int)> forward;
};

void Walk(benchmark::State& state, const QString& movie, const Plan& plan, const Side& side,
          bool server)
{
    if (plan.count < 2) {
        state.SkipWithError("the movie could not be opened");
        return;
    }
    Samples samples;
    for (int i = 0; i < Tries; ++i) {
        samples["open"].push_back(side.open());
        samples["end_after_open"].push_back(side.openEnd());
    }
    side.fresh(SmallCache);
    for (int n : plan.jumps)
        samples["jump"].push_back(side.go(n));
    side.fresh(0);
    for (int position : plan.spots) {
        side.go(position);
        QThread::msleep(1000);
        for (int i = 0; i < 5 && position > 0; ++i)
            samples["back"].push_back(side.back(--position));
        for (int i = 0; i < 10 && position < plan.count - 1; ++i)
            samples["forward"].push_back(side.forward(++position));
    }
    Report(state, samples, QFileInfo(movie).fileName().toStdString(), server);
}

void FrameServerSide(benchmark::State& state, const QString& movie)
{
    const Plan plan = MakePlan(movie);
    for (auto _ : state) {
        std::unique_ptr<FrameServer> server;
        int shown = -1;
        const auto fresh = [&](size_t cache) {
            server = std::make_unique<FrameServer>();
            server->SetCacheLimit(cache ? cache : 200u << 20);
            QObject::connect(
                server.get(), &FrameServer::FrameReady,
                [&](int n, const QImage& picture) { shown = picture.isNull() ? -1 : n; });
            server->OpenAsync(movie, Display);
        };
        const auto request = [&](int n) {
            return Time(
                server.get(), &FrameServer::FrameReady, [&] { server->Request(n); },
                [&] { return shown == n; });
        };
        const auto openTo = [&](bool end) {
            QElapsedTimer timer;
            timer.start();
            fresh(0);
            if (!end) {
                server->Request(0);
            } else if (Time(server.get(), &FrameServer::Opened, [] {}) < 0) {
                return -1.0;
            } else {
                timer.start();
                server->Request(plan.count - 1);
            }
            const int wanted = end ? plan.count - 1 : 0;
            const double wait = Time(
                server.get(), &FrameServer::FrameReady, [] {}, [&] { return shown == wanted; });
            return wait < 0 ? wait : timer.nsecsElapsed() / 1e6;
        };
        // Opened before the first jump, as libmpv's side is loaded before its own.
        const auto reopen = [&](size_t cache) {
            fresh(cache);
            Time(server.get(), &FrameServer::Opened, [] {});
        };
        Walk(state, movie, plan,
             {[&] { return openTo(false); }, [&] { return openTo(true); }, reopen, request, request,
              request},
             true);
        server.reset();
        state.counters["peak_MB"] = MemoryKiB("VmHWM") / 1024;
    }
}

// Milliseconds from act() until libmpv has moved and drawn a picture since: a seek (and a load)
// has moved once libmpv says playback restarted, since its position names the target at once;
// a step forward, once the position changes. The drawing alone may repeat the picture before.
double UntilMoved(MpvPlayer& player, QImage& image, bool seeking, const std::function<void()>& act)
{
    QCoreApplication::processEvents();
    QEventLoop loop;
    bool moved = false;
    bool drawn = false;
    const auto check = [&] {
        if (moved && drawn)
            loop.quit();
    };
    const auto position =
        QObject::connect(&player, &MpvPlayer::PropertyChanged, &loop, [&](const QString& name) {
            moved = moved || (!seeking && name == "time-pos");
            check();
        });
    const auto restart = QObject::connect(&player, &MpvPlayer::PlaybackRestart, &loop, [&] {
        moved = moved || seeking;
        check();
    });
    const auto frame = QObject::connect(&player, &MpvPlayer::FrameReady, &loop, [&] {
        drawn = drawn || player.Render(image);
        check();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    act();
    loop.exec();
    for (const auto& connection : {position, restart, frame})
        QObject::disconnect(connection);
    return moved && drawn ? timer.nsecsElapsed() / 1e6 : -1;
}

void BareMpvSide(benchmark::State& state, const QString& movie)
{
    const Plan plan = MakePlan(movie);
    for (auto _ : state) {
        std::unique_ptr<MpvPlayer> player;
        QImage image(Display, QImage::Format_RGBX8888);
        const auto timed = [&](const std::function<void()>& act, bool seeking = true) {
            return UntilMoved(*player, image, seeking, act);
        };
        // Timestamps as the container has them, as the editor's player runs.
        const auto fresh = [&](size_t) {
            player = std::make_unique<MpvPlayer>(MpvPlayer::Output::Null,
                                                 QVariantMap{{"vo", "libmpv"},
                                                             {"pause", "yes"},
                                                             {"keep-open", "always"},
                                                             {"rebase-start-time", "no"}});
        };
        const auto seek = [&](int n) { return timed([&] { player->SeekAbsolute(plan.pts[n]); }); };
        const auto open = [&] {
            fresh(0);
            return timed([&] { player->LoadFile(movie); });
        };
        // The file is loaded once its first picture is drawn; the seek follows at once.
        const auto openEnd = [&] {
            const double loading = open();
            return loading < 0 ? loading : loading + seek(plan.count - 1);
        };
        const auto reload = [&](size_t cache) {
            fresh(cache);
            timed([&] { player->LoadFile(movie); });
        };
        Walk(state, movie, plan,
             {open, openEnd, reload, seek,
              [&](int) { return timed([&] { player->FrameBackStep(); }); },
              [&](int) { return timed([&] { player->FrameStep(); }, false); }},
             false);
    }
}

QStringList Movies()
{
    const QDir corpus(REELMIX_CORPUS_DIR "/movies");
    QStringList movies;
    for (const QString& name : corpus.entryList({"*.avi", "*.mov", "*.mpg"}, QDir::Files))
        movies << corpus.filePath(name);
    return movies;
}

// The frame server's runs come first, so that its peak memory is its own.
const bool Registered = [] {
    QStringList movies = Movies();
    if (movies.isEmpty())
        movies << QString();
    for (const auto& [side, run] :
         {std::pair{"FrameServer", &FrameServerSide}, std::pair{"BareMpv", &BareMpvSide}}) {
        for (const QString& movie : movies) {
            const std::string name =
                std::string(side) + "/" +
                (movie.isEmpty() ? "generated-720p" : QFileInfo(movie).fileName().toStdString());
            benchmark::RegisterBenchmark(name.c_str(),
                                         [run, movie](benchmark::State& state) {
                                             run(state, movie.isEmpty() ? GeneratedMovie() : movie);
                                         })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
    }
    return true;
}();
} // namespace
