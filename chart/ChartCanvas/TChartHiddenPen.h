#pragma once
// A chart pen hidden unless shown.

#include "chart/ChartCanvas/TChartPen.h"

class TChartHiddenPen : public TChartPen {
public:
    TChartHiddenPen() { Visible_ = false; }
    explicit TChartHiddenPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
        Visible_ = false;
    }
};
