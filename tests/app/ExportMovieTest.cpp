#include "app/CMainFrame.h"
#include "platform/files/HostPath.h"
#include "render/dialog/ExportMovieDlg.h"
#include "render/dialog/RenderProgressDlg.h"
#include "res/StringIds.h"
#include "show/Clip.h"
#include "tests/app/AppFixture.h"
#include "tests/support/RenderTestMovies.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QtTest/QTest>

// File > Export Show As Movie asks for the movie's name, takes the choices with the keyboard,
// shows the render's progress and says where the movie went.
TEST_F(AppFixture, ExportShowAsMovieRendersTheShowFromTheKeyboard)
{
    // A quit left by an earlier test would end every modal loop at once; a run of the
    // application's own loop clears it.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    ASSERT_TRUE(Start());
    const QFileInfo movie(rendertest::Movie(rendertest::H264Spec("export.mp4", 100)));
    CString folder;
    ASSERT_TRUE(FromHostPath(movie.absolutePath().toStdString(), folder));
    auto* clip = new Clip(folder, CString(movie.fileName().toStdString()));
    clip->m_start = 0.2;
    clip->m_end = 1.0;
    Doc()->m_clips.AddTail(clip);
    const std::string target = testfiles::NewPath("show.mkv");
    m_fileAnswers.push_back(target);

    bool progressShown = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (qobject_cast<ExportMovieDlg*>(dialog))
            QTest::keyClick(dialog, Qt::Key_Return);
        progressShown |= qobject_cast<RenderProgressDlg*>(dialog) != nullptr;
    });
    answer.start(10);
    EXPECT_TRUE(Frame()->OnCommand(ID_FILE_EXPORT_MOVIE));
    answer.stop();

    EXPECT_EQ(m_dialogTitles, std::vector<CString>{"Export Show As Movie"});
    EXPECT_TRUE(progressShown);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(QString(m_messages[0]).contains(QString::fromStdString(target) + " (20 pictures)"))
        << m_messages[0];
    std::vector<int> expected;
    for (int n = 105; n < 125; ++n)
        expected.push_back(n);
    EXPECT_EQ(rendertest::PictureNumbers(QString::fromStdString(target)), expected);
}
