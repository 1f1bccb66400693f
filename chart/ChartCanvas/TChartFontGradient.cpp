#include "chart/ChartCanvas/TChartFontGradient.h"

void TChartFontGradient::SetOutline(bool value) {
    if (Outline_ != value) {
        Outline_ = value;
        Changed();
    }
}

void TChartFontGradient::Assign(const TCustomChartGradient& source) {
    TChartGradient::Assign(source);
    if (const auto* font = dynamic_cast<const TChartFontGradient*>(&source))
        SetOutline(font->Outline_);
}
