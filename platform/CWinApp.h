#pragma once
// The framework's application object: one per program, made as a static object and found with
// AfxGetApp(). AfxWinMain makes the QApplication, then runs InitInstance and, when that
// succeeds, Run: the Qt event loop, with OnIdle called whenever the loop has nothing left to
// do and is about to wait, until ExitInstance gives the program's exit code.
//
// Idle processing hangs on the event dispatcher's aboutToBlock signal: it is emitted exactly
// when the loop would otherwise sleep, so no timer keeps the processor busy while the program
// is idle. While OnIdle asks for more (returns TRUE) the dispatcher is woken for another pass;
// once it returns FALSE it is not called again until input or a posted event arrives, and then
// starts over at count 0.
//
// A quit request is a posted QEvent::Quit (PostQuitMessage, or Qt's own quit when the last
// window closes). It ends every running event loop once control gets back to it, with the
// code given to PostQuitMessage, so a quit taken off the queue inside a message pump of the
// program's own is not lost.
#include "platform/CString.h"

#include <memory>

class QEvent;
class QObject;
class CWnd;

class CWinApp {
public:
    // appName null takes the application title of the string table.
    explicit CWinApp(LPCTSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Sets the program up; FALSE ends it without running the loop.
    virtual BOOL InitInstance() { return TRUE; }
    // Runs the event loop until a quit request; returns ExitInstance().
    virtual int Run();
    // Clean-up at the end; returns the exit code of the quit request.
    virtual int ExitInstance() { return m_nExitCode; }
    // Background work while the queue is empty; count starts at 0 and grows while this returns
    // TRUE (more idle work wanted).
    virtual BOOL OnIdle(LONG count);
    // Sees each event before its receiver does; TRUE takes it (the receiver never sees it).
    virtual BOOL PreTranslateMessage(QObject* receiver, QEvent* event);

    // The wait cursor, nested: it shows from the first Begin until the matching End.
    void BeginWaitCursor();
    void EndWaitCursor();
    // 1 begins, -1 ends, 0 shows the wait cursor again if it is on (after a message box).
    void DoWaitCursor(int code);

    LPCTSTR m_pszAppName;
    CWnd* m_pMainWnd = nullptr;

private:
    friend int AfxWinMain(int argc, char** argv);
    class EventHook;

    // Hooks into the QApplication once one exists.
    void AttachToQt();
    void OnAboutToBlock();

    CString m_appName;
    std::unique_ptr<EventHook> m_hook;
    int m_nWaitCursorCount = 0;
    int m_nExitCode = 0;
    bool m_quitRequested = false;
    LONG m_idleCount = 0;
    bool m_idleDone = false;
    bool m_inIdle = false;
};

// The program's one application object; null when there is none.
CWinApp* AfxGetApp();
// The program's entry: makes the QApplication, shows message boxes for real, runs the
// application object and returns its exit code.
int AfxWinMain(int argc, char** argv);
// Posts a quit request: the event loops end with exitCode once the request is taken.
void PostQuitMessage(int exitCode);
