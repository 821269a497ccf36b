// Runs the real mplayer2 without a screen over movies made by ffmpeg and checks what it played.
#include "platform/files/HostPath.h"
#include "platform/registry/WinReg.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPrograms.h"
#include "util/MyRegistry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpServer>
#include <cmath>
#include <future>
#include <sys/stat.h>

using namespace testfiles;

namespace
{

constexpr double FrameSeconds = 1.0 / 25;
constexpr double MovieSeconds = 4.0;

testprograms::Run RunPlayer(const QString& folder, const QStringList& arguments)
{
    // A bound against hangs only: under the address sanitizer every allocation of the media
    // library goes through the sanitizer's own allocator, and the long show below takes over a
    // minute of a busy machine there.
    return testprograms::RunProgram(REELMIX_MPLAYER2_PATH, QStringList{"--headless"} + arguments,
                                    250000, folder);
}

std::string Time(double seconds)
{
    const int ms = int(seconds * 1000);
    char text[32];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d.%03d", ms / 3600000, ms % 3600000 / 60000,
                  ms % 60000 / 1000, ms % 1000);
    return text;
}

struct Clip {
    std::string hostPath;
    double start;          // negative: none
    double end;            // negative: none
    QStringList make = {}; // ffmpeg's arguments for the file; none: a silent movie
};

// The playlist as the show writer makes it, CR LF line ends included.
std::string Playlist(const std::vector<Clip>& clips)
{
    std::string text = "<ASX VERSION=\"3.0\">\r\n\r\n<!-- Reelmix -->\r\n\r\n"
                       "    <TITLE>Reelmix ASX File</TITLE>\r\n\r\n";
    for (std::size_t i = 0; i < clips.size(); ++i) {
        const std::string path = Program(clips[i].hostPath).Str();
        text += "    <ENTRY>\r\n        <TITLE>Clip " + std::to_string(i + 1) + " of " +
                std::to_string(clips.size()) + "</TITLE>\r\n        <ABSTRACT>" + path +
                "</ABSTRACT>\r\n        <REF HREF=\"" + path + "\" />\r\n";
        if (clips[i].start >= 0)
            text += "        <STARTTIME VALUE=\"" + Time(clips[i].start) + "\" />\r\n";
        if (clips[i].start >= 0 && clips[i].end >= 0)
            text +=
                "        <DURATION VALUE=\"" + Time(clips[i].end - clips[i].start) + "\" />\r\n";
        text += "    </ENTRY>\r\n\r\n";
    }
    return text + "</ASX>\r\n";
}

} // namespace

TEST(Mplayer, PlaysEachEntryForItsInterval)
{
    const QString folder = QString::fromStdString(NewPath("show folder"));
    QDir().mkpath(folder);
    const std::string base = folder.toStdString() + "/";
    const QStringList picture = TestPicture(MovieSeconds);
    const QStringList sound{"-f", "lavfi", "-i", "sine=duration=4"};
    // In AVI, MP3 sound would shift the pictures' timestamps, and so their numbers.
    const QStringList mp2{"-c:a", "mp2"};
    // Sound once kept a file waiting at its start from ever playing; MPEG program streams
    // (whose first picture comes at 0.54 s) started late; a lone first frame was held a second.
    const std::vector<Clip> played{
        {base + "Tom & Jerry.avi", 1.0, 2.5},
        {base + "b.avi", 0.52, 1.52},
        {base + "c.avi", 2.2, -1.0},
        {base + "sound 1.avi", 1.0, 2.0, picture + sound + mp2},
        {base + "sound 2.avi", 1.0, 2.0, picture + sound + mp2},
        {base + "tone.mp3", 1.0, 2.0, sound + QStringList{"-c:a", "mp3"}},
        {base + "delta with space.mpg", 1.0, 2.0,
         picture + QStringList{"-c:v", "mpeg1video", "-f", "mpeg"}},
        {base + "b.avi", 0.0, FrameSeconds},
    };
    for (const Clip& clip : played)
        ASSERT_TRUE(MakeMovieAt(clip.hostPath, clip.make.isEmpty() ? picture : clip.make));
    std::vector<Clip> show = played;
    show.insert(show.begin() + 1, Clip{base + "gone.avi", 0.0, 1.0});
    WriteBytes(base + "Reelmix.asx", Playlist(show));

    const std::string report = NewPath("report.txt");
    const testprograms::Run run =
        RunPlayer(folder, {"--report", QString::fromStdString(report), "Reelmix.asx"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("Clip 2 of 9") && run.errors.contains("gone.avi"))
        << run.errors.toStdString();

    const QStringList lines =
        QString::fromStdString(ReadBytes(report)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), int(played.size())) << ReadBytes(report);
    for (std::size_t i = 0; i < played.size(); ++i) {
        const QStringList fields = lines[int(i)].split('\t');
        ASSERT_EQ(fields.size(), 5) << lines[int(i)].toStdString();
        EXPECT_EQ(fields[0].toStdString(), played[i].hostPath);
        const double end = played[i].end >= 0 ? played[i].end : MovieSeconds;
        // The last position is that of the last frame shown, or with sound the end itself.
        EXPECT_NEAR(fields[1].toDouble(), played[i].start, FrameSeconds) << i;
        EXPECT_NEAR(fields[2].toDouble(), end - FrameSeconds, FrameSeconds + 0.001) << i;
        // The last picture is the one before the end, also where the sound played on to it.
        const bool pictures = !played[i].hostPath.ends_with(".mp3");
        const QString shown = fields[3] + ' ' + fields[4];
        EXPECT_EQ(shown.toStdString(),
                  pictures ? std::to_string(std::lround(played[i].start / FrameSeconds)) + ' ' +
                                 std::to_string(std::lround(end / FrameSeconds) - 1)
                           : "- -")
            << fields[0].toStdString();
    }
}

// A start in a gap of the timestamps shows the picture after the gap, and only that one, even
// where that picture lies past the entry's end.
TEST(Mplayer, AStartInAGapShowsThePictureAfterIt)
{
    const std::string movie = NewPath("gap.mov");
    // Pictures 0-9 every 0.04 s, then 10 and on from 2.0 s.
    ASSERT_TRUE(MakeMovieAt(movie, TestPicture(MovieSeconds) +
                                       QStringList{"-vf", "setpts='N/25/TB+if(gte(N,10),1.6/TB,0)'",
                                                   "-vsync", "passthrough"}));
    const std::string report = NewPath("report.txt");
    WriteBytes(report + ".asx", Playlist({{movie, 1.0, 1.4}}));
    const testprograms::Run run = RunPlayer(
        {}, {"--report", QString::fromStdString(report), QString::fromStdString(report + ".asx")});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QStringList fields = QString::fromStdString(ReadBytes(report)).trimmed().split('\t');
    ASSERT_EQ(fields.size(), 5);
    EXPECT_EQ((fields[3] + ' ' + fields[4]).toStdString(), "10 10");
}

TEST(Mplayer, RefusesWhatItCannotRead)
{
    const QString folder = QString::fromStdString(NewPath("bad"));
    QDir().mkpath(folder);
    WriteBytes(folder.toStdString() + "/page.asx", "<html><body>no playlist</body></html>");
    ASSERT_EQ(::mkfifo((folder + "/fifo.asx").toUtf8().constData(), 0600), 0);
    QDir(folder).mkdir("folder.asx");
    struct Case {
        QStringList arguments;
        const char* said;
    } cases[] = {
        {{"missing.asx"}, "missing.asx"},
        {{"page.asx"}, "page.asx"},
        {{}, "No playlist"},
        {{"fifo.asx"}, "fifo.asx is a pipe or device"},
        {{"/dev/zero"}, "/dev/zero is a pipe or device"},
        {{"folder.asx"}, "folder.asx is a folder"},
    };
    for (const Case& c : cases) {
        const testprograms::Run run = RunPlayer(folder, c.arguments);
        EXPECT_NE(run.exitCode, 0) << c.said;
        EXPECT_TRUE(run.errors.contains(c.said)) << run.errors.toStdString();
    }
}

TEST(Mplayer, AServerThatNeverAnswersGivesWayToTheNextReference)
{
    // Nobody takes the connections, which the system completes all the same: a server that
    // never answers.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const quint16 port = server.serverPort();
    const QString folder = QString::fromStdString(NewPath("silent"));
    QDir().mkpath(folder);
    ASSERT_TRUE(MakeMovieAt(folder.toStdString() + "/clip.avi", TestPicture(MovieSeconds)));
    const QStringList schemes{"rtsp", "mms", "http", "https"};
    // All four at once, since each waits out its own connection timeout.
    std::vector<std::future<testprograms::Run>> players;
    for (const QString& scheme : schemes) {
        const QString playlist =
            QString("<ASX><ENTRY><REF HREF=\"%1://127.0.0.1:%2/x.wmv\"/><REF HREF=\"clip.avi\"/>"
                    "<STARTTIME VALUE=\"1\"/><DURATION VALUE=\"0.2\"/></ENTRY></ASX>")
                .arg(scheme)
                .arg(port);
        WriteBytes((folder + "/" + scheme + ".asx").toStdString(), playlist.toStdString());
        players.push_back(std::async(std::launch::async, RunPlayer, folder,
                                     QStringList{"--report", scheme + ".txt", scheme + ".asx"}));
    }
    for (int i = 0; i < schemes.size(); ++i) {
        const testprograms::Run run = players[std::size_t(i)].get();
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        EXPECT_TRUE(
            run.errors.contains(QString("%1://127.0.0.1:%2/x.wmv\" ").arg(schemes[i]).arg(port)) &&
            run.errors.contains("its next reference is tried"))
            << run.errors.toStdString();
        const std::string report = ReadBytes((folder + "/" + schemes[i] + ".txt").toStdString());
        EXPECT_EQ(report.rfind(folder.toStdString() + "/clip.avi\t1.0", 0), 0u) << report;
    }
}

TEST(Mplayer, RegistersItsFolderForReelmix)
{
    const testprograms::Run run =
        testprograms::RunProgram(REELMIX_MPLAYER2_PATH, {"--register"}, 30000);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();

    MyRegistry key(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer", false);
    CString directory;
    ASSERT_TRUE(key.ReadValueString("Installation Directory", directory));
    EXPECT_EQ(ToHostPath(directory), QFileInfo(REELMIX_MPLAYER2_PATH).absolutePath().toStdString());
}

// Each playlist of the corpus says on its first line what must come of it: "<!-- refused -->",
// or "<!-- plays N from S to E; says A | B -->" (N entries played, each from S seconds to E, and
// the notices A and B given), "from", "to" and "says" being optional ("says" also after
// "refused").
TEST(Mplayer, PlaysOrRefusesEveryPlaylistOfItsCorpus)
{
    const QString folder = QString::fromStdString(NewPath("corpus"));
    QDir().mkpath(folder);
    const std::string base = folder.toStdString() + "/";
    ASSERT_TRUE(MakeMovieAt(base + "clip.avi", TestPicture(MovieSeconds)));
    WriteBytes(base + "damaged.avi", "RIFF\x10\x20\x30\x40"
                                     "AVI LIST" +
                                         std::string(3000, '\x7f'));
    // Known as a playlist by the media library only, which queues its items on its own.
    WriteBytes(base + "reference.avi", "[Reference]\r\nRef1=clip.avi\r\n");
    const std::string clip = ReadBytes(base + "clip.avi");
    // Its header promises four seconds; its pictures end before the first.
    WriteBytes(base + "truncated.avi", clip.substr(0, clip.size() / 10));
    for (const char* name : {"tab\tname.avi", "line\nbreak.avi", "a>b.avi"})
        WriteBytes(base + name, clip);
    ASSERT_TRUE(MakeMovieAt(base + "still.png",
                            {"-f", "lavfi", "-i", "testsrc=size=64x48", "-frames:v", "1"}));
    static const QRegularExpression expected(
        R"(<!-- (refused|plays (\d+)(?: from ([\d.]+))?(?: to ([\d.]+))?)(?:; says (.*))? -->)");
    const QDir corpus(REELMIX_PLAYLISTS_DIR);
    const QStringList names = corpus.entryList({"*.asx"}, QDir::Files);
    ASSERT_GE(names.size(), 10);
    for (const QString& name : names) {
        QByteArray text = QByteArray::fromStdString(ReadBytes(corpus.filePath(name).toStdString()));
        const auto match = expected.match(QString::fromLatin1(QByteArray(text).replace('\0', "")));
        ASSERT_TRUE(match.hasMatch()) << name.toStdString();
        text.replace("@PROGRAMFOLDER@",
                     QByteArray::fromStdString(Program(folder.toStdString()).Str()))
            .replace("@FOLDER@", folder.toUtf8());
        WriteBytes(base + name.toStdString(), text.toStdString());
        const std::string report = NewPath("corpus report.txt");
        const testprograms::Run run =
            RunPlayer(folder, {"--report", QString::fromStdString(report), name});
        const bool refused = match.captured(1) == "refused";
        for (const QString& said : match.captured(5).split(" | ", Qt::SkipEmptyParts))
            EXPECT_TRUE(run.errors.contains(said))
                << name.toStdString() << ": " << said.toStdString();
        EXPECT_EQ(run.exitCode, refused ? 1 : 0)
            << name.toStdString() << ": " << run.errors.toStdString();
        if (refused) {
            EXPECT_TRUE(run.errors.contains(name)) << run.errors.toStdString();
            continue;
        }
        const QStringList lines =
            QString::fromStdString(ReadBytes(report)).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), match.captured(2).toInt())
            << name.toStdString() << run.errors.toStdString();
        for (const QString& line : lines) {
            for (const int field : {1, 2}) {
                if (!match.hasCaptured(field + 2))
                    continue;
                EXPECT_NEAR(line.section('\t', field, field).toDouble(),
                            match.captured(field + 2).toDouble(), FrameSeconds)
                    << name.toStdString() << ": " << line.toStdString();
            }
        }
    }
}

// A show longer than the media library's event queue once lost entries and never ended.
TEST(Mplayer, PlaysEveryEntryOfALongShow)
{
    const QString folder = QString::fromStdString(NewPath("long show"));
    QDir().mkpath(folder);
    const std::string movie = folder.toStdString() + "/a.avi";
    // Frames of 10 ms keep the show short (a minute on a busy machine): what matters is the
    // number of entries.
    ASSERT_TRUE(MakeMovieAt(
        movie, {"-f", "lavfi", "-i", "testsrc=duration=1:size=64x48:rate=100", "-c:v", "mpeg4"}));
    constexpr int Entries = 1100;
    WriteBytes(folder.toStdString() + "/long.asx",
               Playlist(std::vector<Clip>(Entries, Clip{movie, 0.5, 0.51})));
    const std::string report = NewPath("long report.txt");
    const testprograms::Run run =
        RunPlayer(folder, {"--report", QString::fromStdString(report), "long.asx"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QStringList lines =
        QString::fromStdString(ReadBytes(report)).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), Entries);
}
