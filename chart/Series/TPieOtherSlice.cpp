#include "chart/Series/TPieOtherSlice.h"
#include "chart/StoreChanged.h"

TPieOtherSlice::TPieOtherSlice(std::function<void()> onChange) : OnChange(std::move(onChange)) {}

void TPieOtherSlice::Changed() {
    if (OnChange)
        OnChange();
}

void TPieOtherSlice::SetStyle(TPieOtherStyle value) {
    if (StoreChanged(FStyle, value))
        Changed();
}

void TPieOtherSlice::SetValue(double value) {
    if (StoreChanged(FValue, value))
        Changed();
}

void TPieOtherSlice::SetText(const std::string& value) {
    if (StoreChanged(FText, value))
        Changed();
}

void TPieOtherSlice::SetColor(TColor value) {
    if (StoreChanged(FColor, value))
        Changed();
}

void TPieOtherSlice::SetLegendVisible(bool value) {
    if (StoreChanged(FLegendVisible, value))
        Changed();
}
