#include "show/PlaylistWriter.h"

#include "platform/registry/WinReg.h"
#include "show/Clip.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestFiles.h"
#include "util/MyRegistry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <chrono>
#include <memory>
#include <thread>

using namespace testfiles;

namespace
{
// Line ends as they reach the disk.
std::string Crlf(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

const std::string kHeader = "<ASX VERSION=\"3.0\">\n"
                            "\n"
                            "<!-- Reelmix show playlist, written by Reelmix from Brantwell -->\n"
                            "<!-- More about Reelmix at https://www.brantwell.com/reelmix -->\n"
                            "<!-- Copyright (C) 2026 Brantwell. All rights reserved. -->\n"
                            "\n"
                            "    <TITLE>Reelmix ASX File</TITLE>\n"
                            "    <AUTHOR>Reelmix Program</AUTHOR>\n"
                            "    <COPYRIGHT>Copyright (C) 2026 Brantwell</COPYRIGHT>\n"
                            "    <MOREINFO HREF=\"https://www.brantwell.com/reelmix\" />\n"
                            "\n";

std::string Entry(int row, int count, const std::string& path, const std::string& times)
{
    return "    <ENTRY>\n        <TITLE>Clip " + std::to_string(row) + " of " +
           std::to_string(count) + "</TITLE>\n        <ABSTRACT>" + path +
           "</ABSTRACT>\n        <REF HREF=\"" + path + "\" />\n" + times + "    </ENTRY>\n\n";
}

std::string Start(const char* t)
{
    return std::string("        <STARTTIME VALUE=\"") + t + "\" />\n";
}
std::string Duration(const char* t)
{
    return std::string("        <DURATION VALUE=\"") + t + "\" />\n";
}

std::unique_ptr<Clip> MakeClip(const char* dir, const char* file, double start, double end)
{
    auto clip = std::make_unique<Clip>(dir, file);
    clip->m_start = start;
    clip->m_end = end;
    return clip;
}

std::string Written(const PlaylistWriter::Rows& rows)
{
    PlaylistWriter::WritePlaylist(rows);
    return ReadBytes("Reelmix.asx");
}
} // namespace

TEST(PlaylistWriter, WritesEntriesAsTheTablesSay)
{
    struct Case {
        const char* name;
        double start, end;
        std::string times;
    } cases[] = {
        {"no marks", -1, -1, ""},
        {"start after end", 2.0, 1.0, Start("0000:00:02.000")},
        {"equal marks", 5.5, 5.5, Start("0000:00:05.500") + Duration("0000:00:00.000")},
        {"one hour", 3600.0, 3725.5, Start("0001:00:00.000") + Duration("0000:02:05.500")},
        {"minutes", 75.25, 80.0, Start("0000:01:15.250") + Duration("0000:00:04.750")},
        {"unset end", 1.0, -1.0, Start("0000:00:01.000")},
        {"duration from the difference", 0.0006, 0.0024,
         Start("0000:00:00.000") + Duration("0000:00:00.001")},
        {"beyond 32 bits", 3e6, 3e6 + 1, Start("0833:20:00.000") + Duration("0000:00:01.000")},
        {"not a number", std::nan(""), 1.0, ""},
    };
    for (const Case& c : cases) {
        auto clip = MakeClip("\\home\\ann\\Movies", "a.avi", c.start, c.end);
        EXPECT_EQ(Written({clip.get()}),
                  Crlf(kHeader + Entry(1, 1, "/home/ann/Movies/a.avi", c.times) + "</ASX>\n"))
            << c.name;
    }
}

TEST(PlaylistWriter, RowsWithoutClipsKeepTheNumbersOfLaterRows)
{
    auto a = MakeClip("\\home\\ann", "a&b.avi", -1, -1);
    auto c = MakeClip("\\home\\ann", "say \"<hi>\".avi", -1, -1);
    EXPECT_EQ(Written({a.get(), nullptr, c.get()}),
              Crlf(kHeader + Entry(1, 3, "/home/ann/a&b.avi", "") +
                   Entry(3, 3, "/home/ann/say &quot;&lt;hi&gt;&quot;.avi", "") + "</ASX>\n"));
}

TEST(PlaylistWriter, FormatTimeSplitsHugeCountsWithoutOverflow)
{
    EXPECT_EQ(PlaylistWriter::FormatTime(0), CString("0000:00:00.000"));
    EXPECT_EQ(PlaylistWriter::FormatTime(360000000000LL), CString("100000:00:00.000"));
    EXPECT_EQ(PlaylistWriter::ToMilliseconds(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(PlaylistWriter::ToMilliseconds(-0.0009), 0);
    EXPECT_EQ(PlaylistWriter::ToMilliseconds(-1.0), -1000);
}

namespace
{
// Each test of the command works in a folder of its own, where "Reelmix.asx" is written.
class PlayShow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = NewPath("play");
        QDir().mkpath(QString::fromStdString(m_folder));
        m_previous = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(m_folder));
        MyRegistry(HKEY_LOCAL_MACHINE, "Software", true).DeleteKey("Microsoft");
    }
    void TearDown() override { QDir::setCurrent(m_previous); }

    // A stand-in player that records its arguments and folder, installed as mplayer2.
    std::string InstallRecordingPlayer(const std::string& folderName)
    {
        const std::string dir = m_folder + "/" + folderName;
        QDir().mkpath(QString::fromStdString(dir));
        const std::string script = dir + "/mplayer2";
        WriteBytes(script, "#!/bin/sh\nprintf '%s|' \"$@\" > \"" + dir +
                               "/record.tmp\"\npwd >> \"" + dir + "/record.tmp\"\nmv \"" + dir +
                               "/record.tmp\" \"" + dir + "/record\"\n");
        QFile::setPermissions(QString::fromStdString(script),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        MyRegistry key(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer", true);
        key.SaveValueString("Installation Directory", Program(dir));
        return dir + "/record";
    }

    std::string m_folder;
    QString m_previous;
};

std::string AwaitFile(const std::string& path)
{
    for (int i = 0; i < 300 && !QFile::exists(QString::fromStdString(path)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return ReadBytes(path);
}
} // namespace

TEST_F(PlayShow, StartsThePlayerFromItsInstallationDirectory)
{
    // A folder with a space, resolved by trying longer and longer prefixes of the command line.
    const std::string record = InstallRecordingPlayer("Media Player");
    auto clip = MakeClip("\\m", "a.avi", -1, -1);
    MessageCapture messages;
    PlaylistWriter::OnPlayShow({clip.get()});
    EXPECT_EQ(AwaitFile(record), "Reelmix.asx|" + m_folder + "\n");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(ReadBytes("Reelmix.asx").substr(0, 21), "<ASX VERSION=\"3.0\">\r\n");
}

TEST_F(PlayShow, CommandLineFromTheSettings)
{
    EXPECT_EQ(PlaylistWriter::PlayerCommandLine(), CString("\\mplayer2.exe Reelmix.asx"));
    // The key did not exist, and the command created it.
    EXPECT_TRUE(MyRegistry(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer", false).IsOpen());
    MyRegistry(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer", true)
        .SaveValueString("Installation Directory", "\\opt\\x y");
    EXPECT_EQ(PlaylistWriter::PlayerCommandLine(), CString("\\opt\\x y\\mplayer2.exe Reelmix.asx"));
}

TEST_F(PlayShow, MessagesWhenThereIsNothingOrNoPlayer)
{
    MessageCapture messages;
    PlaylistWriter::OnPlayShow({});
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0],
              CString("No Clips to display!  Use the Multi-Load button to load some Clips first!"));
    EXPECT_FALSE(QFile::exists("Reelmix.asx"));

    auto clip = MakeClip("\\m", "a.avi", 1, 2);
    MyRegistry(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer", true)
        .SaveValueString("Installation Directory", Program(m_folder + "/nowhere"));
    PlaylistWriter::OnPlayShow({clip.get()});
    ASSERT_EQ(messages.Texts().size(), 2u);
    EXPECT_EQ(messages.Texts()[1].Find("Could not locate and run the Microsoft Windows Media "
                                       "Player.\n\nYou must download"),
              0);
    EXPECT_NE(messages.Texts()[1].Find("from the Microsoft  Web site at "), -1);
    EXPECT_TRUE(QFile::exists("Reelmix.asx"));
}

TEST_F(PlayShow, APlaylistThatCannotBeWrittenIsReportedAndNothingStarts)
{
    const std::string unused = InstallRecordingPlayer("player");
    QDir().mkdir("Reelmix.asx");
    auto clip = MakeClip("\\m", "a.avi", 1, 2);
    MessageCapture messages;
    PlaylistWriter::OnPlayShow({clip.get()});
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_NE(messages.Texts()[0].Find("Reelmix.asx"), -1) << messages.Texts()[0];
    // A player started later has recorded by the time one started then would have.
    QDir().rmdir("Reelmix.asx");
    const std::string record = InstallRecordingPlayer("next player");
    PlaylistWriter::OnPlayShow({clip.get()});
    EXPECT_FALSE(AwaitFile(record).empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(unused)));
}
