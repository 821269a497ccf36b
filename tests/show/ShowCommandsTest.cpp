// Filling and arranging the show through the view's commands, with the file dialog, the folder
// browser and the options dialog answered by the test.
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"
#include "show/ClipEditor.h"
#include "show/MovieTypes.h"

#include "platform/files/HostPath.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/ShellFolderBrowser.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

namespace
{
using Names = std::vector<std::string>;

// Its clip editor marks every clip from 3 to 4 seconds.
class TestApp : public CWinApp, public MovieTypes, public ClipEditor
{
public:
    TestApp()
    {
        for (const char* ext :
             {"avi", "mov", "qt", "mpg", "mpeg", "mpe", "mpv", "m1v", "mp2", "mpv2", "mpu"})
            m_extensions.AddTail(ext);
    }
    const CStringList& GetMovieExtensions() const override { return m_extensions; }
    bool EditClip(Clip& clip, CWnd*) override
    {
        clip.m_start = 3.0;
        clip.m_end = 4.0;
        return true;
    }
    CStringList m_extensions{10};
};

class ShowCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_frame.resize(800, 500);
        ASSERT_TRUE(m_view.Create(&m_frame));
        m_doc.AddView(&m_view);
        m_view.OnInitialUpdate();
        // Multi Load's options are kept nowhere: every run, as every test here, starts them off.
        EXPECT_FALSE(CReelmixView::s_searchSubDirs || CReelmixView::s_onlyAddNew);
    }
    void TearDown() override
    {
        CReelmixView::s_searchSubDirs = CReelmixView::s_onlyAddNew = false;
        SetFolderBrowserHook({});
        CFileDialog::SetHook({});
        m_doc.RemoveView(&m_view);
    }

    // A fresh folder holding files (relative paths, folders made as needed).
    std::string Tree(const Names& files)
    {
        const std::string root = testfiles::NewPath("tree");
        std::filesystem::create_directories(root);
        for (const std::string& file : files) {
            std::filesystem::create_directories(
                std::filesystem::path(root + "/" + file).parent_path());
            std::ofstream(root + "/" + file).put('x');
        }
        return root;
    }

    // Runs Multi Load over folder with the options set in its dialog; the options the dialog
    // offered come back.
    std::pair<bool, bool> MultiLoad(const std::string& folder, bool subDirs, bool onlyNew,
                                    bool pick = true)
    {
        std::pair<bool, bool> offered;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            const auto boxes = dialog->findChildren<QCheckBox*>();
            ASSERT_EQ(boxes.size(), 2);
            offered = {boxes[0]->isChecked(), boxes[1]->isChecked()};
            boxes[0]->setChecked(subDirs);
            boxes[1]->setChecked(onlyNew);
            const auto buttons = dialog->findChildren<QPushButton*>();
            ASSERT_EQ(buttons[0]->text(), "OK");
            for (auto* box : boxes) { // the captions whole, clear of the buttons
                EXPECT_GE(box->width(), box->sizeHint().width());
                EXPECT_LT(box->geometry().right(), buttons[0]->x());
            }
            buttons[0]->click();
        });
        SetFolderBrowserHook([folder, pick](const BROWSEINFOA& info, CString& chosen) {
            EXPECT_STREQ(info.lpszTitle, "Select Folder to Load All Movies From:");
            chosen = testfiles::Program(folder);
            return pick;
        });
        m_view.OnMultiLoad();
        return offered;
    }

    // The rows as paths below root, in row order; the document must hold the same clips.
    Names Rows(const std::string& root)
    {
        Names rows;
        POSITION pos = m_doc.m_clips.GetHeadPosition();
        for (int row = 0; row < m_view.m_list.GetItemCount(); ++row) {
            auto* clip = reinterpret_cast<Clip*>(m_view.m_list.GetItemData(row));
            EXPECT_EQ(clip, pos ? m_doc.m_clips.GetNext(pos) : nullptr);
            rows.push_back(ToHostPath(clip->GetFullPath()).substr(root.size() + 1));
        }
        EXPECT_EQ(pos, nullptr);
        return rows;
    }

    // Clips named by their numbers, as Insert would add them.
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i)
            m_view.AddClipFile("\\m", std::to_string(i).c_str(), false);
        m_doc.SetModifiedFlag(FALSE);
    }
    // The rows, the document's clips alike, as "name" or "name@start-end".
    Names Show()
    {
        Names show;
        for (const std::string& row : Rows("")) {
            const Clip* clip = reinterpret_cast<Clip*>(m_view.m_list.GetItemData(int(show.size())));
            show.push_back(row.substr(row.rfind('/') + 1));
            if (clip->m_start >= 0)
                show.back() += QString("@%1-%2").arg(clip->m_start).arg(clip->m_end).toStdString();
        }
        return show;
    }
    Names Order()
    {
        Names order;
        for (int row = 0; row < m_view.m_list.GetItemCount(); ++row)
            order.push_back(
                reinterpret_cast<Clip*>(m_view.m_list.GetItemData(row))->m_fileName.Str());
        return order;
    }

    TestApp m_app;
    CReelmixDoc m_doc;
    QWidget m_frame;
    CReelmixView m_view;
};

const Names kTree = {"a.mpg",  "b.avi", "sub/c.avi", "sub/deep/D.AVI",
                     "Z.mpeg", "x.mpe", "notes.txt", "sub/e.MOV"};
} // namespace

TEST_F(ShowCommands, MultiLoadFindsMoviesByExtensionThenDepthFirst)
{
    const std::string root = Tree(kTree);
    MultiLoad(root, false, false);
    EXPECT_EQ(Rows(root), (Names{"b.avi", "a.mpg", "Z.mpeg", "x.mpe"}));
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_view.m_list.GetItemText(0, 1), CString(root));
    EXPECT_EQ(m_view.m_list.GetSelectedItem(-1), 3);
    EXPECT_EQ(m_view.m_clipCountText, "4 Clips In Show");

    m_doc.DeleteContents();
    EXPECT_EQ(MultiLoad(root, true, false), std::make_pair(false, false));
    const Names all = {"sub/deep/D.AVI", "sub/c.avi", "b.avi", "sub/e.MOV",
                       "a.mpg",          "Z.mpeg",    "x.mpe"};
    EXPECT_EQ(Rows(root), all);

    // Without Only Add New everything comes twice; with it, nothing. The options are offered
    // again as they were left.
    EXPECT_EQ(MultiLoad(root, true, false), std::make_pair(true, false));
    EXPECT_EQ(Rows(root).size(), 14u);
    EXPECT_EQ(MultiLoad(root, true, true), std::make_pair(true, false));
    EXPECT_EQ(Rows(root).size(), 14u);

    // Names that differ in letter case only are two files.
    m_doc.DeleteContents();
    const std::string cases = Tree({"clip.avi", "CLIP.avi"});
    EXPECT_EQ(MultiLoad(cases, false, true), std::make_pair(true, true));
    EXPECT_EQ(Rows(cases), (Names{"CLIP.avi", "clip.avi"}));

    // A root with a trailing backslash is not doubled.
    CStringList results;
    m_view.SearchTree(testfiles::Program(root) + "\\", results, false);
    EXPECT_EQ(results.GetHead(), testfiles::Program(root + "/b.avi"));
}

TEST_F(ShowCommands, CancelledMultiLoadKeepsOptionsAndAddsNothing)
{
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        dialog->findChildren<QCheckBox*>()[0]->setChecked(true);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    m_view.OnMultiLoad();
    EXPECT_FALSE(CReelmixView::s_searchSubDirs);
    MultiLoad(Tree(kTree), true, true, false);
    EXPECT_TRUE(CReelmixView::s_searchSubDirs && CReelmixView::s_onlyAddNew);
    EXPECT_EQ(m_view.m_list.GetItemCount(), 0);

    // Escape pressed while the folders are searched: nothing is found, nothing changed.
    QApplication::postEvent(&m_frame, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
    CStringList results;
    m_view.SearchTree(testfiles::Program(Tree(kTree)), results, true);
    EXPECT_TRUE(results.IsEmpty());
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(ShowCommands, InsertTakesTheNamesTheDialogReturns)
{
    EXPECT_EQ(m_view.BuildMovieFilter(),
              "Movie files (*.avi;*.mov;*.qt;*.mpg;*.mpeg;*.mpe;*.mpv;*.m1v;*.mp2;*.mpv2;*.mpu;)|"
              "*.avi;*.mov;*.qt;*.mpg;*.mpeg;*.mpe;*.mpv;*.m1v;*.mp2;*.mpv2;*.mpu;|"
              "All Files (*.*)|*.*||");
    const struct {
        std::vector<CString> chosen;
        Names rows; // directory|name
        bool tooLong;
    } cases[] = {
        {{"\\home\\ann\\a.avi"}, {"\\home\\ann|a.avi"}, false},
        {{"\\v\\b.mpg", "\\v\\a.avi", "\\v\\b.mpg"},
         {"\\v|b.mpg", "\\v|a.avi", "\\v|b.mpg"},
         false},
        {{"\\a.avi", "\\b.avi"}, {"|a.avi", "|b.avi"}, false},
        {std::vector<CString>(40, CString("\\v\\" + std::string(250, 'n'))), {}, true},
    };
    const QString folder = QDir::currentPath(); // the dialog moves into the files' folder
    for (const auto& c : cases) {
        m_doc.DeleteContents();
        m_doc.SetModifiedFlag(FALSE);
        CFileDialog::SetHook([&](const CFileDialog& dialog, std::vector<CString>& chosen) {
            EXPECT_EQ(dialog.m_ofn.Flags, 0x1A01u);
            EXPECT_EQ(dialog.m_ofn.nMaxFile, 8320u);
            EXPECT_EQ(dialog.GetTitle(), "Select Up to 32 Movie File(s) At Once");
            EXPECT_EQ(dialog.GetFilter(), m_view.BuildMovieFilter());
            chosen = c.chosen;
            return IDOK;
        });
        MessageCapture messages;
        m_view.OnInsert();
        Names rows;
        for (const Names& order = Order(); const std::string& name : order) {
            const Clip* clip = reinterpret_cast<Clip*>(m_view.m_list.GetItemData(int(rows.size())));
            rows.push_back(clip->m_directory.Str() + "|" + name);
        }
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(bool(m_doc.IsModified()), !c.tooLong);
        EXPECT_EQ(messages.Texts().size(), c.tooLong ? 1u : 0u);
    }
    QDir::setCurrent(folder);
}

TEST_F(ShowCommands, DeleteUpAndDownMoveRowsAndClipsTogether)
{
    enum Command { Delete, Up, Down };
    const struct {
        int selected;
        Command command;
        Names order;
        int selectedAfter;
        bool modified;
    } cases[] = {
        {0, Delete, {"1", "2"}, -1, true},        {2, Delete, {"0", "1"}, 1, true},
        {-1, Delete, {"0", "1", "2"}, -1, false}, {0, Up, {"0", "1", "2"}, 0, false},
        {2, Up, {"0", "2", "1"}, 1, true},        {2, Down, {"0", "1", "2"}, 2, false},
        {0, Down, {"1", "0", "2"}, 1, true},      {-1, Down, {"0", "1", "2"}, -1, false},
    };
    for (const auto& c : cases) {
        m_doc.DeleteContents();
        Fill(3);
        m_view.m_list.SelectItem(2, FALSE);
        if (c.selected >= 0)
            m_view.m_list.SelectItem(c.selected, TRUE);
        if (c.selected >= 0)
            m_view.m_list.FocusItem(c.selected);
        const Qt::Key keys[] = {Qt::Key_Delete, Qt::Key_Up, Qt::Key_Down};
        QTest::keyClick(m_view.m_list.GetSafeHwnd(), keys[c.command],
                        c.command == Delete ? Qt::NoModifier : Qt::ControlModifier);
        EXPECT_EQ(Order(), c.order);
        EXPECT_EQ(Rows(""), [&] {
            Names paths;
            for (const std::string& name : c.order)
                paths.push_back("m/" + name);
            return paths;
        }());
        EXPECT_EQ(m_view.m_list.GetSelectedItem(-1), c.selectedAfter);
        if (c.command != Delete && c.selectedAfter >= 0) {
            EXPECT_TRUE(m_view.m_list.IsFocused(c.selectedAfter));
        }
        EXPECT_EQ(bool(m_doc.IsModified()), c.modified);
    }
}

TEST_F(ShowCommands, ShuffleMovesRowsAsSelectAndDownWouldForTheSameSeed)
{
    const struct {
        int clips;
        bool modified;             // two clips end in the order they started in
        bool sortedAfterFirstMove; // as a header click in the first repaint would
    } cases[] = {{1, false, false}, {2, false, false}, {300, true, false}, {300, true, true}};
    // The order, selection, focus and scrolling the moves leave, done one by one.
    const auto state = [&] {
        CListCtrl& list = m_view.m_list;
        return std::make_tuple(Order(), list.GetNextItem(-1, LVNI_SELECTED),
                               list.GetNextItem(-1, LVNI_FOCUSED), list.GetTopIndex());
    };
    const auto sort = [&] {
        m_view.m_list.SortColumn(0, false);
        m_view.OnRowsSorted();
    };
    for (const auto& c : cases) {
        m_doc.DeleteContents();
        Fill(c.clips);
        std::srand(7);
        for (int r = 0; c.clips > 1 && r < 50 * c.clips; ++r) {
            m_view.m_list.SelectItem(std::rand() % (c.clips - 1), TRUE);
            m_view.OnDown();
            if (r == 0 && c.sortedAfterFirstMove)
                sort();
        }
        const auto expected = state();
        m_doc.DeleteContents();
        Fill(c.clips);
        std::srand(7);
        if (c.sortedAfterFirstMove)
            QTimer::singleShot(0, sort);
        m_view.OnShuffle();
        EXPECT_EQ(state(), expected);
        Rows("");
        EXPECT_EQ(bool(m_doc.IsModified()), c.modified);
        EXPECT_FALSE(CReelmixView::s_shuffling);
    }
}

TEST_F(ShowCommands, ASecondClickStopsTheShuffleWithTheButtonsEnabled)
{
    Fill(200);
    bool disabledMeanwhile = false;
    QTimer::singleShot(0, [&] {
        disabledMeanwhile = !m_view.m_btnDelete.IsWindowEnabled() &&
                            !m_view.m_btnPlayShow.IsWindowEnabled() &&
                            m_view.m_btnShuffle.IsWindowEnabled();
        m_view.OnShuffle();
    });
    m_view.OnShuffle();
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_FALSE(CReelmixView::s_shuffling);
    EXPECT_TRUE(m_view.m_btnDelete.IsWindowEnabled() && m_view.m_btnUp.IsWindowEnabled());
    // Only the first move ran before the click was taken.
    int moved = 0;
    const Names order = Order();
    for (int i = 0; i < 200; ++i)
        moved += order[std::size_t(i)] != std::to_string(i);
    EXPECT_EQ(moved, 2);
}

TEST_F(ShowCommands, DroppedMoviesJoinTheShowFoldersAreSearchedShowsAreLeftToOpen)
{
    const std::string root = Tree(kTree);
    CReelmixView::s_searchSubDirs = true;
    const std::vector<CString> left = m_view.AddDroppedFiles(
        {testfiles::Program(root + "/x.mpe"), testfiles::Program(root + "/sub"),
         testfiles::Program(root + "/show.rlx"), testfiles::Program(root + "/notes.txt")});
    EXPECT_EQ(Rows(root), (Names{"x.mpe", "sub/deep/D.AVI", "sub/c.avi", "sub/e.MOV"}));
    EXPECT_EQ(left, (std::vector<CString>{testfiles::Program(root + "/show.rlx"),
                                          testfiles::Program(root + "/notes.txt")}));
}

TEST_F(ShowCommands, UndoAndRedoTakeEachCommandBackAndMakeItAgain)
{
    const auto sort = [&] {
        m_view.m_list.SortColumn(0, false);
        m_view.OnRowsSorted();
    };
    const auto paste = [&](int focus) {
        m_view.m_list.FocusItem(focus);
        m_view.OnPaste();
    };
    const auto pasteFiles = [&] {
        auto* files = new QMimeData; // as a file manager copies them
        files->setUrls({QUrl::fromLocalFile("/v/x.avi"), QUrl::fromLocalFile("/v/notes.txt")});
        QGuiApplication::clipboard()->setMimeData(files);
        paste(0);
    };
    const struct {
        const char* command;
        int selected;
        std::function<void()> run;
        Names after; // empty: any other show
    } cases[] = {
        {"Insert",
         1,
         [&] {
             CFileDialog::SetHook([](const CFileDialog&, std::vector<CString>& chosen) {
                 chosen = {"\\v\\i.avi"};
                 return IDOK;
             });
             m_view.OnInsert();
         },
         {"0", "1@1-2", "2", "3", "i.avi"}},
        {"Multi Load",
         1,
         [&] { MultiLoad(Tree({"t.avi"}), false, false); },
         {"0", "1@1-2", "2", "3", "t.avi"}},
        {"Delete", 1, [&] { m_view.OnDelete(); }, {"0", "2", "3"}},
        {"Up", 2, [&] { m_view.OnUp(); }, {"0", "2", "1@1-2", "3"}},
        {"Down", 0, [&] { m_view.OnDown(); }, {"1@1-2", "0", "2", "3"}},
        {"Shuffle", 0, [&] { m_view.OnShuffle(); }, {}},
        {"Edit", 2, [&] { m_view.OnEdit(); }, {"0", "1@1-2", "2@3-4", "3"}},
        {"Sort", 0, sort, {"3", "2", "1@1-2", "0"}},
        {"Cut", 1, [&] { m_view.OnCut(); }, {"0", "2", "3"}},
        {"Copy and Paste",
         1,
         [&] {
             m_view.OnCopy();
             paste(2);
         },
         {"0", "1@1-2", "2", "1@1-2", "3"}},
        {"Paste of files", 1, pasteFiles, {"0", "x.avi", "1@1-2", "2", "3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        m_doc.DeleteContents();
        Fill(4);
        auto* marked = reinterpret_cast<Clip*>(m_view.m_list.GetItemData(1));
        marked->m_start = 1.0;
        marked->m_end = 2.0;
        m_view.m_list.SelectItem(c.selected, TRUE);
        m_view.m_list.FocusItem(c.selected);
        const Names before = Show();
        std::srand(7);
        c.run();
        const Names after = Show();
        if (c.after.empty())
            EXPECT_NE(after, before);
        else
            EXPECT_EQ(after, c.after);
        for (const auto& [command, show, modified] : {std::tuple{ID_EDIT_UNDO, before, false},
                                                      {ID_EDIT_REDO, after, true},
                                                      {ID_EDIT_UNDO, before, false},
                                                      {ID_EDIT_REDO, after, true}}) {
            CCmdUI ui(command);
            ASSERT_TRUE(m_view.OnCmdMsg(command, &ui) && ui.m_bEnabled);
            m_view.OnCmdMsg(command, nullptr);
            EXPECT_EQ(Show(), show);
            EXPECT_EQ(bool(m_doc.IsModified()), modified);
        }
    }
    CFileDialog::SetHook({});
}
