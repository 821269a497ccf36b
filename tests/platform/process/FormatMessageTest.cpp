#include "platform/process/FormatMessage.h"
#include "platform/core/WinError.h"
#include "platform/files/Environment.h"

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

// Every code the platform sets has a text, and the text ends with the system's line break
// (Generic::GetErrorString cuts those two characters off).
TEST(FormatMessage, SystemTextsEndWithALineBreak)
{
    for (DWORD code :
         {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_NO_MORE_FILES,
          ERROR_MORE_DATA, ERROR_ENVVAR_NOT_FOUND, ERROR_SUCCESS, ERROR_INVALID_HANDLE,
          ERROR_NOT_ENOUGH_MEMORY, ERROR_BAD_FORMAT, ERROR_SHARING_VIOLATION,
          ERROR_INVALID_PARAMETER, ERROR_INSUFFICIENT_BUFFER, ERROR_NO_MORE_ITEMS}) {
        DWORD length = 0;
        const std::string text = SystemText(code, length);
        EXPECT_EQ(length, text.size()) << code;
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
