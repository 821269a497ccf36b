#include "platform/files/FileFind.h"
#include "platform/core/WinError.h"
#include "platform/files/FileSearch.h"
#include "platform/files/FileStatus.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

using namespace testfiles;

namespace
{
// A folder with names that tell matching, case and order faults apart.
std::string MakeFolder()
{
    const std::string folder = NewPath("find");
    std::filesystem::create_directory(folder);
    for (const char* name : {"Movie.AVI", "clip.avi", "clip.avi.txt", "notes", "a.b.c",
                             "\xC3\x89t\xC3\xA9.avi", "back\\slash.avi"})
        WriteBytes(folder + "/" + name, name);
    std::filesystem::create_directory(folder + "/sub");
    std::filesystem::create_directory_symlink(".", folder + "/loop");
    return folder;
}

std::vector<std::string> Names(const CString& path, DWORD& error)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    SetLastError(ERROR_SUCCESS);
    const HANDLE search = FindFirstFileA(path, &data);
    if (search == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return names;
    }
    do
        names.push_back(data.cFileName);
    while (FindNextFileA(search, &data));
    error = GetLastError();
    EXPECT_TRUE(FindClose(search));
    return names;
}

using List = std::vector<std::string>;
} // namespace

TEST(FileFind, WildcardsOrderAndErrors)
{
    const std::string folder = MakeFolder();
    const CString dir = Program(folder);
    const List all = {".",    "..",        "a.b.c", "clip.avi", "clip.avi.txt",
                      "loop", "Movie.AVI", "notes", "sub",      "\xC3\x89t\xC3\xA9.avi"};
    struct Case {
        const char* pattern;
        List names;
        DWORD error;
    } cases[] = {
        {"*", all, ERROR_NO_MORE_FILES},
        {"*.*", all, ERROR_NO_MORE_FILES},
        {"*.avi", {"clip.avi", "Movie.AVI", "\xC3\x89t\xC3\xA9.avi"}, ERROR_NO_MORE_FILES},
        {"*.AVI", {"clip.avi", "Movie.AVI", "\xC3\x89t\xC3\xA9.avi"}, ERROR_NO_MORE_FILES},
        {"clip.*", {"clip.avi", "clip.avi.txt"}, ERROR_NO_MORE_FILES},
        {"notes.*", {"notes"}, ERROR_NO_MORE_FILES},
        {"?otes", {"notes"}, ERROR_NO_MORE_FILES},
        {"c*t", {"clip.avi.txt"}, ERROR_NO_MORE_FILES},
        {"\xC3\xA9t\xC3\xA9.AVI", {"\xC3\x89t\xC3\xA9.avi"}, ERROR_NO_MORE_FILES},
        {"?t?.avi", {"\xC3\x89t\xC3\xA9.avi"}, ERROR_NO_MORE_FILES},
        {"sub", {"sub"}, ERROR_NO_MORE_FILES},
        {"*slash*", {}, ERROR_FILE_NOT_FOUND},
        {"*.mpg", {}, ERROR_FILE_NOT_FOUND},
        {"", {}, ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        DWORD error = 0;
        EXPECT_EQ(Names(dir + "\\" + c.pattern, error), c.names) << c.pattern;
        EXPECT_EQ(error, c.error) << c.pattern;
    }
    DWORD error = 0;
    EXPECT_TRUE(Names(dir + "\\missing\\*", error).empty());
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(Names(dir + "\\notes\\*", error).empty());
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
    const List root = Names("\\*", error);
    EXPECT_FALSE(root.empty());
    EXPECT_EQ(std::count(root.begin(), root.end(), "."), 0) << "the root has no dot entries";
    EXPECT_EQ(std::count(root.begin(), root.end(), ".."), 0);
}

TEST(FileFind, MatchingIsExact)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
         false},
        {"*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*.avi", "x.avi.bak", false},
        {"*.avi", ".avi", true},
        {"**", "", true},
        {"?", "\xC3\xA9", true},
        {"a.*", "a.", true},
        {"a.*", "ab", false},
        // A name may hold the wildcard characters themselves.
        {"*", "**x", true},
        {"*x", "*?x", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileSearch::Matches(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

TEST(FileFind, ClosedSearchesFailWithTheRightError)
{
    const std::string big = MakeFolder() + "/big.bin";
    WriteBytes(big, std::string(70000, 'x'));
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA(Program(big), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "big.bin");
    EXPECT_EQ(data.nFileSizeLow, 70000u);
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
    SetLastError(0);
    EXPECT_FALSE(FindClose(search));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindNextFileA(search, &data));
}

TEST(FileFind, RuntimeFlavour)
{
    const std::string folder = MakeFolder();
    _finddata_t data{};
    std::intptr_t search = _findfirst(Program(folder + "/s*"), &data);
    ASSERT_NE(search, -1);
    EXPECT_STREQ(data.name, "sub");
    EXPECT_EQ(data.attrib, _A_SUBDIR);
    EXPECT_EQ(_findnext(search, &data), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(_findclose(search), 0);

    search = _findfirst(Program(folder + "/*.AVI"), &data);
    ASSERT_NE(search, -1);
    EXPECT_STREQ(data.name, "clip.avi");
    EXPECT_EQ(data.size, 8u);
    EXPECT_EQ(data.attrib, _A_NORMAL);
    ASSERT_EQ(_findnext(search, &data), 0);
    EXPECT_STREQ(data.name, "Movie.AVI");
    _findclose(search);

    _finddata_t untouched{};
    EXPECT_EQ(_findfirst(Program(folder + "/*.mpg"), &untouched), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(untouched.size, 0u);
    EXPECT_STREQ(untouched.name, "");
}

TEST(FileStatus, WildcardsAndMissingNamesFail)
{
    const std::string folder = MakeFolder();
    struct _stat status {
    };
    ASSERT_EQ(_stat(Program(folder + "/clip.avi"), &status), 0);
    EXPECT_EQ(status.st_size, 8);
    for (const char* name : {"/missing", "/*.avi", "/clip.av?"}) {
        errno = 0;
        EXPECT_EQ(_stat(Program(folder + name), &status), -1) << name;
        EXPECT_EQ(errno, ENOENT) << name;
    }
}
