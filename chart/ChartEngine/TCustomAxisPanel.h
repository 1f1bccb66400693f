#pragma once
// Third layer of the chart control: the series list, the five standard axes,
// the axis and clipping switches and the paint pipeline.

#include "chart/ChartEngine/ChartEngineTypes.h"
#include "chart/ChartPanel/TCustomChartPanelExtended.h"
#include "chart/StoreChanged.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartAxis;
class TChartSeries;

class TCustomAxisPanel : public TCustomChartPanelExtended {
public:
    explicit TCustomAxisPanel(QWidget* parent);
    // Destroys every series still in the list.
    ~TCustomAxisPanel() override;

    // --- series list (insertion order = drawing and legend order) ----------------
    // Sets the series' parent chart to this chart.
    void AddSeries(TChartSeries* series);
    // Called by a series joining this chart: appends it (once), runs its added
    // step, broadcasts seAdd and repaints.
    void InternalAddSeries(TChartSeries* series);
    // Broadcasts seRemove, runs the removed step, drops it and repaints; the
    // series is not destroyed.
    void RemoveSeries(TChartSeries* series);
    void RemoveAllSeries();
    int SeriesCount() const { return static_cast<int>(SeriesList_.size()); }
    TChartSeries* Series(int index) const { return SeriesList_[static_cast<std::size_t>(index)]; }
    TChartSeries* GetSeries(int index) const { return Series(index); }
    const std::vector<TChartSeries*>& SeriesList() const { return SeriesList_; }
    int CountActiveSeries() const;
    bool IsSeriesInList(const TChartSeries* series) const;
    // First palette colour no series uses and unlike the panel and back colours.
    TColor GetFreeSeriesColor(bool checkBackground = true) const;
    TColor FreeSeriesColor() const { return GetFreeSeriesColor(true); }
    void BroadcastSeriesEvent(TChartSeriesEvent event, TChartSeries* series);
    // Legend row text of a point (marks in legend style); "" without a legend.
    virtual std::string FormattedValueLegend(TChartSeries* series, int valueIndex) const;
    // True while the destructor runs (series then skip their repaints).
    bool IsDestroying() const { return Destroying_; }

    // --- axes ------------------------------------------------------------------
    TChartAxis& LeftAxis() const { return *LeftAxis_; }
    TChartAxis& RightAxis() const { return *RightAxis_; }
    TChartAxis& TopAxis() const { return *TopAxis_; }
    TChartAxis& BottomAxis() const { return *BottomAxis_; }
    TChartAxis& DepthAxis() const { return *DepthAxis_; }
    // Bottom, top, left, right, depth: the layout and drawing order.
    const std::vector<TChartAxis*>& AxesList() const { return AxesList_; }
    bool IsAxisVisible(const TChartAxis& axis) const;

    bool AxisVisible() const { return AxisVisible_; }
    void SetAxisVisible(bool value) {
        if (StoreChanged(AxisVisible_, value))
            Invalidate();
    }
    bool AxisBehind() const { return AxisBehind_; }
    void SetAxisBehind(bool value) {
        if (StoreChanged(AxisBehind_, value))
            Invalidate();
    }
    bool View3DWalls() const { return View3DWalls_; }
    void SetView3DWalls(bool value) {
        if (StoreChanged(View3DWalls_, value))
            Invalidate();
    }
    bool ClipPoints() const { return ClipPoints_; }
    void SetClipPoints(bool value) {
        if (StoreChanged(ClipPoints_, value))
            Invalidate();
    }

    // --- state of the current paint -------------------------------------------
    // The 3D view is seen from behind (axes draw on the other side).
    bool IsViewedFromBehind() const { return ViewedFromBehind_; }
    // Whether the canvas can clip series to the chart rectangle.
    bool CanClip() const;
    // At least one active series uses axes, or no series is active.
    bool ActiveSeriesUseAxis() const;
    // Highest z-order of the active series (0 in 2D).
    int MaxZOrder() const { return MaxZOrder_; }
    // Colour behind the series: the back wall's in the upper layer.
    virtual TColor BackColor() const { return Color(); }
    // Colour actually seen behind the plotting area: the upper layer's back
    // wall when it is opaque, else the panel.
    virtual TColor PlotAreaColor() const { return Color(); }
    // Pen that outlines every legend symbol, or null when each series uses its
    // own; the legend lives in the upper layer.
    virtual const TChartPen* LegendSymbolPen() const { return nullptr; }

    // --- events (the program sets none) ----------------------------------------
    std::function<void()> OnBeforeDrawChart;
    std::function<void()> OnBeforeDrawAxes;
    std::function<void()> OnBeforeDrawSeries;
    std::function<void()> OnAfterDraw;

protected:
    // The paint pipeline in its fixed order.
    void InternalDraw(const TRect& userRect) override;

    // Steps the chart layer fills in (titles, legend, walls, zoom band).
    virtual void DrawTitlesAndLegend(bool beforeSeries) { (void)beforeSeries; }
    virtual void DrawWalls() {}
    // Room for 3D walls taken from the chart rectangle (orthogonal 3D).
    virtual void CalcWallsRect();
    virtual void DrawZoomRectangleIfActive() {}

    void DrawAxes();
    void CalcAxisRect();
    void CalcSeriesRect();
    void SetSeriesZOrder();

private:
    void DrawSeriesList();
    void LayOut();

    std::vector<TChartSeries*> SeriesList_;
    std::unique_ptr<TChartAxis> BottomAxis_;
    std::unique_ptr<TChartAxis> TopAxis_;
    std::unique_ptr<TChartAxis> LeftAxis_;
    std::unique_ptr<TChartAxis> RightAxis_;
    std::unique_ptr<TChartAxis> DepthAxis_;
    std::vector<TChartAxis*> AxesList_;
    bool AxisVisible_ = true;
    bool AxisBehind_ = true;
    bool View3DWalls_ = true;
    bool ClipPoints_ = true;
    bool ViewedFromBehind_ = false;
    bool Destroying_ = false;
    int MaxZOrder_ = 0;
    std::vector<int> SeriesSlots_;
};
