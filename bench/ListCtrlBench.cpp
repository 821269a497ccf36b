// Filling, sorting and searching a report list of 100,000 rows whose texts come on demand,
// in a shown window. Run: scripts/bench.sh
#include "platform/windows/CListCtrl.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace
{
constexpr int kRows = 100000;

// The owner answers every text request, as the clip list view does.
class Owner : public CWnd
{
public:
    BOOL OnNotify(WPARAM, LPARAM header, LRESULT* result) override
    {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
        if (info->hdr.code == LVN_GETDISPINFO)
            std::snprintf(info->item.pszText, std::size_t(info->item.cchTextMax), "clip %06ld/%d",
                          long(info->item.lParam), info->item.iSubItem);
        *result = 0;
        return TRUE;
    }
};

struct Window {
    Window()
    {
        host.resize(800, 500);
        owner.Attach(&host);
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                        LVS_OWNERDRAWFIXED,
                    CRect(0, 0, 800, 500), &owner, 1000);
        list.InsertColumn(0, "FileName", LVCFMT_LEFT, 200);
        list.InsertColumn(1, "Directory", LVCFMT_LEFT, 300);
        list.InsertColumn(2, "Duration", LVCFMT_RIGHT, 100);
        host.show();
    }

    void Fill()
    {
        for (int row = 0; row < kRows; ++row)
            list.InsertItem(LVIF_TEXT | LVIF_PARAM, row, LPSTR_TEXTCALLBACK, 0, 0, 0, row + 1);
    }

    QWidget host;
    Owner owner;
    CListCtrl list;
};

int Descending(LPARAM a, LPARAM b, LPARAM)
{
    return a < b ? 1 : a > b ? -1 : 0;
}

void BM_FillAndShow(benchmark::State& state)
{
    for (auto _ : state) {
        Window window;
        window.Fill();
        QApplication::processEvents();
        window.list.GetSafeHwnd()->repaint();
        if (window.list.GetItemCount() != kRows)
            state.SkipWithError("rows went missing");
    }
    state.counters["rows"] = kRows;
}

void BM_SortAndFindEveryRow(benchmark::State& state)
{
    Window window;
    window.Fill();
    for (auto _ : state) {
        window.list.SortItems(Descending, 0);
        LVFINDINFO find{LVFI_PARAM, nullptr, 0};
        for (int row = 0; row < kRows; row += 1) {
            find.lParam = row + 1;
            benchmark::DoNotOptimize(window.list.FindItem(&find));
        }
    }
    state.counters["rows"] = kRows;
}

void BM_ScrollThroughPages(benchmark::State& state)
{
    Window window;
    window.Fill();
    QApplication::processEvents();
    const int page = window.list.GetCountPerPage();
    int row = 0;
    for (auto _ : state) {
        row = (row + page) % kRows;
        window.list.EnsureVisible(row, FALSE);
        window.list.GetSafeHwnd()->repaint();
    }
}
} // namespace

BENCHMARK(BM_FillAndShow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAndFindEveryRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollThroughPages)->Unit(benchmark::kMicrosecond);
