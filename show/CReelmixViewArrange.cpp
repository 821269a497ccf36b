// Arranging the show: Delete, Up, Down and Shuffle Clips. The rows and the document's clips
// always change together.
#include "show/CReelmixView.h"

#include "show/CReelmixDoc.h"
#include "show/Clip.h"
#include "show/ShowEdit.h"
#include "show/ShowShuffle.h"

bool CReelmixView::s_shuffling = false;

// The deleted clip lives on in the edit's step, for Undo.
void CReelmixView::OnDelete()
{
    const ShowEdit edit(*this, "Delete");
    const int row = m_list.GetSelectedItem(-1);
    if (row != -1) {
        if (Clip* clip = RowClip(row)) {
            CReelmixDoc* doc = GetDocument();
            if (POSITION pos = doc->m_clips.Find(clip))
                doc->m_clips.RemoveAt(pos);
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
    const ShowEdit edit(*this, "Move Up");
    for (int a = 0; a < m_list.GetItemCount(); ++a) {
        if (!m_list.IsSelected(a))
            continue;
        if (a == 0)
            return;
        Clip* clip = RowClip(a);
        ExchangeRows(a, a - 1);
        GetDocument()->MoveClipUp(clip);
    }
}

void CReelmixView::OnDown()
{
    const ShowEdit edit(*this, "Move Down");
    const int last = m_list.GetItemCount() - 1;
    for (int a = last; a >= 0; --a) {
        if (!m_list.IsSelected(a))
            continue;
        if (a == last)
            return;
        Clip* clip = RowClip(a);
        ExchangeRows(a, a + 1);
        GetDocument()->MoveClipDown(clip);
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
    const ShowEdit edit(*this, "Shuffle");
    do {
        s_shuffling = !s_shuffling;
        EnableCommands(!s_shuffling);
        const int rows = m_list.GetItemCount();
        if (rows > 1) {
            m_list.LockWindowUpdate();
            ShowShuffle(*this, rows).Run();
            m_list.UnlockWindowUpdate();
        }
    } while (s_shuffling);
}
