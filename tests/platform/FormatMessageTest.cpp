#include "platform/FormatMessage.h"
#include "platform/Environment.h"
#include "platform/WinError.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::string SystemText(DWORD code, DWORD& length)
{
    char* buffer = nullptr;
    length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                FORMAT_MESSAGE_IGNORE_INSERTS,
                            nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                            reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const std::string text = buffer ? buffer : "";
    EXPECT_EQ(LocalFree(buffer), nullptr);
    return text;
}
} // namespace

TEST(FormatMessage, SystemTextsEndWithALineBreak)
{
    EXPECT_EQ(MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), 0x400u);
    const struct {
        DWORD code;
        const char* text;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
        {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
        {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
        {ERROR_NO_MORE_FILES, "There are no more files.\r\n"},
        {ERROR_MORE_DATA, "More data is available.\r\n"},
        {ERROR_ENVVAR_NOT_FOUND,
         "The system could not find the environment option that was entered.\r\n"},
    };
    for (const auto& c : cases) {
        DWORD length = 0;
        EXPECT_EQ(SystemText(c.code, length), c.text) << c.code;
        EXPECT_EQ(length, std::string(c.text).size()) << c.code;
    }
    for (DWORD code : {ERROR_SUCCESS, ERROR_INVALID_HANDLE, ERROR_NOT_ENOUGH_MEMORY,
                       ERROR_BAD_FORMAT, ERROR_SHARING_VIOLATION, ERROR_INVALID_PARAMETER,
                       ERROR_INSUFFICIENT_BUFFER, ERROR_NO_MORE_ITEMS}) {
        DWORD length = 0;
        const std::string text = SystemText(code, length);
        EXPECT_GT(text.size(), 4u) << code;
        EXPECT_TRUE(text.ends_with(".\r\n")) << code;
    }
}

TEST(FormatMessage, UnknownCodesAndSmallBuffers)
{
    DWORD length = 1;
    EXPECT_EQ(SystemText(4242, length), "");
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);

    char small[8] = "";
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, small,
                             sizeof small, nullptr),
              0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    char large[64] = "";
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, large,
                             sizeof large, nullptr),
              19u);
    EXPECT_STREQ(large, "Access is denied.\r\n");
}
