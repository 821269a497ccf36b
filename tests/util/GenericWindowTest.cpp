#include "platform/framework/CWinApp.h"
#include "platform/gdi/CDC.h"
#include "platform/windows/CDialog.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/DialogTemplateBuilder.h"
#include "res/DialogTemplates.h"
#include "tests/support/MessageCapture.h"
#include "util/Generic.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
class TestApp : public CWinApp
{
public:
    BOOL OnIdle(LONG count) override
    {
        m_idleCounts.push_back(count);
        return FALSE;
    }
    std::vector<LONG> m_idleCounts;
};

class Form : public CWnd
{
public:
    explicit Form(UINT id)
    {
        CreateOwned(std::make_unique<QWidget>());
        DialogTemplateBuilder::Build(*FindDialogTemplate(id), GetSafeHwnd(), [](UINT) {});
    }
};

// Drains what earlier tests left in the queue.
void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}
} // namespace

TEST(GenericWindow, DialogUnitsToPixels)
{
    EXPECT_EQ(Generic::GetHorzPixels(nullptr, 7), 0);
    EXPECT_EQ(Generic::GetVertPixels(nullptr, 7), 0);
    QWidget plain;
    CWnd notADialog;
    notADialog.Attach(&plain);
    EXPECT_EQ(Generic::GetHorzPixels(&notADialog, 7), 0);
    CWnd gone;
    EXPECT_EQ(Generic::GetVertPixels(&gone, 7), 0);

    Form form(IDD_ABOUTBOX);
    if (DialogTemplateBuilder::BaseUnits(form.GetSafeHwnd()->font()) != QSize(6, 14))
        GTEST_SKIP() << "font differs from the test machine's";
    // 6 pixels per 4 units: 7 units are 10.5 pixels, truncated; 14 per 8: 7 units are 12.25.
    EXPECT_EQ(Generic::GetHorzPixels(&form, 7), 10);
    EXPECT_EQ(Generic::GetVertPixels(&form, 7), 12);
    EXPECT_EQ(Generic::GetHorzPixels(&form, 98), 147);
    EXPECT_EQ(Generic::GetVertPixels(&form, 32), 56);
}

TEST(GenericWindow, PointsToLogicalHeight)
{
    EXPECT_EQ(Generic::PointsToLogicalHeight(nullptr, 10), -1);
    struct Case {
        int dpi, points, height;
    };
    for (const Case c : {Case{96, 10, -13}, Case{96, 8, -11}, Case{120, 9, -15}, Case{72, 0, 0}}) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(c.dpi / 0.0254));
        image.setDotsPerMeterY(qRound(c.dpi / 0.0254));
        QPainter painter(&image);
        const CDC dc(&painter);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), c.dpi);
        EXPECT_EQ(Generic::PointsToLogicalHeight(&dc, c.points), c.height)
            << c.dpi << " " << c.points;
    }
}

TEST(GenericWindow, SpinReturnsThePostedEventsIdOrZeroAfterIdlingTwice)
{
    TestApp app;
    Settle();
    EXPECT_EQ(Generic::SpinTheMessageLoop(), 0u);
    EXPECT_EQ(app.m_idleCounts, (std::vector<LONG>{0, 1}));
    const auto type = QEvent::Type(QEvent::User + 7);
    QObject receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(type));
    EXPECT_EQ(Generic::SpinTheMessageLoop(), WM_APP + UINT(type));
    EXPECT_EQ(Generic::SpinTheMessageLoop(), 0u);
}

TEST(GenericWindow, AQuitTakenInsideAPumpIsSeenAndStillEndsTheRun)
{
    TestApp app;
    std::vector<UINT> results;
    QTimer::singleShot(0, [&results] {
        PostQuitMessage(4);
        // The caller's own loop, like a long search: it stops when it sees the quit.
        for (int i = 0; i < 5; ++i) {
            results.push_back(Generic::SpinTheMessageLoop());
            if (results.back() == WM_QUIT)
                break;
        }
    });
    EXPECT_EQ(app.Run(), 4);
    EXPECT_EQ(results, std::vector<UINT>{WM_QUIT});
}

TEST(GenericWindow, QuickExitShowsItsTextAndEndsTheRunWithItsCode)
{
    TestApp app;
    MessageCapture boxes;
    QTimer::singleShot(0, [] { Generic::QuickExit("The show store is damaged.", 2); });
    EXPECT_EQ(app.Run(), 2);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], "The show store is damaged.");
    EXPECT_EQ(boxes.Types()[0], MB_OK | MB_ICONSTOP);
}
