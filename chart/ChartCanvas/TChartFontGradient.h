#pragma once
// A gradient painted through a text's outline; with Outline it fills the
// widened outline only.

#include "chart/ChartCanvas/TChartGradient.h"

class TChartFontGradient : public TChartGradient {
public:
    using TChartGradient::TChartGradient;

    bool Outline() const { return Outline_; }
    void SetOutline(bool value);
    void Assign(const TCustomChartGradient& source) override;

private:
    bool Outline_ = false;
};
