// The clip editor over a real 4-second, 25 fps movie: marks set by stepping with the arrow keys
// and the mark buttons, and the placement kept on every close.
#include "preview/EditClipDlg.h"

#include "preview/PositionBar.h"
#include "tests/preview/PreviewTestKit.h"
#include "tests/support/Await.h"
#include "tests/support/TestFiles.h"
#include "util/MyRegistry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QTest>

using namespace previewtest;

TEST(EditClipDlg, MarkRulesAndReadouts)
{
    constexpr double unset = -1.0;
    const struct {
        double start, end; // the clip's marks before
        std::string actions;
        int frame; // the readout after the actions
        double newStart, newEnd;
        const char* startText;
        const char* endText;
    } cases[] = {
        {unset, unset, "", 0, unset, unset, "Not set.", "Not set."},
        {unset, unset, ">>>>>S", 5, 0.2, 4.0, "Start: 0.200 secs", "End: 4.000 secs"},
        {0.0, 0.1, ">>>>>S", 5, 0.2, 4.0, "Start: 0.200 secs", "End: 4.000 secs"},
        {0.0, 0.2, ">>>>>S", 5, 0.2, 0.2, "Start: 0.200 secs", "End: 0.200 secs"},
        {1.0, 2.0, ">>>>>E", 5, 0.0, 0.2, "Start: 0.000 secs", "End: 0.200 secs"},
        {0.2, 3.0, ">>>>>E", 5, 0.2, 0.2, "Start: 0.200 secs", "End: 0.200 secs"},
        {unset, unset, ">>E", 2, 0.0, 0.08, "Start: 0.000 secs", "End: 0.080 secs"},
        {unset, unset, "<<S", 0, 0.0, 4.0, "Start: 0.000 secs", "End: 4.000 secs"},
        {unset, unset, ">>>><S", 3, 0.12, 4.0, "Start: 0.120 secs", "End: 4.000 secs"},
        {unset, unset, "]E", 99, 0.0, 3.96, "Start: 0.000 secs", "End: 3.960 secs"},
        {unset, unset, ">>]<[S", 0, 0.0, 4.0, "Start: 0.000 secs", "End: 4.000 secs"},
    };
    for (const auto& c : cases) {
        const EditorRun run =
            RunEditor(FourSecondMovie(), c.start, c.end, [&](EditClipDlg& dialog) {
                Act(dialog, c.actions);
                EXPECT_EQ(Text(dialog, EditClipDlg::IDC_START_TEXT), c.startText) << c.actions;
                EXPECT_EQ(Text(dialog, EditClipDlg::IDC_END_TEXT), c.endText) << c.actions;
                // The readout follows the player's position event.
                EXPECT_TRUE(Await([&] {
                    return Text(dialog, EditClipDlg::IDC_POSITION_TEXT) ==
                           EditClipDlg::PositionText(c.frame);
                })) << c.actions
                    << ": " << Text(dialog, EditClipDlg::IDC_POSITION_TEXT);
                dialog.OnOK();
            });
        EXPECT_EQ(run.result, IDOK);
        EXPECT_NEAR(run.start, c.newStart, 1e-9) << c.actions;
        EXPECT_NEAR(run.end, c.newEnd, 1e-9) << c.actions;
    }
    EXPECT_EQ(EditClipDlg::MarkText("Start", 3.14159), "Start: 3.142 secs");
    EXPECT_EQ(EditClipDlg::PositionText(41.9), "Current position: Frame 41");
}

// Cancel, the close box and OK without marking leave the marks as they were; every close
// stores the placement that the next run comes back to.
TEST(EditClipDlg, ClosingKeepsMarksAndPlacement)
{
    const struct {
        std::string actions;
        std::function<void(EditClipDlg&)> close;
        int result;
    } cases[] = {
        {">>S", [](EditClipDlg& dialog) { dialog.OnCancel(); }, IDCANCEL},
        {">>E",
         [](EditClipDlg& dialog) {
             QCloseEvent close;
             QApplication::sendEvent(dialog.GetSafeHwnd(), &close);
         },
         IDCANCEL},
        {"", [](EditClipDlg& dialog) { dialog.OnOK(); }, IDOK},
    };
    QPoint where(20, 10);
    for (const auto& c : cases) {
        const EditorRun run = RunEditor(FourSecondMovie(), 1.5, 2.5, [&](EditClipDlg& dialog) {
            QWidget* window = dialog.GetSafeHwnd();
            if (c.actions.empty()) { // the third run
                EXPECT_EQ(window->pos(), where);
            }
            Act(dialog, c.actions);
            window->move(where += QPoint(10, 5));
            c.close(dialog);
        });
        EXPECT_EQ(run.result, c.result);
        if (run.result == IDOK) {
            EXPECT_EQ(run.start, 1.5);
            EXPECT_EQ(run.end, 2.5);
        }
    }
}

// Playing disables frame stepping and its readout, pausing enables them; the selection shows
// on the position bar once both marks are set.
TEST(EditClipDlg, PlayingAndSelection)
{
    RunEditor(FourSecondMovie(), -1.0, -1.0, [](EditClipDlg& dialog) {
        QWidget* player = dialog.m_player.GetSafeHwnd();
        QWidget* spin = dialog.GetDlgItem(EditClipDlg::IDC_SPIN)->GetSafeHwnd();
        auto* bar = player->findChild<PositionBar*>();
        const auto banded = [bar] {
            return bar->grab().toImage().pixelColor(bar->width() / 2, 1) ==
                   bar->palette().color(QPalette::Highlight);
        };
        EXPECT_FALSE(banded());
        for (const bool playing : {true, false}) {
            QTest::keyClick(player, Qt::Key_Space);
            EXPECT_TRUE(Await([&] { return spin->isEnabled() == !playing; })) << playing;
            EXPECT_EQ(dialog.GetDlgItem(EditClipDlg::IDC_POSITION_TEXT)->IsWindowEnabled(),
                      !playing);
        }
        Act(dialog, "]E");
        EXPECT_TRUE(banded());
        dialog.OnCancel();
    });
}

// Keys of other editors step and mark wherever the focus is, also after a click on a go-to
// button.
TEST(EditClipDlg, KeysStepAndMarkWhereverTheFocusIs)
{
    const struct {
        const char* clicks; // on buttons first, as Act names them
        std::vector<QKeyCombination> keys;
        int frame;
        double start, end;
    } cases[] = {
        {"", {Qt::Key_Right, Qt::Key_Right, Qt::Key_I}, 2, 0.08, 4.0},
        {"]", {Qt::Key_Left, Qt::Key_O}, 98, 0.0, 3.92},
        {"",
         {Qt::SHIFT | Qt::Key_Right, Qt::Key_I, Qt::Key_End, Qt::SHIFT | Qt::Key_Left, Qt::Key_O},
         74,
         1.0,
         2.96},
        {"[", {Qt::Key_End, Qt::Key_Home, Qt::Key_Right, Qt::Key_O}, 1, 0.0, 0.04},
    };
    for (const auto& c : cases) {
        const EditorRun run = RunEditor(FourSecondMovie(), -1.0, -1.0, [&](EditClipDlg& dialog) {
            QApplication::setActiveWindow(dialog.GetSafeHwnd());
            Act(dialog, c.clicks);
            for (const QKeyCombination key : c.keys)
                QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            EXPECT_TRUE(Await([&] {
                return Text(dialog, EditClipDlg::IDC_POSITION_TEXT) ==
                       EditClipDlg::PositionText(c.frame);
            })) << c.frame
                << ": " << Text(dialog, EditClipDlg::IDC_POSITION_TEXT);
            dialog.OnOK();
        });
        EXPECT_NEAR(run.start, c.start, 1e-9) << c.frame;
        EXPECT_NEAR(run.end, c.end, 1e-9) << c.frame;
    }
}

// The stepper and the picture show when they have the keyboard focus.
TEST(EditClipDlg, TheFocusShowsOnTheStepperAndThePicture)
{
    RunEditor(FourSecondMovie(), -1.0, -1.0, [](EditClipDlg& dialog) {
        QApplication::setActiveWindow(dialog.GetSafeHwnd());
        QWidget* ok = dialog.GetDlgItem(IDOK)->GetSafeHwnd();
        for (const int id : {EditClipDlg::IDC_SPIN, EditClipDlg::IDC_PLAYER}) {
            QWidget* control = dialog.GetDlgItem(id)->GetSafeHwnd();
            control->setFocus();
            const QImage focused = control->grab().toImage();
            ok->setFocus();
            EXPECT_NE(control->grab().toImage(), focused) << id;
        }
        dialog.OnCancel();
    });
}

// The editor grows: the picture takes the room, OK keeps to the right edge; it shrinks no
// further than its layout.
TEST(EditClipDlg, ThePictureTakesTheRoomOfALargerWindow)
{
    RunEditor(FourSecondMovie(), -1.0, -1.0, [](EditClipDlg& dialog) {
        QWidget* window = dialog.GetSafeHwnd();
        QWidget* player = dialog.GetDlgItem(EditClipDlg::IDC_PLAYER)->GetSafeHwnd();
        QWidget* ok = dialog.GetDlgItem(IDOK)->GetSafeHwnd();
        const QSize least = window->size();
        const QRect picture = player->geometry();
        const int okRight = window->width() - ok->x();
        window->resize(least + QSize(200, 100));
        EXPECT_EQ(player->size(), picture.size() + QSize(200, 100));
        EXPECT_EQ(player->pos(), picture.topLeft());
        EXPECT_EQ(window->width() - ok->x(), okRight);
        EXPECT_EQ(window->minimumSize(), least);
        dialog.OnCancel();
    });
}

// A file that cannot be played leaves nothing to mark; one with sound only says so and marks.
TEST(EditClipDlg, UnplayableAndSoundOnlyFiles)
{
    const std::string broken = testfiles::NewPath("broken.avi");
    testfiles::WriteBytes(broken, "no movie at all");
    const EditorRun unplayable = RunEditor(broken, 1.0, 2.0, [](EditClipDlg& dialog) {
        EXPECT_TRUE(Await([&] { return !dialog.m_btnMarkStart.IsWindowEnabled(); }));
        EXPECT_FALSE(dialog.m_btnMarkEnd.IsWindowEnabled());
        QApplication::setActiveWindow(dialog.GetSafeHwnd());
        QTest::keyClick(dialog.GetSafeHwnd(), Qt::Key_I);
        dialog.OnOK();
    });
    EXPECT_EQ(unplayable, (EditorRun{IDOK, 1.0, 2.0}));

    const std::string sound =
        testfiles::MakeMovie("sound.mp2", {"-f", "lavfi", "-i", "sine=duration=2", "-c:a", "mp2"});
    const EditorRun marked = RunEditor(sound, -1.0, -1.0, [](EditClipDlg& dialog) {
        bool said = false;
        for (const QLabel* label : dialog.m_player.GetSafeHwnd()->findChildren<QLabel*>())
            said |= label->isVisible() && label->text().contains("sound only");
        EXPECT_TRUE(said);
        dialog.OnMarkStart();
        dialog.OnOK();
    });
    EXPECT_EQ(marked.start, 0.0);
    EXPECT_NEAR(marked.end, 2.0, 0.05);
}
