#include "platform/framework/CWinApp.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CRecentFileList.h"
#include "platform/framework/QtMessageBox.h"
#include "platform/framework/ScreenCheck.h"
#include "platform/framework/ShellOpenChannel.h"
#include "platform/windows/ResourceTable.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QWindow>
#include <clocale>
#include <csignal>
#include <cstdio>

namespace
{
CWinApp* g_app = nullptr;

// A quit request that carries the program's exit code.
class QuitRequest : public QEvent
{
public:
    explicit QuitRequest(int exitCode) : QEvent(QEvent::Quit), m_exitCode(exitCode) {}
    int m_exitCode;
};

// Input and posted work start idle processing afresh. The loop's own housekeeping (timers,
// painting, layout) does not, or idle work that repaints something would never come to rest.
bool StartsIdleAfresh(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::Timer:
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::LayoutRequest:
    case QEvent::Expose:
        return false;
    case QEvent::MetaCall:
    case QEvent::Quit:
        return true;
    default:
        return event->spontaneous() || event->type() >= QEvent::User;
    }
}
} // namespace

class CWinApp::EventHook : public QObject
{
public:
    explicit EventHook(CWinApp& app) : m_app(app)
    {
        qApp->installEventFilter(this);
        if (auto* dispatcher = QAbstractEventDispatcher::instance())
            connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                    [this] { m_app.OnAboutToBlock(); });
    }

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        // The window paints while its exposure is handled: the work runs after that.
        if (event->type() == QEvent::Expose && !m_app.m_whenShown.empty() &&
            m_app.IsMainWindow(receiver) && static_cast<QWindow*>(receiver)->isExposed())
            QMetaObject::invokeMethod(
                this, [this] { m_app.RunShownWork(false); }, Qt::QueuedConnection);
        if (!m_app.m_inIdle && StartsIdleAfresh(event)) {
            m_app.m_idleCount = 0;
            m_app.m_idleDone = false;
        }
        if (event->type() == QEvent::Quit && receiver == qApp) {
            // Qt goes on to close the windows and end the loops; only the code is kept here.
            const auto* request = dynamic_cast<const QuitRequest*>(event);
            m_app.m_nExitCode = request ? request->m_exitCode : 0;
            m_app.m_quitRequested = true;
            return false;
        }
        return m_app.PreTranslateMessage(receiver, event);
    }

private:
    CWinApp& m_app;
};

CWinApp::CWinApp(LPCTSTR appName)
    : m_appName(appName ? appName : ResourceTable::FindString(AFX_IDS_APP_TITLE))
{
    m_pszAppName = m_appName;
    if (g_app)
        qCritical("A second application object was made; the first one stays the application");
    else
        g_app = this;
    AttachToQt();
}

CWinApp::~CWinApp()
{
    ReleaseQtObjects();
    while (m_nWaitCursorCount > 0)
        EndWaitCursor();
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

void CWinApp::AttachToQt()
{
    if (qApp && !m_hook)
        m_hook = std::make_unique<EventHook>(*this);
}

int CWinApp::Run()
{
    AttachToQt();
    // A quit taken before the loop started (the loop would forget it) ends the run at once.
    if (!m_quitRequested) {
        const int loopCode = QApplication::exec();
        if (!m_quitRequested)
            m_nExitCode = loopCode;
    }
    m_quitRequested = false;
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count == 0) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
            frame->OnIdleUpdateCmdUI();
    }
    return FALSE;
}

void CWinApp::RunWhenShown(std::function<void()> work, bool mustRun)
{
    m_whenShown.emplace_back(std::move(work), mustRun);
}

bool CWinApp::IsMainWindow(const QObject* window) const
{
    const QWidget* frame = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    return frame && frame->windowHandle() == window;
}

void CWinApp::RunShownWork(bool onlyMustRun)
{
    for (const auto& [work, mustRun] : std::exchange(m_whenShown, {}))
        if (mustRun || !onlyMustRun)
            work();
}

int CWinApp::ExitInstance()
{
    RunShownWork(true);
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    return m_nExitCode;
}

void CWinApp::ReleaseQtObjects()
{
    m_pMainWnd = nullptr;
    m_templates.clear();
    m_shellOpen.reset();
    m_hook.reset();
}

BOOL CWinApp::PreTranslateMessage(QObject*, QEvent*)
{
    return FALSE;
}

void CWinApp::OnAboutToBlock()
{
    if (m_idleDone || m_inIdle)
        return;
    m_inIdle = true;
    const BOOL more = OnIdle(m_idleCount++);
    m_inIdle = false;
    if (more)
        QAbstractEventDispatcher::instance()->wakeUp();
    else
        m_idleDone = true;
}

void CWinApp::BeginWaitCursor()
{
    DoWaitCursor(1);
}

void CWinApp::EndWaitCursor()
{
    DoWaitCursor(-1);
}

void CWinApp::DoWaitCursor(int code)
{
    if (!qApp)
        return;
    if (code > 0) {
        if (m_nWaitCursorCount++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (code < 0) {
        if (m_nWaitCursorCount > 0 && --m_nWaitCursorCount == 0)
            QApplication::restoreOverrideCursor();
    } else if (m_nWaitCursorCount > 0) {
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    }
}

int AfxWinMain(int argc, char** argv)
{
    if (const std::string problem = ScreenCheck::Problem(argc, argv); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    QApplication application(argc, argv);
    // Qt takes the user's locale; numbers the program formats and the media player both need
    // the full stop as the decimal point.
    std::setlocale(LC_NUMERIC, "C");
    // A file-size limit then fails the write, which is reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    CWinApp* app = AfxGetApp();
    if (!app) {
        qCritical("The program has no application object");
        return 1;
    }
    QApplication::setApplicationName(QString::fromUtf8(app->m_pszAppName));
    InstallQtMessageBox();
    app->AttachToQt();
    app->m_arguments.assign(argv + std::min(argc, 1), argv + argc);
    const int code = app->InitInstance() ? app->Run() : app->ExitInstance();
    app->ReleaseQtObjects();
    return code;
}

void PostQuitMessage(int exitCode)
{
    if (qApp)
        QCoreApplication::postEvent(qApp, new QuitRequest(exitCode));
}
