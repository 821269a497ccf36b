#include "platform/media/MovieProbe.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QProcess>

using namespace testfiles;

// The rate, pictures and length of movies of the kinds people keep, without decoding them.
TEST(MovieProbe, ReadsRateAndLengthFromTheContainer)
{
    struct Case {
        const char* name;
        QStringList encoding;
        int rateNum;
        int rateDen;
        int64_t frames;
    } cases[] = {
        {"index.avi", {"-c:v", "mpeg4"}, 25, 1, 50},
        {"ntsc.mov", {"-r", "30000/1001", "-c:v", "mpeg4"}, 30000, 1001, 60},
        {"stream.mpg", {"-c:v", "mpeg2video"}, 25, 1, 50},
        {"sound.mp2", {"-vn", "-c:a", "mp2"}, 0, 1, 0},
    };
    for (const Case& c : cases) {
        const QString path = QString::fromStdString(NewPath(c.name));
        QProcess::execute("ffmpeg", QStringList{"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                                "testsrc=duration=2:size=64x48:rate=25", "-f",
                                                "lavfi", "-i", "sine=duration=2"} +
                                        c.encoding + QStringList{path});
        MovieProbe::Facts facts;
        QString error;
        ASSERT_TRUE(MovieProbe::Probe(path, facts, error)) << c.name << error.toStdString();
        EXPECT_EQ(facts.rateNum, c.rateNum) << c.name;
        EXPECT_EQ(facts.rateDen, c.rateDen) << c.name;
        EXPECT_NEAR(double(facts.frames), double(c.frames), 1.0) << c.name;
        EXPECT_NEAR(facts.seconds, 2.0, 0.1) << c.name;
    }
    const std::string text = NewPath("notes.avi");
    WriteBytes(text, "not a movie");
    MovieProbe::Facts facts;
    QString error;
    EXPECT_FALSE(MovieProbe::Probe(QString::fromStdString(text), facts, error));
    EXPECT_FALSE(error.isEmpty());
}
