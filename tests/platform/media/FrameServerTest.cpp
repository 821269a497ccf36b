#include "platform/media/FrameServer.h"

#include "tests/platform/media/FrameReference.h"
#include "tests/support/Await.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTransform>
#include <sys/stat.h>

namespace
{
QString Movie(const char* name, const QStringList& encoding, double seconds = 2)
{
    return QString::fromStdString(
        testfiles::MakeMovie(name, testfiles::TestPicture(seconds) + encoding));
}
} // namespace

// Every family of movie the program opens, and each timestamp trait that once made the server
// give a neighbouring picture, as ffmpeg makes them: every path to every picture must give the
// picture FFmpeg's own decode gives that number.
TEST(FrameServer, NumbersEveryPictureAsFFmpegDoes)
{
    const QStringList x264{"-c:v", "libx264", "-bf", "3", "-pix_fmt", "yuv420p", "-g", "12"};
    const QString groups = Movie("groups.mov", x264);
    // Cut off where no index tells how far it goes, in the middle of a picture.
    const std::string whole = Movie("whole.avi", {"-g", "12"}).toStdString();
    const std::string cut = testfiles::NewPath("cut.avi");
    testfiles::WriteBytes(
        cut, testfiles::ReadBytes(whole).substr(0, QFile(whole.c_str()).size() * 6 / 10));
    const std::pair<QString, const char*> movies[] = {
        {groups, "mov"},
        {Movie("b.avi", {"-bf", "2", "-g", "12"}), "AVI with B-pictures"},
        {Movie("p.mpg", {"-c:v", "mpeg1video", "-bf", "2", "-f", "mpeg"}), "program stream"},
        {Movie("p.mpeg", {"-c:v", "mpeg2video", "-bf", "2", "-f", "vob"}), "DVD stream"},
        {Movie("e.m1v", {"-c:v", "mpeg1video", "-bf", "2", "-f", "mpeg1video"}), "MPEG-1 video"},
        {Movie("e.mpv", {"-c:v", "mpeg2video", "-bf", "2", "-f", "mpeg2video"}), "MPEG-2 video"},
        {Movie("gaps.avi", {"-vf", "select='not(between(n,10,17))'", "-vsync", "passthrough"}),
         "gaps"},
        {Movie("variable.mov", QStringList{"-vf", "setpts='(N+floor(N/5)*0.6)/25/TB'", "-vsync",
                                           "passthrough", "-video_track_timescale", "600"} +
                                   x264),
         "variable rate"},
        {Movie("late.mov", QStringList{"-vf", "setpts='N/25/TB+if(gte(N,49),1/25/TB,0)'", "-vsync",
                                       "passthrough"} +
                               x264),
         "last picture late"},
        {QString::fromStdString(
             testfiles::MakeMovie("edit.mov", {"-ss", "0.7", "-i", groups, "-c", "copy"})),
         "edit list"},
        {QString::fromStdString(cut), "cut-off AVI"},
    };
    for (const auto& [movie, trait] : movies) {
        SCOPED_TRACE(trait);
        framereference::CheckWalks(movie, 40);
    }
}

// A movie filmed sideways is shown upright, as players (and ffmpeg) turn it.
TEST(FrameServer, TurnsPicturesAsPlayersDo)
{
    const QString turned = QString::fromStdString(
        testfiles::MakeMovie("turned.mov", {"-i", Movie("upright.mov", {}, 1), "-c", "copy",
                                            "-metadata:s:v", "rotate=90"}));
    FrameServer server;
    ASSERT_TRUE(server.Open(turned, {320, 320}));
    const QImage shown = server.FrameNow(0, 20000);
    ASSERT_EQ(shown.size(), QSize(120, 160));
    const std::string first = testfiles::NewPath("first.png");
    ASSERT_TRUE(
        testfiles::MakeMovieAt(first, {"-i", turned, "-frames:v", "1", "-vf", "scale=120:160"}));
    const QImage ffmpeg = QImage(QString::fromStdString(first)).convertToFormat(shown.format());
    EXPECT_LT(framereference::Difference(shown, ffmpeg) * 3,
              framereference::Difference(shown, ffmpeg.transformed(QTransform().rotate(180))));
}

// A file that never answers (a pipe no one writes to) neither holds up closing nor the thread
// that asked.
TEST(FrameServer, ClosingNeverWaitsForTheFile)
{
    const std::string pipe = testfiles::NewPath("silent.avi");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    FrameServer server;
    server.OpenAsync(QString::fromStdString(pipe), {160, 120});
    EXPECT_TRUE(server.IsOpening());
    EXPECT_EQ(server.FrameCount(), 0);
    server.Close();
    EXPECT_FALSE(server.IsOpening());
    QFile writer(QString::fromStdString(pipe)); // lets the abandoned reader end
    EXPECT_TRUE(writer.open(QIODevice::WriteOnly));
}

TEST(FrameServer, SoundOnlyHasFrameZeroAndADuration)
{
    const QString path = QString::fromStdString(
        testfiles::MakeMovie("sound.mp2", {"-f", "lavfi", "-i", "sine=d=2", "-c:a", "mp2"}));
    FrameServer server;
    ASSERT_TRUE(server.Open(path, {320, 240})) << server.ErrorText().toStdString();
    EXPECT_FALSE(server.HasVideo());
    EXPECT_EQ(server.FrameCount(), 0);
    EXPECT_NEAR(server.DurationSeconds(), 2, 0.05);
    EXPECT_EQ(server.FrameAtTime(1.5), 0);
    EXPECT_TRUE(server.FrameNow(0, 1000).isNull());
}

TEST(FrameServer, RefusesFilesThatAreNotMovies)
{
    const std::string text = testfiles::NewPath("notes.avi");
    testfiles::WriteBytes(text, "not a movie at all\n");
    for (const std::string& path : {text, testfiles::NewPath("missing.avi")}) {
        FrameServer server;
        EXPECT_FALSE(server.Open(QString::fromStdString(path), {320, 240}));
        EXPECT_FALSE(server.ErrorText().isEmpty());
        EXPECT_FALSE(server.HasVideo());
    }
}

// Held keys send requests faster than pictures come: only the newest is shown.
TEST(FrameServer, ReportsTheNewestRequestOnTheGuiThread)
{
    FrameServer server;
    ASSERT_TRUE(server.Open(Movie("newest.mov", {}, 4), {160, 120}));
    const QImage last = server.FrameNow(90, 20000);
    QSignalSpy ready(&server, &FrameServer::FrameReady);
    // Pictures delivered before the event loop runs, for requests that newer ones replace.
    for (int n : {10, 70})
        ASSERT_FALSE(server.FrameNow(n, 20000).isNull());
    for (int n : {40, 90})
        server.Request(n);
    ASSERT_TRUE(Await([&] { return !ready.isEmpty() && ready.last().at(0).toInt() == 90; }));
    EXPECT_EQ(ready.count(), 1);
    EXPECT_EQ(ready.last().at(1).value<QImage>(), last);
}

// A file name is never taken for an address the library would go out to.
TEST(FrameServer, OpensANameThatLooksLikeAnAddress)
{
    const QString name = "http:clip.mov"; // relative to the test folder, the working directory
    QFile::copy(Movie("address.mov", {}), name);
    FrameServer server;
    EXPECT_TRUE(server.Open(name, {160, 120})) << server.ErrorText().toStdString();
    EXPECT_EQ(server.FrameCount(), 50);
}
