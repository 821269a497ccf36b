// Generic's window and message operations: dialog units, font heights and the message pump.
#include "util/Generic.h"

#include "platform/core/MulDiv.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/CDC.h"
#include "platform/windows/AfxMessageBox.h"
#include "platform/windows/CWnd.h"

#include <QCoreApplication>
#include <QEvent>

namespace
{
// Qt's events are told apart from the desktop's messages the program knows by name: a quit
// request is WM_QUIT, every other event is WM_APP plus its Qt event type, so that no event can
// pass for WM_QUIT.
UINT MessageIdOf(const QEvent* event)
{
    return event->type() == QEvent::Quit ? WM_QUIT : WM_APP + UINT(event->type());
}

// Notes the events handed out while it lives. A quit request stays the answer once seen: the
// caller has to stop its work, whatever came after it.
class MessageRecorder : public QObject
{
public:
    MessageRecorder() { QCoreApplication::instance()->installEventFilter(this); }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (m_last != WM_QUIT)
            m_last = MessageIdOf(event);
        return false;
    }

    UINT Last() const { return m_last; }

private:
    UINT m_last = 0;
};

int DialogUnitsToPixels(CWnd* window, int units, bool horizontal)
{
    if (!window || !IsWindow(window->GetSafeHwnd()))
        return 0;
    CRect rect(0, 0, 4, 8);
    if (!window->MapDialogRect(&rect))
        return 0;
    return horizontal ? units * rect.right / 4 : units * rect.bottom / 8;
}
} // namespace

int Generic::GetHorzPixels(CWnd* window, int units)
{
    return DialogUnitsToPixels(window, units, true);
}

int Generic::GetVertPixels(CWnd* window, int units)
{
    return DialogUnitsToPixels(window, units, false);
}

int Generic::PointsToLogicalHeight(const CDC* dc, int points)
{
    if (!dc)
        return -1;
    return -MulDiv(points, dc->GetDeviceCaps(LOGPIXELSY), 72);
}

UINT Generic::SpinTheMessageLoop()
{
    if (!QCoreApplication::instance())
        return 0;
    UINT last = 0;
    {
        MessageRecorder recorder;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        last = recorder.Last();
    }
    if (CWinApp* app = AfxGetApp()) {
        app->OnIdle(0);
        app->OnIdle(1);
    }
    return last;
}

void Generic::QuickExit(const CString& text, int code)
{
    if (!text.IsEmpty())
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
    PostQuitMessage(code);
    SpinTheMessageLoop();
}
