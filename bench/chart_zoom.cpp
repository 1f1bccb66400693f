// One repaint of the slump graph holding a 1,000,000-point line, as each
// frame of an animated zoom does it (the chart draws in full, off screen).

#include "BenchSupport.h"
#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TSeriesPointer.h"
#include "chart/Series/TLineSeries.h"
#include "platform/QtDrawContext.h"

#include <QApplication>

#include <memory>
#include <random>
#include <utility>

namespace {

constexpr int Points = 1000000;

std::unique_ptr<TChart> SlumpLikeChart() {
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, 597, 217);
    chart->SetView3D(false);
    chart->SetColor(clWhite);
    chart->SetBevelOuter(bvNone);
    chart->Gradient().SetVisible(true);
    chart->Gradient().SetStartColor(clSilver);
    chart->Gradient().SetEndColor(clWhite);
    chart->Title().SetCaption("スランプグラフ");
    chart->Title().SetAlignment(taLeftJustify);
    chart->Legend().SetCustomPosition(true);
    chart->Legend().SetLeft(520);
    chart->Legend().SetTop(5);
    chart->Legend().SetLegendStyle(lsSeries);
    auto* line = new TLineSeries();
    line->SetSeriesColor(clRed);
    line->LinePen().SetWidth(2);
    line->Pointer().SetVisible(false);
    line->SetShowInLegend(false);
    line->SetParentChart(chart.get());
    std::mt19937 random(1);
    std::uniform_int_distribution<int> step(-12, 10);
    int balls = 0;
    line->BeginUpdate();
    for (int i = 1; i <= Points; ++i) {
        balls += step(random);
        line->AddXY(i, balls);
    }
    line->EndUpdate();
    return chart;
}

// Adds the two marker series of the window's slump graph: red circles and black
// triangles on every hundredth point of the line, about 10,000 each.
void AddMarkers(TChart& chart, bool reduced) {
    const TChartSeries& line = *chart.SeriesList().front();
    auto* win = new TLineSeries();
    auto* loss = new TLineSeries();
    win->SetSeriesColor(clRed);
    win->Pointer().SetStyle(psCircle);
    loss->SetSeriesColor(clBlack);
    loss->Pointer().SetStyle(psTriangle);
    for (TLineSeries* s : {win, loss}) {
        s->LinePen().SetVisible(false);
        s->Pointer().SetVisible(true);
        s->SetClickableLine(false);
        s->SetDrawPointersReduced(reduced);
        s->SetParentChart(&chart);
        s->BeginUpdate();
    }
    for (int i = 0; i < Points; i += 100) {
        TLineSeries* s = (i / 100) % 2 == 0 ? win : loss;
        s->AddXY(line.XValues().Value(i), line.YValues().Value(i), "", s->SeriesColor());
    }
    win->EndUpdate();
    loss->EndUpdate();
}

// Each iteration is one frame: the bottom axis moves a third of the way
// toward the middle quarter of the data (as an 8-step animated zoom does),
// then the whole chart is drawn; every eighth frame starts again from the
// full range.
void ZoomFrames(benchmark::State& state, std::unique_ptr<TChart> chart) {
    QtDrawContext target(597, 217);
    chart->Draw(target, chart->GetClientRect());
    TChartAxis& bottom = chart->BottomAxis();
    double lo = 1;
    double hi = Points;
    int frame = 0;
    for (auto _ : state) {
        if (frame++ % 8 == 0) {
            lo = 1;
            hi = Points;
        } else {
            lo += (Points / 4.0 - lo) / 3.0;
            hi -= (hi - Points / 2.0) / 3.0;
        }
        bottom.SetMinMax(lo, hi);
        chart->Draw(target, chart->GetClientRect());
    }
}

void BM_AnimatedZoomFrame(benchmark::State& state) {
    ZoomFrames(state, SlumpLikeChart());
    state.SetLabel("597 x 217, 1,000,000 points");
}
BENCHMARK(BM_AnimatedZoomFrame)->Unit(benchmark::kMillisecond);

// Argument: 1 with repeated and hidden markers left out, 0 with every marker drawn.
void BM_AnimatedZoomFrameWithMarkers(benchmark::State& state) {
    auto chart = SlumpLikeChart();
    AddMarkers(*chart, state.range(0) != 0);
    ZoomFrames(state, std::move(chart));
    state.SetLabel("1,000,000 points, 10,000 markers");
}
BENCHMARK(BM_AnimatedZoomFrameWithMarkers)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A repaint message of an unchanged chart re-shows the buffered image.
void BM_UnchangedRepaint(benchmark::State& state) {
    auto chart = SlumpLikeChart();
    QtDrawContext target(597, 217);
    chart->Paint(target);
    for (auto _ : state)
        chart->Paint(target);
}
BENCHMARK(BM_UnchangedRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarksInApplication<QApplication>(argc, argv);
}
