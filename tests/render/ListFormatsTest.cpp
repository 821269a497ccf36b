#include "render/formats/ListFormats.h"
#include "render/formats/ExportContext.h"
#include "render/formats/ImportContext.h"
#include "render/formats/ListFile.h"
#include "render/formats/ListFormat.h"
#include "render/formats/MovieCatalog.h"
#include "render/formats/Timecode.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testfiles;

namespace
{
constexpr const char* kTricky = "/m/Tom & Jerry, \"the\" 'best'; part!1 %20 #2.avi";
constexpr const char* kFilm = "/m/Ünïcode 映画.mov";
constexpr const char* kNtsc = "/m/ntsc.mov";

// The movies the shows name, as the probe would find them.
MovieCatalog Movies()
{
    MovieCatalog movies;
    movies.Add(kTricky, {25, 1, 10.0, 250});
    movies.Add(kFilm, {24, 1, 10.0, 240});
    movies.Add(kNtsc, {30000, 1001, 20.02, 600});
    return movies;
}

std::string Write(const char* key, const std::vector<ListClip>& clips, MovieCatalog& movies)
{
    ExportContext context(movies);
    context.title = "show";
    return ListFormats::ExporterByKey(key)->Write(clips, context);
}
} // namespace

// Formats that count frames come back to the frame of the movie (of the profile, for MLT: the
// first clip's movie), with unset marks at the movie's ends; the others to the microsecond.
// Names come back where a format has a place for them.
TEST(ListFormats, EveryFormatRoundTripsAShow)
{
    const std::vector<ListClip> show = {{kTricky, 1.5, 3.25, "one \"q\" \\ é"},
                                        {kFilm, 2.0, -1.0, "two"},
                                        {kNtsc, -1.0, -1.0, "three"},
                                        {kNtsc, 12.345678, 13.5, "four"},
                                        {kTricky, -1.0, 4.0, "five"}};
    MovieCatalog movies = Movies();
    for (const ListFormat* format : ListFormats::Exporters()) {
        const std::string key = format->Key();
        ImportContext read("/elsewhere", &movies);
        format->Read(Write(format->Key(), show, movies), read);
        ASSERT_EQ(read.clips.size(), show.size()) << key;
        const bool frames = key == "cmx3600" || key == "otio" || key == "mlt";
        for (std::size_t i = 0; i < show.size(); ++i) {
            const ListClip& in = show[i];
            const ListClip& out = read.clips[i];
            EXPECT_EQ(out.file, in.file) << key;
            if (key != "ffconcat" && key != "mlt") {
                EXPECT_EQ(out.title, in.title) << key;
            }
            if (!frames) {
                EXPECT_NEAR(out.start, in.start, 1e-6) << key << " clip " << i;
                EXPECT_NEAR(out.end, in.end, 1e-6) << key << " clip " << i;
                continue;
            }
            const MovieProbe::Facts& movie = *movies.Find(in.file);
            const double rate = key == "mlt" ? 25.0 : movie.Rate();
            const auto frame = [&](double seconds) {
                return std::round(std::round(seconds * movie.Rate()) / movie.Rate() * rate) / rate;
            };
            EXPECT_NEAR(out.start, frame(std::max(in.start, 0.0)), 1e-9) << key << " clip " << i;
            EXPECT_NEAR(out.end, frame(in.end >= 0 ? in.end : movie.seconds), 1e-9)
                << key << " clip " << i;
        }
    }
}

TEST(ListFormats, WriteWhatTheirReadersExpect)
{
    struct Case {
        const char* key;
        ListClip clip;
        const char* written;
    } cases[] = {
        {"mpv-edl",
         {"/m/a,b.avi", 1.5, 3.25, "a;b"},
         "# mpv EDL v0\n%10%/m/a,b.avi,1.5,1.75,title=%3%a;b\n"},
        {"mpv-edl", {"/m/a.avi", -1, 2, "!a"}, "\n/m/a.avi,length=2,title=%2%!a\n"},
        {"ffconcat",
         {"/m/it's.avi", 1.5, 3.25, ""},
         "ffconcat version 1.0\nfile '/m/it'\\''s.avi'\ninpoint 1.5\noutpoint 3.25\n"},
        {"m3u",
         {"/m/a.avi", 1.5, 3.25, "a"},
         "#EXTINF:2,a\n#EXTVLCOPT:start-time=1.5\n#EXTVLCOPT:stop-time=3.25\n/m/a.avi\n"},
        {"xspf",
         {"/m/a b#.avi", 1.5, 3.25, "a"},
         "<location>file:///m/a%20b%23.avi</location>\n      <title>a</title>\n      <extension "
         "application=\"http://www.videolan.org/vlc/playlist/0\">\n        "
         "<vlc:option>start-time=1.5</vlc:option>\n        <vlc:option>stop-time=3.25"},
        {"cmx3600",
         {kNtsc, 60.0, 61.0, "ntsc"},
         "FCM: DROP FRAME\n\n001  NTSC     V     C        00:00:59;28 00:01:01;00 01:00:00;00 "
         "01:00:01;00\n* FROM CLIP NAME: ntsc\n* SOURCE FILE: /m/ntsc.mov\n"},
        {"mlt", {kTricky, 1.52, 3.25, ""}, "in=\"38\" out=\"80\"/>"},
        {"otio",
         {kFilm, 1.0, 2.0, "f"},
         "\"duration\":{\"OTIO_SCHEMA\":\"RationalTime.1\",\"rate\":24,\"value\":24},"
         "\"start_time\":{\"OTIO_SCHEMA\":\"RationalTime.1\",\"rate\":24,\"value\":24}"},
    };
    MovieCatalog movies = Movies();
    for (const Case& c : cases)
        EXPECT_NE(Write(c.key, {c.clip}, movies).find(c.written), std::string::npos)
            << c.key << ":\n"
            << Write(c.key, {c.clip}, movies);
}

TEST(ListFormats, DropFrameTimecodesSkipTwoNumbersAMinuteButEachTenth)
{
    struct Case {
        int64_t frame;
        int nominal;
        bool drop;
        const char* text;
    } cases[] = {
        {1799, 30, true, "00:00:59;29"},  {1800, 30, true, "00:01:00;02"},
        {17982, 30, true, "00:10:00;00"}, {107892, 30, true, "01:00:00;00"},
        {3600, 60, true, "00:01:00;04"},  {90000, 25, false, "01:00:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Timecode::Format(c.frame, c.nominal, c.drop), c.text);
        int64_t frame = -1;
        bool semicolons = false;
        EXPECT_TRUE(Timecode::Parse(c.text, c.nominal, false, frame, semicolons)) << c.text;
        EXPECT_EQ(frame, c.frame) << c.text;
    }
}

// Nothing is read from a list that cannot be read whole, and the message names the file and
// where reading stopped.
TEST(ListFormats, BadListsAreRefusedSayingWhere)
{
    struct Case {
        const char* name;
        const char* text;
        const char* said;
    } cases[] = {
        {"count.edl", "# mpv EDL v0\na.avi,1,2\n%99%short\n", "Line 3: a counted value runs past"},
        {"time.edl", "# mpv EDL v0\n\na.avi,x\n", "Line 3: \"x\" is not a time"},
        {"cmx.edl", "TITLE: t\n001  AX  V  C  01:00:00:00 01:0x:00:00 01:00:00:00 01:00:01:00\n",
         "Line 2: \"01:0x:00:00\" is no timecode"},
        {"mplayer.edl", "5.3 7.1 0\n", "MPlayer cut list"},
        {"open.xspf", "<playlist>\n<trackList>\n<track>\n</playlist>\n", "Line 4: "},
        {"html.xspf", "<html>\n</html>\n", "Line 1: the file is no XSPF playlist"},
        {"stop.m3u", "#EXTM3U\n#EXTVLCOPT:start-time=soon\na.avi\n", "Line 2: \"soon\" is not"},
        {"typo.ffconcat", "ffconcat version 1.0\nfile a.avi\nduraton 3\n",
         "Line 3: \"duraton\" is no directive"},
        {"json.otio", "{\"OTIO_SCHEMA\": \"Timeline.1\",\n \"tracks\": [}\n", "Line 2: "},
        {"loop.mlt",
         "<mlt producer=\"t\">\n<tractor id=\"t\"><track producer=\"p\"/></tractor>\n"
         "<playlist id=\"p\"><entry producer=\"t\"/></playlist>\n</mlt>\n",
         "plays itself"},
        {"notes.txt", "Buy milk\n", "neither a playlist nor an edit list"},
    };
    for (const Case& c : cases) {
        const std::string path = NewPath(c.name);
        WriteBytes(path, c.text);
        MovieCatalog movies;
        std::vector<ListClip> clips;
        FormatNotes notes;
        std::string error;
        EXPECT_FALSE(ListFile::Import(path, movies, clips, notes, error)) << c.name;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find(path), std::string::npos) << c.name << ": " << error;
    }
}
