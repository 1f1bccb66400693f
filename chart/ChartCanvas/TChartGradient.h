#pragma once
// The published gradient of chart elements.

#include "chart/ChartCanvas/TCustomChartGradient.h"

class TChartGradient : public TCustomChartGradient {
public:
    using TCustomChartGradient::TCustomChartGradient;
};
