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
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartPanel/ChartException.h"
#include "numfmt/NumberFormats.h"

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
    : Chart_(chart), Horizontal_(horizontal) {
    auto changed = [this] { Changed(); };
    LabelsFont_ = std::make_unique<TChartFont>(changed);
    AxisPen_ = std::make_unique<TChartAxisPen>(changed);
    Ticks_ = std::make_unique<TDarkGrayPen>(changed);
    MinorTicks_ = std::make_unique<TDarkGrayPen>(changed);
    TicksInner_ = std::make_unique<TDarkGrayPen>(changed);
    Grid_ = std::make_unique<TDottedGrayPen>(changed);
    MinorGrid_ = std::make_unique<TChartHiddenPen>(changed);
    Title_ = std::make_unique<TChartAxisTitle>(this);
}

TChartAxis::~TChartAxis() = default;

void TChartAxis::Changed() const {
    if (Chart_ && !Chart_->IsDestroying())
        Chart_->Invalidate();
}

// --- range --------------------------------------------------------------------------

void TChartAxis::SetAutomatic(bool value) {
    if (StoreChanged(Automatic_, value))
        Changed();
    AutomaticMinimum_ = value;
    AutomaticMaximum_ = value;
}

void TChartAxis::SetAutomaticMinimum(bool value) {
    if (StoreChanged(AutomaticMinimum_, value))
        Changed();
    if (!value)
        Automatic_ = false;
    else if (AutomaticMaximum_)
        Automatic_ = true;
}

void TChartAxis::SetAutomaticMaximum(bool value) {
    if (StoreChanged(AutomaticMaximum_, value))
        Changed();
    if (!value)
        Automatic_ = false;
    else if (AutomaticMinimum_)
        Automatic_ = true;
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
    if (value > Maximum_)
        throw ChartException(MinimumMessage);
    if (StoreChanged(Minimum_, value))
        Changed();
}

void TChartAxis::SetMaximum(double value) {
    RefuseNonFinite(value, MaximumMessage);
    if (value < Minimum_)
        throw ChartException(MaximumMessage);
    if (StoreChanged(Maximum_, value))
        Changed();
}

void TChartAxis::SetMinMax(double minimum, double maximum) {
    RefuseNonFinite(minimum, MinimumMessage);
    RefuseNonFinite(maximum, MaximumMessage);
    Automatic_ = false;
    AutomaticMinimum_ = false;
    AutomaticMaximum_ = false;
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (maximum - minimum < MinAxisRange)
        maximum = minimum + MinAxisRange;
    const bool a = StoreChanged(Minimum_, minimum);
    const bool b = StoreChanged(Maximum_, maximum);
    if (a || b)
        Changed();
}

void TChartAxis::SetIncrement(double value) {
    RefuseNonFinite(value, IncrementMessage);
    if (value < 0)
        throw ChartException(IncrementMessage);
    if (StoreChanged(Increment_, value))
        Changed();
}

void TChartAxis::SetInverted(bool value) {
    if (StoreChanged(Inverted_, value))
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
        if (offset > 0 && !(dataMax > Maximum_))
            return false;
        if (offset < 0 && !(dataMin < Minimum_))
            return false;
    }
    Automatic_ = false;
    AutomaticMinimum_ = false;
    AutomaticMaximum_ = false;
    Minimum_ += offset;
    Maximum_ += offset;
    Changed();
    return true;
}

// --- orientation and placement ------------------------------------------------------

void TChartAxis::SetOtherSide(bool value) {
    if (StoreChanged(OtherSide_, value))
        Changed();
}

void TChartAxis::SetZPosition(double value) {
    if (StoreChanged(ZPosition_, value))
        Changed();
}

void TChartAxis::SetGridZPosition(double value) {
    if (StoreChanged(GridZPosition_, value))
        Changed();
}

void TChartAxis::SetVisible(bool value) {
    if (StoreChanged(Visible_, value))
        Changed();
}

// --- labels -------------------------------------------------------------------------

void TChartAxis::SetLabelsSeparation(int value) {
    if (value < 0)
        throw ChartException("Labels Separation % must be greater than 0");
    if (StoreChanged(LabelsSeparation_, value))
        Changed();
}

std::string TChartAxis::LabelValue(double value) const {
    return FormatFloat(AxisValuesFormat_, value);
}

std::string TChartAxis::LabelText(double value, TChartSeries* series, int valueIndex) const {
    std::string text = LabelValue(value);
    if (OnGetAxisLabel)
        OnGetAxisLabel(const_cast<TChartAxis*>(this), series, valueIndex, text);
    return text;
}

// --- ticks and grid -----------------------------------------------------------------

void TChartAxis::SetMinorTickLength(int value) {
    if (StoreChanged(MinorTickLength_, value))
        Changed();
}

// --- series on this axis ------------------------------------------------------------

bool TChartAxis::AnySeriesActiveOnAxis() const {
    if (!Chart_)
        return false;
    for (int i = 0; i < Chart_->SeriesCount(); ++i) {
        const TChartSeries* s = Chart_->GetSeries(i);
        if (s->Active() && s->AssociatedToAxis(this))
            return true;
    }
    return false;
}

void TChartAxis::CalcSeriesRange(double& minimum, double& maximum) const {
    minimum = 0;
    maximum = 0;
    if (!Chart_)
        return;
    const bool onlyActive = AnySeriesActiveOnAxis();
    bool first = true;
    for (int i = 0; i < Chart_->SeriesCount(); ++i) {
        const TChartSeries* s = Chart_->GetSeries(i);
        if ((onlyActive && !s->Active()) || s->Count() == 0 || !s->AssociatedToAxis(this))
            continue;
        const double lo = Horizontal_ ? s->MinXValue() : s->MinYValue();
        const double hi = Horizontal_ ? s->MaxXValue() : s->MaxYValue();
        if (first || lo < minimum)
            minimum = lo;
        if (first || hi > maximum)
            maximum = hi;
        first = false;
    }
}

void TChartAxis::AdjustMaxMin() {
    if (Automatic_ || AutomaticMinimum_ || AutomaticMaximum_) {
        double minimum = 0;
        double maximum = 0;
        CalcSeriesRange(minimum, maximum);
        if (Automatic_ || AutomaticMaximum_)
            Maximum_ = maximum;
        if (Automatic_ || AutomaticMinimum_)
            Minimum_ = minimum;
    }
    SetCurrentRange(Minimum_, Maximum_);
}

void TChartAxis::SetCurrentRange(double minimum, double maximum) {
    IMinimum_ = minimum;
    IMaximum_ = maximum;
    RecalcDerived();
}

void TChartAxis::SetPositions(int startPos, int endPos) {
    IStartPos_ = startPos;
    IEndPos_ = endPos;
    RecalcDerived();
}

void TChartAxis::RecalcDerived() {
    IRange_ = IMaximum_ - IMinimum_;
    IRangeZero_ = IRange_ == 0;
    IAxisSize_ = IEndPos_ - IStartPos_;
    ICenterPos_ = (IStartPos_ + IEndPos_) / 2;
    IAxisScale_ = IRangeZero_ ? 0.0 : IAxisSize_ / IRange_;
}

void TChartAxis::InternalCalcPositions() {
    if (!Chart_)
        return;
    const TRect& r = Chart_->ChartRect;
    if (Horizontal_) {
        const double w = Chart_->ChartWidth;
        IStartPos_ = r.Left + ChartRound(w * 0.01 * StartPosition_);
        IEndPos_ = r.Left + ChartRound(w * 0.01 * EndPosition_);
        PosAxis_ = OtherSide_ ? r.Top : r.Bottom;
    } else {
        const double h = Chart_->ChartHeight;
        IStartPos_ = r.Top + ChartRound(h * 0.01 * StartPosition_);
        IEndPos_ = r.Top + ChartRound(h * 0.01 * EndPosition_);
        PosAxis_ = OtherSide_ ? r.Right : r.Left;
    }
    RecalcDerived();
}

// --- value <-> pixel ----------------------------------------------------------------

int TChartAxis::CalcPosValue(double value) const {
    if (IRangeZero_)
        return ICenterPos_;
    const int d = ToPixel((value - IMinimum_) * IAxisScale_);
    if (Horizontal_)
        return Inverted_ ? IEndPos_ - d : IStartPos_ + d;
    return Inverted_ ? IStartPos_ + d : IEndPos_ - d;
}

int TChartAxis::CalcXPosValue(double value) const {
    return CalcPosValue(value);
}

int TChartAxis::CalcYPosValue(double value) const {
    return CalcPosValue(value);
}

double TChartAxis::CalcPosPoint(int pixel) const {
    if (IAxisSize_ < 1)
        return 0;
    const double d = Inverted_ ? IEndPos_ - pixel : pixel - IStartPos_;
    const double v = d * IRange_ / IAxisSize_;
    return Horizontal_ ? IMinimum_ + v : IMaximum_ - v;
}

// --- margins ------------------------------------------------------------------------

void TChartAxis::AdjustMaxMinRect(int atMinimum, int atMaximum) {
    // The minimum sits at the start pixel of horizontal axes and at the end of vertical ones.
    const bool minAtStart = Horizontal_ != Inverted_;
    const int atStart = minAtStart ? atMinimum : atMaximum;
    const int atEnd = minAtStart ? atMaximum : atMinimum;
    const int oldStart = IStartPos_;
    const int oldEnd = IEndPos_;
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
    if (Chart_) {
        for (int i = 0; i < Chart_->SeriesCount(); ++i) {
            TChartSeries* s = Chart_->GetSeries(i);
            if (!s->Active() || !s->AssociatedToAxis(this))
                continue;
            int a = 0;
            int b = 0;
            if (Horizontal_) {
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
    int atMinimum = Inverted_ ? highSide : lowSide;
    int atMaximum = Inverted_ ? lowSide : highSide;
    atMinimum += MinimumOffset_;
    atMaximum += MaximumOffset_;
    if (atMinimum != 0 || atMaximum != 0)
        AdjustMaxMinRect(atMinimum, atMaximum);
}

// --- label sizes and increment ------------------------------------------------------

int TChartAxis::LabelHeight(const std::string& text) const {
    TChartCanvas3D& canvas = Chart_->Canvas();
    canvas.AssignFont(*LabelsFont_);
    return canvas.FontHeight() * static_cast<int>(SplitLabel(text, LabelsMultiLine_).size());
}

int TChartAxis::LabelWidth(const std::string& text) const {
    TChartCanvas3D& canvas = Chart_->Canvas();
    canvas.AssignFont(*LabelsFont_);
    int width = 0;
    for (const std::string& line : SplitLabel(text, LabelsMultiLine_))
        width = std::max(width, canvas.TextWidth(line));
    return width;
}

int TChartAxis::InternalLabelSize(double value, bool isWidth) const {
    const std::string text = LabelValue(value);
    return isWidth ? LabelWidth(text) : LabelHeight(text);
}

int TChartAxis::LabelSize(double value) const {
    // Width along horizontal axes, height along vertical ones; turned labels swap.
    return InternalLabelSize(value, AlongAxis(Horizontal_, LabelsAngle_));
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
    if (!Chart_)
        return Increment_ > 0 ? Increment_ : 1;
    const int s = std::max(LabelSize(IMinimum_), LabelSize(IMaximum_));
    auto roomOf = [this](int size) {
        return size + (LabelsSeparation_ > 0 ? ChartRound(LabelsSeparation_ * 0.01 * size) : 0);
    };
    int n = 1;
    if (s > 0)
        n = ChartRound(static_cast<double>(IAxisSize_) / roomOf(s));
    if (n < 1)
        return MinAxisIncrement;
    double step;
    if (Increment_ > 0) {
        step = Increment_;
    } else if (IRange_ != 0) {
        step = std::fabs(IRange_) / (n + 1);
        for (int i = 0; i < Chart_->SeriesCount(); ++i) {
            const TChartSeries* series = Chart_->GetSeries(i);
            const bool alongX = Horizontal_ == series->YMandatory();
            if (series->Active() && alongX && series->AssociatedToAxis(this) &&
                series->Count() <= n) {
                step = std::max(step, 1.0);
                break;
            }
        }
    } else {
        step = 1;
    }
    if (LabelsSeparation_ >= 0) {
        // Both counts are rounded, so a step they allow may still put labels
        // side by side closer than their widths ("1,0001,200"): there the
        // labels that step draws (not the axis ends, "0.32" where "1" is
        // drawn) decide too. Stacked labels keep the counts alone; a line's
        // height has room above the glyphs.
        const bool sideBySide = AlongAxis(Horizontal_, LabelsAngle_);
        auto fits = [&](double candidate) {
            if (!sideBySide)
                return true;
            int widest = 0;
            double v = RoundFirstLabel_ ? std::trunc(IMaximum_ / candidate) * candidate : IMaximum_;
            for (int k = 0; k <= n + 1 && v >= IMinimum_ - candidate * 1e-9; ++k, v -= candidate)
                widest = std::max(widest, LabelSize(v));
            return std::fabs(IAxisSize_ * candidate) >= roomOf(widest) * std::fabs(IRange_);
        };
        for (;;) {
            const double q = IRange_ / step;
            if (std::fabs(q) < 2147483647.0 && ChartRound(q) <= n && fits(step))
                break;
            step = NextStep(step);
            if (step > IRange_ || std::isinf(step))
                break;
        }
    }
    if (std::isinf(step))
        return IRange_;
    return std::max(step, MinAxisIncrement);
}

int TChartAxis::MaxLabelsWidth() const {
    TChartAxis* self = const_cast<TChartAxis*>(this);
    const TAxisLabelStyle style = CalcLabelStyle();
    int width = 0;
    if (style == talText) {
        for (int i = 0; i < Chart_->SeriesCount(); ++i) {
            const TChartSeries* s = Chart_->GetSeries(i);
            if (!s->Active() || !s->AssociatedToAxis(this))
                continue;
            for (const std::string& label : s->Labels())
                width = std::max(width, LabelWidth(label));
        }
    } else {
        double low = IMinimum_;
        double high = IMaximum_;
        if (RoundFirstLabel_) {
            const double step = self->CalcIncrement();
            low = std::trunc(IMinimum_ / step) * step;
            high = std::trunc(IMaximum_ / step) * step;
        }
        width = std::max(LabelWidth(LabelValue(low)), LabelWidth(LabelValue(high)));
    }
    TChartCanvas3D& canvas = Chart_->Canvas();
    canvas.AssignFont(*LabelsFont_);
    return width + canvas.TextWidth(" ");
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
    if (LabelStyle_ != talAuto)
        return LabelStyle_;
    if (!Chart_)
        return talNone;
    bool any = false;
    for (int i = 0; i < Chart_->SeriesCount(); ++i) {
        const TChartSeries* s = Chart_->GetSeries(i);
        if (!s->Active() || !s->AssociatedToAxis(this))
            continue;
        any = true;
        const bool alongX = Horizontal_ == s->YMandatory();
        if (alongX && s->HasLabels() && !s->XLabel(0).empty())
            return talText;
    }
    return any ? talValue : talNone;
}

// --- layout -------------------------------------------------------------------------

void TChartAxis::CalcRect(TRect& rect, bool inflateChartRectangle) {
    if (!Chart_)
        return;
    TChartCanvas3D& canvas = Chart_->Canvas();
    // Edge on the axis side and the direction that points into the chart.
    int* edge;
    int inward;
    if (Horizontal_) {
        edge = OtherSide_ ? &rect.Top : &rect.Bottom;
        inward = OtherSide_ ? 1 : -1;
    } else {
        edge = OtherSide_ ? &rect.Right : &rect.Left;
        inward = OtherSide_ ? -1 : 1;
    }
    int pos = *edge;
    PosTitle_ = pos;
    if (Title_->Visible() && !Title_->Caption().empty()) {
        int size = TitleSize_;
        if (size == 0) {
            canvas.AssignFont(Title_->Font());
            size = AlongAxis(Horizontal_, Title_->Angle()) ? canvas.FontHeight()
                                                           : canvas.TextWidth(Title_->Caption());
        }
        pos += inward * size;
        PosTitle_ = pos;
    }
    PosLabels_ = pos;
    LabelsRoom_ = -1;
    if (Labels_) {
        int size = LabelsSize_;
        if (size == 0) {
            if (AlongAxis(Horizontal_, LabelsAngle_)) {
                canvas.AssignFont(*LabelsFont_);
                size = canvas.FontHeight();
            } else {
                size = std::max(MaxLabelsWidth(), LabelsRoomAtLeast_);
                LabelsRoom_ = size;
            }
        }
        pos += inward * size;
        PosLabels_ = pos;
    }
    int ticks =
        (AxisPen_->Visible() ? AxisPen_->Width() + 1 : 0) + (Ticks_->Visible() ? TickLength_ : 0);
    if (MinorTicks_->Visible())
        ticks = std::max(ticks, MinorTickLength_);
    if (ticks > 0)
        pos += inward * ticks;
    if (PositionPercent_ != 0) {
        const int side = Horizontal_ ? Chart_->ChartHeight : Chart_->ChartWidth;
        const int shift = PositionUnits_ == muPercent ? ChartRound(side * PositionPercent_ * 0.01)
                                                      : ChartRound(PositionPercent_);
        PosTitle_ += inward * shift;
        PosLabels_ += inward * shift;
    }
    PosAxis_ = pos;
    if (inflateChartRectangle)
        *edge = pos;
}

bool TChartAxis::WidenLabelsRoom() {
    if (!Chart_ || LabelsRoom_ < 0)
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
    TChartCanvas3D& canvas = Chart_->Canvas();
    canvas.AssignFont(*LabelsFont_);
    width += canvas.TextWidth(" ");
    if (width <= LabelsRoom_)
        return false;
    LabelsRoomAtLeast_ = width;
    return true;
}

// --- drawing ------------------------------------------------------------------------

void TChartAxis::CalcLabelValues(std::vector<double>& out) {
    out.clear();
    const double step = CalcIncrement();
    if (!(step > 0) || std::fabs(IRange_ / step) >= MaxLabelCount)
        return;
    double value;
    if (LabelValue(IMinimum_) == LabelValue(IMaximum_))
        value = IMaximum_;
    else if (RoundFirstLabel_)
        value = std::trunc(IMaximum_ / step) * step;
    else
        value = IMaximum_;
    // A step below the value's resolution would never get it under the maximum.
    for (int i = 0; value > IMaximum_ && i < MaxLabelCount; ++i)
        value -= step;
    if (IRangeZero_ || IMaximum_ - IMinimum_ < 1e-10 ||
        LabelValue(value) == LabelValue(value - step)) {
        out.push_back(value);
        return;
    }
    const double lowest = (IMinimum_ - MinAxisIncrement) / (1 + MinAxisIncrement);
    while (value >= lowest && static_cast<int>(out.size()) <= MaxLabelCount) {
        out.push_back(value);
        const double next = value - step;
        if (next == value)
            break;
        value = next;
    }
}

void TChartAxis::DrawAxisLabel(int x, int y, int angle, const std::string& text) {
    TChartCanvas3D& canvas = Chart_->Canvas();
    const int z = ChartRound(ZPosition_ * 0.01 * Chart_->SeriesWidth3D);
    if (angle % 360 == 0)
        canvas.TextOut3D(x, y, z, text);
    else
        canvas.RotateLabel3D(x, y, z, text, angle);
}

void TChartAxis::DrawLabelAt(int pos, const std::string& text) {
    TChartCanvas3D& canvas = Chart_->Canvas();
    canvas.AssignFont(*LabelsFont_);
    canvas.SetBackMode(cbmTransparent);
    const int h = canvas.FontHeight();
    const std::vector<std::string> lines = SplitLabel(text, LabelsMultiLine_);
    const int count = static_cast<int>(lines.size());
    for (int k = 0; k < count; ++k) {
        const std::string& line = lines[static_cast<std::size_t>(k)];
        if (Horizontal_) {
            canvas.SetTextAlign(TA_CENTER | TA_TOP);
            const int y = OtherSide_ ? PosLabels_ - (count - k) * h : PosLabels_ + k * h;
            // A label at an end of the axis may reach past the panel's edge
            // ("1,000,000" at the right): it moves inward, its tick stays.
            const int w = canvas.TextWidth(line);
            const TRect& panel = Chart_->ChartBounds;
            int x = pos;
            if (x - w / 2 + w > panel.Right)
                x = panel.Right - w + w / 2;
            if (x - w / 2 < panel.Left)
                x = panel.Left + w / 2;
            DrawAxisLabel(x, y, 0, line);
        } else {
            const int y = pos - count * h / 2 + k * h;
            const bool rightAligned = OtherSide_ == (LabelsAlign_ == alOpposite);
            if (rightAligned) {
                canvas.SetTextAlign(TA_RIGHT | TA_TOP);
                const int x = OtherSide_ ? PosLabels_ + MaxLabelsWidth() : PosLabels_;
                DrawAxisLabel(x, y, 0, line);
            } else {
                canvas.SetTextAlign(TA_LEFT | TA_TOP);
                const int x = OtherSide_ ? PosLabels_ : PosLabels_ - MaxLabelsWidth();
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
        const bool inside = IStartPos_ < p && p < IEndPos_;
        if (LabelsOnAxis_ || inside) {
            if (Labels_)
                DrawLabelAt(p, LabelText(v, nullptr, -1));
            TickPositions_.push_back(p);
        } else if (!TickOnLabelsOnly_ && v >= IMinimum_ && v <= IMaximum_) {
            TickPositions_.push_back(p);
        }
    }
}

void TChartAxis::DrawTextLabels() {
    TChartSeries* series = nullptr;
    for (int i = 0; i < Chart_->SeriesCount() && !series; ++i) {
        TChartSeries* s = Chart_->GetSeries(i);
        if (s->Active() && s->AssociatedToAxis(this) && s->HasLabels())
            series = s;
    }
    if (!series)
        return;
    const TChartValueList& list = Horizontal_ ? series->XValues() : series->YValues();
    bool havePrevious = false;
    int previousPos = 0;
    int previousHalf = 0;
    for (int i = 0; i < series->Count(); ++i) {
        const double x = list.Value(i);
        if (x < IMinimum_ || x > IMaximum_)
            continue;
        std::string text = series->XLabel(i);
        if (OnGetAxisLabel)
            OnGetAxisLabel(this, series, i, text);
        const int p = CalcPosValue(x);
        const int size = Horizontal_ ? LabelWidth(text) : LabelHeight(text);
        const int half = ChartRound(size + LabelsSeparation_ * 0.02 * size) / 2;
        if (havePrevious && std::abs(p - previousPos) < previousHalf + half)
            continue;
        if (Labels_ && !text.empty())
            DrawLabelAt(p, text);
        TickPositions_.push_back(p);
        havePrevious = true;
        previousPos = p;
        previousHalf = half;
    }
}

void TChartAxis::DrawTitle() {
    const std::string& caption = Title_->Caption();
    if (!Title_->Visible() || caption.empty())
        return;
    TChartCanvas3D& canvas = Chart_->Canvas();
    canvas.AssignFont(Title_->Font());
    canvas.SetBackMode(cbmTransparent);
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    const int h = canvas.FontHeight();
    const int w = canvas.TextWidth(caption);
    const int angle = ((Title_->Angle() % 360) + 360) % 360;
    int x;
    int y;
    if (angle == 90) {
        // Reads upward: the origin is the text's bottom-left, its glyph tops face outward.
        x = OtherSide_ ? PosTitle_ : PosTitle_ - h;
        y = ICenterPos_ + w / 2;
    } else if (angle == 270) {
        // Reads downward: the origin is the top-right, the glyph tops face outward.
        x = OtherSide_ ? PosTitle_ + h : PosTitle_;
        y = ICenterPos_ - w / 2;
    } else {
        x = ICenterPos_ - w / 2;
        y = OtherSide_ ? PosTitle_ - h : PosTitle_;
        if (!Horizontal_)
            y = ICenterPos_ - h / 2;
    }
    DrawAxisLabel(x, y, angle, caption);
}

void TChartAxis::DrawTicksAndGrid() {
    TChartCanvas3D& canvas = Chart_->Canvas();
    const int z = ChartRound(ZPosition_ * 0.01 * Chart_->SeriesWidth3D);
    const int gridZ = ChartRound(GridZPosition_ * 0.01 * Chart_->SeriesWidth3D);
    const int outward = Horizontal_ ? (OtherSide_ ? -1 : 1) : (OtherSide_ ? 1 : -1);
    const TRect& r = Chart_->ChartRect;
    auto tick = [&](int p, int from, int to) {
        if (Horizontal_)
            canvas.VertLine3D(p, from, to, z);
        else
            canvas.HorizLine3D(from, to, p, z);
    };
    auto gridLine = [&](int p) {
        if (Horizontal_)
            canvas.VertLine3D(p, r.Top + 1, r.Bottom, gridZ);
        else
            canvas.HorizLine3D(r.Left + 1, r.Right, p, gridZ);
    };

    if (AxisPen_->Visible()) {
        canvas.AssignVisiblePen(*AxisPen_);
        if (Horizontal_)
            canvas.HorizLine3D(IStartPos_, IEndPos_, PosAxis_, z);
        else
            canvas.VertLine3D(PosAxis_, IStartPos_, IEndPos_, z);
    }
    const std::vector<int>& ticks = TickPositions_;
    if (Ticks_->Visible() && TickLength_ > 0) {
        canvas.AssignVisiblePen(*Ticks_);
        for (int p : ticks)
            tick(p, PosAxis_ + outward, PosAxis_ + outward * (1 + TickLength_));
    }
    if (Grid_->Visible()) {
        const TColor color = Grid_->Color() == clDefault ? clGray : Grid_->Color();
        canvas.AssignVisiblePenColor(*Grid_, color);
        canvas.SetBackMode(cbmTransparent);
        for (int p : GridLinePositions(ticks, GridCentered_, IStartPos_, IEndPos_))
            gridLine(p);
    }
    if (TicksInner_->Visible() && TickInnerLength_ > 0) {
        canvas.AssignVisiblePen(*TicksInner_);
        for (int p : ticks)
            tick(p, PosAxis_, PosAxis_ - outward * TickInnerLength_);
    }
    const bool minorTicks = MinorTicks_->Visible() && MinorTickLength_ > 0;
    if ((minorTicks || MinorGrid_->Visible()) && ticks.size() >= 2 && MinorTickCount_ > 0) {
        const MinorTickPositions minor =
            LayoutMinorTicks(ticks, MinorTickCount_, IStartPos_, IEndPos_);
        if (minorTicks) {
            canvas.AssignVisiblePen(*MinorTicks_);
            for (int p : minor.Ticks)
                tick(p, PosAxis_ + outward, PosAxis_ + outward * (1 + MinorTickLength_));
        }
        if (MinorGrid_->Visible()) {
            canvas.AssignVisiblePen(*MinorGrid_);
            for (int p : minor.GridLines)
                gridLine(p);
        }
    }
}

void TChartAxis::Draw() {
    if (!Chart_)
        return;
    TickPositions_.clear();
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
    const int lo = std::min(IStartPos_, IEndPos_);
    const int hi = std::max(IStartPos_, IEndPos_);
    if (Horizontal_)
        return x >= lo && x <= hi && std::abs(y - PosAxis_) <= AxisClickGap;
    return y >= lo && y <= hi && std::abs(x - PosAxis_) <= AxisClickGap;
}
