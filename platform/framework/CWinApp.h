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
//
// The document side: the document templates (the application owns them, and through them the
// documents and frames), New, Open and the recent-file list, the command line, and the
// shell's open requests. The framework's profile settings live in the registry under
// HKEY_CURRENT_USER\Software\<registry key>\<application name>.
#include "platform/core/CString.h"
#include "platform/windows/CCmdTarget.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QEvent;
class QObject;
class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CRecentFileList;
class CWnd;
class ShellOpenChannel;

class CWinApp : public CCmdTarget
{
public:
    // appName null takes the application title of the string table.
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    // Sets the program up; FALSE ends it without running the loop.
    virtual BOOL InitInstance() { return TRUE; }
    // Runs the event loop until a quit request; returns ExitInstance().
    virtual int Run();
    // Clean-up at the end: writes the recent-file list back; returns the exit code of the quit
    // request (1 when the command line could not be carried out).
    virtual int ExitInstance();
    // Background work while the queue is empty; count starts at 0 and grows while this returns
    // TRUE (more idle work wanted). At count 0 the main frame's bars are brought up to date.
    virtual BOOL OnIdle(LONG count);
    // Sees each event before its receiver does; TRUE takes it (the receiver never sees it).
    virtual BOOL PreTranslateMessage(QObject* receiver, QEvent* event);

    // The wait cursor, nested: it shows from the first Begin until the matching End.
    void BeginWaitCursor();
    void EndWaitCursor();
    // 1 begins, -1 ends, 0 shows the wait cursor again if it is on (after a message box).
    void DoWaitCursor(int code);

    // Profile settings. Without a registry key there is nowhere to keep them: reads give the
    // default and writes fail.
    void SetRegistryKey(LPCTSTR key);
    // Reads the recent-file list, which holds up to maxMRU files.
    void LoadStdProfileSettings(UINT maxMRU = 4);
    CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue = nullptr) const;
    // A null entry deletes the whole section, a null value the entry.
    BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
    const CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    virtual void AddToRecentFileList(LPCTSTR pathName);

    // Takes ownership of the template.
    void AddDocTemplate(CDocTemplate* docTemplate);
    CDocTemplate* GetFirstDocTemplate() const;
    // Opens pathName in the first template; null when that failed (and was reported).
    virtual CDocument* OpenDocumentFile(LPCTSTR pathName);
    void CloseAllDocuments(BOOL endSession);

    // Accepts the shell's open requests of later starts.
    void EnableShellOpen();
    // Registers every template's document type with the shell (see ShellRegistration).
    void RegisterShellFileTypes(BOOL compat = FALSE);
    // Start-up work nobody needs to wait for: it runs once the main window's first picture is
    // on the screen. If the program ends before that, work that must not be lost (mustRun)
    // runs then, and the rest is dropped.
    void RunWhenShown(std::function<void()> work, bool mustRun);
    void ParseCommandLine(CCommandLineInfo& info);
    // New document, open or print a file as info says. FALSE ends the program: the file
    // could not be opened, it was printed, or a running instance took it.
    BOOL ProcessShellCommand(CCommandLineInfo& info);

    void OnFileNew();
    void OnFileOpen();
    BOOL OnOpenRecentFile(UINT id);
    void OnAppExit();
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;

    LPCTSTR m_pszAppName;
    CWnd* m_pMainWnd = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    // The command-line arguments after the program's name.
    std::vector<CString> m_arguments;

private:
    friend int AfxWinMain(int argc, char** argv);
    class EventHook;

    CString AppKeyPath() const;
    void OnShellOpen(const CString& pathName);
    // The work that waited for the main window (all of it, or only what must run).
    void RunShownWork(bool onlyMustRun);
    bool IsMainWindow(const QObject* window) const;
    // Runs before the QApplication goes: every window and socket of the program.
    void ReleaseQtObjects();

    // Hooks into the QApplication once one exists.
    void AttachToQt();
    void OnAboutToBlock();

    CString m_appName;
    CString m_registryKey;
    std::unique_ptr<EventHook> m_hook;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    std::unique_ptr<ShellOpenChannel> m_shellOpen;
    std::vector<std::pair<std::function<void()>, bool>> m_whenShown;
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
