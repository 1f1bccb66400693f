#pragma once
// A framed box drawn by the shared shape rule: shadow, body (gradient or
// brush colour), frame, bevel; nothing at all when transparent. Titles, the
// legend and series marks are shapes.

#include "chart/ChartPanel/ChartPanelTypes.h"
#include "chart/StoreChanged.h"
#include "platform/GraphicsTypes.h"

#include <memory>

class TCustomChartPanel;
class TChartCanvas3D;
class TChartBrush;
class TChartPen;
class TChartFont;
class TChartShadow;
class TChartGradient;

class TChartCustomShape {
public:
    explicit TChartCustomShape(TCustomChartPanel* parentChart);
    virtual ~TChartCustomShape();

    TChartCustomShape(const TChartCustomShape&) = delete;
    TChartCustomShape& operator=(const TChartCustomShape&) = delete;

    TCustomChartPanel* ParentChart() const { return ParentChart_; }
    void SetParentChart(TCustomChartPanel* chart) { ParentChart_ = chart; }

    bool Visible() const { return Visible_; }
    void SetVisible(bool value) {
        if (StoreChanged(Visible_, value))
            Repaint();
    }
    bool Transparent() const { return Transparent_; }
    void SetTransparent(bool value) {
        if (StoreChanged(Transparent_, value))
            Repaint();
    }
    // Percent, 0 = opaque.
    int Transparency() const { return Transparency_; }
    void SetTransparency(int value) {
        if (StoreChanged(Transparency_, value))
            Repaint();
    }
    TColor Color() const { return Color_; }
    void SetColor(TColor value) {
        if (StoreChanged(Color_, value))
            Repaint();
    }
    TPanelBevel Bevel() const { return Bevel_; }
    void SetBevel(TPanelBevel value) {
        if (StoreChanged(Bevel_, value))
            Repaint();
    }
    int BevelWidth() const { return BevelWidth_; }
    void SetBevelWidth(int value) {
        if (StoreChanged(BevelWidth_, value))
            Repaint();
    }
    TChartFrameShapeStyle ShapeStyle() const { return ShapeStyle_; }
    void SetShapeStyle(TChartFrameShapeStyle value) {
        if (StoreChanged(ShapeStyle_, value))
            Repaint();
    }

    TChartBrush& Brush() const { return *Brush_; }
    TChartPen& Frame() const { return *Frame_; }
    TChartFont& Font() const { return *Font_; }
    TChartShadow& Shadow() const { return *Shadow_; }
    TChartGradient& Gradient() const { return *Gradient_; }

    // The box last drawn (or to be drawn).
    TRect ShapeBounds{};

    // Draws the box over rect by the shape rule.
    void DrawShape(TChartCanvas3D& canvas, const TRect& rect) const;

    // Asks the owning chart for a repaint.
    void Repaint() const;

private:
    void DrawBody(TChartCanvas3D& canvas, const TRect& rect) const;

    TCustomChartPanel* ParentChart_;
    bool Visible_ = true;
    bool Transparent_ = false;
    int Transparency_ = 0;
    TColor Color_ = clWhite;
    TPanelBevel Bevel_ = bvNone;
    int BevelWidth_ = 2;
    TChartFrameShapeStyle ShapeStyle_ = fosRectangle;
    std::unique_ptr<TChartBrush> Brush_;
    std::unique_ptr<TChartPen> Frame_;
    std::unique_ptr<TChartFont> Font_;
    std::unique_ptr<TChartShadow> Shadow_;
    std::unique_ptr<TChartGradient> Gradient_;
};
