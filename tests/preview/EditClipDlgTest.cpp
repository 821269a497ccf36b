// The clip editor over a real 4-second, 25 fps movie: marks set by stepping with the arrow keys
// and the mark buttons, and the placement kept on every close.
#include "preview/EditClipDlg.h"

#include "preview/PositionBar.h"
#include "tests/preview/PreviewTestKit.h"
#include "tests/support/Await.h"
#include "util/MyRegistry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
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
