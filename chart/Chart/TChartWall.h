#pragma once
// One wall of the plotting area (back, left, bottom, right).

#include "chart/StoreChanged.h"
#include "platform/GraphicsTypes.h"

#include <memory>

class TCustomChartPanel;
class TChartBrush;
class TChartPen;
class TChartGradient;

class TChartWall {
public:
    TChartWall(TCustomChartPanel* chart, TColor color, bool transparent, bool visible);
    ~TChartWall();

    TChartWall(const TChartWall&) = delete;
    TChartWall& operator=(const TChartWall&) = delete;

    TChartBrush& Brush() const { return *Brush_; }
    TChartPen& Pen() const { return *Pen_; }
    TChartGradient& Gradient() const { return *Gradient_; }

    TColor Color() const { return Color_; }
    void SetColor(TColor value) {
        if (StoreChanged(Color_, value))
            Repaint();
    }
    bool Dark3D() const { return Dark3D_; }
    void SetDark3D(bool value) {
        if (StoreChanged(Dark3D_, value))
            Repaint();
    }
    int Size() const { return Size_; }
    void SetSize(int value) {
        if (StoreChanged(Size_, value))
            Repaint();
    }
    int Transparency() const { return Transparency_; }
    void SetTransparency(int value) {
        if (StoreChanged(Transparency_, value))
            Repaint();
    }
    bool Transparent() const { return Transparent_; }
    void SetTransparent(bool value) {
        if (StoreChanged(Transparent_, value))
            Repaint();
    }
    bool Visible() const { return Visible_; }
    void SetVisible(bool value) {
        if (StoreChanged(Visible_, value))
            Repaint();
    }

private:
    void Repaint() const;

    TCustomChartPanel* Chart_;
    TColor Color_;
    bool Dark3D_ = true;
    int Size_ = 0;
    int Transparency_ = 0;
    bool Transparent_;
    bool Visible_;
    std::unique_ptr<TChartBrush> Brush_;
    std::unique_ptr<TChartPen> Pen_;
    std::unique_ptr<TChartGradient> Gradient_;
};
