#pragma once
// Vertical bars; the gradient runs from the bar colour at the top to white.

#include "chart/Series/TCustomBarSeries.h"

class TBarSeries : public TCustomBarSeries {
public:
    TBarSeries();

    int CustomBarWidth() const { return CustomBarWidth_; }
    void SetCustomBarWidth(int value);
};
