#pragma once
// The line series: a joined line through its points, markers hidden at creation.

#include "chart/Series/TCustomSeries.h"

class TLineSeries : public TCustomSeries {
public:
    TLineSeries();
};
