#include "util/Generic.h"

#include "platform/files/CFile.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace testfiles;

TEST(GenericPath, Splitting)
{
    const struct {
        const char* path;
        const char* file;
        const char* dir;
        const char* title;
        const char* ext;
        const char* dirAndFile;
    } cases[] = {
        {"C:\\Movies\\a.avi", "a.avi", "C:\\Movies", "a", "avi", "Movies\\a.avi"},
        {"C:\\a.avi", "a.avi", "C:", "a", "avi", "C:\\a.avi"},
        {"C:\\Movies\\", "", "C:\\Movies", "", "", "Movies\\"},
        {"movie.avi", "movie.avi", "movie.avi", "movie", "avi", "movie.avi"},
        {"C:/Movies/a.avi", "C:/Movies/a.avi", "C:/Movies/a.avi", "C:/Movies/a", "avi",
         "C:/Movies/a.avi"},
        {"C:\\my.dir\\readme", "readme", "C:\\my.dir", "readme", "", "my.dir\\readme"},
        {"clip.part1.avi", "clip.part1.avi", "clip.part1.avi", "clip.part1", "avi",
         "clip.part1.avi"},
        {"C:\\.hidden", ".hidden", "C:", "", "hidden", "C:\\.hidden"},
        {"C:\\a\\b\\c.avi", "c.avi", "C:\\a\\b", "c", "avi", "b\\c.avi"},
        {"b\\c.avi", "c.avi", "b", "c", "avi", "b\\c.avi"},
        {"\\\\server\\share\\x", "x", "\\\\server\\share", "x", "", "share\\x"},
        {"", "", "", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Generic::FileFromPath(c.path), c.file) << c.path;
        EXPECT_EQ(Generic::DirFromPath(c.path), c.dir) << c.path;
        EXPECT_EQ(Generic::TitleFromPath(c.path), c.title) << c.path;
        EXPECT_EQ(Generic::ExtFromPath(c.path), c.ext) << c.path;
        EXPECT_EQ(Generic::DirAndFileFromPath(c.path), c.dirAndFile) << c.path;
    }
}

TEST(GenericPath, ReverseFindOneOfAndTrailingSlash)
{
    const struct {
        const char* text;
        const char* set;
        int start;
        int result;
    } finds[] = {
        {"a.b\\c", "\\.", -1, 3}, {"a.b\\c", "\\.", 2, 1}, {"a.b\\c", "\\.", -2, -1},
        {"a.b\\c", "\\.", 99, 3}, {"a.b\\c", "\\.", 5, 3}, {"a.b\\c", "\\.", 0, -1},
        {"a.b\\c", "", -1, -1},   {"", "\\", -1, -1},      {".abc", ".", 3, 0},
    };
    for (const auto& f : finds)
        EXPECT_EQ(Generic::ReverseFindOneOf(f.text, f.set, f.start), f.result)
            << f.text << " " << f.start;

    const struct {
        const char* before;
        const char* after;
        bool removed;
    } slashes[] = {
        {"C:\\", "C:", true},   {"C:\\Movies", "C:\\Movies", false},
        {"a\\\\", "a\\", true}, {"", "", false},
        {"\\", "", true},       {"a/", "a/", false},
    };
    for (const auto& s : slashes) {
        CString path = s.before;
        EXPECT_EQ(Generic::RemoveTrailingSlash(path), s.removed) << s.before;
        EXPECT_EQ(path, s.after) << s.before;
    }
}

TEST(GenericPath, DirectoriesAndSizes)
{
    const std::string folder = NewPath("sizes");
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/one.avi", std::string(1234, 'a'));
    WriteBytes(folder + "/two.avi", std::string(99, 'b'));
    EXPECT_TRUE(Generic::IsDirectory(Program(folder)));
    EXPECT_FALSE(Generic::IsDirectory(Program(folder + "/one.avi")));
    EXPECT_FALSE(Generic::IsDirectory(Program(folder + "/missing")));
    EXPECT_EQ(Generic::GetFileSize(Program(folder + "/one.avi")), 1234u);
    EXPECT_EQ(Generic::GetFileSize(Program(folder + "/T*.AVI")), 99u);
    EXPECT_EQ(Generic::GetFileSize(Program(folder + "/*.mpg")), 0u);
    EXPECT_EQ(Generic::GetFileSize(Program(folder + "/none/x")), 0u);

    // A sparse file takes no room on disk.
    const std::string huge = folder + "/huge.bin";
    std::ofstream(huge).close();
    std::error_code error;
    std::filesystem::resize_file(huge, 0x100000001ull, error);
    if (error)
        GTEST_SKIP() << "no sparse files here";
    EXPECT_EQ(Generic::GetFileSize(Program(huge)), 0xFFFFFFFFu);
}

TEST(GenericPath, AppendFiles)
{
    std::string pattern;
    for (int i = 0; i < 70000; ++i)
        pattern += char('a' + i % 26);
    const struct {
        int destinationBytes; // -1: no destination yet
        int sourceBytes;      // -1: no source
        bool result;
        std::size_t destinationAfter;
    } cases[] = {
        {5, 10, true, 15},       {5, 65535, true, 65540},    {5, 65536, true, 65541},
        {0, 65537, true, 65537}, {-1, 131072, true, 131072}, {7, 0, true, 7},
        {-1, -1, false, 0},      {9, -1, false, 9},
    };
    for (const auto& c : cases) {
        const std::string destination = NewPath("destination.bin");
        const std::string source = NewPath("source.bin");
        const std::string head(std::size_t(std::max(c.destinationBytes, 0)), 'H');
        std::string body;
        while (int(body.size()) < c.sourceBytes)
            body += pattern.substr(0, std::size_t(c.sourceBytes) - body.size());
        if (c.destinationBytes >= 0)
            WriteBytes(destination, head);
        if (c.sourceBytes >= 0)
            WriteBytes(source, body);
        EXPECT_EQ(Generic::AppendFiles(Program(destination), Program(source)), c.result)
            << c.sourceBytes;
        EXPECT_EQ(ReadBytes(destination), c.result ? head + body : head) << c.sourceBytes;
        EXPECT_TRUE(std::filesystem::exists(destination)) << "created even when the source fails";
    }
}

TEST(GenericPath, AppendFilesRefusesSharedFiles)
{
    const std::string file = NewPath("self.bin");
    WriteBytes(file, "content");
    EXPECT_FALSE(Generic::AppendFiles(Program(file), Program(file)));
    EXPECT_EQ(ReadBytes(file), "content");

    const std::string source = NewPath("source.bin");
    WriteBytes(source, "more");
    CFile holder(Program(file), CFile::modeRead | CFile::shareDenyNone);
    EXPECT_FALSE(Generic::AppendFiles(Program(file), Program(source)));
    holder.Close();
    EXPECT_TRUE(Generic::AppendFiles(Program(file), Program(source)));
    EXPECT_EQ(ReadBytes(file), "contentmore");
}

TEST(GenericPath, RenameAndRemove)
{
    const std::string from = NewPath("from.txt");
    const std::string to = NewPath("to.txt");
    WriteBytes(from, "x");
    EXPECT_TRUE(Generic::RenameFile(Program(from), Program(to)));
    EXPECT_EQ(ReadBytes(to), "x");
    EXPECT_FALSE(std::filesystem::exists(from));
    EXPECT_FALSE(Generic::RenameFile(Program(from), Program(to)));
    EXPECT_TRUE(Generic::RemoveFile(Program(to)));
    EXPECT_FALSE(std::filesystem::exists(to));
    EXPECT_FALSE(Generic::RemoveFile(Program(to)));
}

TEST(GenericPath, TranslateEnvPath)
{
    ::setenv("WINDIR", "C:\\Windows", 1);
    ::setenv("REELMIX_127", std::string(127, 'x').c_str(), 1);
    ::setenv("REELMIX_128", std::string(128, 'y').c_str(), 1);
    ::unsetenv("REELMIX_UNDEFINED");
    const std::string x127(127, 'x');
    const struct {
        const char* before;
        std::string after;
        bool complete;
    } cases[] = {
        {"%WINDIR%\\System", "C:\\Windows\\System", true},
        {"a%REELMIX_UNDEFINED%b", "ab", true},
        {"%WINDIR%%WINDIR%", "C:\\WindowsC:\\Windows", true},
        {"no references", "no references", true},
        {"50% off", "50 off", true},
        {"%%x", "x", true},
        {"%REELMIX_127%!", x127 + "!", true},
        {"a%REELMIX_128%b%WINDIR%c", "ab%WINDIR%c", false},
        {"%WINDIR%%REELMIX_128%%WINDIR%", "C:\\Windows%WINDIR%", false},
    };
    for (const auto& c : cases) {
        CString path = c.before;
        EXPECT_EQ(Generic::TranslateEnvPath(path), c.complete) << c.before;
        EXPECT_EQ(path, CString(c.after)) << c.before;
    }
}

TEST(GenericPath, GetFromIniFile)
{
    const std::string file = NewPath("lib.ini");
    WriteBytes(file, "[Paths]\nMovies=C:\\Clips\nEmpty=\n");
    const CString ini = Program(file);
    const struct {
        const char* key;
        const char* defaultText;
        int size;
        bool result;
        const char* text;
    } cases[] = {
        {"Movies", "d", 64, true, "C:\\Clips"},
        {"Movies", "d", 10, false, "C:\\Clips"}, // 8 characters, but 8 is size - 2
        {"Movies", "d", 11, true, "C:\\Clips"},
        {"Movies", "d", 9, false, "C:\\Clips"}, // 8 is size - 1
        {"Movies", "d", 1, false, ""},
        {"Empty", "d", 2, false, ""},
        {"Empty", "d", 3, true, ""},
        {"Missing", "fallback", 64, true, "fallback"},
        {"Missing", "", 2, false, ""},
        {"Missing", "", 5, true, ""},
    };
    for (const auto& c : cases) {
        CString result = "old";
        EXPECT_EQ(Generic::GetFromIniFile(ini, "Paths", c.key, c.defaultText, result, c.size),
                  c.result)
            << c.key << " " << c.size;
        EXPECT_EQ(result, c.text) << c.key << " " << c.size;
    }
    CString untouched = "old";
    EXPECT_FALSE(Generic::GetFromIniFile(ini, "Paths", "Movies", "", untouched, 0));
    EXPECT_FALSE(Generic::GetFromIniFile(ini, "Paths", "Movies", "", untouched, -3));
    EXPECT_EQ(untouched, "old");
    EXPECT_TRUE(
        Generic::GetFromIniFile(Program(NewPath("none.ini")), "a", "b", "dflt", untouched, 64));
    EXPECT_EQ(untouched, "dflt");
}
