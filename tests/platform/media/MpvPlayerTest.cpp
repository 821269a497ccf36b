#include "platform/media/MpvPlayer.h"

#include "platform/media/FrameServer.h"
#include "platform/media/MpvVideoWidget.h"
#include "tests/platform/media/FrameReference.h"
#include "tests/support/Await.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTransform>
#include <cmath>

namespace
{
QString FourSecondMovie()
{
    return QString::fromStdString(testfiles::MakeMovie("movie.avi", testfiles::TestPicture(4)));
}
} // namespace

TEST(MpvPlayer, LoadsWithAndWithoutFileOptions)
{
    const QString movie = FourSecondMovie();
    for (const QVariantMap& options : {QVariantMap{}, QVariantMap{{"start", "1.5"}}}) {
        MpvPlayer player(MpvPlayer::Output::Null, {{"pause", "yes"}});
        ASSERT_TRUE(player.IsValid()) << player.ErrorText().toStdString();
        QSignalSpy loaded(&player, &MpvPlayer::FileLoaded);
        QSignalSpy failed(&player, &MpvPlayer::CommandFailed);
        player.LoadFile(movie, options);
        ASSERT_TRUE(loaded.wait(30000)) << options.size();
        EXPECT_TRUE(failed.isEmpty());
        EXPECT_TRUE(Await([&] { return player.Duration() > 3.9; }));
        const double start = options.value("start", 0).toDouble();
        // The first frame shown is the one at or just after the start.
        EXPECT_TRUE(Await([&] { return std::abs(player.TimePos() - start - 0.01) <= 0.03; }))
            << player.TimePos();
    }
}

TEST(MpvPlayer, SeeksToExactFramesAndRendersThem)
{
    MpvPlayer player(MpvPlayer::Output::Window,
                     {{"pause", "yes"}, {"keep-open", "always"}, {"ao", "null"}});
    ASSERT_TRUE(player.IsValid()) << player.ErrorText().toStdString();
    // Frames must be taken as they come, as a video widget does, or the player waits for that.
    QImage image(160, 120, QImage::Format_RGBX8888);
    image.fill(Qt::black);
    QObject::connect(&player, &MpvPlayer::FrameReady, [&] { player.Render(image); });
    QSignalSpy loaded(&player, &MpvPlayer::FileLoaded);
    QSignalSpy restarted(&player, &MpvPlayer::PlaybackRestart);
    player.LoadFile(FourSecondMovie());
    ASSERT_TRUE(loaded.wait(30000));
    ASSERT_TRUE(Await([&] { return player.ContainerFps() == 25; }));
    // The load's own restart must not be taken for the seek's.
    ASSERT_TRUE(Await([&] { return !restarted.isEmpty(); }));
    restarted.clear();

    // A step from an exact seek lands on the picture after the one sought.
    player.SeekAbsolute(2.0);
    ASSERT_TRUE(restarted.wait(30000));
    player.FrameStep();
    EXPECT_TRUE(Await([&] { return player.EstimatedFrameNumber() == 51; })) << player.TimePos();
    EXPECT_EQ(player.EstimatedFrameCount(), 100);

    ASSERT_TRUE(player.Render(image));
    // testsrc has colour bars across its upper part.
    int coloured = 0;
    for (int x = 0; x < image.width(); x += 8)
        coloured += image.pixelColor(x, 30).saturation() > 100;
    EXPECT_GT(coloured, 5);
}

// A movie filmed sideways plays upright, as the frame server shows it (the media library's own
// turning stopped the program).
TEST(MpvPlayer, ShowsSidewaysMoviesUpright)
{
    const QString upright =
        QString::fromStdString(testfiles::MakeMovie("upright.mov", testfiles::TestPicture(1)));
    const QString turned = QString::fromStdString(testfiles::MakeMovie(
        "turned.mov", {"-i", upright, "-c", "copy", "-metadata:s:v", "rotate=90"}));
    MpvPlayer player(MpvPlayer::Output::Window, {{"pause", "yes"}, {"ao", "null"}});
    MpvVideoWidget video(&player);
    video.resize(120, 160);
    video.show();
    QSignalSpy restarted(&player, &MpvPlayer::PlaybackRestart);
    player.LoadFile(turned);
    ASSERT_TRUE(restarted.wait(30000));
    FrameServer server;
    ASSERT_TRUE(server.Open(turned, video.size()));
    ASSERT_NE(server.Rotation(), 0);
    ASSERT_TRUE(Await([&] { return player.Rotation() == server.Rotation(); }));
    const QImage exact = server.FrameNow(0, 20000);
    const QImage shown = video.grab().toImage().convertToFormat(exact.format());
    ASSERT_EQ(shown.size(), exact.size());
    EXPECT_LT(framereference::Difference(shown, exact) * 3,
              framereference::Difference(shown, exact.transformed(QTransform().rotate(180))));
}
