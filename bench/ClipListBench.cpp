// The clip list of a show of 100,000 clips in a shown window, each figure beside its anchor from
// the same run: filling the list (goal 150 ms); opening the show from its file (goal 3 x the
// anchor: a raw read of the file plus the fill); sorting by each column with a header click
// (goal 100 ms; anchor: std::sort of the same 100,000 texts); scrolling page by page (goal: 60
// pages a second). Run: build-bench/bench/bench_cliplist
#include "bench/Percentile.h"
#include "bench/ShownView.h"
#include "bench/Stopwatch.h"
#include "platform/files/HostPath.h"
#include "platform/framework/CWinApp.h"
#include "show/CReelmixDoc.h"
#include "show/CReelmixView.h"
#include "show/Clip.h"

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace
{
constexpr int kClips = 100000;

// Clips in no order: names and folders drawn at random, a third without marks.
void Fill(CReelmixDoc& doc, int clips)
{
    std::mt19937 random(11);
    for (int i = 0; i < clips; ++i) {
        const std::string folder = "\\home\\ann\\Movies\\Trip " + std::to_string(random() % 300);
        const std::string name =
            (random() % 2 ? "Clip " : "clip ") + std::to_string(random() % 1000000) + ".avi";
        auto* clip = new Clip(folder.c_str(), name.c_str());
        if (i % 3) {
            clip->m_start = double(random() % 100000) / 25;
            clip->m_end = clip->m_start + double(random() % 100000) / 25;
        }
        doc.m_clips.AddTail(clip);
    }
}

CWinApp& App()
{
    static CWinApp app;
    return app;
}

struct Show : ShownView {
    Show() : ShownView(App(), 900, 600) {}

    // What the framework does after New or Open: the rows from the document, then a picture.
    void FillFromDocument()
    {
        view.OnInitialUpdate();
        QApplication::processEvents();
        frame.repaint();
    }
};

void BM_FillAndOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    CString path;
    FromHostPath(dir.filePath("show.rlx").toStdString(), path);
    double fillMs = 0, openMs = 0, readMs = 0, fillCpuMs = 0, openCpuMs = 0, readCpuMs = 0;
    for (auto _ : state) {
        Show show;
        Fill(show.doc, kClips);
        show.doc.OnSaveDocument(path);
        fillMs = TimeMs([&] { show.FillFromDocument(); }, &fillCpuMs);
        readMs = TimeMs(
            [&] {
                std::ifstream file(ToHostPath(path), std::ios::binary);
                std::vector<char> bytes(std::size_t(file.seekg(0, std::ios::end).tellg()));
                file.seekg(0).read(bytes.data(), std::streamsize(bytes.size()));
                benchmark::DoNotOptimize(bytes.data());
            },
            &readCpuMs);
        openMs = TimeMs(
            [&] {
                show.doc.OnOpenDocument(path);
                show.FillFromDocument();
            },
            &openCpuMs);
        if (show.view.m_list.GetItemCount() != kClips)
            state.SkipWithError("the show did not open whole");
    }
    state.counters["fill_ms"] = fillMs;
    state.counters["fill_cpu_ms"] = fillCpuMs;
    state.counters["fill_goal_ms"] = 150;
    state.counters["open_ms"] = openMs;
    state.counters["open_cpu_ms"] = openCpuMs;
    state.counters["open_anchor_ms"] = readMs + fillMs;
    state.counters["open_anchor_cpu_ms"] = readCpuMs + fillCpuMs;
    state.counters["open_goal_ms"] = 3 * (readMs + fillMs);
}
BENCHMARK(BM_FillAndOpen)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SortByHeader(benchmark::State& state)
{
    const int column = int(state.range(0));
    Show show;
    Fill(show.doc, kClips);
    show.FillFromDocument();
    auto* header = static_cast<QHeaderView*>(show.view.m_list.GetHeaderCtrl()->GetSafeHwnd());
    std::vector<double> sortMs, anchorMs, sortCpuMs, anchorCpuMs;
    for (auto _ : state) {
        sortCpuMs.push_back(0);
        sortMs.push_back(TimeMs([&] { emit header->sectionClicked(column); }, &sortCpuMs.back()));
        std::vector<std::string> keys;
        keys.reserve(kClips);
        for (int row = 0; row < kClips; ++row)
            keys.push_back(show.view.m_list.GetItemText(row, column).Str());
        std::shuffle(keys.begin(), keys.end(), std::mt19937(5));
        anchorCpuMs.push_back(0);
        anchorMs.push_back(
            TimeMs([&] { std::sort(keys.begin(), keys.end()); }, &anchorCpuMs.back()));
    }
    state.counters["sort_ms"] = Percentile(sortMs, 0.5);
    state.counters["sort_cpu_ms"] = Percentile(sortCpuMs, 0.5);
    state.counters["std_sort_ms"] = Percentile(anchorMs, 0.5);
    state.counters["std_sort_cpu_ms"] = Percentile(anchorCpuMs, 0.5);
    state.counters["goal_ms"] = 100;
}
BENCHMARK(BM_SortByHeader)
    ->ArgName("column")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

void BM_ScrollPageByPage(benchmark::State& state)
{
    Show show;
    Fill(show.doc, kClips);
    show.FillFromDocument();
    CListCtrl& list = show.view.m_list;
    const int page = list.GetCountPerPage();
    int row = 0;
    std::vector<double> pageMs, pageCpuMs;
    for (auto _ : state) {
        pageCpuMs.push_back(0);
        pageMs.push_back(TimeMs(
            [&] {
                row = (row + page) % kClips;
                list.EnsureVisible(row, FALSE);
                list.GetSafeHwnd()->repaint();
            },
            &pageCpuMs.back()));
    }
    state.counters["page_ms"] = Percentile(pageMs, 0.5);
    state.counters["page_ms_p95"] = Percentile(pageMs, 0.95);
    state.counters["page_cpu_ms"] = Percentile(pageCpuMs, 0.5);
    state.counters["goal_ms"] = 1000.0 / 60;
}
BENCHMARK(BM_ScrollPageByPage)->Unit(benchmark::kMillisecond)->Iterations(300);
} // namespace
