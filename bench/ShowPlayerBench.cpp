// A show of many entries of 40 ms each, played without a screen: the whole show's time against
// the sum of its entries (beside bare libmpv's over a list of the same entries), the gap between
// one entry's end and the next one's first frame (first frames apart less the entry's length),
// and the memory held as the show goes on. Run: build-bench/bench/bench_showplayer; with
// REELMIX_BENCH_GAPS=FILE each entry's gap in milliseconds is written to FILE.
#include "bench/Percentile.h"
#include "bench/ProcessMemory.h"
#include "platform/media/MpvPlayer.h"
#include "player/ShowPlayer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

namespace
{
constexpr double EntrySeconds = 0.04;

// The movie the entries play, made in dir; empty, with the benchmark skipped, without ffmpeg.
QString MakeMovie(const QTemporaryDir& dir, benchmark::State& state)
{
    const QString path = dir.filePath("clip.avi");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                            "testsrc=duration=1:size=160x120:rate=25", "-c:v", "mpeg4", path});
    if (ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0)
        return path;
    state.SkipWithError("ffmpeg is needed to make the movie");
    return {};
}

struct Timings {
    std::vector<double> gaps; // milliseconds
    double seconds = 0;
    double rssAtTenth = 0; // KiB, once a tenth of the show has played
    double rssAtEnd = 0;
};

Timings PlayShow(const QString& movie, int entries)
{
    AsxPlaylist playlist;
    for (int i = 0; i < entries; ++i)
        playlist.entries.push_back({"", {{movie.toStdString()}}, 0.5, EntrySeconds});
    MpvPlayer first(MpvPlayer::Output::Null, ShowPlayer::PlayerOptions());
    MpvPlayer second(MpvPlayer::Output::Null, ShowPlayer::PlayerOptions());
    ShowPlayer show({&first, &second}, std::move(playlist), "/", false);
    Timings timings;
    QElapsedTimer clock;
    // The gap is what passes between two entries' first frames being shown beyond the first
    // entry's own length.
    qint64 previous = -1;
    QObject::connect(&show, &ShowPlayer::PlayerShown, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (previous >= 0)
            timings.gaps.push_back(double(now - previous) / 1e6 - EntrySeconds * 1000);
        previous = now;
        if (timings.gaps.size() == std::size_t(entries / 10))
            timings.rssAtTenth = MemoryKiB("VmRSS");
    });
    QEventLoop loop;
    QObject::connect(&show, &ShowPlayer::Finished, &loop, &QEventLoop::quit);
    clock.start();
    show.Play();
    loop.exec();
    timings.seconds = double(clock.nsecsElapsed()) / 1e9;
    timings.rssAtEnd = MemoryKiB("VmRSS");
    return timings;
}

void WriteGaps(const std::vector<double>& gaps)
{
    const QString path = qEnvironmentVariable("REELMIX_BENCH_GAPS");
    if (path.isEmpty())
        return;
    std::ofstream out(path.toStdString());
    for (double gap : gaps)
        out << gap << '\n';
}

void CountShow(benchmark::State& state, int entries, double seconds)
{
    const double sum = entries * EntrySeconds;
    state.counters["entries"] = entries;
    state.counters["show_s"] = seconds;
    state.counters["over_sum_pct"] = 100.0 * (seconds - sum) / sum;
}

void BM_PlayShow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString movie = MakeMovie(dir, state);
    if (movie.isEmpty())
        return;
    const int entries = int(state.range(0));
    Timings timings;
    for (auto _ : state)
        timings = PlayShow(movie, entries);
    WriteGaps(timings.gaps);
    CountShow(state, entries, timings.seconds);
    state.counters["gap_p50_ms"] = Percentile(timings.gaps, 0.5);
    state.counters["gap_p95_ms"] = Percentile(timings.gaps, 0.95);
    state.counters["rss_tenth_KiB"] = timings.rssAtTenth;
    state.counters["rss_end_KiB"] = timings.rssAtEnd;
    state.counters["rss_peak_KiB"] = MemoryKiB("VmHWM");
}
BENCHMARK(BM_PlayShow)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);

// The anchor: libmpv handed the same entries as one list of its own, without the show player.
// Kept short of the length at which its event queue overflows.
void BM_BareLibmpv(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString movie = MakeMovie(dir, state);
    if (movie.isEmpty())
        return;
    const int entries = int(state.range(0));
    double seconds = 0;
    for (auto _ : state) {
        QVariantMap options = ShowPlayer::PlayerOptions();
        options.insert("prefetch-playlist", "yes"); // its own way to close the gaps
        MpvPlayer player(MpvPlayer::Output::Null, options);
        QEventLoop loop;
        bool started = false;
        QObject::connect(&player, &MpvPlayer::StartFile, [&] { started = true; });
        QObject::connect(&player, &MpvPlayer::PropertyChanged,
                         [&](const QString& name, const QVariant& value) {
                             if (started && name == "idle-active" && value.toBool())
                                 loop.quit();
                         });
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < entries; ++i)
            player.LoadFile(movie, {{"start", "0.5"}, {"length", QString::number(EntrySeconds)}});
        loop.exec();
        seconds = double(clock.nsecsElapsed()) / 1e9;
    }
    CountShow(state, entries, seconds);
}
BENCHMARK(BM_BareLibmpv)->Arg(500)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
