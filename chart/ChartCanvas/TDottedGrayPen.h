#pragma once
// A chart pen dotted grey, for grids.

#include "chart/ChartCanvas/TChartPen.h"

class TDottedGrayPen : public TChartPen {
public:
    TDottedGrayPen() {
        Color_ = clGray;
        Style_ = psDot;
    }
    explicit TDottedGrayPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
        Color_ = clGray;
        Style_ = psDot;
    }
};
