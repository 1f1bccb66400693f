// A fast 1,000,000-play run shown whole in the window (summary, lists and the
// three charts painted once) against the engine alone on the same plays, and
// the repaint time of every frame of an animated zoom on the slump graph.

#include "BenchSupport.h"
#include "app/Unit1.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "engine/RandomSource.h"
#include "engine/Slot.h"
#include "platform/TApplication.h"
#include "runfile/RunRecords.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

constexpr int Plays = 1000000;
constexpr std::uint32_t Seed = 5;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The engine and the records it leaves, nothing shown.
void BM_EngineOnlyRun(benchmark::State& state) {
    Slot machine;
    RunRecords records;
    for (auto _ : state) {
        machine.Random().Seed(Seed);
        machine.Reset();
        machine.SetBorder(12.5);
        records.Clear();
        records.Reserve(Plays);
        while (machine.PlayNo < Plays) {
            const int before = machine.PlayNo;
            machine.Shoot();
            if (machine.PlayNo != before)
                records.Append(machine.SinceHit, machine.Balls, machine.Chain, machine.PlayNo,
                               machine.Mode);
        }
        benchmark::DoNotOptimize(records.BallCounts.data());
    }
    state.counters["records"] = static_cast<double>(records.Size());
}
BENCHMARK(BM_EngineOnlyRun)->Unit(benchmark::kMillisecond)->Iterations(3);

// Milliseconds spent in each part of showing a run, summed over iterations.
struct ShowTimes {
    double start = 0, lists = 0, charts = 0, events = 0;
};

void ShowWhole(TMainForm& form, ShowTimes* times = nullptr) {
    const auto t0 = Clock::now();
    form.StartButtonClick();
    const auto t1 = Clock::now();
    form.ResultListView->Flush();
    const auto t2 = Clock::now();
    form.SlumpChart->Repaint();
    form.SlumpChart2->Repaint();
    form.KeizokuChart->Repaint();
    const auto t3 = Clock::now();
    QCoreApplication::processEvents();
    const auto t4 = Clock::now();
    if (times != nullptr) {
        times->start += Ms(t1 - t0);
        times->lists += Ms(t2 - t1);
        times->charts += Ms(t3 - t2);
        times->events += Ms(t4 - t3);
    }
}

// A shown window set for a fast run of Plays plays.
std::unique_ptr<TMainForm> FastRunForm() {
    auto form = std::make_unique<TMainForm>();
    form->Show();
    form->SpeedComboBox->SetItemIndex(0);
    form->PlayNumEdit->SetText(std::to_string(Plays));
    return form;
}

std::unique_ptr<TMainForm> FormShowingWholeRun() {
    auto form = FastRunForm();
    form->Machine.Random().Seed(Seed);
    ShowWhole(*form);
    return form;
}

// Start in the fast speed, then everything the window shows of the run.
void BM_FastRunShownInWindow(benchmark::State& state) {
    auto form = FastRunForm();
    ShowTimes times;
    for (auto _ : state) {
        form->Machine.Random().Seed(Seed);
        ShowWhole(*form, &times);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["start_ms"] = times.start / n;
    state.counters["lists_ms"] = times.lists / n;
    state.counters["charts_ms"] = times.charts / n;
    state.counters["events_ms"] = times.events / n;
    state.counters["records"] = static_cast<double>(form->Records.Size());
    state.counters["line_points"] = form->Charts().SlumpSeries()->Count();
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_FastRunShownInWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

// One animated zoom into the middle of the whole run; each frame is timed
// from the end of the one before (the first from the mouse release).
void BM_AnimatedZoomFrames(benchmark::State& state) {
    auto form = FormShowingWholeRun();
    if (state.range(0) != 0) {
        form->CheckBox1->Click();
        form->CheckBox2->Click();
    }
    const bool reducedMarkers = state.range(0) != 2;
    form->Charts().CheckPoint1()->SetDrawPointersReduced(reducedMarkers);
    form->Charts().CheckPoint2()->SetDrawPointersReduced(reducedMarkers);
    TChart& chart = *form->SlumpChart;
    const TRect r = chart.ChartRect;
    std::vector<double> frames;
    Clock::time_point last;
    bool recording = false;
    chart.OnAfterDraw = [&] {
        if (!recording)
            return;
        const auto now = Clock::now();
        frames.push_back(Ms(now - last));
        last = now;
    };
    for (auto _ : state) {
        state.PauseTiming();
        chart.UndoZoom();
        chart.Repaint();
        state.ResumeTiming();
        recording = true;
        chart.MouseDown(mbLeft, 0, r.Left + 100, r.Top + 20);
        chart.MouseMove(0, r.Left + 300, r.Bottom - 20);
        last = Clock::now();
        chart.MouseUp(mbLeft, 0, r.Left + 300, r.Bottom - 20);
        // The final frame, which the release only queues.
        last = Clock::now();
        chart.Repaint();
        recording = false;
    }
    chart.OnAfterDraw = nullptr;
    state.counters["frames"] = static_cast<double>(frames.size());
    state.counters["max_frame_ms"] =
        frames.empty() ? 0 : *std::max_element(frames.begin(), frames.end());
    double sum = 0;
    for (double f : frames)
        sum += f;
    state.counters["mean_frame_ms"] = frames.empty() ? 0 : sum / static_cast<double>(frames.size());
}
// Argument: 0 no markers, 1 both marker series shown, 2 shown and every marker drawn.
BENCHMARK(BM_AnimatedZoomFrames)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// A repaint of the whole unzoomed slump graph (1,000,000 points).
void BM_SlumpChartRepaintWhole(benchmark::State& state) {
    auto form = FormShowingWholeRun();
    form->CheckBox1->Click();
    form->CheckBox2->Click();
    for (auto _ : state)
        form->SlumpChart->Repaint();
}
BENCHMARK(BM_SlumpChartRepaintWhole)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarksInApplication<TApplication>(argc, argv);
}
