#pragma once
// A drop shadow: drawn only with a colour and a non-zero size; translucent
// through a blend when Transparency (percent) is set.

#include "platform/GraphicsTypes.h"

#include <functional>
#include <memory>

class TCanvas3D;
class TChartBlend;

class TChartShadow {
public:
    TChartShadow();
    explicit TChartShadow(std::function<void()> onChange);
    virtual ~TChartShadow();
    TChartShadow(const TChartShadow&) = delete;
    TChartShadow& operator=(const TChartShadow&) = delete;

    TColor Color() const { return Color_; }
    int HorizSize() const { return HorizSize_; }
    int VertSize() const { return VertSize_; }
    int Transparency() const { return Transparency_; }
    // The larger of the two sizes.
    int Size() const;

    void SetColor(TColor value);
    void SetHorizSize(int value);
    void SetVertSize(int value);
    void SetTransparency(int value);
    // Sets both sizes.
    void SetSize(int value);
    virtual void Assign(const TChartShadow& source);

    // Whether there is anything to draw (colour set and a size not 0).
    bool Visible() const;

    // Solid brush of the shadow colour, clear pen, and a blend over the
    // moved rectangle (projected at Z) when translucent. False: draw nothing.
    bool PrepareCanvas(TCanvas3D& canvas, const TRect& rect, int z = 0);
    // The strips under and right of Rect.
    void Draw(TCanvas3D& canvas, const TRect& rect);
    // An ellipse of Rect moved by the sizes, at depth Z.
    void DrawEllipse(TCanvas3D& canvas, const TRect& rect, int z = 0);
    // Ends the blend begun by PrepareCanvas, if any.
    void FinishBlending(TCanvas3D& canvas);

    std::function<void()> OnChange;

protected:
    void Changed();
    TColor Color_ = clSilver;
    int HorizSize_ = 0;
    int VertSize_ = 0;
    int Transparency_ = 0;

private:
    std::unique_ptr<TChartBlend> Blend_;
};
