#include "chart/Series/TCustomBarSeries.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/Series/TBarSeriesGradient.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace {

// Which side of the directed edge a-b the point lies on (sign of the cross product).
long long Side(TPoint a, TPoint b, TPoint p) {
    return (long long)(b.X - a.X) * (p.Y - a.Y) - (long long)(b.Y - a.Y) * (p.X - a.X);
}

bool PointInTriangle(TPoint p, TPoint a, TPoint b, TPoint c) {
    const long long s1 = Side(a, b, p);
    const long long s2 = Side(b, c, p);
    const long long s3 = Side(c, a, p);
    const bool hasNeg = s1 < 0 || s2 < 0 || s3 < 0;
    const bool hasPos = s1 > 0 || s2 > 0 || s3 > 0;
    return !(hasNeg && hasPos);
}

bool PointInEllipse(TPoint p, const TRect& r) {
    const double a = (r.Right - r.Left) / 2.0;
    const double b = (r.Bottom - r.Top) / 2.0;
    if (a <= 0 || b <= 0)
        return false;
    const double dx = (p.X - (r.Left + r.Right) / 2.0) / a;
    const double dy = (p.Y - (r.Top + r.Bottom) / 2.0) / b;
    return dx * dx + dy * dy <= 1.0;
}

} // namespace

TCustomBarSeries::TCustomBarSeries()
    : BarPen_(std::make_unique<TChartPen>([this] { Repaint(); })),
      BarBrush_(std::make_unique<TChartBrush>([this] { Repaint(); })),
      Gradient_(std::make_unique<TBarSeriesGradient>([this] { Repaint(); })) {
    Marks().SetVisible(true);
    Marks().Callout().SetLength(20);
    YValues().SetName("Bar");
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::SetBarWidthPercent(int value) {
    if (StoreChanged(BarWidthPercent_, value))
        Repaint();
}
void TCustomBarSeries::SetBarStyle(TBarStyle value) {
    if (StoreChanged(BarStyle_, value))
        Repaint();
}
void TCustomBarSeries::SetMultiBar(TMultiBar value) {
    if (StoreChanged(MultiBar_, value))
        Repaint();
}
void TCustomBarSeries::SetUseYOrigin(bool value) {
    if (StoreChanged(UseYOrigin_, value))
        Repaint();
}
void TCustomBarSeries::SetYOrigin(double value) {
    if (StoreChanged(YOrigin_, value))
        Repaint();
}
void TCustomBarSeries::SetSideMargins(bool value) {
    if (StoreChanged(SideMargins_, value))
        Repaint();
}
void TCustomBarSeries::SetAutoMarkPosition(bool value) {
    if (StoreChanged(AutoMarkPosition_, value))
        Repaint();
}
void TCustomBarSeries::SetDark3D(bool value) {
    if (StoreChanged(Dark3D_, value))
        Repaint();
}

int TCustomBarSeries::AddBar(double value, const std::string& label, TColor color) {
    return Add(value, label, color);
}

// --- layout --------------------------------------------------------------------------

void TCustomBarSeries::DoBeforeDrawChart() {
    BarOrder_ = 1;
    NumBars_ = 0;
    MaxBarPoints_ = -1;
    TCustomAxisPanel* chart = ParentChart();
    if (!chart)
        return;
    bool passedSelf = false;
    for (TChartSeries* s : chart->SeriesList()) {
        auto* bar = dynamic_cast<TCustomBarSeries*>(s);
        if (!bar || !bar->Active() || typeid(*bar) != typeid(*this))
            continue;
        if (bar == this)
            passedSelf = true;
        // A series without points asks for no slot, so an empty chart has bars 0 wide.
        const int slots = bar->Count() > 0 ? bar->Count() + (bar->SideMargins_ ? 1 : 0) : 0;
        MaxBarPoints_ = std::max(MaxBarPoints_, slots);
        if (bar->MultiBar_ == mbNone) {
            NumBars_ = 1;
        } else {
            ++NumBars_;
            if (!passedSelf)
                ++BarOrder_;
        }
    }
}

void TCustomBarSeries::CalcBarWidth() {
    if (CustomBarWidth_ > 0) {
        BarWidth_ = CustomBarWidth_;
        return;
    }
    TChartAxis* axis = GetHorizAxis();
    if (MaxBarPoints_ <= 0 || !axis) {
        BarWidth_ = 0;
        return;
    }
    const int slot = axis->IAxisSize() / MaxBarPoints_;
    int width = ChartRound(BarWidthPercent_ / 100.0 * slot) / std::max(NumBars_, 1);
    if (width % 2 != 0)
        ++width;
    BarWidth_ = width;
}

void TCustomBarSeries::CalcHorizMargins(int& leftMargin, int& rightMargin) {
    TChartSeries::CalcHorizMargins(leftMargin, rightMargin);
    CalcBarWidth();
    int room = BarWidth_ * std::max(NumBars_, 1);
    if (!SideMargins_)
        room /= 2;
    if (BarWidth_ > 0) {
        leftMargin += room;
        rightMargin += room;
    }
}

int TCustomBarSeries::CalcMarkLength() {
    TChartCanvas3D* canvas = ParentCanvas();
    if (Count() == 0 || !Marks().Visible() || !canvas)
        return 0;
    canvas->AssignFont(Marks().Font());
    int length = canvas->FontHeight() + Marks().Callout().Length();
    if (Marks().Frame().Visible())
        length += 2 * Marks().Frame().Width();
    return length;
}

bool TCustomBarSeries::AnyValueBelowOrigin() const {
    for (double v : MandatoryValueList().Values())
        if (v < YOrigin_)
            return true;
    return false;
}

bool TCustomBarSeries::AnyValueAboveOrigin() const {
    for (double v : MandatoryValueList().Values())
        if (v > YOrigin_)
            return true;
    return false;
}

void TCustomBarSeries::CalcVerticalMargins(int& topMargin, int& bottomMargin) {
    TChartSeries::CalcVerticalMargins(topMargin, bottomMargin);
    const int length = CalcMarkLength();
    if (length <= 0)
        return;
    const bool inverted = GetVertAxis() && GetVertAxis()->Inverted();
    int& below = inverted ? topMargin : bottomMargin;
    int& above = inverted ? bottomMargin : topMargin;
    if (UseYOrigin_ && AnyValueBelowOrigin())
        below += length + 1;
    if (!(UseYOrigin_ && !AnyValueAboveOrigin()))
        above += length + 1;
}

double TCustomBarSeries::MinYValue() const {
    const double v = TChartSeries::MinYValue();
    return UseYOrigin_ ? std::min(v, YOrigin_) : v;
}

double TCustomBarSeries::MaxYValue() const {
    const double v = TChartSeries::MaxYValue();
    return UseYOrigin_ ? std::max(v, YOrigin_) : v;
}

// --- positions -----------------------------------------------------------------------

int TCustomBarSeries::CalcXPos(int valueIndex) const {
    const int pixel = CalcXPosValue(NotMandatoryValueList().Value(valueIndex));
    if (MultiBar_ == mbSide)
        return pixel + ChartRound((BarOrder_ - NumBars_ * 0.5 - 1) * BarWidth_);
    return pixel - BarWidth_ / 2;
}

int TCustomBarSeries::CalcYPos(int valueIndex) const {
    return CalcYPosValue(MandatoryValueList().Value(valueIndex));
}

int TCustomBarSeries::GetOriginPos(int /*valueIndex*/) const {
    if (UseYOrigin_)
        return CalcYPosValue(YOrigin_);
    TChartAxis* axis = GetVertAxis();
    if (!axis)
        return 0;
    return axis->Inverted() ? axis->IStartPos() : axis->IEndPos();
}

// --- drawing -------------------------------------------------------------------------

TColor TCustomBarSeries::BarBackColor() const {
    if (BarBrush_->Color() != clDefault)
        return BarBrush_->Color();
    return ParentChart() ? ParentChart()->Color() : clWhite;
}

void TCustomBarSeries::SetPenBrushBar(TColor color) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    canvas->AssignVisiblePen(*BarPen_);
    canvas->AssignBrushColor(*BarBrush_, color, BarBackColor());
}

TBarStyle TCustomBarSeries::GetBarStyle(int valueIndex) {
    TBarStyle style = BarStyle_;
    if (OnGetBarStyle)
        OnGetBarStyle(this, valueIndex, style);
    return style;
}

void TCustomBarSeries::DrawValue(int valueIndex) {
    const TColor color = ValueColor(valueIndex);
    if (color == clNone)
        return;
    BarColor_ = color;
    const int left = CalcXPos(valueIndex);
    int right = left + BarWidth_ + 1;
    if (BarWidthPercent_ == 100 && CustomBarWidth_ == 0) {
        const bool inverted = GetHorizAxis() && GetHorizAxis()->Inverted();
        const int neighbour = inverted ? valueIndex - 1 : valueIndex + 1;
        if (neighbour >= 0 && neighbour < Count())
            right = CalcXPos(neighbour);
    }
    int top = CalcYPos(valueIndex);
    int bottom = GetOriginPos(valueIndex);
    if (!BarPen_->Visible()) {
        if (bottom > top)
            ++bottom;
        else
            ++top;
        ++right;
    }
    BarBounds_ = TRect{left, std::min(top, bottom), right, std::max(top, bottom)};
    DrawBar(valueIndex, BarBounds_.Top, BarBounds_.Bottom);
}

void TCustomBarSeries::DrawBar(int valueIndex, int startPos, int endPos) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    SetPenBrushBar(BarColor_);
    const TBarStyle style = GetBarStyle(valueIndex);
    const int left = BarBounds_.Left;
    const int right = BarBounds_.Right;
    const int middle = (left + right) / 2;
    const bool is3D = ParentChart() && ParentChart()->View3D();

    if (is3D) {
        // Solids between the series' depths; the program's bar chart is flat.
        switch (style) {
        case bsPyramid:
        case bsCone:
            canvas->Pyramid(true, left, startPos, right, endPos, StartZ, EndZ, Dark3D_);
            break;
        case bsInvPyramid:
            canvas->Pyramid(true, left, endPos, right, startPos, StartZ, EndZ, Dark3D_);
            break;
        case bsCilinder:
            canvas->Cylinder(true, left, startPos, right, endPos, StartZ, EndZ, Dark3D_);
            break;
        default:
            canvas->Cube(left, right, startPos, endPos, StartZ, EndZ, Dark3D_);
            break;
        }
        return;
    }

    switch (style) {
    case bsRectangle:
    case bsCilinder:
    case bsRectGradient:
    case bsBevel:
        BarRectangle(BarColor_, left, startPos, right, endPos);
        break;
    case bsPyramid:
    case bsCone: {
        const TPoint p[3] = {{left, endPos}, {middle, startPos}, {right, endPos}};
        canvas->Polygon(p, 2);
        break;
    }
    case bsInvPyramid: {
        const TPoint p[3] = {{left, startPos}, {middle, endPos}, {right, startPos}};
        canvas->Polygon(p, 2);
        break;
    }
    case bsEllipse:
        canvas->Ellipse(left, startPos, right, endPos);
        break;
    case bsArrow: {
        const int width = right - left;
        canvas->Arrow(true, TPoint{middle, endPos}, TPoint{middle, startPos}, width,
                      std::max(1, width / 2), StartZ);
        break;
    }
    }
    if (style == bsRectGradient)
        BarGradient(valueIndex, TRect{left, startPos, right, endPos});
    else if (style == bsBevel) {
        TRect r{left, startPos, right, endPos};
        constexpr int BevelWidth = 1;
        canvas->Frame3D(r, ApplyBright(BarColor_, 64), ApplyDark(BarColor_, 64), BevelWidth);
    }
}

void TCustomBarSeries::BarRectangle(TColor color, int left, int top, int right, int bottom) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    if (canvas->Brush().Style == bsSolid && !canvas->Brush().Bitmap) {
        if (left == right || top == bottom) {
            canvas->SetPenColor(color);
            if (canvas->Pen().Style == psClear)
                canvas->SetPenStyle(psSolid);
            canvas->MoveTo(left, top);
            canvas->LineTo(right, bottom);
            return;
        }
        const int penWidth = canvas->Pen().Width;
        if (right - left < penWidth || bottom - top < penWidth) {
            canvas->SetPenColor(color);
            canvas->SetPenStyle(psSolid);
            canvas->SetBrushStyle(bsClear);
        }
    }
    canvas->Rectangle(left, top, right, bottom);
}

void TCustomBarSeries::BarGradient(int valueIndex, const TRect& rect) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    TColor endColor = BarColor_;
    if (Gradient_->Relative()) {
        const double low = UseYOrigin_ ? YOrigin_ : TChartSeries::MinYValue();
        const double high = TChartSeries::MaxYValue();
        const double v = MandatoryValueList().Value(valueIndex);
        const double t = high > low ? std::clamp((v - low) / (high - low), 0.0, 1.0) : 1.0;
        const TColor start = Gradient_->StartColor();
        endColor =
            RGBColor(GetRValue(start) + ChartRound(t * (GetRValue(BarColor_) - GetRValue(start))),
                     GetGValue(start) + ChartRound(t * (GetGValue(BarColor_) - GetGValue(start))),
                     GetBValue(start) + ChartRound(t * (GetBValue(BarColor_) - GetBValue(start))));
    }
    // Setting the colour while drawing must not ask for another repaint.
    auto onChange = std::move(Gradient_->OnChange);
    Gradient_->OnChange = nullptr;
    Gradient_->SetEndColor(endColor);
    Gradient_->OnChange = std::move(onChange);

    TRect r = rect;
    if (BarPen_->Visible()) {
        const int penWidth = BarPen_->Width();
        r = TRect{rect.Left + 1, rect.Top + 1, rect.Right - penWidth, rect.Bottom - penWidth};
    }
    Gradient_->Draw(*canvas, r);
}

void TCustomBarSeries::DrawMark(int valueIndex, const std::string& text,
                                TSeriesMarkPosition& position) {
    const TMarksCallout& callout = Marks().Callout();
    const int distance = callout.Distance();
    const int length = callout.Length() + distance;
    if (GetOriginPos(valueIndex) >= position.ArrowFrom.Y) {
        position.ArrowFrom.Y -= distance;
        position.LeftTop.Y -= length;
        position.ArrowTo.Y -= length;
    } else {
        position.ArrowFrom.Y += distance;
        position.LeftTop.Y += length + position.Height;
        position.ArrowTo.Y += length + position.Height;
    }
    const int shift = BarWidth_ / 2;
    position.LeftTop.X += shift;
    position.ArrowFrom.X += shift;
    position.ArrowTo.X += shift;
    if (AutoMarkPosition_)
        Marks().AntiOverlap(FirstValueIndex(), valueIndex, position);
    auto& stored = Marks().Positions();
    const auto at = static_cast<std::size_t>(valueIndex);
    const bool custom = at < stored.size() && stored[at] && stored[at]->Custom;
    // Marks go by rising index; a lower one starts another pass over them.
    if (valueIndex <= LastMarkIndex_)
        DrawnMarkBoxes_.clear();
    LastMarkIndex_ = valueIndex;
    if (!custom) {
        KeepMarkInPanel(position);
        const TRect box = MarkBox(position);
        if (std::any_of(DrawnMarkBoxes_.begin(), DrawnMarkBoxes_.end(),
                        [&box](const TRect& drawn) { return Overlap(box, drawn); })) {
            if (at < stored.size())
                stored[at].reset(); // not drawn, so not clickable either
            return;
        }
    }
    TChartSeries::DrawMark(valueIndex, text, position);
    DrawnMarkBoxes_.push_back(MarkBox(position));
}

void TCustomBarSeries::DoBeforeDrawValues() {
    DrawnMarkBoxes_.clear();
    LastMarkIndex_ = -1;
    TChartSeries::DoBeforeDrawValues();
}

TRect TCustomBarSeries::MarkBox(const TSeriesMarkPosition& position) const {
    TPoint leftTop;
    Marks().ConvertTo2D(position, leftTop);
    TRect r{leftTop.X, leftTop.Y, leftTop.X + position.Width, leftTop.Y + position.Height};
    const int h = Marks().Shadow().HorizSize();
    const int v = Marks().Shadow().VertSize();
    (h > 0 ? r.Right : r.Left) += h;
    (v > 0 ? r.Bottom : r.Top) += v;
    return r;
}

bool TCustomBarSeries::Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

void TCustomBarSeries::KeepMarkInPanel(TSeriesMarkPosition& position) const {
    const TCustomAxisPanel* chart = ParentChart();
    if (!chart)
        return;
    const TRect& panel = chart->ChartBounds;
    if (panel.Right <= panel.Left || panel.Bottom <= panel.Top)
        return; // not laid out by a repaint yet
    const TRect box = MarkBox(position);
    int dx = 0;
    int dy = 0;
    if (box.Right > panel.Right)
        dx = panel.Right - box.Right;
    if (box.Left + dx < panel.Left)
        dx = panel.Left - box.Left;
    if (box.Bottom > panel.Bottom)
        dy = panel.Bottom - box.Bottom;
    if (box.Top + dy < panel.Top)
        dy = panel.Top - box.Top;
    // The arrow end travels with the box; its start stays at the bar.
    position.LeftTop.X += dx;
    position.LeftTop.Y += dy;
    position.ArrowTo.X += dx;
    position.ArrowTo.Y += dy;
}

// --- legend --------------------------------------------------------------------------

void TCustomBarSeries::PrepareLegendCanvas(int /*valueIndex*/, TColor& backColor) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    canvas->AssignVisiblePen(*BarPen_);
    canvas->SetBrushStyle(BarBrush_->Style());
    backColor = BarBackColor();
}

void TCustomBarSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const TColor color = valueIndex == -1 ? SeriesColor() : ValueColor(valueIndex);
    if (color == clNone)
        return;
    TColor back = clNone;
    PrepareLegendCanvas(valueIndex, back);
    canvas->AssignBrushColor(*BarBrush_, color, back);
    canvas->Rectangle(rect);
}

// --- hit test ------------------------------------------------------------------------

bool TCustomBarSeries::InternalClicked(int valueIndex, const TPoint& point) const {
    const int left = CalcXPos(valueIndex);
    if (point.X < left || point.X > left + BarWidth_)
        return false;
    int top = CalcYPos(valueIndex);
    int bottom = GetOriginPos(valueIndex);
    if (top > bottom)
        std::swap(top, bottom);
    const int right = left + BarWidth_;
    const int middle = (left + right) / 2;
    TBarStyle style = BarStyle_;
    if (OnGetBarStyle)
        OnGetBarStyle(const_cast<TCustomBarSeries*>(this), valueIndex, style);
    switch (style) {
    case bsPyramid:
    case bsCone:
        return PointInTriangle(point, {left, bottom}, {middle, top}, {right, bottom});
    case bsInvPyramid:
        return PointInTriangle(point, {left, top}, {middle, bottom}, {right, top});
    case bsEllipse:
        return PointInEllipse(point, TRect{left, top, right, bottom});
    default:
        return point.Y >= top && point.Y <= bottom;
    }
}

int TCustomBarSeries::Clicked(int x, int y) {
    const int first = FirstValueIndex();
    if (first < 0)
        return -1;
    if (ParentChart() && ParentChart()->View3D())
        ParentChart()->Canvas().Calculate2DPosition(x, y, StartZ);
    const int last = std::min(LastValueIndex(), Count() - 1);
    for (int i = first; i <= last; ++i)
        if (InternalClicked(i, TPoint{x, y}))
            return i;
    return -1;
}
