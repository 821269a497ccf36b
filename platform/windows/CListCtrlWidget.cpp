#include "platform/windows/CListCtrlWidget.h"

#include "platform/gdi/CImageList.h"
#include "platform/gdi/DrawItemStruct.h"
#include "platform/windows/CHeaderCtrl.h"
#include "platform/windows/CHeaderCtrlWidget.h"
#include "platform/windows/CListCtrl.h"
#include "platform/windows/DialogTemplateBuilder.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <cstring>
#include <numeric>

namespace
{
// Space between a cell's edges and its text.
constexpr int kTextMargin = 6;
// Buffer for a cell's text while drawing; longer texts are cut (and elided anyway).
constexpr int kDrawTextSize = 1024;
// Largest text read for a caller who wants it whole.
constexpr int kMaxTextSize = 1 << 20;

void CopyCut(const CString& text, LPSTR buffer, int size)
{
    const int length = std::min(text.GetLength(), size - 1);
    std::memcpy(buffer, (const char*)text, std::size_t(length));
    buffer[length] = '\0';
}

Qt::Alignment AlignmentOf(int format)
{
    if (format & LVCFMT_RIGHT)
        return Qt::AlignRight;
    if (format & LVCFMT_CENTER)
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

UINT MouseFlags(const QMouseEvent* event)
{
    UINT flags = 0;
    if (event->buttons() & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (event->buttons() & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
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

LRESULT CListCtrlWidget::Notify(NMHDR& header) const
{
    header.hwndFrom = const_cast<CListCtrlWidget*>(this);
    header.idFrom = WPARAM(DialogTemplateBuilder::ControlId(this));
    LRESULT result = 0;
    if (CListCtrl* list = Attached(); list && list->OnChildNotify(&header, &result))
        return result;
    if (CWnd* owner = CWnd::FromHandlePermanent(parentWidget()))
        owner->OnNotify(header.idFrom, LPARAM(&header), &result);
    return result;
}

// ---- rows

int CListCtrlWidget::InsertRow(int index, LPARAM data, int image)
{
    index = std::clamp(index, 0, Count());
    if (index < Count())
        m_byDataValid = false;
    else if (m_byDataValid)
        m_byData.try_emplace(data, index);
    Row row;
    row.data = data;
    row.image = image;
    m_rows.insert(m_rows.begin() + index, std::move(row));
    if (m_focus >= index)
        ++m_focus;
    ScheduleRange();
    if (isVisible() && index <= TopIndex() + CountPerPage())
        viewport()->update();
    return index;
}

bool CListCtrlWidget::DeleteRow(int row)
{
    if (!IsRow(row))
        return false;
    if (row != Count() - 1)
        m_byDataValid = false;
    else if (m_byDataValid && m_byData[Data(row)] == row)
        m_byData.erase(Data(row));
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
    m_byData.clear();
    m_byDataValid = true;
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
    if (row != -1) {
        if (IsRow(row))
            ChangeState(row, state, mask);
        return;
    }
    QPointer<CListCtrlWidget> alive(this);
    for (int each = 0; alive && each < Count(); ++each)
        ChangeState(each, state, mask);
}

void CListCtrlWidget::ChangeState(int row, UINT state, UINT mask)
{
    const UINT old = State(row);
    const UINT wanted = (old & ~mask) | (state & mask);
    if ((wanted & LVIS_SELECTED) && (m_style & LVS_SINGLESEL) &&
        m_selectedCount > int((old & LVIS_SELECTED) != 0)) {
        for (int other = 0; other < Count() && m_selectedCount > 0; ++other) {
            if (other != row && m_rows[std::size_t(other)].selected)
                ChangeState(other, 0, LVIS_SELECTED);
        }
    }
    if (!IsRow(row))
        return; // a notification handler deleted it
    Row& target = m_rows[std::size_t(row)];
    const UINT selected = wanted & LVIS_SELECTED;
    if (selected != target.selected) {
        m_selectedCount += selected ? 1 : -1;
        target.selected = selected;
    }
    if ((wanted & LVIS_FOCUSED) && m_focus != row) {
        const int previous = std::exchange(m_focus, row);
        if (IsRow(previous)) {
            RedrawRows(previous, previous);
            NotifyStateChange(previous, State(previous) | LVIS_FOCUSED, State(previous));
        }
    } else if (!(wanted & LVIS_FOCUSED) && m_focus == row) {
        m_focus = -1;
    }
    const UINT now = State(row);
    if (now != old) {
        RedrawRows(row, row);
        NotifyStateChange(row, old, now);
    }
}

void CListCtrlWidget::NotifyStateChange(int row, UINT oldState, UINT newState) const
{
    NMLISTVIEW change{};
    change.hdr.code = LVN_ITEMCHANGED;
    change.iItem = row;
    change.uOldState = oldState;
    change.uNewState = newState;
    change.uChanged = LVIF_STATE;
    change.lParam = Data(row);
    Notify(change.hdr);
}

void CListCtrlWidget::SelectOnly(int row)
{
    ClearSelection();
    if (IsRow(row))
        ChangeState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CListCtrlWidget::ClearSelection()
{
    for (int row = 0; row < Count() && m_selectedCount > 0; ++row) {
        if (m_rows[std::size_t(row)].selected)
            ChangeState(row, 0, LVIS_SELECTED);
    }
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

void CListCtrlWidget::Sort(PFNLVCOMPARE compare, LPARAM user)
{
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compare(Data(a), Data(b), user) < 0; });
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

// ---- geometry

int CListCtrlWidget::RowHeight() const
{
    CListCtrl* owner = m_style & LVS_OWNERDRAWFIXED ? Attached() : nullptr;
    if (m_rowHeight > 0 && owner == m_measuredFor)
        return m_rowHeight;
    int height = fontMetrics().height() + 6;
    if (m_smallImages)
        height = std::max(height, int(m_smallImages->GetImageSize().cy) + 2);
    if (owner) {
        MEASUREITEMSTRUCT measure{
            ODT_LISTVIEW, UINT(DialogTemplateBuilder::ControlId(this)), 0, 0, UINT(height), 0};
        owner->MeasureItem(&measure);
        height = std::max(1, int(measure.itemHeight));
    }
    if (height != m_rowHeight)
        ScheduleRange();
    m_rowHeight = height;
    m_measuredFor = owner;
    return height;
}

int CListCtrlWidget::HeaderHeight() const
{
    return m_header->isHidden() ? 0 : m_header->sizeHint().height();
}

int CListCtrlWidget::TopIndex() const
{
    if (m_rangeDirty)
        UpdateRange();
    return verticalScrollBar()->value();
}

int CListCtrlWidget::CountPerPage() const
{
    return viewport()->height() / RowHeight();
}

void CListCtrlWidget::EnsureVisible(int row, bool partialOK)
{
    if (!IsRow(row))
        return;
    const int top = TopIndex();
    const int perPage = std::max(1, CountPerPage());
    if (row < top) {
        verticalScrollBar()->setValue(row);
    } else if (row >= top + perPage) {
        const bool partlyShown = row == top + perPage && viewport()->height() % RowHeight() != 0;
        if (!(partialOK && partlyShown))
            verticalScrollBar()->setValue(row - perPage + 1);
    }
}

QRect CListCtrlWidget::ClientRect() const
{
    return QRect(0, 0, viewport()->width(), viewport()->height() + HeaderHeight());
}

QRect CListCtrlWidget::RowRect(int row) const
{
    const int height = RowHeight();
    return QRect(-horizontalScrollBar()->value(), HeaderHeight() + (row - TopIndex()) * height,
                 m_header->TotalWidth(), height);
}

QRect CListCtrlWidget::CellRect(int row, int column) const
{
    const QRect bounds = RowRect(row);
    return QRect(bounds.left() + m_header->sectionPosition(column), bounds.top(),
                 m_header->Width(column), bounds.height());
}

int CListCtrlWidget::HitTest(LVHITTESTINFO& info, bool subItems) const
{
    info.iItem = -1;
    info.iSubItem = -1;
    const QPoint point(info.pt.x, info.pt.y);
    const QRect client = ClientRect();
    if (!client.contains(point)) {
        info.flags =
            (point.y() < 0 ? LVHT_ABOVE : 0) | (point.y() >= client.height() ? LVHT_BELOW : 0) |
            (point.x() < 0 ? LVHT_TOLEFT : 0) | (point.x() >= client.width() ? LVHT_TORIGHT : 0);
        return -1;
    }
    info.flags = LVHT_NOWHERE;
    const int header = HeaderHeight();
    const int row = point.y() < header ? -1 : TopIndex() + (point.y() - header) / RowHeight();
    const int column = m_header->logicalIndexAt(point.x());
    if (!IsRow(row) || column < 0)
        return -1;
    const bool fullRow = (m_exStyle & LVS_EX_FULLROWSELECT) || (m_style & LVS_OWNERDRAWFIXED);
    if (!subItems && column != 0 && !fullRow)
        return -1;
    const int intoRow = point.x() + horizontalScrollBar()->value();
    const bool onIcon =
        column == 0 && m_smallImages && intoRow < kTextMargin + m_smallImages->GetImageSize().cx;
    info.flags = onIcon ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
    info.iItem = row;
    if (subItems)
        info.iSubItem = column;
    return row;
}

QPoint CListCtrlWidget::ClientFromViewport(const QPoint& point) const
{
    return point + QPoint(0, HeaderHeight());
}

QPoint CListCtrlWidget::ClientFromGlobal(const QPoint& global) const
{
    return ClientFromViewport(viewport()->mapFromGlobal(global));
}

void CListCtrlWidget::Layout()
{
    const int header = HeaderHeight();
    setViewportMargins(0, header, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - header, area.width(), header);
    UpdateRange();
}

void CListCtrlWidget::ScheduleRange() const
{
    m_rangeDirty = true;
    if (m_rangePosted)
        return;
    m_rangePosted = true;
    QMetaObject::invokeMethod(
        const_cast<CListCtrlWidget*>(this),
        [this] {
            m_rangePosted = false;
            if (m_rangeDirty)
                UpdateRange();
        },
        Qt::QueuedConnection);
}

void CListCtrlWidget::UpdateRange() const
{
    m_rangeDirty = false;
    const int perPage = CountPerPage();
    verticalScrollBar()->setPageStep(std::max(1, perPage));
    verticalScrollBar()->setRange(0, std::max(0, Count() - perPage));
    const int width = viewport()->width();
    horizontalScrollBar()->setPageStep(std::max(1, width));
    horizontalScrollBar()->setRange(0, std::max(0, m_header->TotalWidth() - width));
}

void CListCtrlWidget::RedrawRows(int first, int last)
{
    if (!isVisible() || last < first)
        return;
    const int header = HeaderHeight();
    const QRect top = RowRect(first);
    viewport()->update(0, top.top() - header, viewport()->width(),
                       (last - first + 1) * top.height());
}

void CListCtrlWidget::SetRedraw(bool redraw)
{
    m_redrawOff = !redraw;
    viewport()->setUpdatesEnabled(!m_redrawOff && !m_locked);
}

void CListCtrlWidget::SetLocked(bool locked)
{
    m_locked = locked;
    viewport()->setUpdatesEnabled(!m_redrawOff && !m_locked);
}

void CListCtrlWidget::InvalidateRowHeight()
{
    m_rowHeight = 0;
    ScheduleRange();
    viewport()->update();
}

void CListCtrlWidget::FitColumn(int column, bool withTitle)
{
    if (column < 0 || column >= m_header->Count())
        return;
    const QFontMetrics metrics = fontMetrics();
    int width = 0;
    for (int row = 0; row < Count(); ++row)
        width = std::max(
            width, metrics.horizontalAdvance(QString::fromUtf8((const char*)Text(row, column))));
    if (column == 0 && m_smallImages)
        width += m_smallImages->GetImageSize().cx + 2;
    if (withTitle) {
        const QString title = QString::fromUtf8((const char*)m_header->Title(column));
        width = std::max(width, m_header->fontMetrics().horizontalAdvance(title) + kTextMargin);
    }
    m_header->SetWidth(column, width + 2 * kTextMargin);
}

// ---- drawing

UINT CListCtrlWidget::DrawState(int row) const
{
    UINT state = 0;
    if (m_rows[std::size_t(row)].selected && (hasFocus() || m_style & LVS_SHOWSELALWAYS))
        state |= ODS_SELECTED;
    if (row == m_focus && hasFocus())
        state |= ODS_FOCUS;
    return state;
}

void CListCtrlWidget::paintEvent(QPaintEvent* event)
{
    if (m_rangeDirty)
        UpdateRange();
    QPainter painter(viewport());
    const int header = HeaderHeight();
    const int height = RowHeight();
    // Rows are drawn in client coordinates, which start at the header's top.
    painter.translate(0, -header);
    const QRect dirty = event->rect();
    const int top = TopIndex();
    const int first = top + std::max(0, dirty.top() / height);
    const int last = std::min(Count() - 1, top + dirty.bottom() / height);
    CListCtrl* owner = m_style & LVS_OWNERDRAWFIXED ? Attached() : nullptr;
    for (int row = first; row <= last && row < Count(); ++row)
        DrawRow(painter, row, owner);
    if (m_exStyle & LVS_EX_GRIDLINES)
        DrawGridLines(painter, first, last);
}

void CListCtrlWidget::DrawRow(QPainter& painter, int row, CListCtrl* owner) const
{
    const QRect rect = RowRect(row);
    if (!owner) {
        DrawRowDefault(painter, row, rect, DrawState(row));
        return;
    }
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTVIEW;
    item.CtlID = UINT(DialogTemplateBuilder::ControlId(this));
    item.itemID = UINT(row);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = DrawState(row);
    item.hwndItem = const_cast<CListCtrlWidget*>(this);
    CDC dc(&painter);
    item.hDC = dc.GetSafeHdc();
    item.rcItem = CRect(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
    item.itemData = std::uintptr_t(Data(row));
    painter.save();
    owner->DrawItem(&item);
    painter.restore();
}

void CListCtrlWidget::DrawRowDefault(QPainter& painter, int row, const QRect& rect,
                                     UINT odsState) const
{
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const bool selected = odsState & ODS_SELECTED;
    if (selected)
        painter.fillRect(rect, palette().color(group, QPalette::Highlight));
    const QColor textColour =
        palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    painter.setPen(textColour);
    const QFontMetrics metrics = fontMetrics();
    char buffer[kDrawTextSize];
    int left = rect.left();
    for (int column = 0; column < m_header->Count() && left < viewport()->width(); ++column) {
        const int width = m_header->Width(column);
        QRect text(left + kTextMargin, rect.top(), width - 2 * kTextMargin, rect.height());
        left += width;
        if (text.right() < 0 || width <= 0)
            continue;
        if (column == 0 && m_smallImages) {
            const QSize size(m_smallImages->GetImageSize().cx, m_smallImages->GetImageSize().cy);
            const QRect icon(QPoint(text.left(), text.top() + (text.height() - size.height()) / 2),
                             size);
            m_smallImages->ExtractIcon(Image(row)).paint(&painter, icon);
            text.setLeft(icon.right() + 3);
        }
        LPCSTR read = ReadText(row, column, buffer, kDrawTextSize);
        buffer[kDrawTextSize - 1] = '\0';
        const QString shown =
            metrics.elidedText(QString::fromUtf8(read), Qt::ElideRight, text.width());
        painter.drawText(
            text, AlignmentOf(m_header->Format(column)) | Qt::AlignVCenter | Qt::TextSingleLine,
            shown);
    }
    if (odsState & ODS_FOCUS) {
        painter.setPen(QPen(textColour, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void CListCtrlWidget::DrawGridLines(QPainter& painter, int first, int last) const
{
    painter.setPen(palette().color(QPalette::Midlight));
    const QRect client = ClientRect();
    for (int row = first; row <= last; ++row) {
        const int bottom = RowRect(row).bottom();
        painter.drawLine(client.left(), bottom, client.right(), bottom);
    }
    int right = -horizontalScrollBar()->value();
    for (int column = 0; column < m_header->Count(); ++column) {
        right += m_header->Width(column);
        painter.drawLine(right - 1, HeaderHeight(), right - 1, client.bottom());
    }
}

// ---- events

void CListCtrlWidget::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Layout();
}

void CListCtrlWidget::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        InvalidateRowHeight();
        Layout();
    }
}

bool CListCtrlWidget::viewportEvent(QEvent* event)
{
    // The vertical scroll bar comes and goes with the rows; the header follows the viewport.
    if (event->type() == QEvent::Resize)
        Layout();
    if (event->type() == QEvent::ToolTip && m_toolTips) {
        ShowToolTip(*static_cast<QHelpEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CListCtrlWidget::ShowToolTip(const QHelpEvent& event)
{
    CListCtrl* list = Attached();
    const QPoint point = ClientFromViewport(event.pos());
    TOOLINFO tool{};
    tool.cbSize = sizeof tool;
    const INT_PTR id = list ? list->OnToolHitTest(CPoint(point.x(), point.y()), &tool) : -1;
    if (id == -1) {
        QToolTip::hideText();
        return;
    }
    CString text = tool.lpszText && tool.lpszText != LPSTR_TEXTCALLBACK ? tool.lpszText : "";
    if (tool.lpszText == LPSTR_TEXTCALLBACK) {
        NMTTDISPINFOA request{};
        request.hdr = NMHDR{this, tool.uId, TTN_NEEDTEXTA};
        request.lpszText = request.szText;
        LRESULT result = 0;
        QPointer<CListCtrlWidget> alive(this);
        list->OnNotify(tool.uId, LPARAM(&request.hdr), &result);
        if (!alive)
            return;
        text = request.lpszText ? request.lpszText : "";
    }
    const RECT& area = tool.rect;
    const QRect shown(area.left, area.top - HeaderHeight(), area.right - area.left,
                      area.bottom - area.top);
    QToolTip::showText(event.globalPos(), QString::fromUtf8((const char*)text), viewport(), shown);
}

void CListCtrlWidget::scrollContentsBy(int, int)
{
    m_header->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

int CListCtrlWidget::KeyTarget(int key) const
{
    const int last = Count() - 1;
    if (last < 0)
        return -1;
    const int focus = m_focus;
    const int top = TopIndex();
    const int page = std::max(1, CountPerPage());
    switch (key) {
    case Qt::Key_Up:
        return focus < 0 ? 0 : std::max(0, focus - 1);
    case Qt::Key_Down:
        return focus < 0 ? 0 : std::min(last, focus + 1);
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return last;
    case Qt::Key_PageUp:
        return std::max(0, focus > top ? top : focus - page + 1);
    case Qt::Key_PageDown: {
        const int bottom = top + page - 1;
        return std::min(last, focus < bottom ? bottom : focus + page - 1);
    }
    default:
        return -1;
    }
}

void CListCtrlWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        NMHDR header{this, 0, NM_RETURN};
        Notify(header);
        event->accept();
        return;
    }
    const int target = KeyTarget(event->key());
    if (target < 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    SelectOnly(target);
    EnsureVisible(target, false);
    event->accept();
}

void CListCtrlWidget::NotifyActivate(UINT code, const QPoint& viewportPoint) const
{
    const QPoint point = ClientFromViewport(viewportPoint);
    LVHITTESTINFO hit{{point.x(), point.y()}, 0, -1, -1};
    NMITEMACTIVATE activate{};
    activate.hdr.code = code;
    activate.iItem = HitTest(hit, false);
    HitTest(hit, true);
    activate.iSubItem = hit.iSubItem;
    activate.ptAction = POINT{point.x(), point.y()};
    Notify(activate.hdr);
}

void CListCtrlWidget::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    m_pressed = event->button() == Qt::LeftButton;
    const QPoint point = ClientFromViewport(event->position().toPoint());
    LVHITTESTINFO hit{{point.x(), point.y()}, 0, -1, -1};
    const int row = HitTest(hit, false);
    if (row >= 0)
        SelectOnly(row);
    else
        ClearSelection();
}

void CListCtrlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPointer<CListCtrlWidget> alive(this);
    if (std::exchange(m_pressed, false))
        NotifyActivate(NM_CLICK, event->position().toPoint());
    if (!alive)
        return;
    if (CListCtrl* list = Attached()) {
        const QPoint point = ClientFromViewport(event->position().toPoint());
        list->OnLButtonUp(MouseFlags(event), CPoint(point.x(), point.y()));
    }
}

void CListCtrlWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    mousePressEvent(event);
    m_pressed = false;
    NotifyActivate(NM_DBLCLK, event->position().toPoint());
}

void CListCtrlWidget::mouseMoveEvent(QMouseEvent* event)
{
    // A handler that pumps messages (an auto-scroll) reads the pointer itself; moves that
    // arrive meanwhile are dropped rather than nested without bound.
    CListCtrl* list = Attached();
    if (!list || m_inMouseMove)
        return;
    const QPoint point = ClientFromViewport(event->position().toPoint());
    QPointer<CListCtrlWidget> alive(this);
    m_inMouseMove = true;
    list->OnMouseMove(MouseFlags(event), CPoint(point.x(), point.y()));
    if (alive)
        m_inMouseMove = false;
}

void CListCtrlWidget::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CListCtrlWidget::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
