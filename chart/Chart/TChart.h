#pragma once
// The chart control as the window creates it.

#include "chart/Chart/TCustomChart.h"

#include <string>

class TChart : public TCustomChart {
public:
    // The host widget becomes a child of parent (hidden top-level when null).
    explicit TChart(QWidget* parent);
    ~TChart() override;
};
