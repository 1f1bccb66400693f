#pragma once
// A chart pen white.

#include "chart/ChartCanvas/TChartPen.h"

class TWhitePen : public TChartPen {
public:
    TWhitePen() { Color_ = clWhite; }
    explicit TWhitePen(std::function<void()> onChange) : TChartPen(std::move(onChange)) {
        Color_ = clWhite;
    }
};
