#include "chart/ChartEngine/TCustomChartSeries.h"
#include "chart/StoreChanged.h"

void TCustomChartSeries::SetShowInLegend(bool value) {
    if (StoreChanged(FShowInLegend, value))
        Repaint();
}

void TCustomChartSeries::SetTitle(const std::string& value) {
    if (StoreChanged(FTitle, value))
        Repaint();
}
