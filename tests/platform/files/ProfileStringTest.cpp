#include "platform/files/ProfileString.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testfiles;
using namespace std::string_literals;

TEST(ProfileString, ValuesListsDefaultsAndCounts)
{
    const std::string file = NewPath("settings.ini");
    WriteBytes(file, "\xEF\xBB\xBF; a comment\r\n"
                     "ignored=before any section\r\n"
                     "[Movies]\r\n"
                     "  Folder = C:\\Clips  \r\n"
                     "Quoted=\"  spaced  \"\n"
                     "Single='x'\n"
                     "Half=\"open\n"
                     "Empty=\n"
                     "NoEquals\n"
                     "[ other ]\n"
                     "key=value");
    const CString path = Program(file);
    struct Case {
        const char* section;
        const char* key;
        const char* defaultText;
        DWORD size;
        DWORD count;
        std::string bytes; // the start of the buffer afterwards
    } cases[] = {
        {"Movies", "Folder", "d", 64, 8, "C:\\Clips\0"s},
        {"MOVIES", "fOLDER", "d", 64, 8, "C:\\Clips\0"s},
        {"Movies", "Folder", "d", 9, 8, "C:\\Clips\0"s},
        {"Movies", "Folder", "d", 8, 7, "C:\\Clip\0"s},
        {"Movies", "Folder", "d", 1, 0, "\0"s},
        {"Movies", "Quoted", "d", 64, 10, "  spaced  \0"s},
        {"Movies", "Single", "d", 64, 1, "x\0"s},
        {"Movies", "Half", "d", 64, 5, "\"open\0"s},
        {"Movies", "Empty", "d", 64, 0, "\0"s},
        {"Movies", "NoEquals", "d", 64, 1, "d\0"s},
        {"Movies", "Missing", " def  ", 64, 4, " def\0"s},
        {"Movies", "Missing", nullptr, 64, 0, "\0"s},
        {"Movies", "Missing", "default", 4, 3, "def\0"s},
        {"Movies", "", "d", 64, 1, "d\0"s},
        {"None", "Folder", "d", 64, 1, "d\0"s},
        {"other", "KEY", "d", 64, 5, "value\0"s},
        {"", "ignored", "d", 64, 1, "d\0"s},
        {"Movies", nullptr, "d", 64, 41, "Folder\0Quoted\0Single\0Half\0Empty\0NoEquals\0\0"s},
        {"Movies", nullptr, "d", 10, 8, "Folder\0Q\0\0"s},
        {"Movies", nullptr, "d", 2, 0, "\0\0"s},
        {"None", nullptr, "d", 64, 1, "d\0"s},
        {nullptr, nullptr, "d", 64, 13, "Movies\0other\0\0"s},
        {nullptr, "Folder", "d", 9, 7, "Movies\0\0\0"s},
    };
    for (const Case& c : cases) {
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        const DWORD count =
            GetPrivateProfileStringA(c.section, c.key, c.defaultText, buffer, c.size, path);
        const std::string where = std::string(c.section ? c.section : "(null)") + "/" +
                                  (c.key ? c.key : "(null)") + "/" + std::to_string(c.size);
        EXPECT_EQ(count, c.count) << where;
        EXPECT_EQ(std::string(buffer, c.bytes.size()), c.bytes) << where;
    }
}

TEST(ProfileString, MissingFileDeliversTheDefault)
{
    char buffer[8] = "#######";
    EXPECT_EQ(
        GetPrivateProfileStringA("a", "b", "fallback", buffer, 8, Program(NewPath("none.ini"))),
        7u);
    EXPECT_STREQ(buffer, "fallbac");
    EXPECT_EQ(GetPrivateProfileStringA("a", "b", "x", buffer, 0, "none.ini"), 0u);
    EXPECT_STREQ(buffer, "fallbac") << "a zero size writes nothing";
}
