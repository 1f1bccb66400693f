#pragma once
// Line drawing: the segment into each point, stairs, null points, markers on
// top of both segments, margins for markers, legend symbol and hit test.

#include "chart/ChartEngine/TSeriesPointer.h"
#include "chart/Series/TCustomLineSeries.h"
#include "platform/DrawContext.h"

#include <functional>
#include <memory>

class TCanvas3D;
class TChartHiddenPen;

class TCustomSeries : public TCustomLineSeries {
public:
    TCustomSeries();
    ~TCustomSeries() override;

    TSeriesPointer& Pointer() const { return *Pointer_; }
    TChartHiddenPen& OutLine() const { return *OutLine_; }

    bool ClickableLine() const { return ClickableLine_; }
    void SetClickableLine(bool value);
    bool DrawLine() const { return DrawLine_; }
    void SetDrawLine(bool value);
    bool Stairs() const { return Stairs_; }
    void SetStairs(bool value);

    // Draws long lines one pixel column at a time (first, lowest, highest and last point
    // of each column), which gives the same pixels as every segment; on by default.
    bool DrawReduced() const { return DrawReduced_; }
    void SetDrawReduced(bool value) { DrawReduced_ = value; }
    // With many markers, leaves out a marker that would repaint exactly the pixels of the
    // one just drawn, and markers wholly outside the clipped plotting area; the picture
    // stays the same. On by default.
    bool DrawPointersReduced() const { return DrawPointersReduced_; }
    void SetDrawPointersReduced(bool value) { DrawPointersReduced_ = value; }

    std::function<void(TCustomSeries*, int, int, int)> OnClickPointer; // series, index, X, Y
    std::function<TSeriesPointerStyle(TCustomSeries*, int)> OnGetPointerStyle;

    // --- drawing ---------------------------------------------------------------------
    void DrawAllValues() override;
    void DrawValue(int valueIndex) override;
    void DrawPointer(int x, int y, TColor color, int valueIndex);
    // Pen and brush for one line segment of the given colour.
    void LinePrepareCanvas(TCanvas3D& canvas, TColor color);
    void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;

    void CalcHorizMargins(int& leftMargin, int& rightMargin) override;
    void CalcVerticalMargins(int& topMargin, int& bottomMargin) override;

    void DrawLegendShape(int valueIndex, const TRect& rect) override;

    int Clicked(int x, int y) override;
    bool ClickedPointer(int valueIndex, int px, int py, int x, int y) const;

private:
    void DrawValueReal(int valueIndex);
    void DrawLineTo(int x, int y, TColor color, int valueIndex, bool withMarkers, bool isLast);
    bool CanDrawReduced() const;
    void PreparePointerPass();
    void DrawReducedValues(int first, int last);
    TColor PointerColor(TColor color) const;

    std::unique_ptr<TSeriesPointer> Pointer_;
    std::unique_ptr<TChartHiddenPen> OutLine_;
    bool ClickableLine_ = true;
    bool DrawLine_ = true;
    bool Stairs_ = false;
    bool DrawReduced_ = true;
    bool DrawPointersReduced_ = true;

    // Drawing state between consecutive points of one pass.
    int PrevX_ = 0;
    int PrevY_ = 0;
    int PrevIndex_ = -1;
    TColor PrevColor_ = clNone;
    bool HasDrawn_ = false;
    bool OutlinePass_ = false;

    // Marker reduction for the pass in progress (see PreparePointerPass).
    bool SkipRepeatedPointers_ = false;
    bool CullPointers_ = false;
    TRect PointerCullRect_{};
    // The last marker drawn, valid while nothing else has been painted after it.
    bool HasLastPointer_ = false;
    int LastPointerX_ = 0;
    int LastPointerY_ = 0;
    TColor LastPointerColor_ = clNone;
    TSeriesPointerStyle LastPointerStyle_ = psNothing;
};
