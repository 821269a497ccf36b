#include "show/ShowShuffle.h"

#include "platform/framework/CWaitCursor.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"
#include "util/Generic.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <utility>

namespace
{
// Messages are taken at a 50-move mark once this long has passed since they were last taken: a
// user sees no difference, and taking them at every mark cost more than the moves themselves.
// In a long show, where writing the changed rows back takes longer, they wait longer, so that
// the writing takes no more than a fifth of the time.
constexpr auto kMessagesEvery = std::chrono::milliseconds(4);
constexpr int kMovingPerWriting = 4;
// The list is let repaint about as often as a screen shows a new picture: a repaint costs as
// much as thousands of moves.
constexpr auto kRepaintEvery = std::chrono::milliseconds(16);
} // namespace

ShowShuffle::ShowShuffle(CReelmixView& view, int rows)
    : m_view(view), m_doc(*view.GetDocument()), m_list(view.m_list), m_rows(rows)
{
}

void ShowShuffle::Run()
{
    TakeOrder();
    ReadList();
    // The wait cursor shows for every move; once for them all saves switching it each time.
    CWaitCursor wait;
    m_clears = m_view.m_clears;
    m_sorts = m_view.m_sorts;
    for (long r = 0; CReelmixView::s_shuffling && r < 50L * m_rows && m_view.m_clears == m_clears;
         ++r) {
        MoveDown(std::rand() % (m_rows - 1));
        if (r % 50 == 0 && MessagesDue(r == 0))
            TakeMessages(r == 0);
    }
    ShowMoves();
}

void ShowShuffle::TakeOrder()
{
    m_nodes.clear();
    m_clips.clear();
    for (POSITION pos = m_doc.m_clips.GetHeadPosition(); pos && int(m_nodes.size()) < m_rows;
         m_doc.m_clips.GetNext(pos)) {
        m_nodes.push_back(pos);
        m_clips.push_back(m_doc.m_clips.GetAt(pos));
    }
    m_inStep = int(m_nodes.size()) == m_rows;
    for (int row = 0; m_inStep && row < m_rows; ++row)
        m_inStep = m_clips[std::size_t(row)] == m_view.RowClip(row);
    m_changed.assign((std::size_t(m_rows) + 63) / 64, 0);
}

void ShowShuffle::ReadList()
{
    m_focus = m_list.GetNextItem(-1, LVNI_FOCUSED);
    m_top = m_list.GetTopIndex();
    m_perPage = std::max(1, m_list.GetCountPerPage());
}

// The rows' clips exchanged, b selected, the focus on b unless b had it, b scrolled into view.
void ShowShuffle::MoveDown(int a)
{
    if (!m_inStep) {
        m_list.SelectItem(a, TRUE);
        m_view.OnDown();
        return;
    }
    const int b = a + 1;
    std::swap(m_clips[std::size_t(a)], m_clips[std::size_t(b)]);
    Changed(a);
    Changed(b);
    m_lastMoved = a;
    m_focus = m_focus == b ? a : b;
    if (b < m_top)
        m_top = b;
    else if (b >= m_top + m_perPage)
        m_top = b - m_perPage + 1;
}

void ShowShuffle::Changed(int row)
{
    m_changed[std::size_t(row) / 64] |= std::uint64_t(1) << (row % 64);
}

// The changed rows in order, so that the document's nodes and the list's rows are walked
// forwards rather than jumped about in.
void ShowShuffle::ShowMoves()
{
    if (m_lastMoved < 0)
        return;
    const Clock::time_point start = Clock::now();
    for (std::size_t word = 0; word < m_changed.size(); ++word)
        for (std::uint64_t bits = std::exchange(m_changed[word], 0); bits; bits &= bits - 1) {
            const std::size_t row = word * 64 + std::size_t(std::countr_zero(bits));
            m_doc.m_clips.GetAt(m_nodes[row]) = m_clips[row];
            m_list.SetItemData(int(row), LPARAM(m_clips[row]));
        }
    m_list.SelectItem(m_lastMoved + 1, TRUE);
    m_list.FocusItem(m_focus);
    // EnsureVisible scrolls just far enough, so these bring exactly top to the top.
    if (m_top < m_list.GetTopIndex())
        m_list.EnsureVisible(m_top, FALSE);
    else if (m_top > m_list.GetTopIndex())
        m_list.EnsureVisible(m_top + m_perPage - 1, FALSE);
    m_lastMoved = -1;
    m_writing = Clock::now() - start;
}

bool ShowShuffle::MessagesDue(bool first) const
{
    return first || Clock::now() - m_messagesTaken >=
                        std::max<Clock::duration>(kMessagesEvery, kMovingPerWriting * m_writing);
}

void ShowShuffle::TakeMessages(bool first)
{
    ShowMoves();
    const auto now = Clock::now();
    const bool repaint = first || now - m_repainted >= kRepaintEvery;
    if (repaint) {
        m_repainted = now;
        m_list.UnlockWindowUpdate();
    }
    Generic::SpinTheMessageLoop();
    if (repaint)
        m_list.LockWindowUpdate();
    // A show cleared or replaced meanwhile is left alone: the document may be gone.
    if (m_clears != m_view.m_clears)
        return;
    if (m_sorts != m_view.m_sorts) {
        m_sorts = m_view.m_sorts;
        TakeOrder();
    }
    ReadList();
    m_messagesTaken = Clock::now();
}
