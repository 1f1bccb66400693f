#include "chart/Series/TBarSeries.h"

#include "chart/Series/TBarSeriesGradient.h"

TBarSeries::TBarSeries() {
    Gradient().SetDirection(gdTopBottom);
}

void TBarSeries::SetCustomBarWidth(int value) {
    if (FCustomBarWidth == value)
        return;
    FCustomBarWidth = value;
    Repaint();
}
