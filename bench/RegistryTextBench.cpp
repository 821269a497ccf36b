// Importing and exporting a 20 MB settings text of 97,500 keys: 40,000 sibling keys, the rest
// in groups, three values each, and one 2 MB binary value. Goal: each under 5 s.
// Run: scripts/bench.sh
#include "platform/registry/RegistryText.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

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
} // namespace

BENCHMARK(BM_ImportSettings)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK(BM_ExportSettings)->Unit(benchmark::kSecond)->Iterations(2);
