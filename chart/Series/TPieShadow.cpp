#include "chart/Series/TPieShadow.h"

// A lighter grey than clGray so the shadow under a pie stays soft.
constexpr TColor clPieShadowGray = 0xA0A0A0;

TPieShadow::TPieShadow(std::function<void()> onChange) : TChartShadow(std::move(onChange)) {
    Color_ = clPieShadowGray;
}
