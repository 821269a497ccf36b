// A show rendered into one movie, beside the ffmpeg command doing the same job in the same run.
// The show: 20 clips, each between two marks drawn at random (a fixed seed) over a ten-minute
// 1280x720 H.264 movie with sound, B-pictures and a key picture every 250. Timed: smart mode, exact
// mode, `ffmpeg -f concat` with inpoint and outpoint, and `ffmpeg -filter_complex concat` over one
// seeking input per clip, all encoding with libx264 at the same preset and quality and AAC sound;
// none checks its output after writing. Counters give seconds, the ratios the goals name, and this
// process's peak memory; on a shared machine the processor seconds (ours in this process, ffmpeg's
// in its own) are the fairer comparison. REELMIX_BENCH_RENDER_SCALE (default 1) scales the movie
// and the clips for a shorter run. Run: build-bench/bench/bench_render
#include "bench/ProcessMemory.h"
#include "render/movie/MovieRenderer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <random>
#include <sys/resource.h>

namespace
{
constexpr int kClips = 20;
constexpr double kMovieSeconds = 600;
const QString kPreset = "veryfast";
constexpr int kQuality = 16;

double Scale()
{
    const double scale = qEnvironmentVariable("REELMIX_BENCH_RENDER_SCALE", "1").toDouble();
    return scale > 0 ? scale : 1;
}

// Made once and kept in the temporary folder.
QString Movie()
{
    const int seconds = int(kMovieSeconds * Scale());
    const QString movie = QDir::temp().filePath(
        QStringLiteral("reelmix-bench-render-720p-g250-%1s.mp4").arg(seconds));
    if (!QFileInfo::exists(movie)) {
        QProcess::execute("ffmpeg", {"-loglevel",
                                     "error",
                                     "-y",
                                     "-f",
                                     "lavfi",
                                     "-i",
                                     "testsrc2=size=1280x720:rate=25",
                                     "-f",
                                     "lavfi",
                                     "-i",
                                     "sine=f=440:sample_rate=48000",
                                     "-t",
                                     QString::number(seconds),
                                     "-c:v",
                                     "libx264",
                                     "-preset",
                                     "veryfast",
                                     "-g",
                                     "250",
                                     "-bf",
                                     "3",
                                     "-pix_fmt",
                                     "yuv420p",
                                     "-c:a",
                                     "aac",
                                     movie + ".part.mp4"});
        QFile::rename(movie + ".part.mp4", movie);
    }
    return movie;
}

std::vector<RenderClip> Show(const QString& movie)
{
    std::mt19937 random(20240601);
    std::uniform_real_distribution<double> mark(0, kMovieSeconds * Scale());
    std::vector<RenderClip> clips;
    for (int i = 0; i < kClips; ++i) {
        const double a = mark(random), b = mark(random);
        clips.push_back({movie, std::min(a, b), std::max(a, b)});
    }
    return clips;
}

struct Timing {
    double seconds = -1; // negative when the run failed
    double processor = 0;
};

// Processor seconds of this process (RUSAGE_SELF) or of the finished commands it started.
double ProcessorSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Timing Time(const std::function<bool()>& run, int who)
{
    QElapsedTimer timer;
    const double processor = ProcessorSeconds(who);
    timer.start();
    const bool done = run();
    return {done ? timer.nsecsElapsed() / 1e9 : -1, ProcessorSeconds(who) - processor};
}

Timing Render(const std::vector<RenderClip>& clips, RenderSettings::Mode mode,
              const QString& target)
{
    RenderSettings settings;
    settings.target = target;
    settings.mode = mode;
    settings.preset = kPreset;
    settings.quality = kQuality;
    settings.verify = false;
    return Time([&] { return MovieRenderer(clips, settings).Run().succeeded; }, RUSAGE_SELF);
}

QStringList Encoding(const QString& target)
{
    return {"-c:v",     "libx264", "-preset", kPreset, "-crf", QString::number(kQuality),
            "-pix_fmt", "yuv420p", "-c:a",    "aac",   "-y",   target};
}

Timing FfmpegConcatList(const std::vector<RenderClip>& clips, const QString& target)
{
    const QString list = target + ".txt";
    QFile file(list);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    for (const RenderClip& clip : clips)
        out << "file '" << clip.hostPath << "'\ninpoint " << clip.start << "\noutpoint " << clip.end
            << "\n";
    file.close();
    const QStringList input{"-loglevel", "error", "-f", "concat", "-safe", "0", "-i", list};
    return Time([&] { return QProcess::execute("ffmpeg", input + Encoding(target)) == 0; },
                RUSAGE_CHILDREN);
}

Timing FfmpegConcatFilter(const std::vector<RenderClip>& clips, const QString& target)
{
    QStringList arguments{"-loglevel", "error"};
    QString graph;
    for (size_t i = 0; i < clips.size(); ++i) {
        arguments << "-ss" << QString::number(clips[i].start) << "-t"
                  << QString::number(clips[i].end - clips[i].start) << "-i" << clips[i].hostPath;
        graph += QStringLiteral("[%1:v][%1:a]").arg(i);
    }
    graph += QStringLiteral("concat=n=%1:v=1:a=1[v][a]").arg(clips.size());
    arguments << "-filter_complex" << graph << "-map"
              << "[v]"
              << "-map"
              << "[a]";
    return Time([&] { return QProcess::execute("ffmpeg", arguments + Encoding(target)) == 0; },
                RUSAGE_CHILDREN);
}

void BM_RenderShow(benchmark::State& state)
{
    const QString movie = Movie();
    const std::vector<RenderClip> clips = Show(movie);
    const QString out = QDir::temp().filePath("reelmix-bench-render-out");
    for (auto _ : state) {
        const Timing smart = Render(clips, RenderSettings::Mode::Smart, out + "-smart.mp4");
        const Timing exact = Render(clips, RenderSettings::Mode::Exact, out + "-exact.mp4");
        const double peak = MemoryKiB("VmHWM") / 1024;
        const Timing list = FfmpegConcatList(clips, out + "-ffmpeg-list.mp4");
        const Timing filter = FfmpegConcatFilter(clips, out + "-ffmpeg-filter.mp4");
        if (smart.seconds < 0 || exact.seconds < 0 || list.seconds < 0 || filter.seconds < 0)
            state.SkipWithError("a render failed");
        const std::pair<const char*, Timing> runs[] = {
            {"smart", smart}, {"exact", exact}, {"ffmpeg_list", list}, {"ffmpeg_filter", filter}};
        for (const auto& [name, timing] : runs) {
            state.counters[std::string(name) + "_s"] = timing.seconds;
            state.counters[std::string(name) + "_cpu_s"] = timing.processor;
        }
        state.counters["exact_over_smart"] = exact.seconds / smart.seconds;          // goal: >= 10
        state.counters["ffmpeg_list_over_smart"] = list.seconds / smart.seconds;     // goal: >= 5
        state.counters["exact_over_ffmpeg_filter"] = exact.seconds / filter.seconds; // goal: <= 1.2
        state.counters["peak_MB"] = peak;                                            // goal: < 500
    }
    for (const char* name : {"-smart.mp4", "-exact.mp4", "-ffmpeg-list.mp4", "-ffmpeg-filter.mp4",
                             "-ffmpeg-list.mp4.txt"})
        QFile::remove(out + name);
}
BENCHMARK(BM_RenderShow)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
} // namespace
