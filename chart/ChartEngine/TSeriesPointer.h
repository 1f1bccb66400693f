#pragma once
// The point marker a line series (and a marks callout) draws at its points.

#include "platform/GraphicsTypes.h"

#include <memory>

class TCanvas3D;
class TChartBrush;
class TChartGradient;
class TChartPen;
class TChartSeries;

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot,
    psNothing,
    psLeftTriangle,
    psRightTriangle
};

class TSeriesPointer {
public:
    // The series gives the depth values, the chart and the repaint path; it may be null.
    explicit TSeriesPointer(TChartSeries* series);
    virtual ~TSeriesPointer();
    TSeriesPointer(const TSeriesPointer&) = delete;
    TSeriesPointer& operator=(const TSeriesPointer&) = delete;

    TChartSeries* ParentSeries() const { return Series_; }
    void SetParentSeries(TChartSeries* series) { Series_ = series; }

    TChartBrush& Brush() const { return *Brush_; }
    TChartPen& Pen() const { return *Pen_; }
    TChartGradient& Gradient() const { return *Gradient_; }

    bool Visible() const { return Visible_; }
    void SetVisible(bool value);
    TSeriesPointerStyle Style() const { return Style_; }
    void SetStyle(TSeriesPointerStyle value);
    int HorizSize() const { return HorizSize_; }
    // Throws ChartException "Pointer size must be greater than zero" for value <= 0.
    void SetHorizSize(int value);
    int VertSize() const { return VertSize_; }
    void SetVertSize(int value);
    bool InflateMargins() const { return InflateMargins_; }
    void SetInflateMargins(bool value);
    bool Dark3D() const { return Dark3D_; }
    void SetDark3D(bool value);
    bool Draw3D() const { return Draw3D_; }

    // Pen and brush for a marker of the given point colour.
    void PrepareCanvas(TCanvas3D& canvas, TColor color) const;
    // Draws on the series' chart canvas, projected at the series' start depth in 3D.
    void Draw(int x, int y, TColor color, TSeriesPointerStyle style) const;
    // Draws the shape only; the canvas must already be prepared.
    void DrawPointer(TCanvas3D& canvas, bool is3D, int x, int y, int horizSize, int vertSize,
                     TColor color, TSeriesPointerStyle style) const;

    // Asks the series' chart to repaint (nothing without a chart).
    void Repaint() const;

protected:
    TChartSeries* Series_ = nullptr;
    std::unique_ptr<TChartBrush> Brush_;
    std::unique_ptr<TChartPen> Pen_;
    std::unique_ptr<TChartGradient> Gradient_;
    bool Visible_ = true;
    TSeriesPointerStyle Style_ = psRectangle;
    int HorizSize_ = 4;
    int VertSize_ = 4;
    bool InflateMargins_ = true;
    bool Dark3D_ = true;
    bool Draw3D_ = true;
};
