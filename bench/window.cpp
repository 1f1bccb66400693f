// The window's display pass over a whole 1,000,000-play run, and a whole fast
// run of that size through the Start button with its peak memory.

#include "BenchSupport.h"
#include "app/Unit1.h"
#include "engine/RandomSource.h"
#include "platform/TApplication.h"

#include <memory>

namespace {

constexpr int Plays = 1000000;

std::unique_ptr<TMainForm> FormWithRun(int plays) {
    auto form = std::make_unique<TMainForm>();
    form->Machine.Random().Seed(1);
    form->PlayNumEdit->SetText(std::to_string(plays));
    form->Machine.Reset();
    form->Machine.SetBorder(12.5);
    form->RunOnce(false);
    form->PlayCount = plays;
    form->ExchangeRate = 4.0;
    return form;
}

// Listed first so that the peak it reports is that of the run alone.
void BM_FastRunThroughStart(benchmark::State& state) {
    auto form = std::make_unique<TMainForm>();
    form->SpeedComboBox->SetItemIndex(0);
    form->PlayNumEdit->SetText(std::to_string(Plays));
    for (auto _ : state) {
        form->Machine.Random().Seed(1);
        form->StartButtonClick();
        form->ResultListView->Flush();
    }
    state.counters["records"] = static_cast<double>(form->Records.Size());
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_FastRunThroughStart)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ShowResultsBulk(benchmark::State& state) {
    auto form = FormWithRun(Plays);
    for (auto _ : state)
        form->ShowResults(true);
    state.counters["rows"] = form->ResultListView->ItemCount();
}
BENCHMARK(BM_ShowResultsBulk)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The pass plus the list view catching up, as after the command returns.
void BM_ShowResultsBulkAndListSync(benchmark::State& state) {
    auto form = FormWithRun(Plays);
    for (auto _ : state) {
        form->ShowResults(true);
        form->ResultListView->Flush();
    }
}
BENCHMARK(BM_ShowResultsBulkAndListSync)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarksInApplication<TApplication>(argc, argv);
}
