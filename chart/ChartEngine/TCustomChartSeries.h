#pragma once
// A series as the legend and the chart's series list see it: title and legend switch.

#include "chart/ChartEngine/TCustomChartElement.h"

#include <string>

class TCustomChartSeries : public TCustomChartElement {
public:
    TCustomChartSeries() = default;

    // Component name; the legend lists a series by it when the title is empty.
    const std::string& Name() const { return Name_; }
    void SetName(const std::string& value) { Name_ = value; }

    bool ShowInLegend() const { return ShowInLegend_; }
    void SetShowInLegend(bool value);

    const std::string& Title() const { return Title_; }
    virtual void SetTitle(const std::string& value);

    // Title, or the component name when the title is empty.
    const std::string& TitleOrName() const { return Title_.empty() ? Name_ : Title_; }

private:
    std::string Name_;
    bool ShowInLegend_ = true;
    std::string Title_;
};
