#include "chart/Chart/TLegendSymbol.h"

#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartPanel/TCustomChartPanel.h"

TLegendSymbol::TLegendSymbol(TCustomChartPanel* chart)
    : Chart_(chart), Pen_(std::make_unique<TChartPen>([this] { Repaint(); })) {}

TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Repaint() const {
    if (Chart_)
        Chart_->Invalidate();
}
