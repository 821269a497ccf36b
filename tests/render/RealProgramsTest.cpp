#include "render/formats/ExportContext.h"
#include "render/formats/ListFile.h"
#include "render/formats/ListFormats.h"
#include "render/formats/MovieCatalog.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <clocale>
#include <mpv/client.h>

using namespace testfiles;

namespace
{
// All pictures key pictures, so that a reader starting at a mark decodes nothing before it.
std::string MakeMovie(const std::string& name, int seconds)
{
    const std::string path = NewPath(name);
    QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                 QString("testsrc=duration=%1:size=64x48:rate=25").arg(seconds),
                                 "-c:v", "mpeg4", "-g", "1", QString::fromStdString(path)});
    return path;
}

// The show of the tests below: 25 + 15 + 75 pictures, 4.6 seconds.
class RealPrograms : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const std::string a = MakeMovie("a, b's #1.avi", 2);
        const std::string b = MakeMovie("b.avi", 3);
        s_show = {{a, 0.4, 1.4, "first"}, {b, 1.0, 1.6, "second"}, {b, -1, -1, "third"}};
    }

    static std::string Export(const char* key)
    {
        const std::string path = NewPath(std::string("show.") + key);
        MovieCatalog movies;
        ExportContext context(movies);
        std::string error;
        EXPECT_TRUE(
            ListFile::Export(s_show, *ListFormats::ExporterByKey(key), path, context, error))
            << error;
        EXPECT_TRUE(context.notes.Empty()) << context.notes.Text();
        return path;
    }

    // Runs a program to its end (boundedly); its standard output, or empty when it failed.
    static QString Run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        const bool done = process.waitForFinished(120000) && process.exitCode() == 0;
        EXPECT_TRUE(done) << program.toStdString() << ": "
                          << process.readAllStandardError().toStdString();
        return done ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
    }

    static std::vector<ListClip> s_show;
};
std::vector<ListClip> RealPrograms::s_show;

// mpv with neither picture nor sound, holding one file loaded.
class Mpv
{
public:
    explicit Mpv(const std::string& path)
    {
        std::setlocale(LC_NUMERIC, "C");
        m_handle = mpv_create();
        for (const char* option : {"vo=null", "ao=null", "pause=yes", "config=no"}) {
            const std::string pair = option;
            mpv_set_option_string(m_handle, pair.substr(0, pair.find('=')).c_str(),
                                  pair.substr(pair.find('=') + 1).c_str());
        }
        mpv_initialize(m_handle);
        const char* command[] = {"loadfile", path.c_str(), nullptr};
        mpv_command(m_handle, command);
        // Until the file is loaded, or has ended because it could not be (a playlist ends too,
        // giving way to its first entry).
        for (int waits = 0; waits < 600; ++waits) {
            const mpv_event* event = mpv_wait_event(m_handle, 0.1);
            m_loaded = event->event_id == MPV_EVENT_FILE_LOADED;
            const bool failed = event->event_id == MPV_EVENT_END_FILE &&
                                static_cast<const mpv_event_end_file*>(event->data)->reason ==
                                    MPV_END_FILE_REASON_ERROR;
            if (m_loaded || failed)
                break;
        }
    }
    ~Mpv() { mpv_terminate_destroy(m_handle); }

    bool Loaded() const { return m_loaded; }
    template <typename T> T Get(const char* name, mpv_format format) const
    {
        T value{};
        mpv_get_property(m_handle, name, format, &value);
        return value;
    }

private:
    mpv_handle* m_handle;
    bool m_loaded = false;
};
} // namespace

TEST_F(RealPrograms, MpvPlaysTheEditListAsOneTimelineWithAChapterPerClip)
{
    const Mpv mpv(Export("mpv-edl"));
    ASSERT_TRUE(mpv.Loaded());
    EXPECT_NEAR(mpv.Get<double>("duration", MPV_FORMAT_DOUBLE), 4.6, 0.05);
    EXPECT_EQ(mpv.Get<int64_t>("chapters", MPV_FORMAT_INT64), 3);
}

// mpv reads M3U too (without VLC's options): every entry is there and names a movie that is.
// The options are checked by the format's rules: each entry's come right before its path.
TEST_F(RealPrograms, PlayersFindEveryMovieOfTheM3uWithItsStartAndStopBeforeIt)
{
    const std::string path = Export("m3u");
    const Mpv mpv(path);
    ASSERT_TRUE(mpv.Loaded());
    ASSERT_EQ(mpv.Get<int64_t>("playlist-count", MPV_FORMAT_INT64), 3);
    for (int i = 0; i < 3; ++i) {
        const std::string name = "playlist/" + std::to_string(i) + "/filename";
        char* file = mpv.Get<char*>(name.c_str(), MPV_FORMAT_STRING);
        EXPECT_EQ(std::string(file ? file : ""), s_show[std::size_t(i)].file);
        mpv_free(file);
    }
    const std::string text = ReadBytes(path);
    EXPECT_NE(
        text.find("#EXTVLCOPT:start-time=0.4\n#EXTVLCOPT:stop-time=1.4\n" + s_show[0].file + "\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("#EXTINF:-1,third\n" + s_show[2].file + "\n"), std::string::npos) << text;
}

TEST_F(RealPrograms, FfmpegDecodesThePicturesOfTheConcatList)
{
    const QString frames =
        Run("ffprobe", {"-v", "error", "-f", "concat", "-safe", "0", "-count_frames",
                        "-show_entries", "stream=nb_read_frames", "-of", "csv=p=0",
                        QString::fromStdString(Export("ffconcat"))});
    EXPECT_EQ(frames.trimmed(), "115");
}

TEST_F(RealPrograms, MeltLoadsTheMltShowAtItsLengthInFrames)
{
    const QString loaded = QString::fromStdString(NewPath("loaded.mlt"));
    Run("melt", {QString::fromStdString(Export("mlt")), "-consumer", "xml:" + loaded});
    QFile file(loaded);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto match = QRegularExpression(R"re(<tractor [^>]*out="(\d+)")re").match(file.readAll());
    ASSERT_TRUE(match.hasMatch());
    EXPECT_EQ(match.captured(1).toInt() + 1, 115);
}

// VLC would play it, but its packages are too heavy for the test machines (and it refuses to
// run as root): the playlist is held against the format's schema instead.
TEST_F(RealPrograms, TheXspfPlaylistIsValidAgainstTheFormatsSchema)
{
    Run("xmllint", {"--noout", "--schema", REELMIX_RENDER_TESTS_DIR "/xspf-1.xsd",
                    QString::fromStdString(Export("xspf"))});
}
