// mplayer2: plays a show's ASX playlist, each entry from its start time for its duration, and
// exits when the show is over.
#include "platform/framework/ScreenCheck.h"
#include "platform/media/MpvPlayer.h"
#include "player/PlayerCommandLine.h"
#include "player/PlayerRegistration.h"
#include "player/PlayerWindow.h"
#include "player/ReportNumbering.h"
#include "player/ShowPlayer.h"
#include "util/AsxReader.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <array>
#include <cstdio>
#include <memory>

namespace
{

void Tell(const QString& text)
{
    std::fprintf(stderr, "mplayer2: %s\n", qPrintable(text));
}

// Messages that end the program: always on standard error, and in a box when there is a screen.
int Fail(const QString& text, bool headless)
{
    Tell(text);
    if (!headless)
        QMessageBox::critical(nullptr, QObject::tr("Reelmix Player"), text);
    return 1;
}

bool NeedsNoScreen(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--headless") == 0 || qstrcmp(argv[i], "--register") == 0)
            return true;
    const QByteArray environment = qgetenv("REELMIX_PLAYER_HEADLESS");
    return !environment.isEmpty() && environment != "0";
}

// The pictures shown are numbered once the show is over, so that numbering never holds it up.
bool SaveReport(PlayReport report, const QString& hostPath, QString& error)
{
    ReportNumbering numbering(report);
    QEventLoop loop;
    QObject::connect(&numbering, &ReportNumbering::Finished, &loop, &QEventLoop::quit);
    numbering.Start();
    loop.exec();
    return report.Save(hostPath, error);
}

int Run(const PlayerCommandLine& commandLine)
{
    const bool headless = commandLine.m_headless;
    AsxPlaylist playlist;
    QString error;
    if (!AsxReader::ReadFile(commandLine.m_playlist, playlist, error))
        return Fail(error, headless);

    const MpvPlayer::Output output = headless ? MpvPlayer::Output::Null : MpvPlayer::Output::Window;
    MpvPlayer first(output, ShowPlayer::PlayerOptions()),
        second(output, ShowPlayer::PlayerOptions());
    const std::array<MpvPlayer*, 2> players{&first, &second};
    for (MpvPlayer* player : players) {
        if (!player->IsValid())
            return Fail(player->ErrorText(), headless);
        QObject::connect(player, &MpvPlayer::CommandFailed,
                         [](const QString& text) { Tell(text); });
    }

    ShowPlayer show(players, std::move(playlist), QFileInfo(commandLine.m_playlist).absolutePath(),
                    !commandLine.m_reportPath.isEmpty());
    QObject::connect(&show, &ShowPlayer::Notice, &Tell);
    std::unique_ptr<PlayerWindow> window;
    if (headless) {
        QObject::connect(&show, &ShowPlayer::Finished, QCoreApplication::instance(),
                         &QCoreApplication::quit, Qt::QueuedConnection);
    } else {
        window = std::make_unique<PlayerWindow>(players, &show);
        window->setAttribute(Qt::WA_QuitOnClose);
        window->show();
    }
    show.Play();
    const int status = QCoreApplication::exec();
    window.reset();
    if (!commandLine.m_reportPath.isEmpty() &&
        !SaveReport(show.Report(), commandLine.m_reportPath, error))
        return Fail(error, true);
    if (show.FoundNothingToPlay())
        return Fail(
            QObject::tr("Nothing in the playlist %1 can be played.").arg(commandLine.m_playlist),
            headless);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && qstrcmp(argv[1], "--help") == 0)
        return std::printf("%s\n", qPrintable(PlayerCommandLine::Usage())) < 0;
    // Without a screen there is no need for a display connection at all.
    const bool needsNoScreen = NeedsNoScreen(argc, argv);
    if (const std::string problem = needsNoScreen ? "" : ScreenCheck::Problem(argc, argv);
        !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    std::unique_ptr<QCoreApplication> application =
        needsNoScreen ? std::make_unique<QCoreApplication>(argc, argv)
                      : std::make_unique<QApplication>(argc, argv);
    PlayerCommandLine commandLine;
    if (!commandLine.Parse(QCoreApplication::arguments().mid(1),
                           qEnvironmentVariable("REELMIX_PLAYER_HEADLESS"))) {
        Tell(commandLine.m_error);
        Tell(PlayerCommandLine::Usage());
        return 2;
    }
    if (commandLine.m_register) {
        QString error;
        if (!PlayerRegistration::Register(QCoreApplication::applicationDirPath(), error))
            return Fail(error, true);
        return 0;
    }
    return Run(commandLine);
}
