#include "show/ShowShuffle.h"

#include "platform/framework/CWaitCursor.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"
#include "util/Generic.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

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
    const int clears = m_view.m_clears;
    m_sorts = m_view.m_sorts;
    for (long r = 0; CReelmixView::s_shuffling && r < 50L * m_rows && m_view.m_clears == clears;
         ++r) {
        MoveDown(std::rand() % (m_rows - 1));
        if (r % 50 == 0)
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
    m_moved.push_back(a);
    m_focus = m_focus == b ? a : b;
    if (b < m_top)
        m_top = b;
    else if (b >= m_top + m_perPage)
        m_top = b - m_perPage + 1;
}

void ShowShuffle::ShowMoves()
{
    if (m_moved.empty())
        return;
    for (const int a : m_moved)
        for (const std::size_t row : {std::size_t(a), std::size_t(a) + 1}) {
            m_doc.m_clips.GetAt(m_nodes[row]) = m_clips[row];
            m_list.SetItemData(int(row), LPARAM(m_clips[row]));
        }
    m_list.SelectItem(m_moved.back() + 1, TRUE);
    m_list.FocusItem(m_focus);
    // EnsureVisible scrolls just far enough, so these bring exactly top to the top.
    if (m_top < m_list.GetTopIndex())
        m_list.EnsureVisible(m_top, FALSE);
    else if (m_top > m_list.GetTopIndex())
        m_list.EnsureVisible(m_top + m_perPage - 1, FALSE);
    m_doc.SetModifiedFlag();
    m_moved.clear();
}

// Messages are taken every 50 moves, but the list is let repaint only about as often as a screen
// shows a new picture: a repaint costs as much as thousands of moves.
void ShowShuffle::TakeMessages(bool first)
{
    ShowMoves();
    const auto now = std::chrono::steady_clock::now();
    const bool repaint = first || now - m_repainted >= std::chrono::milliseconds(16);
    if (repaint) {
        m_repainted = now;
        m_list.UnlockWindowUpdate();
    }
    Generic::SpinTheMessageLoop();
    if (repaint)
        m_list.LockWindowUpdate();
    if (m_sorts != m_view.m_sorts) {
        m_sorts = m_view.m_sorts;
        TakeOrder();
    }
    ReadList();
}
