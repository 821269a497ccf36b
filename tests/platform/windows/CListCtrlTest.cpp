#include "platform/windows/CListCtrl.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{
// The list's parent: records notifications and supplies texts on demand.
class Owner : public CWnd
{
public:
    BOOL OnNotify(WPARAM id, LPARAM header, LRESULT* result) override
    {
        auto* hdr = reinterpret_cast<NMHDR*>(header);
        m_ids.push_back(id);
        m_codes.push_back(hdr->code);
        if (hdr->code == LVN_GETDISPINFO) {
            LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(hdr)->item;
            const std::string text = m_supply(item.iItem, item.iSubItem, item.lParam);
            std::strncpy(item.pszText, text.c_str(), std::size_t(item.cchTextMax));
            if (item.cchTextMax > 0)
                item.pszText[item.cchTextMax - 1] = '\0';
        }
        if (hdr->code == NM_CLICK || hdr->code == NM_DBLCLK)
            m_activated.push_back(*reinterpret_cast<NMITEMACTIVATE*>(hdr));
        if (hdr->code == LVN_COLUMNCLICK)
            m_columnClicks.push_back(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
        if (hdr->code == LVN_ITEMCHANGED && m_onChange)
            m_onChange(*reinterpret_cast<NMLISTVIEW*>(hdr));
        *result = 0;
        return TRUE;
    }

    int Count(UINT code) const { return int(std::count(m_codes.begin(), m_codes.end(), code)); }

    std::function<std::string(int, int, LPARAM)> m_supply = [](int row, int column, LPARAM) {
        return "r" + std::to_string(row) + "c" + std::to_string(column);
    };
    std::function<void(const NMLISTVIEW&)> m_onChange;
    std::vector<WPARAM> m_ids;
    std::vector<UINT> m_codes;
    std::vector<NMITEMACTIVATE> m_activated;
    std::vector<int> m_columnClicks;
};

class ListTest : public ::testing::Test
{
protected:
    void Make(DWORD style, int rows = 0)
    {
        m_host.resize(400, 300);
        ASSERT_TRUE(m_owner.Attach(&m_host));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | style,
                                  CRect(0, 0, 400, 300), &m_owner, 1000));
        m_list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
        m_list.InsertColumn(1, "Place", LVCFMT_LEFT, 150);
        m_list.InsertColumn(2, "Size", LVCFMT_RIGHT, 100);
        for (int row = 0; row < rows; ++row) {
            m_list.InsertItem(LVIF_TEXT | LVIF_PARAM, row, ("item" + std::to_string(row)).c_str(),
                              0, 0, 0, LPARAM(100 + row));
        }
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    QWidget* Viewport()
    {
        return static_cast<QAbstractScrollArea*>(m_list.GetSafeHwnd())->viewport();
    }

    // A point of the given row and column in the viewport's coordinates, for simulated input.
    QPoint ViewportPoint(int row, int column)
    {
        CRect cell;
        EXPECT_TRUE(m_list.GetSubItemRect(row, column, LVIR_BOUNDS, cell));
        CRect bounds;
        m_list.GetItemRect(row, &bounds, LVIR_BOUNDS);
        const int header = bounds.top - (row - m_list.GetTopIndex()) * bounds.Height();
        const int x = column == 0 ? bounds.left + 10 : cell.left + 10;
        return QPoint(x, cell.CenterPoint().y - header);
    }

    std::vector<int> Selected() const
    {
        std::vector<int> rows;
        for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row != -1;
             row = m_list.GetNextItem(row, LVNI_SELECTED))
            rows.push_back(row);
        return rows;
    }

    int FindData(LPARAM data, int start = -1) const
    {
        LVFINDINFO find{LVFI_PARAM, nullptr, data};
        return m_list.FindItem(&find, start);
    }

    QWidget m_host;
    Owner m_owner;
    CListCtrl m_list;
};

int CompareDescending(LPARAM a, LPARAM b, LPARAM)
{
    return a < b ? 1 : a > b ? -1 : 0;
}
int CompareAllEqual(LPARAM, LPARAM, LPARAM)
{
    return 0;
}
} // namespace

TEST_F(ListTest, RowsKeepTheirTextsAndDataThroughInsertsDeletesAndSorts)
{
    Make(0, 5);
    EXPECT_EQ(m_list.InsertItem(2, "middle"), 2);
    EXPECT_EQ(m_list.InsertItem(99, "end"), 6);
    ASSERT_EQ(m_list.GetItemCount(), 7);
    EXPECT_EQ(m_list.GetItemText(2, 0), "middle");
    EXPECT_EQ(m_list.GetItemData(2), 0); // no data given
    EXPECT_EQ(m_list.GetItemText(3, 0), "item2");
    EXPECT_TRUE(m_list.SetItemText(3, 2, "12 KB"));
    EXPECT_EQ(m_list.GetItemText(3, 2), "12 KB");
    EXPECT_EQ(m_list.GetItemText(3, 1), "");
    EXPECT_EQ(FindData(102), 3);

    ASSERT_TRUE(m_list.DeleteItem(0));
    EXPECT_FALSE(m_list.DeleteItem(6));
    EXPECT_EQ(FindData(100), -1);
    EXPECT_EQ(FindData(102), 2);
    EXPECT_EQ(FindData(0), 1); // data value 0 is a value like any other
    EXPECT_TRUE(m_list.SetItemData(1, 555));
    EXPECT_EQ(FindData(555), 1);
    EXPECT_EQ(FindData(0), 5);

    ASSERT_TRUE(m_list.SortItems(CompareDescending, 0));
    std::vector<LPARAM> order;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        order.push_back(m_list.GetItemData(row));
    EXPECT_EQ(order, (std::vector<LPARAM>{555, 104, 103, 102, 101, 0}));
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        EXPECT_EQ(FindData(order[std::size_t(row)]), row);
    EXPECT_EQ(m_list.GetItemText(3, 2), "12 KB"); // texts travel with their rows

    ASSERT_TRUE(m_list.DeleteAllItems());
    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_EQ(FindData(555), -1);
}

TEST_F(ListTest, SortIsStableAndTheFocusStaysOnItsRow)
{
    Make(0, 4);
    m_list.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
    m_list.SetItemData(0, 7);
    m_list.SetItemData(3, 7);
    ASSERT_TRUE(m_list.SortItems(CompareAllEqual, 0));
    EXPECT_EQ(m_list.GetItemText(0, 0), "item0");
    EXPECT_EQ(m_list.GetItemText(3, 0), "item3");
    ASSERT_TRUE(m_list.SortItems(CompareDescending, 0)); // 102, 101, 7, 7
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 0);
    EXPECT_EQ(m_list.GetItemText(0, 0), "item2");
    // Equal data values keep their order, and finding by data walks past the first one.
    EXPECT_EQ(m_list.GetItemText(2, 0), "item0");
    EXPECT_EQ(m_list.GetItemText(3, 0), "item3");
    EXPECT_EQ(FindData(7), 2);
    EXPECT_EQ(FindData(7, 2), 3);
    EXPECT_EQ(FindData(7, 3), -1);
}

TEST_F(ListTest, FindItemByTextWithoutCaseAndByBeginning)
{
    Make(0);
    for (const char* text : {"Alpha", "beta", "BETAMAX", "gamma"})
        m_list.InsertItem(m_list.GetItemCount(), text);
    struct Case {
        UINT flags;
        const char* text;
        int start;
        int expected;
    } cases[] = {
        {LVFI_STRING, "BETA", -1, 1},  {LVFI_STRING, "beta", 1, -1},
        {LVFI_PARTIAL, "beta", 1, 2},  {LVFI_STRING | LVFI_PARTIAL, "AL", -1, 0},
        {LVFI_STRING, "gam", -1, -1},  {LVFI_PARTIAL, "", 0, 1},
        {LVFI_STRING, "alpha", 3, -1}, {LVFI_STRING, nullptr, -1, -1},
    };
    for (const Case& c : cases) {
        LVFINDINFO find{c.flags, c.text, 0};
        EXPECT_EQ(m_list.FindItem(&find, c.start), c.expected)
            << (c.text ? c.text : "(null)") << " from " << c.start;
    }
}

TEST_F(ListTest, TextsOnDemandComeFromTheOwnerCutToTheCallersBuffer)
{
    Make(0);
    const std::string longText(5000, 'x');
    m_owner.m_supply = [&](int row, int column, LPARAM data) {
        return row == 1 && column == 1 ? longText
                                       : "d" + std::to_string(data) + "/" + std::to_string(column);
    };
    m_list.InsertItem(LVIF_TEXT | LVIF_PARAM, 0, LPSTR_TEXTCALLBACK, 0, 0, 0, 41);
    m_list.InsertItem(LVIF_TEXT | LVIF_PARAM, 1, LPSTR_TEXTCALLBACK, 0, 0, 0, 42);
    m_list.SetItemText(0, 2, "stored");
    EXPECT_EQ(m_list.GetItemText(0, 0), "d41/0");
    EXPECT_EQ(m_list.GetItemText(0, 1), "d41/1");
    EXPECT_EQ(m_list.GetItemText(0, 2), "stored");
    EXPECT_EQ(m_list.GetItemText(1, 1), CString(longText));

    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(m_list.GetItemText(1, 1, buffer, 8), 7);
    EXPECT_STREQ(buffer, "xxxxxxx");
    EXPECT_EQ(m_list.GetItemText(0, 2, buffer, 4), 3);
    EXPECT_STREQ(buffer, "sto");
    EXPECT_EQ(m_owner.m_ids.back(), 1000u);

    LVFINDINFO find{LVFI_STRING, "D42/0", 0};
    EXPECT_EQ(m_list.FindItem(&find), 1);
}

TEST_F(ListTest, SingleSelectionKeepsOneRowSelectedAndReportsEachChange)
{
    Make(LVS_SINGLESEL, 5);
    m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(Selected(), std::vector<int>{3});
    EXPECT_EQ(m_list.GetSelectedCount(), 1u);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 1);
    EXPECT_EQ(m_list.GetNextItem(1, LVNI_FOCUSED), -1);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED), -1);
    EXPECT_EQ(m_list.GetItemState(3, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED);
    EXPECT_EQ(m_list.GetNextItem(3, LVNI_ALL), 4);
    // row 1 selected and focused, row 1 unselected, row 3 selected
    EXPECT_EQ(m_owner.Count(LVN_ITEMCHANGED), 3);

    m_list.DeleteItem(0);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 0);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    m_list.DeleteItem(2);
    EXPECT_EQ(m_list.GetSelectedCount(), 0u);
    EXPECT_FALSE(m_list.SetItemState(9, LVIS_SELECTED, LVIS_SELECTED));
}

TEST_F(ListTest, HandlersMayDeleteRowsOrTheListWhileTheSelectionChanges)
{
    // The view deletes rows when told of a change; the rest of the change must not read them.
    Make(0, 50);
    m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    std::vector<LPARAM> heard;
    m_owner.m_onChange = [&](const NMLISTVIEW& change) {
        heard.push_back(change.lParam);
        while (m_list.GetItemCount() > 10)
            m_list.DeleteItem(m_list.GetItemCount() - 1);
    };
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(heard.size(), 10u); // the news of deleted rows is not sent
    EXPECT_EQ(heard.back(), 109);
    EXPECT_EQ(m_list.GetSelectedCount(), 0u);

    // Moving the focus tells of the row that lost it first; that handler empties the list.
    m_owner.m_onChange = nullptr;
    m_list.SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
    m_owner.m_onChange = [&](const NMLISTVIEW&) { m_list.DeleteAllItems(); };
    m_list.SetItemState(5, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(m_list.GetItemCount(), 0);

    m_list.InsertItem(0, "again");
    m_owner.m_onChange = [&](const NMLISTVIEW&) { delete m_list.GetSafeHwnd(); };
    m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(m_list.GetSafeHwnd(), nullptr);
}

TEST_F(ListTest, ScrollingKeepsTheRowAskedForInView)
{
    Make(0, 100);
    QCoreApplication::processEvents();
    CRect row;
    ASSERT_TRUE(m_list.GetItemRect(0, &row, LVIR_BOUNDS));
    CRect client;
    m_list.GetClientRect(&client);
    if ((client.Height() - row.top) % row.Height() == 0) { // leave a partly shown row
        m_list.GetSafeHwnd()->resize(400, 300 + row.Height() / 2);
        QCoreApplication::processEvents();
        m_list.GetClientRect(&client);
    }
    const int perPage = m_list.GetCountPerPage();
    EXPECT_EQ(perPage, (client.Height() - row.top) / row.Height());
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    m_list.EnsureVisible(perPage, TRUE); // part of it is enough
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    m_list.EnsureVisible(perPage, FALSE);
    EXPECT_EQ(m_list.GetTopIndex(), 1);

    ASSERT_TRUE(m_list.EnsureVisible(50, FALSE));
    EXPECT_EQ(m_list.GetTopIndex(), 50 - perPage + 1);
    ASSERT_TRUE(m_list.EnsureVisible(10, FALSE));
    EXPECT_EQ(m_list.GetTopIndex(), 10);
    ASSERT_TRUE(m_list.EnsureVisible(99, FALSE));
    EXPECT_EQ(m_list.GetTopIndex(), 100 - perPage);
    m_list.GetItemRect(99, &row, LVIR_BOUNDS);
    EXPECT_LE(row.bottom, client.bottom);
    EXPECT_FALSE(m_list.EnsureVisible(100, FALSE));
}

TEST(ListScrolling, RowsAskedForDuringARunOfChangesEndWhereTheyWouldOneByOne)
{
    // Each step adds rows at the end (or, negative, takes them from the end), then asks for a
    // row to be shown, wholly or partly.
    struct Step {
        int rows;
        int shown;
        bool partly;
    };
    const std::vector<std::vector<Step>> runs = {
        {{40, 39, false}, {40, 79, false}, {0, 5, false}},
        {{40, 39, false}, {40, 79, false}, {0, 75, false}},
        {{40, 39, false}, {0, 40, true}},
        {{100, 99, false}, {-60, 20, false}, {0, 39, false}},
        {{30, 29, false}, {-25, 4, false}},
    };
    for (const auto& run : runs) {
        CListCtrl eager, waiting;
        for (CListCtrl* list : {&eager, &waiting}) {
            ASSERT_TRUE(list->Create(WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 250), nullptr, 1));
            list->InsertColumn(0, "Name", LVCFMT_LEFT, 100);
        }
        for (const Step& step : run) {
            for (CListCtrl* list : {&eager, &waiting}) {
                for (int n = 0; n < step.rows; ++n)
                    list->InsertItem(list->GetItemCount(), "row");
                for (int n = 0; n < -step.rows; ++n)
                    list->DeleteItem(list->GetItemCount() - 1);
                list->EnsureVisible(step.shown, step.partly);
            }
            eager.GetTopIndex(); // the position taken at once, step by step
        }
        EXPECT_EQ(waiting.GetTopIndex(), eager.GetTopIndex()) << run.back().shown;
    }
}

TEST_F(ListTest, HitTestsFindRowsColumnsAndTheOutside)
{
    Make(0, 5);
    CRect row3;
    ASSERT_TRUE(m_list.GetItemRect(3, &row3, LVIR_BOUNDS));
    const int y = row3.CenterPoint().y;
    UINT flags = 0;
    EXPECT_EQ(m_list.HitTest(CPoint(20, y), &flags), 3);
    EXPECT_EQ(flags, LVHT_ONITEMLABEL);
    // Other columns are no part of the row unless the whole row selects.
    EXPECT_EQ(m_list.HitTest(CPoint(300, y), &flags), -1);
    EXPECT_EQ(flags, LVHT_NOWHERE);
    LVHITTESTINFO sub{{300, y}, 0, -1, -1};
    EXPECT_EQ(m_list.SubItemHitTest(&sub), 3);
    EXPECT_EQ(sub.iSubItem, 2);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    EXPECT_EQ(m_list.HitTest(CPoint(300, y), &flags), 3);

    EXPECT_EQ(m_list.HitTest(CPoint(20, row3.bottom + 3 * row3.Height()), &flags), -1);
    EXPECT_EQ(flags, LVHT_NOWHERE);
    EXPECT_EQ(m_list.HitTest(CPoint(390, y), &flags), -1); // right of the last column
    EXPECT_EQ(m_list.HitTest(CPoint(20, -5), &flags), -1);
    EXPECT_EQ(flags, LVHT_ABOVE);
    CRect client;
    m_list.GetClientRect(&client);
    EXPECT_EQ(m_list.HitTest(CPoint(client.right + 1, y), &flags), -1);
    EXPECT_EQ(flags, LVHT_TORIGHT);

    CRect cell;
    ASSERT_TRUE(m_list.GetSubItemRect(3, 2, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell, CRect(270, row3.top, 370, row3.bottom));
}

TEST_F(ListTest, KeysMoveTheSelectionAndFocusTogether)
{
    Make(LVS_SINGLESEL, 40);
    QWidget* list = m_list.GetSafeHwnd();
    list->setFocus();
    const int perPage = m_list.GetCountPerPage();
    struct Step {
        Qt::Key key;
        int expected;
    } steps[] = {
        {Qt::Key_Down, 0},
        {Qt::Key_Down, 1},
        {Qt::Key_End, 39},
        {Qt::Key_Up, 38},
        {Qt::Key_Home, 0},
        {Qt::Key_PageDown, perPage - 1},
        {Qt::Key_PageDown, 2 * perPage - 2},
        {Qt::Key_PageUp, -1}, // -1: the top row shown before the key
    };
    for (const Step& step : steps) {
        const int expected = step.expected < 0 ? m_list.GetTopIndex() : step.expected;
        QTest::keyClick(list, step.key);
        EXPECT_EQ(Selected(), std::vector<int>{expected}) << "key " << step.key;
        EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), expected);
        const int top = m_list.GetTopIndex();
        EXPECT_TRUE(expected >= top && expected < top + perPage) << "key " << step.key;
    }
}

TEST_F(ListTest, ClicksSelectTheRowAndTellTheOwner)
{
    Make(LVS_SINGLESEL, 5);
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, ViewportPoint(2, 0));
    EXPECT_EQ(Selected(), std::vector<int>{2});
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 2);
    ASSERT_EQ(m_owner.m_activated.size(), 1u);
    EXPECT_EQ(m_owner.m_activated[0].hdr.code, NM_CLICK);
    EXPECT_EQ(m_owner.m_activated[0].iItem, 2);
    EXPECT_EQ(m_owner.m_activated[0].iSubItem, 0);

    // A click beside the first column leaves the row alone; the owner hears which column.
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, ViewportPoint(4, 1));
    EXPECT_EQ(Selected(), std::vector<int>{});
    EXPECT_EQ(m_owner.m_activated.back().iItem, -1);
    EXPECT_EQ(m_owner.m_activated.back().iSubItem, 1);

    QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, ViewportPoint(3, 0));
    EXPECT_EQ(Selected(), std::vector<int>{3});
    EXPECT_EQ(m_owner.m_activated.back().hdr.code, NM_DBLCLK);
    EXPECT_EQ(m_owner.m_activated.back().iItem, 3);
}

TEST_F(ListTest, HeaderClicksAndDividerDragsReachTheirListeners)
{
    Make(0, 3);
    auto* header = static_cast<QHeaderView*>(m_list.GetHeaderCtrl()->GetSafeHwnd());
    ASSERT_NE(header, nullptr);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(200, header->height() / 2));
    EXPECT_EQ(m_owner.m_columnClicks, std::vector<int>{1});

    // The list hears the end of a divider drag through its OnNotify.
    struct Tracking : CListCtrl {
        BOOL OnNotify(WPARAM, LPARAM header, LRESULT*) override
        {
            const auto* notification = reinterpret_cast<const NMHEADER*>(header);
            if (notification->hdr.code == HDN_ENDTRACK)
                m_ended.push_back(notification->iItem);
            return FALSE;
        }
        std::vector<int> m_ended;
    };
    Tracking tracking;
    QWidget* widget = m_list.Detach();
    ASSERT_TRUE(tracking.Attach(widget));
    const int divider = 120 + 150 - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(divider, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(divider + 30, y),
                     header->mapToGlobal(QPointF(divider + 30, y)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &move);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(divider + 30, y));
    EXPECT_EQ(tracking.GetColumnWidth(1), 180);
    EXPECT_EQ(tracking.m_ended, std::vector<int>{1});
}

TEST_F(ListTest, OwnerDrawnRowsAreMeasuredByTheOwnerAndOnlyVisibleOnesDrawn)
{
    struct Drawn : CListCtrl {
        void MeasureItem(LPMEASUREITEMSTRUCT measure) override { measure->itemHeight = 30; }
        void DrawItem(LPDRAWITEMSTRUCT item) override
        {
            m_rows.push_back(int(item->itemID));
            m_rects.push_back(CRect(item->rcItem));
            CListCtrl::DrawItem(item);
        }
        std::vector<int> m_rows;
        std::vector<CRect> m_rects;
    };
    Make(LVS_OWNERDRAWFIXED);
    QWidget* viewport = Viewport();
    Drawn drawn;
    ASSERT_TRUE(drawn.Attach(m_list.Detach()));
    for (int row = 0; row < 100000; ++row)
        drawn.InsertItem(LVIF_TEXT | LVIF_PARAM, row, LPSTR_TEXTCALLBACK, 0, 0, 0, row + 1);
    CRect row;
    ASSERT_TRUE(drawn.GetItemRect(0, &row, LVIR_BOUNDS));
    EXPECT_EQ(row.Height(), 30);
    drawn.EnsureVisible(5000, FALSE);
    drawn.m_rows.clear();
    viewport->repaint();
    const int perPage = drawn.GetCountPerPage();
    ASSERT_FALSE(drawn.m_rows.empty());
    EXPECT_LE(int(drawn.m_rows.size()), perPage + 1);
    const auto at = std::find(drawn.m_rows.begin(), drawn.m_rows.end(), 5000);
    ASSERT_NE(at, drawn.m_rows.end());
    CRect last;
    drawn.GetItemRect(5000, &last, LVIR_BOUNDS);
    EXPECT_EQ(drawn.m_rects[std::size_t(at - drawn.m_rows.begin())], last);
}
