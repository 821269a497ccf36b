// The show's view opens the clip editor, through the application object, for the selected row
// from the Edit button and Enter (the double click is driven end to end); OK gives the clip the
// new marks and marks the show modified, Cancel and no selection change nothing. The rows' movies
// are missing, which the editor's player says.
#include "app/CReelmixApp.h"
#include "preview/EditClipDlg.h"
#include "preview/MediaPlayerWidget.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

TEST(EditFromView, EditButtonAndEnter)
{
    const struct {
        int row; // selected, -1 for none
        bool enter;
        int result;
    } cases[] = {{1, false, IDOK}, {1, true, IDCANCEL}, {0, true, IDOK}, {-1, false, IDOK}};
    CReelmixApp app(RUNTIME_CLASS(CReelmixView));
    for (const auto& c : cases) {
        CReelmixDoc doc;
        doc.m_clips.AddTail(new Clip("\\no\\such", "a.avi"));
        doc.m_clips.AddTail(new Clip("\\no\\such", "b.avi"));
        QWidget frame;
        CReelmixView view;
        ASSERT_TRUE(view.Create(&frame));
        doc.AddView(&view);
        view.OnInitialUpdate();
        if (c.row >= 0)
            view.m_list.SelectItem(c.row, 1);
        QString playerSaid;
        bool looked = false;
        QTimer::singleShot(0, view.GetSafeHwnd(), [&] {
            looked = true;
            auto* editor = dynamic_cast<EditClipDlg*>(
                CWnd::FromHandlePermanent(QApplication::activeModalWidget()));
            if (!editor)
                return;
            playerSaid =
                static_cast<MediaPlayerWidget*>(editor->m_player.GetSafeHwnd())->ErrorText();
            editor->OnMarkStart();
            if (c.result == IDOK)
                editor->OnOK();
            else
                editor->OnCancel();
        });
        if (c.enter)
            QTest::keyClick(view.m_list.GetSafeHwnd(), Qt::Key_Return);
        else
            QTest::mouseClick(view.GetDlgItem(CReelmixView::IDC_EDIT)->GetSafeHwnd(),
                              Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return looked; }));
        const bool edited = c.row >= 0 && c.result == IDOK;
        EXPECT_EQ(bool(doc.IsModified()), edited) << c.row;
        for (int row = 0; row < 2; ++row) {
            auto* clip =
                dynamic_cast<Clip*>(reinterpret_cast<CObject*>(view.m_list.GetItemData(row)));
            EXPECT_EQ(clip->m_start, edited && row == c.row ? 0.0 : -1.0) << c.row;
        }
        EXPECT_EQ(playerSaid.contains(c.row == 1 ? "b.avi" : "a.avi"), c.row >= 0)
            << playerSaid.toStdString();
        doc.RemoveView(&view);
    }
}
