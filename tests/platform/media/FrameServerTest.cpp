#include "platform/media/FrameServer.h"

#include "tests/platform/media/FrameReference.h"
#include "tests/support/Await.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTransform>
#include <sys/stat.h>
#include <vector>

namespace
{

constexpr int Frames = 100; // 4 s at 25 pictures a second, a key picture every 25
constexpr int Bits = 8;

// Picture n shows n in binary as eight stripes, white for a one, lowest bit on the left.
QString MakeNumberedMovie(const char* extension, const QStringList& encoding)
{
    const QString source = "color=c=black:s=160x120:r=25:d=4,geq=lum='if(bitand(N\\,pow(2\\,"
                           "floor(X*8/W)))\\,235\\,16)':cb=128:cr=128";
    return QString::fromStdString(
        testfiles::MakeMovie(std::string("m.") + extension,
                             QStringList{"-f", "lavfi", "-i", source, "-g", "25"} + encoding));
}

int NumberShown(const QImage& picture)
{
    if (picture.isNull())
        return -1;
    int n = 0;
    for (int bit = 0; bit < Bits; ++bit) {
        const QPoint centre((2 * bit + 1) * picture.width() / (2 * Bits), picture.height() / 2);
        n |= (qGray(picture.pixel(centre)) > 128) << bit;
    }
    return n;
}

struct Family {
    const char* extension;
    QStringList encoding;
    bool startsLate; // the container's first timestamp is above 0
};

} // namespace

// Steps both ways over key pictures, jumps, and goes to the end in every family of movie the
// program opens; each picture must carry its own number.
TEST(FrameServer, GivesThePictureOfEachNumberInEveryFamily)
{
    const Family families[] = {
        {"avi", {"-c:v", "mpeg4", "-bf", "2"}, false},
        {"mov",
         {"-c:v", "libx264", "-bf", "3", "-pix_fmt", "yuv420p", "-sc_threshold", "0"},
         false},
        {"mpg", {"-c:v", "mpeg1video", "-bf", "2", "-f", "mpeg"}, true},
        {"mpeg", {"-c:v", "mpeg2video", "-bf", "2", "-f", "vob"}, true},
        {"m1v", {"-c:v", "mpeg1video", "-bf", "2", "-f", "mpeg1video"}, false},
        {"mpv", {"-c:v", "mpeg2video", "-bf", "2", "-f", "mpeg2video"}, false},
    };
    // Back and forth over the key pictures near 25 and 50 (each encoder places them a little
    // differently), jumps, the last picture.
    std::vector<int> walk{0};
    for (int n = 30; n >= 20; --n)
        walk.push_back(n);
    for (int n = 21; n <= 31; ++n)
        walk.push_back(n);
    walk.insert(walk.end(), {60, 99, 98, 1});
    for (int n = 55; n >= 45; --n)
        walk.push_back(n);
    for (const Family& family : families) {
        const QString movie = MakeNumberedMovie(family.extension, family.encoding);
        // Without room to keep pictures, each one is decoded from its key picture on request.
        for (size_t cacheBytes : {size_t(100) << 20, size_t(0)}) {
            SCOPED_TRACE(std::string(family.extension) + (cacheBytes ? "" : ", no cache"));
            FrameServer server;
            server.SetCacheLimit(cacheBytes);
            ASSERT_TRUE(server.Open(movie, {150, 120})) << server.ErrorText().toStdString();
            EXPECT_TRUE(server.HasVideo());
            EXPECT_EQ(server.FrameCount(), Frames);
            EXPECT_DOUBLE_EQ(server.FramesPerSecond(), 25);
            EXPECT_DOUBLE_EQ(server.DurationSeconds(), 4);
            EXPECT_EQ(server.FirstPts() > 0.1, family.startsLate) << server.FirstPts();
            for (int n : walk) {
                EXPECT_EQ(NumberShown(server.FrameNow(n, 20000)), n);
                EXPECT_EQ(server.FrameAtTime(server.TimeOfFrame(n)), n);
            }
            EXPECT_EQ(NumberShown(server.FrameNow(Frames + 5, 20000)), Frames - 1);
        }
    }
}

// Each trait that once made the server give a neighbouring picture, as ffmpeg makes it: every
// path to every picture must give the picture FFmpeg's own decode gives that number.
TEST(FrameServer, NumbersEveryPictureAsFFmpegDoesWhateverTheTimestamps)
{
    const QStringList x264{"-c:v", "libx264", "-bf", "2", "-pix_fmt", "yuv420p"};
    const std::string groups = testfiles::MakeMovie("groups.mp4", testfiles::TestPicture(2) + x264 +
                                                                      QStringList{"-g", "12"});
    const std::pair<const char*, QStringList> cases[] = {
        {"gaps.avi",
         testfiles::TestPicture(2) + QStringList{"-vf", "select='not(between(n,10,17))'", "-vsync",
                                                 "passthrough", "-g", "12"}},
        {"variable.mov", testfiles::TestPicture(2) +
                             QStringList{"-vf", "setpts='(N+floor(N/5)*0.6)/25/TB'", "-vsync",
                                         "passthrough", "-video_track_timescale", "600"} +
                             x264},
        {"late-last.mov", testfiles::TestPicture(2) +
                              QStringList{"-vf", "setpts='N/25/TB+if(gte(N,49),1/25/TB,0)'",
                                          "-vsync", "passthrough"} +
                              x264},
        {"edit-list.mov", {"-ss", "0.7", "-i", QString::fromStdString(groups), "-c", "copy"}},
        {"rotated.mov",
         testfiles::TestPicture(2) + x264 + QStringList{"-metadata:s:v", "rotate=90"}},
        {"b-pictures.avi", testfiles::TestPicture(2) + QStringList{"-bf", "2", "-g", "12"}},
    };
    for (const auto& [name, arguments] : cases) {
        SCOPED_TRACE(name);
        framereference::CheckWalks(QString::fromStdString(testfiles::MakeMovie(name, arguments)),
                                   50);
    }
    // Cut off where no index tells how far it goes, and in the middle of a picture.
    const std::string whole =
        testfiles::MakeMovie("whole.avi", testfiles::TestPicture(2) + QStringList{"-g", "12"});
    const std::string cut = testfiles::NewPath("cut.avi");
    const std::string bytes = testfiles::ReadBytes(whole);
    testfiles::WriteBytes(cut, bytes.substr(0, bytes.size() * 6 / 10));
    SCOPED_TRACE("cut.avi");
    framereference::CheckWalks(QString::fromStdString(cut), 50);
}

// The mean difference of two pictures of one size, per colour channel.
double Difference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// A movie filmed sideways is shown upright, as players (and ffmpeg) turn it.
TEST(FrameServer, TurnsPicturesAsPlayersDo)
{
    const std::string upright = testfiles::MakeMovie("upright.mov", testfiles::TestPicture(1));
    const QString turned = QString::fromStdString(
        testfiles::MakeMovie("turned.mov", {"-i", QString::fromStdString(upright), "-c", "copy",
                                            "-metadata:s:v", "rotate=90"}));
    FrameServer server;
    ASSERT_TRUE(server.Open(turned, {320, 320}));
    const QImage shown = server.FrameNow(0, 20000);
    ASSERT_EQ(shown.size(), QSize(120, 160));
    const std::string first = testfiles::NewPath("first.png");
    ASSERT_TRUE(
        testfiles::MakeMovieAt(first, {"-i", turned, "-frames:v", "1", "-vf", "scale=120:160"}));
    const QImage ffmpeg = QImage(QString::fromStdString(first)).convertToFormat(shown.format());
    EXPECT_LT(Difference(shown, ffmpeg) * 3,
              Difference(shown, ffmpeg.transformed(QTransform().rotate(180))));
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
    ASSERT_TRUE(server.Open(MakeNumberedMovie("mov", {"-c:v", "libx264"}), {160, 120}));
    QSignalSpy ready(&server, &FrameServer::FrameReady);
    // Pictures delivered before the event loop runs, for requests that newer ones replace.
    for (int n : {10, 70})
        ASSERT_EQ(NumberShown(server.FrameNow(n, 20000)), n);
    for (int n : {40, 90})
        server.Request(n);
    ASSERT_TRUE(Await([&] { return !ready.isEmpty() && ready.last().at(0).toInt() == 90; }));
    EXPECT_EQ(ready.count(), 1);
    EXPECT_EQ(NumberShown(ready.last().at(1).value<QImage>()), 90);
}

// A file name is never taken for an address the library would go out to.
TEST(FrameServer, OpensANameThatLooksLikeAnAddress)
{
    const QString name = "http:clip.mov"; // relative to the test folder, the working directory
    QFile::copy(MakeNumberedMovie("mov", {"-c:v", "libx264"}), name);
    FrameServer server;
    EXPECT_TRUE(server.Open(name, {160, 120})) << server.ErrorText().toStdString();
    EXPECT_EQ(server.FrameCount(), Frames);
}
