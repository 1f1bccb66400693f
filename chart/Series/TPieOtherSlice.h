#pragma once
// Grouping of small pie slices into one "Other" slice.

#include "platform/GraphicsTypes.h"

#include <functional>
#include <string>

enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };

class TPieOtherSlice {
public:
    explicit TPieOtherSlice(std::function<void()> onChange = {});

    TPieOtherStyle Style() const { return Style_; }
    void SetStyle(TPieOtherStyle value);
    double Value() const { return Value_; }
    void SetValue(double value);
    const std::string& Text() const { return Text_; }
    void SetText(const std::string& value);
    TColor Color() const { return Color_; }
    void SetColor(TColor value);
    // Whether the grouped values get a legend of their own.
    bool LegendVisible() const { return LegendVisible_; }
    void SetLegendVisible(bool value);

    std::function<void()> OnChange;

private:
    void Changed();

    TPieOtherStyle Style_ = poNone;
    double Value_ = 0.0;
    std::string Text_ = "Other";
    TColor Color_ = clDefault;
    bool LegendVisible_ = false;
};
