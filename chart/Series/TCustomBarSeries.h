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

    TChartPen& BarPen() const { return *BarPen_; }
    TChartBrush& BarBrush() const { return *BarBrush_; }
    TBarSeriesGradient& Gradient() const { return *Gradient_; }

    int BarWidthPercent() const { return BarWidthPercent_; }
    void SetBarWidthPercent(int value);
    TBarStyle BarStyle() const { return BarStyle_; }
    void SetBarStyle(TBarStyle value);
    TMultiBar MultiBar() const { return MultiBar_; }
    void SetMultiBar(TMultiBar value);
    bool UseYOrigin() const { return UseYOrigin_; }
    void SetUseYOrigin(bool value);
    double YOrigin() const { return YOrigin_; }
    void SetYOrigin(double value);
    bool SideMargins() const { return SideMargins_; }
    void SetSideMargins(bool value);
    bool AutoMarkPosition() const { return AutoMarkPosition_; }
    void SetAutoMarkPosition(bool value);
    bool Dark3D() const { return Dark3D_; }
    void SetDark3D(bool value);

    std::function<void(TCustomBarSeries*, int, TBarStyle&)> OnGetBarStyle;

    // Per-repaint layout, readable for tests and the axes.
    int BarWidth() const { return BarWidth_; }
    int NumSeries() const { return NumBars_; }
    int SeriesOrder() const { return BarOrder_; }
    int SlotCount() const { return MaxBarPoints_; }
    const TRect& BarBounds() const { return BarBounds_; }

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
    int CustomBarWidth_ = 0;

private:
    TColor BarBackColor() const;
    // The pixels a mark's box covers on screen, shadow included.
    TRect MarkBox(const TSeriesMarkPosition& position) const;
    static bool Overlap(const TRect& a, const TRect& b);
    void KeepMarkInPanel(TSeriesMarkPosition& position) const;
    bool AnyValueBelowOrigin() const;
    bool AnyValueAboveOrigin() const;

    std::unique_ptr<TChartPen> BarPen_;
    std::unique_ptr<TChartBrush> BarBrush_;
    std::unique_ptr<TBarSeriesGradient> Gradient_;
    int BarWidthPercent_ = 70;
    TBarStyle BarStyle_ = bsRectangle;
    TMultiBar MultiBar_ = mbSide;
    bool UseYOrigin_ = true;
    double YOrigin_ = 0.0;
    bool SideMargins_ = true;
    bool AutoMarkPosition_ = true;
    bool Dark3D_ = true;

    int NumBars_ = 0;
    int BarOrder_ = 1;
    int MaxBarPoints_ = -1;
    int BarWidth_ = 0;
    TRect BarBounds_{};
    TColor BarColor_ = clNone;
    std::vector<TRect> DrawnMarkBoxes_; // of this repaint
    int LastMarkIndex_ = -1;
};
