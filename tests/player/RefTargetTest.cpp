#include "player/RefTarget.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <sys/stat.h>

using namespace testfiles;

TEST(RefTarget, HandsOnOnlyMoviesAndMediaAddresses)
{
    const std::string folder = NewPath("refs");
    QDir().mkpath(QString::fromStdString(folder + "/sub"));
    WriteBytes(folder + "/a b.avi", "RIFF movie");
    WriteBytes(folder + "/list.m3u", "a b.avi\n");
    WriteBytes(folder + "/disguised.avi", "\xEF\xBB\xBF  #EXTM3U\n/a.avi\n");
    WriteBytes(folder + "/wide.mpg", std::string("\xFF\xFE<\0a\0s\0x\0", 10));
    ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0600), 0);
    const QString movie = QString::fromStdString(folder + "/a b.avi");
    struct Case {
        std::string href;
        QString target;   // empty: refused
        const char* said; // part of the reason when refused
    } cases[] = {
        {"a b.avi", movie, ""},
        {"sub\\..\\a b.avi", movie, ""},
        {Program(folder + "/a b.avi").Str(), movie, ""},
        {folder + "/a b.avi", movie, ""},
        {"file://" + folder + "/a%20b.avi", movie, ""},
        {"HTTP://example.org/a.avi", "HTTP://example.org/a.avi", ""},
        {"rtsp://example.org/live", "rtsp://example.org/live", ""},
        {"mms://example.org/a.wmv", "mms://example.org/a.wmv", ""},
        {"av://lavfi:testsrc", "", "refused"},
        {"edl://a.avi", "", "refused"},
        {"https://example.org/radio.pls?x=1", "", "playlist"},
        {"gone.avi", "", "missing"},
        {"sub", "", "folder"},
        {"pipe", "", "pipe"},
        {"list.m3u", "", "playlist"},
        {"disguised.avi", "", "playlist"},
        {"wide.mpg", "", "playlist"},
    };
    for (const Case& c : cases) {
        const RefTarget target = RefTarget::Resolve(c.href, QString::fromStdString(folder));
        EXPECT_EQ(target.m_target, c.target) << c.href;
        EXPECT_TRUE(target.m_problem.contains(c.said) && target.m_target.isEmpty() != !*c.said)
            << c.href << ": " << target.m_problem.toStdString();
    }
}
