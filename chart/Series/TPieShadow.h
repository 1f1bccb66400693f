#pragma once
// The pie's drop shadow: grey 10526880, no size until set.

#include "chart/ChartCanvas/TChartShadow.h"

class TPieShadow : public TChartShadow {
public:
    explicit TPieShadow(std::function<void()> onChange = {});
};
