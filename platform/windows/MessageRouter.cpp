#include "platform/windows/MessageRouter.h"

#include "platform/windows/CWnd.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace
{
constexpr const char* kRouterName = "reelmix.messages";

// The character a key press types, as the system's key translation gives it; 0 for none.
// Enter, Tab and Escape stay keys: dialogs and the widgets act on them as keys.
UINT CharOf(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Backspace)
        return VK_BACK;
    if (key.modifiers() & Qt::ControlModifier)
        return key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z ? UINT(key.key() - Qt::Key_A + 1)
                                                                : 0;
    const QList<uint> text = key.text().toUcs4();
    if (text.isEmpty() || text.front() < 0x20 || text.front() == 0x7F)
        return 0;
    return text.front();
}

UINT VirtualKeyOf(const QKeyEvent& key)
{
    const int code = key.key();
    if ((code >= Qt::Key_A && code <= Qt::Key_Z) || (code >= Qt::Key_0 && code <= Qt::Key_9) ||
        code == Qt::Key_Space)
        return UINT(code);
    static const std::map<int, UINT> keys = {
        {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
        {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_End, VK_END},
        {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
        {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},     {Qt::Key_Insert, VK_INSERT},
        {Qt::Key_Delete, VK_DELETE},
    };
    const auto found = keys.find(code);
    return found == keys.end() ? 0 : found->second;
}

int QtKeyOf(UINT key)
{
    static const std::map<UINT, int> keys = {
        {VK_BACK, Qt::Key_Backspace}, {VK_LEFT, Qt::Key_Left},     {VK_RIGHT, Qt::Key_Right},
        {VK_HOME, Qt::Key_Home},      {VK_END, Qt::Key_End},       {VK_DELETE, Qt::Key_Delete},
        {VK_INSERT, Qt::Key_Insert},  {VK_RETURN, Qt::Key_Return}, {VK_ESCAPE, Qt::Key_Escape},
    };
    const auto found = keys.find(key);
    if (found != keys.end())
        return found->second;
    return key >= 'a' && key <= 'z' ? int(key - 'a' + 'A') : int(key);
}

UINT MouseFlags(const QMouseEvent& mouse)
{
    UINT flags = 0;
    if (mouse.buttons() & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (mouse.buttons() & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (mouse.modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (mouse.modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

CPoint PointOf(const QMouseEvent& mouse)
{
    const QPoint p = mouse.position().toPoint();
    return CPoint(p.x(), p.y());
}

CWnd* WindowOf(QWidget* widget)
{
    return CWnd::FromHandlePermanent(widget);
}
} // namespace

MessageRouter::MessageRouter(QWidget* widget) : QObject(widget), m_widget(widget)
{
    setObjectName(kRouterName);
}

MessageRouter* MessageRouter::Of(QWidget* widget, bool create)
{
    if (!widget)
        return nullptr;
    auto* router = widget->findChild<MessageRouter*>(kRouterName, Qt::FindDirectChildrenOnly);
    return router || !create ? router : new MessageRouter(widget);
}

void MessageRouter::RouteInput()
{
    m_widget->removeEventFilter(this);
    m_widget->installEventFilter(this);
    // The system tells a window of every move over it.
    m_widget->setMouseTracking(true);
}

CWnd* MessageRouter::Window() const
{
    return CWnd::FromHandlePermanent(m_widget);
}

bool MessageRouter::StartTimer(UINT_PTR id, UINT elapse)
{
    StopTimer(id);
    const int timer = startTimer(int(std::max(elapse, 1u)));
    if (timer == 0)
        return false;
    m_timers[id] = timer;
    return true;
}

bool MessageRouter::StopTimer(UINT_PTR id)
{
    const auto found = m_timers.find(id);
    if (found == m_timers.end())
        return false;
    killTimer(found->second);
    m_timers.erase(found);
    return true;
}

void MessageRouter::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, timer] : m_timers) {
        if (timer != event->timerId())
            continue;
        if (CWnd* wnd = Window())
            wnd->OnTimer(id);
        return;
    }
}

void MessageRouter::Default()
{
    // Straight to the widget, past the event filters, which have had their turn.
    if (m_current)
        static_cast<QObject*>(m_widget)->event(m_current);
}

bool MessageRouter::eventFilter(QObject* watched, QEvent* event)
{
    CWnd* wnd = Window();
    if (watched != m_widget || !wnd)
        return false;
    QEvent* const outer = std::exchange(m_current, event);
    bool handled = true;
    switch (event->type()) {
    case QEvent::KeyPress:
        DispatchKey(*wnd, event);
        break;
    case QEvent::FocusIn:
        wnd->OnSetFocus(nullptr); // Qt does not say where the focus came from
        break;
    case QEvent::FocusOut:
        wnd->OnKillFocus(WindowOf(QApplication::focusWidget()));
        break;
    case QEvent::Paint:
        wnd->OnPaint();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        handled = RouteMouse(*wnd, event);
        break;
    default:
        handled = false;
        break;
    }
    m_current = outer;
    return handled;
}

bool MessageRouter::RouteMouse(CWnd& wnd, QEvent* event)
{
    auto& mouse = *static_cast<QMouseEvent*>(event);
    const QPoint global = mouse.globalPosition().toPoint();
    if (wnd.OnNcHitTest(CPoint(global.x(), global.y())) == HTTRANSPARENT) {
        // Not this window's: the one beneath it, its parent, gets the event.
        mouse.ignore();
        return true;
    }
    const UINT flags = MouseFlags(mouse);
    const bool left = mouse.button() == Qt::LeftButton;
    if (event->type() == QEvent::MouseMove)
        wnd.OnMouseMove(flags, PointOf(mouse));
    else if (event->type() != QEvent::MouseButtonRelease && left) // a double click is a press
        wnd.OnLButtonDown(flags, PointOf(mouse));
    else if (event->type() == QEvent::MouseButtonRelease && left)
        wnd.OnLButtonUp(flags, PointOf(mouse));
    else if (event->type() == QEvent::MouseButtonRelease && mouse.button() == Qt::RightButton)
        wnd.OnRButtonUp(flags, PointOf(mouse));
    else
        return false;
    return true;
}

void MessageRouter::DispatchKey(CWnd& wnd, QEvent* event)
{
    const auto& key = *static_cast<QKeyEvent*>(event);
    const UINT ch = CharOf(key);
    const UINT outer = std::exchange(m_typedChar, ch);
    wnd.OnKeyDown(VirtualKeyOf(key), UINT(std::max(1, key.count())), 0);
    m_typedChar = outer;
    if (ch)
        DispatchChar(wnd, event, ch);
}

void MessageRouter::DispatchChar(CWnd& wnd, QEvent* event, UINT ch)
{
    QEvent* const outer = std::exchange(m_current, event);
    wnd.OnChar(ch, 1, 0);
    m_current = outer;
}

void MessageRouter::SendKeyDown(UINT key)
{
    CWnd* wnd = Window();
    if (!wnd)
        return;
    QKeyEvent press(QEvent::KeyPress, QtKeyOf(key), Qt::NoModifier);
    QEvent* const outer = std::exchange(m_current, &press);
    const UINT outerChar = std::exchange(m_typedChar, 0);
    wnd->OnKeyDown(key, 1, 0);
    m_typedChar = outerChar;
    m_current = outer;
}

void MessageRouter::SendChar(UINT ch)
{
    CWnd* wnd = Window();
    if (!wnd)
        return;
    const char32_t code = ch;
    const QString text = ch == VK_BACK ? QString() : QString::fromUcs4(&code, 1);
    // A printable character's own key, not the virtual key that shares its code: as Delete,
    // '.' would delete instead of being typed.
    const int key = ch < 0x20 ? QtKeyOf(ch) : int(QChar::toUpper(code));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    DispatchChar(*wnd, &press, ch);
}
