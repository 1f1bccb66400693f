#include "chart/Series/TPieShadow.h"

TPieShadow::TPieShadow(std::function<void()> onChange) : TChartShadow(std::move(onChange)) {
    Color_ = 10526880;
}
