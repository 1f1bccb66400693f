#include "chart/Series/TBarSeriesGradient.h"
#include "chart/StoreChanged.h"

TBarSeriesGradient::TBarSeriesGradient(std::function<void()> onChange)
    : TChartGradient(std::move(onChange)) {
    Visible_ = true;
    StartColor_ = clWhite;
    Balance_ = 50;
}
