// Multi Load over trees of empty files (sixteen extensions mixed, eleven of them movies): 100,000
// files in 1,111 folders and 300,000 in 2,000, and Shuffle of 10,000, 100,000 and 300,000 clips
// in a shown window. Each figure is printed as a counter beside its anchor from the same run: `find
// ROOT -type f` over the same tree for the search, find plus filling the list with the same movies
// for the whole Multi Load, fixed budgets for the rest. The trees are made in a temporary folder
// and removed at the end. Run: scripts/bench.sh
#include "bench/Percentile.h"
#include "bench/ProcessMemory.h"
#include "bench/ShownView.h"
#include "bench/Stopwatch.h"
#include "platform/files/HostPath.h"
#include "platform/framework/CWinApp.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"
#include "show/FileInfoArray.h"
#include "show/MovieSearch.h"
#include "show/MovieTypes.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char* const kExtensions[] = {"avi", "mov",  "qt",  "mpg", "mpeg", "mpe", "mpv", "m1v",
                                   "mp2", "mpv2", "mpu", "txt", "jpg",  "srt", "nfo", "mp3"};

class BenchApp : public CWinApp, public MovieTypes
{
public:
    BenchApp()
    {
        for (int i = 0; i < 11; ++i)
            m_extensions.AddTail(kExtensions[i]);
    }
    const CStringList& GetMovieExtensions() const override { return m_extensions; }
    CStringList m_extensions{10};
};

BenchApp& App()
{
    static BenchApp app;
    return app;
}

// files empty files spread over folders folders: the root, ten in it, ten in each of those and
// so on, breadth first; sixteen extensions mixed, eleven of them movies. Made once per size, in a
// temporary folder removed at the end.
const std::string& Tree(int files, int folders)
{
    static std::map<std::pair<int, int>, std::pair<std::unique_ptr<QTemporaryDir>, std::string>>
        trees;
    auto& [dir, root] = trees[{files, folders}];
    if (dir)
        return root;
    dir = std::make_unique<QTemporaryDir>();
    root = dir->path().toStdString() + "/movies";
    ::mkdir(root.c_str(), 0700);
    std::vector<std::string> paths = {root};
    for (std::size_t i = 0; int(paths.size()) < folders; ++i)
        for (int k = 0; k < 10 && int(paths.size()) < folders; ++k) {
            paths.push_back(paths[i] + "/Folder " + std::to_string(k));
            ::mkdir(paths.back().c_str(), 0700);
        }
    for (int n = 0; n < files; ++n) {
        const std::string file = paths[std::size_t(n) % paths.size()] + "/Clip " +
                                 std::to_string(n) + "." + kExtensions[n % 16];
        ::close(::open(file.c_str(), O_CREAT | O_WRONLY, 0600));
    }
    return root;
}

// The tree of the search figures and the shuffle.
const std::string& Tree()
{
    return Tree(100000, 1111);
}

// Processor time of the finished child processes (the shell and find).
double ChildrenCpuMs()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

CString ProgramPath(const std::string& hostPath)
{
    CString path;
    FromHostPath(hostPath, path);
    return path;
}

// The time of find over the tree.
double FindMs(const std::string& root, double* cpuMs)
{
    const std::string find = "find '" + root + "' -type f > /dev/null";
    const double childrenBefore = ChildrenCpuMs();
    const double ms = TimeMs([&] { benchmark::DoNotOptimize(std::system(find.c_str())); });
    *cpuMs = ChildrenCpuMs() - childrenBefore;
    return ms;
}

void BM_SearchAgainstFind(benchmark::State& state)
{
    const CString root = ProgramPath(Tree());
    // Medians over the runs, each of find and the search back to back: a single run's figures
    // swing with the machine's file caches.
    std::vector<double> findMs, searchMs, ratio, findCpuMs, searchCpuMs;
    for (auto _ : state) {
        findCpuMs.push_back(0);
        findMs.push_back(FindMs(Tree(), &findCpuMs.back()));
        searchCpuMs.push_back(0);
        searchMs.push_back(TimeMs(
            [&] {
                MovieSearch search(App().GetMovieExtensions());
                search.Run(root, true, {});
            },
            &searchCpuMs.back()));
        ratio.push_back(searchMs.back() / findMs.back());
    }
    const double literalMs = TimeMs([&] {
        for (int i = 0; i < 11; ++i) {
            FileInfoArray found;
            found.FindFiles(root + "\\", CString("*.") + kExtensions[i], true, 0, false, nullptr,
                            nullptr);
        }
    });
    state.counters["search_ms"] = Percentile(searchMs, 0.5);
    state.counters["search_cpu_ms"] = Percentile(searchCpuMs, 0.5);
    state.counters["find_ms"] = Percentile(findMs, 0.5);
    state.counters["find_cpu_ms"] = Percentile(findCpuMs, 0.5);
    state.counters["search_per_find"] = Percentile(ratio, 0.5);
    state.counters["anchor_per_find"] = 1.5;
    state.counters["eleven_walks_ms"] = literalMs;
}
BENCHMARK(BM_SearchAgainstFind)->Unit(benchmark::kMillisecond)->Iterations(9);

struct Show : ShownView {
    Show() : ShownView(App(), 800, 500) {}
    // Multi Load of the whole tree at root, as a folder dropped on the window loads it.
    void Load(const std::string& root, bool onlyNew)
    {
        CReelmixView::s_searchSubDirs = true;
        CReelmixView::s_onlyAddNew = onlyNew;
        view.AddDroppedFiles({ProgramPath(root)});
        QApplication::processEvents();
    }
};

// The anchor's second part: filling a list with clips of the same files, as opening a show does.
double FillMs(const CReelmixDoc& loaded, double* cpuMs)
{
    Show show;
    for (POSITION pos = loaded.m_clips.GetHeadPosition(); pos;) {
        const auto* clip = static_cast<const Clip*>(loaded.m_clips.GetNext(pos));
        show.doc.m_clips.AddTail(new Clip(clip->m_directory, clip->m_fileName));
    }
    return TimeMs(
        [&] {
            show.view.OnInitialUpdate();
            QApplication::processEvents();
        },
        cpuMs);
}

// Multi Load of a tree against find over it plus the fill of its movies (goal: at most twice
// that), with the memory it took at its peak (goal: under 150 MB), and the same load again with
// Only Add New Files.
void BM_MultiLoad(benchmark::State& state)
{
    const std::string& root = Tree(int(state.range(0)), int(state.range(1)));
    double loadMs = 0, againMs = 0, findMs = 0, fillMs = 0, growthMiB = 0;
    double loadCpuMs = 0, againCpuMs = 0, findCpuMs = 0, fillCpuMs = 0;
    for (auto _ : state) {
        findMs = FindMs(root, &findCpuMs);
        Show show;
        const double before = MemoryKiB("VmRSS");
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts afresh
        loadMs = TimeMs([&] { show.Load(root, false); }, &loadCpuMs);
        growthMiB = (MemoryKiB("VmHWM") - before) / 1024;
        const int clips = show.view.m_list.GetItemCount();
        againMs = TimeMs([&] { show.Load(root, true); }, &againCpuMs);
        if (clips != state.range(0) / 16 * 11 + std::min(11L, state.range(0) % 16) ||
            show.view.m_list.GetItemCount() != clips)
            state.SkipWithError("wrong number of clips");
        fillMs = FillMs(show.doc, &fillCpuMs);
    }
    state.counters["load_ms"] = loadMs;
    state.counters["load_cpu_ms"] = loadCpuMs;
    state.counters["find_ms"] = findMs;
    state.counters["fill_ms"] = fillMs;
    state.counters["anchor_ms"] = findMs + fillMs;
    state.counters["anchor_cpu_ms"] = findCpuMs + fillCpuMs;
    state.counters["goal_ms"] = 2 * (findMs + fillMs);
    state.counters["memory_growth_mib"] = growthMiB;
    state.counters["memory_goal_mib"] = 150;
    state.counters["only_new_again_ms"] = againMs;
    state.counters["only_new_again_cpu_ms"] = againCpuMs;
}
BENCHMARK(BM_MultiLoad)
    ->ArgNames({"files", "folders"})
    ->Args({100000, 1111})
    ->Args({300000, 2000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_Shuffle(benchmark::State& state)
{
    const int clips = int(state.range(0));
    double ms = 0, cpuMs = 0;
    for (auto _ : state) {
        Show show; // shown: repainting is most of the cost when the list is seen
        for (int i = 0; i < clips; ++i)
            show.view.AddClipFile("\\m", std::to_string(i).c_str(), false);
        std::srand(1);
        ms = TimeMs([&] { show.view.OnShuffle(); }, &cpuMs);
    }
    state.counters["shuffle_ms"] = ms;
    state.counters["shuffle_cpu_ms"] = cpuMs;
    state.counters["goal_ms"] = clips <= 10000 ? 300 : clips <= 100000 ? 1000 : 3000;
}
BENCHMARK(BM_Shuffle)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(300000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
} // namespace
