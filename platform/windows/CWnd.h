#pragma once
// The framework's window: one QWidget, seen through the calls the program's windows make.
//
// Ownership is single and visible. A CWnd either owns its widget (a top-level window it made
// itself: CreateOwned, deleted by DestroyWindow or the destructor, never given a Qt parent) or
// is attached to a widget that its Qt parent owns (a control made from a dialog template:
// Attach, SubclassDlgItem), which it only watches. Either way a widget deleted elsewhere leaves
// the CWnd without a window (GetSafeHwnd() is null) rather than dangling.
#include "platform/core/CRect.h"
#include "platform/core/CString.h"
#include "platform/core/VirtualKeys.h"
#include "platform/core/WinTypes.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

using HWND = QWidget*;

// Message identifiers that reach the program's own code.
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_APP = 0x8000;

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;

// Mouse message flags.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;

// Hit-test answers: the point is in the client area, or belongs to the window beneath.
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTCLIENT = 1;

class CDataExchange;
class CFont;

// The head of every notification a control sends its parent.
struct NMHDR {
    HWND hwndFrom;
    WPARAM idFrom; // the control id
    UINT code;
};
constexpr UINT NM_CLICK = UINT(-2);
constexpr UINT NM_DBLCLK = UINT(-3);

class CWnd
{
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd.data(); }
    // The CWnd attached to widget for good (not a temporary one), or null.
    static CWnd* FromHandlePermanent(const QWidget* widget);

    // Watches widget, which its Qt parent owns. FALSE when this CWnd already has a window or
    // widget is null or already attached to another CWnd.
    BOOL Attach(HWND widget);
    HWND Detach();
    // Attaches to the control id of parent (made from parent's template).
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Tells this window and the attached windows inside it OnDestroy, then deletes the widget
    // if this CWnd owns it (or detaches otherwise).
    BOOL DestroyWindow();

    // The control id of a window made from a template; 0 for others.
    int GetDlgCtrlID() const;
    // The child control with that id: its permanent CWnd, or a temporary one that lives as long
    // as this window. Null when there is none.
    CWnd* GetDlgItem(int id) const;

    void SetWindowText(LPCTSTR text);
    void GetWindowText(CString& text) const;
    // Returns TRUE when the window was disabled before.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    // Returns TRUE when the window was visible before.
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    // Child windows: in the parent's client coordinates; top-level windows: the frame on screen.
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(LPRECT rect) const;
    void SetFocus();
    void Invalidate(BOOL erase = TRUE);
    void UpdateWindow();
    // Converts a rectangle from dialog units of this window's dialog font to pixels; FALSE
    // (rect unchanged) for a window that was not made from a dialog template.
    BOOL MapDialogRect(LPRECT rect) const;

    // Window styles (WS_, and the class's own: SS_, ES_) and extended styles (WS_EX_). A
    // Modify call returns FALSE when nothing changed; SWP_FRAMECHANGED in flags redraws the frame.
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    // The styles a window made from a template (or in code) starts with.
    static void SetInitialStyle(QWidget* widget, DWORD style, DWORD exStyle = 0);
    // Stops (FALSE) or resumes drawing the window; resuming redraws it.
    void SetRedraw(BOOL redraw = TRUE);
    // Invalidates, erases and updates the window at once.
    void RedrawNow();
    // The font the window draws its text with; font stays the caller's.
    void SetFont(CFont* font, BOOL redraw = TRUE);

    // Starts (or restarts) timer id, which reaches OnTimer every elapse milliseconds; returns
    // id, or 0 without a window.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* unused = nullptr);
    BOOL KillTimer(UINT_PTR id);
    // Whether timer id runs, for callers that must know.
    BOOL HasTimer(UINT_PTR id) const;

    // Mouse capture: every mouse message goes to the capturing window until it is released.
    // Each returns the window that had the capture before, or null.
    CWnd* SetCapture();
    static BOOL ReleaseCapture();
    static CWnd* GetCapture();

    // Handlers of the window's messages. Timers always arrive; the input, focus and paint
    // messages arrive for a window that routes them (RouteMessages). Each handler's own
    // implementation here is the widget's default handling (Default).
    virtual void OnTimer(UINT_PTR id);
    // A key press. A key that types a character is followed by OnChar with that character
    // (Backspace 8, Ctrl+A to Ctrl+Z 1 to 26, a printable character's code point); its key
    // press does nothing by default, so that the character is handled once.
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    // Points in client coordinates; flags MK_.
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual void OnPaint();
    // Which part of the window a point on the screen is in; HTTRANSPARENT passes the mouse
    // message to the window beneath.
    virtual LRESULT OnNcHitTest(CPoint point);

    // A button of this window's template was clicked. TRUE when handled.
    virtual BOOL OnCommand(UINT id);
    // A child control's notification; header is the NMHDR* (of a larger structure, by code).
    // TRUE when handled, with the answer in *result.
    virtual BOOL OnNotify(WPARAM id, LPARAM header, LRESULT* result);
    // The window is about to be destroyed; it and its controls still exist.
    virtual void OnDestroy() {}
    // Queues message for the CWnd attached to this window when the event loop next runs; it
    // arrives at WindowProc. FALSE without a window.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // A posted message.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // This CWnd has just been attached to its window (made or existing).
    virtual void PreSubclassWindow() {}
    // Runs the data exchange: TRUE moves the controls' contents to the members, FALSE the
    // members to the controls. FALSE without a window.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

protected:
    // Takes ownership of a top-level widget made for this window.
    void CreateOwned(std::unique_ptr<QWidget> widget);
    // From now on the widget's input, focus and paint events reach the handlers above.
    void RouteMessages();
    // The message being handled, to the widget's own handling, now.
    void Default();
    // While in OnKeyDown: the key types a character, which OnChar gets next.
    BOOL KeyTypesChar() const;
    // A key press or a typed character straight to this window's handlers, as if typed.
    void SendKeyDown(UINT key);
    void SendChar(UINT ch);
    // The frame styles changed (SWP_FRAMECHANGED); the window shows its new frame.
    virtual void OnFrameChanged();
    // The exchange UpdateData runs: DDX_ calls binding controls and members.
    virtual void DoDataExchange(CDataExchange*) {}

private:
    void NotifyDestroy();

    QPointer<QWidget> m_hWnd;
    bool m_ownsWindow = false;
    mutable std::map<const QWidget*, std::unique_ptr<CWnd>> m_temporaries;
};

// TRUE when the handle names a window that still exists.
inline BOOL IsWindow(HWND hWnd)
{
    return hWnd != nullptr;
}
