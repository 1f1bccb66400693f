#pragma once
// The callout of series marks: an arrow of Length pixels, its start marker hidden.

#include "chart/ChartEngine/TCallout.h"

class TMarksCallout : public TCallout {
public:
    explicit TMarksCallout(TChartSeries* series);

    int Length() const { return Length_; }
    void SetLength(int value);

private:
    int Length_ = 8;
};
