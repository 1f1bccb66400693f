#pragma once
// A chart pen two pixels wide, for axis lines.

#include "chart/ChartCanvas/TChartPen.h"

class TChartAxisPen : public TChartPen {
public:
    TChartAxisPen() { Width_ = 2; }
    explicit TChartAxisPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
        Width_ = 2;
    }
};
