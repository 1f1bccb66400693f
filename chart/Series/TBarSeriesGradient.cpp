#include "chart/Series/TBarSeriesGradient.h"

TBarSeriesGradient::TBarSeriesGradient(std::function<void()> onChange)
    : TChartGradient(std::move(onChange)) {
    Visible_ = true;
    StartColor_ = 16777215;
    Balance_ = 50;
}

void TBarSeriesGradient::SetRelative(bool value) {
    if (FRelative == value)
        return;
    FRelative = value;
    Changed();
}
