// CWnd: styles, redrawing, timers, mouse capture and the message handlers.
#include "platform/gdi/CFont.h"
#include "platform/windows/CWnd.h"
#include "platform/windows/MessageRouter.h"

#include <QVariant>

namespace
{
constexpr const char* kStyleProperty = "reelmix.style";
constexpr const char* kExStyleProperty = "reelmix.exStyle";

DWORD StyleOf(const QWidget* widget, const char* property)
{
    return widget ? widget->property(property).value<DWORD>() : 0;
}

BOOL ChangeStyle(QWidget* widget, const char* property, DWORD remove, DWORD add)
{
    const DWORD before = StyleOf(widget, property);
    const DWORD after = (before & ~remove) | add;
    if (!widget || after == before)
        return FALSE;
    widget->setProperty(property, QVariant::fromValue(after));
    return TRUE;
}
} // namespace

DWORD CWnd::GetStyle() const
{
    return StyleOf(GetSafeHwnd(), kStyleProperty);
}

DWORD CWnd::GetExStyle() const
{
    return StyleOf(GetSafeHwnd(), kExStyleProperty);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    if (!ChangeStyle(GetSafeHwnd(), kStyleProperty, remove, add))
        return FALSE;
    if (flags & SWP_FRAMECHANGED)
        OnFrameChanged();
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    if (!ChangeStyle(GetSafeHwnd(), kExStyleProperty, remove, add))
        return FALSE;
    if (flags & SWP_FRAMECHANGED)
        OnFrameChanged();
    return TRUE;
}

void CWnd::SetInitialStyle(QWidget* widget, DWORD style, DWORD exStyle)
{
    widget->setProperty(kStyleProperty, QVariant::fromValue(style));
    widget->setProperty(kExStyleProperty, QVariant::fromValue(exStyle));
}

void CWnd::OnFrameChanged()
{
    Invalidate();
}

void CWnd::SetRedraw(BOOL redraw)
{
    if (GetSafeHwnd())
        GetSafeHwnd()->setUpdatesEnabled(redraw);
}

void CWnd::RedrawNow()
{
    Invalidate();
    UpdateWindow();
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    if (!GetSafeHwnd() || !font)
        return;
    GetSafeHwnd()->setFont(font->ToQFont());
    if (redraw)
        Invalidate();
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void*)
{
    MessageRouter* router = MessageRouter::Of(GetSafeHwnd(), true);
    return router && router->StartTimer(id, elapse) ? id : 0;
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    MessageRouter* router = MessageRouter::Of(GetSafeHwnd(), false);
    return router && router->StopTimer(id);
}

BOOL CWnd::HasTimer(UINT_PTR id) const
{
    const MessageRouter* router = MessageRouter::Of(GetSafeHwnd(), false);
    return router && router->HasTimer(id);
}

CWnd* CWnd::SetCapture()
{
    CWnd* previous = GetCapture();
    if (GetSafeHwnd())
        GetSafeHwnd()->grabMouse();
    return previous;
}

BOOL CWnd::ReleaseCapture()
{
    QWidget* grabber = QWidget::mouseGrabber();
    if (grabber)
        grabber->releaseMouse();
    return TRUE;
}

CWnd* CWnd::GetCapture()
{
    return FromHandlePermanent(QWidget::mouseGrabber());
}

void CWnd::RouteMessages()
{
    if (MessageRouter* router = MessageRouter::Of(GetSafeHwnd(), true))
        router->RouteInput();
}

void CWnd::Default()
{
    if (MessageRouter* router = MessageRouter::Of(GetSafeHwnd(), false))
        router->Default();
}

BOOL CWnd::KeyTypesChar() const
{
    const MessageRouter* router = MessageRouter::Of(GetSafeHwnd(), false);
    return router && router->KeyTypesChar();
}

void CWnd::SendKeyDown(UINT key)
{
    if (MessageRouter* router = MessageRouter::Of(GetSafeHwnd(), false))
        router->SendKeyDown(key);
}

void CWnd::SendChar(UINT ch)
{
    if (MessageRouter* router = MessageRouter::Of(GetSafeHwnd(), false))
        router->SendChar(ch);
}

void CWnd::OnTimer(UINT_PTR) {}

void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    if (!KeyTypesChar())
        Default();
}

void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}

void CWnd::OnSetFocus(CWnd*)
{
    Default();
}

void CWnd::OnKillFocus(CWnd*)
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

LRESULT CWnd::OnNcHitTest(CPoint)
{
    return HTCLIENT;
}
