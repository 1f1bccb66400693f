#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartEngine/TChartAxis.h"

TChartAxisTitle::TChartAxisTitle(TChartAxis* axis)
    : Axis_(axis), Font_(std::make_unique<TChartFont>([this] {
          if (Axis_)
              Axis_->Changed();
      })) {}

TChartAxisTitle::~TChartAxisTitle() = default;

void TChartAxisTitle::SetCaption(const std::string& value) {
    if (!StoreChanged(Caption_, value))
        return;
    if (Axis_)
        Axis_->Changed();
}

void TChartAxisTitle::SetAngle(int value) {
    if (!StoreChanged(Angle_, value))
        return;
    if (Axis_)
        Axis_->Changed();
}

void TChartAxisTitle::SetVisible(bool value) {
    if (!StoreChanged(Visible_, value))
        return;
    if (Axis_)
        Axis_->Changed();
}
