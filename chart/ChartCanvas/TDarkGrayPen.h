#pragma once
// A chart pen dark grey.

#include "chart/ChartCanvas/TChartPen.h"

class TDarkGrayPen : public TChartPen {
public:
    TDarkGrayPen() { Color_ = clGray; }
    explicit TDarkGrayPen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
        Color_ = clGray;
    }
};
