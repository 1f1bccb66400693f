#include "chart/ChartEngine/TCustomChartElement.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"

TCustomChartElement::TCustomChartElement()
    : Brush_(std::make_unique<TChartBrush>([this] { Repaint(); })),
      Pen_(std::make_unique<TChartPen>([this] { Repaint(); })) {}

TCustomChartElement::~TCustomChartElement() = default;

void TCustomChartElement::SetParentChart(TCustomAxisPanel* value) {
    ParentChart_ = value;
}

void TCustomChartElement::SetActive(bool value) {
    if (StoreChanged(Active_, value))
        Repaint();
}

void TCustomChartElement::Repaint() const {
    if (ParentChart_ && !ParentChart_->IsDestroying())
        ParentChart_->Invalidate();
}
