#include "chart/Chart/TCustomChart.h"

#include "chart/Chart/TChartLegend.h"
#include "chart/Chart/TChartTitle.h"
#include "chart/Chart/TChartWall.h"
#include "chart/Chart/TLegendSymbol.h"
#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TSeriesMarks.h"

#include <cmath>
#include <cstdlib>

double AnimatedZoomFactor = 3.0;
TShiftState ChartScrollKeyShift = 0;
bool ChartUseMouseWheel = true;

TCustomChart::TCustomChart(QWidget* parent) : TCustomAxisPanel(parent) {
    Title_ = std::make_unique<TChartTitle>(this, false);
    SubTitle_ = std::make_unique<TChartTitle>(this, false);
    Foot_ = std::make_unique<TChartTitle>(this, true);
    SubFoot_ = std::make_unique<TChartTitle>(this, true);
    BackWall_ = std::make_unique<TChartWall>(this, clSilver, true, true);
    LeftWall_ = std::make_unique<TChartWall>(this, 8454143, false, true);
    BottomWall_ = std::make_unique<TChartWall>(this, clWhite, false, true);
    RightWall_ = std::make_unique<TChartWall>(this, clSilver, false, false);
    Legend_ = std::make_unique<TChartLegend>(this);
    FinishCreation();
}

TCustomChart::~TCustomChart() {
    SetAutoRepaint(false);
}

TChartPen& TCustomChart::Frame() const {
    return BackWall_->Pen();
}

TColor TCustomChart::BackColor() const {
    return BackWall_->Color();
}

TColor TCustomChart::PlotAreaColor() const {
    return BackWall_->Transparent() ? Color() : BackWall_->Color();
}

const TChartPen* TCustomChart::LegendSymbolPen() const {
    const TLegendSymbol& symbol = Legend_->Symbol();
    return symbol.DefaultPen() ? nullptr : &symbol.Pen();
}

std::string TCustomChart::FormattedValueLegend(TChartSeries* series, int valueIndex) const {
    if (!series)
        return {};
    return Legend_->ValueText(*series, valueIndex);
}

// --- titles, legend, walls ---------------------------------------------------------

void TCustomChart::DrawTitlesAndLegend(bool beforeSeries) {
    TChartTitle* titles[] = {Title_.get(), SubTitle_.get(), Foot_.get(), SubFoot_.get()};
    const bool legendDrawn = Legend_->ShouldDraw();
    if (beforeSeries) {
        auto drawTitles = [&] {
            for (TChartTitle* t : titles)
                if (!t->CustomPosition())
                    t->DrawTitle();
        };
        if (Legend_->CustomPosition() || !legendDrawn) {
            drawTitles();
        } else if (Legend_->Vertical()) {
            Legend_->DrawLegend();
            drawTitles();
        } else {
            drawTitles();
            Legend_->DrawLegend();
        }
        return;
    }
    if (Legend_->CustomPosition() && legendDrawn)
        Legend_->DrawLegend();
    for (TChartTitle* t : titles)
        if (t->CustomPosition())
            t->DrawTitle();
}

void TCustomChart::CalcWallsRect() {
    if (!View3D() || !View3DOptions().Orthogonal())
        return;
    const int backSize = BackWall_->Size();
    const int rightRoom =
        SeriesWidth3D + backSize + (RightWall_->Visible() ? RightWall_->Size() + 1 : 0);
    if (View3DOptions().OrthoAngle() <= 90)
        ChartRect.Right -= rightRoom;
    else
        ChartRect.Left += rightRoom;
    ChartRect.Top += SeriesHeight3D + backSize;
}

void TCustomChart::PrepareWallCanvas(const TChartWall& wall) {
    TChartCanvas3D& canvas = Canvas();
    canvas.AssignVisiblePen(wall.Pen());
    if (wall.Transparent()) {
        canvas.SetBrushStyle(bsClear);
        return;
    }
    TColor color = wall.Color();
    const TBrushStyle style = wall.Brush().Style();
    const bool hatched = style != bsSolid && style != bsClear;
    // A hatch in the colour of the background would vanish.
    if (hatched && color == BackColor())
        color = color == clBlack ? clWhite : clBlack;
    canvas.AssignBrush(wall.Brush(), color);
}

void TCustomChart::DrawBackWall() {
    TChartCanvas3D& canvas = Canvas();
    const TChartWall& wall = *BackWall_;
    if (!View3D()) {
        const TRect r{ChartRect.Left, ChartRect.Top, ChartRect.Right + 1, ChartRect.Bottom + 1};
        if (!wall.Transparent() && wall.Gradient().Visible()) {
            wall.Gradient().Draw(canvas, r);
            canvas.AssignVisiblePen(wall.Pen());
            canvas.SetBrushStyle(bsClear);
        } else {
            PrepareWallCanvas(wall);
        }
        canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        return;
    }
    if (!View3DWalls())
        return;
    PrepareWallCanvas(wall);
    const int z = SeriesWidth3D;
    if (wall.Size() == 0)
        canvas.RectangleWithZ(
            {ChartRect.Left, ChartRect.Top, ChartRect.Right + 1, ChartRect.Bottom + 1}, z);
    else
        canvas.Cube(ChartRect.Left, ChartRect.Right, ChartRect.Top, ChartRect.Bottom, z,
                    z + wall.Size(),
                    wall.Dark3D() && wall.Brush().Style() != bsClear && !wall.Brush().HasImage());
}

void TCustomChart::DrawWalls() {
    if (!ActiveSeriesUseAxis())
        return;
    if (View3D() && View3DWalls() && RightWall_->Visible()) {
        PrepareWallCanvas(*RightWall_);
        if (RightWall_->Size() == 0)
            Canvas().RectangleZ(ChartRect.Right, ChartRect.Top, ChartRect.Bottom + 1, 0,
                                SeriesWidth3D);
        else
            Canvas().Cube(ChartRect.Right, ChartRect.Right + RightWall_->Size(), ChartRect.Top,
                          ChartRect.Bottom + 1, 0, SeriesWidth3D, RightWall_->Dark3D());
    }
    if (BackWall_->Visible())
        DrawBackWall();
    if (!View3D() || !View3DWalls())
        return;
    TChartCanvas3D& canvas = Canvas();
    const int depth = SeriesWidth3D;
    if (LeftWall_->Visible()) {
        PrepareWallCanvas(*LeftWall_);
        if (LeftWall_->Size() == 0)
            canvas.RectangleZ(ChartRect.Left, ChartRect.Top, ChartRect.Bottom + 1, 0, depth);
        else
            canvas.Cube(ChartRect.Left - LeftWall_->Size(), ChartRect.Left, ChartRect.Top,
                        ChartRect.Bottom + 1, 0, depth, LeftWall_->Dark3D());
    }
    if (BottomWall_->Visible()) {
        PrepareWallCanvas(*BottomWall_);
        if (BottomWall_->Size() == 0)
            canvas.RectangleY(ChartRect.Left, ChartRect.Bottom, ChartRect.Right + 1, 0, depth);
        else
            canvas.Cube(ChartRect.Left, ChartRect.Right + 1, ChartRect.Bottom,
                        ChartRect.Bottom + BottomWall_->Size(), 0, depth, BottomWall_->Dark3D());
    }
}

// --- zoom and scroll -----------------------------------------------------------

void TCustomChart::DrawZoomRectangleIfActive() {
    if (Zoom().Active)
        DrawZoomBand();
}

void TCustomChart::DrawZoomRectangle() {
    TChartCanvas3D& canvas = Canvas();
    // Between paints the band goes into the buffered image, which the next
    // paint message shows. The context of the last paint may be gone, so
    // without a buffer the band waits for a full paint (pipeline's end).
    if (canvas.GetUseBuffer() && canvas.Bitmap()) {
        canvas.SetUseBuffer(true);
        DrawZoomBand();
    } else {
        canvas.Invalidate();
    }
    RefreshImage();
}

void TCustomChart::DrawZoomBand() {
    TChartCanvas3D& canvas = Canvas();
    if (!canvas.GetHandle())
        return;
    const TChartZoom& zoom = Zoom();
    const TColor back = ColorToRGB(BackWall_->Transparent() ? Color() : BackWall_->Color());
    const TColor inverse = 0xFFFFFF - (back & 0xFFFFFF);
    TChartPen& pen = Zoom().Pen();
    TPenDesc desc;
    desc.Color = (ColorToRGB(pen.Color()) ^ inverse) & 0xFFFFFF;
    desc.Width = pen.Width();
    desc.Style = pen.Visible() ? pen.Style() : psClear;
    desc.Mode = pmNotXor;
    canvas.SetPen(desc);
    if (zoom.HasBrush()) {
        TChartBrush& brush = Zoom().Brush();
        const TColor fill = brush.Color() == clDefault ? clWhite : brush.Color();
        canvas.SetBrush(
            TBrushDesc{(ColorToRGB(fill) ^ inverse) & 0xFFFFFF, brush.Style(), nullptr});
    } else {
        canvas.SetBrushStyle(bsClear);
    }
    canvas.SetBackMode(cbmTransparent);
    canvas.Rectangle(zoom.X0, zoom.Y0, zoom.X1, zoom.Y1);
    canvas.SetPenMode(pmCopy);
}

bool TCustomChart::DragAllowed() const {
    return ActiveSeriesUseAxis();
}

TChartClickedPart TCustomChart::CalcClickedPart(int x, int y, bool forMousePress) const {
    TChartClickedPart part;
    // Legend first: it lies over everything else.
    if (Legend_->Visible() && Legend_->ShouldDraw()) {
        const int item = Legend_->Clicked(x, y);
        if (item != -1) {
            part.Part = cpLegend;
            part.PointIndex = item;
            return part;
        }
    }
    // Series, topmost (last) first. A press only counts for series with a click event.
    const std::vector<TChartSeries*>& list = SeriesList();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        TChartSeries* s = *it;
        if (!s->Active())
            continue;
        if (forMousePress && !s->OnClick)
            continue;
        const int index = s->Clicked(x, y);
        if (index != -1) {
            part.Part = cpSeries;
            part.ASeries = s;
            part.PointIndex = index;
            return part;
        }
        if (s->Marks().Visible()) {
            const int mark = s->Marks().Clicked(x, y);
            if (mark != -1) {
                part.Part = cpSeriesMarks;
                part.ASeries = s;
                part.PointIndex = mark;
                return part;
            }
        }
    }
    // Axes.
    for (TChartAxis* a : AxesList()) {
        if (IsAxisVisible(*a) && a->Clicked(x, y)) {
            part.Part = cpAxis;
            part.AAxis = a;
            return part;
        }
    }
    // Titles.
    const std::pair<const TChartTitle*, TChartClickedPartStyle> titles[] = {
        {Title_.get(), cpTitle},
        {SubTitle_.get(), cpSubTitle},
        {Foot_.get(), cpFoot},
        {SubFoot_.get(), cpSubFoot}};
    for (const auto& [title, style] : titles) {
        if (title->Visible() && !title->Text().empty() && title->Clicked(x, y)) {
            part.Part = style;
            return part;
        }
    }
    // Anything else inside the plotting area.
    if (PointInRect(ChartRect, x, y) && CountActiveSeries() > 0)
        part.Part = cpChartRect;
    return part;
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TChartZoom& zoom = Zoom();
    TZoomPanning& panning = Panning();
    if (zoom.Active || panning.Active)
        return;
    const TChartClickedPart part = CalcClickedPart(x, y, true);
    if (part.Part == cpLegend || part.Part == cpSeriesMarks || part.Part == cpNone)
        return;
    if (!DragAllowed())
        return;
    bool started = false;
    if (zoom.Allow() && button == zoom.MouseButton() &&
        (shift & zoom.KeyShift()) == zoom.KeyShift()) {
        if (zoom.Direction() == tzdVertical)
            x = ChartRect.Left;
        if (zoom.Direction() == tzdHorizontal)
            y = ChartRect.Top;
        zoom.Activate(x, y);
        if (zoom.Direction() == tzdVertical)
            zoom.X1 = ChartRect.Right;
        if (zoom.Direction() == tzdHorizontal)
            zoom.Y1 = ChartRect.Bottom;
        DrawZoomRectangle();
        started = true;
    }
    if (AllowPanning() != pmNone && button == ScrollMouseButton_ &&
        (shift & ChartScrollKeyShift) == ChartScrollKeyShift) {
        panning.Activate(x, y);
        PanPrevX_ = x;
        PanPrevY_ = y;
        started = true;
    }
    if (started)
        SetCursor(crDefault);
}

void TCustomChart::MouseMove(TShiftState, int x, int y) {
    TChartZoom& zoom = Zoom();
    TZoomPanning& panning = Panning();
    if (zoom.Active) {
        if (zoom.Direction() == tzdVertical)
            x = ChartRect.Right;
        if (zoom.Direction() == tzdHorizontal)
            y = ChartRect.Bottom;
        if (x != zoom.X1 || y != zoom.Y1) {
            DrawZoomRectangle();
            zoom.X1 = x;
            zoom.Y1 = y;
            DrawZoomRectangle();
        }
    }
    if (panning.Active) {
        if (!PointInRect(ChartRect, x, y)) {
            panning.Active = false;
            return;
        }
        if (x == PanPrevX_ && y == PanPrevY_)
            return;
        if (RestoredAxisScales_)
            SaveScales();
        const TPanningMode mode = AllowPanning();
        bool moved = false;
        auto shift = [&](TChartAxis& axis, int from, int to) {
            const double d = axis.CalcPosPoint(from) - axis.CalcPosPoint(to);
            double minimum = axis.Minimum() + d;
            double maximum = axis.Maximum() + d;
            bool allow = true;
            if (OnAllowScroll)
                OnAllowScroll(axis, minimum, maximum, allow);
            if (!allow)
                return;
            axis.SetMinMax(minimum, maximum);
            moved = true;
        };
        for (TChartAxis* a : AxesList()) {
            if (a->IsDepthAxis())
                continue;
            if (a->Horizontal() && x != PanPrevX_ && (mode == pmHorizontal || mode == pmBoth))
                shift(*a, PanPrevX_, x);
            if (!a->Horizontal() && y != PanPrevY_ && (mode == pmVertical || mode == pmBoth))
                shift(*a, PanPrevY_, y);
        }
        PanPrevX_ = x;
        PanPrevY_ = y;
        if (moved) {
            if (OnScroll)
                OnScroll();
            Invalidate();
        }
        return;
    }
    if (!zoom.Active)
        SetCursor(crDefault);
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState, int x, int y) {
    TChartZoom& zoom = Zoom();
    if (zoom.Active && button == zoom.MouseButton()) {
        zoom.Active = false;
        DrawZoomRectangle();
        if (zoom.Direction() == tzdVertical)
            x = ChartRect.Right;
        if (zoom.Direction() == tzdHorizontal)
            y = ChartRect.Bottom;
        zoom.X1 = x;
        zoom.Y1 = y;
        if (std::abs(zoom.X1 - zoom.X0) > zoom.MinimumPixels() &&
            std::abs(zoom.Y1 - zoom.Y0) > zoom.MinimumPixels()) {
            if (zoom.X0 < zoom.X1 && zoom.Y0 < zoom.Y1)
                ZoomRect({zoom.X0, zoom.Y0, zoom.X1, zoom.Y1});
            else
                UndoZoom();
            Invalidate();
        }
    }
    Panning().Active = false;
}

void TCustomChart::MouseWheel(int delta, TShiftState, int, int) {
    if (!ChartUseMouseWheel || delta == 0)
        return;
    // Each message moves by 3 % of the range: down raises, up lowers.
    const int messages = std::max(1, std::abs(delta) / 120);
    const double sign = delta < 0 ? 1.0 : -1.0;
    for (int m = 0; m < messages; ++m)
        for (TChartAxis* a : AxesList())
            if (!a->Horizontal() && !a->IsDepthAxis())
                a->Scroll(sign * 0.03 * (a->Maximum() - a->Minimum()), false);
    Invalidate();
}

void TCustomChart::MouseLeave() {
    SetCursor(crDefault);
    Panning().Active = false;
}

void TCustomChart::SaveScales() {
    SavedScales_.clear();
    for (const TChartAxis* a : AxesList())
        SavedScales_.push_back({a->Automatic(), a->AutomaticMinimum(), a->AutomaticMaximum(),
                                a->Minimum(), a->Maximum()});
    RestoredAxisScales_ = false;
}

void TCustomChart::SetSavedRange(const TChartAxis& axis, double minimum, double maximum) {
    if (RestoredAxisScales_)
        return;
    const std::vector<TChartAxis*>& axes = AxesList();
    for (std::size_t i = 0; i < axes.size() && i < SavedScales_.size(); ++i)
        if (axes[i] == &axis) {
            SavedScales_[i].Minimum = minimum;
            SavedScales_[i].Maximum = maximum;
        }
}

void TCustomChart::RestoreScales() {
    const std::vector<TChartAxis*>& axes = AxesList();
    for (std::size_t i = 0; i < axes.size() && i < SavedScales_.size(); ++i) {
        TChartAxis& a = *axes[i];
        if (a.IsDepthAxis())
            continue;
        const TAxisSavedScales& s = SavedScales_[i];
        a.SetAutomatic(s.Automatic);
        a.SetAutomaticMinimum(s.AutomaticMinimum);
        a.SetAutomaticMaximum(s.AutomaticMaximum);
        if (!a.Automatic())
            a.SetMinMax(s.Minimum, s.Maximum);
    }
}

void TCustomChart::ZoomRect(const TRect& rect) {
    ZoomRect_ = OrientedRect(rect);
    const TRect r = ZoomRect_;
    struct Target {
        TChartAxis* Axis;
        double Min;
        double Max;
    };
    std::vector<Target> targets;
    for (TChartAxis* a : {&TopAxis(), &BottomAxis()}) {
        double lo = a->CalcPosPoint(r.Left);
        double hi = a->CalcPosPoint(r.Right);
        if (lo > hi)
            std::swap(lo, hi);
        targets.push_back({a, lo, hi});
    }
    for (TChartAxis* a : {&LeftAxis(), &RightAxis()}) {
        double lo = a->CalcPosPoint(r.Bottom);
        double hi = a->CalcPosPoint(r.Top);
        if (lo > hi)
            std::swap(lo, hi);
        targets.push_back({a, lo, hi});
    }
    if (RestoredAxisScales_)
        SaveScales();
    if (Zoom().Animated()) {
        for (int step = 1; step < Zoom().AnimatedSteps(); ++step) {
            for (const Target& t : targets) {
                const double minimum = t.Axis->Minimum();
                const double maximum = t.Axis->Maximum();
                t.Axis->SetMinMax(minimum + (t.Min - minimum) / AnimatedZoomFactor,
                                  maximum - (maximum - t.Max) / AnimatedZoomFactor);
            }
            Repaint();
        }
    }
    for (const Target& t : targets)
        t.Axis->SetMinMax(t.Min, t.Max);
    Zoomed_ = true;
    if (OnZoom)
        OnZoom();
}

void TCustomChart::UndoZoom() {
    if (!RestoredAxisScales_) {
        RestoreScales();
        RestoredAxisScales_ = true;
    }
    if (OnUndoZoom)
        OnUndoZoom();
    Invalidate();
    Zoomed_ = false;
}

void TCustomChart::ZoomPercent(double percent) {
    if (percent <= 0)
        return;
    if (RestoredAxisScales_)
        SaveScales();
    for (TChartAxis* a : {&LeftAxis(), &RightAxis(), &TopAxis(), &BottomAxis()}) {
        const double minimum = a->Minimum();
        const double maximum = a->Maximum();
        const double middle = (minimum + maximum) / 2;
        const double half = (maximum - minimum) / 2 * 100.0 / percent;
        a->SetMinMax(middle - half, middle + half);
    }
    Zoomed_ = true;
    if (OnZoom)
        OnZoom();
}
