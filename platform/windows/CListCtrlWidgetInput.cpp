// Keys, mouse, focus and tooltips of the list.
#include "platform/windows/CListCtrlWidget.h"

#include "platform/windows/CHeaderCtrlWidget.h"
#include "platform/windows/CListCtrl.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

namespace
{
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
    if (SelectOnly(target))
        EnsureVisible(target, false);
    event->accept();
}

bool CListCtrlWidget::NotifyActivate(UINT code, const QPoint& viewportPoint) const
{
    const QPoint point = ClientFromViewport(viewportPoint);
    LVHITTESTINFO hit{{point.x(), point.y()}, 0, -1, -1};
    NMITEMACTIVATE activate{};
    activate.hdr.code = code;
    activate.iItem = HitTest(hit, false);
    HitTest(hit, true);
    activate.iSubItem = hit.iSubItem;
    activate.ptAction = POINT{point.x(), point.y()};
    return Notify(activate.hdr);
}

bool CListCtrlWidget::Press(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return true;
    m_pressed = event->button() == Qt::LeftButton;
    const QPoint point = ClientFromViewport(event->position().toPoint());
    LVHITTESTINFO hit{{point.x(), point.y()}, 0, -1, -1};
    const int row = HitTest(hit, false);
    return row >= 0 ? SelectOnly(row) : ClearSelection();
}

void CListCtrlWidget::mousePressEvent(QMouseEvent* event)
{
    Press(event);
}

void CListCtrlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (std::exchange(m_pressed, false) && !NotifyActivate(NM_CLICK, event->position().toPoint()))
        return;
    if (CListCtrl* list = Attached()) {
        const QPoint point = ClientFromViewport(event->position().toPoint());
        list->OnLButtonUp(MouseFlags(event), CPoint(point.x(), point.y()));
    }
}

void CListCtrlWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !Press(event))
        return;
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
