// Arranging the show: Delete, Up, Down and Shuffle Clips. The rows and the document's clips
// always change together.
#include "show/CReelmixView.h"

#include "platform/framework/CWaitCursor.h"
#include "show/CReelmixDoc.h"
#include "show/Clip.h"
#include "util/Generic.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <utility>
#include <vector>

bool CReelmixView::s_shuffling = false;

void CReelmixView::OnDelete()
{
    const int row = m_list.GetSelectedItem(-1);
    if (row != -1) {
        if (Clip* clip = RowClip(row)) {
            CReelmixDoc* doc = GetDocument();
            doc->SetModifiedFlag();
            if (POSITION pos = doc->m_clips.Find(clip))
                doc->m_clips.RemoveAt(pos);
            delete clip;
            m_clipKeysValid = false;
        }
        m_list.DeleteItem(row);
        if (m_list.IsItem(row - 1))
            m_list.SelectItem(row - 1, TRUE);
    }
    UpdateTotals();
}

// The rows' clips change places; the selection goes with the moved clip to b, and so does the
// focus unless b had it.
void CReelmixView::ExchangeRows(int a, int b)
{
    const LPARAM clipA = m_list.GetItemData(a);
    m_list.SetItemData(a, m_list.GetItemData(b));
    m_list.SetItemData(b, clipA);
    const int bSelected = m_list.IsSelected(b);
    const bool bFocused = m_list.IsFocused(b);
    m_list.SelectItem(b, TRUE);
    m_list.SelectItem(a, bSelected);
    m_list.FocusItem(bFocused ? a : b);
    m_list.EnsureVisible(b, FALSE);
}

void CReelmixView::OnUp()
{
    for (int a = 0; a < m_list.GetItemCount(); ++a) {
        if (!m_list.IsSelected(a))
            continue;
        if (a == 0)
            return;
        Clip* clip = RowClip(a);
        ExchangeRows(a, a - 1);
        GetDocument()->MoveClipUp(clip);
        GetDocument()->SetModifiedFlag();
    }
}

void CReelmixView::OnDown()
{
    const int last = m_list.GetItemCount() - 1;
    for (int a = last; a >= 0; --a) {
        if (!m_list.IsSelected(a))
            continue;
        if (a == last)
            return;
        Clip* clip = RowClip(a);
        ExchangeRows(a, a + 1);
        GetDocument()->MoveClipDown(clip);
        GetDocument()->SetModifiedFlag();
    }
}

void CReelmixView::EnableCommands(bool enable)
{
    for (MyButton* button : {&m_btnPlayShow, &m_btnMultiLoad, &m_btnInsert, &m_btnEdit,
                             &m_btnDelete, &m_btnUp, &m_btnDown})
        button->EnableWindow(enable);
}

void CReelmixView::OnShuffle()
{
    do {
        s_shuffling = !s_shuffling;
        EnableCommands(!s_shuffling);
        const int rows = m_list.GetItemCount();
        if (rows > 1) {
            GetDocument()->SetModifiedFlag();
            m_list.LockWindowUpdate();
            ShuffleRows(rows);
            m_list.UnlockWindowUpdate();
        }
    } while (s_shuffling);
}

// 50 moves per row, each of a row drawn with rand() one place down, as selecting it and running
// Down would, taking messages between every 50 moves. While rows and clips are in step the moves
// are made on a plain array of the clips; the document's nodes and the list take the rows they
// touched, with the selection, the focus and the scrolling they would have left, only before
// messages are taken: the list's own updates per move cost far more than the moves.
void CReelmixView::ShuffleRows(int rows)
{
    CReelmixDoc* doc = GetDocument();
    std::vector<POSITION> nodes;
    std::vector<CObject*> clips;
    bool inStep = false;
    // Taken again after a header sort, which reorders both between two moves.
    const auto takeOrder = [&] {
        nodes.clear();
        clips.clear();
        for (POSITION pos = doc->m_clips.GetHeadPosition(); pos && int(nodes.size()) < rows;
             doc->m_clips.GetNext(pos)) {
            nodes.push_back(pos);
            clips.push_back(doc->m_clips.GetAt(pos));
        }
        inStep = int(nodes.size()) == rows;
        for (int row = 0; inStep && row < rows; ++row)
            inStep = clips[std::size_t(row)] == RowClip(row);
    };
    // What the list shows now; read again whenever messages were taken, which may have let the
    // user scroll or click.
    std::vector<int> moved; // rows whose clip went one down since the list last took them
    int focus = 0, top = 0, perPage = 1;
    const auto readList = [&] {
        focus = m_list.GetNextItem(-1, LVNI_FOCUSED);
        top = m_list.GetTopIndex();
        perPage = std::max(1, m_list.GetCountPerPage());
    };
    const auto showMoves = [&] {
        if (moved.empty())
            return;
        for (const int a : moved)
            for (const std::size_t row : {std::size_t(a), std::size_t(a) + 1}) {
                doc->m_clips.GetAt(nodes[row]) = clips[row];
                m_list.SetItemData(int(row), LPARAM(clips[row]));
            }
        m_list.SelectItem(moved.back() + 1, TRUE);
        m_list.FocusItem(focus);
        // EnsureVisible scrolls just far enough, so these bring exactly top to the top.
        if (top < m_list.GetTopIndex())
            m_list.EnsureVisible(top, FALSE);
        else if (top > m_list.GetTopIndex())
            m_list.EnsureVisible(top + perPage - 1, FALSE);
        doc->SetModifiedFlag();
        moved.clear();
    };
    takeOrder();
    readList();
    // The wait cursor shows for every move; once for them all saves switching it each time.
    CWaitCursor wait;
    const int clears = m_clears;
    int sorts = m_sorts;
    std::chrono::steady_clock::time_point repainted;
    for (long r = 0; s_shuffling && r < 50L * rows && m_clears == clears; ++r) {
        const int a = std::rand() % (rows - 1);
        if (inStep) {
            // What selecting a and running Down leaves: the rows' clips exchanged, b selected,
            // the focus on b unless b had it, b scrolled into view.
            const int b = a + 1;
            std::swap(clips[std::size_t(a)], clips[std::size_t(b)]);
            moved.push_back(a);
            focus = focus == b ? a : b;
            if (b < top)
                top = b;
            else if (b >= top + perPage)
                top = b - perPage + 1;
        } else {
            m_list.SelectItem(a, TRUE);
            OnDown();
        }
        if (r % 50 == 0) {
            showMoves();
            // Messages are taken every 50 moves, but the list is let repaint only about as often
            // as a screen shows a new picture: a repaint costs as much as thousands of moves.
            const auto now = std::chrono::steady_clock::now();
            const bool repaint = r == 0 || now - repainted >= std::chrono::milliseconds(16);
            if (repaint) {
                repainted = now;
                m_list.UnlockWindowUpdate();
            }
            Generic::SpinTheMessageLoop();
            if (repaint)
                m_list.LockWindowUpdate();
            if (std::exchange(sorts, m_sorts) != m_sorts)
                takeOrder();
            readList();
        }
    }
    showMoves();
}
