#include "chart/ChartEngine/TCustomChartSeries.h"
#include "chart/StoreChanged.h"

void TCustomChartSeries::SetShowInLegend(bool value) {
    if (StoreChanged(ShowInLegend_, value))
        Repaint();
}

void TCustomChartSeries::SetTitle(const std::string& value) {
    if (StoreChanged(Title_, value))
        Repaint();
}
