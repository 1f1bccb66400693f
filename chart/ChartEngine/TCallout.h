#pragma once
// An arrow from a point to a label, with an optional marker at the arrow's start.

#include "chart/ChartEngine/ChartEngineTypes.h"
#include "chart/ChartEngine/TSeriesPointer.h"

#include <memory>

class TChartPen;

class TCallout : public TSeriesPointer {
public:
    explicit TCallout(TChartSeries* series);
    ~TCallout() override;

    TChartPen& Arrow() const { return *Arrow_; }
    TArrowHeadStyle ArrowHead() const { return ArrowHead_; }
    int ArrowHeadSize() const { return ArrowHeadSize_; }
    int Distance() const { return Distance_; }
    void SetDistance(int value);

    // Draws the arrow from arrowFrom to arrowTo at depth z, then (ahNone, Visible) the
    // marker at the arrow's start.
    void Draw(TColor color, TPoint arrowFrom, int z, TPoint arrowTo);

private:
    std::unique_ptr<TChartPen> Arrow_;
    TArrowHeadStyle ArrowHead_ = ahNone;
    int ArrowHeadSize_ = 8;
    int Distance_ = 0;
};
