// A student's name made into the log file names' part, from a typed name to
// one pasted at the length a prompt takes: the cut must stay linear in the
// name's length, so start-up does not stall on it.  Google Benchmark fits the
// order over the sizes (the "BigO" row should say N).

#include <benchmark/benchmark.h>

#include <string>

#include "drill/LogFileNames.h"

namespace {

void BM_FileNamePart(benchmark::State& state, std::u16string_view piece) {
    std::u16string name;
    while (name.size() < static_cast<std::size_t>(state.range(0))) name += piece;
    for (auto _ : state) benchmark::DoNotOptimize(qadrill::fileNamePart(name));
    state.SetComplexityN(state.range(0));
}

BENCHMARK_CAPTURE(BM_FileNamePart, ascii, u"a")->RangeMultiplier(10)->Range(100, 100'000)->Complexity();
BENCHMARK_CAPTURE(BM_FileNamePart, cjk, u"\u4e2d")->RangeMultiplier(10)->Range(100, 100'000)->Complexity();
BENCHMARK_CAPTURE(BM_FileNamePart, emoji, u"\U0001F600")->RangeMultiplier(10)->Range(100, 100'000)->Complexity();

}  // namespace

BENCHMARK_MAIN();
