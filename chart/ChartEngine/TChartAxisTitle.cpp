#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartEngine/TChartAxis.h"

TChartAxisTitle::TChartAxisTitle(TChartAxis* axis)
    : FAxis(axis), FFont(std::make_unique<TChartFont>([this] {
          if (FAxis)
              FAxis->Changed();
      })) {}

TChartAxisTitle::~TChartAxisTitle() = default;

void TChartAxisTitle::SetCaption(const std::string& value) {
    if (!StoreChanged(FCaption, value))
        return;
    if (FAxis)
        FAxis->Changed();
}

void TChartAxisTitle::SetAngle(int value) {
    if (!StoreChanged(FAngle, value))
        return;
    if (FAxis)
        FAxis->Changed();
}

void TChartAxisTitle::SetVisible(bool value) {
    if (!StoreChanged(FVisible, value))
        return;
    if (FAxis)
        FAxis->Changed();
}
