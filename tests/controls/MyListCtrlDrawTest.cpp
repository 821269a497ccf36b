#include "tests/controls/MyListCtrlTestHost.h"

#include "platform/gdi/SysColor.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

namespace
{
class Clip : public MyListCtrlLparam
{
};

// A row object whose tips name the column and remember the cell they were asked for.
class TipClip : public MyListCtrlLparam
{
public:
    CString ProvideTipText(CListCtrl*, int column, const CRect& cell) override
    {
        m_cell = cell;
        CString text;
        text.Format("tip c%d", column);
        return text;
    }
    CRect m_cell;
};

const COLORREF kCyan = RGB(0, 255, 255);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
// The row drawn on images: 330 pixels wide (cells 0-99, 100-249, 250-329), 16 high.
const CRect kRow(0, 10, 330, 26);

COLORREF At(const QImage& image, int x, int y)
{
    return ToCOLORREF(image.pixelColor(x, y));
}

bool Contains(const QImage& image, const QRect& area, COLORREF colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (At(image, x, y) == colour)
                return true;
        }
    }
    return false;
}

// How many pixel rows of image hold ink (anything not white).
int InkRows(const QImage& image)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != Qt::white) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

// The leftmost and rightmost columns of area holding a pixel other than background.
std::pair<int, int> InkColumns(const QImage& image, const QRect& area, COLORREF background)
{
    int left = -1;
    int right = -1;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (At(image, x, y) != background) {
                left = left < 0 ? x : left;
                right = x;
            }
        }
    }
    return {left, right};
}
} // namespace

class MyListCtrlDrawTest : public MyListCtrlTestHost
{
protected:
    // Draws row as the list asks for it, on a white image.
    QImage Draw(int row, UINT state)
    {
        QImage image(340, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CDC dc(&painter);
        DRAWITEMSTRUCT item{
            ODT_LISTVIEW, 1000, UINT(row), ODA_DRAWENTIRE, state, m_list.GetSafeHwnd(),
            &dc,          kRow, 0};
        m_list.DrawItem(&item);
        return image;
    }

    // A point in the middle of a cell, in the list's client coordinates.
    CPoint CellPoint(int row, int x)
    {
        CRect bounds;
        m_list.GetItemRect(row, &bounds, LVIR_BOUNDS);
        return CPoint(x, bounds.CenterPoint().y);
    }
};

TEST_F(MyListCtrlDrawTest, RowsAreFiveMorePixelsThanTheFontPerLineAndShowAccentsWhole)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED, {{"\xC3\x9C\xC3\x89\xC3\x85gy"}});
    const struct {
        int pixels;
        int lines;
    } cases[] = {{12, 0}, {12, 1}, {12, 3}, {24, 2}}; // sizes whose accents rise above the ascent
    for (const auto& c : cases) {
        QFont font = Widget()->font();
        font.setPixelSize(c.pixels);
        Widget()->setFont(font);
        m_list.SetLinesPerRow(c.lines);
        MEASUREITEMSTRUCT measure{ODT_LISTVIEW, 1000, 0, 0, 0, 0};
        m_list.MeasureItem(&measure);
        EXPECT_GE(measure.itemHeight, UINT((c.pixels + 5) * std::max(c.lines, 1)));
        // The row's text has all the ink the font gives it: "ÜÉÅgy" from dots to tails.
        const QRect row(0, 0, 100, int(measure.itemHeight));
        QImage image(row.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        CDC dc(&painter);
        DRAWITEMSTRUCT item{ODT_LISTVIEW,
                            1000,
                            0,
                            ODA_DRAWENTIRE,
                            0,
                            Widget(),
                            &dc,
                            CRect(0, 0, row.width(), row.height()),
                            0};
        m_list.DrawItem(&item);
        const QRect whole = QFontMetrics(font).tightBoundingRect("\u00DC\u00C9\u00C5gy");
        EXPECT_EQ(InkRows(image), whole.height()) << c.pixels << " " << c.lines;
    }
    // A font change applies the lines at once.
    m_list.SetLinesPerRow(2);
    QFont font = Widget()->font();
    font.setPixelSize(11);
    Widget()->setFont(font);
    MEASUREITEMSTRUCT measure{ODT_LISTVIEW, 1000, 0, 0, 0, 0};
    m_list.MeasureItem(&measure);
    CRect bounds;
    m_list.GetItemRect(0, &bounds, LVIR_BOUNDS);
    EXPECT_EQ(UINT(bounds.Height()), measure.itemHeight);
}

TEST_F(MyListCtrlDrawTest, CellTextsFollowTheColumnAlignment)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED, {{"8", "8", "8"}});
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const QRect sizeCell(250, 10, 80, 16);
    for (int format : {LVCFMT_RIGHT, LVCFMT_RIGHT | LVCFMT_CENTER}) {
        LVCOLUMN column{LVCF_FMT, format, 0, nullptr, 0, 0};
        m_list.SetColumn(2, &column);
        const auto [left, right] = InkColumns(Draw(0, 0), sizeCell, window);
        EXPECT_GE(right, 320) << format;
        EXPECT_LE(right, 328) << "inside the cell shrunk by a pixel";
        EXPECT_GT(left, 310);
    }
    const auto [left, right] = InkColumns(Draw(0, 0), QRect(100, 10, 150, 16), window);
    EXPECT_GE(left, 101) << "left-aligned";
    EXPECT_LE(left, 106);
}

TEST_F(MyListCtrlDrawTest, GridLinesLieOnTheCellsLastPixels)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED, {{""}});
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF line = GetSysColor(COLOR_WINDOWTEXT);
    ASSERT_NE(window, line);
    // The Place cell: left 100, right 250, top 10, bottom 26.
    m_list.SetModeGridLine(1, 0);
    QImage image = Draw(0, 0);
    EXPECT_EQ(At(image, 100, 25), window);
    for (int x = 101; x <= 248; ++x)
        ASSERT_EQ(At(image, x, 25), line) << x;
    EXPECT_EQ(At(image, 249, 25), window);
    EXPECT_EQ(At(image, 150, 24), window);
    EXPECT_EQ(At(image, 249, 20), window) << "no vertical line";

    m_list.SetModeGridLine(0, 1);
    image = Draw(0, 0);
    EXPECT_EQ(At(image, 249, 10), window);
    for (int y = 11; y <= 25; ++y)
        ASSERT_EQ(At(image, 249, y), line) << y;
    EXPECT_EQ(At(image, 248, 20), window);
    EXPECT_EQ(At(image, 150, 25), window) << "no horizontal line";
}

TEST_F(MyListCtrlDrawTest, RowObjectsColourBookmarkedRows)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED);
    Clip clip;
    AddRow({"WWW"}, LPARAM(&clip));
    AddRow({"WWW"}, 0);
    m_list.SetBookmark(1, true);
    const QRect text(1, 11, 98, 14);
    const COLORREF window = GetSysColor(COLOR_WINDOW), windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF high = GetSysColor(COLOR_HIGHLIGHT), highText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    const struct {
        int row;
        bool bookmark;
        UINT state;
        COLORREF back;
        COLORREF ink;
    } cases[] = {
        {0, true, 0, kCyan, kBlack},
        {0, true, ODS_SELECTED, kBlue, kWhite},
        {0, false, 0, window, windowText},
        {0, false, ODS_SELECTED, high, highText},
        // Without a row object the system colours hold, bookmark or not.
        {1, true, 0, window, windowText},
        {1, true, ODS_SELECTED, high, highText},
    };
    for (const auto& c : cases) {
        m_list.SetBookmark(0, c.bookmark);
        const QImage image = Draw(c.row, c.state);
        SCOPED_TRACE(testing::Message() << c.row << " " << c.bookmark << " " << c.state);
        EXPECT_EQ(At(image, 200, 18), c.back);
        EXPECT_EQ(At(image, 300, 10), c.back);
        EXPECT_EQ(At(image, 0, 25), c.back);
        EXPECT_TRUE(Contains(image, text, c.ink));
    }
}

TEST_F(MyListCtrlDrawTest, TheFocusedRowIsFramedTwiceAndTellsTheParent)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED, {{""}});
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    m_list.SetFocusNotification(WM_APP + 7);
    const QImage image = Draw(0, ODS_FOCUS);
    const auto changed = [&](int x0, int y0, int dx, int dy, int count) {
        int n = 0;
        for (int i = 0; i < count; ++i)
            n += At(image, x0 + i * dx, y0 + i * dy) != window;
        return n;
    };
    // Dotted: every other pixel of each frame's edges is inverted.
    for (int edge : {10, 11}) {
        EXPECT_GE(changed(20, edge, 1, 0, 200), 90) << "top edge y " << edge;
        EXPECT_LE(changed(20, edge, 1, 0, 200), 110);
    }
    EXPECT_GE(changed(0, 14, 0, 1, 8), 3) << "outer left edge";
    EXPECT_GE(changed(1, 14, 0, 1, 8), 3) << "inner left edge";
    EXPECT_GE(changed(20, 24, 1, 0, 200), 90) << "inner bottom edge";
    EXPECT_GE(changed(20, 25, 1, 0, 200), 90) << "outer bottom edge";
    EXPECT_EQ(changed(20, 12, 1, 0, 200), 0) << "inside the frames";
    EXPECT_EQ(changed(2, 14, 0, 1, 8), 0);

    Draw(0, ODS_FOCUS);
    Draw(0, 0);
    QApplication::processEvents();
    EXPECT_EQ(m_parent.m_posted, (std::vector<UINT>{WM_APP + 7, WM_APP + 7}));
}

TEST_F(MyListCtrlDrawTest, CellGeometryCodes)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED, Numbered(3));
    CRect first;
    CRect last;
    m_list.GetItemRect(0, &first, LVIR_BOUNDS);
    m_list.GetItemRect(2, &last, LVIR_BOUNDS);
    const int y = first.top + 20; // in row 1
    const struct {
        CPoint point;
        int result;
        int column;
        int left;
        int right;
    } cases[] = {
        {{50, y}, 1, 0, 0, 100},
        {{100, y}, 1, 0, 0, 100},
        {{101, y}, 1, 1, 100, 250},
        {{329, y}, 1, 2, 250, 330},
        {{330, y}, -1, -1, 0, 0},
        {{50, first.top - 1}, -2, -1, 0, 0},
        {{50, last.bottom + 5}, -3, -1, 0, 0},
    };
    for (const auto& c : cases) {
        CRect rect;
        int column = -1;
        EXPECT_EQ(m_list.GetCellRectFromPoint(c.point, rect, column), c.result)
            << c.point.x << "," << c.point.y;
        EXPECT_EQ(column, c.column);
        if (c.result >= 0) {
            EXPECT_EQ(rect, CRect(c.left, first.top + 16, c.right, first.top + 32));
        }
    }
    m_list.DeleteAllItems();
    CRect rect;
    int column = -1;
    EXPECT_EQ(m_list.GetCellRectFromPoint(CPoint(50, 300), rect, column), -1) << "no rows";

    MyListCtrl icons;
    ASSERT_TRUE(icons.Create(LVS_ICON, CRect(0, 0, 200, 100), nullptr, 1));
    icons.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    icons.InsertItem(0, "x");
    EXPECT_EQ(icons.GetCellRectFromPoint(CPoint(5, 30), rect, column), -4);
}

TEST_F(MyListCtrlDrawTest, ToolIdentifiersNameRowAndColumn)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED, Numbered(3));
    TOOLINFO info{};
    const CPoint point = CellPoint(1, 260);
    EXPECT_EQ(m_list.OnToolHitTest(point, &info), INT_PTR(MyListCtrl::ToolId(1, 2)));
    EXPECT_EQ(info.uId, MyListCtrl::ToolId(1, 2));
    EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACK);
    CRect rect;
    int column = 0;
    m_list.GetCellRectFromPoint(point, rect, column);
    EXPECT_EQ(CRect(info.rect), rect);
    EXPECT_EQ(m_list.OnToolHitTest(CPoint(50, 2), &info), -1) << "on the header";
    EXPECT_EQ(m_list.OnToolHitTest(point, nullptr), -1);
}

TEST_F(MyListCtrlDrawTest, TipsComeFromRowObjectsOrTheCellText)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED);
    const std::string hundred = std::string(90, 'a') + "0123456789";
    Clip plain;
    TipClip tips;
    AddRow({"x", hundred}, 0);
    AddRow({"x", hundred}, LPARAM(&plain));
    AddRow({"x", hundred}, LPARAM(&tips));
    for (int row = 3; row < 70; ++row)
        AddRow({"far"}, 0);
    const struct {
        int row;
        int column;
        std::string text;
    } cases[] = {
        {0, 1, hundred.substr(0, 79)}, {1, 1, ""}, {2, 2, "tip c2"}, {69, 0, "far"}, {0, 0, "x"},
    };
    for (const auto& c : cases) {
        const UINT_PTR id = MyListCtrl::ToolId(c.row, c.column);
        NMTTDISPINFOA narrow{};
        narrow.hdr = NMHDR{nullptr, id, TTN_NEEDTEXTA};
        LRESULT result = 1;
        ASSERT_TRUE(m_list.OnNotify(id, LPARAM(&narrow.hdr), &result));
        EXPECT_EQ(result, 0);
        EXPECT_EQ(std::string(narrow.lpszText), c.text) << c.row << " " << c.column;

        NMTTDISPINFOW wide{};
        wide.hdr = NMHDR{nullptr, id, TTN_NEEDTEXTW};
        ASSERT_TRUE(m_list.OnNotify(id, LPARAM(&wide.hdr), &result));
        EXPECT_EQ(std::u16string(wide.lpszText), QString::fromStdString(c.text).toStdU16String());
    }
    CRect cell;
    m_list.GetItemRect(2, &cell, LVIR_BOUNDS);
    EXPECT_EQ(tips.m_cell, CRect(250, cell.top, 330, cell.bottom));

    NMTTDISPINFOA none{};
    none.hdr = NMHDR{nullptr, 0, TTN_NEEDTEXTA};
    LRESULT result = 0;
    EXPECT_FALSE(m_list.OnNotify(0, LPARAM(&none.hdr), &result));

    // Hovering shows the tip of the cell under the pointer.
    const CPoint point = CellPoint(0, 150);
    CRect top;
    m_list.GetItemRect(m_list.GetTopIndex(), &top, LVIR_BOUNDS);
    const QPoint inViewport(point.x, point.y - top.top);
    QWidget* viewport = Widget()->viewport();
    QHelpEvent hover(QEvent::ToolTip, inViewport, viewport->mapToGlobal(inViewport));
    QApplication::sendEvent(viewport, &hover);
    EXPECT_EQ(QToolTip::text(), QString::fromStdString(hundred.substr(0, 79)));
    QToolTip::hideText();
}

TEST_F(MyListCtrlDrawTest, DraggingSelectsFromTheAnchorToThePointer)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED, Numbered(10), 400);
    const struct {
        UINT flags;
        int row;
        std::vector<int> selected;
    } moves[] = {
        {MK_LBUTTON, 2, {2}},
        {MK_LBUTTON, 6, {2, 3, 4, 5, 6}},
        {MK_LBUTTON, 4, {2, 3, 4}},
        {0, 8, {2, 3, 4}}, // button up: no dragging
    };
    for (const auto& move : moves) {
        m_list.OnMouseMove(move.flags, CellPoint(move.row, 150));
        EXPECT_EQ(Selected(), move.selected) << move.row;
    }
    m_list.OnLButtonUp(0, CellPoint(4, 150));
    m_list.OnMouseMove(MK_LBUTTON, CellPoint(8, 150));
    m_list.OnMouseMove(MK_LBUTTON, CellPoint(9, 150));
    EXPECT_EQ(Selected(), (std::vector<int>{8, 9})) << "a new drag starts a new range";
    m_list.OnLButtonUp(0, CellPoint(9, 150));
}

TEST_F(MyListCtrlDrawTest, DraggingOverAnEmptyListSelectsNothing)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED);
    for (int y : {-10, 5, 40, 500})
        m_list.OnMouseMove(MK_LBUTTON, CPoint(50, y));
    EXPECT_TRUE(Selected().empty());
    m_list.OnLButtonUp(0, CPoint(50, 40));
}

TEST_F(MyListCtrlDrawTest, HoldingTheButtonBelowTheRowsScrollsToTheLastRow)
{
    Make(LVS_REPORT | LVS_OWNERDRAWFIXED, Numbered(30));
    const int lastShown = m_list.GetTopIndex() + m_list.GetCountPerPage() - 1;
    ASSERT_LT(lastShown, 20);
    m_list.OnMouseMove(MK_LBUTTON, CellPoint(1, 150));
    m_list.OnMouseMove(MK_LBUTTON, CellPoint(lastShown, 150));
    ASSERT_TRUE(m_list.HasCapture());

    CRect client;
    m_list.GetClientRect(&client);
    CRect top;
    m_list.GetItemRect(m_list.GetTopIndex(), &top, LVIR_BOUNDS);
    const QPoint below(150, client.bottom + 30 - top.top);
    QCursor::setPos(Widget()->viewport()->mapToGlobal(below));
    // The button goes up once the last row is reached (or after a long while, should the
    // scrolling stall).
    QTimer watch;
    int ticks = 0;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (m_list.IsSelected(29) || ++ticks > 1000)
            m_list.OnLButtonUp(0, CPoint(below.x(), below.y()));
    });
    watch.start(10);
    m_list.OnMouseMove(MK_LBUTTON, CPoint(below.x(), client.bottom + 30));
    watch.stop();

    std::vector<int> expected;
    for (int row = 1; row < 30; ++row)
        expected.push_back(row);
    EXPECT_EQ(Selected(), expected);
    EXPECT_TRUE(m_list.IsItemVisible(29));
    EXPECT_FALSE(m_list.HasCapture());
}
