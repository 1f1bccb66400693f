#include "chart/ChartEngine/TChartAxisTitle.h"

#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartEngine/TChartAxis.h"

TChartAxisTitle::TChartAxisTitle(TChartAxis* axis)
    : FAxis(axis), FFont(std::make_unique<TChartFont>([this] {
          if (FAxis)
              FAxis->Changed();
      })) {}

TChartAxisTitle::~TChartAxisTitle() = default;

void TChartAxisTitle::SetCaption(const std::string& value) {
    if (FCaption == value)
        return;
    FCaption = value;
    if (FAxis)
        FAxis->Changed();
}

void TChartAxisTitle::SetAngle(int value) {
    if (FAngle == value)
        return;
    FAngle = value;
    if (FAxis)
        FAxis->Changed();
}

void TChartAxisTitle::SetVisible(bool value) {
    if (FVisible == value)
        return;
    FVisible = value;
    if (FAxis)
        FAxis->Changed();
}
