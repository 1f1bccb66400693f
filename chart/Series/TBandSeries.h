#pragma once
// The band series: the area between a lower and an upper value at each X, filled
// with the series brush. Y holds the upper edge, LowValues the lower one. A null
// point splits the band; a run of fewer than two points draws nothing.

#include "chart/ChartEngine/TChartSeries.h"

#include <memory>

class TChartBrush;
class TChartPen;

class TBandSeries : public TChartSeries {
public:
    TBandSeries();
    ~TBandSeries() override;

    TChartValueList& LowValues() const { return *LowValues_; }
    // Fill of the band; a colour of clDefault takes the point's colour.
    TChartBrush& BandBrush() const { return *BandBrush_; }
    // Outline along both edges; hidden at creation.
    TChartPen& BandPen() const { return Pen(); }

    // Adds the band from `low` to `high` at `x`; returns the new point's index.
    int AddBand(double x, double low, double high, TColor color = clDefault);

    // Both edges count for the axes' automatic range.
    double MaxYValue() const override;
    double MinYValue() const override;

    void DrawAllValues() override;
    void DrawLegendShape(int valueIndex, const TRect& rect) override;
    // The point nearest in X of the band segment under (x, y), else -1.
    int Clicked(int x, int y) override;

    // The outline of the run of points first..last (upper edge left to right,
    // then the lower edge back), in pixels.
    TPointArray BandPolygon(int first, int last) const;

private:
    TColor FillColor(int valueIndex) const;

    std::unique_ptr<TChartValueList> LowValues_;
    std::unique_ptr<TChartBrush> BandBrush_;
};
