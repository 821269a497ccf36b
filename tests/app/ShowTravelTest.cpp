#include "tests/app/AppFixture.h"

#include "app/ExportShowDlg.h"
#include "platform/framework/AfxRes.h"
#include "res/StringIds.h"
#include "show/Clip.h"
#include "tests/support/TestFiles.h"
#include "util/MyRegistry.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace testfiles;

namespace
{
// Answers the export dialog from the keyboard: the format moves down so many rows.
void ChooseFormat(int down)
{
    QTimer::singleShot(0, [down] {
        QWidget* dialog = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle() == "Export Show")
                dialog = window;
        auto* list = dialog ? dialog->findChild<QAbstractScrollArea*>() : nullptr;
        if (!list) {
            ADD_FAILURE() << "The export dialog shows no list of formats.";
            if (dialog)
                dialog->close();
            return;
        }
        for (int i = 0; i < down; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
    });
}
} // namespace

TEST_F(AppFixture, ListsOfOtherProgramsOpenAsNewShowsAndAFailedOneKeepsTheShow)
{
    ASSERT_TRUE(Start());
    AddClip("kept.avi");
    const std::string broken = NewPath("broken.xspf");
    WriteBytes(broken, "<playlist>\n<trackList>\n<track>\n</playlist>\n");
    EXPECT_EQ(m_app->OpenDocumentFile(Program(broken)), nullptr);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].Str().substr(0, broken.size() + 2), "\"" + broken + "\"");
    EXPECT_NE(m_messages[0].Str().find("\n\nLine 4: "), std::string::npos) << m_messages[0].Str();
    EXPECT_EQ(Doc()->m_clips.GetCount(), 1);
    EXPECT_TRUE(Doc()->IsModified());

    const std::string list = NewPath("show.m3u");
    WriteBytes(list, "#EXTM3U\n#EXTVLCOPT:start-time=1.5\n#EXTVLCOPT:no-audio\n/gone/a.avi\n");
    m_messageAnswers = {IDNO};
    m_fileAnswers = {list};
    EXPECT_TRUE(Frame()->OnCommand(ID_FILE_IMPORT));
    ASSERT_GE(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[1], "Save changes to Untitled?");
    ASSERT_EQ(Doc()->m_clips.GetCount(), 1);
    const auto* clip = static_cast<const Clip*>(Doc()->m_clips.GetHead());
    EXPECT_EQ(clip->GetFullPath(), "\\gone\\a.avi");
    EXPECT_EQ(clip->m_start, 1.5);
    EXPECT_EQ(clip->m_end, -1.0);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Doc()->GetPathName().IsEmpty());
    EXPECT_EQ(Frame()->GetSafeHwnd()->windowTitle(), "Untitled - Reelmix");
    // What was left out is said once, when the window is there to say it over.
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_messages.size() == 3; }));
    EXPECT_EQ(m_messages[2],
              "\"" + list.substr(list.rfind('/') + 1) +
                  "\" became a show of 1 clip. Not all of it "
                  "could be kept as it was:\n\n1 player option left out; 1 movie not "
                  "found (kept as a clip).");
}

TEST_F(AppFixture, ExportShowWritesTheFormatChosenAndOffersItNextTime)
{
    ASSERT_TRUE(Start());
    AddClip("a.avi");
    auto* clip = static_cast<Clip*>(Doc()->m_clips.GetHead());
    clip->m_start = 1.5;
    clip->m_end = 3.25;
    const std::string expected = "#EXTM3U\n#EXTINF:2,a.avi\n#EXTVLCOPT:start-time=1.5\n"
                                 "#EXTVLCOPT:stop-time=3.25\n/movies/a.avi\n";
    for (const int down : {2, 0}) {
        const std::string out = NewPath("show.m3u");
        m_fileAnswers = {out};
        ChooseFormat(down);
        EXPECT_TRUE(Frame()->OnCommand(ID_FILE_EXPORT_SHOW));
        ASSERT_FALSE(m_dialogTitles.empty());
        EXPECT_EQ(m_dialogTitles.back(), "Save As");
        EXPECT_EQ(ReadBytes(out), expected);
    }
    CString format;
    MyRegistry(HKEY_CURRENT_USER, ExportShowDlg::s_registryKey, false)
        .ReadValueString("Format", format);
    EXPECT_EQ(format, "m3u");
    EXPECT_TRUE(m_messages.empty());
}
