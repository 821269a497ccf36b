#include "tests/controls/MyListCtrlTestHost.h"

#include "platform/process/MessageBeep.h"
#include "platform/registry/WinReg.h"
#include "platform/windows/CHeaderCtrlWidget.h"
#include "util/MyRegistry.h"

#include <QCursor>
#include <QHeaderView>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>

namespace
{
class Clip : public MyListCtrlLparam
{
};

const CString kKey = "Software\\Brantwell\\Reelmix\\Clips";

void StoreDWord(const char* name, DWORD value)
{
    ASSERT_TRUE(MyRegistry(HKEY_CURRENT_USER, kKey, true).SaveValueInt(name, int(value)));
}

// The stored value and its type; -1 when there is none.
long long Stored(const char* name, DWORD* type = nullptr)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG status =
        RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<LPBYTE>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? (long long)value : -1;
}

void ClearStore()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
}
} // namespace

class MyListCtrlTest : public MyListCtrlTestHost
{
};

TEST_F(MyListCtrlTest, BookmarksStayOrderedAndNavigationWrapsAround)
{
    Make(LVS_REPORT, Numbered(12));
    m_list.NextBookmark(); // no bookmarks: nothing happens
    EXPECT_EQ(m_list.GetFocusedItem(), -1);
    for (int row : {9, 2, 5, 5})
        m_list.SetBookmark(row, true);
    EXPECT_EQ(m_list.GetBookmarkCount(), 3);
    m_list.SetBookmark(7, false); // absent: nothing
    EXPECT_EQ(m_list.GetBookmarkCount(), 3);

    const struct {
        int focus;
        int next;
        int prev;
    } cases[] = {{5, 9, 2}, {9, 2, 5}, {2, 5, 9}, {7, 9, 5}, {0, 2, 9}, {11, 2, 9}};
    for (const auto& c : cases) {
        m_list.FocusItem(c.focus);
        m_list.NextBookmark();
        EXPECT_EQ(m_list.GetFocusedItem(), c.next) << "next from " << c.focus;
        m_list.FocusItem(c.focus);
        m_list.PrevBookmark();
        EXPECT_EQ(m_list.GetFocusedItem(), c.prev) << "prev from " << c.focus;
    }
    EXPECT_TRUE(Selected().empty()) << "bookmark navigation leaves the selection";

    m_list.ToggleBookmark(5);
    EXPECT_FALSE(m_list.IsBookmark(5));
    m_list.ToggleBookmark(5);
    EXPECT_TRUE(m_list.IsBookmark(5));
    m_list.ClearBookmarks();
    EXPECT_EQ(m_list.GetBookmarkCount(), 0);
}

TEST_F(MyListCtrlTest, VisibilityCountsThePartRowAndNextBookmarkScrollsToItsTarget)
{
    Make(LVS_REPORT, Numbered(60));
    m_list.SetBookmark(50, true);
    ASSERT_FALSE(m_list.IsItemVisible(50));
    m_list.NextBookmark();
    EXPECT_EQ(m_list.GetFocusedItem(), 50);
    EXPECT_TRUE(m_list.IsItemVisible(50));
    for (int top : {0, 20}) {
        m_list.EnsureVisible(59, FALSE);
        m_list.EnsureVisible(top, FALSE);
        ASSERT_EQ(m_list.GetTopIndex(), top);
        const int perPage = m_list.GetCountPerPage();
        EXPECT_EQ(m_list.IsItemVisible(top - 1), 0);
        EXPECT_EQ(m_list.IsItemVisible(top), 1);
        EXPECT_EQ(m_list.IsItemVisible(top + perPage), 1);
        EXPECT_EQ(m_list.IsItemVisible(top + perPage + 1), 0);
    }
}

TEST_F(MyListCtrlTest, FindIgnoresCaseAndStartsAfterStart)
{
    Make(LVS_REPORT, {{"x"}, {"ABC"}, {"y"}, {"abc"}, {"abc"}});
    EXPECT_EQ(m_list.Find("abc", -1), 1);
    EXPECT_EQ(m_list.Find("abc", 1), 3);
    EXPECT_EQ(m_list.Find("abc", 3), 4);
    EXPECT_EQ(m_list.Find("abc", 4), -1);
    EXPECT_EQ(m_list.Find("ab", -1), -1);
}

TEST_F(MyListCtrlTest, FindExactMatchComparesColumnByColumnWithCase)
{
    Make(LVS_REPORT, {{"A", "b", "1"}, {"a", "b", "2"}, {"a", "b", "3"}, {"a", "c"}});
    CStringList ab;
    ab.AddTail("a");
    ab.AddTail("b");
    EXPECT_EQ(m_list.FindExactMatch(ab, 0), 1);
    EXPECT_EQ(m_list.FindExactMatch(ab, 1), 1) << "start itself is tried";
    EXPECT_EQ(m_list.FindExactMatch(ab, 3), -1);
    EXPECT_EQ(m_list.FindExactMatch(ab, -5), 1) << "a negative start begins at the first row";
    CStringList tooMany;
    for (const char* text : {"a", "c", "", "beyond the last column"})
        tooMany.AddTail(text);
    EXPECT_EQ(m_list.FindExactMatch(tooMany, 0), 3);
    const CStringList none;
    EXPECT_EQ(m_list.FindExactMatch(none, 2), 2);
    EXPECT_EQ(m_list.FindExactMatch(none, 4), -1);
}

TEST_F(MyListCtrlTest, GetItemTextWorksReadsWholeTextsUpToItsLimit)
{
    // The parent supplies the texts of the second column on request.
    class Supplier : public ListParent
    {
    public:
        BOOL OnNotify(WPARAM id, LPARAM header, LRESULT* result) override
        {
            auto* request = reinterpret_cast<NMLVDISPINFO*>(header);
            if (request->hdr.code != LVN_GETDISPINFO)
                return ListParent::OnNotify(id, header, result);
            const std::string text(std::size_t(request->item.lParam), 'q');
            std::strncpy(request->item.pszText, text.c_str(),
                         std::size_t(request->item.cchTextMax));
            request->item.pszText[request->item.cchTextMax - 1] = '\0';
            return TRUE;
        }
    };
    Supplier supplier;
    m_host.resize(400, 200);
    ASSERT_TRUE(supplier.Attach(&m_host));
    ASSERT_TRUE(m_list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 400, 200), &supplier, 1));
    m_list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, "Long", LVCFMT_LEFT, 100);
    const struct {
        int length;
        int read;
    } cases[] = {{0, 0}, {63, 63}, {100, 100}, {5000, 5000}, {40000, 32767}};
    for (const auto& c : cases) {
        const int row = AddRow({std::string(std::size_t(c.length), 'x')}, c.length);
        m_list.SetItemText(row, 1, LPSTR_TEXTCALLBACK);
        EXPECT_EQ(m_list.GetItemTextWorks(row, 0).GetLength(), c.read) << c.length;
        EXPECT_EQ(m_list.GetItemTextWorks(row, 1).GetLength(), c.read) << c.length;
    }
    EXPECT_TRUE(m_list.GetItemTextWorks(-1, 0).IsEmpty());
    supplier.Detach();
}

TEST_F(MyListCtrlTest, AnyColumnClickSelectsTheRow)
{
    Make(LVS_REPORT, Numbered(6));
    CRect cell;
    ASSERT_TRUE(m_list.GetSubItemRect(4, 2, LVIR_BOUNDS, cell));
    CRect first;
    m_list.GetItemRect(m_list.GetTopIndex(), &first, LVIR_BOUNDS);
    const QPoint point(cell.left + 10, cell.CenterPoint().y - first.top);
    QCursor::setPos(Widget()->viewport()->mapToGlobal(point));
    for (int mode : {0, 1}) {
        m_list.SetModeAnyColumn(mode);
        QTest::mouseClick(Widget()->viewport(), Qt::LeftButton, {}, point);
        EXPECT_EQ(m_list.IsSelected(4), mode) << mode;
        EXPECT_EQ(m_list.IsFocused(4), mode) << mode;
    }
}

TEST_F(MyListCtrlTest, HeaderClicksSortNewColumnsDescendingThenFlip)
{
    Make(LVS_REPORT, {{"b", "10", "x"}, {"A", "9", "1"}, {"c", "100", "2"}});
    auto* header = static_cast<QHeaderView*>(m_list.GetHeaderCtrl()->GetSafeHwnd());
    const auto click = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    };
    click(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"100", "10", "9"}));
    click(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"9", "10", "100"}));
    click(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"c", "b", "A"}));
    click(2); // "x" at one end: a text sort
    EXPECT_EQ(Column(2), (std::vector<std::string>{"x", "2", "1"}));
    EXPECT_TRUE(m_parent.m_codes.empty()) << "column clicks stay with the list";

    m_list.SortColumn(2, false);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"x", "2", "1"})) << "no toggle: same direction";
}

TEST_F(MyListCtrlTest, NumbersAreDetectedByTheFirstAndLastRows)
{
    const struct {
        std::vector<std::string> texts;
        std::vector<std::string> ascending;
    } cases[] = {
        {{"10", "9", "100"}, {"9", "10", "100"}},
        {{"10", "9", "x"}, {"10", "9", "x"}},
        {{"1,250", "7", "50%"}, {"1,250", "7", "50%"}}, // 1, 7 and 50
        {{"abc", "ABD", "ABC"}, {"abc", "ABC", "ABD"}}, // abc and ABC are equal: order kept
        {{"", "", ""}, {"", "", ""}},
    };
    for (const auto& c : cases) {
        MyListCtrl list;
        ASSERT_TRUE(list.Create(LVS_REPORT, CRect(0, 0, 300, 200), nullptr, 1));
        list.InsertColumn(0, "Value", LVCFMT_LEFT, 100);
        for (const std::string& text : c.texts)
            list.InsertItem(list.GetItemCount(), text.c_str());
        list.SortColumn(0, false); // descending
        list.SortColumn(0, true);  // ascending
        std::vector<std::string> sorted;
        for (int row = 0; row < list.GetItemCount(); ++row)
            sorted.push_back(std::string((const char*)list.GetItemText(row, 0)));
        EXPECT_EQ(sorted, c.ascending) << c.texts[0] << " " << c.texts[2];
        for (int row = 0; row < list.GetItemCount(); ++row)
            EXPECT_EQ(list.GetItemData(row), 0) << "rows without data values keep none";
    }
}

// The order the sort comparison gives when taken literally: a stable sort by _stricmp, then,
// when the texts at both ends look numeric, a stable sort by atoi.
std::vector<int> LiteralOrder(const std::vector<std::string>& texts, bool ascending)
{
    std::vector<int> rows(texts.size());
    std::iota(rows.begin(), rows.end(), 0);
    const auto sortBy = [&](auto compare) {
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            const int result =
                compare(texts[std::size_t(a)].c_str(), texts[std::size_t(b)].c_str());
            return ascending ? result < 0 : result > 0;
        });
    };
    sortBy([](const char* a, const char* b) { return _stricmp(a, b); });
    const auto looksNumeric = [&](int row) {
        return texts[std::size_t(row)].find_first_not_of("$.%, 0123456789") == std::string::npos;
    };
    if (!rows.empty() && looksNumeric(rows.front()) && looksNumeric(rows.back()))
        sortBy([](const char* a, const char* b) { return std::atoi(a) - std::atoi(b); });
    return rows;
}

TEST(MyListCtrlSort, HeaderSortsGiveTheLiteralComparisonsOrder)
{
    const std::vector<std::vector<std::string>> columns = {
        {"b", "B", "a", "_x", "Z", "", "ab", "A", "\xc3\xa4", "A b", "a  ", "[", "b"},
        {" 7", "$12", "-3", "10", "9", "$5", "", "1,250", "50%", "007", "3.9", "+4", " 7"},
        {"10", "9", "x7", "100", "X7", "9"},
    };
    for (const auto& texts : columns) {
        MyListCtrl list;
        ASSERT_TRUE(list.Create(LVS_REPORT, CRect(0, 0, 300, 200), nullptr, 1));
        list.InsertColumn(0, "Value", LVCFMT_LEFT, 100);
        for (std::size_t row = 0; row < texts.size(); ++row)
            list.InsertItem(LVIF_TEXT | LVIF_PARAM, int(row), texts[row].c_str(), 0, 0, 0,
                            LPARAM(row + 1));
        for (const bool ascending : {false, true}) {
            list.SortColumn(0, true); // a new column descending, then ascending
            std::vector<int> sorted;
            for (int row = 0; row < list.GetItemCount(); ++row)
                sorted.push_back(int(list.GetItemData(row)) - 1);
            EXPECT_EQ(sorted, LiteralOrder(texts, ascending)) << texts[0] << " " << ascending;
        }
    }
}

TEST_F(MyListCtrlTest, RowObjectsStayWithTheirRowsWhateverTheOtherRowsCarry)
{
    Make(LVS_REPORT);
    Clip first;
    Clip second;
    AddRow({"b"}, 0);
    AddRow({"c"}, LPARAM(&first));
    AddRow({"a"}, LPARAM(&second));
    AddRow({"d"}, LPARAM(&second)); // a repeated value
    m_list.SortColumn(0, true);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"d", "c", "b", "a"}));
    EXPECT_EQ(m_list.GetItemData(0), LPARAM(&second));
    EXPECT_EQ(m_list.GetItemData(1), LPARAM(&first));
    EXPECT_EQ(m_list.GetItemData(2), 0);
    EXPECT_EQ(m_list.GetItemData(3), LPARAM(&second));
}

TEST_F(MyListCtrlTest, ColumnWidthsComeFromTheRegistryUntilTheFirstGap)
{
    const struct {
        std::vector<std::pair<const char*, DWORD>> stored;
        std::vector<int> widths;
    } cases[] = {
        {{{"Column0", 120}, {"Column2", 80}}, {120, 150, 80}},
        {{{"Column0", 0x00010064}, {"Column1", 33}, {"Column2", 44}, {"Column3", 55}},
         {100, 33, 44}},
        {{}, {100, 150, 80}},
    };
    for (const auto& c : cases) {
        ClearStore();
        for (const auto& [name, value] : c.stored)
            StoreDWord(name, value);
        MyListCtrl list;
        ASSERT_TRUE(list.Create(LVS_REPORT, CRect(0, 0, 300, 200), nullptr, 1));
        list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
        list.InsertColumn(1, "Place", LVCFMT_LEFT, 150);
        list.InsertColumn(2, "Size", LVCFMT_RIGHT, 80);
        list.SetModeColumnWidths(kKey);
        EXPECT_EQ((std::vector<int>{list.GetColumnWidth(0), list.GetColumnWidth(1),
                                    list.GetColumnWidth(2)}),
                  c.widths);
    }
}

TEST_F(MyListCtrlTest, WidthsAreStoredAsDWordsAndOnDestroy)
{
    ClearStore();
    StoreDWord("Column7", 77);
    Make(LVS_REPORT);
    m_list.SetModeColumnWidths(kKey);
    m_list.SetColumnWidth(1, 222);
    m_list.SaveColumnsWidthsToRegistry();
    DWORD type = 0;
    EXPECT_EQ(Stored("Column0", &type), 100);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(Stored("Column1"), 222);
    EXPECT_EQ(Stored("Column2"), 80);
    EXPECT_EQ(Stored("Column3"), -1);
    EXPECT_EQ(Stored("Column7"), 77) << "values beyond the columns are left alone";

    m_list.SetColumnWidth(2, 90);
    m_parent.DestroyWindow();
    EXPECT_EQ(Stored("Column2"), 90);
}

TEST_F(MyListCtrlTest, AnEmptyKeyLeavesTheRegistryAlone)
{
    ClearStore();
    Make(LVS_REPORT);
    StoreDWord("Column0", 10);
    m_list.SetModeColumnWidths("");
    EXPECT_EQ(m_list.GetColumnWidth(0), 100);
    m_list.SetColumnWidth(0, 55);
    m_list.SaveColumnsWidthsToRegistry();
    EXPECT_EQ(Stored("Column0"), 10);
}

TEST_F(MyListCtrlTest, TheAutoSizeColumnTakesWhatTheOthersLeave)
{
    Make(LVS_REPORT, Numbered(3));
    CRect client;
    m_list.GetClientRect(&client);
    const struct {
        int width0;
        int width1;
        int expected;
    } cases[] = {
        {100, 150, client.Width() - 250}, {10, 20, client.Width() - 30}, {client.Width(), 50, 0}};
    m_list.HandleAutoSizeColumn(); // none set: nothing
    EXPECT_EQ(m_list.GetColumnWidth(2), 80);
    m_list.SetAutoSizeColumn(2);
    EXPECT_EQ(m_list.GetColumnWidth(2), 80) << "setting it alone does not resize";
    for (const auto& c : cases) {
        m_list.SetColumnWidth(0, c.width0);
        m_list.SetColumnWidth(1, c.width1);
        m_list.HandleAutoSizeColumn();
        EXPECT_EQ(m_list.GetColumnWidth(2), c.expected) << c.width0 << " " << c.width1;
    }
    // The end of a divider drag resizes it too.
    m_list.SetColumnWidth(0, 40);
    NMHEADER track{};
    track.hdr = NMHDR{nullptr, 0, HDN_ENDTRACKW};
    LRESULT result = 0;
    m_list.OnNotify(0, LPARAM(&track.hdr), &result);
    EXPECT_EQ(m_list.GetColumnWidth(2), client.Width() - 90);
    m_list.ClearAutoSizeColumn();
    m_list.SetColumnWidth(0, 10);
    m_list.HandleAutoSizeColumn();
    EXPECT_EQ(m_list.GetColumnWidth(2), client.Width() - 90);
}

TEST_F(MyListCtrlTest, HeaderDoubleClicksFitShortListsAndOnlyBeepOnLongOnes)
{
    for (int rows : {3, 3000}) {
        MyListCtrl list;
        ASSERT_TRUE(list.Create(LVS_REPORT, CRect(0, 0, 400, 200), nullptr, 1));
        list.InsertColumn(0, "Name", LVCFMT_LEFT, 300);
        list.InsertColumn(1, "Rest", LVCFMT_LEFT, 10);
        for (int row = 0; row < rows; ++row)
            list.InsertItem(row, "x");
        list.SetAutoSizeColumn(1);
        CHeaderCtrl* header = list.GetHeaderCtrl();
        ASSERT_NE(dynamic_cast<MyHeaderCtrl*>(header), nullptr);
        const int beeps = MessageBeepCount();
        header->OnLButtonDblClk(MK_LBUTTON, CPoint(299, 5)); // on the first divider
        if (rows < 3000) {
            EXPECT_LT(list.GetColumnWidth(0), 300) << "fitted to its short texts";
            CRect client;
            list.GetClientRect(&client);
            EXPECT_EQ(list.GetColumnWidth(1), client.Width() - list.GetColumnWidth(0));
            EXPECT_EQ(MessageBeepCount(), beeps);
        } else {
            EXPECT_EQ(list.GetColumnWidth(0), 300);
            EXPECT_EQ(list.GetColumnWidth(1), 10);
            EXPECT_EQ(MessageBeepCount(), beeps + 1);
        }
    }
}

TEST_F(MyListCtrlTest, HeaderTextsAreCutTo62Characters)
{
    Make(LVS_REPORT);
    const std::string longTitle(70, 't');
    m_list.InsertColumn(3, longTitle.c_str(), LVCFMT_LEFT, 50);
    EXPECT_EQ(m_list.GetHeaderText(1), CString("Place"));
    EXPECT_EQ(m_list.GetHeaderText(3), CString(longTitle.substr(0, 62).c_str()));
    EXPECT_TRUE(m_list.GetHeaderText(9).IsEmpty());
}
