// Engine speed: the real Shoot loop, a hand-written loop doing the same draws
// and counter updates with the tables written as thresholds, the fast engine
// on each path, the fastest exact loop we know (FastReference.h) and a run
// that keeps its records as the window does. All make the same plays from
// seed 5. "tsc/play" is time-stamp-counter ticks per play (the base clock).

#include "FastReference.h"
#include "engine/FastSlot.h"
#include "engine/Slot.h"
#include "runs/RunDriver.h"

#include <benchmark/benchmark.h>
#include <x86intrin.h>

#include <cstdint>

namespace {

constexpr std::uint32_t Seed = 5;

void Counters(benchmark::State& state, long long shots, std::uint64_t ticks = 0) {
    const double plays = static_cast<double>(state.range(0)) * state.iterations();
    state.counters["plays/s"] = benchmark::Counter(plays, benchmark::Counter::kIsRate);
    state.counters["shots/play"] = static_cast<double>(shots) / static_cast<double>(state.range(0));
    if (ticks != 0) {
        state.counters["tsc/play"] = static_cast<double>(ticks) / plays;
    }
}

void BM_FastReference(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    // An exact loop: it must end where the engine ends.
    RandomSource source;
    source.Seed(Seed);
    Slot machine(source);
    machine.Reset();
    machine.SetBorder(12.5);
    machine.ShootUntil(plays, [](int, int, int, int, int) {});
    const fastref::Result check = fastref::Run(Seed, plays);
    if (check.Balls != machine.Balls || check.Chain != machine.Chain ||
        check.SinceHit != machine.SinceHit || check.Mode != machine.Mode) {
        state.SkipWithError("the reference loop does not match the engine");
        return;
    }
    std::uint64_t ticks = 0;
    for (auto _ : state) {
        const std::uint64_t t0 = __rdtsc();
        const fastref::Result r = fastref::Run(Seed, plays);
        ticks += __rdtsc() - t0;
        benchmark::DoNotOptimize(r);
    }
    Counters(state, 0, ticks);
}

// Finals only on the given path.
void BM_FastEngine(benchmark::State& state, EnginePath path) {
    if (!PathAvailable(path)) {
        state.SkipWithError("path not available on this processor");
        return;
    }
    const int plays = static_cast<int>(state.range(0));
    long long shots = 0;
    std::uint64_t ticks = 0;
    for (auto _ : state) {
        const std::uint64_t t0 = __rdtsc();
        RandomSource source;
        source.Seed(Seed);
        Slot machine(source);
        machine.Reset();
        machine.SetBorder(12.5);
        FastSlot fast(machine, path);
        while (fast.PlayNo() < plays) {
            fast.Run(plays);
        }
        ticks += __rdtsc() - t0;
        shots = fast.Shots();
        benchmark::DoNotOptimize(fast.Balls());
    }
    Counters(state, shots, ticks);
}

void BM_EngineShoot(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    Slot machine;
    long long shots = 0;
    std::uint64_t ticks = 0;
    for (auto _ : state) {
        machine.Random().Seed(Seed);
        machine.Reset();
        machine.SetBorder(12.5);
        shots = 0;
        const std::uint64_t t0 = __rdtsc();
        while (machine.PlayNo < plays) {
            machine.Shoot();
            ++shots;
        }
        ticks += __rdtsc() - t0;
        benchmark::DoNotOptimize(machine.Balls);
    }
    Counters(state, shots, ticks);
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

// What a run cost before the fast engine: Slot::ShootUntil appending records.
void BM_ShootUntilRecords(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    RunRecords records;
    long long shots = 0;
    std::uint64_t ticks = 0;
    for (auto _ : state) {
        RandomSource source;
        source.Seed(Seed);
        Slot machine(source);
        machine.Reset();
        machine.SetBorder(12.5);
        const std::uint64_t t0 = __rdtsc();
        records.Clear();
        records.Reserve(static_cast<std::size_t>(plays));
        shots = machine.ShootUntil(plays, [&records](int s, int b, int c, int p, int m) {
            records.Append(s, b, c, p, m);
        });
        ticks += __rdtsc() - t0;
        benchmark::DoNotOptimize(records.BallCounts.data());
    }
    Counters(state, shots, ticks);
}

void BM_RecordedRun(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    Slot machine;
    RunRecords records;
    long long shots = 0;
    std::uint64_t ticks = 0;
    for (auto _ : state) {
        machine.Random().Seed(Seed);
        machine.Reset();
        machine.SetBorder(12.5);
        const std::uint64_t t0 = __rdtsc();
        shots = RecordPlays(machine, plays, records);
        ticks += __rdtsc() - t0;
        benchmark::DoNotOptimize(records.BallCounts.data());
    }
    Counters(state, shots, ticks);
}

} // namespace

BENCHMARK(BM_FastReference)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FastEngine, avx2, EnginePath::Avx2)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FastEngine, portable, EnginePath::Portable)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandLoop)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineShoot)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShootUntilRecords)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordedRun)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
