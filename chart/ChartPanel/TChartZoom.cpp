#include "chart/ChartPanel/TChartZoom.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TWhitePen.h"

TChartZoom::TChartZoom() = default;
TChartZoom::~TChartZoom() = default;

TChartPen& TChartZoom::Pen() {
    if (!Pen_)
        Pen_ = std::make_unique<TWhitePen>();
    return *Pen_;
}

TChartBrush& TChartZoom::Brush() {
    if (!Brush_)
        Brush_ = std::make_unique<TChartBrush>();
    return *Brush_;
}
