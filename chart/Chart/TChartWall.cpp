#include "chart/Chart/TChartWall.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartPanel/TCustomChartPanel.h"

TChartWall::TChartWall(TCustomChartPanel* chart, TColor color, bool transparent, bool visible)
    : Chart_(chart), Color_(color), Transparent_(transparent), Visible_(visible) {
    auto repaint = [this] { Repaint(); };
    Brush_ = std::make_unique<TChartBrush>(repaint);
    Pen_ = std::make_unique<TChartPen>(repaint);
    Gradient_ = std::make_unique<TChartGradient>(repaint);
}

TChartWall::~TChartWall() = default;

void TChartWall::Repaint() const {
    if (Chart_)
        Chart_->Invalidate();
}
