#include "chart/ChartEngine/TCustomChartElement.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"

TCustomChartElement::TCustomChartElement()
    : FBrush(std::make_unique<TChartBrush>([this] { Repaint(); })),
      FPen(std::make_unique<TChartPen>([this] { Repaint(); })) {}

TCustomChartElement::~TCustomChartElement() = default;

void TCustomChartElement::SetParentChart(TCustomAxisPanel* value) {
    FParentChart = value;
}

void TCustomChartElement::SetActive(bool value) {
    if (StoreChanged(FActive, value))
        Repaint();
}

void TCustomChartElement::Repaint() const {
    if (FParentChart && !FParentChart->IsDestroying())
        FParentChart->Invalidate();
}
