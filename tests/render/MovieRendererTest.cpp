#include "render/movie/MovieRenderer.h"
#include "render/movie/AvPtr.h"

#include "tests/support/RenderTestMovies.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <cmath>
#include <map>

using namespace rendertest;

namespace
{
constexpr int kRate = 25; // of every show's output: its first movie's
constexpr int kSoundRate = 48000;

const QStringList kX264{"-c:v", "libx264",       "-g", "10",       "-bf",
                        "2",    "-sc_threshold", "0",  "-pix_fmt", "yuv420p"};
const MovieRecipe kH264{
    "h264.mp4", "160x120", 25, 2, 500, true, kX264 + QStringList{"-c:a", "aac"}};
const MovieRecipe kHevc{"x265.mp4",
                        "160x120",
                        25,
                        2,
                        3000,
                        true,
                        {"-c:v", "libx265", "-x265-params",
                         "keyint=10:min-keyint=10:scenecut=0:open-gop=0:bframes=2:log-level=error",
                         "-pix_fmt", "yuv420p", "-c:a", "aac"}};
const MovieRecipe kQuiet{"quiet.mov", "160x120", 25, 2, 1000, false, kX264};
const MovieRecipe kWide{
    "wide.avi",
    "320x240",
    30,
    2,
    1500,
    true,
    {"-c:v", "mpeg4", "-g", "12", "-bf", "2", "-c:a", "pcm_s16le", "-ar", "44100"}};
const MovieRecipe kProgram{
    "program.mpg",
    "160x120",
    25,
    2,
    2000,
    true,
    {"-c:v", "mpeg2video", "-g", "12", "-bf", "2", "-c:a", "mp2", "-f", "vob"}};
const MovieRecipe kPlain{"plain.m1v",
                         "160x120",
                         25,
                         2,
                         2500,
                         false,
                         {"-c:v", "mpeg1video", "-bf", "2", "-f", "mpeg1video"}};
const MovieRecipe kTone{"tone.mp2", "", 25, 1.5, 0, true, {"-c:a", "mp2"}};

// Marks at picture n's time, or half a picture before it (in the middle of the one before's
// showing): both make n the clip's first picture, or the first one after it.
double At(const MovieRecipe& m, int n)
{
    return double(n) / m.rate;
}
double Before(const MovieRecipe& m, int n)
{
    return (n - 0.5) / m.rate;
}

struct ClipCase {
    const MovieRecipe* movie;
    double start;
    double end;
};

struct ShowCase {
    const char* name;
    RenderSettings::Mode mode;
    const char* extension;
    std::vector<ClipCase> clips;
    long long copied;
};

// The numbers the show's pictures carry, by the rules of the show player: a clip is the pictures
// whose time lies in [start, end), shown at the output's rate by repeating or skipping whole
// pictures; black under sound alone.
std::vector<int> Expected(const ClipCase& clip)
{
    const MovieRecipe& m = *clip.movie;
    const double length = m.seconds;
    if (m.size.isEmpty()) {
        const double seconds = std::min(clip.end < 0 ? length : clip.end, length) - clip.start;
        return std::vector<int>(size_t(std::llround(seconds * kRate)), 0);
    }
    const auto first = [&](double t) { return int(std::ceil(t * m.rate - 1e-6)); };
    const int a = first(std::max(0.0, clip.start));
    const int b = clip.end < 0 ? int(length * m.rate) : first(clip.end);
    const long long count = m.rate == kRate ? b - a : std::llround(double(b - a) / m.rate * kRate);
    std::vector<int> numbers;
    for (long long j = 0; j < count; ++j)
        numbers.push_back(m.offset + a + int(std::floor(double(j) * m.rate / kRate + 1e-9)));
    return numbers;
}

// Each clip's sound starts at the sample of its first picture's time and plays with it; clips
// without sound are silent.
void CheckSound(const QString& output, const ShowCase& show)
{
    const std::vector<float> written = Sound(output);
    long long picture = 0;
    for (const ClipCase& clip : show.clips) {
        const MovieRecipe& m = *clip.movie;
        const long long join = std::llround(double(picture) * kSoundRate / kRate);
        picture += Expected(clip).size();
        const int skip = kSoundRate / 100, length = kSoundRate / 50; // past the join's fade
        SCOPED_TRACE(m.name.toStdString() + " at output sample " + std::to_string(join));
        if (!m.sound) {
            EXPECT_LT(Loudness(written, join + skip, length), 0.01);
            continue;
        }
        const double start = m.size.isEmpty()
                                 ? clip.start
                                 : std::ceil(std::max(0.0, clip.start) * m.rate - 1e-6) / m.rate;
        const Match match = BestLag(Sound(Movie(m)), std::llround(start * kSoundRate) + skip,
                                    written, join + skip, length, 24);
        EXPECT_GT(match.score, 0.9);
        // Matroska keeps times in milliseconds.
        EXPECT_LE(std::abs(match.lag), output.endsWith(".mkv") ? kSoundRate / 2000 + 1 : 2);
    }
}

// Each picture's brightness plane by its timestamp, decoded by one decoder group of pictures by
// group, from the first or, as a player seeking backwards does, from the last.
std::map<int64_t, QByteArray> DecodedGroups(const QString& movie, bool backwards)
{
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, movie.toUtf8().constData(), nullptr, nullptr) < 0)
        return {};
    const AvPtr<AVFormatContext> format(opened);
    const int stream = av_find_best_stream(opened, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const AVCodecParameters& parameters = *opened->streams[stream]->codecpar;
    const AvPtr<AVCodecContext> codec(
        avcodec_alloc_context3(avcodec_find_decoder(parameters.codec_id)));
    avcodec_parameters_to_context(codec.get(), &parameters);
    codec->thread_count = 1;
    avcodec_open2(codec.get(), nullptr, nullptr);
    std::vector<std::vector<AvPtr<AVPacket>>> groups;
    for (AvPtr<AVPacket> packet(av_packet_alloc()); av_read_frame(opened, packet.get()) >= 0;
         packet.reset(av_packet_alloc())) {
        if (packet->stream_index != stream)
            continue;
        if (groups.empty() || packet->flags & AV_PKT_FLAG_KEY)
            groups.emplace_back();
        groups.back().push_back(std::move(packet));
    }
    if (backwards)
        std::reverse(groups.begin(), groups.end());
    std::map<int64_t, QByteArray> pictures;
    const AvPtr<AVFrame> frame(av_frame_alloc());
    for (const auto& group : groups) {
        avcodec_flush_buffers(codec.get());
        for (size_t i = 0; i <= group.size(); ++i) {
            avcodec_send_packet(codec.get(), i < group.size() ? group[i].get() : nullptr);
            while (avcodec_receive_frame(codec.get(), frame.get()) >= 0) {
                QByteArray& plane = pictures[frame->best_effort_timestamp];
                for (int y = 0; y < frame->height; ++y)
                    plane.append(reinterpret_cast<const char*>(frame->data[0]) +
                                     y * frame->linesize[0],
                                 frame->width);
            }
        }
    }
    return pictures;
}
} // namespace

// Every picture of the output carries the number it should, in every family of movie the
// program finds, with marks in groups, at key pictures, one picture long, at the first and the
// last picture, at other sizes and rates; the check after writing passes, and copying happens
// exactly where whole groups lie between the marks; a player that seeks back into any group
// decodes the same pictures as one that plays straight through.
TEST(MovieRenderer, EveryPictureIsTheClipsOwnInEveryFamily)
{
    const ShowCase shows[] = {
        {"smart",
         RenderSettings::Mode::Smart,
         "mp4",
         {{&kH264, Before(kH264, 3), At(kH264, 20)},
          {&kH264, At(kH264, 10), -1},
          {&kH264, At(kH264, 7), At(kH264, 8)},
          {&kH264, -1, At(kH264, 1)},
          {&kQuiet, Before(kQuiet, 5), At(kQuiet, 17)}},
         50},
        {"exact",
         RenderSettings::Mode::Exact,
         "mkv",
         {{&kH264, Before(kH264, 3), At(kH264, 20)},
          {&kH264, At(kH264, 49), -1},
          {&kQuiet, Before(kQuiet, 5), At(kQuiet, 17)}},
         0},
        {"mixed",
         RenderSettings::Mode::Smart,
         "mov",
         {{&kH264, Before(kH264, 12), At(kH264, 38)},
          {&kWide, At(kWide, 5), Before(kWide, 20)},
          {&kProgram, -1, -1},
          {&kPlain, At(kPlain, 13), At(kPlain, 14)},
          {&kTone, 0.2, 0.6}},
         10},
        {"hevc",
         RenderSettings::Mode::Smart,
         "mp4",
         {{&kHevc, Before(kHevc, 3), At(kHevc, 20)},
          {&kHevc, At(kHevc, 10), -1},
          {&kH264, At(kH264, 7), At(kH264, 12)}},
         50},
        {"hevc encoded",
         RenderSettings::Mode::Smart,
         "mkv",
         {{&kHevc, Before(kHevc, 3), At(kHevc, 8)}},
         0},
        {"continued",
         RenderSettings::Mode::Smart,
         "mp4",
         {{&kProgram, Before(kProgram, 1), At(kProgram, 9)}, {&kH264, -1, At(kH264, 30)}},
         30},
    };
    for (const ShowCase& show : shows) {
        SCOPED_TRACE(show.name);
        std::vector<RenderClip> clips;
        std::vector<int> expected;
        int checks = 0;
        for (const ClipCase& clip : show.clips) {
            clips.push_back({Movie(*clip.movie), clip.start, clip.end});
            const std::vector<int> numbers = Expected(clip);
            expected.insert(expected.end(), numbers.begin(), numbers.end());
            checks += numbers.size() > 1 ? 2 : 1;
        }
        RenderSettings settings;
        settings.mode = show.mode;
        settings.preset = "veryfast";
        settings.target =
            QDir(TestEnv::Folder()).filePath(QString(show.name) + "." + show.extension);
        const RenderResult result = MovieRenderer(clips, settings).Run();
        ASSERT_TRUE(result.succeeded) << result.error.toStdString();
        EXPECT_EQ(PictureNumbers(settings.target), expected);
        EXPECT_EQ(result.copiedPictures, show.copied);
        EXPECT_EQ(result.checkedPictures, checks);
        CheckSound(settings.target, show);
        EXPECT_TRUE(DecodedGroups(settings.target, true) == DecodedGroups(settings.target, false));
    }
}
