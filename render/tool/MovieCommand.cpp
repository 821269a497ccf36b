#include "render/tool/MovieCommand.h"

#include "render/movie/MovieRenderer.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/ShowReader.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace
{
enum Status { Done = 0, Failed = 1, Canceled = 130 };

// Set while a render runs; the handler only makes one atomic store.
std::atomic<MovieRenderer*> g_running = nullptr;

extern "C" void OnInterrupt(int)
{
    if (MovieRenderer* renderer = g_running)
        renderer->Cancel();
}

void Print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

int MovieCommand::Run(const RenderCommandLine::Request& request)
{
    const RenderSettings& settings = request.movie;
    QStringList notices;
    std::vector<RenderClip> clips;
    try {
        clips = ShowReader::ReadFile(QString::fromStdString(request.show), notices);
    } catch (const RenderFailure& failure) {
        Print(stderr, "reelmix-render: " + failure.Text() + "\n");
        return Failed;
    }
    for (const QString& notice : notices)
        Print(stderr, notice + "\n");

    MovieRenderer renderer(std::move(clips), settings);
    // On a terminal one line that keeps changing; in a log one line a stage.
    const bool terminal = isatty(fileno(stderr));
    QString stage;
    renderer.SetProgressSink([terminal, &stage](const RenderProgress& progress) {
        const QString line = QStringLiteral("%1 %  %2 left  %3")
                                 .arg(int(progress.Fraction() * 100), 3)
                                 .arg(progress.TimeLeftText(), progress.stage);
        if (terminal)
            Print(stderr, "\r" + line + "\033[K");
        else if (std::exchange(stage, progress.stage) != progress.stage)
            Print(stderr, line + "\n");
    });
    g_running = &renderer;
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    const RenderResult result = renderer.Run();
    g_running = nullptr;
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (terminal)
        Print(stderr, "\r\033[K");
    for (const QString& notice : result.notices)
        Print(stderr, notice + "\n");
    if (!result.succeeded) {
        Print(stderr, "reelmix-render: " + result.error + "\n");
        return result.canceled ? Canceled : Failed;
    }
    Print(stdout, QStringLiteral("%1\nWrote %2 pictures to %3.\n")
                      .arg(result.mode)
                      .arg(result.pictures)
                      .arg(settings.target));
    return Done;
}
