#include "chart/Series/TCustomSeries.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartHiddenPen.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <typeinfo>

namespace {

// Whether (x, y) lies on the segment p0-p1: within its box and under half a pixel from it.
bool PointInSegment(int x, int y, TPoint p0, TPoint p1) {
    if (x < std::min(p0.X, p1.X) || x > std::max(p0.X, p1.X) || y < std::min(p0.Y, p1.Y) ||
        y > std::max(p0.Y, p1.Y))
        return false;
    const double dx = p1.X - p0.X;
    const double dy = p1.Y - p0.Y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0)
        return x == p0.X && y == p0.Y;
    const double dist = std::fabs(dy * (x - p0.X) - dx * (y - p0.Y)) / len;
    return dist < 0.5;
}

} // namespace

TCustomSeries::TCustomSeries()
    : Pointer_(std::make_unique<TSeriesPointer>(this)),
      OutLine_(std::make_unique<TChartHiddenPen>([this] { Repaint(); })) {
    SetDrawBetweenPoints(true);
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::SetClickableLine(bool value) {
    ClickableLine_ = value;
}

void TCustomSeries::SetDrawLine(bool value) {
    if (StoreChanged(DrawLine_, value))
        Repaint();
}

void TCustomSeries::SetStairs(bool value) {
    if (StoreChanged(Stairs_, value))
        Repaint();
}

// --- drawing -----------------------------------------------------------------------

void TCustomSeries::LinePrepareCanvas(TCanvas3D& canvas, TColor color) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->Monochrome())
        color = clWhite;
    canvas.SetBrushStyle(bsClear);
    if (OutlinePass_) {
        canvas.AssignVisiblePenColor(*OutLine_, OutLine_->Color());
        TPenDesc pen = canvas.Pen();
        pen.Width = LinePen().Width() + OutLine_->Width() + 2;
        pen.Geometric = true;
        canvas.SetPen(pen);
        return;
    }
    canvas.AssignVisiblePenColor(LinePen(), color);
}

void TCustomSeries::DrawPointer(int x, int y, TColor color, int valueIndex) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const TSeriesPointerStyle style =
        OnGetPointerStyle ? OnGetPointerStyle(this, valueIndex) : Pointer_->Style();
    if (CullPointers_) {
        // Pen width plus one covers the outline's spread and the shapes' extra column.
        const int spread = Pointer_->Pen().Width() + 1;
        const int h = Pointer_->HorizSize() + spread;
        const int v = Pointer_->VertSize() + spread;
        if (x + h < PointerCullRect_.Left || x - h > PointerCullRect_.Right ||
            y + v < PointerCullRect_.Top || y - v > PointerCullRect_.Bottom)
            return;
    }
    if (SkipRepeatedPointers_) {
        // Copy-mode solid painting is idempotent: the same marker again changes nothing.
        if (HasLastPointer_ && x == LastPointerX_ && y == LastPointerY_ &&
            color == LastPointerColor_ && style == LastPointerStyle_)
            return;
        HasLastPointer_ = true;
        LastPointerX_ = x;
        LastPointerY_ = y;
        LastPointerColor_ = color;
        LastPointerStyle_ = style;
    }
    const bool is3D = ParentChart() && ParentChart()->View3D();
    Pointer_->PrepareCanvas(*canvas, color);
    Pointer_->DrawPointer(*canvas, is3D, x, y, Pointer_->HorizSize(), Pointer_->VertSize(), color,
                          style);
}

namespace {

// First and last index of one drawing pass, in drawing order.
void PassEnds(const TChartSeries& series, int& first, int& last) {
    first = series.FirstValueIndex();
    last = series.LastValueIndex();
    bool backward = series.GetHorizAxis() && series.GetHorizAxis()->Inverted();
    if (series.ParentChart() && series.ParentChart()->View3D() &&
        series.ParentChart()->IsViewedFromBehind())
        backward = !backward;
    if (backward)
        std::swap(first, last);
}

} // namespace

void TCustomSeries::DrawLineTo(int x, int y, TColor color, int valueIndex, bool withMarkers,
                               bool isLast) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const bool is3D = ParentChart() && ParentChart()->View3D();
    if (!(x == PrevX_ && y == PrevY_) && color != clNone && DrawLine_) {
        if (LinePen().Visible())
            HasLastPointer_ = false;
        LinePrepareCanvas(*canvas, color);
        if (is3D) {
            // The program's line charts are flat; in 3D the line runs at the middle depth.
            if (Stairs_) {
                canvas->LineWithZ(PrevX_, PrevY_, x, PrevY_, MiddleZ);
                canvas->LineWithZ(x, PrevY_, x, y, MiddleZ);
            } else {
                canvas->LineWithZ(PrevX_, PrevY_, x, y, MiddleZ);
            }
        } else {
            canvas->MoveTo(PrevX_, PrevY_);
            if (Stairs_)
                canvas->LineTo(x, PrevY_);
            canvas->LineTo(x, y);
        }
    }
    if (withMarkers && Pointer_->Visible() && !OutlinePass_) {
        if (PrevColor_ != clNone && PrevIndex_ >= 0)
            DrawPointer(PrevX_, PrevY_, PrevColor_, PrevIndex_);
        if (isLast && color != clNone)
            DrawPointer(x, y, color, valueIndex);
    }
}

void TCustomSeries::DrawValue(int valueIndex) {
    DrawValueReal(valueIndex);
}

void TCustomSeries::DrawValueReal(int valueIndex) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const TColor color = ValueColor(valueIndex);
    const int x = CalcXPos(valueIndex);
    const int y = CalcYPos(valueIndex);
    if (color != clNone)
        canvas->SetBrushColor(color);
    if (!HasDrawn_) {
        PrevX_ = x;
        PrevY_ = y;
        HasDrawn_ = true;
    }

    int first = 0;
    int last = 0;
    PassEnds(*this, first, last);

    if (valueIndex == first) {
        // A new pass never joins to a point of the previous one.
        PrevX_ = x;
        PrevY_ = y;
        PrevColor_ = clNone;
        if (first == FirstValueIndex() && valueIndex > 0 && ParentChart()) {
            const int prior = valueIndex - 1;
            TChartAxis* hAxis = GetHorizAxis();
            const TRect& rect = ParentChart()->ChartRect;
            const int edge = hAxis && hAxis->Inverted() ? rect.Right : rect.Left;
            PrevX_ = edge;
            if (Stairs_) {
                PrevY_ = CalcYPos(prior);
            } else {
                const double x0 = NotMandatoryValueList().Value(prior);
                const double x1 = NotMandatoryValueList().Value(valueIndex);
                if (x1 == x0 || !hAxis) {
                    PrevY_ = CalcYPos(prior);
                } else {
                    const double y0 = MandatoryValueList().Value(prior);
                    const double y1 = MandatoryValueList().Value(valueIndex);
                    const double edgeValue = hAxis->CalcPosPoint(edge);
                    PrevY_ = CalcYPosValue(y0 + (edgeValue - x0) * (y1 - y0) / (x1 - x0));
                }
            }
            if (!IsNull(prior))
                DrawLineTo(x, y, color, valueIndex, false, false);
        }
        if (valueIndex == last && Pointer_->Visible() && color != clNone && !OutlinePass_)
            DrawPointer(x, y, color, valueIndex);
    } else {
        DrawLineTo(x, y, color, valueIndex, true, valueIndex == last);
    }

    PrevX_ = x;
    PrevY_ = y;
    PrevColor_ = color;
    PrevIndex_ = valueIndex;
}

bool TCustomSeries::CanDrawReduced() const {
    TCustomAxisPanel* chart = ParentChart();
    if (!DrawReduced_ || !chart || chart->View3D() || !DrawLine_ || Stairs_ ||
        Pointer_->Visible() || OutLine_->Visible() || !YMandatory() || !LinePen().Visible() ||
        LinePen().Width() > 2 || LinePen().Style() != psSolid || LinePen().SmallDots() ||
        LinePen().Mode() != pmCopy || chart->Monochrome() || !GetHorizAxis() || !GetVertAxis())
        return false;
    int first = 0;
    int last = 0;
    PassEnds(*this, first, last);
    if (first < 0 || last < first)
        return false;
    // Worth it only when there are more points than pixel columns.
    return last - first + 1 > std::max(chart->ChartWidth, 1);
}

void TCustomSeries::DrawAllValues() {
    if (OutLine_->Visible() && DrawLine_) {
        // The outline goes under the line: the whole series once with the wide outline pen.
        OutlinePass_ = true;
        TChartSeries::DrawAllValues();
        OutlinePass_ = false;
    }
    if (CanDrawReduced()) {
        DrawReducedValues(FirstValueIndex(), LastValueIndex());
        return;
    }
    PreparePointerPass();
    TChartSeries::DrawAllValues();
    SkipRepeatedPointers_ = false;
    CullPointers_ = false;
    HasLastPointer_ = false;
}

void TCustomSeries::PreparePointerPass() {
    SkipRepeatedPointers_ = false;
    CullPointers_ = false;
    HasLastPointer_ = false;
    TCustomAxisPanel* chart = ParentChart();
    TChartCanvas3D* canvas = ParentCanvas();
    if (!DrawPointersReduced_ || !Pointer_->Visible() || !chart || !canvas || chart->View3D() ||
        Pointer_->Gradient().Visible())
        return;
    const int count = LastValueIndex() - FirstValueIndex() + 1;
    if (FirstValueIndex() < 0 || count <= std::max(chart->ChartWidth, 1))
        return;
    // Only plain painting repeats itself exactly; xor, not and blends would not.
    const TChartPen& pen = Pointer_->Pen();
    const TChartBrush& brush = Pointer_->Brush();
    const bool plainPen = !pen.Visible() || (pen.Mode() == pmCopy && pen.Style() == psSolid);
    const bool plainBrush =
        !brush.HasImage() && (brush.Style() == bsSolid || brush.Style() == bsClear);
    SkipRepeatedPointers_ = plainPen && plainBrush;
    // The repaint clips the values to the chart rectangle; then markers wholly outside it
    // paint nothing. Drawn without that clip (no region in force), every marker counts.
    const DrawContext* context = canvas->GetHandle();
    if (chart->ClipPoints() && chart->CanClip() && UseAxis() && context && context->Clip()) {
        CullPointers_ = true;
        PointerCullRect_ = chart->ChartRect;
    }
}

namespace {

// The consecutive points of one colour in one pixel column, drawn together by
// DrawReducedValues.
struct ReducedColumn {
    // The first few pixels of a column, drawn as they are when it is that short.
    static constexpr int ShortCount = 4;
    bool Entered = false; // entered by a segment from (FromX, FromY)
    int FromX = 0;
    int FromY = 0;
    int X = 0;
    TColor Color = clNone;
    int First = 0;
    int Last = 0;
    int Min = 0;
    int Max = 0;
    // Whether the last point's own pixel is already covered by the column's
    // earlier segments (a line leaves out its end pixel).
    bool LastCovered = false;
    int Count = 0;
    int Ys[ShortCount] = {};

    void Start(int x, int y, TColor color) {
        X = x;
        Color = color;
        First = Last = Min = Max = y;
        Ys[0] = y;
        LastCovered = false;
        Count = 1;
    }
    void Add(int y) {
        LastCovered = y >= Min && y <= Max && !(y == Last && !LastCovered);
        Min = std::min(Min, y);
        Max = std::max(Max, y);
        Last = y;
        if (Count < ShortCount)
            Ys[Count] = y;
        ++Count;
    }
};

// Draws the column's entering segment and then its pixels: the points as they
// are when few, otherwise Min..Max less the last point's pixel when no earlier
// segment passed it (it is then an extreme). penColor is the colour the
// canvas's pen is already prepared for.
void FlushReducedColumn(TCustomSeries& series, TChartCanvas3D& canvas, const ReducedColumn& c,
                        TColor& penColor) {
    if (c.Count == 0)
        return;
    if (c.Color != penColor) {
        series.LinePrepareCanvas(canvas, c.Color);
        penColor = c.Color;
    }
    if (c.Entered) {
        canvas.MoveTo(c.FromX, c.FromY);
        canvas.LineTo(c.X, c.First);
    } else {
        canvas.MoveTo(c.X, c.First);
    }
    if (c.Count <= ReducedColumn::ShortCount) {
        for (int k = 1; k < c.Count; ++k)
            canvas.LineTo(c.X, c.Ys[k]);
    } else if (c.Min != c.Max) {
        if (c.LastCovered) {
            canvas.LineTo(c.X, c.Min);
            canvas.LineTo(c.X, c.Max);
            canvas.LineTo(c.X, c.Min);
        } else if (c.Last == c.Max) {
            canvas.LineTo(c.X, c.Min);
            canvas.LineTo(c.X, c.Max);
        } else {
            canvas.LineTo(c.X, c.Max);
            canvas.LineTo(c.X, c.Min);
        }
    }
}

// Pixels of the points of a line, read straight from its value lists.
struct LinePixels {
    const TChartAxis& H;
    const TChartAxis& V;
    const double* Xs; // null: consecutive from X0
    double X0;
    const double* Ys;       // null: stored otherwise
    const std::int32_t* Yi; // null: not stored as 32-bit integers
    const TChartValueList& YList;

    double Y(int i) const {
        return Ys != nullptr ? Ys[i] : Yi != nullptr ? static_cast<double>(Yi[i]) : YList.Value(i);
    }
    int X(int i) const {
        return H.CalcXPosValue(Xs != nullptr ? Xs[i] : X0 + static_cast<double>(i));
    }
    int PixelY(int i) const { return V.CalcYPosValue(Y(i)); }
};

// The last index from i (whose column is x) up to last still in column x; the
// X pixels never go back, so a column is one run of indices.
int ColumnEnd(const LinePixels& p, int i, int last, int x) {
    int in = i;
    int out = i + 1;
    for (int step = 1; out <= last && p.X(out) == x; step *= 2) {
        in = out;
        out = last - in > step ? in + step : last + 1;
    }
    while (out - in > 1) {
        const int mid = in + (out - in) / 2;
        if (p.X(mid) == x)
            in = mid;
        else
            out = mid;
    }
    return in;
}

// Fills the column of points from..to (more than ShortCount) from the lowest and
// highest value instead of every point's pixel: the axis keeps the order of
// values, so their pixels are the column's extremes. The last point's pixel is
// covered by earlier segments when it lies within the pixels of the points before
// the trailing run that shares it. False for a value that is not a number.
bool FillLongColumn(const LinePixels& p, int from, int to, ReducedColumn& c) {
    const int last = p.PixelY(to);
    int run = to;
    while (run > from && p.PixelY(run - 1) == last)
        --run;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int k = from; k < run; ++k) {
        const double v = p.Y(k);
        if (std::isnan(v))
            return false;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    c.First = p.PixelY(from);
    c.Last = last;
    c.Count = to - from + 1;
    c.LastCovered = false;
    c.Min = c.Max = last;
    if (run > from) {
        const int a = p.V.CalcYPosValue(low);
        const int b = p.V.CalcYPosValue(high);
        c.LastCovered = last >= std::min(a, b) && last <= std::max(a, b);
        c.Min = std::min({a, b, last});
        c.Max = std::max({a, b, last});
    }
    return true;
}

// One colour, no null point: column by column, each from its index range.
// Returns the last point's pixel.
TPoint DrawOneColourColumns(TCustomSeries& series, TChartCanvas3D& canvas, const LinePixels& p,
                            int first, int last, TPoint start, TColor color) {
    TColor penColor = clNone;
    TPoint end = start;
    int i = first;
    bool entered = false;
    while (i <= last) {
        const int x = i == first ? start.X : p.X(i);
        const int to = ColumnEnd(p, i, last, x);
        ReducedColumn c;
        c.Start(x, i == first ? start.Y : p.PixelY(i), color);
        c.Entered = entered;
        c.FromX = end.X;
        c.FromY = end.Y;
        if (to - i + 1 <= ReducedColumn::ShortCount || !FillLongColumn(p, i, to, c))
            for (int k = i + 1; k <= to; ++k)
                c.Add(p.PixelY(k));
        FlushReducedColumn(series, canvas, c, penColor);
        end = {x, c.Last};
        entered = true;
        i = to + 1;
    }
    return end;
}

} // namespace

// Draws first..last (ascending, flat, no markers, no stairs) one pixel column at a time.
// Consecutive points in one column and of one line colour join by vertical segments, whose
// pixels are the column's span from the lowest to the highest point, less the last point's
// pixel unless an earlier segment passed it; so a long column group is drawn as its
// entering segment and at most three vertical lines giving exactly that span.
void TCustomSeries::DrawReducedValues(int first, int last) {
    TChartCanvas3D* canvas = ParentCanvas();
    TChartAxis* hAxis = GetHorizAxis();
    TChartAxis* vAxis = GetVertAxis();
    if (!canvas || !hAxis || !vAxis)
        return;

    // The first point enters from the chart edge exactly as in the per-point drawing.
    DrawValueReal(first);
    if (first == last)
        return;

    // A consecutive list (play numbers) is read as first + index, never stored.
    const TChartValueList& xList = NotMandatoryValueList();
    const TChartValueList& yList = MandatoryValueList();
    const double* xs = xList.Consecutive() ? nullptr : xList.Data();
    const double* ys = yList.StoredDoubles();
    const double x0 = xs == nullptr ? xList.Value(0) : 0.0;
    const std::optional<TColor> sharedColor = SharedValueColor();
    if (sharedColor && *sharedColor != clNone && PrevColor_ == *sharedColor &&
        (xs == nullptr || xList.Order() == loAscending)) {
        const LinePixels pixels{*hAxis, *vAxis, xs, x0, ys, yList.StoredInts(), yList};
        const TPoint end = DrawOneColourColumns(*this, *canvas, pixels, first, last,
                                                {PrevX_, PrevY_}, *sharedColor);
        PrevX_ = end.X;
        PrevY_ = end.Y;
        PrevIndex_ = last;
        return;
    }

    // The pending column starts as the point just drawn, not entered by a segment.
    ReducedColumn column;
    column.Start(PrevX_, PrevY_, PrevColor_);
    if (PrevColor_ == clNone)
        column.Count = 0;
    TColor penColor = clNone;

    int lastX = PrevX_;
    int lastY = PrevY_;
    TColor lastColor = PrevColor_;
    for (int i = first + 1; i <= last; ++i) {
        const TColor color = sharedColor ? *sharedColor : ValueColor(i);
        const int x = hAxis->CalcXPosValue(xs != nullptr ? xs[i] : x0 + static_cast<double>(i));
        const int y = vAxis->CalcYPosValue(ys != nullptr ? ys[i] : yList.Value(i));
        if (color == clNone) {
            // A null point ends the column; the next segment starts at its position.
            FlushReducedColumn(*this, *canvas, column, penColor);
            column.Count = 0;
        } else if (column.Count > 0 && x == column.X && color == column.Color) {
            column.Add(y);
        } else {
            FlushReducedColumn(*this, *canvas, column, penColor);
            column.Entered = true;
            column.FromX = lastX;
            column.FromY = lastY;
            column.Start(x, y, color);
        }
        lastX = x;
        lastY = y;
        lastColor = color;
    }
    FlushReducedColumn(*this, *canvas, column, penColor);

    PrevX_ = lastX;
    PrevY_ = lastY;
    PrevColor_ = lastColor;
    PrevIndex_ = last;
}

void TCustomSeries::DrawMark(int valueIndex, const std::string& text,
                             TSeriesMarkPosition& position) {
    TMarksCallout& callout = Marks().Callout();
    if (YMandatory()) {
        const int distance = callout.Distance();
        const int length = callout.Length() + distance;
        position.LeftTop.Y -= length;
        position.ArrowTo.Y -= length;
        position.ArrowFrom.Y -= distance;
    }
    Marks().ZPosition = StartZ;
    TChartSeries::DrawMark(valueIndex, text, position);
}

// --- margins -----------------------------------------------------------------------

void TCustomSeries::CalcHorizMargins(int& leftMargin, int& rightMargin) {
    TChartSeries::CalcHorizMargins(leftMargin, rightMargin);
    if (Pointer_->Visible() && Pointer_->InflateMargins()) {
        leftMargin = std::max(leftMargin, Pointer_->HorizSize() + 1);
        rightMargin = std::max(rightMargin, Pointer_->HorizSize() + 1);
    }
    if (DrawLine_) {
        if (Stairs_) {
            leftMargin = std::max(leftMargin, LinePen().Width());
            rightMargin = std::max(rightMargin, LinePen().Width());
        }
        if (OutLine_->Visible()) {
            leftMargin = std::max(leftMargin, OutLine_->Width());
            rightMargin = std::max(rightMargin, OutLine_->Width());
        }
    }
    if (Marks().Visible() && !YMandatory())
        rightMargin =
            std::max(rightMargin, Marks().Callout().Length() + Marks().Callout().Distance());
}

void TCustomSeries::CalcVerticalMargins(int& topMargin, int& bottomMargin) {
    TChartSeries::CalcVerticalMargins(topMargin, bottomMargin);
    if (Pointer_->Visible() && Pointer_->InflateMargins()) {
        topMargin = std::max(topMargin, Pointer_->VertSize() + 1);
        bottomMargin = std::max(bottomMargin, Pointer_->VertSize() + 1);
    }
    if (DrawLine_) {
        if (Stairs_) {
            topMargin = std::max(topMargin, LinePen().Width());
            bottomMargin = std::max(bottomMargin, LinePen().Width());
        }
        if (OutLine_->Visible()) {
            topMargin = std::max(topMargin, OutLine_->Width());
            bottomMargin = std::max(bottomMargin, OutLine_->Width());
        }
    }
    if (Marks().Visible() && YMandatory())
        topMargin = std::max(topMargin, Marks().Callout().Length() + Marks().Callout().Distance());
}

// --- legend ------------------------------------------------------------------------

void TCustomSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const TColor color = valueIndex == -1 ? SeriesColor() : ValueColor(valueIndex);
    const int yMid = (rect.Top + rect.Bottom) / 2;

    const TChartPen* symbolPen = ParentChart() ? ParentChart()->LegendSymbolPen() : nullptr;
    const bool defaultPen = !symbolPen;

    if (Pointer_->Visible()) {
        if (DrawLine_) {
            if (defaultPen)
                LinePrepareCanvas(*canvas, color);
            canvas->MoveTo(rect.Left, yMid);
            canvas->LineTo(rect.Right, yMid);
        }
        Pointer_->PrepareCanvas(*canvas, color);
        if (!defaultPen)
            canvas->AssignVisiblePen(*symbolPen);
        const bool penVisible = defaultPen ? LinePen().Visible() : symbolPen->Visible();
        int w = rect.Width() / 3;
        int h = rect.Height() / 3;
        if (!penVisible) {
            w = rect.Width() / 2 + 1;
            h = rect.Height() / 2 + 1;
        }
        const TSeriesPointerStyle style = OnGetPointerStyle && valueIndex >= 0
                                              ? OnGetPointerStyle(this, valueIndex)
                                              : Pointer_->Style();
        Pointer_->DrawPointer(*canvas, false, (rect.Left + rect.Right) / 2, yMid,
                              std::min(Pointer_->HorizSize(), w), std::min(Pointer_->VertSize(), h),
                              color, style);
    } else if (DrawLine_) {
        LinePrepareCanvas(*canvas, color);
        canvas->MoveTo(rect.Left, yMid);
        canvas->LineTo(rect.Right, yMid);
    } else {
        TChartSeries::DrawLegendShape(valueIndex, rect);
    }
}

// --- hit test ----------------------------------------------------------------------

bool TCustomSeries::ClickedPointer(int valueIndex, int px, int py, int x, int y) const {
    const TSeriesPointerStyle style =
        OnGetPointerStyle ? OnGetPointerStyle(const_cast<TCustomSeries*>(this), valueIndex)
                          : Pointer_->Style();
    return style != psNothing && std::abs(px - x) < Pointer_->HorizSize() &&
           std::abs(py - y) < Pointer_->VertSize();
}

int TCustomSeries::Clicked(int x, int y) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->View3D())
        chart->Canvas().Calculate2DPosition(x, y, StartZ);
    const int first = FirstValueIndex();
    const int last = std::min(LastValueIndex(), Count() - 1);
    if (first < 0)
        return -1;
    TPoint prev{};
    for (int i = first; i <= last; ++i) {
        const TPoint p{CalcXPos(i), CalcYPos(i)};
        if (Pointer_->Visible() && ClickedPointer(i, p.X, p.Y, x, y)) {
            if (OnClickPointer)
                OnClickPointer(this, i, x, y);
            return i;
        }
        if (p.X == x && p.Y == y)
            return i;
        if (i > first && ClickableLine_) {
            bool onLine;
            if (Stairs_) {
                const TPoint corner = TPoint{p.X, prev.Y};
                onLine = PointInSegment(x, y, prev, corner) || PointInSegment(x, y, corner, p);
            } else {
                onLine = PointInSegment(x, y, prev, p);
            }
            if (onLine)
                return i - 1;
        }
        prev = p;
    }
    return -1;
}
