#include "platform/gdi/CDC.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/FontLine.h"
#include "platform/gdi/SysColor.h"

#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace
{
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

// A white image drawn on through a CDC.
QImage Draw(QSize size, const std::function<void(CDC&)>& draw,
            QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    draw(dc);
    return image;
}

// The pixels (x, y) whose colour is colour, as "x,y" pairs in row order.
std::vector<QPoint> PixelsOf(const QImage& image, QRgb colour)
{
    std::vector<QPoint> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                found.emplace_back(x, y);
    return found;
}

// The bounding box of the pixels darker than mid-grey: the ink of black text on white.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The pixels of the given rectangles, in the order PixelsOf lists them.
std::vector<QPoint> Points(std::initializer_list<QRect> rects)
{
    std::vector<QPoint> points;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (std::any_of(rects.begin(), rects.end(),
                            [x, y](QRect r) { return r.contains(x, y); }))
                points.emplace_back(x, y);
    return points;
}
} // namespace

TEST(CDC, LineToDrawsUpToButNotIncludingTheEndPoint)
{
    struct Case {
        QPoint from, to;
        std::vector<QPoint> pixels;
    };
    const Case cases[] = {
        {{2, 5}, {8, 5}, Points({QRect(2, 5, 6, 1)})},
        {{8, 5}, {2, 5}, Points({QRect(3, 5, 6, 1)})},
        {{4, 1}, {4, 6}, Points({QRect(4, 1, 1, 5)})},
        {{4, 6}, {4, 1}, Points({QRect(4, 2, 1, 5)})},
        {{3, 3}, {4, 3}, {{3, 3}}},
        {{3, 3}, {3, 3}, {}},
        {{1, 1}, {5, 5}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
    };
    for (const Case& c : cases) {
        const QImage image = Draw(QSize(12, 12), [&c](CDC& dc) {
            dc.MoveTo(c.from.x(), c.from.y());
            dc.LineTo(c.to.x(), c.to.y());
            EXPECT_EQ(dc.MoveTo(0, 0), CPoint(c.to.x(), c.to.y()));
        });
        EXPECT_EQ(PixelsOf(image, kBlack), c.pixels)
            << c.from.x() << "," << c.from.y() << " to " << c.to.x() << "," << c.to.y();
    }
}

TEST(CDC, PensAndBrushesAreSelectedAndGiveBackThePreviousOne)
{
    const QImage image = Draw(QSize(12, 12), [](CDC& dc) {
        CPen red(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush blue(RGB(0, 0, 255));
        CGdiObject* stockPen = CGdiObject::GetStockObject(BLACK_PEN);
        CPen* before = dc.SelectObject(&red);
        EXPECT_EQ(before, stockPen);
        CBrush* beforeBrush = dc.SelectObject(&blue);
        EXPECT_EQ(beforeBrush, CGdiObject::GetStockObject(WHITE_BRUSH));
        const CRect rect(1, 1, 6, 5);
        dc.Rectangle(&rect);
        EXPECT_EQ(dc.SelectObject(before), &red);
        EXPECT_EQ(dc.SelectStockObject(NULL_PEN), stockPen);
        const CRect unframed(7, 7, 10, 10);
        dc.Rectangle(&unframed);
        EXPECT_FALSE(stockPen->DeleteObject());
        EXPECT_TRUE(red.DeleteObject());
        EXPECT_FALSE(red.DeleteObject());
    });
    // Outline on the rectangle's outer pixels, the brush inside; without a pen the right and
    // bottom edges stay unfilled.
    EXPECT_EQ(PixelsOf(image, 0xFFFF0000),
              Points({QRect(1, 1, 5, 1), QRect(1, 4, 5, 1), QRect(1, 2, 1, 2), QRect(5, 2, 1, 2)}));
    EXPECT_EQ(PixelsOf(image, 0xFF0000FF), Points({QRect(2, 2, 3, 2), QRect(7, 7, 2, 2)}));
}

TEST(CDC, FillSolidRectFillsExactlyAndSetsTheBackgroundColour)
{
    const QImage image = Draw(QSize(12, 12), [](CDC& dc) {
        dc.FillSolidRect(3, 4, 5, 2, RGB(0, 128, 0));
        EXPECT_EQ(dc.GetBkColor(), RGB(0, 128, 0));
    });
    EXPECT_EQ(PixelsOf(image, 0xFF008000), Points({QRect(3, 4, 5, 2)}));
}

TEST(CDC, FocusRectInvertsADottedFrameAndTwiceRestoresThePixels)
{
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage image(20, 12, format);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 12, y * 20, 90));
        const QImage original = image;
        const CRect rect(2, 3, 15, 10);
        QPainter painter(&image);
        CDC dc(&painter);
        dc.DrawFocusRect(&rect);
        painter.end();
        int inverted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool onFrame =
                    (x == 2 || x == 14 || y == 3 || y == 9) && QRect(2, 3, 13, 7).contains(x, y);
                const QRgb was = original.pixel(x, y);
                const QRgb now = image.pixel(x, y);
                if (now == was)
                    continue;
                ++inverted;
                EXPECT_TRUE(onFrame) << x << "," << y;
                EXPECT_EQ(now, qRgb(255 - qRed(was), 255 - qGreen(was), 255 - qBlue(was)));
            }
        }
        // Every other pixel of the 36 around the frame.
        EXPECT_EQ(inverted, 18) << format;
        painter.begin(&image);
        dc.DrawFocusRect(&rect);
        painter.end();
        EXPECT_EQ(image, original) << format;
    }
}

TEST(CDC, DrawTextAlignsInTheRectangle)
{
    const QFontMetrics metrics{QFont()};
    const QRect plain = InkBox(Draw(QSize(200, 40), [](CDC& dc) {
        CRect rect(0, 0, 200, 40);
        dc.DrawText("Wide", &rect, DT_SINGLELINE);
    }));
    ASSERT_FALSE(plain.isEmpty());
    struct Case {
        UINT format;
        int dx, dy; // where the text's ink lands relative to drawing at the top left
    };
    const CRect rect(10, 5, 190, 65);
    const int width = metrics.horizontalAdvance("Wide");
    const Case cases[] = {
        {DT_SINGLELINE | DT_LEFT, 10, 5},
        {DT_SINGLELINE | DT_RIGHT, 190 - width, 5},
        {DT_SINGLELINE | DT_CENTER, 10 + (180 - width) / 2, 5},
        {DT_SINGLELINE | DT_VCENTER, 10, 5 + (60 - FontLine(QFont()).Height()) / 2},
        {DT_SINGLELINE | DT_BOTTOM, 10, 65 - FontLine(QFont()).Height()},
        {DT_VCENTER, 10, 5}, // vertical alignment needs a single line
    };
    for (const Case& c : cases) {
        const QRect box = InkBox(Draw(QSize(200, 80), [&c, rect](CDC& dc) {
            CRect area = rect;
            dc.DrawText("Wide", &area, c.format);
        }));
        EXPECT_EQ(box, plain.translated(c.dx, c.dy)) << std::hex << c.format;
    }
}

TEST(CDC, DrawTextBreaksLinesAndCalculatesTheirExtent)
{
    const QFontMetrics metrics{QFont()};
    const int line = FontLine(QFont()).Height(); // with room for accents above the ascent
    struct Case {
        const char* text;
        UINT format;
        int width, lines;
    };
    const int wordWidth = metrics.horizontalAdvance("alpha");
    const Case cases[] = {
        {"alpha", DT_SINGLELINE, wordWidth, 1},
        {"&alpha", DT_SINGLELINE, wordWidth, 1},
        {"&alpha", DT_SINGLELINE | DT_NOPREFIX, metrics.horizontalAdvance("&alpha"), 1},
        {"alpha\nalpha", DT_SINGLELINE, metrics.horizontalAdvance("alpha alpha"), 1},
        {"alpha\r\nalpha", 0, wordWidth, 2},
        {"alpha alpha alpha", DT_WORDBREAK, wordWidth, 3},
    };
    for (const Case& c : cases) {
        Draw(QSize(10, 10), [&c, line](CDC& dc) {
            CRect rect(4, 6, 4 + c.width + 2, 400);
            EXPECT_EQ(dc.DrawText(c.text, &rect, c.format | DT_CALCRECT), line * c.lines);
            EXPECT_EQ(rect, CRect(4, 6, 4 + c.width, 6 + line * c.lines)) << c.text;
        });
    }
}

TEST(CDC, DrawTextEndsTextThatDoesNotFitInAnEllipsis)
{
    const char* text = "A rather long caption for a narrow box";
    // Without clipping the ink shows where the text ends.
    const auto inkRight = [text](UINT format, int height) {
        return InkBox(Draw(QSize(400, 100),
                           [text, format, height](CDC& dc) {
                               CRect rect(0, 0, 80, height);
                               dc.DrawText(text, &rect, format | DT_NOCLIP);
                           }))
            .right();
    };
    EXPECT_GT(inkRight(DT_SINGLELINE, 30), 80);
    EXPECT_LT(inkRight(DT_SINGLELINE | DT_END_ELLIPSIS, 30), 80);
    // Wrapped text shows the lines that fit, the last of them ending in the ellipsis.
    const int line = FontLine(QFont()).Height();
    const QRect wrapped = InkBox(Draw(QSize(400, 100), [text, line](CDC& dc) {
        CRect rect(0, 0, 80, 2 * line + line / 2);
        dc.DrawText(text, &rect, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_NOCLIP);
    }));
    EXPECT_LT(wrapped.bottom(), 2 * line);
    EXPECT_GT(wrapped.bottom(), line);
    EXPECT_LT(wrapped.right(), 80);
}

TEST(CDC, PrefixUnderlinesTheMnemonicUnlessNoPrefix)
{
    const auto ink = [](const char* text, UINT format) {
        return InkBox(Draw(QSize(100, 40), [text, format](CDC& dc) {
            CRect rect(2, 2, 98, 38);
            dc.DrawText(text, &rect, format | DT_SINGLELINE);
        }));
    };
    const QRect plain = ink("mm", 0);
    const QRect prefixed = ink("&mm", 0);
    // Same letters, and below them the underline from the first one's origin.
    EXPECT_EQ(prefixed.left(), 2);
    EXPECT_EQ(prefixed.right(), plain.right());
    EXPECT_GT(prefixed.bottom(), plain.bottom());
    EXPECT_EQ(ink("&&mm", 0).width(), ink("&mm", DT_NOPREFIX).width());
    EXPECT_GT(ink("&mm", DT_NOPREFIX).width(), plain.width());
}

TEST(CDC, OpaqueModeFillsBehindTheTextWithTheBackgroundColour)
{
    for (const int mode : {OPAQUE, TRANSPARENT}) {
        const QImage image = Draw(QSize(100, 40), [mode](CDC& dc) {
            EXPECT_EQ(dc.SetBkMode(mode), OPAQUE);
            dc.SetBkColor(RGB(0, 0, 255));
            EXPECT_EQ(dc.SetTextColor(RGB(255, 0, 0)), RGB(0, 0, 0));
            CRect rect(0, 0, 100, 40);
            dc.DrawText("Text", &rect, DT_SINGLELINE);
        });
        EXPECT_EQ(PixelsOf(image, 0xFF0000FF).empty(), mode == TRANSPARENT);
        EXPECT_FALSE(PixelsOf(image, 0xFFFF0000).empty());
    }
}

TEST(CDC, FrameControlPaintsTheWholePushButtonFace)
{
    const auto face = [](Qt::GlobalColor background, UINT type, UINT state) {
        QImage image(40, 24, QImage::Format_RGB32);
        image.fill(background);
        QPainter painter(&image);
        CDC dc(&painter);
        CRect rect(2, 2, 38, 22);
        EXPECT_EQ(dc.DrawFrameControl(&rect, type, state), BOOL(type == DFC_BUTTON));
        return image;
    };
    const QImage up = face(Qt::white, DFC_BUTTON, DFCS_BUTTONPUSH);
    EXPECT_NE(up, face(Qt::white, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED));
    // Drawn on white and on black, only the pixels outside the rectangle differ.
    const QImage onBlack = face(Qt::black, DFC_BUTTON, DFCS_BUTTONPUSH);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = QRect(2, 2, 36, 20).contains(x, y);
            EXPECT_EQ(up.pixel(x, y), inside ? onBlack.pixel(x, y) : kWhite) << x << "," << y;
            EXPECT_EQ(onBlack.pixel(x, y), inside ? up.pixel(x, y) : kBlack) << x << "," << y;
        }
    }
    EXPECT_EQ(face(Qt::white, 1, DFCS_BUTTONPUSH), Draw(QSize(40, 24), [](CDC&) {}));
}

TEST(CDC, DrawStateEmbossesTheDisabledImage)
{
    QImage square(4, 4, QImage::Format_ARGB32);
    square.fill(Qt::black);
    const QImage normal = Draw(QSize(10, 10), [&square](CDC& dc) {
        EXPECT_TRUE(dc.DrawState(CPoint(2, 3), CSize(4, 4), square, DST_BITMAP | DSS_NORMAL));
    });
    EXPECT_EQ(InkBox(normal), QRect(2, 3, 4, 4));
    const QImage disabled = Draw(QSize(10, 10), [&square](CDC& dc) {
        dc.DrawState(CPoint(2, 3), CSize(4, 4), square, DST_BITMAP | DSS_DISABLED);
    });
    const QRgb shadow = ToQColor(GetSysColor(COLOR_3DSHADOW)).rgb();
    const QRgb highlight = ToQColor(GetSysColor(COLOR_3DHIGHLIGHT)).rgb();
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            QRgb expected = kWhite;
            if (QRect(2, 3, 4, 4).contains(x, y))
                expected = shadow;
            else if (QRect(3, 4, 4, 4).contains(x, y))
                expected = highlight;
            EXPECT_EQ(disabled.pixel(x, y), expected) << x << "," << y;
        }
    }
}

// On a screen scaled by 2 an icon is drawn from its pixels for that density, not enlarged.
TEST(CDC, DrawStateDrawsAnIconAtTheDevicesDensity)
{
    QImage fine(8, 8, QImage::Format_ARGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            fine.setPixel(x, y, (x + y) % 2 ? kBlack : kWhite);
    QImage coarse(4, 4, QImage::Format_ARGB32);
    coarse.fill(Qt::black);
    QIcon icon(QPixmap::fromImage(coarse));
    icon.addPixmap(QPixmap::fromImage(fine));
    for (const UINT state : {DSS_NORMAL, DSS_DISABLED}) {
        QImage screen(20, 20, QImage::Format_RGB32);
        screen.fill(Qt::white);
        screen.setDevicePixelRatio(2);
        {
            QPainter painter(&screen);
            CDC dc(&painter);
            dc.DrawState(CPoint(2, 2), CSize(4, 4), icon, DST_ICON | state);
        }
        // Neighbouring device pixels differ as the fine pixels do.
        EXPECT_NE(screen.pixel(4, 4), screen.pixel(5, 4)) << state;
    }
}
