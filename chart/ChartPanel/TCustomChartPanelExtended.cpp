#include "chart/ChartPanel/TCustomChartPanelExtended.h"

#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartGradient.h"

TCustomChartPanelExtended::TCustomChartPanelExtended(QWidget* parent) : TCustomChartPanel(parent) {}

TCustomChartPanelExtended::~TCustomChartPanelExtended() = default;

TChartGradient& TCustomChartPanelExtended::Gradient() {
    if (!Gradient_)
        Gradient_ = std::make_unique<TChartGradient>([this] { Invalidate(); });
    return *Gradient_;
}

bool TCustomChartPanelExtended::DrawBackgroundGradient(const TRect& rect) {
    if (!Gradient_ || !Gradient_->Visible())
        return false;
    // The gradient covers the whole panel bounds.
    (void)rect;
    Gradient_->Draw(Canvas(), ChartBounds);
    return true;
}
