// Frame n is the n-th picture in every family of movie the program lists: in movies whose
// picture n is luma 16 + 5n, the picture shown after steps and seeks must carry the number the
// readout gives, and the show player plays the section marked there within a frame.
#include "preview/EditClipDlg.h"
#include "show/Clip.h"
#include "show/PlaylistWriter.h"
#include "tests/preview/PreviewTestKit.h"
#include "tests/support/Await.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPrograms.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

using namespace previewtest;

namespace
{
// What the show player reports it played of the clip: first and last picture's times.
std::pair<double, double> PlayedByShowPlayer(const Clip& clip)
{
    PlaylistWriter::WritePlaylist({&clip});
    const std::string report = testfiles::NewPath("report.txt");
    const testprograms::Run run = testprograms::RunProgram(
        REELMIX_MPLAYER2_PATH,
        {"--headless", "--report", QString::fromStdString(report), "Reelmix.asx"}, 60000);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QStringList fields = QString::fromStdString(testfiles::ReadBytes(report)).split('\t');
    return fields.size() == 3 ? std::pair{fields[1].toDouble(), fields[2].toDouble()}
                              : std::pair{-1.0, -1.0};
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
        {"m1v", {"-c:v", "mpeg1video", "-f", "mpeg1video"}},
        {"mpv", {"-c:v", "mpeg2video", "-f", "mpeg2video"}},
    };
    // To the end and back, up to a key frame, back across it and forward again.
    const std::pair<std::string, int> walk[] = {{"]", 39}, {"[", 0},  {">>>>>>>>>>", 10},
                                                {"<", 9},  {">", 10}, {"<<<", 7}};
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
        const auto clip = ClipOf(movie, run.start, run.end);
        const auto [first, last] = PlayedByShowPlayer(*clip);
        EXPECT_NEAR(first, clip->m_start, 1 / 25.0) << extension;
        EXPECT_NEAR(last + 1 / 25.0, clip->m_end, 1 / 25.0) << extension;
    }
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
}
