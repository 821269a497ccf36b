#include "show/CReelmixView.h"

#include "show/CReelmixDoc.h"
#include "show/Clip.h"
#include "util/Generic.h"

#include "platform/registry/WinReg.h"
#include "util/MyRegistry.h"
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Marks {
    double start;
    double end;
};

class ViewTest : public ::testing::Test
{
protected:
    void Open(const std::vector<Marks>& clips)
    {
        int n = 0;
        for (const Marks& marks : clips) {
            auto* clip = new Clip("\\movies\\set", ("clip" + std::to_string(n++) + ".avi").c_str());
            clip->m_start = marks.start;
            clip->m_end = marks.end;
            m_doc.m_clips.AddTail(clip);
        }
        m_frame.resize(800, 500);
        ASSERT_TRUE(m_view.Create(&m_frame));
        m_doc.AddView(&m_view);
        m_view.OnInitialUpdate();
    }

    void TearDown() override { m_doc.RemoveView(&m_view); }

    CString Label(int id)
    {
        CString text;
        m_view.GetDlgItem(id)->GetWindowText(text);
        return text;
    }

    QRect Geometry(int id) { return m_view.GetDlgItem(id)->GetSafeHwnd()->geometry(); }

    CReelmixDoc m_doc;
    QWidget m_frame;
    CReelmixView m_view;
};
} // namespace

TEST_F(ViewTest, TotalsAndDurationsFollowTheMarks)
{
    constexpr double unset = -1.0;
    struct Case {
        const char* what;
        std::vector<Marks> clips;
        const char* total; // after "Total Duration: "
        std::vector<const char*> durations;
    } cases[] = {
        {"empty show", {}, "00:00:00.000", {}},
        {"no marks", {{unset, unset}}, "> 00:00:00.000", {"Unknown"}},
        {"a section", {{10.0, 12.5}}, "00:00:02.500", {"2.500 secs"}},
        {"reversed marks are unknown",
         {{12.5, 10.0}, {0.0, 10.0}},
         "> 00:00:10.000",
         {"Unknown", "10.000 secs"}},
        {"equal marks", {{5.0, 5.0}}, "> 00:00:00.000", {"Unknown"}},
        {"one hour",
         {{0.0, 1800.0}, {100.0, 1900.0}},
         "01:00:00.000",
         {"1800.000 secs", "1800.000 secs"}},
        {"a hundred hours", {{0.0, 360000.0}}, "100:00:00.000", {"360000.000 secs"}},
        {"beyond a 32-bit millisecond count",
         {{0.0, 3e9}},
         "833333:20:00.000",
         {"3000000000.000 secs"}},
        {"start without end",
         {{10.0, unset}, {1.0, 2.0}},
         "> 00:00:01.000",
         {"Unknown", "1.000 secs"}},
        {"the total adds up the rows' rounded milliseconds",
         {{0.0, 0.0019}, {1.0, 1.0019}, {0.0, 3.15}},
         "00:00:03.154",
         {"0.002 secs", "0.002 secs", "3.150 secs"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CReelmixDoc doc;
        QWidget frame;
        CReelmixView view;
        for (const Marks& marks : c.clips) {
            auto* clip = new Clip("\\m", "a.avi");
            clip->m_start = marks.start;
            clip->m_end = marks.end;
            doc.m_clips.AddTail(clip);
        }
        ASSERT_TRUE(view.Create(&frame));
        doc.AddView(&view);
        view.OnInitialUpdate();
        EXPECT_EQ(view.m_clipCountText, std::to_string(c.clips.size()) + " Clips In Show");
        const CString total = CString("Total Duration: ") + c.total;
        EXPECT_EQ(view.m_totalDurationText, total);
        CString shown;
        view.GetDlgItem(CReelmixView::IDC_TOTAL_DURATION)->GetWindowText(shown);
        EXPECT_EQ(shown, total);
        ASSERT_EQ(view.m_list.GetItemCount(), int(c.durations.size()));
        for (int row = 0; row < int(c.durations.size()); ++row)
            EXPECT_EQ(view.m_list.GetItemText(row, 2), c.durations[std::size_t(row)]);
        doc.RemoveView(&view);
    }
}

TEST_F(ViewTest, RowsShowTheClipsInShowOrderWithTheirColumns)
{
    Open({{1.0, 2.0}, {0.0, 3.0}});
    ASSERT_EQ(m_view.m_list.GetItemCount(), 2);
    EXPECT_EQ(m_view.m_list.GetItemText(1, 0), "clip1.avi");
    EXPECT_EQ(m_view.m_list.GetItemText(1, 1), "/movies/set");
    EXPECT_EQ(m_view.m_list.GetItemText(0, 2), "1.000 secs");
    EXPECT_EQ(reinterpret_cast<Clip*>(m_view.m_list.GetItemData(0)), m_doc.m_clips.GetHead());
    char cut[6];
    EXPECT_EQ(m_view.m_list.GetItemText(1, 1, cut, 6), 5);
    EXPECT_STREQ(cut, "/movi");
    EXPECT_EQ(m_view.m_list.GetItemText(1, 3), "");

    LVCOLUMN column{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, 0, 0, nullptr, 0, 0};
    char title[16];
    column.pszText = title;
    column.cchTextMax = sizeof title;
    const struct {
        const char* title;
        int format;
        int width;
    } expected[] = {{"FileName", LVCFMT_LEFT, 100},
                    {"Directory", LVCFMT_LEFT, 300},
                    {"Duration", LVCFMT_RIGHT, 100}};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(m_view.m_list.GetColumn(i, &column));
        EXPECT_STREQ(title, expected[i].title);
        EXPECT_EQ(column.fmt, expected[i].format);
        EXPECT_EQ(column.cx, expected[i].width);
    }
    EXPECT_FALSE(m_view.m_list.GetColumn(3, &column));

    // Clearing empties the list and the totals; a second initial update (after New or Open)
    // adds rows, never columns again.
    EXPECT_EQ(Label(CReelmixView::IDC_CLIP_COUNT), "2 Clips In Show");
    m_doc.DeleteContents();
    EXPECT_EQ(m_view.m_list.GetItemCount(), 0);
    EXPECT_EQ(Label(CReelmixView::IDC_CLIP_COUNT), "0 Clips In Show");
    EXPECT_EQ(Label(CReelmixView::IDC_TOTAL_DURATION), "Total Duration: 00:00:00.000");
    m_view.OnInitialUpdate();
    EXPECT_FALSE(m_view.m_list.GetColumn(3, &column));
    EXPECT_TRUE(m_view.m_btnInsert.GetSafeHwnd());
    EXPECT_TRUE(m_view.m_btnPlayShow.HasImage());
}

TEST_F(ViewTest, SizeMovesTheListAndTheRightHandControls)
{
    Open({});
    const QRect insertBefore = Geometry(CReelmixView::IDC_INSERT);
    const QRect listBefore = Geometry(CReelmixView::IDC_LIST);
    m_view.GetSafeHwnd()->resize(900, 600);
    m_view.OnSize(SIZE_RESTORED, 900, 600);
    const int mx = Generic::GetHorzPixels(&m_view, 7);
    const int my = Generic::GetVertPixels(&m_view, 7);
    const int bw = Generic::GetHorzPixels(&m_view, 98);
    const int bh = Generic::GetVertPixels(&m_view, 32);
    const int top = Generic::GetVertPixels(&m_view, 21);
    const int x = 900 - bw - mx;
    EXPECT_EQ(Geometry(CReelmixView::IDC_LIST),
              QRect(listBefore.topLeft(), QSize(900 - 3 * mx - bw, 600 - top - my)));
    EXPECT_EQ(Geometry(CReelmixView::IDC_CLIP_COUNT).topLeft(), QPoint(x, top));
    EXPECT_EQ(Geometry(CReelmixView::IDC_TOTAL_DURATION).topLeft(), QPoint(x, top + 2 * my));
    const QRect multi = Geometry(CReelmixView::IDC_MULTI_LOAD);
    EXPECT_EQ(multi.topLeft(), QPoint(x, 600 - 3 * (bh + my)));
    EXPECT_EQ(multi.width(), bw);
    EXPECT_EQ(Geometry(CReelmixView::IDC_SHUFFLE).topLeft(), QPoint(x, 600 - 2 * (bh + my)));
    EXPECT_EQ(Geometry(CReelmixView::IDC_PLAY_SHOW).topLeft(), QPoint(x, 600 - (bh + my)));
    EXPECT_EQ(Geometry(CReelmixView::IDC_INSERT), insertBefore);
}

TEST_F(ViewTest, FirstInitialUpdateFitsAPlainParentToTheForm)
{
    Open({});
    const CSize total = m_view.GetTotalSize();
    EXPECT_EQ(m_frame.size(), QSize(total.cx, total.cy));
    EXPECT_EQ(m_view.GetSafeHwnd()->geometry(), m_frame.rect());
    m_frame.resize(800, 500);
    m_view.RecalcParentLayout();
    EXPECT_EQ(m_view.GetSafeHwnd()->size(), QSize(800, 500));
}

TEST_F(ViewTest, AHeaderSortPutsTheShowInTheRowsOrder)
{
    Open({{1.0, 2.0}, {-1, -1}, {3.0, 5.0}});
    m_frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame));
    auto* header = static_cast<QHeaderView*>(m_view.m_list.GetHeaderCtrl()->GetSafeHwnd());
    // A newly clicked column sorts descending first.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, 5));
    std::string rows, show;
    for (int row = 0; row < m_view.m_list.GetItemCount(); ++row)
        rows += m_view.m_list.GetItemText(row, 0).Str() + " ";
    POSITION pos = m_doc.m_clips.GetHeadPosition();
    while (pos)
        show += static_cast<Clip*>(m_doc.m_clips.GetNext(pos))->m_fileName.Str() + " ";
    EXPECT_EQ(rows, "clip2.avi clip1.avi clip0.avi ");
    EXPECT_EQ(show, rows);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST(ReelmixViewWidths, ColumnsShareTheRowsWidthAndAreKeptUnderTheClipsKey)
{
    std::vector<int> expected;
    {
        CReelmixDoc doc;
        QWidget frame;
        CReelmixView view;
        ASSERT_TRUE(view.Create(&frame));
        doc.AddView(&view);
        view.OnInitialUpdate();
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        const auto* rows = static_cast<QAbstractScrollArea*>(view.m_list.GetSafeHwnd());
        for (const int width : {500, 1200}) {
            frame.resize(width, 400);
            const int name = view.m_list.GetColumnWidth(0);
            const int folder = view.m_list.GetColumnWidth(1);
            EXPECT_EQ(name + folder + view.m_list.GetColumnWidth(2), rows->viewport()->width());
            EXPECT_EQ(view.m_list.GetColumnWidth(2), 100);
            EXPECT_NEAR(folder, 3 * name, 3) << width; // as 100 and 300 share
        }
        view.m_list.SetColumnWidth(1, 250); // as the user drags it
        expected = {view.m_list.GetColumnWidth(0), 250, 100};
        doc.RemoveView(&view);
    }
    MyRegistry key(HKEY_CURRENT_USER, "Software\\Brantwell\\Reelmix\\Clips", false);
    ASSERT_TRUE(key.IsOpen());
    for (int column = 0; column < 3; ++column) {
        int width = 0;
        EXPECT_TRUE(key.ReadValueInt(CString("Column") + char('0' + column), width));
        EXPECT_EQ(width, expected[std::size_t(column)]) << column;
    }
}
