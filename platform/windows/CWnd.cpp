#include "platform/windows/CWnd.h"

#include "platform/windows/CDataExchange.h"
#include "platform/windows/DialogTemplateBuilder.h"
#include "platform/windows/WidgetTable.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace
{
WidgetTable<CWnd*>& Permanent()
{
    static auto* table = new WidgetTable<CWnd*>; // never destroyed: widgets may outlive statics
    return *table;
}

QString TextOf(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    return widget->windowTitle();
}

void SetTextOf(QWidget* widget, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else
        widget->setWindowTitle(text);
}

void SetRectFrom(LPRECT rect, const QRect& from)
{
    *rect = CRect(from.left(), from.top(), from.left() + from.width(), from.top() + from.height());
}

QRect ToQRect(const RECT& rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// Moves rect by the offset that map gives its top left corner.
template <typename Map> void MoveRect(LPRECT rect, Map map)
{
    const QPoint moved = map(QPoint(rect->left, rect->top));
    *rect = CRect(moved.x(), moved.y(), moved.x() + rect->right - rect->left,
                  moved.y() + rect->bottom - rect->top);
}
} // namespace

CWnd::~CWnd()
{
    // The controls' temporaries go before the window they point into.
    m_temporaries.clear();
    if (m_ownsWindow)
        delete m_hWnd.data();
    else
        Detach();
}

CWnd* CWnd::FromHandlePermanent(const QWidget* widget)
{
    return Permanent().Get(widget, nullptr);
}

BOOL CWnd::Attach(HWND widget)
{
    if (!widget || m_hWnd || FromHandlePermanent(widget))
        return FALSE;
    m_hWnd = widget;
    m_ownsWindow = false;
    Permanent().Set(widget, this);
    PreSubclassWindow();
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND widget = m_hWnd.data();
    if (widget && FromHandlePermanent(widget) == this)
        Permanent().Remove(widget);
    m_hWnd.clear();
    m_ownsWindow = false;
    return widget;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    CWnd* item = parent ? parent->GetDlgItem(int(id)) : nullptr;
    return item && Attach(item->GetSafeHwnd());
}

void CWnd::CreateOwned(std::unique_ptr<QWidget> widget)
{
    Q_ASSERT(!m_hWnd && widget && !widget->parent());
    Attach(widget.release());
    m_ownsWindow = true;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    NotifyDestroy();
    m_temporaries.clear();
    const bool owned = m_ownsWindow;
    HWND widget = Detach();
    if (owned)
        delete widget;
    return TRUE;
}

void CWnd::NotifyDestroy()
{
    OnDestroy();
    if (!m_hWnd)
        return;
    for (QWidget* child : m_hWnd->findChildren<QWidget*>()) {
        if (CWnd* wnd = FromHandlePermanent(child))
            wnd->OnDestroy();
    }
}

int CWnd::GetDlgCtrlID() const
{
    return DialogTemplateBuilder::ControlId(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int id) const
{
    if (!m_hWnd)
        return nullptr;
    for (QWidget* child : m_hWnd->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (DialogTemplateBuilder::ControlId(child) != id)
            continue;
        if (CWnd* permanent = FromHandlePermanent(child))
            return permanent;
        std::unique_ptr<CWnd>& temporary = m_temporaries[child];
        if (!temporary || temporary->GetSafeHwnd() != child) {
            temporary = std::make_unique<CWnd>();
            temporary->m_hWnd = child;
        }
        return temporary.get();
    }
    return nullptr;
}

void CWnd::SetWindowText(LPCTSTR text)
{
    if (m_hWnd)
        SetTextOf(m_hWnd, QString::fromUtf8(text ? text : ""));
}

void CWnd::GetWindowText(CString& text) const
{
    text = m_hWnd ? CString(TextOf(m_hWnd).toStdString()) : CString();
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!m_hWnd)
        return FALSE;
    const BOOL wasDisabled = !m_hWnd->isEnabled();
    m_hWnd->setEnabled(enable);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd && m_hWnd->isEnabled();
}

BOOL CWnd::ShowWindow(int cmdShow)
{
    if (!m_hWnd)
        return FALSE;
    const BOOL wasVisible = m_hWnd->isVisible();
    switch (cmdShow) {
    case SW_HIDE:
        m_hWnd->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        m_hWnd->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        m_hWnd->showMaximized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        m_hWnd->showNormal();
        break;
    default:
        m_hWnd->show();
        break;
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd && m_hWnd->isVisible();
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (repaint)
        Invalidate();
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    if (!m_hWnd)
        return FALSE;
    if (!(flags & SWP_NOMOVE))
        m_hWnd->move(x, y); // a top-level window's frame, a child's own position
    if (!(flags & SWP_NOSIZE)) {
        // A top-level window's size includes its frame, whose margins Qt knows once shown.
        const QSize frame = m_hWnd->isWindow()
                                ? m_hWnd->frameGeometry().size() - m_hWnd->geometry().size()
                                : QSize(0, 0);
        m_hWnd->resize(std::max(0, cx - frame.width()), std::max(0, cy - frame.height()));
    }
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter && insertAfter->GetSafeHwnd())
            m_hWnd->stackUnder(insertAfter->GetSafeHwnd());
        else
            m_hWnd->raise();
    }
    if (flags & SWP_SHOWWINDOW)
        m_hWnd->show();
    if (flags & SWP_HIDEWINDOW)
        m_hWnd->hide();
    return TRUE;
}

void CWnd::GetClientRect(LPRECT rect) const
{
    SetRectFrom(rect, m_hWnd ? m_hWnd->rect() : QRect());
}

void CWnd::GetWindowRect(LPRECT rect) const
{
    if (!m_hWnd)
        SetRectFrom(rect, QRect());
    else if (m_hWnd->isWindow())
        SetRectFrom(rect, m_hWnd->frameGeometry());
    else
        SetRectFrom(rect, QRect(m_hWnd->mapToGlobal(QPoint(0, 0)), m_hWnd->size()));
}

void CWnd::ScreenToClient(POINT* point) const
{
    if (!m_hWnd)
        return;
    const QPoint mapped = m_hWnd->mapFromGlobal(QPoint(point->x, point->y));
    *point = POINT{mapped.x(), mapped.y()};
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    if (m_hWnd)
        MoveRect(rect, [this](QPoint p) { return m_hWnd->mapFromGlobal(p); });
}

void CWnd::ClientToScreen(POINT* point) const
{
    if (!m_hWnd)
        return;
    const QPoint mapped = m_hWnd->mapToGlobal(QPoint(point->x, point->y));
    *point = POINT{mapped.x(), mapped.y()};
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    if (m_hWnd)
        MoveRect(rect, [this](QPoint p) { return m_hWnd->mapToGlobal(p); });
}

void CWnd::SetFocus()
{
    if (m_hWnd)
        m_hWnd->setFocus(Qt::OtherFocusReason);
}

void CWnd::Invalidate(BOOL)
{
    if (m_hWnd)
        m_hWnd->update();
}

void CWnd::UpdateWindow()
{
    if (m_hWnd)
        m_hWnd->repaint();
}

BOOL CWnd::MapDialogRect(LPRECT rect) const
{
    QRect mapped = ToQRect(*rect);
    if (!DialogTemplateBuilder::MapDialogRect(m_hWnd, mapped))
        return FALSE;
    SetRectFrom(rect, mapped);
    return TRUE;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    if (!GetSafeHwnd())
        return FALSE;
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CWnd::OnCommand(UINT)
{
    return FALSE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    QWidget* widget = m_hWnd.data();
    if (!widget)
        return FALSE;
    // Looked up again on arrival: the CWnd may have been detached meanwhile.
    QMetaObject::invokeMethod(
        widget,
        [widget, message, wParam, lParam] {
            if (CWnd* wnd = FromHandlePermanent(widget))
                wnd->WindowProc(message, wParam, lParam);
        },
        Qt::QueuedConnection);
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM)
{
    return 0;
}
