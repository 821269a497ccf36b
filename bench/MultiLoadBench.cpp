// Multi Load over a tree of 100,000 empty files in 1,111 folders (sixteen extensions mixed,
// eleven of them movies), and Shuffle of 10,000 and 100,000 clips in a shown window. Each figure is
// printed as a counter beside its anchor from the same run: `find ROOT -type f` over the same tree
// for the search, fixed budgets for the rest. Run: scripts/bench.sh
#include "bench/Percentile.h"
#include "platform/files/HostPath.h"
#include "platform/framework/CWinApp.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/FileInfoArray.h"
#include "show/MovieSearch.h"
#include "show/MovieTypes.h"

#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
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

// Root, ten folders, ten in each, ten in each of those: 1,111 folders, 90 or 91 files each.
const std::string& Tree()
{
    static QTemporaryDir dir;
    static const std::string root = [] {
        const std::string path = dir.path().toStdString() + "/movies";
        ::mkdir(path.c_str(), 0700);
        std::vector<std::string> folders = {path};
        for (std::size_t i = 0; i < 111; ++i)
            for (int k = 0; k < 10; ++k) {
                folders.push_back(folders[i] + "/Folder " + std::to_string(k));
                ::mkdir(folders.back().c_str(), 0700);
            }
        for (int n = 0; n < 100000; ++n) {
            const std::string file = folders[std::size_t(n) % folders.size()] + "/Clip " +
                                     std::to_string(n) + "." + kExtensions[n % 16];
            ::close(::open(file.c_str(), O_CREAT | O_WRONLY, 0600));
        }
        return path;
    }();
    return root;
}

double CpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
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

// Wall-clock milliseconds of f, and the processor time it took into cpuMs: on a shared machine
// the second is the figure that compares between runs.
template <typename F> double Time(F&& f, double* cpuMs = nullptr)
{
    const double cpuStart = CpuMs();
    const auto start = std::chrono::steady_clock::now();
    f();
    if (cpuMs)
        *cpuMs = CpuMs() - cpuStart;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

CString ProgramRoot()
{
    CString root;
    FromHostPath(Tree(), root);
    return root;
}

void BM_SearchAgainstFind(benchmark::State& state)
{
    const CString root = ProgramRoot();
    const std::string find = "find '" + Tree() + "' -type f > /dev/null";
    // Medians over the runs, each of find and the search back to back: a single run's figures
    // swing with the machine's file caches.
    std::vector<double> findMs, searchMs, ratio, findCpuMs, searchCpuMs;
    for (auto _ : state) {
        const double childrenBefore = ChildrenCpuMs();
        findMs.push_back(Time([&] { benchmark::DoNotOptimize(std::system(find.c_str())); }));
        findCpuMs.push_back(ChildrenCpuMs() - childrenBefore);
        searchCpuMs.push_back(0);
        searchMs.push_back(Time(
            [&] {
                MovieSearch search(App().GetMovieExtensions());
                search.Run(root, true, {});
            },
            &searchCpuMs.back()));
        ratio.push_back(searchMs.back() / findMs.back());
    }
    const double literalMs = Time([&] {
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

struct Show {
    Show()
    {
        App();
        frame.resize(800, 500);
        view.Create(&frame);
        doc.AddView(&view);
        view.OnInitialUpdate();
    }
    ~Show() { doc.RemoveView(&view); }
    void Load(bool onlyNew)
    {
        CStringList results(10);
        view.SearchTree(ProgramRoot(), results, true);
        for (POSITION pos = results.GetHeadPosition(); pos;) {
            const CString& file = results.GetNext(pos);
            const int slash = file.ReverseFind('\\');
            view.AddClipFile(file.Left(slash), file.Mid(slash + 1), onlyNew);
        }
        view.UpdateTotals();
    }
    CReelmixDoc doc;
    QWidget frame;
    CReelmixView view;
};

void BM_MultiLoad(benchmark::State& state)
{
    Tree();
    double firstMs = 0, againMs = 0, firstCpuMs = 0, againCpuMs = 0;
    for (auto _ : state) {
        Show show;
        firstMs = Time([&] { show.Load(false); }, &firstCpuMs);
        againMs = Time([&] { show.Load(true); }, &againCpuMs);
        if (show.view.m_list.GetItemCount() != 68750)
            state.SkipWithError("wrong number of clips");
    }
    state.counters["load_ms"] = firstMs;
    state.counters["load_cpu_ms"] = firstCpuMs;
    state.counters["only_new_again_cpu_ms"] = againCpuMs;
    state.counters["load_anchor_ms"] = 1000;
    state.counters["only_new_again_ms"] = againMs;
    state.counters["only_new_anchor_ms"] = 1500;
}
BENCHMARK(BM_MultiLoad)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Shuffle(benchmark::State& state)
{
    const int clips = int(state.range(0));
    double ms = 0, cpuMs = 0;
    for (auto _ : state) {
        Show show;
        for (int i = 0; i < clips; ++i)
            show.view.AddClipFile("\\m", std::to_string(i).c_str(), false);
        show.frame.show(); // repainting is most of the cost when the list is seen
        std::srand(1);
        ms = Time([&] { show.view.OnShuffle(); }, &cpuMs);
    }
    state.counters["shuffle_ms"] = ms;
    state.counters["shuffle_cpu_ms"] = cpuMs;
    state.counters["anchor_ms"] = clips == 10000 ? 300 : 3000;
}
BENCHMARK(BM_Shuffle)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
} // namespace
