#pragma once
// A colour gradient of a chart element (backgrounds, bars, marks, text).

#include "chart/StoreChanged.h"
#include "platform/GraphicsTypes.h"

#include <functional>

class TChartCanvas;
class TCanvas3D;

enum TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft,
    gdRadial
};

class TCustomChartGradient {
public:
    TCustomChartGradient() = default;
    explicit TCustomChartGradient(std::function<void()> onChange) : OnChange(std::move(onChange)) {}
    virtual ~TCustomChartGradient() = default;
    TCustomChartGradient(const TCustomChartGradient&) = delete;
    TCustomChartGradient& operator=(const TCustomChartGradient&) = delete;

    int Balance() const { return Balance_; }
    TGradientDirection Direction() const { return Direction_; }
    TColor StartColor() const { return StartColor_; }
    TColor EndColor() const { return EndColor_; }
    // clNone until set.
    TColor MidColor() const { return MidColorSet_ ? MidColor_ : clNone; }
    int RadialX() const { return RadialX_; }
    int RadialY() const { return RadialY_; }
    bool Visible() const { return Visible_; }

    void SetBalance(int value) {
        if (StoreChanged(Balance_, value))
            Changed();
    }
    void SetDirection(TGradientDirection value) {
        if (StoreChanged(Direction_, value))
            Changed();
    }
    void SetStartColor(TColor value) {
        if (StoreChanged(StartColor_, value))
            Changed();
    }
    void SetEndColor(TColor value) {
        if (StoreChanged(EndColor_, value))
            Changed();
    }
    void SetMidColor(TColor value);
    void SetRadialX(int value) {
        if (StoreChanged(RadialX_, value))
            Changed();
    }
    void SetRadialY(int value) {
        if (StoreChanged(RadialY_, value))
            Changed();
    }
    void SetVisible(bool value) {
        if (StoreChanged(Visible_, value))
            Changed();
    }
    virtual void Assign(const TCustomChartGradient& source);

    // Fills Rect; a positive RoundCorner clips to a round rectangle meanwhile.
    void Draw(TChartCanvas& canvas, const TRect& rect, int roundCorner = 0);
    // Fills the quadrilateral P (four screen points).
    void Draw(TChartCanvas& canvas, const TPoint* p);
    // Fills the quadrilateral P projected at depth Z.
    void Draw(TCanvas3D& canvas, const TPoint* p, int z);
    void DrawRadial(TChartCanvas& canvas, const TRect& rect);

    std::function<void()> OnChange;

protected:
    void Changed();
    int Balance_ = 50;
    TGradientDirection Direction_ = gdTopBottom;
    TColor StartColor_ = clWhite;
    TColor EndColor_ = clYellow;
    TColor MidColor_ = clNone;
    bool MidColorSet_ = false;
    int RadialX_ = 0;
    int RadialY_ = 0;
    bool Visible_ = false;
};
