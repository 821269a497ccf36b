// Saving and loading a show of 100,000 clips. Run: scripts/bench.sh
#include "show/CReelmixDoc.h"
#include "show/Clip.h"

#include "platform/files/HostPath.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>

namespace
{
constexpr int kClips = 100000;

void Fill(CReelmixDoc& doc)
{
    for (int i = 0; i < kClips; ++i) {
        CString name;
        name.Format("holiday clip %06d.avi", i);
        auto* clip = new Clip("\\home\\ann\\Movies\\Summer 2026\\Beach", name);
        clip->m_start = i * 0.04;
        clip->m_end = i * 0.04 + 12.5;
        doc.m_clips.AddTail(clip);
    }
}

CString ShowPath(const QTemporaryDir& dir)
{
    CString path;
    FromHostPath(dir.filePath("bench.rlx").toStdString(), path);
    return path;
}

void BM_SaveShow(benchmark::State& state)
{
    QTemporaryDir dir;
    CReelmixDoc doc;
    Fill(doc);
    const CString path = ShowPath(dir);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.OnSaveDocument(path));
    state.counters["clips"] = kClips;
    state.counters["file_bytes"] = double(std::filesystem::file_size(ToHostPath(path)));
}

void BM_LoadShow(benchmark::State& state)
{
    QTemporaryDir dir;
    const CString path = ShowPath(dir);
    {
        CReelmixDoc doc;
        Fill(doc);
        doc.OnSaveDocument(path);
    }
    CReelmixDoc doc;
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.OnOpenDocument(path));
        if (doc.m_clips.GetCount() != kClips)
            state.SkipWithError("the show did not load whole");
    }
    state.counters["clips"] = kClips;
}
} // namespace

BENCHMARK(BM_SaveShow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadShow)->Unit(benchmark::kMillisecond);
