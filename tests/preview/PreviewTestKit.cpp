#include "tests/preview/PreviewTestKit.h"

#include "preview/EditClipDlg.h"
#include "show/Clip.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <map>

namespace previewtest
{
std::string MakeMovie(const std::string& name, const QStringList& arguments)
{
    const std::string movie = testfiles::NewPath(name);
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", QStringList{"-loglevel", "error", "-y"} + arguments +
                               QStringList{QString::fromStdString(movie)});
    const bool made = ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0;
    EXPECT_TRUE(made) << name << ": " << ffmpeg.readAllStandardError().toStdString();
    return made ? movie : std::string();
}

const std::string& FourSecondMovie()
{
    static const std::string movie =
        MakeMovie("movie.avi", {"-f", "lavfi", "-i", "testsrc=duration=4:size=160x120:rate=25",
                                "-c:v", "mpeg4"});
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

bool Await(const std::function<bool()>& condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 30000)
        QTest::qWait(10);
    return condition();
}

int RunEditor(Clip& clip, const std::function<void(EditClipDlg&)>& act)
{
    EditClipDlg dialog(&clip);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(Await([&] { return dialog.m_player.GetDuration() > 0; }));
        act(dialog);
    });
    return dialog.DoModal();
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
