#include "chart/ChartEngine/TChartAxis.h"

#include "chart/ChartEngine/AxisTickLayout.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartAxisPen.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartHiddenPen.h"
#include "chart/ChartCanvas/TDarkGrayPen.h"
#include "chart/ChartCanvas/TDottedGrayPen.h"
#include "chart/ChartEngine/FormatFloat.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartPanel/ChartException.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Pixels from reals: nearest, ties to even; kept inside int so far-off values stay defined.
int ToPixel(double value) {
    constexpr double limit = 1073741823.0;
    if (!(value > -limit))
        return -static_cast<int>(limit);
    if (value > limit)
        return static_cast<int>(limit);
    return ChartRound(value);
}

// Text runs along the axis: horizontal axes at 0/180 degrees, vertical ones at 90/270.
bool AlongAxis(bool horizontal, int angle) {
    const int a = ((angle % 360) + 360) % 360;
    const bool flat = a == 0 || a == 180;
    return horizontal ? flat : !flat;
}

std::vector<std::string> SplitLabel(const std::string& text, bool multiLine) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r' || c == '\n' || (multiLine && c == ' '))
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

constexpr int AxisClickGap = 3;
constexpr int MaxLabelCount = 10000;

} // namespace

TChartAxis::TChartAxis(TCustomAxisPanel* chart, bool horizontal)
    : FChart(chart), FHorizontal(horizontal) {
    auto changed = [this] { Changed(); };
    FLabelsFont = std::make_unique<TChartFont>(changed);
    FAxisPen = std::make_unique<TChartAxisPen>(changed);
    FTicks = std::make_unique<TDarkGrayPen>(changed);
    FMinorTicks = std::make_unique<TDarkGrayPen>(changed);
    FTicksInner = std::make_unique<TDarkGrayPen>(changed);
    FGrid = std::make_unique<TDottedGrayPen>(changed);
    FMinorGrid = std::make_unique<TChartHiddenPen>(changed);
    FTitle = std::make_unique<TChartAxisTitle>(this);
}

TChartAxis::~TChartAxis() = default;

void TChartAxis::Changed() const {
    if (FChart && !FChart->IsDestroying())
        FChart->Invalidate();
}

// --- range --------------------------------------------------------------------------

void TChartAxis::SetAutomatic(bool value) {
    if (StoreChanged(FAutomatic, value))
        Changed();
    FAutomaticMinimum = value;
    FAutomaticMaximum = value;
}

void TChartAxis::SetAutomaticMinimum(bool value) {
    if (StoreChanged(FAutomaticMinimum, value))
        Changed();
    if (!value)
        FAutomatic = false;
    else if (FAutomaticMaximum)
        FAutomatic = true;
}

void TChartAxis::SetAutomaticMaximum(bool value) {
    if (StoreChanged(FAutomaticMaximum, value))
        Changed();
    if (!value)
        FAutomatic = false;
    else if (FAutomaticMinimum)
        FAutomatic = true;
}

namespace {

constexpr const char* MinimumMessage = "Axis Minimum Value must be <= Maximum";
constexpr const char* MaximumMessage = "Axis Maximum Value must be >= Minimum";
constexpr const char* IncrementMessage = "Axis increment must be >= 0";

// NaN or infinity in the stored range would poison every later scale, label and
// zoom step, so such a value is refused before anything is stored.
void RefuseNonFinite(double value, const char* message) {
    if (!std::isfinite(value))
        throw ChartException(message);
}

} // namespace

void TChartAxis::SetMinimum(double value) {
    RefuseNonFinite(value, MinimumMessage);
    if (value > FMaximum)
        throw ChartException(MinimumMessage);
    if (StoreChanged(FMinimum, value))
        Changed();
}

void TChartAxis::SetMaximum(double value) {
    RefuseNonFinite(value, MaximumMessage);
    if (value < FMinimum)
        throw ChartException(MaximumMessage);
    if (StoreChanged(FMaximum, value))
        Changed();
}

void TChartAxis::SetMinMax(double minimum, double maximum) {
    RefuseNonFinite(minimum, MinimumMessage);
    RefuseNonFinite(maximum, MaximumMessage);
    FAutomatic = false;
    FAutomaticMinimum = false;
    FAutomaticMaximum = false;
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (maximum - minimum < MinAxisRange)
        maximum = minimum + MinAxisRange;
    const bool a = StoreChanged(FMinimum, minimum);
    const bool b = StoreChanged(FMaximum, maximum);
    if (a || b)
        Changed();
}

void TChartAxis::SetIncrement(double value) {
    RefuseNonFinite(value, IncrementMessage);
    if (value < 0)
        throw ChartException(IncrementMessage);
    if (StoreChanged(FIncrement, value))
        Changed();
}

void TChartAxis::SetMinimumOffset(int value) {
    if (StoreChanged(FMinimumOffset, value))
        Changed();
}

void TChartAxis::SetMaximumOffset(int value) {
    if (StoreChanged(FMaximumOffset, value))
        Changed();
}

void TChartAxis::SetInverted(bool value) {
    if (StoreChanged(FInverted, value))
        Changed();
}

bool TChartAxis::Scroll(double offset, bool checkLimits) {
    // A non-finite offset would leave a non-finite range behind.
    if (offset == 0 || !std::isfinite(offset))
        return false;
    if (checkLimits) {
        double dataMin = 0;
        double dataMax = 0;
        CalcSeriesRange(dataMin, dataMax);
        if (offset > 0 && !(dataMax > FMaximum))
            return false;
        if (offset < 0 && !(dataMin < FMinimum))
            return false;
    }
    FAutomatic = false;
    FAutomaticMinimum = false;
    FAutomaticMaximum = false;
    FMinimum += offset;
    FMaximum += offset;
    Changed();
    return true;
}

// --- orientation and placement ------------------------------------------------------

void TChartAxis::SetHorizontal(bool value) {
    if (StoreChanged(FHorizontal, value))
        Changed();
}

void TChartAxis::SetOtherSide(bool value) {
    if (StoreChanged(FOtherSide, value))
        Changed();
}

void TChartAxis::SetZPosition(double value) {
    if (StoreChanged(FZPosition, value))
        Changed();
}

void TChartAxis::SetGridZPosition(double value) {
    if (StoreChanged(FGridZPosition, value))
        Changed();
}

void TChartAxis::SetStartPosition(double value) {
    if (StoreChanged(FStartPosition, value))
        Changed();
}

void TChartAxis::SetEndPosition(double value) {
    if (StoreChanged(FEndPosition, value))
        Changed();
}

void TChartAxis::SetPositionPercent(double value) {
    if (StoreChanged(FPositionPercent, value))
        Changed();
}

void TChartAxis::SetPositionUnits(TMarginUnits value) {
    if (StoreChanged(FPositionUnits, value))
        Changed();
}

void TChartAxis::SetVisible(bool value) {
    if (StoreChanged(FVisible, value))
        Changed();
}

// --- labels -------------------------------------------------------------------------

void TChartAxis::SetLabels(bool value) {
    if (StoreChanged(FLabels, value))
        Changed();
}

void TChartAxis::SetLabelStyle(TAxisLabelStyle value) {
    if (StoreChanged(FLabelStyle, value))
        Changed();
}

void TChartAxis::SetLabelsAngle(int value) {
    if (StoreChanged(FLabelsAngle, value))
        Changed();
}

void TChartAxis::SetLabelsSeparation(int value) {
    if (value < 0)
        throw ChartException("Labels Separation % must be greater than 0");
    if (StoreChanged(FLabelsSeparation, value))
        Changed();
}

void TChartAxis::SetLabelsSize(int value) {
    if (StoreChanged(FLabelsSize, value))
        Changed();
}

void TChartAxis::SetTitleSize(int value) {
    if (StoreChanged(FTitleSize, value))
        Changed();
}

void TChartAxis::SetLabelsOnAxis(bool value) {
    if (StoreChanged(FLabelsOnAxis, value))
        Changed();
}

void TChartAxis::SetLabelsAlign(TAxisLabelAlign value) {
    if (StoreChanged(FLabelsAlign, value))
        Changed();
}

void TChartAxis::SetLabelsMultiLine(bool value) {
    if (StoreChanged(FLabelsMultiLine, value))
        Changed();
}

void TChartAxis::SetAxisValuesFormat(const std::string& value) {
    if (StoreChanged(FAxisValuesFormat, value))
        Changed();
}

void TChartAxis::SetRoundFirstLabel(bool value) {
    if (StoreChanged(FRoundFirstLabel, value))
        Changed();
}

std::string TChartAxis::LabelValue(double value) const {
    return FormatFloat(FAxisValuesFormat, value);
}

std::string TChartAxis::LabelText(double value, TChartSeries* series, int valueIndex) const {
    std::string text = LabelValue(value);
    if (OnGetAxisLabel)
        OnGetAxisLabel(const_cast<TChartAxis*>(this), series, valueIndex, text);
    return text;
}

// --- ticks and grid -----------------------------------------------------------------

void TChartAxis::SetTickLength(int value) {
    if (StoreChanged(FTickLength, value))
        Changed();
}

void TChartAxis::SetMinorTickLength(int value) {
    if (StoreChanged(FMinorTickLength, value))
        Changed();
}

void TChartAxis::SetTickInnerLength(int value) {
    if (StoreChanged(FTickInnerLength, value))
        Changed();
}

void TChartAxis::SetMinorTickCount(int value) {
    if (StoreChanged(FMinorTickCount, value))
        Changed();
}

void TChartAxis::SetTickOnLabelsOnly(bool value) {
    if (StoreChanged(FTickOnLabelsOnly, value))
        Changed();
}

void TChartAxis::SetGridCentered(bool value) {
    if (StoreChanged(FGridCentered, value))
        Changed();
}

// --- series on this axis ------------------------------------------------------------

bool TChartAxis::AnySeriesActiveOnAxis() const {
    if (!FChart)
        return false;
    for (int i = 0; i < FChart->SeriesCount(); ++i) {
        const TChartSeries* s = FChart->GetSeries(i);
        if (s->Active() && s->AssociatedToAxis(this))
            return true;
    }
    return false;
}

void TChartAxis::CalcSeriesRange(double& minimum, double& maximum) const {
    minimum = 0;
    maximum = 0;
    if (!FChart)
        return;
    const bool onlyActive = AnySeriesActiveOnAxis();
    bool first = true;
    for (int i = 0; i < FChart->SeriesCount(); ++i) {
        const TChartSeries* s = FChart->GetSeries(i);
        if ((onlyActive && !s->Active()) || s->Count() == 0 || !s->AssociatedToAxis(this))
            continue;
        const double lo = FHorizontal ? s->MinXValue() : s->MinYValue();
        const double hi = FHorizontal ? s->MaxXValue() : s->MaxYValue();
        if (first || lo < minimum)
            minimum = lo;
        if (first || hi > maximum)
            maximum = hi;
        first = false;
    }
}

void TChartAxis::AdjustMaxMin() {
    if (FAutomatic || FAutomaticMinimum || FAutomaticMaximum) {
        double minimum = 0;
        double maximum = 0;
        CalcSeriesRange(minimum, maximum);
        if (FAutomatic || FAutomaticMaximum)
            FMaximum = maximum;
        if (FAutomatic || FAutomaticMinimum)
            FMinimum = minimum;
    }
    SetCurrentRange(FMinimum, FMaximum);
}

void TChartAxis::SetCurrentRange(double minimum, double maximum) {
    FIMinimum = minimum;
    FIMaximum = maximum;
    RecalcDerived();
}

void TChartAxis::SetPositions(int startPos, int endPos) {
    FIStartPos = startPos;
    FIEndPos = endPos;
    RecalcDerived();
}

void TChartAxis::RecalcDerived() {
    FIRange = FIMaximum - FIMinimum;
    FIRangeZero = FIRange == 0;
    FIAxisSize = FIEndPos - FIStartPos;
    FICenterPos = (FIStartPos + FIEndPos) / 2;
    FIAxisScale = FIRangeZero ? 0.0 : FIAxisSize / FIRange;
}

void TChartAxis::InternalCalcPositions() {
    if (!FChart)
        return;
    const TRect& r = FChart->ChartRect;
    if (FHorizontal) {
        const double w = FChart->ChartWidth;
        FIStartPos = r.Left + ChartRound(w * 0.01 * FStartPosition);
        FIEndPos = r.Left + ChartRound(w * 0.01 * FEndPosition);
        FPosAxis = FOtherSide ? r.Top : r.Bottom;
    } else {
        const double h = FChart->ChartHeight;
        FIStartPos = r.Top + ChartRound(h * 0.01 * FStartPosition);
        FIEndPos = r.Top + ChartRound(h * 0.01 * FEndPosition);
        FPosAxis = FOtherSide ? r.Right : r.Left;
    }
    RecalcDerived();
}

// --- value <-> pixel ----------------------------------------------------------------

int TChartAxis::CalcPosValue(double value) const {
    if (FIRangeZero)
        return FICenterPos;
    const int d = ToPixel((value - FIMinimum) * FIAxisScale);
    if (FHorizontal)
        return FInverted ? FIEndPos - d : FIStartPos + d;
    return FInverted ? FIStartPos + d : FIEndPos - d;
}

int TChartAxis::CalcXPosValue(double value) const {
    return CalcPosValue(value);
}

int TChartAxis::CalcYPosValue(double value) const {
    return CalcPosValue(value);
}

double TChartAxis::CalcPosPoint(int pixel) const {
    if (FIAxisSize < 1)
        return 0;
    const double d = FInverted ? FIEndPos - pixel : pixel - FIStartPos;
    const double v = d * FIRange / FIAxisSize;
    return FHorizontal ? FIMinimum + v : FIMaximum - v;
}

// --- margins ------------------------------------------------------------------------

void TChartAxis::AdjustMaxMinRect(int atMinimum, int atMaximum) {
    // The minimum sits at the start pixel of horizontal axes and at the end of vertical ones.
    const bool minAtStart = FHorizontal != FInverted;
    const int atStart = minAtStart ? atMinimum : atMaximum;
    const int atEnd = minAtStart ? atMaximum : atMinimum;
    const int oldStart = FIStartPos;
    const int oldEnd = FIEndPos;
    SetPositions(oldStart + atStart, oldEnd - atEnd);
    double a = CalcPosPoint(oldStart);
    double b = CalcPosPoint(oldEnd);
    SetPositions(oldStart, oldEnd);
    if (a > b)
        std::swap(a, b);
    SetCurrentRange(a, b);
}

void TChartAxis::ApplySeriesMargins() {
    int lowSide = 0;  // left or bottom
    int highSide = 0; // right or top
    if (FChart) {
        for (int i = 0; i < FChart->SeriesCount(); ++i) {
            TChartSeries* s = FChart->GetSeries(i);
            if (!s->Active() || !s->AssociatedToAxis(this))
                continue;
            int a = 0;
            int b = 0;
            if (FHorizontal) {
                s->CalcHorizMargins(a, b); // left, right
                lowSide = std::max(lowSide, a);
                highSide = std::max(highSide, b);
            } else {
                s->CalcVerticalMargins(a, b); // top, bottom
                highSide = std::max(highSide, a);
                lowSide = std::max(lowSide, b);
            }
        }
    }
    // Left and bottom face the minimum unless the axis is inverted.
    int atMinimum = FInverted ? highSide : lowSide;
    int atMaximum = FInverted ? lowSide : highSide;
    atMinimum += FMinimumOffset;
    atMaximum += FMaximumOffset;
    if (atMinimum != 0 || atMaximum != 0)
        AdjustMaxMinRect(atMinimum, atMaximum);
}

// --- label sizes and increment ------------------------------------------------------

int TChartAxis::LabelHeight(const std::string& text) const {
    TChartCanvas3D& canvas = FChart->Canvas();
    canvas.AssignFont(*FLabelsFont);
    return canvas.FontHeight() * static_cast<int>(SplitLabel(text, FLabelsMultiLine).size());
}

int TChartAxis::LabelWidth(const std::string& text) const {
    TChartCanvas3D& canvas = FChart->Canvas();
    canvas.AssignFont(*FLabelsFont);
    int width = 0;
    for (const std::string& line : SplitLabel(text, FLabelsMultiLine))
        width = std::max(width, canvas.TextWidth(line));
    return width;
}

int TChartAxis::InternalLabelSize(double value, bool isWidth) const {
    const std::string text = LabelValue(value);
    return isWidth ? LabelWidth(text) : LabelHeight(text);
}

int TChartAxis::LabelSize(double value) const {
    // Width along horizontal axes, height along vertical ones; turned labels swap.
    return InternalLabelSize(value, AlongAxis(FHorizontal, FLabelsAngle));
}

double TChartAxis::NextStep(double x) {
    if (!(x > 0) || std::isinf(x))
        return x;
    double scale = 1;
    while (x >= 10) {
        x /= 10;
        scale *= 10;
    }
    while (x < 1) {
        x *= 10;
        scale /= 10;
    }
    double step;
    if (x < 2)
        step = 2;
    else if (x < 5)
        step = 5;
    else
        step = 10;
    return step * scale;
}

double TChartAxis::CalcIncrement() {
    if (!FChart)
        return FIncrement > 0 ? FIncrement : 1;
    const int s = std::max(LabelSize(FIMinimum), LabelSize(FIMaximum));
    int n = 1;
    int room = 0;
    if (s > 0) {
        room = s + (FLabelsSeparation > 0 ? ChartRound(FLabelsSeparation * 0.01 * s) : 0);
        n = ChartRound(static_cast<double>(FIAxisSize) / room);
    }
    if (n < 1)
        return MinAxisIncrement;
    double step;
    if (FIncrement > 0) {
        step = FIncrement;
    } else if (FIRange != 0) {
        step = std::fabs(FIRange) / (n + 1);
        for (int i = 0; i < FChart->SeriesCount(); ++i) {
            const TChartSeries* series = FChart->GetSeries(i);
            const bool alongX = FHorizontal == series->YMandatory();
            if (series->Active() && alongX && series->AssociatedToAxis(this) &&
                series->Count() <= n) {
                step = std::max(step, 1.0);
                break;
            }
        }
    } else {
        step = 1;
    }
    if (FLabelsSeparation >= 0) {
        // Both counts are rounded, so a step they allow may still leave less
        // than one label's room between neighbours; the pixels decide too.
        for (;;) {
            const double q = FIRange / step;
            const bool fits = std::fabs(FIAxisSize * step) >= room * std::fabs(FIRange);
            if (std::fabs(q) < 2147483647.0 && ChartRound(q) <= n && fits)
                break;
            step = NextStep(step);
            if (step > FIRange || std::isinf(step))
                break;
        }
    }
    if (std::isinf(step))
        return FIRange;
    return std::max(step, MinAxisIncrement);
}

int TChartAxis::MaxLabelsWidth() const {
    TChartAxis* self = const_cast<TChartAxis*>(this);
    const TAxisLabelStyle style = CalcLabelStyle();
    int width = 0;
    if (style == talText) {
        for (int i = 0; i < FChart->SeriesCount(); ++i) {
            const TChartSeries* s = FChart->GetSeries(i);
            if (!s->Active() || !s->AssociatedToAxis(this))
                continue;
            for (const std::string& label : s->Labels())
                width = std::max(width, LabelWidth(label));
        }
    } else {
        double low = FIMinimum;
        double high = FIMaximum;
        if (FRoundFirstLabel) {
            const double step = self->CalcIncrement();
            low = std::trunc(FIMinimum / step) * step;
            high = std::trunc(FIMaximum / step) * step;
        }
        width = std::max(LabelWidth(LabelValue(low)), LabelWidth(LabelValue(high)));
    }
    TChartCanvas3D& canvas = FChart->Canvas();
    canvas.AssignFont(*FLabelsFont);
    return width + canvas.TextWidth(" ");
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
    if (FLabelStyle != talAuto)
        return FLabelStyle;
    if (!FChart)
        return talNone;
    bool any = false;
    for (int i = 0; i < FChart->SeriesCount(); ++i) {
        const TChartSeries* s = FChart->GetSeries(i);
        if (!s->Active() || !s->AssociatedToAxis(this))
            continue;
        any = true;
        const bool alongX = FHorizontal == s->YMandatory();
        if (alongX && s->HasLabels() && !s->XLabel(0).empty())
            return talText;
    }
    return any ? talValue : talNone;
}

// --- layout -------------------------------------------------------------------------

void TChartAxis::CalcRect(TRect& rect, bool inflateChartRectangle) {
    if (!FChart)
        return;
    TChartCanvas3D& canvas = FChart->Canvas();
    // Edge on the axis side and the direction that points into the chart.
    int* edge;
    int inward;
    if (FHorizontal) {
        edge = FOtherSide ? &rect.Top : &rect.Bottom;
        inward = FOtherSide ? 1 : -1;
    } else {
        edge = FOtherSide ? &rect.Right : &rect.Left;
        inward = FOtherSide ? -1 : 1;
    }
    int pos = *edge;
    FPosTitle = pos;
    if (FTitle->Visible() && !FTitle->Caption().empty()) {
        int size = FTitleSize;
        if (size == 0) {
            canvas.AssignFont(FTitle->Font());
            size = AlongAxis(FHorizontal, FTitle->Angle()) ? canvas.FontHeight()
                                                           : canvas.TextWidth(FTitle->Caption());
        }
        pos += inward * size;
        FPosTitle = pos;
    }
    FPosLabels = pos;
    FLabelsRoom = -1;
    if (FLabels) {
        int size = FLabelsSize;
        if (size == 0) {
            if (AlongAxis(FHorizontal, FLabelsAngle)) {
                canvas.AssignFont(*FLabelsFont);
                size = canvas.FontHeight();
            } else {
                size = std::max(MaxLabelsWidth(), FLabelsRoomAtLeast);
                FLabelsRoom = size;
            }
        }
        pos += inward * size;
        FPosLabels = pos;
    }
    int ticks =
        (FAxisPen->Visible() ? FAxisPen->Width() + 1 : 0) + (FTicks->Visible() ? FTickLength : 0);
    if (FMinorTicks->Visible())
        ticks = std::max(ticks, FMinorTickLength);
    if (ticks > 0)
        pos += inward * ticks;
    if (FPositionPercent != 0) {
        const int side = FHorizontal ? FChart->ChartHeight : FChart->ChartWidth;
        const int shift = FPositionUnits == muPercent ? ChartRound(side * FPositionPercent * 0.01)
                                                      : ChartRound(FPositionPercent);
        FPosTitle += inward * shift;
        FPosLabels += inward * shift;
    }
    FPosAxis = pos;
    if (inflateChartRectangle)
        *edge = pos;
}

bool TChartAxis::WidenLabelsRoom() {
    if (!FChart || FLabelsRoom < 0)
        return false;
    const TAxisLabelStyle style = CalcLabelStyle();
    if (style != talValue && style != talMark)
        return false;
    std::vector<double> values;
    CalcLabelValues(values);
    if (values.empty())
        return false;
    int width = 0;
    for (double v : values)
        width = std::max(width, LabelWidth(LabelValue(v)));
    TChartCanvas3D& canvas = FChart->Canvas();
    canvas.AssignFont(*FLabelsFont);
    width += canvas.TextWidth(" ");
    if (width <= FLabelsRoom)
        return false;
    FLabelsRoomAtLeast = width;
    return true;
}

// --- drawing ------------------------------------------------------------------------

void TChartAxis::CalcLabelValues(std::vector<double>& out) {
    out.clear();
    const double step = CalcIncrement();
    if (!(step > 0) || std::fabs(FIRange / step) >= MaxLabelCount)
        return;
    double value;
    if (LabelValue(FIMinimum) == LabelValue(FIMaximum))
        value = FIMaximum;
    else if (FRoundFirstLabel)
        value = std::trunc(FIMaximum / step) * step;
    else
        value = FIMaximum;
    // A step below the value's resolution would never get it under the maximum.
    for (int i = 0; value > FIMaximum && i < MaxLabelCount; ++i)
        value -= step;
    if (FIRangeZero || FIMaximum - FIMinimum < 1e-10 ||
        LabelValue(value) == LabelValue(value - step)) {
        out.push_back(value);
        return;
    }
    const double lowest = (FIMinimum - MinAxisIncrement) / (1 + MinAxisIncrement);
    while (value >= lowest && static_cast<int>(out.size()) <= MaxLabelCount) {
        out.push_back(value);
        const double next = value - step;
        if (next == value)
            break;
        value = next;
    }
}

void TChartAxis::DrawAxisLabel(int x, int y, int angle, const std::string& text) {
    TChartCanvas3D& canvas = FChart->Canvas();
    const int z = ChartRound(FZPosition * 0.01 * FChart->SeriesWidth3D);
    if (angle % 360 == 0)
        canvas.TextOut3D(x, y, z, text);
    else
        canvas.RotateLabel3D(x, y, z, text, angle);
}

void TChartAxis::DrawLabelAt(int pos, const std::string& text) {
    TChartCanvas3D& canvas = FChart->Canvas();
    canvas.AssignFont(*FLabelsFont);
    canvas.SetBackMode(cbmTransparent);
    const int h = canvas.FontHeight();
    const std::vector<std::string> lines = SplitLabel(text, FLabelsMultiLine);
    const int count = static_cast<int>(lines.size());
    for (int k = 0; k < count; ++k) {
        const std::string& line = lines[static_cast<std::size_t>(k)];
        if (FHorizontal) {
            canvas.SetTextAlign(TA_CENTER | TA_TOP);
            const int y = FOtherSide ? FPosLabels - (count - k) * h : FPosLabels + k * h;
            // A label at an end of the axis may reach past the panel's edge
            // ("1,000,000" at the right): it moves inward, its tick stays.
            const int w = canvas.TextWidth(line);
            const TRect& panel = FChart->ChartBounds;
            int x = pos;
            if (x - w / 2 + w > panel.Right)
                x = panel.Right - w + w / 2;
            if (x - w / 2 < panel.Left)
                x = panel.Left + w / 2;
            DrawAxisLabel(x, y, 0, line);
        } else {
            const int y = pos - count * h / 2 + k * h;
            const bool rightAligned = FOtherSide == (FLabelsAlign == alOpposite);
            if (rightAligned) {
                canvas.SetTextAlign(TA_RIGHT | TA_TOP);
                const int x = FOtherSide ? FPosLabels + MaxLabelsWidth() : FPosLabels;
                DrawAxisLabel(x, y, 0, line);
            } else {
                canvas.SetTextAlign(TA_LEFT | TA_TOP);
                const int x = FOtherSide ? FPosLabels : FPosLabels - MaxLabelsWidth();
                DrawAxisLabel(x, y, 0, line);
            }
        }
    }
}

void TChartAxis::DrawValueLabels() {
    std::vector<double> values;
    CalcLabelValues(values);
    for (double v : values) {
        const int p = CalcPosValue(v);
        const bool inside = FIStartPos < p && p < FIEndPos;
        if (FLabelsOnAxis || inside) {
            if (FLabels)
                DrawLabelAt(p, LabelText(v, nullptr, -1));
            FTickPositions.push_back(p);
        } else if (!FTickOnLabelsOnly && v >= FIMinimum && v <= FIMaximum) {
            FTickPositions.push_back(p);
        }
    }
}

void TChartAxis::DrawTextLabels() {
    TChartSeries* series = nullptr;
    for (int i = 0; i < FChart->SeriesCount() && !series; ++i) {
        TChartSeries* s = FChart->GetSeries(i);
        if (s->Active() && s->AssociatedToAxis(this) && s->HasLabels())
            series = s;
    }
    if (!series)
        return;
    const TChartValueList& list = FHorizontal ? series->XValues() : series->YValues();
    bool havePrevious = false;
    int previousPos = 0;
    int previousHalf = 0;
    for (int i = 0; i < series->Count(); ++i) {
        const double x = list.Value(i);
        if (x < FIMinimum || x > FIMaximum)
            continue;
        std::string text = series->XLabel(i);
        if (OnGetAxisLabel)
            OnGetAxisLabel(this, series, i, text);
        const int p = CalcPosValue(x);
        const int size = FHorizontal ? LabelWidth(text) : LabelHeight(text);
        const int half = ChartRound(size + FLabelsSeparation * 0.02 * size) / 2;
        if (havePrevious && std::abs(p - previousPos) < previousHalf + half)
            continue;
        if (FLabels && !text.empty())
            DrawLabelAt(p, text);
        FTickPositions.push_back(p);
        havePrevious = true;
        previousPos = p;
        previousHalf = half;
    }
}

void TChartAxis::DrawTitle() {
    const std::string& caption = FTitle->Caption();
    if (!FTitle->Visible() || caption.empty())
        return;
    TChartCanvas3D& canvas = FChart->Canvas();
    canvas.AssignFont(FTitle->Font());
    canvas.SetBackMode(cbmTransparent);
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    const int h = canvas.FontHeight();
    const int w = canvas.TextWidth(caption);
    const int angle = ((FTitle->Angle() % 360) + 360) % 360;
    int x;
    int y;
    if (angle == 90) {
        // Reads upward: the origin is the text's bottom-left, its glyph tops face outward.
        x = FOtherSide ? FPosTitle : FPosTitle - h;
        y = FICenterPos + w / 2;
    } else if (angle == 270) {
        // Reads downward: the origin is the top-right, the glyph tops face outward.
        x = FOtherSide ? FPosTitle + h : FPosTitle;
        y = FICenterPos - w / 2;
    } else {
        x = FICenterPos - w / 2;
        y = FOtherSide ? FPosTitle - h : FPosTitle;
        if (!FHorizontal)
            y = FICenterPos - h / 2;
    }
    DrawAxisLabel(x, y, angle, caption);
}

void TChartAxis::DrawTicksAndGrid() {
    TChartCanvas3D& canvas = FChart->Canvas();
    const int z = ChartRound(FZPosition * 0.01 * FChart->SeriesWidth3D);
    const int gridZ = ChartRound(FGridZPosition * 0.01 * FChart->SeriesWidth3D);
    const int outward = FHorizontal ? (FOtherSide ? -1 : 1) : (FOtherSide ? 1 : -1);
    const TRect& r = FChart->ChartRect;
    auto tick = [&](int p, int from, int to) {
        if (FHorizontal)
            canvas.VertLine3D(p, from, to, z);
        else
            canvas.HorizLine3D(from, to, p, z);
    };
    auto gridLine = [&](int p) {
        if (FHorizontal)
            canvas.VertLine3D(p, r.Top + 1, r.Bottom, gridZ);
        else
            canvas.HorizLine3D(r.Left + 1, r.Right, p, gridZ);
    };

    if (FAxisPen->Visible()) {
        canvas.AssignVisiblePen(*FAxisPen);
        if (FHorizontal)
            canvas.HorizLine3D(FIStartPos, FIEndPos, FPosAxis, z);
        else
            canvas.VertLine3D(FPosAxis, FIStartPos, FIEndPos, z);
    }
    const std::vector<int>& ticks = FTickPositions;
    if (FTicks->Visible() && FTickLength > 0) {
        canvas.AssignVisiblePen(*FTicks);
        for (int p : ticks)
            tick(p, FPosAxis + outward, FPosAxis + outward * (1 + FTickLength));
    }
    if (FGrid->Visible()) {
        const TColor color = FGrid->Color() == clDefault ? clGray : FGrid->Color();
        canvas.AssignVisiblePenColor(*FGrid, color);
        canvas.SetBackMode(cbmTransparent);
        for (int p : GridLinePositions(ticks, FGridCentered, FIStartPos, FIEndPos))
            gridLine(p);
    }
    if (FTicksInner->Visible() && FTickInnerLength > 0) {
        canvas.AssignVisiblePen(*FTicksInner);
        for (int p : ticks)
            tick(p, FPosAxis, FPosAxis - outward * FTickInnerLength);
    }
    const bool minorTicks = FMinorTicks->Visible() && FMinorTickLength > 0;
    if ((minorTicks || FMinorGrid->Visible()) && ticks.size() >= 2 && FMinorTickCount > 0) {
        const MinorTickPositions minor =
            LayoutMinorTicks(ticks, FMinorTickCount, FIStartPos, FIEndPos);
        if (minorTicks) {
            canvas.AssignVisiblePen(*FMinorTicks);
            for (int p : minor.Ticks)
                tick(p, FPosAxis + outward, FPosAxis + outward * (1 + FMinorTickLength));
        }
        if (FMinorGrid->Visible()) {
            canvas.AssignVisiblePen(*FMinorGrid);
            for (int p : minor.GridLines)
                gridLine(p);
        }
    }
}

void TChartAxis::Draw() {
    if (!FChart)
        return;
    FTickPositions.clear();
    DrawTitle();
    switch (CalcLabelStyle()) {
    case talValue:
    case talMark:
        DrawValueLabels();
        break;
    case talText:
        DrawTextLabels();
        break;
    case talNone:
    case talAuto:
        break;
    }
    DrawTicksAndGrid();
}

bool TChartAxis::Clicked(int x, int y) const {
    const int lo = std::min(FIStartPos, FIEndPos);
    const int hi = std::max(FIStartPos, FIEndPos);
    if (FHorizontal)
        return x >= lo && x <= hi && std::abs(y - FPosAxis) <= AxisClickGap;
    return y >= lo && y <= hi && std::abs(x - FPosAxis) <= AxisClickGap;
}
