#pragma once
// A series as the legend and the chart's series list see it: title and legend switch.

#include "chart/ChartEngine/TCustomChartElement.h"

#include <string>

class TCustomChartSeries : public TCustomChartElement {
public:
    TCustomChartSeries() = default;

    // Component name; the legend lists a series by it when the title is empty.
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { FName = value; }

    bool ShowInLegend() const { return FShowInLegend; }
    void SetShowInLegend(bool value);

    const std::string& Title() const { return FTitle; }
    virtual void SetTitle(const std::string& value);

    // Title, or the component name when the title is empty.
    const std::string& TitleOrName() const { return FTitle.empty() ? FName : FTitle; }

private:
    std::string FName;
    bool FShowInLegend = true;
    std::string FTitle;
};
