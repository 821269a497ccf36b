#include "tests/preview/PreviewTestKit.h"

#include "preview/EditClipDlg.h"
#include "preview/MediaPlayerWidget.h"
#include "show/Clip.h"
#include "tests/support/Await.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <map>

namespace previewtest
{
const std::string& FourSecondMovie()
{
    static const std::string movie = testfiles::MakeMovie("movie.avi", testfiles::TestPicture(4));
    return movie;
}

std::unique_ptr<Clip> ClipOf(const std::string& hostPath, double start, double end)
{
    const CString path = testfiles::Program(hostPath);
    const int slash = path.ReverseFind('\\');
    auto clip = std::make_unique<Clip>(path.Left(slash), path.Mid(slash + 1));
    clip->m_start = start;
    clip->m_end = end;
    return clip;
}

EditorRun RunEditor(const std::string& hostPath, double start, double end,
                    const std::function<void(EditClipDlg&)>& act)
{
    const CString path = testfiles::Program(hostPath);
    EditClipDlg dialog(path, path.Mid(path.ReverseFind('\\') + 1), start, end);
    QTimer::singleShot(0, [&] {
        const auto* player = static_cast<MediaPlayerWidget*>(dialog.m_player.GetSafeHwnd());
        EXPECT_TRUE(Await(
            [&] { return dialog.m_player.GetDuration() > 0 || !player->ErrorText().isEmpty(); }));
        act(dialog);
    });
    const int result = dialog.DoModal();
    return {result, dialog.m_start, dialog.m_end};
}

void Act(EditClipDlg& dialog, const std::string& actions)
{
    const std::map<char, int> buttons{{'S', EditClipDlg::IDC_MARK_START},
                                      {'E', EditClipDlg::IDC_MARK_END},
                                      {']', EditClipDlg::IDC_GO_TO_END},
                                      {'[', EditClipDlg::IDC_GO_TO_START}};
    for (char action : actions) {
        if (action == '>' || action == '<')
            QTest::keyClick(dialog.GetDlgItem(EditClipDlg::IDC_SPIN)->GetSafeHwnd(),
                            action == '>' ? Qt::Key_Right : Qt::Key_Left);
        else
            QTest::mouseClick(dialog.GetDlgItem(buttons.at(action))->GetSafeHwnd(), Qt::LeftButton);
    }
}

CString Text(EditClipDlg& dialog, int id)
{
    CString text;
    dialog.GetDlgItem(id)->GetWindowText(text);
    return text;
}
} // namespace previewtest
