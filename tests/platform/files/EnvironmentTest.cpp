#include "platform/files/Environment.h"
#include "platform/core/WinError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(Environment, WindowsReturnCounts)
{
    ::setenv("REELMIX_TEST_VALUE", "abcde", 1);
    ::setenv("REELMIX_TEST_EMPTY", "", 1);
    struct Case {
        const char* name;
        DWORD size;
        DWORD result;
        const char* text; // the buffer afterwards
    } cases[] = {
        {"REELMIX_TEST_VALUE", 16, 5, "abcde"},    {"REELMIX_TEST_VALUE", 6, 5, "abcde"},
        {"REELMIX_TEST_VALUE", 5, 6, "untouched"}, {"REELMIX_TEST_VALUE", 0, 6, "untouched"},
        {"REELMIX_TEST_EMPTY", 4, 0, ""},
    };
    for (const Case& c : cases) {
        char buffer[16] = "untouched";
        EXPECT_EQ(GetEnvironmentVariableA(c.name, buffer, c.size), c.result) << c.size;
        EXPECT_STREQ(buffer, c.text) << c.size;
    }
    SetLastError(0);
    char buffer[8] = "x";
    EXPECT_EQ(GetEnvironmentVariableA("REELMIX_TEST_UNDEFINED", buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);
    EXPECT_EQ(GetEnvironmentVariableA("REELMIX_TEST_VALUE", nullptr, 0), 6u);
}
