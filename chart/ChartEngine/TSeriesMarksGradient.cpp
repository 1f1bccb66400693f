#include "chart/ChartEngine/TSeriesMarksGradient.h"

TSeriesMarksGradient::TSeriesMarksGradient() {
    SetDefaults();
}

TSeriesMarksGradient::TSeriesMarksGradient(std::function<void()> onChange)
    : TChartGradient(std::move(onChange)) {
    SetDefaults();
}

void TSeriesMarksGradient::SetDefaults() {
    Direction_ = gdRightLeft;
    StartColor_ = clSilver;
    EndColor_ = clWhite;
}
