// Study speed: one run of the study against the same run on the bare engine
// (the study's own cost per run), and whole studies on one and on two threads
// (wall time). With "cli" as first argument it runs the study command itself,
// for timing whole studies with /usr/bin/time:
//   bench_study cli --plays 1000000 --runs 1000 --seed 1 [--jobs J] [--border B] ...

#include "runs/Study.h"
#include "FastReference.h"
#include "cli/StudyCommand.h"
#include "engine/Slot.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <thread>

namespace {

constexpr std::uint32_t Seed = 5;

void BM_EngineOnlyRun(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    for (auto _ : state) {
        RandomSource source;
        source.Seed(Seed);
        Slot machine(source);
        machine.Reset();
        machine.SetBorder(12.5);
        machine.ShootUntil(plays, [](int, int, int, int, int) {});
        benchmark::DoNotOptimize(machine.Balls);
    }
    state.counters["plays/s"] = benchmark::Counter(static_cast<double>(plays) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EngineOnlyRun)->Arg(20000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_StudyRun(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    const std::vector<int> bands = BandPlayCounts(plays);
    std::vector<std::int32_t> balances(bands.size());
    std::atomic<std::int64_t> done{0};
    std::stop_source stop;
    RunPath path;
    // Run after run of one study, as its workers take them: a single seed
    // over and over would let the branch predictors learn its draws.
    int run = 0;
    for (auto _ : state) {
        RunWithBands(RunSeed(Seed, run++), 12.5, bands, balances.data(), stop.get_token(), &done,
                     &path);
        benchmark::DoNotOptimize(balances.back());
    }
    state.counters["plays/s"] = benchmark::Counter(static_cast<double>(plays) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StudyRun)->Arg(1000)->Arg(20000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The yardstick of a study's cost per run: the fastest exact loop taking the
// same band balances.
void BM_StudyReference(benchmark::State& state) {
    const int plays = static_cast<int>(state.range(0));
    const std::vector<int> bands = BandPlayCounts(plays);
    std::vector<std::int32_t> balances(bands.size()), expected(bands.size());
    RunWithBands(Seed, 12.5, bands, expected.data());
    fastref::Run(Seed, plays, bands.data(), static_cast<int>(bands.size()), balances.data());
    if (balances != expected) {
        state.SkipWithError("the reference loop does not match the study");
        return;
    }
    int run = 0;
    for (auto _ : state) {
        fastref::Run(RunSeed(Seed, run++), plays, bands.data(), static_cast<int>(bands.size()),
                     balances.data());
        benchmark::DoNotOptimize(balances.back());
    }
    state.counters["plays/s"] = benchmark::Counter(static_cast<double>(plays) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StudyReference)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

// 64 runs of 100,000 plays; wall time, as the threads' CPU time adds up.
void BM_Study(benchmark::State& state) {
    StudyRequest request;
    request.Plays = 100000;
    request.Runs = 64;
    request.Seed = Seed;
    request.Borders = {12.5};
    request.Jobs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto result = RunStudy(request);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_Study)->ArgName("jobs")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// From 中止 (or closing the dialog) to the workers being gone: the time of
// Cancel() and Wait() on a study of long runs that is under way.
void BM_CancelLatency(benchmark::State& state) {
    StudyRequest request;
    request.Plays = 100000000;
    request.Runs = 100;
    request.Seed = Seed;
    request.Borders = {12.5};
    for (auto _ : state) {
        state.PauseTiming();
        BackgroundStudy study(request);
        while (study.PlaysDone() == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        state.ResumeTiming();
        study.Cancel();
        study.Wait();
    }
}
BENCHMARK(BM_CancelLatency)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(20);

int StudyCli(int argc, char** argv) {
    std::map<std::string, std::string*> values;
    StudyOptions o;
    values["--plays"] = &o.Plays;
    values["--runs"] = &o.Runs;
    values["--border"] = &o.Border;
    values["--sweep"] = &o.Sweep;
    values["--rate"] = &o.Rate;
    values["--seed"] = &o.Seed;
    values["--jobs"] = &o.Jobs;
    values["--png"] = &o.Png;
    values["--csv"] = &o.Csv;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            o.Json = true;
        } else if (values.count(argv[i]) != 0 && i + 1 < argc) {
            *values[argv[i]] = argv[i + 1];
            ++i;
        } else {
            std::cerr << "unknown argument: " << argv[i] << "\n" << StudyUsage << "\n";
            return 2;
        }
    }
    return StudyCommand(o, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "cli") == 0) {
        return StudyCli(argc, argv);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
