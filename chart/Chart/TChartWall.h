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
    void SetColor(TColor value) { SetAndRepaint(Color_, value); }
    bool Dark3D() const { return Dark3D_; }
    void SetDark3D(bool value) { SetAndRepaint(Dark3D_, value); }
    int Size() const { return Size_; }
    void SetSize(int value) { SetAndRepaint(Size_, value); }
    int Transparency() const { return Transparency_; }
    void SetTransparency(int value) { SetAndRepaint(Transparency_, value); }
    bool Transparent() const { return Transparent_; }
    void SetTransparent(bool value) { SetAndRepaint(Transparent_, value); }
    bool Visible() const { return Visible_; }
    void SetVisible(bool value) { SetAndRepaint(Visible_, value); }

private:
    template <class T> void SetAndRepaint(T& field, const T& value) {
        if (StoreChanged(field, value))
            Repaint();
    }
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
