// The show file on disk through a saver that is killed, limited or denied, and through a file
// that changes behind the program's back: always the old show or the new one, never a mix.
#include "show/CReelmixDoc.h"
#include "show/Clip.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <linux/capability.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace testfiles;

namespace
{
void Fill(CReelmixDoc& doc, int clips, const std::string& tag)
{
    for (int i = 0; i < clips; ++i)
        doc.m_clips.AddTail(
            new Clip(("\\movies\\" + tag).c_str(), (std::to_string(i) + ".avi").c_str()));
}

// What a save in a child process said: its result, then its first message.
std::string SaveInChild(CReelmixDoc& doc, const std::string& path,
                        const std::function<void()>& restrict)
{
    int pipe[2];
    if (::pipe(pipe) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        restrict();
        MessageCapture messages;
        std::string said = doc.OnSaveDocument(Program(path)) ? "saved" : "failed";
        for (const CString& text : messages.Texts())
            said += "|" + text.Str();
        const bool written = ::write(pipe[1], said.data(), said.size()) == ssize_t(said.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(pipe[1]);
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, std::size_t(n));
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return said;
}

// The superuser keeps to permission bits once its capabilities are gone.
void DropCapabilities()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[2]{};
    ::syscall(SYS_capset, &header, none);
}

void LimitFileSize()
{
    std::signal(SIGXFSZ, SIG_IGN); // as the program does at start
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}
} // namespace

TEST(ShowFileSafety, ASaverKilledAtAnyMomentLeavesTheOldOrTheNewShow)
{
    const std::string folder = NewPath("killed");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/show.rlx";
    CReelmixDoc oldShow, newShow;
    Fill(oldShow, 5000, "old");
    Fill(newShow, 6000, "new");
    ASSERT_TRUE(newShow.OnSaveDocument(Program(path)));
    const std::string newBytes = ReadBytes(path);
    ASSERT_TRUE(oldShow.OnSaveDocument(Program(path)));
    const std::string oldBytes = ReadBytes(path);
    // A whole save in a child, forking included, sets the span the kills are spread over: a
    // sanitizer build forks far slower than it saves.
    const auto start = std::chrono::steady_clock::now();
    if (const pid_t child = ::fork(); child == 0)
        ::_exit(oldShow.OnSaveDocument(Program(path)) ? 0 : 1);
    else
        ::waitpid(child, nullptr, 0);
    const auto saveTime = std::chrono::steady_clock::now() - start;

    std::mt19937 random(13);
    std::uniform_int_distribution<long> moment(0, 2 * saveTime / std::chrono::microseconds(1));
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < 200; ++round) {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(newShow.OnSaveDocument(Program(path)) ? 0 : 1);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string bytes = ReadBytes(path);
        ASSERT_TRUE(bytes == oldBytes || bytes == newBytes) << "round " << round;
        sawOld += bytes == oldBytes;
        sawNew += bytes == newBytes;
        WriteBytes(path, oldBytes);
    }
    // The moments covered the save: some came before its end, some after.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    // The temporary files killed saves left are gone with the next save.
    ASSERT_TRUE(oldShow.OnSaveDocument(Program(path)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST(ShowFileSafety, SavesThatCannotBeWrittenAreReportedAndChangeNothing)
{
    const struct {
        std::function<void()> restrict;
        mode_t folderMode;
        const char* message;
    } cases[] = {
        {LimitFileSize, 0755, "The disk is full while accessing \"%s\"."},
        {DropCapabilities, 0555, "Access to \"%s\" was denied."},
    };
    for (const auto& c : cases) {
        const std::string folder = NewPath("limited");
        std::filesystem::create_directory(folder);
        const std::string path = folder + "/show.rlx";
        CReelmixDoc oldShow, newShow;
        Fill(oldShow, 1, "old");
        Fill(newShow, 1000, "new");
        ASSERT_TRUE(oldShow.OnSaveDocument(Program(path)));
        const std::string oldBytes = ReadBytes(path);
        ::chmod(folder.c_str(), c.folderMode);
        const std::string said = SaveInChild(newShow, path, c.restrict);
        ::chmod(folder.c_str(), 0755);
        // The user is told about the show, not about the temporary file beside it.
        std::string message = c.message;
        message.replace(message.find("%s"), 2, path);
        EXPECT_EQ(said, "failed|" + message +
                            "\n\nThe show was not saved. The file on disk is unchanged.");
        EXPECT_EQ(ReadBytes(path), oldBytes);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    }
}

TEST(ShowFileSafety, AFileGoneOrMadeAFolderSinceOpeningIsSavedOrReported)
{
    for (const bool becomesFolder : {false, true}) {
        const std::string path = NewPath("moved.rlx");
        CReelmixDoc doc;
        Fill(doc, 3, "old");
        ASSERT_TRUE(doc.OnSaveDocument(Program(path)));
        ASSERT_TRUE(doc.OnOpenDocument(Program(path)));
        const std::string bytes = ReadBytes(path);
        std::filesystem::remove(path);
        if (becomesFolder)
            std::filesystem::create_directory(path);
        doc.SetModifiedFlag();
        MessageCapture messages;
        EXPECT_EQ(doc.OnSaveDocument(Program(path)), !becomesFolder);
        EXPECT_EQ(messages.Texts().size(), size_t(becomesFolder));
        EXPECT_EQ(doc.IsModified(), becomesFolder);
        if (becomesFolder)
            EXPECT_TRUE(std::filesystem::is_directory(path));
        else
            EXPECT_EQ(ReadBytes(path), bytes);
    }
}
