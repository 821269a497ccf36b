#include "controls/MyButton.h"
#include "platform/gdi/FontLine.h"
#include "platform/gdi/SysColor.h"
#include "platform/windows/CDialog.h"
#include "res/DialogTemplates.h"
#include "res/Icons.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace
{
constexpr UINT kHand = 118;

// A MyButton on a push button of its own parent window.
struct Button {
    explicit Button(const char* caption, QSize size = QSize(150, 25))
    {
        push = new QPushButton(QString::fromUtf8(caption), &parent);
        push->setGeometry(QRect(QPoint(0, 0), size));
        button.Attach(push);
    }
    QWidget parent;
    QPushButton* push;
    MyButton button;
};

// One draw request to the button, onto image (a fresh grey one when null).
QImage Draw(Button& b, UINT state, UINT action = ODA_DRAWENTIRE, QImage image = QImage())
{
    if (image.isNull()) {
        image = QImage(b.push->size(), QImage::Format_RGB32);
        image.fill(Qt::gray);
    }
    QPainter painter(&image);
    painter.setFont(b.push->font());
    CDC dc(&painter);
    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    DRAWITEMSTRUCT item{ODT_BUTTON, 0,      0,   action,
                        state,      b.push, &dc, CRect(0, 0, b.push->width(), b.push->height()),
                        0};
    b.button.DrawItem(&item);
    return image;
}

// The top left of the place where the opaque pixels of needle show unchanged in haystack.
QPoint Find(const QImage& haystack, const QImage& needle)
{
    const QImage opaque = needle.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y + opaque.height() <= haystack.height(); ++y) {
        for (int x = 0; x + opaque.width() <= haystack.width(); ++x) {
            bool match = true;
            for (int j = 0; match && j < opaque.height(); ++j)
                for (int i = 0; match && i < opaque.width(); ++i)
                    if (qAlpha(opaque.pixel(i, j)) == 255)
                        match = (haystack.pixel(x + i, y + j) | 0xFF000000) == opaque.pixel(i, j);
            if (match)
                return QPoint(x, y);
        }
    }
    return QPoint(-1, -1);
}

QImage Hand()
{
    return LoadResourceIcon(kHand).pixmap(QSize(16, 16), 1.0).toImage();
}

// The bounding box of the pixels that differ clearly between a and b.
QRect Difference(const QImage& a, const QImage& b, int threshold = 64)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > threshold ||
                std::abs(qGreen(p) - qGreen(q)) > threshold ||
                std::abs(qBlue(p) - qBlue(q)) > threshold)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The caption's ink: what a button draws more than the same button without a caption.
QRect CaptionBox(Button& with, Button& without, UINT state = 0)
{
    return Difference(Draw(with, state), Draw(without, state));
}

// Where the ink of text starts when drawn with its origin at (0, 0).
QPoint InkOrigin(const char* text, const QFont& font)
{
    QImage image(300, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    CDC dc(&painter);
    CRect rect(0, 0, 300, 60);
    dc.DrawText(text, &rect, DT_SINGLELINE);
    painter.end();
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    return Difference(image, white).topLeft();
}
} // namespace

TEST(MyButton, PlacesImageAndCaptionByOffsetsAndCentres)
{
    struct Case {
        const char* caption;
        int imageOffset, textOffset; // 0: left at the defaults
        QPoint image;
        int textX; // -1: centred
    };
    const Case cases[] = {
        {"Mark &Start of Clip", 0, 0, {6, 4}, 30},
        {"Mark &End", 124, -100, {124, 4}, 40},
        {"", 0, 0, {67, 4}, -1},
    };
    for (const Case& c : cases) {
        // A blank caption places the image as a caption does and shows no ink.
        Button with(c.caption), without(" ");
        for (Button* b : {&with, &without}) {
            EXPECT_TRUE(b->button.SetIcon(kHand, 16, 16));
            if (c.imageOffset) {
                EXPECT_EQ(b->button.SetImageOffset(c.imageOffset), 6);
                EXPECT_EQ(b->button.SetTextOffset(c.textOffset), 8);
            }
        }
        EXPECT_EQ(with.button.GetButtonStyle(), BS_OWNERDRAW);
        EXPECT_EQ(Find(Draw(with, 0), Hand()), c.image) << c.caption;
        if (c.textX < 0)
            continue;
        const int line = FontLine(with.push->font()).Height();
        const QPoint origin = InkOrigin(c.caption, with.push->font());
        const QRect caption = CaptionBox(with, without);
        EXPECT_EQ(caption.left(), c.textX + origin.x()) << c.caption;
        // Centred vertically, one pixel up.
        EXPECT_EQ(caption.top(), ((25 - line) >> 1) - 1 + origin.y()) << c.caption;
    }
    // A caption too wide for the place after the image moves left to stay inside the face.
    const QSize narrow(30 + QFontMetrics(QPushButton().font()).horizontalAdvance("Insert...") - 2,
                       25);
    Button with("Insert...", narrow), without(" ", narrow);
    for (Button* b : {&with, &without})
        b->button.SetIcon(kHand, 16, 16);
    const QRect caption = CaptionBox(with, without);
    EXPECT_LE(caption.right(), narrow.width() - MyButton::FocusOffset - 1);
    EXPECT_GE(caption.left(), 6 + 16);
}

TEST(MyButton, ExplicitPositionsAndCentringWithoutAnImage)
{
    Button with("Go"), without("");
    for (Button* b : {&with, &without})
        b->button.SetButtonStyle(BS_OWNERDRAW);
    const QFontMetrics metrics(with.push->font());
    const QPoint origin = InkOrigin("Go", with.push->font());
    const int width = metrics.horizontalAdvance("Go");
    const int line = FontLine(with.push->font()).Height();
    EXPECT_EQ(CaptionBox(with, without).topLeft(),
              QPoint(((150 - width) >> 1) + origin.x(), ((25 - line) >> 1) - 1 + origin.y()));
    for (Button* b : {&with, &without}) {
        b->button.SetImagePos(CPoint(MyButton::Center, 2));
        EXPECT_EQ(b->button.SetTextPos(CPoint(9, 4)), CPoint(0, 0));
        b->button.SetIcon(kHand, 16, 16);
    }
    EXPECT_EQ(Find(Draw(with, 0), Hand()), QPoint(67, 2));
    // An explicit y is not lifted.
    EXPECT_EQ(CaptionBox(with, without).topLeft(), QPoint(9 + origin.x(), 4 + origin.y()));
}

TEST(MyButton, PushingShiftsImageCaptionAndTabButNotTheFocus)
{
    Button with("Mark &Start of Clip"), without("");
    for (Button* b : {&with, &without}) {
        b->button.SetIcon(kHand, 16, 16);
        b->button.SetColorTab(RGB(255, 0, 0));
    }
    const QImage up = Draw(with, 0);
    const QImage down = Draw(with, ODS_SELECTED);
    EXPECT_EQ(Find(down, Hand()), Find(up, Hand()) + QPoint(1, 1));
    EXPECT_EQ(CaptionBox(with, without, ODS_SELECTED),
              CaptionBox(with, without, 0).translated(1, 1));
    // The tab: rows of 11, 10, ... 1 red pixels from (1, 1), the twelfth row empty.
    for (const auto& [image, shift] : {std::pair(up, 0), std::pair(down, 1)}) {
        for (int i = 0; i < MyButton::ColorTabSize; ++i) {
            int length = 0;
            while (image.pixel(1 + shift + length, 1 + shift + i) == 0xFFFF0000)
                ++length;
            EXPECT_EQ(length, 11 - i) << "row " << i << " shift " << shift;
            EXPECT_NE(image.pixel(shift, 1 + shift + i), 0xFFFF0000u);
        }
    }
    const QRect focusUp = Difference(Draw(with, ODS_FOCUS), up, 0);
    const QRect focusDown = Difference(Draw(with, ODS_FOCUS | ODS_SELECTED), down, 0);
    EXPECT_EQ(focusUp, QRect(3, 3, 144, 19));
    EXPECT_EQ(focusDown, focusUp);
}

TEST(MyButton, FocusInsetFollowsTheButtonsSmallerSide)
{
    struct Case {
        QSize size;
        int inset;
    };
    for (const Case c : {Case{{150, 25}, 3}, Case{{20, 12}, 3}, Case{{10, 10}, 2}, Case{{30, 7}, 1},
                         Case{{16, 40}, 3}}) {
        Button b("", c.size);
        b.button.SetButtonStyle(BS_OWNERDRAW);
        const QImage plain = Draw(b, 0);
        const QImage focused = Draw(b, ODS_FOCUS);
        const QRect expected(QPoint(c.inset, c.inset),
                             QPoint(c.size.width() - 1 - c.inset, c.size.height() - 1 - c.inset));
        EXPECT_EQ(Difference(focused, plain, 0), expected)
            << c.size.width() << "x" << c.size.height();
        // Losing the focus takes the inverted frame away again.
        EXPECT_EQ(Draw(b, 0, ODA_FOCUS, focused), plain);
    }
}

TEST(MyButton, DisabledHidesThePlainImageAndNeverShowsTheFocus)
{
    Button b("Mark &Start of Clip");
    b.button.SetIcon(kHand, 16, 16);
    const QImage disabled = Draw(b, ODS_DISABLED);
    EXPECT_EQ(Draw(b, ODS_DISABLED | ODS_FOCUS), disabled);
    EXPECT_EQ(Find(disabled, Hand()), QPoint(-1, -1));
    EXPECT_NE(disabled, Draw(b, 0));
}

TEST(MyButton, CaptionShowsItsMnemonicUnderlinedWithoutTheAmpersand)
{
    Button prefixed("Mark &Start of Clip"), plain("Mark Start of Clip");
    for (Button* b : {&prefixed, &plain})
        b->button.SetIcon(kHand, 16, 16);
    // Same letters at the same place; the only difference is the line under the S.
    const QRect underline = Difference(Draw(prefixed, 0), Draw(plain, 0));
    const QFontMetrics metrics(prefixed.push->font());
    ASSERT_FALSE(underline.isEmpty());
    EXPECT_EQ(underline.left(), 30 + metrics.horizontalAdvance("Mark "));
    EXPECT_EQ(underline.width(), metrics.horizontalAdvance("S"));
    EXPECT_LE(underline.height(), 2);
}

TEST(MyButton, MissingIconLeavesTheButtonOwnerDrawnWithItsCaptionOnly)
{
    Button missing("Go"), plain("Go");
    EXPECT_FALSE(missing.button.SetIcon(9999, 16, 16));
    EXPECT_FALSE(missing.button.HasImage());
    EXPECT_EQ(missing.button.GetButtonStyle(), BS_OWNERDRAW);
    plain.button.SetButtonStyle(BS_OWNERDRAW);
    EXPECT_EQ(Draw(missing, 0), Draw(plain, 0));
    EXPECT_FALSE(missing.button.SetDefaultButton(true)); // not in a dialog
}

TEST(MyButton, DefaultButtonHasABlackFrameAndASmallerFace)
{
    struct Dialog : CDialog {
        Dialog() : CDialog(IDD_ABOUTBOX) {}
        BOOL OnInitDialog() override
        {
            MyButton button;
            EXPECT_TRUE(button.SubclassDlgItem(IDOK, this));
            auto* push = static_cast<QPushButton*>(button.GetSafeHwnd());
            button.SetIcon(kHand, 16, 16);
            const QImage before = push->grab().toImage();
            EXPECT_FALSE(button.SetDefaultButton(true));
            EXPECT_TRUE(button.SetDefaultButton(true));
            EXPECT_TRUE(push->isDefault());
            const QImage framed = push->grab().toImage();
            const int w = framed.width(), h = framed.height();
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                        EXPECT_EQ(framed.pixel(x, y), 0xFF000000u) << x << "," << y;
                    }
                }
            }
            // The face shrinks by one pixel and the image moves right with it.
            EXPECT_EQ(framed.copy(1, 1, w - 2, h - 2).pixel(0, 5), before.pixel(0, 5));
            EXPECT_EQ(Find(framed, Hand()).x(), Find(before, Hand()).x() + 1);
            EndDialog(IDOK);
            return TRUE;
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(MyButton, OwnerDrawnButtonPaintsThroughDrawItemAndClicksFromTheKeyboard)
{
    struct Recorder : CButton {
        void DrawItem(LPDRAWITEMSTRUCT item) override
        {
            requests.push_back({item->itemAction, item->itemState});
            rect = item->rcItem;
        }
        std::vector<std::pair<UINT, UINT>> requests;
        CRect rect;
    };
    QWidget parent;
    auto* push = new QPushButton("Mark &Start", &parent);
    push->setGeometry(0, 0, 80, 20);
    Recorder recorder;
    recorder.Attach(push);
    recorder.SetButtonStyle(BS_OWNERDRAW);
    push->grab();
    push->setDown(true);
    push->grab();
    push->setDown(false);
    push->setEnabled(false);
    push->grab();
    using Request = std::pair<UINT, UINT>;
    EXPECT_EQ(recorder.requests,
              (std::vector<Request>{
                  {ODA_DRAWENTIRE, 0}, {ODA_SELECT, ODS_SELECTED}, {ODA_SELECT, ODS_DISABLED}}));
    EXPECT_EQ(recorder.rect, CRect(0, 0, 80, 20));
    push->setEnabled(true);

    parent.show(); // a hidden button takes no mnemonic
    int clicks = 0;
    QObject::connect(push, &QPushButton::clicked, [&clicks] { ++clicks; });
    QTest::keyClick(push, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(push, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(&parent, 's'); // the mnemonic, typed where no control takes it
    QTest::keyClick(&parent, 'x');
    EXPECT_EQ(clicks, 3);
}
