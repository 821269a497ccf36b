// Rows, their states and notifications; finding and sorting. Drawing and geometry are in
// CListCtrlWidgetView.cpp, keys and mouse in CListCtrlWidgetInput.cpp.
#include "platform/windows/CListCtrlWidget.h"

#include "platform/windows/CHeaderCtrl.h"
#include "platform/windows/CHeaderCtrlWidget.h"
#include "platform/windows/CListCtrl.h"
#include "platform/windows/DialogTemplateBuilder.h"

#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <cstring>
#include <numeric>

namespace
{
// Largest text read for a caller who wants it whole.
constexpr int kMaxTextSize = 1 << 20;

void CopyCut(const CString& text, LPSTR buffer, int size)
{
    const int length = std::min(text.GetLength(), size - 1);
    std::memcpy(buffer, (const char*)text, std::size_t(length));
    buffer[length] = '\0';
}
} // namespace

CListCtrlWidget::CListCtrlWidget(DWORD style, QWidget* parent)
    : QAbstractScrollArea(parent), m_style(style), m_header(new CHeaderCtrlWidget(this))
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(kTextMargin * 2);
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        ScheduleRange();
        viewport()->update();
    });
    connect(m_header, &QHeaderView::sectionCountChanged, this, [this] {
        ScheduleRange();
        viewport()->update();
    });
    connect(m_header, &QHeaderView::sectionClicked, this, [this](int column) {
        NMLISTVIEW click{};
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        Notify(click.hdr);
    });
    connect(m_header, &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int column) { FitColumn(column, false); });
    connect(m_header, &CHeaderCtrlWidget::TrackEnded, this, [this](int column) {
        CListCtrl* list = Attached();
        if (!list)
            return;
        NMHEADER track{};
        track.hdr = NMHDR{m_header, 0, HDN_ENDTRACK};
        track.iItem = column;
        LRESULT result = 0;
        list->OnNotify(0, LPARAM(&track.hdr), &result);
    });
    InvalidateRowHeight();
    Layout();
}

QWidget* CListCtrlWidget::CreateControl(const DialogItem& item, const QRect& rect, QWidget* parent)
{
    auto* list = new CListCtrlWidget(item.style, parent);
    list->setGeometry(rect);
    list->setFocusPolicy(item.style & WS_TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
    if (!(item.style & WS_BORDER))
        list->setFrameShape(QFrame::NoFrame);
    return list;
}

void CListCtrlWidget::SetExtendedStyle(DWORD style)
{
    m_exStyle = style;
    viewport()->update();
}

void CListCtrlWidget::SetSmallImages(CImageList* images)
{
    m_smallImages = images;
    InvalidateRowHeight();
}

CListCtrl* CListCtrlWidget::Attached() const
{
    return dynamic_cast<CListCtrl*>(CWnd::FromHandlePermanent(this));
}

bool CListCtrlWidget::Notify(NMHDR& header) const
{
    header.hwndFrom = const_cast<CListCtrlWidget*>(this);
    header.idFrom = WPARAM(DialogTemplateBuilder::ControlId(this));
    const QPointer<const CListCtrlWidget> alive(this);
    LRESULT result = 0;
    if (CListCtrl* list = Attached(); list && list->OnChildNotify(&header, &result))
        return alive;
    if (CWnd* owner = alive ? CWnd::FromHandlePermanent(parentWidget()) : nullptr)
        owner->OnNotify(header.idFrom, LPARAM(&header), &result);
    return alive;
}

// ---- rows

int CListCtrlWidget::InsertRow(int index, LPARAM data, int image)
{
    index = std::clamp(index, 0, Count());
    m_byDataValid = false;
    Row row;
    row.data = data;
    row.image = image;
    m_rows.insert(m_rows.begin() + index, std::move(row));
    if (m_focus >= index)
        ++m_focus;
    ScheduleRange();
    if (isVisible() && index <= PendingTop() + CountPerPage())
        UpdateArea(viewport()->rect());
    return index;
}

bool CListCtrlWidget::DeleteRow(int row)
{
    if (!IsRow(row))
        return false;
    m_byDataValid = false;
    m_selectedCount -= int(m_rows[std::size_t(row)].selected != 0);
    m_rows.erase(m_rows.begin() + row);
    if (m_focus == row)
        m_focus = -1;
    else if (m_focus > row)
        --m_focus;
    ScheduleRange();
    viewport()->update();
    return true;
}

void CListCtrlWidget::DeleteAllRows()
{
    m_rows.clear();
    m_byDataValid = false;
    m_focus = -1;
    m_selectedCount = 0;
    ScheduleRange();
    viewport()->update();
}

void CListCtrlWidget::SetData(int row, LPARAM data)
{
    m_rows[std::size_t(row)].data = data;
    m_byDataValid = false;
}

void CListCtrlWidget::SetImage(int row, int image)
{
    m_rows[std::size_t(row)].image = image;
    RedrawRows(row, row);
}

void CListCtrlWidget::SetText(int row, int column, LPCSTR text)
{
    Row& target = m_rows[std::size_t(row)];
    if (text == LPSTR_TEXTCALLBACK && column == 0 && target.cells.empty()) {
        target.callback = true;
    } else {
        if (std::size_t(column) >= target.cells.size())
            target.cells.resize(std::size_t(column) + 1);
        Cell& cell = target.cells[std::size_t(column)];
        cell.kind = text == LPSTR_TEXTCALLBACK ? Cell::Callback : Cell::Text;
        cell.text = cell.kind == Cell::Text ? CString(text) : CString();
    }
    RedrawRows(row, row);
}

LPCSTR CListCtrlWidget::ReadText(int row, int column, LPSTR buffer, int size) const
{
    if (!buffer || size <= 0)
        return buffer;
    buffer[0] = '\0';
    if (!IsRow(row) || column < 0)
        return buffer;
    const Row& source = m_rows[std::size_t(row)];
    const Cell* cell =
        std::size_t(column) < source.cells.size() ? &source.cells[std::size_t(column)] : nullptr;
    const bool callback =
        cell && cell->kind != Cell::Unset ? cell->kind == Cell::Callback : source.callback;
    if (!callback) {
        if (cell)
            CopyCut(cell->text, buffer, size);
        return buffer;
    }
    NMLVDISPINFO request{};
    request.hdr.code = LVN_GETDISPINFO;
    request.item.mask = LVIF_TEXT;
    request.item.iItem = row;
    request.item.iSubItem = column;
    request.item.pszText = buffer;
    request.item.cchTextMax = size;
    request.item.lParam = source.data;
    Notify(request.hdr);
    return request.item.pszText && request.item.pszText != LPSTR_TEXTCALLBACK ? request.item.pszText
                                                                              : buffer;
}

CString CListCtrlWidget::Text(int row, int column) const
{
    // Read into growing buffers until the text comes back shorter than the room it had.
    std::vector<char> buffer;
    for (int size = 256; size <= kMaxTextSize; size *= 2) {
        buffer.assign(std::size_t(size), '\0');
        const LPCSTR text = ReadText(row, column, buffer.data(), size);
        if (text != buffer.data())
            return CString(text);
        const int length = int(strnlen(text, std::size_t(size)));
        if (length < size - 1 || size == kMaxTextSize)
            return CString(text, std::min(length, size - 1));
    }
    return CString();
}

// ---- states

UINT CListCtrlWidget::State(int row) const
{
    if (!IsRow(row))
        return 0;
    return m_rows[std::size_t(row)].selected | (row == m_focus ? LVIS_FOCUSED : 0);
}

void CListCtrlWidget::SetState(int row, UINT state, UINT mask)
{
    if (row != -1 && !IsRow(row))
        return;
    StateNotes notes;
    for (int each = row == -1 ? 0 : row; each <= (row == -1 ? Count() - 1 : row); ++each)
        ApplyState(each, state, mask, notes);
    SendStateNotes(notes);
}

// Changes the rows only; the notifications wait until every change is made, so that a handler
// that deletes rows or the list cannot pull the rows from under an update.
void CListCtrlWidget::ApplyState(int row, UINT state, UINT mask, StateNotes& notes)
{
    const UINT old = State(row);
    const UINT wanted = (old & ~mask) | (state & mask);
    if ((wanted & LVIS_SELECTED) && (m_style & LVS_SINGLESEL) &&
        m_selectedCount > int((old & LVIS_SELECTED) != 0)) {
        // Moving a single selection along a long list must not walk it every time.
        const int hint = m_lastSelected;
        if (hint != row && IsRow(hint) && m_rows[std::size_t(hint)].selected)
            ApplyState(hint, 0, LVIS_SELECTED, notes);
        for (int other = 0; other < Count() && m_selectedCount > 0; ++other) {
            if (other != row && m_rows[std::size_t(other)].selected)
                ApplyState(other, 0, LVIS_SELECTED, notes);
        }
    }
    Row& target = m_rows[std::size_t(row)];
    const UINT selected = wanted & LVIS_SELECTED;
    if (selected != target.selected) {
        m_selectedCount += selected ? 1 : -1;
        target.selected = selected;
        if (selected)
            m_lastSelected = row;
    }
    if ((wanted & LVIS_FOCUSED) && m_focus != row) {
        const int previous = std::exchange(m_focus, row);
        if (IsRow(previous)) {
            RedrawRows(previous, previous);
            notes.push_back(
                {previous, State(previous) | LVIS_FOCUSED, State(previous), Data(previous)});
        }
    } else if (!(wanted & LVIS_FOCUSED) && m_focus == row) {
        m_focus = -1;
    }
    const UINT now = State(row);
    if (now != old) {
        RedrawRows(row, row);
        notes.push_back({row, old, now, Data(row)});
    }
}

void CListCtrlWidget::ApplyClearSelection(StateNotes& notes)
{
    for (int row = 0; row < Count() && m_selectedCount > 0; ++row) {
        if (m_rows[std::size_t(row)].selected)
            ApplyState(row, 0, LVIS_SELECTED, notes);
    }
}

bool CListCtrlWidget::SendStateNotes(const StateNotes& notes) const
{
    for (const StateNote& note : notes) {
        // An earlier handler deleted or moved this row: its news is stale.
        if (!IsRow(note.row) || Data(note.row) != note.data)
            continue;
        NMLISTVIEW change{};
        change.hdr.code = LVN_ITEMCHANGED;
        change.iItem = note.row;
        change.uOldState = note.oldState;
        change.uNewState = note.newState;
        change.uChanged = LVIF_STATE;
        change.lParam = note.data;
        if (!Notify(change.hdr))
            return false;
    }
    return true;
}

bool CListCtrlWidget::SelectOnly(int row)
{
    StateNotes notes;
    ApplyClearSelection(notes);
    if (IsRow(row))
        ApplyState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED, notes);
    return SendStateNotes(notes);
}

bool CListCtrlWidget::ClearSelection()
{
    StateNotes notes;
    ApplyClearSelection(notes);
    return SendStateNotes(notes);
}

int CListCtrlWidget::NextItem(int start, UINT flags) const
{
    const bool wantSelected = flags & LVNI_SELECTED;
    if (flags & LVNI_FOCUSED) {
        const bool matches = m_focus > start && (!wantSelected || State(m_focus) & LVIS_SELECTED);
        return matches ? m_focus : -1;
    }
    if (wantSelected && m_selectedCount == 0)
        return -1;
    for (int row = std::max(0, start + 1); row < Count(); ++row) {
        if (!wantSelected || m_rows[std::size_t(row)].selected)
            return row;
    }
    return -1;
}

// ---- finding and sorting

void CListCtrlWidget::RebuildDataIndex() const
{
    m_byData.clear();
    m_byData.reserve(m_rows.size());
    for (int row = 0; row < Count(); ++row)
        m_byData.try_emplace(Data(row), row);
    m_byDataValid = true;
}

int CListCtrlWidget::FindByData(int start, LPARAM data) const
{
    if (!m_byDataValid)
        RebuildDataIndex();
    const auto found = m_byData.find(data);
    if (found == m_byData.end())
        return -1;
    if (found->second > start)
        return found->second;
    // Rows sharing a data value: only the first is indexed.
    for (int row = std::max(0, start + 1); row < Count(); ++row) {
        if (Data(row) == data)
            return row;
    }
    return -1;
}

void CListCtrlWidget::Sort(PFNLVCOMPARE compare, LPARAM user, bool byIndex)
{
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return (byIndex ? compare(a, b, user) : compare(Data(a), Data(b), user)) < 0;
    });
    if (std::size_t(Count()) != order.size())
        return; // the comparison changed the rows under the sort
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    int focus = -1;
    for (int from : order) {
        if (from == m_focus)
            focus = int(sorted.size());
        sorted.push_back(std::move(m_rows[std::size_t(from)]));
    }
    m_rows = std::move(sorted);
    m_focus = focus;
    m_byDataValid = false;
    viewport()->update();
}
