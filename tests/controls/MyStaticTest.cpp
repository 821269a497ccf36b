#include "controls/MyStatic.h"

#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace
{
constexpr COLORREF kGreen = RGB(0, 200, 0);

// A MyStatic showing "Hello" on a white window.
struct Static {
    explicit Static(DWORD style = SS_LEFT)
    {
        window.resize(200, 60);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Qt::white);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        label = new QLabel("Hello", &window);
        label->setGeometry(10, 10, 120, 30);
        CWnd::SetInitialStyle(label, style);
        control.Attach(label);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    CString Text() const
    {
        CString text;
        control.GetWindowText(text);
        return text;
    }
    // The control as it shows on its window.
    QImage Shown() { return window.grab(label->geometry()).toImage(); }
    QRgb Background() { return Shown().pixel(4, 4) & 0xFFFFFF; }
    QWidget window;
    QLabel* label;
    MyStatic control;
};
} // namespace

TEST(MyStatic, SettersChainAndTakeEffect)
{
    Static s;
    s.control.SetFontBold(true).SetFontItalic(true).SetFontSize(20).SetFontName(
        "A face name that is far too long for the font");
    const LOGFONT& lf = s.control.GetLogFont();
    EXPECT_EQ(lf.lfWeight, 700);
    // The face name is cut to fit the font record.
    EXPECT_STREQ(lf.lfFaceName, "A face name that is far too lon");
    EXPECT_EQ(s.control.SetFontBold(false).GetLogFont().lfWeight, 400);

    s.control.SetBkColor(kGreen).SetTextColor(RGB(255, 0, 0)).SetText("Red on green");
    const QImage image = s.Shown();
    EXPECT_EQ(image.pixel(2, 2) & 0xFFFFFF, QColor(0, 200, 0).rgb() & 0xFFFFFF);
    bool red = false;
    for (int x = 0; x < image.width() && !red; ++x)
        for (int y = 0; y < image.height() && !red; ++y)
            red = image.pixel(x, y) == QColor(255, 0, 0).rgb();
    EXPECT_TRUE(red);
    s.control.SetBorder(true);
    EXPECT_EQ(s.Shown().pixel(0, 0), 0xFF000000u);
}

TEST(MyStatic, FontSizeIsInPointsAtTheControlsPixelsPerInch)
{
    Static s;
    ASSERT_EQ(s.label->logicalDpiY(), 96);
    for (const auto& [pixels, points] : {std::pair{11, 8}, {12, 9}, {16, 12}})
        EXPECT_EQ(s.control.SetFontSize(pixels).GetFontSize(), points) << pixels;
}

TEST(MyStatic, TimedTextFlashHidesAndShowsTheTextAndEndsShown)
{
    Static s;
    s.control.FlashText(true, 1000, 250);
    // Ticks at 250, 500, ..., 1500 ms.
    const char* shown[] = {"", "Hello", "", "Hello", "", "Hello"};
    for (const char* text : shown) {
        ASSERT_TRUE(s.control.HasTimer(MyStatic::FlashTimer));
        s.control.OnTimer(MyStatic::FlashTimer);
        EXPECT_EQ(s.Text(), text);
    }
    EXPECT_FALSE(s.control.HasTimer(MyStatic::FlashTimer));
    s.control.SetText("At rest");
    EXPECT_EQ(s.Text(), "At rest");
}

TEST(MyStatic, EndlessFlashStopsEveryWayWithTheTextShown)
{
    const std::pair<const char*, std::function<void(Static&)>> stops[] = {
        {"FlashText off", [](Static& s) { s.control.FlashText(false, 0, 0); }},
        {"FlashBackground", [](Static& s) { s.control.FlashBackground(true, -1, 500); }},
        {"FlashText again", [](Static& s) { s.control.FlashText(true, -1, 500); }},
        {"click", [](Static& s) { QTest::mouseClick(s.label, Qt::LeftButton); }},
    };
    for (const auto& [name, stop] : stops) {
        Static s(SS_NOTIFY);
        QTest::mouseClick(s.label, Qt::LeftButton); // not flashing: nothing happens
        EXPECT_EQ(s.Text(), "Hello") << name;
        s.control.FlashText(true, -1, 500);
        s.control.OnTimer(MyStatic::FlashTimer);
        ASSERT_EQ(s.Text(), "") << name;
        stop(s);
        EXPECT_EQ(s.Text(), "Hello") << name;
    }
    Static clicked(SS_NOTIFY);
    clicked.control.FlashText(true, -1, 500);
    QTest::mouseClick(clicked.label, Qt::LeftButton);
    EXPECT_FALSE(clicked.control.HasTimer(MyStatic::FlashTimer));
}

TEST(MyStatic, TextSetDuringAFlashShowsFromTheNextVisiblePhase)
{
    Static s;
    s.control.FlashText(true, -1, 100);
    s.control.OnTimer(MyStatic::FlashTimer);
    s.control.SetText("News");
    for (const char* text : {"Hello", "", "News", ""}) {
        s.control.OnTimer(MyStatic::FlashTimer);
        EXPECT_EQ(s.Text(), text);
    }
}

TEST(MyStatic, BackgroundFlashAlternatesBrushesAndLeavesTheText)
{
    Static s;
    const QRgb white = 0xFFFFFF, green = QColor(0, 200, 0).rgb() & 0xFFFFFF;
    s.control.SetBkColor(kGreen).FlashBackground(true, -1, 100);
    for (const QRgb expected : {white, green, white, green}) {
        EXPECT_EQ(s.Background(), expected);
        s.control.OnTimer(MyStatic::FlashTimer);
    }
    s.control.FlashBackground(false, 0, 0);
    EXPECT_EQ(s.Text(), "Hello");
    EXPECT_EQ(s.Background(), green);
}

TEST(MyStatic, FlashRunsOutOnTheRealTimer)
{
    Static s;
    s.control.FlashText(true, 100, 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !s.control.HasTimer(MyStatic::FlashTimer); }, 5000));
    EXPECT_EQ(s.Text(), "Hello");
}
