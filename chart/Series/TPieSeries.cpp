#include "chart/Series/TPieSeries.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/Series/TPieOtherSlice.h"
#include "chart/Series/TPieShadow.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace {

constexpr TBrushStyle PatternStyles[6] = {bsHorizontal, bsVertical, bsFDiagonal,
                                          bsBDiagonal,  bsCross,    bsDiagCross};

} // namespace

TPieSeries::TPieSeries()
    : PiePen_(std::make_unique<TChartPen>([this] { Repaint(); })),
      Shadow_(std::make_unique<TPieShadow>([this] { Repaint(); })),
      OtherSlice_(std::make_unique<TPieOtherSlice>([this] { Repaint(); })) {
    SetColorEachPoint(true);
    XValues().SetName("");
    YValues().SetName("Pie");
    Marks().SetVisible(true);
    Marks().Callout().SetLength(8);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::SetAngleSize(int value) {
    if (StoreChanged(AngleSize_, value))
        Repaint();
}
void TPieSeries::SetAutoMarkPosition(bool value) {
    if (StoreChanged(AutoMarkPosition_, value))
        Repaint();
}
void TPieSeries::SetDark3D(bool value) {
    if (StoreChanged(Dark3D_, value))
        Repaint();
}
void TPieSeries::SetExplodeBiggest(int value) {
    if (StoreChanged(ExplodeBiggest_, value))
        Repaint();
}

int TPieSeries::ExplodedSlice(int valueIndex) const {
    if (valueIndex < 0 || valueIndex >= int(Exploded_.size()))
        return 0;
    return Exploded_[std::size_t(valueIndex)];
}

void TPieSeries::SetExplodedSlice(int valueIndex, int percent) {
    if (valueIndex < 0)
        return;
    if (valueIndex >= int(Exploded_.size()))
        Exploded_.resize(std::size_t(valueIndex) + 1, 0);
    if (StoreChanged(Exploded_[std::size_t(valueIndex)], percent))
        Repaint();
}

int TPieSeries::AddPie(double value, const std::string& label, TColor color) {
    return Add(value, label, color);
}

bool TPieSeries::BelongsToOtherSlice(int valueIndex) const {
    return XValues().Value(valueIndex) == -1;
}

void TPieSeries::Clear() {
    TChartSeries::Clear();
    Angles_.clear();
}

// --- before drawing: the other slice ---------------------------------------------------

void TPieSeries::DoBeforeDrawChart() {
    TCircledSeries::DoBeforeDrawChart();
    if (PieValues().Order() != loNone)
        PieValues().Sort();
    for (int i = Count() - 1; i >= 0; --i)
        if (XValues().Value(i) == OtherSliceX)
            Delete(i);
    XValues().FillSequence();

    const TPieOtherSlice& other = *OtherSlice_;
    const double total = PieValues().TotalABS();
    if (other.Style() == poNone || total <= 0)
        return;
    double sum = 0;
    bool grouped = false;
    for (int i = 0; i < Count(); ++i) {
        const double v = PieValues().Value(i);
        const double measure = other.Style() == poBelowPercent ? std::fabs(v) * 100.0 / total : v;
        if (measure < other.Value()) {
            XValues().SetValue(i, -1);
            sum += v;
            grouped = true;
        }
    }
    if (!grouped)
        return;
    AddXY(OtherSliceX, sum, other.Text(), other.Color());
    // The grouped values are counted once, by the other slice.
    PieValues().SetTotalABS(PieValues().TotalABS() - std::fabs(sum));
}

// --- angles and exploding --------------------------------------------------------------

void TPieSeries::CalcAngles() {
    const int count = Count();
    Angles_.assign(std::size_t(count), TPieAngle{});
    const double total = PieValues().TotalABS();
    const double size = AngleSize_ * ChartPiStep;
    const double factor = total == 0 ? 0 : size / total;
    double running = 0;
    double previousEnd = 0;
    for (int i = 0; i < count; ++i) {
        TPieAngle& a = Angles_[std::size_t(i)];
        a.StartAngle = previousEnd;
        if (total == 0) {
            a.EndAngle = size;
        } else {
            if (!BelongsToOtherSlice(i))
                running += std::fabs(PieValues().Value(i));
            a.EndAngle = running == total ? size : running * factor;
        }
        if (a.EndAngle - a.StartAngle > size)
            a.EndAngle = a.StartAngle + size;
        a.MidAngle = (a.StartAngle + a.EndAngle) / 2;
        previousEnd = a.EndAngle;
    }
}

void TPieSeries::CalcExplodeBiggest() {
    if (ExplodeBiggest_ <= 0 || Count() == 0)
        return;
    int biggest = 0;
    for (int i = 1; i < Count(); ++i)
        if (PieValues().Value(i) > PieValues().Value(biggest))
            biggest = i;
    if (biggest >= int(Exploded_.size()))
        Exploded_.resize(std::size_t(biggest) + 1, 0);
    Exploded_[std::size_t(biggest)] = ExplodeBiggest_;
}

void TPieSeries::CalcExplodedOffset(int valueIndex, int& dx, int& dy) const {
    dx = 0;
    dy = 0;
    const int percent = ExplodedSlice(valueIndex);
    if (percent == 0 || valueIndex >= int(Angles_.size()))
        return;
    const double p = percent / 100.0;
    const double m = Angles_[std::size_t(valueIndex)].MidAngle + RotationRadians();
    dx = ChartRound(std::cos(m) * XRadius() * p);
    dy = ChartRound(std::sin(m) * YRadius() * p);
}

void TPieSeries::CalcExplodedRadius(int valueIndex, int& xRadius, int& yRadius) const {
    const double factor = 1 + ExplodedSlice(valueIndex) / 100.0;
    xRadius = ChartRound(XRadius() * factor);
    yRadius = ChartRound(YRadius() * factor);
}

void TPieSeries::CalcExplodedCircle() {
    int most = -1;
    int mostPercent = 0;
    for (int i = 0; i < Count(); ++i)
        if (ExplodedSlice(i) > mostPercent) {
            mostPercent = ExplodedSlice(i);
            most = i;
        }
    IsExploded_ = most >= 0;
    if (!IsExploded_)
        return;
    int dx = 0;
    int dy = 0;
    CalcExplodedOffset(most, dx, dy);
    CircleRect_.Left += std::abs(dx) / 2;
    CircleRect_.Right -= std::abs(dx) / 2;
    CircleRect_.Top += std::abs(dy) / 2;
    CircleRect_.Bottom -= std::abs(dy) / 2;
    AdjustCircleRect();
    SetRadiiFromRect();
}

std::vector<int> TPieSeries::SliceDrawOrder() const {
    std::vector<int> order(Angles_.size());
    std::iota(order.begin(), order.end(), 0);
    const bool is3D = ParentChart() && ParentChart()->View3D();
    if (!is3D || !IsExploded_)
        return order;
    // Far slices (nearest to a quarter of the pie, the back of the tilted disc) first.
    const double size = AngleSize_ * ChartPiStep;
    const double quarter = size / 4;
    std::vector<double> distance(Angles_.size());
    for (std::size_t i = 0; i < Angles_.size(); ++i) {
        double a = Angles_[i].MidAngle + RotationRadians();
        if (a > size)
            a -= size;
        double d = std::fabs(a - quarter);
        if (d > std::numbers::pi)
            d = size - d;
        distance[i] = d;
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return distance[std::size_t(a)] < distance[std::size_t(b)];
    });
    return order;
}

// --- drawing ---------------------------------------------------------------------------

void TPieSeries::DrawAllValues() {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas || Count() == 0)
        return;
    CalcAngles();
    CalcExplodeBiggest();
    CalcExplodedCircle();
    AngleToPos(0, XRadius(), YRadius(), LastArc_.X, LastArc_.Y);
    Shadow_->DrawEllipse(*canvas, CircleRect_, EndZ - 10);
    for (int i : SliceDrawOrder())
        DrawValue(i);
}

TBrushStyle TPieSeries::SliceBrushStyle(int valueIndex) const {
    const bool mono = ParentChart() && ParentChart()->Monochrome();
    return mono ? PatternStyles[valueIndex % 6] : bsSolid;
}

void TPieSeries::ApplySliceBrushAndPen(int valueIndex) {
    TChartCanvas3D* canvas = ParentCanvas();
    const bool mono = ParentChart() && ParentChart()->Monochrome();
    const TColor color = mono ? clBlack : ValueColor(valueIndex);
    canvas->AssignBrushColor(Brush(), color, CalcCircleBackColor());
    canvas->SetBrushStyle(SliceBrushStyle(valueIndex));
    canvas->AssignVisiblePen(*PiePen_);
}

void TPieSeries::DrawValue(int valueIndex) {
    if (!ParentCanvas() || CircleWidth_ < 5 || CircleHeight_ < 5 ||
        valueIndex >= int(Angles_.size()) || BelongsToOtherSlice(valueIndex) ||
        ValueColor(valueIndex) == clNone)
        return;
    ApplySliceBrushAndPen(valueIndex);
    DrawPie(valueIndex);
}

void TPieSeries::DrawPie(int valueIndex) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas || valueIndex >= int(Angles_.size()))
        return;
    int dx = 0;
    int dy = 0;
    CalcExplodedOffset(valueIndex, dx, dy);
    const TPieAngle& a = Angles_[std::size_t(valueIndex)];
    const double rotation = RotationRadians();
    const bool is3D = ParentChart() && ParentChart()->View3D();
    if (is3D) {
        canvas->Pie3D(CircleXCenter_ + dx, CircleYCenter_ - dy, XRadius_, YRadius_, StartZ, EndZ,
                      a.StartAngle + rotation, a.EndAngle + rotation, Dark3D_, IsExploded_, 0);
        return;
    }
    TPoint end;
    AngleToPos(a.EndAngle, XRadius_, YRadius_, end.X, end.Y);
    if (!(end == LastArc_) || Count() == 1 || a.EndAngle - a.StartAngle > 1) {
        const TRect& r = CircleRect_;
        canvas->Pie(r.Left + dx, r.Top - dy, r.Right + dx, r.Bottom - dy, LastArc_.X + dx,
                    LastArc_.Y - dy, end.X + dx, end.Y - dy);
    }
    LastArc_ = end;
}

void TPieSeries::DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
    if (BelongsToOtherSlice(valueIndex) || valueIndex >= int(Angles_.size()))
        return;
    int xRadius = 0;
    int yRadius = 0;
    CalcExplodedRadius(valueIndex, xRadius, yRadius);
    const TMarksCallout& callout = Marks().Callout();
    const int distance = callout.Distance();
    const int length = callout.Length();
    const double mid = Angles_[std::size_t(valueIndex)].MidAngle;
    AngleToPos(mid, xRadius + length + distance, yRadius + length + distance, position.ArrowTo.X,
               position.ArrowTo.Y);
    AngleToPos(mid, xRadius + distance, yRadius + distance, position.ArrowFrom.X,
               position.ArrowFrom.Y);
    position.LeftTop.X = position.ArrowTo.X > CircleXCenter_ ? position.ArrowTo.X
                                                             : position.ArrowTo.X - position.Width;
    position.LeftTop.Y = position.ArrowTo.Y > CircleYCenter_ ? position.ArrowTo.Y
                                                             : position.ArrowTo.Y - position.Height;
    Marks().ZPosition = EndZ;
    if (AutoMarkPosition_)
        Marks().AntiOverlap(0, valueIndex, position);
    TChartSeries::DrawMark(valueIndex, text, position);
}

// --- legend ----------------------------------------------------------------------------

int TPieSeries::CountLegendItems() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        if (BelongsToOtherSlice(i) == ListingOther_)
            ++n;
    return n;
}

int TPieSeries::LegendToValueIndex(int legendIndex) const {
    int k = 0;
    for (int i = 0; i < Count(); ++i)
        if (BelongsToOtherSlice(i) == ListingOther_) {
            if (k == legendIndex)
                return i;
            ++k;
        }
    return legendIndex;
}

void TPieSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    backColor = CalcCircleBackColor();
    canvas->AssignVisiblePen(*PiePen_);
    canvas->SetBrushStyle(SliceBrushStyle(std::max(valueIndex, 0)));
}

void TPieSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const TColor color = valueIndex == -1 ? SeriesColor() : ValueColor(valueIndex);
    if (color == clNone)
        return;
    TColor back = clNone;
    canvas->AssignBrushColor(Brush(), color, CalcCircleBackColor());
    PrepareLegendCanvas(valueIndex, back);
    canvas->Rectangle(rect);
}

// --- hit test --------------------------------------------------------------------------

int TPieSeries::CalcClickedPie(int x, int y) {
    if (Angles_.empty())
        return -1;
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->View3D())
        chart->Canvas().Calculate2DPosition(x, y, chart->SeriesWidth3D);
    const double angle = PointToAngle(x, y);
    const double distance = std::hypot(double(x - CircleXCenter_), double(y - CircleYCenter_));
    for (int i = 0; i < int(Angles_.size()) && i < Count(); ++i) {
        if (BelongsToOtherSlice(i))
            continue;
        const TPieAngle& a = Angles_[std::size_t(i)];
        if (angle < a.StartAngle || angle > a.EndAngle)
            continue;
        int dx = 0;
        int dy = 0;
        CalcExplodedOffset(i, dx, dy);
        if (distance <=
            std::hypot(double(std::abs(dx) + XRadius_), double(std::abs(dy) + YRadius_)))
            return i;
    }
    return -1;
}

int TPieSeries::Clicked(int x, int y) {
    return CalcClickedPie(x, y);
}
