#pragma once
// A series drawn as a line: its pen is the series pen, published as LinePen.

#include "chart/ChartEngine/TChartSeries.h"

class TChartPen;

class TCustomLineSeries : public TChartSeries {
public:
    TCustomLineSeries() = default;

    TChartPen& LinePen() const { return Pen(); }
};
