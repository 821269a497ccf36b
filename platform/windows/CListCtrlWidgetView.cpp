// Geometry and drawing of the list.
#include "platform/windows/CListCtrlWidget.h"

#include "platform/gdi/CImageList.h"
#include "platform/gdi/DrawItemStruct.h"
#include "platform/windows/CHeaderCtrlWidget.h"
#include "platform/windows/CListCtrl.h"
#include "platform/windows/DialogTemplateBuilder.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace
{
// Buffer for a cell's text while drawing; longer texts are cut (and elided anyway).
constexpr int kDrawTextSize = 1024;

Qt::Alignment AlignmentOf(int format)
{
    if (format & LVCFMT_RIGHT)
        return Qt::AlignRight;
    if (format & LVCFMT_CENTER)
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}
} // namespace

// ---- geometry

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

int CListCtrlWidget::PendingTop() const
{
    return m_pendingTop >= 0 ? m_pendingTop : verticalScrollBar()->value();
}

// While the scroll range waits for a run of changes to end, the position waits with it: moving
// the scroll bar needs the range, and bringing the range up to date for each row a Multi Load
// adds and scrolls to cost more than the rest of the load. The range then takes the position
// as the scroll bar would have kept it.
void CListCtrlWidget::EnsureVisible(int row, bool partialOK)
{
    if (!IsRow(row))
        return;
    const int top = PendingTop();
    const int perPage = std::max(1, CountPerPage());
    int wanted = top;
    if (row < top) {
        wanted = row;
    } else if (row >= top + perPage) {
        const bool partlyShown = row == top + perPage && viewport()->height() % RowHeight() != 0;
        if (!(partialOK && partlyShown))
            wanted = row - perPage + 1;
    }
    if (wanted == top)
        return;
    if (m_rangeDirty)
        m_pendingTop = wanted;
    else
        verticalScrollBar()->setValue(wanted);
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
    if (m_pendingTop >= 0)
        verticalScrollBar()->setValue(std::exchange(m_pendingTop, -1));
    if (std::exchange(m_repaintPage, false))
        viewport()->update();
}

// While the scroll range waits for a run of changes to end, repaints wait with it: the page is
// repainted once, when the range is brought up to date (which comes before any painting), at
// less cost than working out and merging the area of each row as it changes.
void CListCtrlWidget::UpdateArea(const QRect& area) const
{
    if (m_rangeDirty)
        m_repaintPage = true;
    else
        viewport()->update(area);
}

// Rows off the page need nothing. The scroll position is read as it stands: bringing the range
// up to date for every row of a run of inserts cost more than the inserts, and a position that
// the range then moves repaints the whole page anyway.
void CListCtrlWidget::RedrawRows(int first, int last)
{
    const int top = PendingTop();
    first = std::max(first, top);
    last = std::min(last, top + CountPerPage());
    if (!isVisible() || last < first)
        return;
    const int height = RowHeight();
    UpdateArea(QRect(0, (first - top) * height, viewport()->width(), (last - first + 1) * height));
}

void CListCtrlWidget::SetRedraw(bool redraw)
{
    viewport()->setUpdatesEnabled(redraw);
}

// The whole window, as the desktop's lock: a scroll bar moved while locked does not repaint
// either.
void CListCtrlWidget::SetLocked(bool locked)
{
    setUpdatesEnabled(!locked);
}

void CListCtrlWidget::InvalidateRowHeight()
{
    int height = fontMetrics().height() + 6;
    if (m_smallImages)
        height = std::max(height, int(m_smallImages->GetImageSize().cy) + 2);
    if (CListCtrl* owner = m_style & LVS_OWNERDRAWFIXED ? Attached() : nullptr) {
        MEASUREITEMSTRUCT measure{
            ODT_LISTVIEW, UINT(DialogTemplateBuilder::ControlId(this)), 0, 0, UINT(height), 0};
        owner->MeasureItem(&measure);
        height = std::max(1, int(measure.itemHeight));
    }
    m_rowHeight = height;
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
