#include "chart/ChartEngine/TCustomAxisPanel.h"

#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TChartSeries.h"

#include <algorithm>

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent) : TCustomChartPanelExtended(parent) {
    BottomAxis_ = std::make_unique<TChartAxis>(this, true);
    TopAxis_ = std::make_unique<TChartAxis>(this, true);
    TopAxis_->SetOtherSide(true);
    TopAxis_->SetZPosition(100);
    TopAxis_->SetGridZPosition(100);
    LeftAxis_ = std::make_unique<TChartAxis>(this, false);
    LeftAxis_->Title().SetAngle(90);
    RightAxis_ = std::make_unique<TChartAxis>(this, false);
    RightAxis_->Title().SetAngle(270);
    RightAxis_->SetOtherSide(true);
    RightAxis_->SetZPosition(100);
    RightAxis_->SetGridZPosition(100);
    DepthAxis_ = std::make_unique<TChartAxis>(this, false);
    DepthAxis_->SetIsDepthAxis(true);
    DepthAxis_->SetOtherSide(true);
    DepthAxis_->SetVisible(false);
    AxesList_ = {BottomAxis_.get(), TopAxis_.get(), LeftAxis_.get(), RightAxis_.get(),
                 DepthAxis_.get()};
}

TCustomAxisPanel::~TCustomAxisPanel() {
    Destroying_ = true;
    SetAutoRepaint(false);
    // Empty the list first so each series' own removal finds nothing to do.
    std::vector<TChartSeries*> owned;
    owned.swap(SeriesList_);
    for (TChartSeries* s : owned)
        delete s;
}

// --- series list ---------------------------------------------------------------

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
    if (series)
        series->SetParentChart(this);
}

void TCustomAxisPanel::InternalAddSeries(TChartSeries* series) {
    if (!series || IsSeriesInList(series))
        return;
    series->Added();
    SeriesList_.push_back(series);
    BroadcastSeriesEvent(seAdd, series);
    Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
    if (!IsSeriesInList(series))
        return;
    BroadcastSeriesEvent(seRemove, series);
    series->Removed();
    SeriesList_.erase(std::find(SeriesList_.begin(), SeriesList_.end(), series));
    if (series->ParentChart() == this)
        series->SetParentChart(nullptr);
    Invalidate();
}

void TCustomAxisPanel::RemoveAllSeries() {
    while (!SeriesList_.empty())
        RemoveSeries(SeriesList_.front());
}

int TCustomAxisPanel::CountActiveSeries() const {
    return static_cast<int>(std::count_if(SeriesList_.begin(), SeriesList_.end(),
                                          [](const TChartSeries* s) { return s->Active(); }));
}

bool TCustomAxisPanel::IsSeriesInList(const TChartSeries* series) const {
    return std::find(SeriesList_.begin(), SeriesList_.end(), series) != SeriesList_.end();
}

TColor TCustomAxisPanel::GetFreeSeriesColor(bool checkBackground) const {
    TColor color = clBlack;
    for (int i = 0; i <= 20; ++i) {
        color = GetDefaultColor(i);
        const bool used =
            std::any_of(SeriesList_.begin(), SeriesList_.end(),
                        [color](const TChartSeries* s) { return s->SeriesColor() == color; });
        if (used)
            continue;
        if (checkBackground && (color == Color() || color == BackColor()))
            continue;
        return color;
    }
    return color;
}

void TCustomAxisPanel::BroadcastSeriesEvent(TChartSeriesEvent event, TChartSeries* series) {
    // A listener may unregister itself while being told.
    const std::vector<TChartListener*> listeners = Listeners();
    for (TChartListener* l : listeners)
        l->SeriesEvent(event, series);
}

std::string TCustomAxisPanel::FormattedValueLegend(TChartSeries*, int) const {
    return {};
}

// --- axes ----------------------------------------------------------------------

bool TCustomAxisPanel::IsAxisVisible(const TChartAxis& axis) const {
    if (!AxisVisible_ || !axis.Visible())
        return false;
    if (axis.IsDepthAxis())
        return View3D();
    bool anyActive = false;
    for (const TChartSeries* s : SeriesList_) {
        if (!s->Active())
            continue;
        anyActive = true;
        if (!s->UseAxis())
            return false;
        if (s->AssociatedToAxis(&axis))
            return true;
    }
    return !anyActive;
}

bool TCustomAxisPanel::CanClip() const {
    if (!View3D() || View3DOptions().Orthogonal())
        return true;
    return View3DOptions().Rotation() >= 270;
}

bool TCustomAxisPanel::ActiveSeriesUseAxis() const {
    bool anyActive = false;
    for (const TChartSeries* s : SeriesList_) {
        if (!s->Active())
            continue;
        anyActive = true;
        if (s->UseAxis())
            return true;
    }
    return !anyActive;
}

// --- paint pipeline -----------------------------------------------------------

void TCustomAxisPanel::SetSeriesZOrder() {
    SeriesSlots_.assign(SeriesList_.size(), 0);
    MaxZOrder_ = 0;
    if (!View3D())
        return;
    for (std::size_t i = 0; i < SeriesList_.size(); ++i) {
        const TChartSeries* s = SeriesList_[i];
        if (!s->Active())
            continue;
        SeriesSlots_[i] = std::max(0, s->ZOrder());
        MaxZOrder_ = std::max(MaxZOrder_, SeriesSlots_[i]);
    }
}

void TCustomAxisPanel::CalcWallsRect() {}

void TCustomAxisPanel::CalcAxisRect() {
    for (TChartAxis* a : AxesList_) {
        a->AdjustMaxMin();
        a->InternalCalcPositions();
    }
    for (TChartAxis* a : AxesList_) {
        if (!IsAxisVisible(*a))
            continue;
        TRect shrunk = ChartRect;
        a->CalcRect(shrunk, true);
        if (shrunk.Left < shrunk.Right && shrunk.Top < shrunk.Bottom)
            ChartRect = shrunk;
    }
    RecalcWidthHeight();
    for (TChartAxis* a : AxesList_)
        a->InternalCalcPositions();
}

void TCustomAxisPanel::CalcSeriesRect() {
    for (std::size_t i = 0; i < SeriesList_.size(); ++i) {
        TChartSeries* s = SeriesList_[i];
        if (!s->Active())
            continue;
        s->StartZ = Width3D * SeriesSlots_[i];
        s->EndZ = s->StartZ + (s->Depth() == -1 ? Width3D : s->Depth());
        s->MiddleZ = (s->StartZ + s->EndZ) / 2;
    }
}

void TCustomAxisPanel::DrawAxes() {
    if (!AxisVisible_)
        return;
    if (OnBeforeDrawAxes)
        OnBeforeDrawAxes();
    for (TChartAxis* a : AxesList_)
        if (IsAxisVisible(*a))
            a->Draw();
}

void TCustomAxisPanel::DrawSeriesList() {
    std::vector<TChartSeries*> order;
    for (TChartSeries* s : SeriesList_)
        if (s->Active())
            order.push_back(s);
    if (DepthAxis_->Inverted())
        std::reverse(order.begin(), order.end());
    for (TChartSeries* s : order)
        s->DrawSeries();
}

// Box depth, walls, axes and the series area, measured for this paint.
void TCustomAxisPanel::LayOut() {
    // Depth order of the series decides the 3D box depth.
    SetSeriesZOrder();

    // Box depth, walls and the remaining plotting width and height.
    CalcSize3D(MaxZOrder_ + 1);
    CalcWallsRect();
    RecalcWidthHeight();

    // Axes take their label and title room.
    const TRect beforeAxes = ChartRect;
    for (TChartAxis* a : AxesList_)
        a->ResetLabelsRoom();
    CalcAxisRect();

    // The series area is what the axes leave.
    CalcSeriesRect();

    // Series margins (markers, bar widths) pull the data ends inside the axes.
    for (TChartAxis* a : AxesList_)
        a->ApplySeriesMargins();

    // The margins may raise an axis end past a wider label ("1,000" above
    // "990"): lay out again with room for the labels that will be drawn.
    for (int again = 0; again < 2; ++again) {
        bool wider = false;
        for (TChartAxis* a : AxesList_)
            if (IsAxisVisible(*a) && a->WidenLabelsRoom())
                wider = true;
        if (!wider)
            break;
        ChartRect = beforeAxes;
        RecalcWidthHeight();
        CalcAxisRect();
        CalcSeriesRect();
        for (TChartAxis* a : AxesList_)
            a->ApplySeriesMargins();
    }
}

void TCustomAxisPanel::InternalDraw(const TRect&) {
    TChartCanvas3D& canvas = Canvas();
    // Changes made while drawing must not ask for another paint.
    const bool savedSwitch = AutoRepaint();
    SetAutoRepaint(false);

    // Which side of the box faces the viewer decides the wall and axis order.
    const TView3DOptions& view = View3DOptions();
    ViewedFromBehind_ =
        View3D() && (view.Orthogonal() ? view.OrthoAngle() > 90 : view.Rotation() < 270);

    // Background, border and bevels first; everything else paints over them.
    PanelPaint(ChartBounds);

    // Series share out slots (bar order, widths) before anything is measured.
    if (OnBeforeDrawChart)
        OnBeforeDrawChart();
    for (TChartSeries* s : SeriesList_)
        if (s->Active())
            s->DoBeforeDrawChart();

    // Titles and legend take their room off the chart before the axes are sized.
    canvas.FrontPlaneBegin();
    DrawTitlesAndLegend(true);
    canvas.FrontPlaneEnd();

    LayOut();

    // Only now is the rectangle final, so the 3D projection can be set.
    canvas.Projection(SeriesWidth3D, ChartBounds, ChartRect);

    // Walls lie behind everything that follows.
    DrawWalls();

    // Axes behind the series when asked, so the series cover the grid.
    if (AxisBehind_)
        DrawAxes();

    if (OnBeforeDrawSeries)
        OnBeforeDrawSeries();

    DrawSeriesList();

    // Otherwise axes and grid go over the series.
    if (!AxisBehind_)
        DrawAxes();

    // Titles and legend that draw after the series stay on top of them.
    canvas.FrontPlaneBegin();
    DrawTitlesAndLegend(false);
    canvas.FrontPlaneEnd();

    // The rubber band of a zoom in progress is the topmost drawing.
    DrawZoomRectangleIfActive();

    // Leave the canvas clean for the next paint before handing control back.
    canvas.ResetState();
    if (OnAfterDraw)
        OnAfterDraw();
    SetAutoRepaint(savedSwitch);
}
