// The one-walk movie search against the library's search run once per extension, and what the
// walk must survive; the library's search stopped from another thread.
#include "show/MovieSearch.h"
#include "show/FileInfoArray.h"

#include "platform/files/HostPath.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

CStringList& Extensions()
{
    static CStringList extensions(10);
    if (extensions.IsEmpty())
        for (const char* ext :
             {"avi", "mov", "qt", "mpg", "mpeg", "mpe", "mpv", "m1v", "mp2", "mpv2", "mpu"})
            extensions.AddTail(ext);
    return extensions;
}

std::vector<CString> Search(const std::string& root, bool recurse, long* skipped = nullptr)
{
    MovieSearch search(Extensions());
    EXPECT_TRUE(search.Run(testfiles::Program(root), recurse, {}));
    CStringList results;
    for (int i = 0; i < Extensions().GetCount(); ++i)
        search.Take(i, results);
    if (skipped)
        *skipped = search.Skipped();
    std::vector<CString> paths;
    for (POSITION pos = results.GetHeadPosition(); pos;)
        paths.push_back(results.GetNext(pos));
    return paths;
}

// Folder permissions bind root too while this lives: the capabilities that override them are
// dropped from this thread (and threads it starts) and given back at the end.
class WithoutPermissionOverride
{
public:
    WithoutPermissionOverride()
    {
        ::syscall(SYS_capget, &m_header, m_saved);
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
        ::syscall(SYS_capset, &m_header, reduced);
    }
    ~WithoutPermissionOverride() { ::syscall(SYS_capset, &m_header, m_saved); }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
};

void Touch(const std::string& path)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path).put('x');
}
} // namespace

TEST(MovieSearch, FindsWhatOneSearchPerExtensionFinds)
{
    const std::string root = testfiles::NewPath("same");
    for (const char* file :
         {"a.avi", "B.AVI", "a.b.mpg", "x.mpeg", "x.mpe", "x.MPEG", "Ü.avi", "ü2.Mov", "n.txt",
          "avi", ".avi", "sub/k.qt", "sub/A/z.avi", "sub/a2/y.avi", "Sub2/m.mpv2", ".hidden/h.mpu",
          "sub/A/deeper/q.mp2", "sub/x.m1v.txt", "sub/x.mpv"})
        Touch(root + "/" + file);
    fs::create_directory_symlink("..", root + "/sub/up");
    fs::create_symlink("a.avi", root + "/link.avi");
    ASSERT_EQ(::mkfifo((root + "/sub/pipe.avi").c_str(), 0600), 0);
    for (const bool recurse : {false, true}) {
        std::vector<CString> expected;
        for (POSITION pos = Extensions().GetHeadPosition(); pos;) {
            FileInfoArray found;
            found.FindFiles(testfiles::Program(root) + "\\", "*." + Extensions().GetNext(pos),
                            recurse, 0, false, nullptr, nullptr);
            for (int i = 0; i < found.GetSize(); ++i)
                expected.push_back(found[i].m_path);
        }
        EXPECT_EQ(Search(root, recurse), expected) << recurse;
        EXPECT_EQ(expected.size(), recurse ? 17u : 10u);
    }
}

TEST(MovieSearch, PassesOverWhatItCannotUseAndSurvivesOddTrees)
{
    const std::string root = testfiles::NewPath("odd");
    const std::string longName = std::string(251, 'l') + ".avi";
    for (const std::string& file : {std::string("ok.avi"), longName, std::string("back\\slash.avi"),
                                    std::string("bad\xff.avi"), std::string("locked/in.avi")})
        Touch(root + "/" + file);
    ASSERT_EQ(::mkfifo((root + "/pipe.avi").c_str(), 0600), 0);
    fs::create_directory_symlink("..", root + "/locked/up");
    ::chmod((root + "/locked").c_str(), 0);
    // 200 folders deep, each name 255 bytes: deeper than any path the host can open at once.
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    const std::string level(255, 'd');
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(::mkdirat(fd, level.c_str(), 0700), 0);
        const int next = ::openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ::close(::openat(fd, "deep.avi", O_CREAT | O_WRONLY, 0600));
    ::close(fd);

    long skipped = 0;
    const std::vector<CString> found = [&] {
        WithoutPermissionOverride asAnyUser;
        return Search(root, true, &skipped);
    }();
    ::chmod((root + "/locked").c_str(), 0700);
    EXPECT_EQ(skipped, 3); // the pipe and the two names
    std::vector<std::string> names;
    for (const CString& path : found)
        names.push_back(path.Mid(path.ReverseFind('\\') + 1).Str());
    EXPECT_EQ(names, (std::vector<std::string>{"deep.avi", longName, "ok.avi"}));
    EXPECT_EQ(found.front().GetLength(), int(root.size()) + 200 * 256 + 9);
    // Deeper than removal by path can reach.
    EXPECT_EQ(std::system(("rm -rf '" + root + "'").c_str()), 0);
}

TEST(MovieSearch, AFolderOfAHundredThousandEntries)
{
    const std::string root = testfiles::NewPath("wide");
    fs::create_directory(root);
    const int dir = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 100000; ++i) {
        const std::string name = std::to_string(i) + (i % 1000 ? ".txt" : ".Avi");
        ::close(::openat(dir, name.c_str(), O_CREAT | O_WRONLY, 0600));
    }
    ::close(dir);
    const std::vector<CString> found = Search(root, false);
    ASSERT_EQ(found.size(), 100u);
    // By name as the disk lists them: "0.Avi", "1000.Avi", "10000.Avi", ...
    EXPECT_TRUE(found[1].Find("\\1000.Avi") > 0 && found[2].Find("\\10000.Avi") > 0);
}

// Another thread may raise the flag and watch the count while the library's search runs: once
// the flag is up, at most the file being added at that moment is still taken.
TEST(FileInfoArray, StopsSoonAfterAnotherThreadRaisesTheAbortFlag)
{
    const std::string root = testfiles::NewPath("abort");
    for (int folder = 0; folder < 20; ++folder)
        for (int file = 0; file < 50; ++file)
            Touch(root + "/" + std::to_string(folder) + "/" + std::to_string(file) + ".avi");
    FileInfoArray found;
    int abortFlag = 0;
    long counter = 0;
    int added = 0;
    std::atomic<bool> done = false;
    std::thread search([&] {
        added = found.FindFiles(testfiles::Program(root) + "\\", "*.avi", true,
                                FileInfoArray::ByPathUp, false, &abortFlag, &counter);
        done = true;
    });
    const std::atomic_ref<long> count(counter);
    while (count.load() == 0 && !done)
        std::this_thread::yield();
    std::atomic_ref<int>(abortFlag).store(1);
    const long countedAtAbort = count.load();
    search.join();
    EXPECT_GT(countedAtAbort, 0);
    EXPECT_LE(added, countedAtAbort + 1);
    EXPECT_EQ(counter, added);
    EXPECT_EQ(found.GetSize(), added);
}
