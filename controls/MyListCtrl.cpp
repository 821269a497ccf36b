#include "controls/MyListCtrl.h"

#include "platform/framework/CWaitCursor.h"

#include <cstring>
#include <vector>

namespace
{
// GetItemTextWorks starts with this buffer and doubles it while texts fill it.
constexpr int kFirstTextCapacity = 64;
constexpr int kLastTextCapacity = 32000;
} // namespace

MyListCtrl::~MyListCtrl() = default;

void MyListCtrl::PreSubclassWindow()
{
    SubclassHeader(m_header);
    CListCtrl::PreSubclassWindow();
    EnableToolTips(TRUE);
}

// ---- rows, columns, focus and selection

int MyListCtrl::IsItem(int row) const
{
    return row >= 0 && row < GetItemCount() ? 1 : 0;
}

int MyListCtrl::IsColumn(int column) const
{
    if (column < 0)
        return 0;
    LVCOLUMN info{};
    info.mask = LVCF_WIDTH;
    return GetColumn(column, &info) ? 1 : 0;
}

int MyListCtrl::GetFocusedItem() const
{
    return GetNextItem(-1, LVNI_FOCUSED);
}

int MyListCtrl::FocusItem(int row)
{
    return SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
}

int MyListCtrl::IsFocused(int row) const
{
    return GetItemState(row, LVIS_FOCUSED) ? 1 : 0;
}

int MyListCtrl::GetSelectedItem(int after) const
{
    return GetNextItem(after, LVNI_SELECTED);
}

int MyListCtrl::SelectItem(int row, int select)
{
    return SetItemState(row, select ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int MyListCtrl::IsSelected(int row) const
{
    return GetItemState(row, LVIS_SELECTED) ? 1 : 0;
}

int MyListCtrl::SelectAll(int select)
{
    CWaitCursor wait;
    const UINT which = select ? LVNI_ALL : LVNI_SELECTED;
    for (int row = GetNextItem(-1, which); row != -1; row = GetNextItem(row, which))
        SelectItem(row, select);
    return 1;
}

int MyListCtrl::IsItemVisible(int row) const
{
    const int top = GetTopIndex();
    return top <= row && row <= top + GetCountPerPage() ? 1 : 0;
}

// ---- search and text

int MyListCtrl::Find(const CString& text, int start) const
{
    const LVFINDINFO info{LVFI_STRING, text, 0};
    return FindItem(&info, start);
}

int MyListCtrl::FindExactMatch(const CStringList& texts, int start) const
{
    // Rows before the first don't exist: a negative start would "match" as a row of its own.
    for (int row = std::max(0, start); row < GetItemCount(); ++row) {
        POSITION position = texts.GetHeadPosition();
        bool matches = true;
        for (int column = 0; matches && position && IsColumn(column); ++column)
            matches = GetItemTextWorks(row, column).Compare(texts.GetNext(position)) == 0;
        if (matches)
            return row;
    }
    return -1;
}

CString MyListCtrl::GetItemTextWorks(int row, int column) const
{
    if (row == -1)
        return CString();
    char first[kFirstTextCapacity];
    std::vector<char> larger;
    for (int capacity = kFirstTextCapacity;; capacity *= 2) {
        char* buffer = first;
        if (capacity > kFirstTextCapacity) {
            larger.assign(std::size_t(capacity), '\0');
            buffer = larger.data();
        }
        buffer[0] = '\0';
        LVITEM item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = capacity;
        GetItem(&item);
        if (item.pszText != buffer)
            return CString(item.pszText);
        const int length = int(strnlen(buffer, std::size_t(capacity)));
        if (capacity > kLastTextCapacity || length < capacity - 1)
            return CString(buffer, length);
    }
}

// ---- bookmarks

bool MyListCtrl::IsBookmark(int row) const
{
    for (int index = 0; index < m_bookmarks.GetSize(); ++index) {
        if (int(m_bookmarks[index]) == row)
            return true;
    }
    return false;
}

void MyListCtrl::SetBookmark(int row, bool on)
{
    int index = 0;
    while (index < m_bookmarks.GetSize() && int(m_bookmarks[index]) < row)
        ++index;
    const bool present = index < m_bookmarks.GetSize() && int(m_bookmarks[index]) == row;
    if (on && !present)
        m_bookmarks.InsertAt(index, DWORD(row));
    else if (!on && present)
        m_bookmarks.RemoveAt(index);
}

void MyListCtrl::NextBookmark()
{
    if (m_bookmarks.IsEmpty())
        return;
    const int focused = GetFocusedItem();
    int target = int(m_bookmarks[0]);
    for (int index = 0; index < m_bookmarks.GetSize(); ++index) {
        if (int(m_bookmarks[index]) > focused) {
            target = int(m_bookmarks[index]);
            break;
        }
    }
    FocusBookmark(target);
}

void MyListCtrl::PrevBookmark()
{
    if (m_bookmarks.IsEmpty())
        return;
    const int focused = GetFocusedItem();
    int target = int(m_bookmarks[m_bookmarks.GetUpperBound()]);
    for (int index = m_bookmarks.GetUpperBound(); index >= 0; --index) {
        if (int(m_bookmarks[index]) < focused) {
            target = int(m_bookmarks[index]);
            break;
        }
    }
    FocusBookmark(target);
}

void MyListCtrl::FocusBookmark(int row)
{
    FocusItem(row);
    EnsureVisible(row, FALSE);
}

// ---- settings

void MyListCtrl::SetModeGridLine(int horz, int vert)
{
    m_gridLineHorz = horz;
    m_gridLineVert = vert;
}

// ---- messages

BOOL MyListCtrl::OnChildNotify(NMHDR* header, LRESULT* result)
{
    if (!header)
        return FALSE;
    switch (header->code) {
    case NM_CLICK:
        OnClick(header, result);
        return TRUE;
    case LVN_COLUMNCLICK:
        OnColumnclick(header, result);
        return TRUE;
    default:
        return CListCtrl::OnChildNotify(header, result);
    }
}

void MyListCtrl::OnClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        return;
    ScreenToClient(&cursor);
    if (!m_modeAnyColumn)
        return;
    UINT flags = 0;
    HitTest(CPoint(cursor.x, cursor.y), &flags);
    if (flags & LVHT_ONITEM)
        return;
    const int row = HitTest(CPoint(2, cursor.y), &flags);
    if (row >= 0 && (flags & LVHT_ONITEM))
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

BOOL MyListCtrl::OnNotify(WPARAM id, LPARAM header, LRESULT* result)
{
    auto* notification = reinterpret_cast<NMHDR*>(header);
    if (!notification)
        return FALSE;
    const UINT code = notification->code;
    if (notification->idFrom == 0 && (code == HDN_ENDTRACKA || code == HDN_ENDTRACKW))
        HandleAutoSizeColumn();
    if (code == TTN_NEEDTEXTA || code == TTN_NEEDTEXTW)
        return OnNeedtext(UINT(id), notification, result);
    return CListCtrl::OnNotify(id, header, result);
}

void MyListCtrl::OnDestroy()
{
    CListCtrl::OnDestroy();
    SaveColumnsWidthsToRegistry();
}
