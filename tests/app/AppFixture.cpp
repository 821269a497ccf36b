#include "tests/app/AppFixture.h"

#include "platform/framework/CSingleDocTemplate.h"
#include "show/Clip.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestFiles.h"
#include "util/MyRegistry.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

void AppFixture::SetUp()
{
    // The quit that ends an earlier test's program leaves every event loop started later ending
    // at once (modal dialogs among them), until the application's own loop has run once.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    for (const char* key : {"Brantwell", "Local AppWizard-Generated Applications"})
        MyRegistry(HKEY_CURRENT_USER, "Software", false).DeleteKey(key);
    for (const char* key : {"Reelmix.Document", ".rlx"})
        MyRegistry(HKEY_CLASSES_ROOT, "", false).DeleteKey(key);
    qputenv("XDG_DATA_HOME", QDir(TestEnv::Folder()).filePath("share").toUtf8());
    CFileDialog::SetHook([this](const CFileDialog& dialog, std::vector<CString>& chosen) {
        m_dialogTitles.push_back(dialog.GetTitle());
        if (m_fileAnswers.empty())
            return IDCANCEL;
        chosen.push_back(testfiles::Program(m_fileAnswers.front()));
        m_fileAnswers.pop_front();
        return IDOK;
    });
    SetMessageBoxHook([this](const CString& text, UINT) {
        m_messages.push_back(text);
        if (m_messageAnswers.empty())
            return IDOK;
        const int answer = m_messageAnswers.front();
        m_messageAnswers.pop_front();
        return answer;
    });
}

void AppFixture::TearDown()
{
    m_app.reset();
    CFileDialog::SetHook(nullptr);
    SetMessageBoxHook(nullptr);
    QDir::setCurrent(TestEnv::Folder());
}

BOOL AppFixture::Start(const std::vector<std::string>& args, CDocTemplate::ViewClass view)
{
    m_app = std::make_unique<CReelmixApp>(std::move(view));
    for (const std::string& arg : args)
        m_app->m_arguments.emplace_back(arg);
    const BOOL started = m_app->InitInstance();
    QApplication::processEvents();
    return started;
}

void AppFixture::Stop()
{
    if (CMainFrame* frame = Frame())
        frame->OnClose();
    // The application object takes the quit request that closing the main window posts.
    QApplication::processEvents();
    if (m_app)
        m_app->ExitInstance();
    m_app.reset();
}

CMainFrame* AppFixture::Frame() const
{
    return m_app ? dynamic_cast<CMainFrame*>(m_app->m_pMainWnd) : nullptr;
}

CReelmixDoc* AppFixture::Doc() const
{
    auto* docTemplate = m_app ? m_app->GetFirstDocTemplate() : nullptr;
    return docTemplate ? static_cast<CReelmixDoc*>(docTemplate->GetOnlyDocument()) : nullptr;
}

void AppFixture::AddClip(const char* name)
{
    Doc()->m_clips.AddTail(new Clip("\\movies", name));
    Doc()->SetModifiedFlag();
}
