#pragma once
// Grouping of small pie slices into one "Other" slice.

#include "platform/GraphicsTypes.h"

#include <functional>
#include <string>

enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };

class TPieOtherSlice {
public:
    explicit TPieOtherSlice(std::function<void()> onChange = {});

    TPieOtherStyle Style() const { return FStyle; }
    void SetStyle(TPieOtherStyle value);
    double Value() const { return FValue; }
    void SetValue(double value);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Whether the grouped values get a legend of their own.
    bool LegendVisible() const { return FLegendVisible; }
    void SetLegendVisible(bool value);

    std::function<void()> OnChange;

private:
    void Changed();

    TPieOtherStyle FStyle = poNone;
    double FValue = 0.0;
    std::string FText = "Other";
    TColor FColor = clDefault;
    bool FLegendVisible = false;
};
