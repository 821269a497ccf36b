// Importing and exporting a 20 MB settings text of 97,500 keys: 40,000 sibling keys, the rest
// in groups, three values each, and one 2 MB binary value. Goal: each under 5 s.
// A hex list of 100,000 lines after 1,000,000 leading blanks, beside the same list without
// them. Goal: about the same time, well under a second.
// The peak memory of reelmix-registry importing 63 MiB of empty sections, beside the text's
// size. Goal: at most 3 times the text.
// Run: scripts/bench.sh
#include "platform/registry/RegistryText.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
constexpr int kKeys = 97500;
constexpr int kSiblings = 40000;
constexpr int kBigValueBytes = 2 << 20;
constexpr const char* kRoot = "HKEY_CURRENT_USER\\Software\\Bench";

// The store lives in a folder of its own for the whole run.
void UseOwnStore()
{
    static QTemporaryDir dir;
    qputenv("REELMIX_REGISTRY", dir.filePath("registry.db").toUtf8());
}

std::string KeyPath(int i)
{
    char path[96];
    if (i < kSiblings)
        std::snprintf(path, sizeof path, "%s\\Wide\\Key %05d", kRoot, i);
    else
        std::snprintf(path, sizeof path, "%s\\Groups\\Group %03d\\Key %05d", kRoot, i / 250, i);
    return path;
}

// Starts by deleting what an earlier pass imported, so that every pass writes everything anew.
const std::string& Text()
{
    static std::string text;
    if (!text.empty())
        return text;
    text = "REGEDIT4\n\n[-" + std::string(kRoot) + "]\n\n";
    char values[256];
    for (int i = 0; i < kKeys; ++i) {
        std::snprintf(values, sizeof values,
                      "\"Title\"=\"Clip %05d at sunset\"\n"
                      "\"Length\"=dword:%08x\n"
                      "\"Marks\"=hex:%02x,01,02,03,04,05,06,07\n",
                      i, i * 40, i & 0xFF);
        text += "[" + KeyPath(i) + "]\n" + values + "\n";
    }
    text += "[" + std::string(kRoot) + "]\n\"Big\"=hex:00";
    for (int i = 1; i < kBigValueBytes; ++i)
        text += (i % 25 == 0) ? ",\\\n  00" : ",00";
    text += "\n";
    return text;
}

void BM_ImportSettings(benchmark::State& state)
{
    UseOwnStore();
    std::string error;
    for (auto _ : state) {
        if (!RegistryText::Import(Text(), error))
            state.SkipWithError(error.c_str());
    }
    state.counters["keys"] = kKeys;
    state.counters["text_MB"] = double(Text().size()) / (1 << 20);
}

void BM_ExportSettings(benchmark::State& state)
{
    UseOwnStore();
    std::string error;
    std::string text;
    if (!RegistryText::Import(Text(), error))
        state.SkipWithError(error.c_str());
    for (auto _ : state) {
        if (!RegistryText::Export(kRoot, text, error))
            state.SkipWithError(error.c_str());
    }
    state.counters["text_MB"] = double(text.size()) / (1 << 20);
}
// One value whose hex list goes on over 100,000 lines, led by blanks.
std::string HexListText(std::size_t blanks)
{
    std::string text = "REGEDIT4\n\n[" + std::string(kRoot) + "\\List]\n" +
                       std::string(blanks, ' ') + "\"v\"=hex:00,\\\n";
    for (int i = 0; i < 100000; ++i)
        text += "  00,\\\n";
    return text + "  00\n";
}

void BM_ImportHexList(benchmark::State& state)
{
    UseOwnStore();
    const std::string text = HexListText(std::size_t(state.range(0)));
    std::string error;
    for (auto _ : state) {
        if (!RegistryText::Import(text, error))
            state.SkipWithError(error.c_str());
    }
    state.counters["blanks"] = double(state.range(0));
}

// The tool as a person runs it, in a process of its own, so that its peak is its own.
void BM_ImportPeakMemory(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("empty.reg").toStdString();
    const std::string section = "[" + std::string(kRoot) + "\\Empty]\n";
    std::size_t size = 0;
    {
        std::ofstream out(file, std::ios::binary);
        out << "REGEDIT4\n\n";
        for (; size < (63u << 20); size += section.size())
            out << section;
    }
    const std::string store = dir.filePath("registry.db").toStdString();
    long peakKiB = 0;
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            ::setenv("REELMIX_REGISTRY", store.c_str(), 1);
            ::execl(REELMIX_REGISTRY_TOOL, REELMIX_REGISTRY_TOOL, "import", file.c_str(), nullptr);
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (::wait4(child, &status, 0, &usage) != child || status != 0)
            state.SkipWithError("the import failed");
        peakKiB = usage.ru_maxrss;
    }
    state.counters["text_MiB"] = double(size) / (1 << 20);
    state.counters["peak_MiB"] = double(peakKiB) / 1024;
    state.counters["peak_per_text"] = double(peakKiB) * 1024 / double(size);
}
} // namespace

BENCHMARK(BM_ImportHexList)->Arg(0)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPeakMemory)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ImportSettings)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK(BM_ExportSettings)->Unit(benchmark::kSecond)->Iterations(2);
