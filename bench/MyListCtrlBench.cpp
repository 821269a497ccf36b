// Sorting a MyListCtrl of 100,000 rows by a text column and by a numeric column, as a header
// click does, from a shuffled order each time. Run: build/bench/bench_mylistctrl
#include "controls/MyListCtrl.h"

#include <QWidget>
#include <benchmark/benchmark.h>
#include <random>
#include <string>

namespace
{
constexpr int kRows = 100000;

struct Window {
    Window()
    {
        host.resize(800, 500);
        owner.Attach(&host);
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED,
                    CRect(0, 0, 800, 500), &owner, 1000);
        list.InsertColumn(0, "FileName", LVCFMT_LEFT, 200);
        list.InsertColumn(1, "Directory", LVCFMT_LEFT, 300);
        list.InsertColumn(2, "Duration", LVCFMT_RIGHT, 100);
        std::mt19937 random(7);
        for (int row = 0; row < kRows; ++row) {
            const std::string name = "Clip " + std::to_string(random() % 1000000) + ".avi";
            list.InsertItem(LVIF_TEXT | LVIF_PARAM, row, name.c_str(), 0, 0, 0, row + 1);
            list.SetItemText(row, 1, "\\home\\ann\\Movies");
            list.SetItemText(row, 2, std::to_string(random() % 100000).c_str());
        }
        host.show();
    }

    // Puts the rows in a new random order (their data values are 1 to kRows).
    void Shuffle(unsigned seed)
    {
        std::vector<unsigned> keys(kRows + 1);
        std::mt19937 random(seed);
        for (unsigned& key : keys)
            key = unsigned(random());
        list.SortItems(
            [](LPARAM a, LPARAM b, LPARAM user) {
                const auto& k = *reinterpret_cast<std::vector<unsigned>*>(user);
                return k[std::size_t(a)] < k[std::size_t(b)] ? -1 : 1;
            },
            LPARAM(&keys));
    }

    QWidget host;
    CWnd owner;
    MyListCtrl list;
};

void SortByColumn(benchmark::State& state, int column)
{
    Window window;
    unsigned seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        window.Shuffle(seed++);
        state.ResumeTiming();
        window.list.SortColumn(column, true);
    }
    state.counters["rows"] = kRows;
}

void BM_SortTextColumn(benchmark::State& state)
{
    SortByColumn(state, 0);
}
void BM_SortNumericColumn(benchmark::State& state)
{
    SortByColumn(state, 2);
}
} // namespace

BENCHMARK(BM_SortTextColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortNumericColumn)->Unit(benchmark::kMillisecond);
