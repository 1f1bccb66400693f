#pragma once
// Fourth layer of the chart control: titles, walls, legend, and the mouse
// zoom, undo, panning and wheel.

#include "chart/ChartEngine/TCustomAxisPanel.h"

#include <functional>
#include <memory>
#include <vector>

class TChartTitle;
class TChartWall;
class TChartLegend;
class TChartPen;

enum TChartClickedPartStyle {
    cpNone,
    cpLegend,
    cpAxis,
    cpSeries,
    cpTitle,
    cpFoot,
    cpChartRect,
    cpSeriesMarks,
    cpSubTitle,
    cpSubFoot
};

struct TChartClickedPart {
    TChartClickedPartStyle Part = cpNone;
    int PointIndex = -1;
    TChartSeries* ASeries = nullptr;
    TChartAxis* AAxis = nullptr;
};

// The scales of one axis saved before the first zoom or pan.
struct TAxisSavedScales {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0;
    double Maximum = 0;
};

// Chart-wide mouse settings.
extern double AnimatedZoomFactor;       // 3.0
extern TShiftState ChartScrollKeyShift; // empty
extern bool ChartUseMouseWheel;         // true
// Pixels an axis click area reaches past the axis line into the plot.
constexpr int ChartAxisClickGap = 3;

class TCustomChart : public TCustomAxisPanel {
public:
    explicit TCustomChart(QWidget* parent);
    ~TCustomChart() override;

    TChartTitle& Title() const { return *Title_; }
    TChartTitle& SubTitle() const { return *SubTitle_; }
    TChartTitle& Foot() const { return *Foot_; }
    TChartTitle& SubFoot() const { return *SubFoot_; }
    TChartWall& BackWall() const { return *BackWall_; }
    TChartWall& LeftWall() const { return *LeftWall_; }
    TChartWall& BottomWall() const { return *BottomWall_; }
    TChartWall& RightWall() const { return *RightWall_; }
    TChartLegend& Legend() const { return *Legend_; }
    // The back wall's pen: the frame round the plotting area.
    TChartPen& Frame() const;
    TColor BackColor() const override;
    TColor PlotAreaColor() const override;
    const TChartPen* LegendSymbolPen() const override;
    std::string FormattedValueLegend(TChartSeries* series, int valueIndex) const override;

    TMouseButton ScrollMouseButton() const { return ScrollMouseButton_; }
    void SetScrollMouseButton(TMouseButton value) { ScrollMouseButton_ = value; }

    // --- zoom and scroll -------------------------------------------------------
    // Zooms to the pixel rectangle (animated when Zoom().Animated()).
    void ZoomRect(const TRect& rect);
    // Restores the scales saved before the first zoom or pan.
    void UndoZoom();
    // Narrows (> 100) or widens (< 100) every side axis about its range.
    void ZoomPercent(double percent);
    bool Zoomed() const { return Zoomed_; }
    // True while no scales are saved.
    bool RestoredAxisScales() const { return RestoredAxisScales_; }
    const std::vector<TAxisSavedScales>& SavedScales() const { return SavedScales_; }
    // A range the program gives an axis while a zoom or pan holds: an undo
    // returns that axis to it instead of to the range before the zoom.
    void SetSavedRange(const TChartAxis& axis, double minimum, double maximum);
    // The last rectangle passed to ZoomRect.
    TRect ZoomRectangle() const { return ZoomRect_; }

    // The part of the chart under (x, y), tested in the fixed order.
    TChartClickedPart CalcClickedPart(int x, int y, bool forMousePress = true) const;
    // The rubber band in not-xor mode (twice restores the picture), drawn
    // into the buffered image between paints.
    void DrawZoomRectangle();

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseWheel(int delta, TShiftState shift, int x, int y) override;
    void MouseLeave() override;

    // --- events (the program sets none) ----------------------------------------
    std::function<void()> OnZoom;
    std::function<void()> OnUndoZoom;
    std::function<void()> OnScroll;
    // May change the new range or veto (allow = false).
    std::function<void(TChartAxis&, double& minimum, double& maximum, bool& allow)> OnAllowScroll;
    std::function<void(int itemIndex, std::string& text)> OnGetLegendText;
    std::function<void(TRect& rect)> OnGetLegendRect;
    std::function<void(int itemIndex, int& x, int& y)> OnGetLegendPos;

protected:
    void DrawTitlesAndLegend(bool beforeSeries) override;
    void DrawWalls() override;
    void CalcWallsRect() override;
    void DrawZoomRectangleIfActive() override;

private:
    // The band on the canvas's current context.
    void DrawZoomBand();
    void SaveScales();
    void RestoreScales();
    void DrawBackWall();
    void PrepareWallCanvas(const TChartWall& wall);
    bool DragAllowed() const;

    std::unique_ptr<TChartTitle> Title_;
    std::unique_ptr<TChartTitle> SubTitle_;
    std::unique_ptr<TChartTitle> Foot_;
    std::unique_ptr<TChartTitle> SubFoot_;
    std::unique_ptr<TChartWall> BackWall_;
    std::unique_ptr<TChartWall> LeftWall_;
    std::unique_ptr<TChartWall> BottomWall_;
    std::unique_ptr<TChartWall> RightWall_;
    std::unique_ptr<TChartLegend> Legend_;
    TMouseButton ScrollMouseButton_ = mbRight;
    bool Zoomed_ = false;
    bool RestoredAxisScales_ = true;
    std::vector<TAxisSavedScales> SavedScales_;
    TRect ZoomRect_{};
    int PanPrevX_ = 0;
    int PanPrevY_ = 0;
};
