// A show of 1,000,000 clips in a shown window: opened from its file, scrolled page by page,
// sorted by a header click, shuffled and saved, each step timed, with the peak memory of the
// process that did them (goal: under 1 GB). This program writes the show first and then runs
// itself on it, so that writing it does not count in the peak.
// Run: build-bench/bench/bench_millionclips
#include "bench/Percentile.h"
#include "bench/ProcessMemory.h"
#include "bench/ShownView.h"
#include "bench/Stopwatch.h"
#include "platform/files/HostPath.h"
#include "platform/framework/CWinApp.h"
#include "res/Resources.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"

#include <QApplication>
#include <QHeaderView>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace
{
constexpr int kClips = 1000000;
constexpr int kPages = 200;

CString ProgramPath(const QString& hostPath)
{
    CString path;
    FromHostPath(hostPath.toStdString(), path);
    return path;
}

void WriteShow(const QString& path)
{
    CReelmixDoc doc;
    std::mt19937 random(3);
    for (int i = 0; i < kClips; ++i) {
        const std::string folder = "\\home\\ann\\Movies\\Trip " + std::to_string(random() % 1000);
        const std::string name = "clip " + std::to_string(random() % 10000000) + ".avi";
        auto* clip = new Clip(folder.c_str(), name.c_str());
        if (i % 3) {
            clip->m_start = double(random() % 100000) / 25;
            clip->m_end = clip->m_start + double(random() % 100000) / 25;
        }
        doc.m_clips.AddTail(clip);
    }
    doc.OnSaveDocument(ProgramPath(path));
}

// The steps, in a process of their own; prints one line of figures.
int RunSteps(int argc, char** argv)
{
    QApplication application(argc, argv);
    CWinApp app;
    ShownView shown(app, 900, 600);
    CReelmixDoc& doc = shown.doc;
    CReelmixView& view = shown.view;

    const QString show = QString::fromLocal8Bit(argv[2]);
    double openCpu = 0, pageCpu = 0, sortCpu = 0, shuffleCpu = 0, saveCpu = 0;
    const double openMs = TimeMs(
        [&] {
            doc.OnOpenDocument(ProgramPath(show));
            view.OnInitialUpdate();
            QApplication::processEvents();
            shown.frame.repaint();
        },
        &openCpu);
    CListCtrl& list = view.m_list;
    std::vector<double> pageMs;
    for (int page = 1; page <= kPages; ++page)
        pageMs.push_back(TimeMs(
            [&] {
                list.EnsureVisible(page * list.GetCountPerPage() * 37 % kClips, FALSE);
                list.GetSafeHwnd()->repaint();
            },
            &pageCpu));
    auto* header = static_cast<QHeaderView*>(list.GetHeaderCtrl()->GetSafeHwnd());
    const double sortMs = TimeMs([&] { emit header->sectionClicked(1); }, &sortCpu);
    std::srand(1);
    const double shuffleMs = TimeMs([&] { view.OnShuffle(); }, &shuffleCpu);
    const double saveMs =
        TimeMs([&] { doc.OnSaveDocument(ProgramPath(show + ".saved")); }, &saveCpu);
    std::printf("%d clips, wall (processor) ms: open %.0f (%.0f), scroll a page %.2f (%.2f; goal "
                "%.2f), sort by a header %.0f (%.0f), shuffle %.0f (%.0f), save %.0f (%.0f); "
                "peak memory %.0f MiB (goal under 1024)\n",
                list.GetItemCount(), openMs, openCpu, Percentile(pageMs, 0.5), pageCpu / kPages,
                1000.0 / 60, sortMs, sortCpu, shuffleMs, shuffleCpu, saveMs, saveCpu,
                MemoryKiB("VmHWM") / 1024);
    return list.GetItemCount() == kClips ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    RegisterResources();
    if (argc > 2 && std::string(argv[1]) == "--steps")
        return RunSteps(argc, argv);
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    // The view keeps its column widths: in a store of the run's own, never the user's.
    qputenv("REELMIX_REGISTRY", dir.filePath("registry.db").toUtf8());
    const QString show = dir.filePath("million.rlx");
    WriteShow(show);
    QProcess steps;
    steps.setProcessChannelMode(QProcess::ForwardedChannels);
    steps.start(QString::fromLocal8Bit(argv[0]), {"--steps", show});
    steps.waitForFinished(-1);
    return steps.exitCode();
}
