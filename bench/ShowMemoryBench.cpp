// Peak resident memory of the program: empty, and with a show of 100,000 clips opened, shown,
// sorted by a header click and saved. Peaks only grow, so each figure is taken in a process of
// its own: this program runs itself once per show. Run: scripts/bench.sh
#include "app/CMainFrame.h"
#include "app/CReelmixApp.h"
#include "bench/ProcessMemory.h"
#include "platform/files/HostPath.h"
#include "res/Resources.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"

#include <QApplication>
#include <QHeaderView>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>

namespace
{
constexpr int kClips = 100000;

// The program as a person starts it; once its window is up, the show is sorted and saved and
// the peak is printed.
class MeasuredApp : public CReelmixApp
{
public:
    MeasuredApp() : CReelmixApp(RUNTIME_CLASS(CReelmixView)) {}

    BOOL InitInstance() override
    {
        if (!CReelmixApp::InitInstance())
            return FALSE;
        QTimer::singleShot(0, [this] { SortSaveAndReport(); });
        return TRUE;
    }

private:
    void SortSaveAndReport()
    {
        QApplication::processEvents();
        auto* frame = static_cast<CFrameWnd*>(m_pMainWnd);
        auto* view = static_cast<CReelmixView*>(frame->GetActiveView());
        auto* doc = view->GetDocument();
        if (!doc->GetPathName().IsEmpty()) {
            auto* header = static_cast<QHeaderView*>(view->m_list.GetHeaderCtrl()->GetSafeHwnd());
            emit header->sectionClicked(0);
            QApplication::processEvents();
            doc->DoFileSave();
        }
        std::printf("%ld %d\n", long(MemoryKiB("VmHWM")), int(doc->m_clips.GetCount()));
        PostQuitMessage(0);
    }
};

// Runs this program on show (or on nothing) and returns the peak it printed in MiB, or -1 when
// the show did not open whole.
double MeasuredMiB(const QString& self, const QStringList& show, int clips)
{
    QProcess child;
    child.start(self, QStringList{"--measure"} + show);
    child.waitForFinished(-1);
    const QStringList said = QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(' ');
    return said.size() == 2 && said[1].toInt() == clips ? said[0].toDouble() / 1024 : -1;
}

void WriteShow(const QString& hostPath)
{
    CReelmixDoc doc;
    for (int i = 0; i < kClips; ++i) {
        CString name;
        name.Format("holiday clip %06d.avi", i);
        auto* clip = new Clip("\\home\\ann\\Movies\\Summer 2026\\Beach", name);
        clip->m_start = i * 0.04;
        clip->m_end = i * 0.04 + 12.5;
        doc.m_clips.AddTail(clip);
    }
    CString path;
    FromHostPath(hostPath.toStdString(), path);
    doc.OnSaveDocument(path);
}
} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::string(argv[1]) == "--measure") {
        argv[1] = argv[0];
        RegisterResources();
        MeasuredApp theApp;
        return AfxWinMain(argc - 1, argv + 1);
    }
    QTemporaryDir dir;
    qputenv("REELMIX_REGISTRY", dir.filePath("registry.db").toUtf8());
    const QString show = dir.filePath("big.rlx");
    WriteShow(show);
    const QString self = QString::fromLocal8Bit(argv[0]);
    std::printf("peak resident memory of reelmix: empty %.1f MiB, %d clips opened, shown, sorted "
                "and saved %.1f MiB\n",
                MeasuredMiB(self, {}, 0), kClips, MeasuredMiB(self, {show}, kClips));
    return 0;
}
