#pragma once
// Carries a window's messages from its widget to its CWnd's handlers: the timers of SetTimer
// always, and, for a window that asked for it, the widget's input, focus and paint events.
// A handler gets the widget's own handling of the message by calling Default, at the point
// where it calls it; a handler that does not call it swallows the message.
#include "platform/core/WinTypes.h"

#include <QObject>
#include <map>

class CWnd;
class QEvent;
class QWidget;

class MessageRouter : public QObject
{
    Q_OBJECT

public:
    // The router of widget; made (a child of widget) when create is true and there is none.
    static MessageRouter* Of(QWidget* widget, bool create);

    void RouteInput();

    bool StartTimer(UINT_PTR id, UINT elapse);
    bool StopTimer(UINT_PTR id);
    bool HasTimer(UINT_PTR id) const { return m_timers.count(id) != 0; }

    // The message being handled, to the widget's own handling.
    void Default();
    // True while the key press being handled types a character (its WM_CHAR follows).
    bool KeyTypesChar() const { return m_typedChar != 0; }
    // A key press or a typed character, straight to the window's handlers.
    void SendKeyDown(UINT key);
    void SendChar(UINT ch);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit MessageRouter(QWidget* widget);
    CWnd* Window() const;
    bool RouteMouse(CWnd& wnd, QEvent* event);
    void DispatchKey(CWnd& wnd, QEvent* event);
    void DispatchChar(CWnd& wnd, QEvent* event, UINT ch);

    QWidget* m_widget;
    QEvent* m_current = nullptr;
    UINT m_typedChar = 0;
    std::map<UINT_PTR, int> m_timers; // the window's timer id -> Qt's
};
