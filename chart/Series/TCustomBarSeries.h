#pragma once
// Bars: slot and width from the point count, position on the category axis, origin,
// bar styles, gradient fill, marks over bars, legend symbol and hit test.

#include "chart/ChartEngine/TChartSeries.h"
#include "platform/DrawContext.h"

#include <functional>
#include <memory>
#include <vector>

class TBarSeriesGradient;
class TChartBrush;
class TChartPen;

enum TBarStyle {
    bsRectangle,
    bsPyramid,
    bsInvPyramid,
    bsCilinder,
    bsEllipse,
    bsArrow,
    bsRectGradient,
    bsCone,
    bsBevel
};

// How several bar series share a category slot: overlapping, or side by side.
enum TMultiBar { mbNone, mbSide };

class TCustomBarSeries : public TChartSeries {
public:
    TCustomBarSeries();
    ~TCustomBarSeries() override;

    TChartPen& BarPen() const { return *FBarPen; }
    TChartBrush& BarBrush() const { return *FBarBrush; }
    TBarSeriesGradient& Gradient() const { return *FGradient; }

    int BarWidthPercent() const { return FBarWidthPercent; }
    void SetBarWidthPercent(int value);
    TBarStyle BarStyle() const { return FBarStyle; }
    void SetBarStyle(TBarStyle value);
    TMultiBar MultiBar() const { return FMultiBar; }
    void SetMultiBar(TMultiBar value);
    bool UseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool value);
    double YOrigin() const { return FYOrigin; }
    void SetYOrigin(double value);
    bool SideMargins() const { return FSideMargins; }
    void SetSideMargins(bool value);
    bool AutoMarkPosition() const { return FAutoMarkPosition; }
    void SetAutoMarkPosition(bool value);
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool value);
    int BevelSize() const { return FBevelSize; }

    std::function<void(TCustomBarSeries*, int, TBarStyle&)> OnGetBarStyle;

    // Per-repaint layout, readable for tests and the axes.
    int BarWidth() const { return FBarWidth; }
    int NumSeries() const { return FNumBars; }
    int SeriesOrder() const { return FBarOrder; }
    int SlotCount() const { return FMaxBarPoints; }
    const TRect& BarBounds() const { return FBarBounds; }

    int AddBar(double value, const std::string& label = "", TColor color = clDefault);

    // --- per repaint -----------------------------------------------------------------
    void DoBeforeDrawChart() override;
    void CalcHorizMargins(int& leftMargin, int& rightMargin) override;
    void CalcVerticalMargins(int& topMargin, int& bottomMargin) override;
    // Recomputes the bar width from the category axis (also done by the margins pass).
    void CalcBarWidth();
    int CalcMarkLength();

    int CalcXPos(int valueIndex) const override;
    int CalcYPos(int valueIndex) const override;
    int GetOriginPos(int valueIndex) const;

    double MinYValue() const override;
    double MaxYValue() const override;

    void DrawValue(int valueIndex) override;
    virtual void DrawBar(int valueIndex, int startPos, int endPos);
    void BarRectangle(TColor color, int left, int top, int right, int bottom);
    void BarGradient(int valueIndex, const TRect& rect);
    void SetPenBrushBar(TColor color);
    TBarStyle GetBarStyle(int valueIndex);
    void DoBeforeDrawValues() override;
    // Over the bar, kept inside the chart's panel, and skipped when it would
    // overlap a mark already drawn (dense runs would bury the chart in boxes).
    void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;

    void PrepareLegendCanvas(int valueIndex, TColor& backColor) override;
    void DrawLegendShape(int valueIndex, const TRect& rect) override;

    int Clicked(int x, int y) override;
    bool InternalClicked(int valueIndex, const TPoint& point) const;

protected:
    // The custom bar width in pixels (TBarSeries publishes it); 0 means computed.
    int FCustomBarWidth = 0;

private:
    TColor BarBackColor() const;
    // The pixels a mark's box covers on screen, shadow included.
    TRect MarkBox(const TSeriesMarkPosition& position) const;
    static bool Overlap(const TRect& a, const TRect& b);
    void KeepMarkInPanel(TSeriesMarkPosition& position) const;
    bool AnyValueBelowOrigin() const;
    bool AnyValueAboveOrigin() const;

    std::unique_ptr<TChartPen> FBarPen;
    std::unique_ptr<TChartBrush> FBarBrush;
    std::unique_ptr<TBarSeriesGradient> FGradient;
    int FBarWidthPercent = 70;
    TBarStyle FBarStyle = bsRectangle;
    TMultiBar FMultiBar = mbSide;
    bool FUseYOrigin = true;
    double FYOrigin = 0.0;
    bool FSideMargins = true;
    bool FAutoMarkPosition = true;
    bool FDark3D = true;
    int FBevelSize = 1;

    int FNumBars = 0;
    int FBarOrder = 1;
    int FMaxBarPoints = -1;
    int FBarWidth = 0;
    TRect FBarBounds{};
    TColor FBarColor = clNone;
    std::vector<TRect> FDrawnMarkBoxes; // of this repaint
    int FLastMarkIndex = -1;
};
