#pragma once
// The fill of gradient bars: visible, white at its start, colour end set per bar.

#include "chart/ChartCanvas/TChartGradient.h"

class TBarSeriesGradient : public TChartGradient {
public:
    explicit TBarSeriesGradient(std::function<void()> onChange = {});

    // With Relative the end colour runs from StartColor toward the bar colour by the
    // point's place between the lowest and highest value.
    bool Relative() const { return Relative_; }

private:
    bool Relative_ = false;
};
