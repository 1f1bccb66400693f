// The exact tables: one whole table for `theory --plays N` (targets: 10,000
// plays well under a second, about 0.2 s; 100,000 plays within 2 s and
// 200 MB), and a study's exact bands beside the cost of simulating a
// thousand runs of the same length.

#include "runs/Study.h"
#include "stats/ExactBalance.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>

namespace {

double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ExactTable(benchmark::State& state) {
    const ExactBalance exact(12.5);
    std::size_t size = 0;
    for (auto _ : state) {
        const BalanceTable t = exact.Distribution(state.range(0));
        size = t.Probability.size();
        benchmark::DoNotOptimize(t.Probability.data());
    }
    state.counters["points"] = static_cast<double>(exact.PointsFor(state.range(0)));
    state.counters["balances"] = static_cast<double>(size);
    state.counters["peak_MB"] = PeakRssMegabytes();
}

void BM_ExactBands(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    StudyFigures f;
    f.Border = 12.5;
    f.Plays = plays;
    f.BandPlays = BandPlayCounts(plays);
    for (auto _ : state) {
        AddExactFigures(f, 1);
        benchmark::DoNotOptimize(f.TheoryBands.data());
    }
}

// The yardstick: a thousand simulated runs of the same length on one thread.
void BM_ThousandRuns(benchmark::State& state) {
    StudyRequest r;
    r.Plays = static_cast<int>(state.range(0));
    r.Runs = 1000;
    r.Borders = {12.5};
    r.Seed = 1;
    r.Jobs = 1;
    r.Exact = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunStudy(r));
    }
}

} // namespace

BENCHMARK(BM_ExactTable)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactBands)->Arg(300)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThousandRuns)->Arg(300)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
