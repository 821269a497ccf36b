#include "tests/app/AppFixture.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CRecentFileList.h"
#include "platform/windows/AfxMessageBox.h"
#include "show/Clip.h"
#include "tests/support/TestFiles.h"
#include "util/MyRegistry.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

using namespace testfiles;

namespace
{
QMenu* FileMenu(CMainFrame* frame)
{
    auto* window = static_cast<QMainWindow*>(frame->GetSafeHwnd());
    return window->menuBar()->actions().at(0)->menu();
}

// The File menu as it shows when opened: texts of the visible items, "(grey)" when disabled.
std::vector<std::string> FileMenuTexts(CMainFrame* frame)
{
    QMenu* menu = FileMenu(frame);
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
    const std::vector<std::string> menu = FileMenuTexts(Frame());
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
    EXPECT_EQ(FileMenuTexts(Frame()),
              (std::vector<std::string>{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S",
                                        "Save &As...", "&Import...", "&Export Show...",
                                        "Recent File (grey)", "E&xit"}));
}
