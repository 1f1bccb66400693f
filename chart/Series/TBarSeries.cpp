#include "chart/Series/TBarSeries.h"
#include "chart/StoreChanged.h"

#include "chart/Series/TBarSeriesGradient.h"

TBarSeries::TBarSeries() {
    Gradient().SetDirection(gdTopBottom);
}

void TBarSeries::SetCustomBarWidth(int value) {
    if (StoreChanged(CustomBarWidth_, value))
        Repaint();
}
