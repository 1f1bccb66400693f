#pragma once
// Set-up for the series kind tests: a chart whose axes are placed by hand, so a series
// can be drawn on the recording (or the QImage) context with known geometry.

#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "common/PngFile.h"
#include "platform/QtDrawContext.h"
#include "platform/RecordingDrawContext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct AxisSetup {
    double Minimum;
    double Maximum;
};

// A chart of the given size whose canvas draws unbuffered on target, with the chart
// rectangle and both value axes fixed.
inline std::unique_ptr<TChart> MakeStagedChart(int width, int height, bool view3D = false) {
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, width, height);
    chart->SetView3D(view3D);
    return chart;
}

inline void StageFlat(TChart& chart, DrawContext& target, const TRect& chartRect, AxisSetup x,
                      AxisSetup y) {
    chart.Canvas().SetUseBuffer(false);
    chart.Canvas().InitWindow(&target, &chart.View3DOptions(), clWhite, chart.View3D(),
                              chart.GetClientRect());
    chart.ChartRect = chartRect;
    chart.ChartWidth = chartRect.Right - chartRect.Left;
    chart.ChartHeight = chartRect.Bottom - chartRect.Top;
    chart.BottomAxis().SetCurrentRange(x.Minimum, x.Maximum);
    chart.BottomAxis().SetPositions(chartRect.Left, chartRect.Right);
    chart.LeftAxis().SetCurrentRange(y.Minimum, y.Maximum);
    chart.LeftAxis().SetPositions(chartRect.Top, chartRect.Bottom);
    chart.Canvas().Projection(0, chart.GetClientRect(), chartRect);
}

// Draws the values of one series as the repaint steps do (no clipping, no marks).
inline void DrawValuesOf(TChartSeries& series) {
    series.CalcFirstLastVisibleIndex();
    if (series.FirstValueIndex() >= 0)
        series.DrawAllValues();
}

inline std::vector<TDrawCall> VisibleLines(const RecordingDrawContext& rec) {
    std::vector<TDrawCall> out;
    for (const TDrawCall& c : rec.CallsOf("LineTo"))
        if (c.Pen.Style != psClear && !(c.Args[0] == c.Args[2] && c.Args[1] == c.Args[3]))
            out.push_back(c);
    return out;
}

inline std::string TestOutPath(const std::string& name) {
    std::filesystem::create_directories(YONATAMA_TEST_OUT);
    return std::string(YONATAMA_TEST_OUT) + "/" + name;
}

// Paints the whole chart (every repaint step) into an image and saves it.
inline std::unique_ptr<QtDrawContext> RenderChart(TChart& chart, const std::string& png) {
    auto image = std::make_unique<QtDrawContext>(chart.Width(), chart.Height());
    image->Image().fill(Qt::white);
    chart.Canvas().SetUseBuffer(false);
    chart.Draw(*image, chart.GetClientRect());
    WritePngFile(TestOutPath(png), image->PngBytes());
    return image;
}

// The plot of the series fixtures: 300 x 200 px for x 0..10 and y 0..100.
inline const TRect StagedPlot{50, 20, 350, 220};
inline int StagedPx(double x) {
    return 50 + int(x * 30);
}
inline int StagedPy(double y) {
    return 220 - int(y * 2);
}

// One series of kind S, in colour `color`, on a flat chart staged on a
// recording context with the plot above.
template <class S> struct StagedSeriesFixture : ::testing::Test {
    explicit StagedSeriesFixture(TColor color) : Color_(color) {}

    std::unique_ptr<TChart> chart = MakeStagedChart(400, 300);
    RecordingDrawContext rec{400, 300};
    S* series = nullptr;

    void SetUp() override {
        series = new S();
        series->SetSeriesColor(Color_);
        series->SetParentChart(chart.get());
        StageFlat(*chart, rec, StagedPlot, {0, 10}, {0, 100});
    }
    void Draw() {
        rec.ClearCalls();
        DrawValuesOf(*series);
    }

private:
    TColor Color_;
};
