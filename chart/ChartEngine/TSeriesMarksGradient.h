#pragma once
// The box fill gradient of series marks: silver to white from right to left, hidden.

#include "chart/ChartCanvas/TChartGradient.h"

class TSeriesMarksGradient : public TChartGradient {
public:
    TSeriesMarksGradient();
    explicit TSeriesMarksGradient(std::function<void()> onChange);

private:
    void SetDefaults();
};
