// Frame n is the n-th picture in every family of movie the program lists: in movies whose
// picture n is luma 16 + 5n, the picture shown after steps and seeks must carry the number the
// readout gives, and the show player must play exactly the pictures marked there.
#include "platform/media/FrameServer.h"
#include "preview/EditClipDlg.h"
#include "show/Clip.h"
#include "show/PlaylistWriter.h"
#include "tests/preview/PreviewTestKit.h"
#include "tests/support/Await.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPrograms.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <cmath>

using namespace previewtest;

namespace
{
using Clips = std::vector<std::unique_ptr<Clip>>;

// The fields of the show player's report on the clips played one after another: file, first
// and last position, first and last picture.
std::vector<QStringList> PlayedByShowPlayer(const Clips& clips)
{
    PlaylistWriter::Rows rows;
    for (const auto& clip : clips)
        rows.push_back(clip.get());
    PlaylistWriter::WritePlaylist(rows);
    const std::string report = testfiles::NewPath("report.txt");
    // In its window, as a user sees it (offscreen here), where it looks for a sound device.
    const testprograms::Run run = testprograms::RunProgram(
        REELMIX_MPLAYER2_PATH, {"--report", QString::fromStdString(report), "Reelmix.asx"}, 120000);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    std::vector<QStringList> played;
    for (const QString& line :
         QString::fromStdString(testfiles::ReadBytes(report)).split('\n', Qt::SkipEmptyParts))
        played.push_back(line.split('\t'));
    return played;
}

// The first and last picture the report gives, "first last".
std::string Pictures(const QStringList& fields)
{
    return fields.mid(3).join(' ').toStdString();
}

// The number carried by the picture in the middle of the player's picture area.
int PictureShown(EditClipDlg& dialog)
{
    const QImage image = dialog.m_player.GetSafeHwnd()->grab().toImage();
    const int grey = qGray(image.pixel(image.width() / 2, image.height() / 3));
    return int(std::lround(grey * 219.0 / 255.0 / 5.0)); // video levels: 16 is black
}
} // namespace

TEST(FrameExactness, PicturesAndReadoutsAgreeInEveryFamily)
{
    // 40 pictures at 25 fps, a key frame every 10.
    const QStringList numbered{
        "-f", "lavfi", "-i", "nullsrc=size=96x64:rate=25:duration=1.6,geq=lum=16+5*N:cb=128:cr=128",
        "-g", "10"};
    const QStringList h264{"-c:v", "libx264", "-bf", "2", "-pix_fmt", "yuv420p"};
    const std::pair<const char*, QStringList> families[] = {
        {"avi", {"-c:v", "mpeg4"}},
        {"mov", h264},
        {"qt", h264 + QStringList{"-f", "mov"}},
        {"mpg", {"-c:v", "mpeg1video", "-bf", "2", "-f", "mpeg"}},
        {"mpeg", {"-c:v", "mpeg2video", "-bf", "2", "-f", "vob"}},
        {"mpe", {"-c:v", "mpeg1video", "-f", "mpeg"}},
        {"mpu", {"-c:v", "mpeg2video", "-bf", "2", "-f", "mpeg"}},
        {"m1v", {"-c:v", "mpeg1video", "-f", "mpeg1video"}},
        {"mpv", {"-c:v", "mpeg2video", "-f", "mpeg2video"}},
        {"mpv2", {"-c:v", "mpeg2video", "-bf", "2", "-f", "mpeg2video"}},
    };
    // To the end and back, up to a key frame, back across it and forward again.
    const std::pair<std::string, int> walk[] = {{"]", 39}, {"[", 0},  {">>>>>>>>>>", 10},
                                                {"<", 9},  {">", 10}, {"<<<", 7}};
    Clips clips;
    for (const auto& [extension, output] : families) {
        const std::string movie =
            testfiles::MakeMovie(std::string("numbered.") + extension, numbered + output);
        const EditorRun run = RunEditor(movie, -1.0, -1.0, [&](EditClipDlg& dialog) {
            for (const auto& [actions, frame] : walk) {
                Act(dialog, actions);
                EXPECT_TRUE(Await([&] {
                    return Text(dialog, EditClipDlg::IDC_POSITION_TEXT) ==
                               EditClipDlg::PositionText(frame) &&
                           PictureShown(dialog) == frame;
                })) << extension
                    << " after " << actions << ": " << Text(dialog, EditClipDlg::IDC_POSITION_TEXT)
                    << ", picture " << PictureShown(dialog);
            }
            Act(dialog, "S>>>>>>>>>>E");
            dialog.OnOK();
        });
        EXPECT_NEAR(run.start, 7 / 25.0, 1e-6) << extension;
        EXPECT_NEAR(run.end, 17 / 25.0, 1e-6) << extension;
        clips.push_back(ClipOf(movie, run.start, run.end));
    }
    // From the picture marked as the start to the one before the end mark.
    const std::vector<QStringList> played = PlayedByShowPlayer(clips);
    ASSERT_EQ(played.size(), std::size(families));
    for (std::size_t i = 0; i < played.size(); ++i)
        EXPECT_EQ(Pictures(played[i]), "7 16") << families[i].first;
}

// Clips marked in the middle of the public movies, at their pictures' times as the editor marks
// them, play from the picture marked as the start to the one before the end mark.
TEST(FrameExactness, TheShowPlayerPlaysWhatIsMarkedInThePublicMovies)
{
    const QDir corpus(REELMIX_CORPUS_DIR "/movies");
    const QStringList movies = corpus.entryList({"*.avi", "*.mov", "*.mpg"}, QDir::Files);
    if (movies.isEmpty())
        GTEST_SKIP() << "no public movies in " << corpus.path().toStdString();
    Clips clips;
    std::vector<std::string> marked;
    for (const QString& movie : movies) {
        FrameServer frames;
        ASSERT_TRUE(frames.Open(corpus.filePath(movie), {16, 16})) << movie.toStdString();
        const int first = frames.FrameCount() / 2;
        const int end = std::min(first + 5, frames.FrameCount() - 1);
        clips.push_back(ClipOf(corpus.filePath(movie).toStdString(), frames.TimeOfFrame(first),
                               frames.TimeOfFrame(end)));
        marked.push_back(std::to_string(first) + " " + std::to_string(end - 1));
    }
    const std::vector<QStringList> played = PlayedByShowPlayer(clips);
    ASSERT_EQ(played.size(), clips.size());
    for (std::size_t i = 0; i < played.size(); ++i)
        EXPECT_EQ(Pictures(played[i]), marked[i]) << movies[int(i)].toStdString();
}

// Sound only: the editor opens, the readout stays at frame 0, and marks come from seconds.
TEST(FrameExactness, SoundOnly)
{
    const std::string movie =
        testfiles::MakeMovie("sound.mp2", {"-f", "lavfi", "-i", "sine=duration=2", "-c:a", "mp2"});
    const EditorRun run = RunEditor(movie, -1, -1, [&](EditClipDlg& dialog) {
        dialog.m_player.SetCurrentPosition(0.5);
        Act(dialog, "S");
        EXPECT_EQ(Text(dialog, EditClipDlg::IDC_POSITION_TEXT), "Current position: Frame 0");
        dialog.OnOK();
    });
    EXPECT_NEAR(run.start, 0.5, 1e-6);
    EXPECT_NEAR(run.end, 2.0, 0.05);
    // Played also without a sound device, and numbered nowhere.
    Clips clips;
    clips.push_back(ClipOf(movie, run.start, run.end));
    const std::vector<QStringList> played = PlayedByShowPlayer(clips);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(Pictures(played[0]), "- -");
    EXPECT_NEAR(played[0][1].toDouble(), run.start, 0.001);
    EXPECT_NEAR(played[0][2].toDouble(), run.end, 0.05);
}
