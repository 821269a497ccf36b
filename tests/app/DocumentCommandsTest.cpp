#include "tests/app/AppFixture.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CRecentFileList.h"
#include "platform/framework/ShellOpenChannel.h"
#include "platform/windows/AfxMessageBox.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"
#include "tests/support/Await.h"
#include "tests/support/TestFiles.h"
#include "util/MyRegistry.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

using namespace testfiles;

namespace
{
// The File (0) or Edit (1) menu as it shows when opened: texts of the visible items, "(grey)"
// when disabled.
std::vector<std::string> MenuTexts(CMainFrame* frame, int index)
{
    auto* window = static_cast<QMainWindow*>(frame->GetSafeHwnd());
    QMenu* menu = window->menuBar()->actions().at(index)->menu();
    emit menu->aboutToShow();
    std::vector<std::string> texts;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible() && !action->isSeparator())
            texts.push_back(action->text().toStdString() + (action->isEnabled() ? "" : " (grey)"));
    }
    return texts;
}

std::string NameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}
} // namespace

TEST_F(AppFixture, NewOpenSaveAndSaveAsRoundTripAShowWithTheQuestionBeforeChangesAreLost)
{
    ASSERT_TRUE(Start());
    const std::string first = NewPath("first.rlx");
    const std::string second = NewPath("second.rlx");

    AddClip("a.avi");
    m_fileAnswers = {first};
    EXPECT_TRUE(Frame()->OnCommand(ID_FILE_SAVE));
    EXPECT_EQ(m_dialogTitles.back(), "Save As");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(ReadBytes(first).substr(0, 4), Hex("01 00 00 00"));
    EXPECT_EQ(Frame()->GetSafeHwnd()->windowTitle().toStdString(), NameOf(first) + " - Reelmix");

    // Cancel at the question keeps everything; No drops the changes.
    AddClip("b.avi");
    m_messageAnswers = {IDCANCEL};
    EXPECT_TRUE(Frame()->OnCommand(ID_FILE_NEW));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].Str(), "Save changes to " + NameOf(first) + "?");
    EXPECT_EQ(Doc()->m_clips.GetCount(), 2);
    EXPECT_TRUE(Doc()->IsModified());
    m_messageAnswers = {IDNO};
    Frame()->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(Doc()->m_clips.GetCount(), 0);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(Doc()->GetPathName().IsEmpty());
    EXPECT_EQ(Frame()->GetSafeHwnd()->windowTitle(), "Untitled - Reelmix");

    // The file to open is asked first; Yes then saves, a new show through Save As.
    AddClip("c.avi");
    m_messageAnswers = {IDYES};
    m_fileAnswers = {first, second};
    Frame()->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(m_messages.back(), "Save changes to Untitled?");
    EXPECT_EQ(m_dialogTitles, (std::vector<CString>{"Save As", "Open", "Save As"}));
    EXPECT_EQ(Doc()->GetPathName(), Program(first));
    ASSERT_EQ(Doc()->m_clips.GetCount(), 1);
    EXPECT_EQ(static_cast<Clip*>(Doc()->m_clips.GetHead())->m_fileName, "a.avi");
    EXPECT_EQ(ReadBytes(second).substr(0, 4), Hex("01 00 00 00"));

    // Save As writes the show under the new name and takes it.
    AddClip("d.avi");
    m_fileAnswers = {second};
    Frame()->OnCommand(ID_FILE_SAVE_AS);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Doc()->GetPathName(), Program(second));
    EXPECT_EQ(ReadBytes(second).substr(0, 4), Hex("02 00 00 00"));
    EXPECT_EQ(ReadBytes(first).substr(0, 4), Hex("01 00 00 00"));

    // A cancelled dialog changes nothing.
    AddClip("e.avi");
    Frame()->OnCommand(ID_FILE_SAVE_AS);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(ReadBytes(second).substr(0, 4), Hex("02 00 00 00"));
}

TEST_F(AppFixture, ClosingSavesThePlacementEvenWhenTheUserCancelsTheQuestion)
{
    ASSERT_TRUE(Start());
    AddClip("a.avi");
    m_messageAnswers = {IDCANCEL};
    Frame()->GetSafeHwnd()->close();
    QApplication::processEvents();
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(Frame()->GetSafeHwnd()->isVisible());
    EXPECT_EQ(m_messages, (std::vector<CString>{"Save changes to Untitled?"}));
    MyRegistry registry(HKEY_CURRENT_USER, CMainFrame::s_registryKey, false);
    EXPECT_TRUE(registry.IsOpen());

    m_messageAnswers = {IDNO};
    Frame()->OnCommand(ID_APP_EXIT);
    QApplication::processEvents();
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
}

TEST_F(AppFixture, RecentFileListKeepsSixteenEntriesAcrossRestarts)
{
    ASSERT_TRUE(Start());
    std::vector<std::string> files;
    for (int i = 0; i < 18; ++i) {
        files.push_back(NewPath("show" + std::to_string(i) + ".rlx"));
        WriteBytes(files.back(), Hex("00 00 00 00"));
        ASSERT_NE(m_app->OpenDocumentFile(Program(files.back())), nullptr);
    }
    Stop();

    MyRegistry registry(
        HKEY_CURRENT_USER,
        "Software\\Local AppWizard-Generated Applications\\Reelmix\\Recent File List", false);
    ASSERT_TRUE(registry.IsOpen());
    for (int i = 1; i <= 17; ++i) {
        CString value;
        EXPECT_EQ(registry.ReadValueString(CString("File") + std::to_string(i).c_str(), value),
                  i <= 16);
        if (i <= 16) {
            EXPECT_EQ(value, Program(files[std::size_t(18 - i)]));
        }
    }
    registry.Close();

    ASSERT_TRUE(Start());
    const std::vector<std::string> menu = MenuTexts(Frame(), 0);
    ASSERT_EQ(menu.size(), 7u + 16u);
    EXPECT_EQ(menu[6], "&1 " + NameOf(files[17]));
    EXPECT_EQ(menu[15], "1&0 " + NameOf(files[8]));
    EXPECT_EQ(menu[21], "16 " + NameOf(files[2]));

    // An entry whose file is gone is dropped after the failed open.
    ::remove(files[17].c_str());
    EXPECT_TRUE(Frame()->OnCommand(ID_FILE_MRU_FILE1));
    EXPECT_EQ((*m_app->GetRecentFileList())[0], Program(files[16]));
}

TEST_F(AppFixture, EmptyRecentFileListShowsTheGreyPlaceholder)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(MenuTexts(Frame(), 0),
              (std::vector<std::string>{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S",
                                        "Save &As...", "&Import...", "&Export Show...",
                                        "Recent File (grey)", "E&xit"}));
}

TEST_F(AppFixture, AShowThatCannotBeReadLeavesTheOpenShowAndTheRecentFilesAsTheyWere)
{
    ASSERT_TRUE(Start());
    const std::string folder = NewPath("shows");
    std::filesystem::create_directory(folder);
    const std::string good = folder + "/my show é.rlx";
    AddClip("a.avi");
    m_fileAnswers = {good};
    Frame()->OnCommand(ID_FILE_SAVE);
    const std::string damaged = NewPath("damaged.rlx");
    WriteBytes(damaged, Hex("02") + ReadBytes(good).substr(1)); // one clip short

    // By File > Open and forwarded from a second start alike.
    std::size_t told = 0;
    const std::function<void()> opens[] = {
        [&] {
            m_fileAnswers = {damaged};
            Frame()->OnCommand(ID_FILE_OPEN);
        },
        [&] {
            std::atomic<int> sent{-1};
            std::thread second([&] { sent = ShellOpenChannel::Forward(Program(damaged)); });
            EXPECT_TRUE(Await([&] { return sent >= 0 && m_messages.size() > told; }));
            second.join();
        }};
    for (const auto& open : opens) {
        told = m_messages.size();
        open();
        EXPECT_EQ(m_messages.size(), told + 1);
        EXPECT_EQ(Doc()->GetPathName(), Program(good));
        EXPECT_EQ(Doc()->m_clips.GetCount(), 1);
        EXPECT_EQ(Frame()->GetSafeHwnd()->windowTitle().toStdString(), "my show é.rlx - Reelmix");
    }

    // Cancelling the question before a recent file opens keeps the entry, shown in host form.
    m_messageAnswers = {IDNO};
    Frame()->OnCommand(ID_FILE_NEW);
    AddClip("b.avi");
    m_messageAnswers = {IDCANCEL};
    EXPECT_TRUE(Frame()->OnCommand(ID_FILE_MRU_FILE1));
    const std::string entry = MenuTexts(Frame(), 0).at(6);
    EXPECT_TRUE(entry.starts_with("&1 /") && entry.ends_with("/my show é.rlx")) << entry;
    EXPECT_EQ(entry.find('\\'), std::string::npos) << entry;
    m_messageAnswers = {IDNO};
    EXPECT_TRUE(Frame()->OnCommand(ID_FILE_MRU_FILE1));
    EXPECT_EQ(Doc()->GetPathName(), Program(good));
}

TEST_F(AppFixture, TheEditMenuUndoesChangesAndTheShowIsModifiedAwayFromItsSavedState)
{
    ASSERT_TRUE(Start({}, RUNTIME_CLASS(CReelmixView)));
    auto* view = dynamic_cast<CReelmixView*>(Frame()->GetActiveView());
    QWidget* window = Frame()->GetSafeHwnd();
    const std::string folder = NewPath("movies");
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/a.avi", "");
    WriteBytes(folder + "/b.avi", "");
    CReelmixView::s_onlyAddNew = true;
    for (const char* said :
         {"Found 2 movies.", "Found 2 movies: 0 added, 2 already in the show."}) {
        view->AddDroppedFiles({Program(folder)});
        EXPECT_EQ(Frame()->m_wndStatusBar.GetPaneText(0), said);
    }
    CReelmixView::s_onlyAddNew = false;
    const std::vector<std::string> edit = MenuTexts(Frame(), 1);
    EXPECT_EQ(std::vector(edit.begin(), edit.begin() + 2),
              (std::vector<std::string>{"&Undo Insert\tCtrl+Z", "&Redo\tCtrl+Shift+Z (grey)"}));
    m_fileAnswers = {NewPath("saved.rlx")};
    Frame()->OnCommand(ID_FILE_SAVE);

    QApplication::setActiveWindow(window);
    const struct {
        QKeySequence key;
        int rows;
        bool modified;
    } steps[] = {{Qt::CTRL | Qt::Key_Z, 0, true},
                 {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, 2, false},
                 {Qt::ALT | Qt::Key_Backspace, 0, true},
                 {Qt::CTRL | Qt::Key_Y, 2, false}};
    for (const auto& step : steps) {
        QTest::keySequence(window, step.key);
        EXPECT_EQ(view->m_list.GetItemCount(), step.rows) << step.key.toString().toStdString();
        EXPECT_EQ(bool(Doc()->IsModified()), step.modified);
    }
}
