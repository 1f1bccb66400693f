// Repainting the slump graph's line of 1,000,000 points on a 597 x 217 chart: the
// whole chart, the line alone drawn one pixel column at a time, and the line alone
// drawn segment by segment for comparison.

#include "BenchSupport.h"
#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/Series/TLineSeries.h"
#include "platform/QtDrawContext.h"

#include <QApplication>

#include <memory>
#include <random>

namespace {

constexpr int Points = 1000000;

struct SlumpGraph {
    std::unique_ptr<TChart> Chart;
    TLineSeries* Line = nullptr;
};

SlumpGraph MakeSlumpGraph() {
    SlumpGraph g;
    g.Chart = std::make_unique<TChart>(nullptr);
    g.Chart->SetBounds(0, 0, 597, 217);
    g.Chart->SetView3D(false);
    g.Chart->Legend().SetVisible(false);
    g.Line = new TLineSeries();
    g.Line->SetSeriesColor(clRed);
    g.Line->LinePen().SetColor(clRed);
    g.Line->LinePen().SetWidth(2);
    g.Line->SetShowInLegend(false);
    g.Line->SetParentChart(g.Chart.get());
    std::mt19937 random(1);
    std::uniform_int_distribution<int> step(-12, 10);
    int balls = 0;
    g.Line->BeginUpdate();
    for (int play = 1; play <= Points; ++play) {
        balls += step(random);
        // The window passes the colour red with every point, as here.
        g.Line->AddXY(play, balls, "", clRed);
    }
    g.Line->EndUpdate();
    g.Chart->BottomAxis().SetMaximum(Points);
    g.Chart->BottomAxis().SetMinimum(1);
    g.Chart->BottomAxis().SetAutomatic(false);
    return g;
}

// One full repaint: background, axes, labels, grid and the line.
void BM_SlumpGraphRepaint(benchmark::State& state) {
    SlumpGraph g = MakeSlumpGraph();
    QtDrawContext target(597, 217);
    for (auto _ : state) {
        g.Chart->Canvas().Invalidate();
        g.Chart->Draw(target, g.Chart->GetClientRect());
    }
    state.SetLabel("597 x 217, 1,000,000 points");
}
BENCHMARK(BM_SlumpGraphRepaint)->Unit(benchmark::kMillisecond);

// The line's values alone, after one full repaint placed the axes.
void LineValues(benchmark::State& state, bool reduced) {
    SlumpGraph g = MakeSlumpGraph();
    QtDrawContext target(597, 217);
    g.Chart->Canvas().SetUseBuffer(false);
    g.Chart->Draw(target, g.Chart->GetClientRect());
    g.Line->SetDrawReduced(reduced);
    for (auto _ : state) {
        g.Line->CalcFirstLastVisibleIndex();
        g.Line->DrawAllValues();
    }
    state.SetItemsProcessed(state.iterations() * Points);
}

void BM_LineValuesReduced(benchmark::State& state) {
    LineValues(state, true);
}
BENCHMARK(BM_LineValuesReduced)->Unit(benchmark::kMillisecond);

void BM_LineValuesEverySegment(benchmark::State& state) {
    LineValues(state, false);
}
BENCHMARK(BM_LineValuesEverySegment)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarksInApplication<QApplication>(argc, argv);
}
