#include "platform/process/WinExec.h"
#include "platform/core/WinError.h"
#include "platform/process/ShellExecute.h"

#include <gtest/gtest.h>

TEST(WinExec, StartsProgramsAndReportsWhatFailed)
{
    struct Case {
        const char* line;
        UINT result; // 33: started
    };
    const Case cases[] = {
        {"true --ignored", 33},
        {"no-such-program-of-reelmix", ERROR_FILE_NOT_FOUND},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WinExec(c.line, SW_SHOW), c.result) << c.line;
}

TEST(ShellExecute, OnlyOpensAndOnlyWithoutParameters)
{
    CString seen;
    const ProgramLauncher previous = SetProgramLauncher([&](const CString& line, UINT) {
        seen = line;
        return 33u;
    });
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "\\home\\ann\\a b.htm", nullptr, nullptr, SW_SHOW),
              33);
    EXPECT_EQ(seen, "xdg-open \"/home/ann/a b.htm\"");
    EXPECT_EQ(ShellExecuteA(nullptr, "print", "x.htm", nullptr, nullptr, SW_SHOW), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteA(nullptr, nullptr, "x.htm", "-new", nullptr, SW_SHOW), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "", nullptr, nullptr, SW_SHOW), SE_ERR_FNF);
    SetProgramLauncher(previous);
}
