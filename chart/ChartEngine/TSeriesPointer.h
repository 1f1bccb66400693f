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

    TChartSeries* ParentSeries() const { return FSeries; }
    void SetParentSeries(TChartSeries* series) { FSeries = series; }

    TChartBrush& Brush() const { return *FBrush; }
    TChartPen& Pen() const { return *FPen; }
    TChartGradient& Gradient() const { return *FGradient; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TSeriesPointerStyle Style() const { return FStyle; }
    void SetStyle(TSeriesPointerStyle value);
    int HorizSize() const { return FHorizSize; }
    // Throws ChartException "Pointer size must be greater than zero" for value <= 0.
    void SetHorizSize(int value);
    int VertSize() const { return FVertSize; }
    void SetVertSize(int value);
    bool InflateMargins() const { return FInflateMargins; }
    void SetInflateMargins(bool value);
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool value);
    bool Draw3D() const { return FDraw3D; }

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
    TChartSeries* FSeries = nullptr;
    std::unique_ptr<TChartBrush> FBrush;
    std::unique_ptr<TChartPen> FPen;
    std::unique_ptr<TChartGradient> FGradient;
    bool FVisible = true;
    TSeriesPointerStyle FStyle = psRectangle;
    int FHorizSize = 4;
    int FVertSize = 4;
    bool FInflateMargins = true;
    bool FDark3D = true;
    bool FDraw3D = true;
};
