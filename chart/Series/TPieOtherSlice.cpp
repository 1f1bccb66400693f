#include "chart/Series/TPieOtherSlice.h"
#include "chart/StoreChanged.h"

TPieOtherSlice::TPieOtherSlice(std::function<void()> onChange) : OnChange(std::move(onChange)) {}

void TPieOtherSlice::Changed() {
    if (OnChange)
        OnChange();
}

void TPieOtherSlice::SetStyle(TPieOtherStyle value) {
    if (StoreChanged(Style_, value))
        Changed();
}

void TPieOtherSlice::SetValue(double value) {
    if (StoreChanged(Value_, value))
        Changed();
}

void TPieOtherSlice::SetText(const std::string& value) {
    if (StoreChanged(Text_, value))
        Changed();
}

void TPieOtherSlice::SetColor(TColor value) {
    if (StoreChanged(Color_, value))
        Changed();
}

void TPieOtherSlice::SetLegendVisible(bool value) {
    if (StoreChanged(LegendVisible_, value))
        Changed();
}
