#include "chart/ChartCanvas/TChartPen.h"

void TChartPen::Changed() {
    if (OnChange)
        OnChange();
}

void TChartPen::Assign(const TChartPen& source) {
    SetColor(source.Color_);
    SetWidth(source.Width_);
    SetStyle(source.Style_);
    SetMode(source.Mode_);
    SetVisible(source.Visible_);
    SetSmallDots(source.SmallDots_);
    SetEndStyle(source.EndStyle_);
}
