#include "render/movie/MovieRenderer.h"

#include "tests/support/RenderTestMovies.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>

using namespace rendertest;

namespace
{
std::string Entries(const QDir& folder)
{
    return folder.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
        .join(" ")
        .toStdString();
}
} // namespace

// Cancelling, a file that is no movie, a target that is one of the show's movies, a target in
// a missing folder and pictures the check after writing finds too far from their source end
// with a message, and leave no file at the target and no temporary file beside it.
TEST(MovieRenderer, FailuresLeaveNothingBehind)
{
    const QDir folder(QDir(TestEnv::Folder()).filePath("safety"));
    folder.mkpath(".");
    const QString movie = folder.filePath("clip.mp4");
    QFile::copy(Movie(H264Spec("safety.mp4", 0)), movie);
    const QString notMovie = folder.filePath("notes.avi");
    QFile text(notMovie);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a movie at all\n");
    text.close();
    const std::string before = Entries(folder);

    struct Case {
        const char* name;
        QString clip;
        QString target;
        bool cancel;
        int quality;
        const char* message;
    };
    const Case cases[] = {
        {"cancel", movie, folder.filePath("out.mp4"), true, 16, "cancelled"},
        {"not a movie", notMovie, folder.filePath("out.mp4"), false, 16, "notes.avi"},
        {"own movie", movie, movie, false, 16, "one of the show's movies"},
        {"missing folder", movie, folder.filePath("gone/out.mkv"), false, 16,
         "could not be written"},
        {"poor pictures", movie, folder.filePath("out.mp4"), false, 51, "too far from its source"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RenderSettings settings;
        settings.target = c.target;
        settings.quality = c.quality;
        MovieRenderer renderer({{c.clip, -1, -1}, {c.clip, 0.5, 1.5}}, settings);
        renderer.SetProgressSink([&](const RenderProgress& progress) {
            if (c.cancel && progress.stage.startsWith("Encoding"))
                renderer.Cancel();
        });
        const RenderResult result = renderer.Run();
        EXPECT_FALSE(result.succeeded);
        EXPECT_EQ(result.canceled, c.cancel);
        EXPECT_TRUE(result.error.contains(c.message)) << result.error.toStdString();
        EXPECT_EQ(Entries(folder), before);
    }
}

// The tool says what is wrong with its command line; a file size limit (as a full disk) fails
// the render with a message and leaves nothing.
TEST(MovieRenderer, ToolReportsUsageAndFullDisk)
{
    const QDir folder(QDir(TestEnv::Folder()).filePath("tool"));
    folder.mkpath(".");
    const QString movie = Movie(H264Spec("tool.mp4", 0));
    const QString show = folder.filePath("show.asx");
    QFile playlist(show);
    ASSERT_TRUE(playlist.open(QIODevice::WriteOnly));
    playlist.write(QStringLiteral("<asx version=\"3.0\"><entry><ref href=\"%1\"/></entry></asx>")
                       .arg(movie)
                       .toUtf8());
    playlist.close();
    const QString out = folder.filePath("out.mp4");
    struct Case {
        QString command;
        int status;
        const char* message;
    };
    const QString tool = "'" REELMIX_RENDER_PATH "' ";
    const Case cases[] = {
        {tool, 2, "Give the show to render"},
        {tool + "--size 12 '" + show + "' '" + out + "'", 2, "--size"},
        {tool + "--format m3u --mode exact '" + show + "' '" + out + "'", 2, "do not go with"},
        {tool + "'" + folder.filePath("missing.rlx") + "' '" + out + "'", 1, "missing.rlx"},
        {"ulimit -f 4; " + tool + "'" + show + "' '" + out + "'", 1, "larger than this system"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command.toStdString());
        QProcess process;
        process.start("bash", {"-c", c.command});
        ASSERT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), c.status);
        EXPECT_TRUE(process.readAllStandardError().contains(c.message));
        EXPECT_EQ(Entries(folder), "show.asx");
    }
}
