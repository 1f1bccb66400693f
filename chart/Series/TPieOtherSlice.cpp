#include "chart/Series/TPieOtherSlice.h"

TPieOtherSlice::TPieOtherSlice(std::function<void()> onChange) : OnChange(std::move(onChange)) {}

void TPieOtherSlice::Changed() {
    if (OnChange)
        OnChange();
}

void TPieOtherSlice::SetStyle(TPieOtherStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    Changed();
}

void TPieOtherSlice::SetValue(double value) {
    if (FValue == value)
        return;
    FValue = value;
    Changed();
}

void TPieOtherSlice::SetText(const std::string& value) {
    if (FText == value)
        return;
    FText = value;
    Changed();
}

void TPieOtherSlice::SetColor(TColor value) {
    if (FColor == value)
        return;
    FColor = value;
    Changed();
}

void TPieOtherSlice::SetLegendVisible(bool value) {
    if (FLegendVisible == value)
        return;
    FLegendVisible = value;
    Changed();
}
