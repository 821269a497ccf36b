#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QProcess>

using namespace testfiles;

// The tool's answers: usage errors (exit 2), failures (1) and what a format could not carry,
// all on standard error.
TEST(RenderTool, ExportsShowsAndSaysWhatItCouldNot)
{
    // One clip of "\m\a.avi" from 1.5 to 4 seconds, a movie that is not there.
    const QString show = QString::fromStdString(NewPath("show.rlx"));
    WriteBytes(show.toStdString(), Hex("01 00 00 00 02 5C 6D 05 61 2E 61 76 69 "
                                       "00 00 00 00 00 00 F8 3F 00 00 00 00 00 00 10 40"));
    const QString out = QString::fromStdString(NewPath("show.edl"));
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* said;
    } cases[] = {
        {{show, out}, 2, "Say which format to write with --format (mpv-edl, xspf, m3u"},
        {{"--format", "avi", show, out}, 2, "There is no format \"avi\""},
        {{"--format", "xspf", show + ".gone", out}, 1, "show.rlx.gone"},
        {{"--format", "xspf", "/dev/zero", out}, 1, "/dev/zero\" is a folder, pipe or device"},
        {{"--format=cmx3600", show, out},
         0,
         "show.edl: 1 clip of a movie of unknown frame rate counted at 25 frames a second"},
    };
    for (const Case& c : cases) {
        QProcess tool;
        tool.start(REELMIX_RENDER_PATH, c.arguments);
        ASSERT_TRUE(tool.waitForFinished(60000));
        const std::string errors = tool.readAllStandardError().toStdString();
        EXPECT_EQ(tool.exitCode(), c.exitCode) << errors;
        EXPECT_NE(errors.find(c.said), std::string::npos) << errors;
    }
    EXPECT_NE(ReadBytes(out.toStdString())
                  .find("001  A        V     C        00:00:01:13 00:00:04:00 01:00:00:00 "
                        "01:00:02:12\n* FROM CLIP NAME: a.avi\n* SOURCE FILE: /m/a.avi\n"),
              std::string::npos);
}
