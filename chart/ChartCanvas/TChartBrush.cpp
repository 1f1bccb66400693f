#include "chart/ChartCanvas/TChartBrush.h"

void TChartBrush::Changed() {
    if (OnChange)
        OnChange();
}

void TChartBrush::SetColor(TColor value) {
    if (Color_ != value) {
        Color_ = value;
        Changed();
    }
}

void TChartBrush::SetStyle(TBrushStyle value) {
    if (Style_ != value) {
        Style_ = value;
        Changed();
    }
}

void TChartBrush::SetImage(std::shared_ptr<const TRasterImage> value) {
    const bool same = Image_ == value || (Image_ && value && *Image_ == *value);
    if (same)
        return;
    Image_ = std::move(value);
    Changed();
}

void TChartBrush::Assign(const TChartBrush& source) {
    SetColor(source.Color_);
    SetStyle(source.Style_);
    SetImage(source.Image_);
}
