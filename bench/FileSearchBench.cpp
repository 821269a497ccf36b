// Wildcard matching against names that almost match: a pattern of many * and a name that fails
// only at its last character, beside a plain "*.avi" on a name of the same length, the anchor.
// The time should grow with the name's length, never explode with the number of *. Run:
// scripts/bench.sh
#include "platform/files/FileSearch.h"

#include <benchmark/benchmark.h>
#include <string>

namespace
{
void Match(benchmark::State& state, const std::string& pattern, char last)
{
    const std::string name = std::string(size_t(state.range(0)) - 1, 'a') + last;
    for (auto _ : state)
        benchmark::DoNotOptimize(FileSearch::Matches(pattern, name));
    state.SetComplexityN(state.range(0));
}

void BM_ManyStarsAlmostMatching(benchmark::State& state)
{
    Match(state, "*a*a*a*a*a*a*a*b", 'a');
}

void BM_Anchor_PlainExtension(benchmark::State& state)
{
    Match(state, "*.avi", 'a');
}
} // namespace

BENCHMARK(BM_ManyStarsAlmostMatching)->RangeMultiplier(4)->Range(64, 4096)->Complexity();
BENCHMARK(BM_Anchor_PlainExtension)->RangeMultiplier(4)->Range(64, 4096)->Complexity();
