#include "util/AsxReader.h"

#include <gtest/gtest.h>

TEST(AsxReader, Times)
{
    struct Case {
        std::string text;
        double seconds;
    } cases[] = {
        {"0000:01:15.250", 75.25},
        {"0001:02:05.500", 3725.5},
        {"0001:00:00.000", 3600.0},
        {"00:00:00.000", 0.0},
        {"12345:00:00", 12345 * 3600.0},
        {"0000000000012:00:00.5", 12 * 3600 + 0.5},
        {"1" + std::string(400, '0') + ":00:00", -1.0},
        {"01:30", 90.0},
        {"7", 7.0},
        {"7.5", 7.5},
        {"2.0409", 2.040},
        {" 3.25 ", 3.25},
        {"", -1.0},
        {"abc", -1.0},
        {"1:2:3:4", -1.0},
        {"1:-2", -1.0},
        {"1.2x", -1.0},
        {"1:", -1.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(AsxReader::ParseTime(c.text), c.seconds) << c.text;
}

TEST(AsxReader, ReadsEntriesLeniently)
{
    const char* text = R"(<ASX VERSION="3.0">
<!-- a <comment> with <ENTRY> inside -->
    <Title>Show &amp; Tell</Title>
    <AUTHOR>Reelmix Program</AUTHOR>
    <MOREINFO HREF="http://example.org/" />
    <entry>
        <TITLE>Clip 1 of 3</TITLE>
        <ABSTRACT>\films\Tom & Jerry.avi</ABSTRACT>
        <ref href="\films\Tom & Jerry.avi" />
        <StartTime Value = '0000:00:01.500'/>
        <DURATION VALUE=0000:00:02.000 />
        <UNKNOWN foo="bar">text</UNKNOWN>
    </entry>
    <ENTRY><REF HREF="a&lt;b&gt;&quot;&#65;&#x42;.avi"/><REF HREF="second.avi"/></ENTRY>
    <ENTRY>
        <REF HREF="start-only.avi" />
        <STARTTIME VALUE="0000:00:03.000" />
    </ENTRY>
</ASX>
)";
    AsxPlaylist playlist;
    QString error;
    ASSERT_TRUE(AsxReader::Read(text, playlist, error)) << error.toStdString();
    EXPECT_EQ(playlist.title, "Show & Tell");
    ASSERT_EQ(playlist.entries.size(), 3u);

    const AsxEntry& first = playlist.entries[0];
    EXPECT_EQ(first.title, "Clip 1 of 3");
    ASSERT_EQ(first.refs.size(), 1u);
    EXPECT_EQ(first.refs[0].href, "\\films\\Tom & Jerry.avi");
    EXPECT_DOUBLE_EQ(first.start, 1.5);
    EXPECT_DOUBLE_EQ(first.duration, 2.0);

    const AsxEntry& second = playlist.entries[1];
    EXPECT_EQ(second.title, "");
    ASSERT_EQ(second.refs.size(), 2u);
    EXPECT_EQ(second.refs[0].href, "a<b>\"AB.avi");
    EXPECT_EQ(second.refs[1].href, "second.avi");
    EXPECT_LT(second.start, 0);
    EXPECT_LT(second.duration, 0);

    EXPECT_DOUBLE_EQ(playlist.entries[2].start, 3.0);
    EXPECT_LT(playlist.entries[2].duration, 0);
}
