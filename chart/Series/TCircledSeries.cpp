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
    : FCircleGradient(std::make_unique<TChartGradient>([this] { Repaint(); })) {
    SetCalcVisiblePoints(false);
}

TCircledSeries::~TCircledSeries() {
    SetParentProperties(false);
}

void TCircledSeries::SetCircled(bool value) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) {
        if (FCircled != value) {
            FCircled = value;
            FCustomXRadius = 0;
            FCustomYRadius = 0;
        }
        return;
    }
    for (TChartSeries* s : chart->SeriesList()) {
        auto* other = dynamic_cast<TCircledSeries*>(s);
        if (!other || typeid(*other) != typeid(*this))
            continue;
        other->FCircled = value;
        other->FCustomXRadius = 0;
        other->FCustomYRadius = 0;
    }
    FCircled = value;
    FCustomXRadius = 0;
    FCustomYRadius = 0;
    Repaint();
}

void TCircledSeries::SetCustomXRadius(int value) {
    if (StoreChanged(FCustomXRadius, value))
        Repaint();
}

void TCircledSeries::SetRotationAngle(int value) {
    const int angle = ((value % 360) + 360) % 360;
    if (FRotationAngle == angle)
        return;
    FRotationAngle = angle;
    FRotationRadians = angle * ChartPiStep;
    Repaint();
}

// --- geometry ------------------------------------------------------------------------

void TCircledSeries::AdjustCircleRect() {
    TRect& r = FCircleRect;
    if ((r.Right - r.Left) % 2 != 0)
        --r.Right;
    if ((r.Bottom - r.Top) % 2 != 0)
        --r.Bottom;
    if (r.Right - r.Left < 4)
        r.Right = r.Left + 4;
    if (r.Bottom - r.Top < 4)
        r.Bottom = r.Top + 4;
    FCircleWidth = r.Right - r.Left;
    FCircleHeight = r.Bottom - r.Top;
    const TPoint c = RectCenter(r);
    FCircleXCenter = c.X;
    FCircleYCenter = c.Y;
}

void TCircledSeries::SetRadiiFromRect() {
    FXRadius = FCustomXRadius > 0 ? FCustomXRadius : FCircleWidth / 2;
    FYRadius = FCustomYRadius > 0 ? FCustomYRadius : FCircleHeight / 2;
    FCircleRect = TRect{FCircleXCenter - FXRadius, FCircleYCenter - FYRadius,
                        FCircleXCenter + FXRadius, FCircleYCenter + FYRadius};
    FCircleWidth = FCircleRect.Right - FCircleRect.Left;
    FCircleHeight = FCircleRect.Bottom - FCircleRect.Top;
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
    FCircleRect = chart->ChartRect;
    AdjustCircleRect();
    TChartCanvas3D* canvas = ParentCanvas();
    if (Marks().Visible() && canvas) {
        canvas->AssignFont(Marks().Font());
        int length = Marks().Callout().Length();
        if (Marks().Frame().Visible())
            length += 2 * Marks().Frame().Width();
        const int vertical = length + canvas->FontHeight();
        const int horizontal = canvas->TextWidth("W") + MaxMarkWidth() + length;
        FCircleRect.Top += vertical;
        FCircleRect.Bottom -= vertical;
        FCircleRect.Left += horizontal;
        FCircleRect.Right -= horizontal;
        AdjustCircleRect();
    } else {
        // Pies of one chart line up with the first one that makes room for its marks.
        for (TChartSeries* s : chart->SeriesList()) {
            auto* other = dynamic_cast<TCircledSeries*>(s);
            if (!other || other == this || !other->Active() || typeid(*other) != typeid(*this) ||
                !other->Marks().Visible())
                continue;
            other->CalcCircleRect();
            FCircleRect = other->FCircleRect;
            AdjustCircleRect();
            break;
        }
    }
    if (FCircled) {
        // Square pixels: a round disc is as wide as it is high.
        if (FCircleWidth > FCircleHeight) {
            const int cut = (FCircleWidth - FCircleHeight) / 2;
            FCircleRect.Left += cut;
            FCircleRect.Right -= cut;
        } else if (FCircleHeight > FCircleWidth) {
            const int cut = (FCircleHeight - FCircleWidth) / 2;
            FCircleRect.Top += cut;
            FCircleRect.Bottom -= cut;
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
    const double a = angle + FRotationRadians;
    x = ChartRound(std::cos(a) * xRadius) + FCircleXCenter;
    y = FCircleYCenter - ChartRound(std::sin(a) * yRadius);
}

double TCircledSeries::PointToAngle(int x, int y) const {
    constexpr double twoPi = 2 * std::numbers::pi;
    double angle = 0;
    if (FXRadius != 0 && FYRadius != 0) {
        const double dx = double(x - FCircleXCenter) / FXRadius;
        const double dy = double(FCircleYCenter - y) / FYRadius;
        if (dx == 0 && dy != 0)
            angle = dy > 0 ? std::numbers::pi / 2 : 3 * std::numbers::pi / 2;
        else
            angle = std::atan2(dy, dx);
        if (angle < 0)
            angle += twoPi;
    }
    angle -= FRotationRadians;
    while (angle < 0)
        angle += twoPi;
    while (angle >= twoPi)
        angle -= twoPi;
    return angle;
}

TColor TCircledSeries::CalcCircleBackColor() const {
    if (FCircleBackColor != clDefault)
        return FCircleBackColor;
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
        if (!FSavedView) {
            FSavedView = std::make_unique<TView3DOptions>();
            FSavedView->Assign(view);
            FViewChart = chart;
        }
        view.SetOrthogonal(false);
        view.SetRotation(360);
        view.SetElevation(315);
        view.SetPerspective(0);
        view.SetTilt(0);
        return;
    }
    if (FSavedView && FViewChart && !FViewChart->IsDestroying())
        FViewChart->View3DOptions().Assign(*FSavedView);
    FSavedView.reset();
    FViewChart = nullptr;
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
