#pragma once
// Line (and area) drawing: the segment into each point, stairs, null points, markers on
// top of both segments, margins for markers, legend symbol and hit test.

#include "chart/Series/TCustomLineSeries.h"
#include "chart/Series/TSeriesPointer.h"
#include "platform/DrawContext.h"

#include <functional>
#include <memory>

class TCanvas3D;
class TChartBrush;
class TChartGradient;
class TChartHiddenPen;

enum TCustomSeriesStack { cssNone, cssOverlap, cssStack, cssStack100 };

class TCustomSeries : public TCustomLineSeries {
public:
    TCustomSeries();
    ~TCustomSeries() override;

    TSeriesPointer& Pointer() const { return *FPointer; }
    TChartHiddenPen& OutLine() const { return *FOutLine; }
    TChartBrush& AreaBrush() const { return *FAreaBrush; }
    TChartGradient& Gradient() const { return *FGradient; }

    bool ClickableLine() const { return FClickableLine; }
    void SetClickableLine(bool value);
    bool ColorEachLine() const { return FColorEachLine; }
    void SetColorEachLine(bool value);
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool value);
    bool DrawArea() const { return FDrawArea; }
    bool DrawLine() const { return FDrawLine; }
    void SetDrawLine(bool value);
    bool Stairs() const { return FStairs; }
    void SetStairs(bool value);
    bool InvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool value);
    int LineHeight() const { return FLineHeight; }
    void SetLineHeight(int value);
    TBrushStyle LineBrush() const { return FLineBrush; }
    void SetLineBrush(TBrushStyle value);
    TCustomSeriesStack Stacked() const { return FStacked; }
    void SetStacked(TCustomSeriesStack value);
    int Transparency() const { return FTransparency; }
    void SetTransparency(int value);
    TColor AreaColor() const { return FAreaColor; }
    void SetAreaColor(TColor value);

    // Draws long lines one pixel column at a time (first, lowest, highest and last point
    // of each column), which gives the same pixels as every segment; on by default.
    bool DrawReduced() const { return FDrawReduced; }
    void SetDrawReduced(bool value) { FDrawReduced = value; }
    // With many markers, leaves out a marker that would repaint exactly the pixels of the
    // one just drawn, and markers wholly outside the clipped plotting area; the picture
    // stays the same. On by default.
    bool DrawPointersReduced() const { return FDrawPointersReduced; }
    void SetDrawPointersReduced(bool value) { FDrawPointersReduced = value; }

    std::function<void(TCustomSeries*, int, int, int)> OnClickPointer; // series, index, X, Y
    std::function<TSeriesPointerStyle(TCustomSeries*, int)> OnGetPointerStyle;

    // --- drawing ---------------------------------------------------------------------
    void DrawAllValues() override;
    void DrawValue(int valueIndex) override;
    void DrawPointer(int x, int y, TColor color, int valueIndex);
    // Pen and brush for one line segment of the given colour.
    void LinePrepareCanvas(TCanvas3D& canvas, TColor color);
    void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;

    int CalcXPos(int valueIndex) const override;
    int CalcYPos(int valueIndex) const override;
    // Pixel of the line's origin (the axis end, or the stacked base below a point).
    int GetOriginPos(int valueIndex) const;

    void CalcHorizMargins(int& leftMargin, int& rightMargin) override;
    void CalcVerticalMargins(int& topMargin, int& bottomMargin) override;

    void DrawLegendShape(int valueIndex, const TRect& rect) override;

    int Clicked(int x, int y) override;
    bool ClickedPointer(int valueIndex, int px, int py, int x, int y) const;

protected:
    void SetDrawArea(bool value) { FDrawArea = value; }

private:
    void DrawValueReal(int valueIndex);
    void DrawLineTo(int x, int y, TColor color, int valueIndex, bool withMarkers, bool isLast);
    bool CanDrawReduced() const;
    void PreparePointerPass();
    void DrawReducedValues(int first, int last);
    double StackedValue(int valueIndex) const;
    TColor PointerColor(TColor color) const;

    std::unique_ptr<TSeriesPointer> FPointer;
    std::unique_ptr<TChartHiddenPen> FOutLine;
    std::unique_ptr<TChartBrush> FAreaBrush;
    std::unique_ptr<TChartGradient> FGradient;
    bool FClickableLine = true;
    bool FColorEachLine = true;
    bool FDark3D = true;
    bool FDrawArea = false;
    bool FDrawLine = true;
    bool FStairs = false;
    bool FInvertedStairs = false;
    int FLineHeight = 0;
    TBrushStyle FLineBrush = bsSolid;
    TCustomSeriesStack FStacked = cssNone;
    int FTransparency = 0;
    TColor FAreaColor = clDefault;
    bool FDrawReduced = true;
    bool FDrawPointersReduced = true;

    // Drawing state between consecutive points of one pass.
    int FPrevX = 0;
    int FPrevY = 0;
    int FPrevOrigin = 0;
    int FPrevIndex = -1;
    TColor FPrevColor = clNone;
    int FOriginPos = 0;
    bool FHasDrawn = false;
    bool FOutlinePass = false;

    // Marker reduction for the pass in progress (see PreparePointerPass).
    bool FSkipRepeatedPointers = false;
    bool FCullPointers = false;
    TRect FPointerCullRect{};
    // The last marker drawn, valid while nothing else has been painted after it.
    bool FHasLastPointer = false;
    int FLastPointerX = 0;
    int FLastPointerY = 0;
    TColor FLastPointerColor = clNone;
    TSeriesPointerStyle FLastPointerStyle = psNothing;
};
