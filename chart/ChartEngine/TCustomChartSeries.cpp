#include "chart/ChartEngine/TCustomChartSeries.h"

void TCustomChartSeries::SetShowInLegend(bool value) {
    if (FShowInLegend == value)
        return;
    FShowInLegend = value;
    Repaint();
}

void TCustomChartSeries::SetTitle(const std::string& value) {
    if (FTitle == value)
        return;
    FTitle = value;
    Repaint();
}
