#include "app/StudyChart.h"

#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/Series.h"
#include "results/ResultTexts.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr int ShiftJisCharset = 128;
const char* const StudyFont = "MS UI Gothic";

// Light to dark blue for the outer band, the inner band and the median.
constexpr TColor OuterBandColor = 0xF5DEC6; // BGR: light blue
constexpr TColor InnerBandColor = 0xE0A878;
constexpr TColor MedianColor = 0x8B0000; // navy blue
constexpr TColor TheoryColor = clRed;

void SetFont(TChartFont& font) {
    font.SetName(StudyFont);
    font.SetCharset(ShiftJisCharset);
}

// The chart owns its series; removing them alone would leak them.
void DeleteAllSeries(TChart& chart) {
    while (chart.SeriesCount() > 0)
        delete chart.Series(chart.SeriesCount() - 1);
}

void PrepareChart(TChart& chart, const std::string& title, const std::string& bottom,
                  const std::string& left) {
    DeleteAllSeries(chart);
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    chart.Title().SetCaption(title);
    SetFont(chart.Title().Font());
    chart.Title().Font().SetColor(clBlack);
    chart.Legend().SetVisible(true);
    chart.Legend().SetLegendStyle(lsSeries);
    chart.Legend().SetAlignment(laBottom);
    SetFont(chart.Legend().Font());
    chart.BottomAxis().Title().SetCaption(bottom);
    chart.LeftAxis().Title().SetCaption(left);
    for (TChartAxis* axis : chart.AxesList()) {
        SetFont(axis->LabelsFont());
        SetFont(axis->Title().Font());
    }
}

TLineSeries* AddLine(TChart& chart, const std::string& title, TColor color, int width,
                     TPenStyle style) {
    auto* line = new TLineSeries();
    line->SetParentChart(&chart);
    line->SetTitle(title);
    line->SetSeriesColor(color);
    line->LinePen().SetColor(color);
    line->LinePen().SetWidth(width);
    line->LinePen().SetStyle(style);
    line->Marks().SetVisible(false);
    return line;
}

TBandSeries* AddBand(TChart& chart, const std::string& title, TColor color) {
    auto* band = new TBandSeries();
    band->SetParentChart(&chart);
    band->SetTitle(title);
    band->SetSeriesColor(color);
    band->Marks().SetVisible(false);
    return band;
}

void ShowFan(TChart& chart, const StudyFigures& f) {
    PrepareChart(chart,
                 "出玉数の分布 (Sim回数 " + std::to_string(f.Runs) + "回・ボーダー " +
                     FormatGeneral15(f.Border) + ")",
                 "Play数", "出玉数");
    TBandSeries* outer = AddBand(chart, "5〜95%", OuterBandColor);
    TBandSeries* inner = AddBand(chart, "25〜75%", InnerBandColor);
    TLineSeries* median = AddLine(chart, "中央値", MedianColor, 2, psSolid);
    TLineSeries* mean = AddLine(chart, "理論値の平均", TheoryColor, 2, psSolid);
    TLineSeries* above = AddLine(chart, "理論値の±1σ", TheoryColor, 1, psDash);
    TLineSeries* below = AddLine(chart, "", TheoryColor, 1, psDash);
    below->SetShowInLegend(false);
    const MachineTheory theory = TheoryForBorder(f.Border);
    for (std::size_t k = 0; k < f.BandPlays.size(); ++k) {
        const double x = f.BandPlays[k];
        const auto& b = f.Bands[k];
        outer->AddBand(x, b[0], b[4]);
        inner->AddBand(x, b[1], b[3]);
        median->AddXY(x, b[2]);
        const PlayOutlook o = OutlookForPlays(theory, f.BandPlays[k], f.Rate);
        mean->AddXY(x, o.mean_balance);
        above->AddXY(x, o.mean_balance + o.sd_balance);
        below->AddXY(x, o.mean_balance - o.sd_balance);
    }
}

void ShowSweep(TChart& chart, const std::vector<StudyFigures>& borders) {
    const StudyFigures& first = borders.front();
    PrepareChart(chart,
                 "ボーダー別の1Playあたり平均出玉数 (Sim回数 " + std::to_string(first.Runs) +
                     "回・" + std::to_string(first.Plays) + "Play)",
                 "ボーダー", "1Playあたり出玉数");
    TBandSeries* interval = AddBand(chart, "平均の95%信頼区間", InnerBandColor);
    TLineSeries* mean = AddLine(chart, "平均", MedianColor, 2, psSolid);
    mean->Pointer().SetVisible(true);
    mean->Pointer().SetStyle(psCircle);
    mean->Pointer().SetHorizSize(3);
    mean->Pointer().SetVertSize(3);
    TLineSeries* theory = AddLine(chart, "理論値", TheoryColor, 2, psSolid);
    TLineSeries* zero = AddLine(
        chart,
        "損益分岐 (ボーダー " + FormatGeneral15(std::round(BreakEvenBorder() * 100) / 100) + ")",
        clBlack, 1, psDot);
    const double plays = std::max(first.Plays, 1);
    double low = first.Border, high = first.Border;
    for (const StudyFigures& f : borders) {
        const double l = std::isnan(f.MeanBalanceCi95.Low) ? f.MeanBalance : f.MeanBalanceCi95.Low;
        const double h =
            std::isnan(f.MeanBalanceCi95.High) ? f.MeanBalance : f.MeanBalanceCi95.High;
        interval->AddBand(f.Border, l / plays, h / plays);
        mean->AddXY(f.Border, f.MeanBalance / plays);
        low = std::min(low, f.Border);
        high = std::max(high, f.Border);
    }
    // The theory's curve, finely enough to look smooth between the borders.
    constexpr int Steps = 200;
    for (int k = 0; k <= Steps; ++k) {
        const double border = low + (high - low) * k / Steps;
        theory->AddXY(border, TheoryForBorder(border).balls_per_play);
    }
    zero->AddXY(low, 0);
    zero->AddXY(high, 0);
}

} // namespace

void ShowStudyChart(TChart& chart, const std::vector<StudyFigures>& borders) {
    if (borders.empty()) {
        DeleteAllSeries(chart);
        return;
    }
    if (borders.size() == 1) {
        ShowFan(chart, borders.front());
    } else {
        ShowSweep(chart, borders);
    }
}
