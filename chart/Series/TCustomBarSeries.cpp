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
    : FBarPen(std::make_unique<TChartPen>([this] { Repaint(); })),
      FBarBrush(std::make_unique<TChartBrush>([this] { Repaint(); })),
      FGradient(std::make_unique<TBarSeriesGradient>([this] { Repaint(); })) {
    Marks().SetVisible(true);
    Marks().Callout().SetLength(20);
    YValues().SetName("Bar");
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::SetBarWidthPercent(int value) {
    if (StoreChanged(FBarWidthPercent, value))
        Repaint();
}
void TCustomBarSeries::SetBarStyle(TBarStyle value) {
    if (StoreChanged(FBarStyle, value))
        Repaint();
}
void TCustomBarSeries::SetMultiBar(TMultiBar value) {
    if (StoreChanged(FMultiBar, value))
        Repaint();
}
void TCustomBarSeries::SetUseYOrigin(bool value) {
    if (StoreChanged(FUseYOrigin, value))
        Repaint();
}
void TCustomBarSeries::SetYOrigin(double value) {
    if (StoreChanged(FYOrigin, value))
        Repaint();
}
void TCustomBarSeries::SetSideMargins(bool value) {
    if (StoreChanged(FSideMargins, value))
        Repaint();
}
void TCustomBarSeries::SetAutoMarkPosition(bool value) {
    if (StoreChanged(FAutoMarkPosition, value))
        Repaint();
}
void TCustomBarSeries::SetDark3D(bool value) {
    if (StoreChanged(FDark3D, value))
        Repaint();
}

int TCustomBarSeries::AddBar(double value, const std::string& label, TColor color) {
    return Add(value, label, color);
}

// --- layout --------------------------------------------------------------------------

void TCustomBarSeries::DoBeforeDrawChart() {
    FBarOrder = 1;
    FNumBars = 0;
    FMaxBarPoints = -1;
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
        const int slots = bar->Count() > 0 ? bar->Count() + (bar->FSideMargins ? 1 : 0) : 0;
        FMaxBarPoints = std::max(FMaxBarPoints, slots);
        if (bar->FMultiBar == mbNone) {
            FNumBars = 1;
        } else {
            ++FNumBars;
            if (!passedSelf)
                ++FBarOrder;
        }
    }
}

void TCustomBarSeries::CalcBarWidth() {
    if (FCustomBarWidth > 0) {
        FBarWidth = FCustomBarWidth;
        return;
    }
    TChartAxis* axis = GetHorizAxis();
    if (FMaxBarPoints <= 0 || !axis) {
        FBarWidth = 0;
        return;
    }
    const int slot = axis->IAxisSize() / FMaxBarPoints;
    int width = ChartRound(FBarWidthPercent / 100.0 * slot) / std::max(FNumBars, 1);
    if (width % 2 != 0)
        ++width;
    FBarWidth = width;
}

void TCustomBarSeries::CalcHorizMargins(int& leftMargin, int& rightMargin) {
    TChartSeries::CalcHorizMargins(leftMargin, rightMargin);
    CalcBarWidth();
    int room = FBarWidth * std::max(FNumBars, 1);
    if (!FSideMargins)
        room /= 2;
    if (FBarWidth > 0) {
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
        if (v < FYOrigin)
            return true;
    return false;
}

bool TCustomBarSeries::AnyValueAboveOrigin() const {
    for (double v : MandatoryValueList().Values())
        if (v > FYOrigin)
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
    if (FUseYOrigin && AnyValueBelowOrigin())
        below += length + 1;
    if (!(FUseYOrigin && !AnyValueAboveOrigin()))
        above += length + 1;
}

double TCustomBarSeries::MinYValue() const {
    const double v = TChartSeries::MinYValue();
    return FUseYOrigin ? std::min(v, FYOrigin) : v;
}

double TCustomBarSeries::MaxYValue() const {
    const double v = TChartSeries::MaxYValue();
    return FUseYOrigin ? std::max(v, FYOrigin) : v;
}

// --- positions -----------------------------------------------------------------------

int TCustomBarSeries::CalcXPos(int valueIndex) const {
    const int pixel = CalcXPosValue(NotMandatoryValueList().Value(valueIndex));
    if (FMultiBar == mbSide)
        return pixel + ChartRound((FBarOrder - FNumBars * 0.5 - 1) * FBarWidth);
    return pixel - FBarWidth / 2;
}

int TCustomBarSeries::CalcYPos(int valueIndex) const {
    return CalcYPosValue(MandatoryValueList().Value(valueIndex));
}

int TCustomBarSeries::GetOriginPos(int /*valueIndex*/) const {
    if (FUseYOrigin)
        return CalcYPosValue(FYOrigin);
    TChartAxis* axis = GetVertAxis();
    if (!axis)
        return 0;
    return axis->Inverted() ? axis->IStartPos() : axis->IEndPos();
}

// --- drawing -------------------------------------------------------------------------

TColor TCustomBarSeries::BarBackColor() const {
    if (FBarBrush->Color() != clDefault)
        return FBarBrush->Color();
    return ParentChart() ? ParentChart()->Color() : clWhite;
}

void TCustomBarSeries::SetPenBrushBar(TColor color) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    canvas->AssignVisiblePen(*FBarPen);
    canvas->AssignBrushColor(*FBarBrush, color, BarBackColor());
}

TBarStyle TCustomBarSeries::GetBarStyle(int valueIndex) {
    TBarStyle style = FBarStyle;
    if (OnGetBarStyle)
        OnGetBarStyle(this, valueIndex, style);
    return style;
}

void TCustomBarSeries::DrawValue(int valueIndex) {
    const TColor color = ValueColor(valueIndex);
    if (color == clNone)
        return;
    FBarColor = color;
    const int left = CalcXPos(valueIndex);
    int right = left + FBarWidth + 1;
    if (FBarWidthPercent == 100 && FCustomBarWidth == 0) {
        const bool inverted = GetHorizAxis() && GetHorizAxis()->Inverted();
        const int neighbour = inverted ? valueIndex - 1 : valueIndex + 1;
        if (neighbour >= 0 && neighbour < Count())
            right = CalcXPos(neighbour);
    }
    int top = CalcYPos(valueIndex);
    int bottom = GetOriginPos(valueIndex);
    if (!FBarPen->Visible()) {
        if (bottom > top)
            ++bottom;
        else
            ++top;
        ++right;
    }
    FBarBounds = TRect{left, std::min(top, bottom), right, std::max(top, bottom)};
    DrawBar(valueIndex, FBarBounds.Top, FBarBounds.Bottom);
}

void TCustomBarSeries::DrawBar(int valueIndex, int startPos, int endPos) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    SetPenBrushBar(FBarColor);
    const TBarStyle style = GetBarStyle(valueIndex);
    const int left = FBarBounds.Left;
    const int right = FBarBounds.Right;
    const int middle = (left + right) / 2;
    const bool is3D = ParentChart() && ParentChart()->View3D();

    if (is3D) {
        // Solids between the series' depths; the program's bar chart is flat.
        switch (style) {
        case bsPyramid:
        case bsCone:
            canvas->Pyramid(true, left, startPos, right, endPos, StartZ, EndZ, FDark3D);
            break;
        case bsInvPyramid:
            canvas->Pyramid(true, left, endPos, right, startPos, StartZ, EndZ, FDark3D);
            break;
        case bsCilinder:
            canvas->Cylinder(true, left, startPos, right, endPos, StartZ, EndZ, FDark3D);
            break;
        default:
            canvas->Cube(left, right, startPos, endPos, StartZ, EndZ, FDark3D);
            break;
        }
        return;
    }

    switch (style) {
    case bsRectangle:
    case bsCilinder:
    case bsRectGradient:
    case bsBevel:
        BarRectangle(FBarColor, left, startPos, right, endPos);
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
        canvas->Frame3D(r, ApplyBright(FBarColor, 64), ApplyDark(FBarColor, 64), FBevelSize);
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
    TColor endColor = FBarColor;
    if (FGradient->Relative()) {
        const double low = FUseYOrigin ? FYOrigin : TChartSeries::MinYValue();
        const double high = TChartSeries::MaxYValue();
        const double v = MandatoryValueList().Value(valueIndex);
        const double t = high > low ? std::clamp((v - low) / (high - low), 0.0, 1.0) : 1.0;
        const TColor start = FGradient->StartColor();
        endColor =
            RGBColor(GetRValue(start) + ChartRound(t * (GetRValue(FBarColor) - GetRValue(start))),
                     GetGValue(start) + ChartRound(t * (GetGValue(FBarColor) - GetGValue(start))),
                     GetBValue(start) + ChartRound(t * (GetBValue(FBarColor) - GetBValue(start))));
    }
    // Setting the colour while drawing must not ask for another repaint.
    auto onChange = std::move(FGradient->OnChange);
    FGradient->OnChange = nullptr;
    FGradient->SetEndColor(endColor);
    FGradient->OnChange = std::move(onChange);

    TRect r = rect;
    if (FBarPen->Visible()) {
        const int penWidth = FBarPen->Width();
        r = TRect{rect.Left + 1, rect.Top + 1, rect.Right - penWidth, rect.Bottom - penWidth};
    }
    FGradient->Draw(*canvas, r);
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
    const int shift = FBarWidth / 2;
    position.LeftTop.X += shift;
    position.ArrowFrom.X += shift;
    position.ArrowTo.X += shift;
    if (FAutoMarkPosition)
        Marks().AntiOverlap(FirstValueIndex(), valueIndex, position);
    auto& stored = Marks().Positions();
    const auto at = static_cast<std::size_t>(valueIndex);
    const bool custom = at < stored.size() && stored[at] && stored[at]->Custom;
    // Marks go by rising index; a lower one starts another pass over them.
    if (valueIndex <= FLastMarkIndex)
        FDrawnMarkBoxes.clear();
    FLastMarkIndex = valueIndex;
    if (!custom) {
        KeepMarkInPanel(position);
        const TRect box = MarkBox(position);
        if (std::any_of(FDrawnMarkBoxes.begin(), FDrawnMarkBoxes.end(),
                        [&box](const TRect& drawn) { return Overlap(box, drawn); })) {
            if (at < stored.size())
                stored[at].reset(); // not drawn, so not clickable either
            return;
        }
    }
    TChartSeries::DrawMark(valueIndex, text, position);
    FDrawnMarkBoxes.push_back(MarkBox(position));
}

void TCustomBarSeries::DoBeforeDrawValues() {
    FDrawnMarkBoxes.clear();
    FLastMarkIndex = -1;
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
    canvas->AssignVisiblePen(*FBarPen);
    canvas->SetBrushStyle(FBarBrush->Style());
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
    canvas->AssignBrushColor(*FBarBrush, color, back);
    canvas->Rectangle(rect);
}

// --- hit test ------------------------------------------------------------------------

bool TCustomBarSeries::InternalClicked(int valueIndex, const TPoint& point) const {
    const int left = CalcXPos(valueIndex);
    if (point.X < left || point.X > left + FBarWidth)
        return false;
    int top = CalcYPos(valueIndex);
    int bottom = GetOriginPos(valueIndex);
    if (top > bottom)
        std::swap(top, bottom);
    const int right = left + FBarWidth;
    const int middle = (left + right) / 2;
    TBarStyle style = FBarStyle;
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
