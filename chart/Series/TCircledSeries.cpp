#include "chart/Series/TCircledSeries.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <typeinfo>

TCircledSeries::TCircledSeries()
    : CircleGradient_(std::make_unique<TChartGradient>([this] { Repaint(); })) {
    SetCalcVisiblePoints(false);
}

TCircledSeries::~TCircledSeries() {
    SetParentProperties(false);
}

void TCircledSeries::SetCircled(bool value) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) {
        if (Circled_ != value) {
            Circled_ = value;
            CustomXRadius_ = 0;
            CustomYRadius_ = 0;
        }
        return;
    }
    for (TChartSeries* s : chart->SeriesList()) {
        auto* other = dynamic_cast<TCircledSeries*>(s);
        if (!other || typeid(*other) != typeid(*this))
            continue;
        other->Circled_ = value;
        other->CustomXRadius_ = 0;
        other->CustomYRadius_ = 0;
    }
    Circled_ = value;
    CustomXRadius_ = 0;
    CustomYRadius_ = 0;
    Repaint();
}

void TCircledSeries::SetCustomXRadius(int value) {
    if (StoreChanged(CustomXRadius_, value))
        Repaint();
}

void TCircledSeries::SetRotationAngle(int value) {
    const int angle = ((value % 360) + 360) % 360;
    if (RotationAngle_ == angle)
        return;
    RotationAngle_ = angle;
    RotationRadians_ = angle * ChartPiStep;
    Repaint();
}

// --- geometry ------------------------------------------------------------------------

void TCircledSeries::AdjustCircleRect() {
    TRect& r = CircleRect_;
    if ((r.Right - r.Left) % 2 != 0)
        --r.Right;
    if ((r.Bottom - r.Top) % 2 != 0)
        --r.Bottom;
    if (r.Right - r.Left < 4)
        r.Right = r.Left + 4;
    if (r.Bottom - r.Top < 4)
        r.Bottom = r.Top + 4;
    CircleWidth_ = r.Right - r.Left;
    CircleHeight_ = r.Bottom - r.Top;
    const TPoint c = RectCenter(r);
    CircleXCenter_ = c.X;
    CircleYCenter_ = c.Y;
}

void TCircledSeries::SetRadiiFromRect() {
    XRadius_ = CustomXRadius_ > 0 ? CustomXRadius_ : CircleWidth_ / 2;
    YRadius_ = CustomYRadius_ > 0 ? CustomYRadius_ : CircleHeight_ / 2;
    CircleRect_ = TRect{CircleXCenter_ - XRadius_, CircleYCenter_ - YRadius_,
                        CircleXCenter_ + XRadius_, CircleYCenter_ + YRadius_};
    CircleWidth_ = CircleRect_.Right - CircleRect_.Left;
    CircleHeight_ = CircleRect_.Bottom - CircleRect_.Top;
}

int TCircledSeries::MaxMarkWidth() {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return 0;
    int widest = 0;
    for (int i = 0; i < Count(); ++i)
        for (const std::string& line : TSeriesMarks::SplitLines(GetMarkText(i)))
            widest = std::max(widest, canvas->TextWidth(line));
    return widest;
}

void TCircledSeries::CalcCircleRect() {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart)
        return;
    CircleRect_ = chart->ChartRect;
    AdjustCircleRect();
    TChartCanvas3D* canvas = ParentCanvas();
    if (Marks().Visible() && canvas) {
        canvas->AssignFont(Marks().Font());
        int length = Marks().Callout().Length();
        if (Marks().Frame().Visible())
            length += 2 * Marks().Frame().Width();
        const int vertical = length + canvas->FontHeight();
        const int horizontal = canvas->TextWidth("W") + MaxMarkWidth() + length;
        CircleRect_.Top += vertical;
        CircleRect_.Bottom -= vertical;
        CircleRect_.Left += horizontal;
        CircleRect_.Right -= horizontal;
        AdjustCircleRect();
    } else {
        // Pies of one chart line up with the first one that makes room for its marks.
        for (TChartSeries* s : chart->SeriesList()) {
            auto* other = dynamic_cast<TCircledSeries*>(s);
            if (!other || other == this || !other->Active() || typeid(*other) != typeid(*this) ||
                !other->Marks().Visible())
                continue;
            other->CalcCircleRect();
            CircleRect_ = other->CircleRect_;
            AdjustCircleRect();
            break;
        }
    }
    if (Circled_) {
        // Square pixels: a round disc is as wide as it is high.
        if (CircleWidth_ > CircleHeight_) {
            const int cut = (CircleWidth_ - CircleHeight_) / 2;
            CircleRect_.Left += cut;
            CircleRect_.Right -= cut;
        } else if (CircleHeight_ > CircleWidth_) {
            const int cut = (CircleHeight_ - CircleWidth_) / 2;
            CircleRect_.Top += cut;
            CircleRect_.Bottom -= cut;
        }
        AdjustCircleRect();
    }
    SetRadiiFromRect();
}

void TCircledSeries::DoBeforeDrawValues() {
    CalcCircleRect();
    TChartSeries::DoBeforeDrawValues();
}

void TCircledSeries::AngleToPos(double angle, double xRadius, double yRadius, int& x,
                                int& y) const {
    const double a = angle + RotationRadians_;
    x = ChartRound(std::cos(a) * xRadius) + CircleXCenter_;
    y = CircleYCenter_ - ChartRound(std::sin(a) * yRadius);
}

double TCircledSeries::PointToAngle(int x, int y) const {
    constexpr double twoPi = 2 * std::numbers::pi;
    double angle = 0;
    if (XRadius_ != 0 && YRadius_ != 0) {
        const double dx = double(x - CircleXCenter_) / XRadius_;
        const double dy = double(CircleYCenter_ - y) / YRadius_;
        if (dx == 0 && dy != 0)
            angle = dy > 0 ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
        else
            angle = std::atan2(dy, dx);
        if (angle < 0)
            angle += twoPi;
    }
    angle -= RotationRadians_;
    while (angle < 0)
        angle += twoPi;
    while (angle >= twoPi)
        angle -= twoPi;
    return angle;
}

TColor TCircledSeries::CalcCircleBackColor() const {
    if (CircleBackColor_ != clDefault)
        return CircleBackColor_;
    TCustomAxisPanel* chart = ParentChart();
    if (!chart)
        return clWhite;
    if (chart->Monochrome())
        return clWhite;
    return chart->PlotAreaColor();
}

// --- fixed view while shown ----------------------------------------------------------

void TCircledSeries::SetParentProperties(bool enable) {
    if (enable) {
        TCustomAxisPanel* chart = ParentChart();
        if (!chart || chart->Canvas().GetSupportsFullRotation())
            return;
        TView3DOptions& view = chart->View3DOptions();
        if (!SavedView_) {
            SavedView_ = std::make_unique<TView3DOptions>();
            SavedView_->Assign(view);
            ViewChart_ = chart;
        }
        view.SetOrthogonal(false);
        view.SetRotation(360);
        view.SetElevation(315);
        view.SetPerspective(0);
        view.SetTilt(0);
        return;
    }
    if (SavedView_ && ViewChart_ && !ViewChart_->IsDestroying())
        ViewChart_->View3DOptions().Assign(*SavedView_);
    SavedView_.reset();
    ViewChart_ = nullptr;
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* value) {
    TChartSeries::SetParentChart(value);
}

void TCircledSeries::SetActive(bool value) {
    const bool changed = value != Active();
    TChartSeries::SetActive(value);
    if (changed && ParentChart())
        SetParentProperties(value);
}

void TCircledSeries::Added() {
    TChartSeries::Added();
    if (Active())
        SetParentProperties(true);
}

void TCircledSeries::Removed() {
    SetParentProperties(false);
    TChartSeries::Removed();
}
