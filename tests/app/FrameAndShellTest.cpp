#include "tests/app/AppFixture.h"

#include "platform/files/HostPath.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/ShellOpenChannel.h"
#include "platform/framework/ShellRegistration.h"
#include "platform/registry/WinReg.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <atomic>
#include <thread>

using namespace testfiles;

namespace
{
std::string ClassesValue(const char* key, const char* name = "")
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &opened) != 0)
        return "<no key>";
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(opened);
    return result == 0 && type == REG_SZ ? std::string(buffer, size) : "<no value>";
}

// A string value's bytes: the text and its terminator.
std::string Sz(const std::string& text)
{
    return text + '\0';
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST_F(AppFixture, CommandsWithoutHandlersAreGreyedAndTheBarsFollowTheirMenuItems)
{
    ASSERT_TRUE(Start());
    Frame()->OnIdleUpdateCmdUI();
    std::vector<std::pair<std::string, bool>> buttons;
    for (const QAction* action : Frame()->m_wndToolBar.GetSafeHwnd()->actions()) {
        if (!action->isSeparator())
            buttons.emplace_back(action->toolTip().toStdString(), action->isEnabled());
    }
    EXPECT_EQ(buttons, (std::vector<std::pair<std::string, bool>>{{"New", true},
                                                                  {"Open", true},
                                                                  {"Save", true},
                                                                  {"Cut", false},
                                                                  {"Copy", false},
                                                                  {"Paste", false},
                                                                  {"About", true}}));
    EXPECT_EQ(Frame()->m_wndToolBar.GetButton(ID_FILE_NEW)->statusTip(), "Create a new document");
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_NEXT_PANE, ID_PREV_PANE})
        EXPECT_FALSE(Frame()->OnCommand(id)) << id;

    auto* window = static_cast<QMainWindow*>(Frame()->GetSafeHwnd());
    QMenu* view = window->menuBar()->actions().at(2)->menu();
    emit view->aboutToShow();
    QAction* toolbarItem = view->actions().at(0);
    EXPECT_TRUE(toolbarItem->isChecked());
    toolbarItem->trigger();
    EXPECT_TRUE(Frame()->m_wndToolBar.GetSafeHwnd()->isHidden());
    emit view->aboutToShow();
    EXPECT_FALSE(toolbarItem->isChecked());
    QMenu* edit = window->menuBar()->actions().at(1)->menu();
    emit edit->aboutToShow();
    for (const QAction* action : edit->actions())
        EXPECT_FALSE(action->isEnabled() && !action->isSeparator()) << action->text().toStdString();
    EXPECT_EQ(Frame()->m_wndStatusBar.GetCount(), 4);
    EXPECT_EQ(Frame()->m_wndStatusBar.GetItemID(3), ID_INDICATOR_SCRL);
    Frame()->SetStatusText("Found 3 movies.");
    EXPECT_EQ(Frame()->m_wndStatusBar.GetPaneText(0), "Found 3 movies.");
}

TEST_F(AppFixture, StartRegistersTheShowTypeWithTheShellAndTheDesktopOnlyWhenItDiffers)
{
    ASSERT_TRUE(Start());
    // Once the window is up.
    ASSERT_TRUE(
        QTest::qWaitFor([] { return ClassesValue(".rlx\\ShellNew", "NullFile") == Sz(""); }));
    CString program;
    FromHostPath(QCoreApplication::applicationFilePath().toStdString(), program);
    EXPECT_EQ(ClassesValue("Reelmix.Document"), Sz("Reelmix Document"));
    EXPECT_EQ(ClassesValue("Reelmix.Document\\DefaultIcon"), Sz(program.Str() + ",0"));
    EXPECT_EQ(ClassesValue("Reelmix.Document\\shell\\open\\command"),
              Sz(program.Str() + " \"%1\""));
    EXPECT_EQ(ClassesValue("Reelmix.Document\\shell\\print\\command"),
              Sz(program.Str() + " /p \"%1\""));
    EXPECT_EQ(ClassesValue(".rlx"), Sz("Reelmix.Document"));
    EXPECT_EQ(ClassesValue(".rlx\\ShellNew", "NullFile"), Sz(""));

    const QString home = ShellRegistration::DataHome();
    EXPECT_EQ(home, QDir(TestEnv::Folder()).filePath("share"));
    const QByteArray desktop = FileBytes(home + "/applications/reelmix.desktop");
    EXPECT_TRUE(
        desktop.contains("Exec=" + QCoreApplication::applicationFilePath().toUtf8() + " %f\n"));
    EXPECT_TRUE(desktop.contains("MimeType=application/x-reelmix-show;\n"));
    EXPECT_TRUE(desktop.contains("Icon=reelmix\n"));
    const QByteArray mime = FileBytes(home + "/mime/packages/reelmix.xml");
    EXPECT_TRUE(mime.contains("<mime-type type=\"application/x-reelmix-show\">"));
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.rlx\"/>"));
    EXPECT_EQ(FileBytes(home + "/icons/hicolor/scalable/apps/reelmix.svg"),
              FileBytes(":/icons/app-101.svg"));

    const ShellRegistration::DesktopType type{"reelmix", QCoreApplication::applicationFilePath(),
                                              ":/icons/app-101.svg"};
    EXPECT_TRUE(ShellRegistration::RegisterDesktopType(type).isEmpty());
    auto moved = type;
    moved.program = "/opt/reel mix/bin/reelmix";
    EXPECT_EQ(ShellRegistration::RegisterDesktopType(moved),
              QStringList{home + "/applications/reelmix.desktop"});
    EXPECT_TRUE(FileBytes(home + "/applications/reelmix.desktop")
                    .contains("Exec=\"/opt/reel mix/bin/reelmix\" %f\n"));

    // An extension another program has claimed stays with it.
    HKEY ext = nullptr;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, ".rlx", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &ext,
                    nullptr);
    RegSetValueExA(ext, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("Other.Type"), 11);
    RegCloseKey(ext);
    m_app->RegisterShellFileTypes(TRUE);
    EXPECT_EQ(ClassesValue(".rlx"), Sz("Other.Type"));
}

TEST_F(AppFixture, ShellOpenOfALaterStartGoesToTheRunningProgram)
{
    ASSERT_TRUE(Start());
    AddClip("unsaved.avi");
    const std::string show = NewPath("forwarded.rlx");
    WriteBytes(show, Hex("00 00 00 00"));
    m_messageAnswers = {IDNO};

    std::atomic<int> forwarded{-1};
    std::thread later([&] { forwarded = ShellOpenChannel::Forward(Program(show)); });
    while (forwarded < 0)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    later.join();
    QApplication::processEvents();
    EXPECT_EQ(forwarded, 1);
    EXPECT_EQ(m_messages, (std::vector<CString>{"Save changes to Untitled?"}));
    EXPECT_EQ(Doc()->GetPathName(), Program(show));
}
