#pragma once
// A pen of a chart element: the platform pen's colour, width, style and mode
// plus visibility, small dots and end style. A real change calls OnChange.

#include "chart/StoreChanged.h"
#include "platform/DrawContext.h"

#include <functional>

enum TPenEndStyle { esRound, esSquare, esFlat };

class TChartPen {
public:
    TChartPen() = default;
    explicit TChartPen(std::function<void()> onChange) : OnChange(std::move(onChange)) {}
    virtual ~TChartPen() = default;
    TChartPen(const TChartPen&) = delete;
    TChartPen& operator=(const TChartPen&) = delete;

    TColor Color() const { return Color_; }
    int Width() const { return Width_; }
    TPenStyle Style() const { return Style_; }
    TPenMode Mode() const { return Mode_; }
    bool Visible() const { return Visible_; }
    bool SmallDots() const { return SmallDots_; }
    TPenEndStyle EndStyle() const { return EndStyle_; }

    void SetColor(TColor value) {
        if (StoreChanged(Color_, value))
            Changed();
    }
    void SetWidth(int value) {
        if (StoreChanged(Width_, value))
            Changed();
    }
    void SetStyle(TPenStyle value) {
        if (StoreChanged(Style_, value))
            Changed();
    }
    void SetMode(TPenMode value) {
        if (StoreChanged(Mode_, value))
            Changed();
    }
    void SetVisible(bool value) {
        if (StoreChanged(Visible_, value))
            Changed();
    }
    void SetSmallDots(bool value) {
        if (StoreChanged(SmallDots_, value))
            Changed();
    }
    void SetEndStyle(TPenEndStyle value) {
        if (StoreChanged(EndStyle_, value))
            Changed();
    }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Copies every property (one notification per real change).
    virtual void Assign(const TChartPen& source);

    std::function<void()> OnChange;

protected:
    void Changed();
    // For the kinds' defaults, without notification.
    TColor Color_ = clBlack;
    int Width_ = 1;
    TPenStyle Style_ = psSolid;
    TPenMode Mode_ = pmCopy;
    bool Visible_ = true;
    bool SmallDots_ = false;
    TPenEndStyle EndStyle_ = esRound;
};
