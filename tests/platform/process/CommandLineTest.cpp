#include "platform/process/CommandLine.h"

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;

TEST(CommandLine, ArgumentsSplitByWindowsRules)
{
    struct Case {
        const char* line;
        Strings args;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  Reelmix.asx  ", {"Reelmix.asx"}},
        {R"("a b" c)", {"a b", "c"}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"("")", {""}},
        {R"(a\\b)", {R"(a\\b)"}},
        {R"(a\"b)", {R"(a"b)"}},
        {R"(a\\"b c")", {R"(a\b c)"}},
        {R"(a\\\"b)", {R"(a\"b)"}},
        {R"("a""b")", {R"(a"b)"}},
        {R"("C:\Program Files\" x)", {R"(C:\Program Files" x)"}},
        {R"("unterminated arg)", {"unterminated arg"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitArguments(c.line), c.args) << c.line;
}

TEST(CommandLine, HeadsAreSuccessivelyLongerPrefixes)
{
    struct Case {
        const char* line;
        Strings programs;
        const char* restOfFirst;
    } cases[] = {
        {"", {}, ""},
        {R"(\opt\player.exe Reelmix.asx)",
         {R"(\opt\player.exe)", R"(\opt\player.exe Reelmix.asx)"},
         " Reelmix.asx"},
        {R"(C:\Program Files\Media\mplayer2.exe Reelmix.asx)",
         {R"(C:\Program)", R"(C:\Program Files\Media\mplayer2.exe)",
          R"(C:\Program Files\Media\mplayer2.exe Reelmix.asx)"},
         R"( Files\Media\mplayer2.exe Reelmix.asx)"},
        {R"(  "C:\My Dir\p.exe" "a b")", {R"(C:\My Dir\p.exe)"}, R"( "a b")"},
        {R"(tool a "b c")", {"tool", "tool a"}, R"( a "b c")"},
    };
    for (const Case& c : cases) {
        const std::vector<CommandLineHead> heads = CommandLineHeads(c.line);
        Strings programs;
        for (const CommandLineHead& head : heads)
            programs.emplace_back(head.program);
        EXPECT_EQ(programs, c.programs) << c.line;
        if (!heads.empty()) {
            EXPECT_EQ(heads.front().rest, c.restOfFirst) << c.line;
        }
    }
}

TEST(CommandLine, TheHeadsOfALongLineTakeNoMoreRoomThanTheLine)
{
    std::string line;
    for (int i = 0; i < 1 << 20; ++i)
        line += "a ";
    EXPECT_EQ(CommandLineHeads(line).size(), 1u << 20);
}

TEST(CommandLine, ArgvKeepsBackslashesOfTheProgram)
{
    EXPECT_EQ(CommandLineToArgv(R"("C:\a b\p.exe" x\\"y z")"),
              (Strings{R"(C:\a b\p.exe)", R"(x\y z)"}));
    EXPECT_EQ(CommandLineToArgv(R"(\\server\p.exe x)"), (Strings{R"(\\server\p.exe)", "x"}));
}
