#include "platform/core/CTime.h"

#include "platform/files/FileFind.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

TEST(CTime, FileTimesBecomeTheSameInstant)
{
    // 2026-07-01 12:34:56 UTC: in summer time wherever there is one.
    const std::time_t instant = 1782909296;
    const std::string path = testfiles::NewPath("stamped.avi");
    testfiles::WriteBytes(path, "x");
    const utimbuf times{instant, instant};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);

    WIN32_FIND_DATAA data{};
    const HANDLE find = FindFirstFileA(testfiles::Program(path), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    const CTime stamp(data.ftLastWriteTime);
    EXPECT_EQ(stamp.GetTime(), instant);
    EXPECT_EQ(stamp.Format("%Y"), CString("2026"));
    EXPECT_EQ(CTime(instant).Format("%j"), CTime(data.ftLastWriteTime, -1).Format("%j"));
}
