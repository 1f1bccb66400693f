#include "app/ChartFeeding.h"

#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/Series.h"
#include "engine/HitState.h"

#include <algorithm>

namespace {

constexpr int ShiftJisCharset = 128;
constexpr TColor BarColor = 9342719; // 8E8EFF
constexpr TColor PointRed = 255;
constexpr TColor PointBlack = 0;
constexpr double SlumpAxisMaximumBeforePass = 24;

const char* const TitleText = "スランプグラフ";
const char* const TitleFont = "MS UI Gothic";
const char* const SlumpFont = "ＭＳ Ｐ明朝";

void SetNamedFont(TChartFont& font, const char* name) {
    font.SetName(name);
    font.SetCharset(ShiftJisCharset);
}

void ConfigureTitle(TChart& chart) {
    TChartTitle& title = chart.Title();
    title.SetCaption(TitleText);
    title.SetAlignment(taLeftJustify);
    SetNamedFont(title.Font(), TitleFont);
    title.Font().SetColor(clBlack);
}

double ToDouble(std::int32_t v) {
    return static_cast<double>(v);
}

} // namespace

ChartFeeding::ChartFeeding(TChart* slumpChart, TChart* slumpChart2, TChart* keizokuChart)
    : SlumpChart_(slumpChart), SlumpChart2_(slumpChart2), KeizokuChart_(keizokuChart) {}

void ChartFeeding::Configure() {
    if (SlumpChart_ != nullptr && SlumpSeries_ == nullptr)
        ConfigureSlumpChart();
    if (SlumpChart2_ != nullptr && SlumpBSeries_ == nullptr)
        ConfigureSlumpChart2();
    if (KeizokuChart_ != nullptr && KeizokuSeries_ == nullptr)
        ConfigureKeizokuChart();
}

void ChartFeeding::ConfigureSlumpChart() {
    TChart& chart = *SlumpChart_;
    ConfigureTitle(chart);
    chart.SetColor(clWhite);
    chart.SetBevelOuter(bvNone);
    chart.Gradient().SetVisible(true);
    chart.Gradient().SetStartColor(clSilver);
    chart.Gradient().SetEndColor(clWhite);
    chart.BackWall().SetColor(clWhite);
    chart.BackWall().Brush().SetStyle(bsClear);
    chart.LeftWall().SetColor(clSilver);
    chart.SetView3D(false);
    chart.View3DOptions().SetPerspective(0);

    TChartLegend& legend = chart.Legend();
    legend.SetCustomPosition(true);
    legend.SetLeft(520);
    legend.SetTop(5);
    legend.SetLegendStyle(lsSeries);
    SetNamedFont(legend.Font(), SlumpFont);

    TChartAxis& bottom = chart.BottomAxis();
    bottom.SetAutomatic(false);
    bottom.SetAutomaticMinimum(false);
    bottom.SetAutomaticMaximum(false);
    bottom.SetMaximum(SlumpAxisMaximumBeforePass);
    bottom.Title().SetCaption("Play数（回転数)");
    chart.LeftAxis().Title().SetCaption("玉数");
    chart.RightAxis().SetVisible(false);
    for (TChartAxis* axis : chart.AxesList()) {
        SetNamedFont(axis->LabelsFont(), SlumpFont);
        SetNamedFont(axis->Title().Font(), SlumpFont);
    }
    chart.Zoom().SetAnimated(true);
    chart.Zoom().Pen().SetColor(clBlack);
    AddSlumpSeries(chart);
}

// The balance line and the two marker series, hidden until their boxes are checked.
void ChartFeeding::AddSlumpSeries(TChart& chart) {
    auto* slump = new TLineSeries();
    slump->SetParentChart(&chart);
    slump->SetSeriesColor(clRed);
    slump->LinePen().SetColor(clRed);
    slump->LinePen().SetWidth(2);
    slump->Pointer().SetVisible(false);
    slump->Marks().SetVisible(false);
    slump->SetShowInLegend(false);
    slump->SetDepth(0);
    slump->XValues().SetOrder(loAscending);
    SlumpSeries_ = slump;

    auto* win = new TLineSeries();
    win->SetParentChart(&chart);
    win->SetTitle("勝利");
    win->SetActive(false);
    win->SetSeriesColor(clRed);
    win->LinePen().SetVisible(false);
    win->Pointer().SetStyle(psCircle);
    win->Pointer().SetVisible(true);
    // Prepared in the form but never shown: play numbers turned upright.
    win->Marks().SetStyle(smsXValue);
    win->Marks().SetAngle(90);
    win->Marks().SetVisible(false);
    win->Marks().SetArrowLength(8);
    win->SetClickableLine(false);
    CheckPoint1_ = win;

    auto* loss = new TLineSeries();
    loss->SetParentChart(&chart);
    loss->SetTitle("敗北");
    loss->SetActive(false);
    loss->SetSeriesColor(clBlack);
    loss->Brush().SetColor(clWhite);
    loss->LinePen().SetVisible(false);
    loss->Pointer().SetStyle(psTriangle);
    loss->Pointer().SetVisible(true);
    loss->Marks().SetVisible(false);
    loss->Marks().SetArrowLength(8);
    loss->SetClickableLine(false);
    CheckPoint2_ = loss;
}

void ChartFeeding::ConfigureSlumpChart2() {
    TChart& chart = *SlumpChart2_;
    ConfigureTitle(chart);
    chart.SetBevelOuter(bvNone);
    chart.Gradient().SetVisible(true);
    chart.Gradient().SetEndColor(clSilver);
    chart.Gradient().SetBalance(100);
    chart.LeftWall().SetColor(clSilver);
    chart.Legend().SetVisible(false);
    chart.SetView3D(false);
    chart.BottomAxis().SetIncrement(1);
    chart.BottomAxis().Title().SetCaption("初当たり回数");
    chart.LeftAxis().Title().SetCaption("Play数（回転数)");

    auto* bars = new TBarSeries();
    bars->SetParentChart(&chart);
    bars->SetSeriesColor(BarColor);
    bars->BarPen().SetColor(clWhite);
    bars->SetBarStyle(bsRectGradient);
    bars->Gradient().SetDirection(gdTopBottom);
    bars->SetMultiBar(mbNone);
    bars->SetAutoMarkPosition(false);
    TSeriesMarks& marks = bars->Marks();
    marks.SetVisible(true);
    marks.SetColor(clWhite);
    marks.Brush().SetColor(clWhite);
    marks.Brush().SetStyle(bsHorizontal);
    marks.Shadow().SetHorizSize(0);
    marks.Shadow().SetVertSize(0);
    marks.Arrow().SetVisible(false);
    marks.Callout().Arrow().SetVisible(false);
    marks.SetArrowLength(4);
    bars->YValues().SetName("Bar");
    SlumpBSeries_ = bars;
}

void ChartFeeding::ConfigureKeizokuChart() {
    TChart& chart = *KeizokuChart_;
    chart.Title().SetVisible(false);
    chart.SetBevelOuter(bvNone);
    chart.SetView3D(true);
    chart.SetChart3DPercent(45);
    TView3DOptions& view = chart.View3DOptions();
    view.SetElevation(315);
    view.SetRotation(360);
    view.SetPerspective(0);
    view.SetOrthogonal(false);
    chart.SetView3DWalls(false);
    chart.Zoom().SetMinimumPixels(5);

    TChartLegend& legend = chart.Legend();
    legend.SetVisible(true);
    legend.SetColorWidth(15);
    legend.Symbol().SetWidth(15);
    legend.Shadow().SetHorizSize(1);
    legend.Shadow().SetVertSize(1);
    legend.SetShapeStyle(fosRoundRectangle);
    legend.SetTextStyle(ltsPlain);
    // A long run has more continuation counts than rows; the last row says
    // how many are not listed rather than the list just stopping.
    legend.OnGetRestText = [](int omitted) { return "他" + std::to_string(omitted) + "件"; };

    auto* pie = new TPieSeries();
    pie->SetParentChart(&chart);
    pie->SetTitle("KoyakuSeries");
    pie->SetSeriesColor(clRed);
    pie->Marks().SetVisible(false);
    pie->Marks().SetArrowLength(-5);
    pie->OtherSlice().SetLegendVisible(false);
    pie->PieValues().SetName("円");
    pie->Shadow().SetHorizSize(10);
    pie->Shadow().SetVertSize(29);
    pie->Shadow().SetTransparency(53);
    KeizokuSeries_ = pie;
}

void ChartFeeding::ClearSeries() {
    if (SlumpSeries_ != nullptr)
        SlumpSeries_->Clear();
    if (SlumpBSeries_ != nullptr)
        SlumpBSeries_->Clear();
    if (CheckPoint1_ != nullptr)
        CheckPoint1_->Clear();
    if (CheckPoint2_ != nullptr)
        CheckPoint2_->Clear();
    if (KeizokuSeries_ != nullptr)
        KeizokuSeries_->Clear();
    BeginBatch();
}

// The pass moves the progress bar, whose synchronous repaints would also
// paint any chart waiting for a repaint: without this, the bars and their
// marks were drawn again at every percent of a long run. The markers and
// bars ask for their repaint once, when the line is added.
void ChartFeeding::BeginBatch() {
    if (Batching_)
        return;
    for (TChartSeries* s :
         {static_cast<TChartSeries*>(CheckPoint1_), static_cast<TChartSeries*>(CheckPoint2_),
          static_cast<TChartSeries*>(SlumpBSeries_)})
        if (s != nullptr)
            s->BeginUpdate();
    Batching_ = true;
}

void ChartFeeding::EndBatch() {
    if (!Batching_)
        return;
    Batching_ = false;
    for (TChartSeries* s :
         {static_cast<TChartSeries*>(CheckPoint1_), static_cast<TChartSeries*>(CheckPoint2_),
          static_cast<TChartSeries*>(SlumpBSeries_)})
        if (s != nullptr)
            s->EndUpdate();
}

void ChartFeeding::ResetZoom() {
    // The slump graph's bottom axis takes its range from each pass.
    const TChartAxis* passRange = SlumpChart_ != nullptr ? &SlumpChart_->BottomAxis() : nullptr;
    for (TChart* chart : {SlumpChart_, SlumpChart2_}) {
        if (chart == nullptr)
            continue;
        // Only a chart that was zoomed or moved asks for a repaint here; the
        // pass paints the others once, at its end.
        if (chart->Zoomed() || !chart->RestoredAxisScales())
            chart->UndoZoom();
        for (TChartAxis* axis : chart->AxesList())
            if (!axis->IsDepthAxis() && axis != passRange)
                axis->SetAutomatic(true);
    }
}

void ChartFeeding::SetBottomAxisRange(std::size_t recordCount) {
    if (SlumpChart_ == nullptr)
        return;
    TChartAxis& axis = SlumpChart_->BottomAxis();
    // No records (an empty run file) still leaves a valid 1..1 axis.
    const double maximum = static_cast<double>(std::max<std::size_t>(recordCount, 1));
    if (!SlumpChart_->RestoredAxisScales()) {
        SlumpChart_->SetSavedRange(axis, 1, maximum);
        return;
    }
    // A zoom or scroll may have left the maximum below 1; the minimum then
    // cannot go first without being refused.
    if (axis.Maximum() < 1)
        axis.SetMaximum(maximum);
    axis.SetMinimum(1);
    axis.SetMaximum(maximum);
}

void ChartFeeding::AddHitMarker(const RunRecords& records, std::size_t i) {
    const double x = ToDouble(records.PlayNumbers[i]);
    const double y = ToDouble(records.BallCounts[i]);
    const HitState hitState{records.HitStates[i]};
    if (hitState == HitState::SingleBonus && CheckPoint2_ != nullptr)
        CheckPoint2_->AddXY(x, y, "", PointBlack);
    else if (hitState == HitState::Chance && CheckPoint1_ != nullptr)
        CheckPoint1_->AddXY(x, y, "", PointRed);
}

void ChartFeeding::AddFirstHitBar(const RunRecords& records, std::size_t i, int firstHits) {
    if (SlumpBSeries_ != nullptr)
        SlumpBSeries_->AddXY(firstHits, ToDouble(records.SinceHitPlays[i]), "", PointRed);
}

void ChartFeeding::AddSlumpLine(const RunRecords& records) {
    if (SlumpSeries_ == nullptr) {
        EndBatch();
        return;
    }
    const std::size_t n = records.Size();
    SlumpSeries_->ReservePoints(static_cast<int>(n));
    // One repaint request for the whole line instead of one per point.
    SlumpSeries_->BeginUpdate();
    SlumpSeries_->AddXYs(records.PlayNumbers.data(), records.BallCounts.data(), static_cast<int>(n),
                         PointRed);
    SlumpSeries_->EndUpdate();
    EndBatch();
}

void ChartFeeding::AddKeizokuSlice(int count, const std::string& caption) {
    if (KeizokuSeries_ != nullptr)
        KeizokuSeries_->AddXY(0, count, caption, clDefault);
}

void ChartFeeding::ShowWinMarkers(bool visible) {
    EndBatch(); // only left open by a pass that failed half-way
    if (CheckPoint1_ != nullptr)
        CheckPoint1_->SetActive(visible);
}

void ChartFeeding::ShowLossMarkers(bool visible) {
    EndBatch();
    if (CheckPoint2_ != nullptr)
        CheckPoint2_->SetActive(visible);
}
