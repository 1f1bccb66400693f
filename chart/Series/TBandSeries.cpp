#include "chart/Series/TBandSeries.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"

#include <algorithm>

TBandSeries::TBandSeries()
    : LowValues_(std::make_unique<TChartValueList>(this, "Low")),
      BandBrush_(std::make_unique<TChartBrush>([this] { Repaint(); })) {
    YValues().SetName("High");
    Pen().SetVisible(false);
    // The band runs on to the neighbours just outside the view, as a line does.
    SetDrawBetweenPoints(true);
}

TBandSeries::~TBandSeries() {
    // The list unregisters itself while the series' registry still exists.
    LowValues_.reset();
}

int TBandSeries::AddBand(double x, double low, double high, TColor color) {
    LowValues_->TempValue = low;
    return AddXY(x, high, "", color);
}

double TBandSeries::MaxYValue() const {
    if (Count() == 0)
        return 0;
    return std::max(YValues().MaxValue(), LowValues_->MaxValue());
}

double TBandSeries::MinYValue() const {
    if (Count() == 0)
        return 0;
    return std::min(YValues().MinValue(), LowValues_->MinValue());
}

TColor TBandSeries::FillColor(int valueIndex) const {
    const TColor own = BandBrush_->Color();
    return own != clDefault ? own : ValueColor(valueIndex);
}

TPointArray TBandSeries::BandPolygon(int first, int last) const {
    TPointArray points;
    for (int i = first; i <= last; ++i)
        points.push_back({CalcXPos(i), CalcYPos(i)});
    for (int i = last; i >= first; --i)
        points.push_back({CalcXPos(i), CalcYPosValue(LowValues_->Value(i))});
    return points;
}

void TBandSeries::DrawAllValues() {
    TChartCanvas3D* canvas = ParentCanvas();
    const int firstVisible = FirstValueIndex();
    const int lastVisible = LastValueIndex();
    if (!canvas || firstVisible < 0)
        return;
    const bool is3D = ParentChart() && ParentChart()->View3D();
    int i = firstVisible;
    while (i <= lastVisible) {
        if (IsNull(i)) {
            ++i;
            continue;
        }
        int last = i;
        while (last + 1 <= lastVisible && !IsNull(last + 1))
            ++last;
        if (last > i) {
            canvas->AssignBrushColor(*BandBrush_, FillColor(i), clNone);
            canvas->AssignVisiblePen(Pen());
            const TPointArray points = BandPolygon(i, last);
            if (is3D)
                canvas->PolygonWithZ(points, MiddleZ);
            else
                canvas->Polygon(points);
        }
        i = last + 1;
    }
}

void TBandSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
    TChartCanvas3D* canvas = ParentCanvas();
    if (!canvas)
        return;
    const TColor color = valueIndex == -1 ? FillColor(0) : FillColor(valueIndex);
    if (color == clNone)
        return;
    canvas->AssignBrushColor(*BandBrush_, color, clNone);
    canvas->AssignVisiblePen(Pen());
    canvas->Rectangle(rect);
}

int TBandSeries::Clicked(int x, int y) {
    for (int i = 0; i + 1 < Count(); ++i) {
        if (IsNull(i) || IsNull(i + 1))
            continue;
        const int x0 = CalcXPos(i);
        const int x1 = CalcXPos(i + 1);
        if (x < std::min(x0, x1) || x > std::max(x0, x1))
            continue;
        const double t = x1 == x0 ? 0.0 : double(x - x0) / double(x1 - x0);
        const double high = CalcYPos(i) + t * (CalcYPos(i + 1) - CalcYPos(i));
        const int low0 = CalcYPosValue(LowValues_->Value(i));
        const int low1 = CalcYPosValue(LowValues_->Value(i + 1));
        const double low = low0 + t * (low1 - low0);
        if (y >= std::min(high, low) && y <= std::max(high, low))
            return t <= 0.5 ? i : i + 1;
    }
    return -1;
}
