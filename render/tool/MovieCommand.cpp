#include "render/tool/MovieCommand.h"

#include "render/movie/MovieRenderer.h"
#include "render/movie/MovieWriter.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/ShowReader.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace
{
enum Status { Done = 0, Failed = 1, Usage = 2, Canceled = 130 };

MovieRenderer* g_running = nullptr;

extern "C" void OnInterrupt(int)
{
    if (g_running)
        g_running->Cancel(); // one atomic store
}

void Print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Fills settings from the parsed options; false with a message for the user.
bool ReadOptions(const QCommandLineParser& parser, RenderSettings& settings, QString& error)
{
    const QString mode = parser.value("mode");
    if (mode != "smart" && mode != "exact")
        error = QStringLiteral("--mode is smart or exact.");
    bool ok = true;
    settings.mode = mode == "exact" ? RenderSettings::Mode::Exact : RenderSettings::Mode::Smart;
    settings.quality = parser.value("quality").toInt(&ok);
    if (!ok || settings.quality < 0 || settings.quality > 51)
        error = QStringLiteral("--quality is a number from 0 (best) to 51.");
    settings.preset = parser.value("preset");
    static const QRegularExpression size(R"(^(\d{1,5})x(\d{1,5})$)");
    if (parser.isSet("size")) {
        const auto match = size.match(parser.value("size"));
        settings.size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
        if (!match.hasMatch() || settings.size.width() < 2 || settings.size.height() < 2)
            error = QStringLiteral("--size is WIDTHxHEIGHT, such as 1280x720.");
    }
    settings.verify = !parser.isSet("no-verify");
    return error.isEmpty();
}
} // namespace

int MovieCommand::Run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Renders a show (.rlx) or an ASX playlist into one movie "
                                     "(.mp4, .mkv or .mov).");
    parser.addHelpOption();
    parser.addPositionalArgument("SHOW", "The show or playlist.");
    parser.addPositionalArgument("OUT", "The movie to write.");
    parser.addOptions({
        {"mode",
         "smart: copy whole groups of pictures where the source allows (default); exact: "
         "encode every picture.",
         "MODE", "smart"},
        {"preset", "libx264's speed preset, ultrafast to veryslow.", "PRESET", "medium"},
        {"quality", "libx264's constant rate factor, 0 (best) to 51.", "CRF", "16"},
        {"size", "The movie's picture size (default: the first clip's).", "WxH"},
        {"no-verify", "Skip the check of the written movie against its clips."},
    });
    if (!parser.parse(QStringList("reelmix-render") + arguments)) {
        Print(stderr, parser.errorText() + "\n");
        return Usage;
    }
    if (parser.isSet("help")) {
        Print(stdout, parser.helpText());
        return Done;
    }
    RenderSettings settings;
    QString error;
    if (parser.positionalArguments().size() != 2)
        error = QStringLiteral("Give a show and the movie to write; --help tells more.");
    if (!error.isEmpty() || !ReadOptions(parser, settings, error)) {
        Print(stderr, "reelmix-render: " + error + "\n");
        return Usage;
    }
    settings.target = parser.positionalArguments()[1];
    if (!MovieWriter::KnownExtension(settings.target)) {
        Print(stderr, "reelmix-render: the movie's name ends in .mp4, .mkv or .mov.\n");
        return Usage;
    }
    QStringList notices;
    std::vector<RenderClip> clips;
    try {
        clips = ShowReader::ReadFile(parser.positionalArguments()[0], notices);
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
