#include "render/dialog/RenderProgressDlg.h"

#include "tests/support/RenderTestMovies.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QtTest/QTest>

// Escape (like Cancel and the close box) stops the render; the dialog stays until the render
// has stopped, and then no movie and no temporary file is left.
TEST(RenderProgressDlg, EscapeCancelsAndLeavesNothing)
{
    const QDir folder(QDir(TestEnv::Folder()).filePath("progress"));
    folder.mkpath(".");
    const QString movie = rendertest::Movie(rendertest::H264Spec("progress.mp4", 0));
    RenderSettings settings;
    settings.target = folder.filePath("out.mp4");
    settings.preset = "veryslow";
    RenderProgressDlg dialog(std::vector<RenderClip>(8, {movie, -1, -1}), settings);
    dialog.show();
    dialog.Start();
    auto* bar = dialog.findChild<QProgressBar*>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->value() > 0; }, 60000));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 60000));
    EXPECT_TRUE(dialog.Result().canceled);
    EXPECT_TRUE(folder.entryList(QDir::Files | QDir::Hidden).isEmpty());
}
