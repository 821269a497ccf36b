#include "platform/process/WinProcess.h"

#include "platform/core/WinError.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QThread>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace testfiles;
namespace fs = std::filesystem;

namespace
{

// A program that writes its current directory, nice value, $REELMIX_VALUE and arguments to
// recordPath, one per line, the arguments in brackets.
void WriteRecorder(const std::string& scriptPath, const std::string& recordPath)
{
    fs::create_directories(fs::path(scriptPath).parent_path());
    std::ofstream(scriptPath) << "#!/bin/sh\n"
                              << "{ pwd; nice; echo \"$REELMIX_VALUE\"\n"
                              << "  for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '"
                              << recordPath << ".part'\n"
                              << "mv '" << recordPath << ".part' '" << recordPath << "'\n";
    chmod(scriptPath.c_str(), 0755);
}

// Waits (boundedly) for what a started program leaves behind.
bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 1000 && !condition(); ++i)
        QThread::msleep(10);
    return condition();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool IsGoneOrRunning(DWORD pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    return text.empty() || text.find(") Z ") == std::string::npos;
}

struct Started {
    BOOL ok = FALSE;
    DWORD error = ERROR_SUCCESS;
    PROCESS_INFORMATION info;
};

Started Start(const std::string& commandLine, const char* directory = nullptr,
              const char* environment = nullptr, DWORD flags = 0,
              const char* applicationName = nullptr)
{
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.resize(std::max<std::size_t>(buffer.size() + 1, MAX_PATH));
    STARTUPINFOA startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    Started started;
    SetLastError(ERROR_SUCCESS);
    started.ok = CreateProcessA(applicationName, buffer.data(), nullptr, nullptr, FALSE, flags,
                                const_cast<char*>(environment), directory, &startup, &started.info);
    started.error = GetLastError();
    return started;
}

std::string Folder(const std::string& name)
{
    const std::string path = fs::current_path() / name;
    fs::create_directories(path);
    return path;
}

} // namespace

TEST(WinProcess, StartsProgramsAsWindowsReadsTheirCommandLine)
{
    const std::string spaced = Folder("Program Files/Media Player");
    const std::string onPath = Folder("bin");
    const std::string work = Folder("show folder");
    const std::string named = Folder("env") + "/recorder";
    setenv("PATH", (onPath + ":" + std::getenv("PATH")).c_str(), 1);
    // The nice value is inherited: the tests themselves may run under nice.
    const std::string nice = std::to_string(::getpriority(PRIO_PROCESS, 0));
    const char environment[] = "REELMIX_VALUE=a b=c\0PATH=/usr/bin:/bin\0";

    struct Case {
        std::string program;            // host path of the recorder to create
        std::string commandLine;        // relative to our folder where relative
        std::string directory;          // host path the program starts in, empty for ours
        std::vector<std::string> lines; // what the recorder writes after its folder
        bool named = false;             // started by application name, with its own settings
    } cases[] = {
        // Unquoted with spaces, and the .exe suffix of a program that has none here.
        {spaced + "/mplayer2",
         Program(spaced).Str() + "\\mplayer2.exe Reelmix.asx",
         work,
         {nice, "", "[Reelmix.asx]"}},
        {spaced + "/mplayer2",
         "\"" + Program(spaced).Str() + "\\mplayer2\" \"a b\" c\\\"d",
         "",
         {nice, "", "[a b]", "[c\"d]"}},
        {onPath + "/recorder", "recorder.exe x  y", work, {nice, "", "[x]", "[y]"}},
        // Relative to our own folder even when it starts elsewhere.
        {work + "/sub/local", "show folder\\sub\\local \\a\\b", onPath, {nice, "", "[\\a\\b]"}},
        // The application name wins over the command line's; environment and idle priority.
        {named, "ignored.exe first", "", {"19", "a b=c", "[first]"}, true},
    };
    for (const Case& c : cases) {
        const std::string record = NewPath("record.txt");
        WriteRecorder(c.program, record);
        const CString directory = Program(c.directory);
        const Started started =
            Start(c.commandLine, c.directory.empty() ? nullptr : (const char*)directory,
                  c.named ? environment : nullptr, c.named ? IDLE_PRIORITY_CLASS : 0,
                  c.named ? (const char*)Program(c.program) : nullptr);
        ASSERT_TRUE(started.ok) << c.commandLine << " error " << started.error;
        ASSERT_TRUE(WaitFor([&] { return fs::exists(record); })) << c.commandLine;
        std::vector<std::string> expected{c.directory.empty() ? fs::current_path().string()
                                                              : c.directory};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(Lines(ReadBytes(record)), expected) << c.commandLine;
        EXPECT_TRUE(WaitFor([&] { return IsGoneOrRunning(started.info.dwProcessId); }))
            << "left a zombie: " << c.commandLine;
        EXPECT_TRUE(CloseHandle(started.info.hProcess));
        EXPECT_TRUE(CloseHandle(started.info.hThread));
    }
}

TEST(WinProcess, FailuresSetTheLastError)
{
    const std::string plain = Folder("plain") + "/data.exe";
    std::ofstream(plain) << "not a program";
    struct Case {
        std::string commandLine;
        const char* directory;
        DWORD error;
    } cases[] = {
        {"\\mplayer2.exe Reelmix.asx", nullptr, ERROR_FILE_NOT_FOUND},
        {"no-such-program-here.exe", nullptr, ERROR_FILE_NOT_FOUND},
        {Program(plain).Str(), nullptr, ERROR_FILE_NOT_FOUND},
        {"", nullptr, ERROR_INVALID_PARAMETER},
        {"/bin/true", "\\no\\such\\folder", ERROR_DIRECTORY},
    };
    for (const Case& c : cases) {
        const Started started = Start(c.commandLine, c.directory);
        EXPECT_FALSE(started.ok) << c.commandLine;
        EXPECT_EQ(started.error, c.error) << c.commandLine;
    }
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}
