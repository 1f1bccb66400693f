#include "app/StudyChart.h"

#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/Series.h"
#include "numfmt/NumberFormats.h"
#include "results/ResultTexts.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

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

// The exact points as lines over the simulated bands: the middle solid, the
// quartiles dashed, the 5 and 95 % points dotted.
void AddExactLines(TChart& chart, const StudyFigures& f) {
    const struct {
        const char* title;
        TPenStyle style;
        int width;
        std::size_t low, high;
    } lines[] = {{"厳密値 中央値", psSolid, 2, 2, 2},
                 {"厳密値 25〜75%", psDash, 1, 1, 3},
                 {"厳密値 5〜95%", psDot, 1, 0, 4}};
    for (const auto& e : lines) {
        TLineSeries* low = AddLine(chart, e.title, TheoryColor, e.width, e.style);
        TLineSeries* high = nullptr;
        if (e.high != e.low) {
            high = AddLine(chart, "", TheoryColor, e.width, e.style);
            high->SetShowInLegend(false);
        }
        for (std::size_t k = 0; k < f.TheoryBandPlays.size(); ++k) {
            const double x = f.TheoryBandPlays[k];
            low->AddXY(x, static_cast<double>(f.TheoryBands[k][e.low]));
            if (high != nullptr) {
                high->AddXY(x, static_cast<double>(f.TheoryBands[k][e.high]));
            }
        }
    }
}

void ShowFan(TChart& chart, const StudyFigures& f) {
    PrepareChart(chart,
                 "出玉数の分布 (Sim回数 " + std::to_string(f.Runs) + "回・ボーダー " +
                     FormatGeneral15(f.Border) + ")",
                 "Play数", "出玉数");
    TBandSeries* outer = AddBand(chart, "シミュレーション 5〜95%", OuterBandColor);
    TBandSeries* inner = AddBand(chart, "シミュレーション 25〜75%", InnerBandColor);
    TLineSeries* median = AddLine(chart, "シミュレーション 中央値", MedianColor, 2, psSolid);
    for (std::size_t k = 0; k < f.BandPlays.size(); ++k) {
        const double x = f.BandPlays[k];
        const auto& b = f.Bands[k];
        outer->AddBand(x, b[0], b[4]);
        inner->AddBand(x, b[1], b[3]);
        median->AddXY(x, b[2]);
    }
    if (!f.TheoryBands.empty()) {
        AddExactLines(chart, f);
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
        theory->AddXY(border, TheoryForBorder(border).BallsPerPlay);
    }
    zero->AddXY(low, 0);
    zero->AddXY(high, 0);
}

} // namespace

namespace {

// The balances shown: the exact 0.1 to 99.9 % points (the far tails are too
// thin to see), widened to the runs' own extremes when there is no table.
std::pair<double, double> DistributionRange(const BalanceTable* exact, const StudyFigures* study) {
    if (exact != nullptr && !exact->Probability.empty()) {
        return {static_cast<double>(exact->Quantile(0.001)),
                static_cast<double>(exact->Quantile(0.999))};
    }
    const auto [low, high] =
        std::minmax_element(study->FinalBalances.begin(), study->FinalBalances.end());
    return {static_cast<double>(*low), static_cast<double>(*high)};
}

} // namespace

void ShowBalanceDistribution(TChart& chart, const BalanceTable* exact, const StudyFigures* study) {
    // Chances per 1000 balls keep the axis labels readable.
    constexpr double PerBalls = 1000.0;
    if (study != nullptr && study->FinalBalances.empty()) {
        study = nullptr;
    }
    PrepareChart(chart, "最終出玉数の分布", "最終出玉数", "確率(1000玉あたり)");
    if (exact == nullptr && study == nullptr) {
        return;
    }
    const auto [low, high] = DistributionRange(exact, study);
    if (study != nullptr) {
        constexpr int Bars = 60;
        const double width = std::max(1.0, std::ceil((high - low + 1.0) / Bars));
        std::vector<double> counts(Bars, 0.0);
        for (const std::int32_t v : study->FinalBalances) {
            const double k = std::floor((v - low) / width);
            if (k >= 0 && k < Bars) {
                counts[static_cast<std::size_t>(k)] += 1.0;
            }
        }
        auto* bars = new TBarSeries();
        bars->SetParentChart(&chart);
        bars->SetTitle("シミュレーション (" + std::to_string(study->Runs) + "回)");
        bars->SetSeriesColor(InnerBandColor);
        bars->BarPen().SetColor(clWhite);
        bars->SetMultiBar(mbNone);
        bars->SetBarWidthPercent(100);
        bars->Marks().SetVisible(false);
        const double share = PerBalls / (static_cast<double>(study->FinalBalances.size()) * width);
        for (int k = 0; k < Bars; ++k) {
            bars->AddXY(low + (k + 0.5) * width, counts[static_cast<std::size_t>(k)] * share);
        }
    }
    if (exact != nullptr) {
        constexpr int Points = 300;
        const double width = std::max(1.0, std::ceil((high - low + 1.0) / Points));
        TLineSeries* curve = AddLine(chart, "厳密値", TheoryColor, 2, psSolid);
        for (double from = low; from <= high; from += width) {
            double mass = 0.0;
            for (double b = from; b < from + width; ++b) {
                mass += exact->At(static_cast<std::int64_t>(b));
            }
            curve->AddXY(from + (width - 1.0) / 2.0, PerBalls * mass / width);
        }
    }
}

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
