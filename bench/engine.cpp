// Engine speed: the real Shoot loop, a hand-written loop doing the same draws
// and counter updates with the tables written as thresholds, and a run that
// keeps its records as the window does. All make the same plays from seed 5.

#include "engine/Slot.h"
#include "runs/RunDriver.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr std::uint32_t Seed = 5;

void Counters(benchmark::State& state, long long shots) {
    const double plays = static_cast<double>(state.range(0)) * state.iterations();
    state.counters["plays/s"] = benchmark::Counter(plays, benchmark::Counter::kIsRate);
    state.counters["shots/play"] = static_cast<double>(shots) / static_cast<double>(state.range(0));
}

void BM_EngineShoot(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    Slot machine;
    long long shots = 0;
    for (auto _ : state) {
        machine.Random().Seed(Seed);
        machine.Reset();
        machine.SetBorder(12.5);
        shots = 0;
        while (machine.PlayNo < plays) {
            machine.Shoot();
            ++shots;
        }
        benchmark::DoNotOptimize(machine.Balls);
    }
    Counters(state, shots);
}

// The baseline: everything in locals, lookups as comparisons with constants.
void BM_HandLoop(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    long long shots = 0;
    for (auto _ : state) {
        RandomSource rng;
        rng.Seed(Seed);
        const int w = Slot::BorderWeight(12.5);
        int sinceHit = 0, playNo = 0, balls = 0, mode = 0, chain = 0;
        shots = 0;
        auto draw = [&rng] { return rng.Draw16(); };
        while (playNo < plays) {
            ++shots;
            --balls;
            if (mode == 0) {
                if (draw() < w) {
                    ++playNo;
                    ++sinceHit;
                    balls += 3;
                    if (draw() < 165) {
                        chain = 1;
                        mode = draw() < 32768 ? 2 : 1;
                        continue;
                    }
                }
                const int r = draw();
                if (r >= w + 32768 && r < w + 32768 + 131) {
                    balls += 14;
                }
                continue;
            }
            if (mode == 2 && chain != 1 && draw() >= 6553) {
                continue;
            }
            for (int round = 0; round < 15; ++round) {
                for (int count = 0; count < 9;) {
                    --balls;
                    if (draw() < w) {
                        balls += 3;
                    }
                    const int a = draw();
                    if (a >= w && a < w + 32768) {
                        balls += 13;
                        ++count;
                    }
                    const int e = draw();
                    if (e >= w + 32768 && e < w + 32768 + 131) {
                        balls += 14;
                    }
                }
            }
            if (mode == 1 || (chain != 1 && draw() >= 53739)) {
                sinceHit = 0;
                mode = 0;
            } else {
                ++playNo;
                ++sinceHit;
                ++chain;
            }
        }
        benchmark::DoNotOptimize(balls);
        benchmark::DoNotOptimize(sinceHit);
        benchmark::DoNotOptimize(chain);
    }
    Counters(state, shots);
}

void BM_RecordedRun(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    Slot machine;
    RunRecords records;
    long long shots = 0;
    for (auto _ : state) {
        machine.Random().Seed(Seed);
        machine.Reset();
        machine.SetBorder(12.5);
        shots = RecordPlays(machine, plays, records);
        benchmark::DoNotOptimize(records.BallCounts.data());
    }
    Counters(state, shots);
}

} // namespace

BENCHMARK(BM_HandLoop)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineShoot)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordedRun)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
