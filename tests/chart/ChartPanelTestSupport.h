#pragma once
// Shared set-up for the chart control tests: drawing a chart on the
// recording context and small series kinds with known behaviour.

#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "platform/RecordingDrawContext.h"

#include <memory>
#include <string>
#include <vector>

// A series drawn without axes, as a pie is.
class NoAxisTestSeries : public TChartSeries {
public:
    bool UseAxis() const override { return false; }
};

// Draws the whole chart unbuffered on a fresh recording context.
inline std::unique_ptr<RecordingDrawContext> DrawRecorded(TCustomChartPanel& chart) {
    chart.Canvas().SetUseBuffer(false);
    auto rec = std::make_unique<RecordingDrawContext>(chart.Width(), chart.Height());
    chart.Draw(*rec, chart.GetClientRect());
    return rec;
}

inline std::vector<TDrawCall> TextCalls(const RecordingDrawContext& rec, const std::string& text) {
    std::vector<TDrawCall> out;
    for (const TDrawCall& c : rec.CallsOf("TextOut"))
        if (c.Text == text)
            out.push_back(c);
    return out;
}

// A flat chart of the given size with the repaint switch on.
inline std::unique_ptr<TChart> MakeFlatChart(int width = 400, int height = 250) {
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, width, height);
    chart->SetView3D(false);
    return chart;
}

// Adds a series owned by the chart.
template <class S = TChartSeries> S* AddTestSeries(TChart& chart, const std::string& title = "") {
    auto* s = new S();
    s->SetTitle(title);
    chart.AddSeries(s);
    return s;
}
