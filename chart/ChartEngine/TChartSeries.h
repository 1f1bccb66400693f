#pragma once
// Series base: points in value lists, colours, labels, axes, the per-series repaint steps
// and the virtual operations each series kind overrides.

#include "chart/ChartEngine/ChartEngineTypes.h"
#include "chart/ChartEngine/TCustomChartSeries.h"
#include "chart/ChartEngine/TSeriesMarkPosition.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TChartAxis;
class TChartCanvas3D;
class TChartValueList;
class TSeriesMarks;

class TChartSeries : public TCustomChartSeries {
public:
    TChartSeries();
    ~TChartSeries() override;

    // --- value lists -----------------------------------------------------------------
    TChartValueList& XValues() const { return *XValues_; }
    TChartValueList& YValues() const { return *YValues_; }
    // Every list of this series in creation order: X, Y, then a kind's own lists.
    const std::vector<TChartValueList*>& ValuesList() const { return ValuesList_; }
    // Y for vertical kinds; a horizontally drawn kind swaps to X.
    bool YMandatory() const { return YMandatory_; }
    TChartValueList& MandatoryValueList() const;
    TChartValueList& NotMandatoryValueList() const;
    void RegisterValueList(TChartValueList* list);   // called by TChartValueList
    void UnregisterValueList(TChartValueList* list); // called by TChartValueList

    // --- points ----------------------------------------------------------------------
    // Returns the new point's index, or -1 when OnBeforeAdd refused it.
    int AddXY(double x, double y, const std::string& label = "", TColor color = clDefault);
    // The points (xs[i], ys[i]) without labels, all of one colour: the same as
    // count AddXY calls, made in one pass when nothing needs a look at each point.
    void AddXYs(const std::int32_t* xs, const std::int32_t* ys, int count, TColor color);
    int Add(double value, const std::string& label = "", TColor color = clDefault);
    int AddX(double x, const std::string& label = "", TColor color = clDefault);
    int AddY(double y, const std::string& label = "", TColor color = clDefault);
    // A point whose colour is clNone: drawn by no kind, but it keeps its place.
    int AddNullXY(double x, double y, const std::string& label = "");
    int Count() const;
    // Room for count points in every value list, so a long run of AddXY never
    // copies the lists while they grow. Clear keeps the room.
    void ReservePoints(int count);
    virtual void Clear();
    // Raises ChartException "Series Delete: ValueIndex %d out of bounds (0 to %d).".
    virtual void Delete(int valueIndex);
    virtual void Delete(int start, int quantity, bool renumber = false);
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return UpdateCount_; }
    // Tells listeners the data changed (what the last EndUpdate does).
    void RefreshSeries();
    // Reorders every point by one of this series' lists, following its Order.
    void SortByValueList(const TChartValueList& list);

    // --- colours and labels ----------------------------------------------------------
    TColor SeriesColor() const { return SeriesColor_; }
    virtual void SetSeriesColor(TColor value);
    bool ColorEachPoint() const { return ColorEachPoint_; }
    virtual void SetColorEachPoint(bool value);
    // The point's own colour, else the palette colour with ColorEachPoint, else SeriesColor.
    TColor ValueColor(int valueIndex) const;
    TColor GetValueColor(int valueIndex) const { return ValueColor(valueIndex); }
    void SetValueColor(int valueIndex, TColor color);
    // True when a point carries its own colour.
    bool HasColors() const;
    // What ValueColor gives every point when they share it without looking at
    // each (no per-point list, no ColorEachPoint); nullopt otherwise.
    std::optional<TColor> SharedValueColor() const;
    bool IsNull(int valueIndex) const { return ValueColor(valueIndex) == clNone; }

    std::string XLabel(int valueIndex) const;
    // True when at least one point carries a label slot.
    bool HasLabels() const { return !Labels_.empty(); }
    const std::vector<std::string>& Labels() const { return Labels_; }

    const std::string& ValueFormat() const { return ValueFormat_; }
    const std::string& PercentFormat() const { return PercentFormat_; }

    // --- chart membership and common properties -------------------------------------
    void SetParentChart(TCustomAxisPanel* value) override;
    void SetActive(bool value) override;
    void SetTitle(const std::string& value) override;
    // The series' added and removed steps, run by the chart's series list.
    virtual void Added();
    virtual void Removed();

    // --- axes ------------------------------------------------------------------------
    THorizAxis HorizAxis() const { return HorizAxis_; }
    void SetHorizAxis(THorizAxis value);
    TVertAxis VertAxis() const { return VertAxis_; }
    void SetVertAxis(TVertAxis value);
    TChartAxis* CustomHorizAxis() const { return CustomHorizAxis_; }
    TChartAxis* CustomVertAxis() const { return CustomVertAxis_; }
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;
    // False for kinds drawn without axes (pie).
    virtual bool UseAxis() const { return true; }
    bool AssociatedToAxis(const TChartAxis* axis) const;

    // Value <-> pixel through the series' axes.
    virtual int CalcXPos(int valueIndex) const;
    virtual int CalcYPos(int valueIndex) const;
    int CalcXPosValue(double value) const;
    int CalcYPosValue(double value) const;
    int CalcPosValue(double value) const; // along the mandatory axis

    // Statistics used by the axes for their automatic range.
    virtual double MaxXValue() const;
    virtual double MinXValue() const;
    virtual double MaxYValue() const;
    virtual double MinYValue() const;
    // The plotted value of a point (the mandatory list).
    virtual double GetMarkValue(int valueIndex) const;

    // Pixel room the series asks of its axes; the base asks none.
    virtual void CalcHorizMargins(int& leftMargin, int& rightMargin);
    virtual void CalcVerticalMargins(int& topMargin, int& bottomMargin);

    // --- drawing ---------------------------------------------------------------------
    int Depth() const { return Depth_; }
    void SetDepth(int value);
    int ZOrder() const { return ZOrder_; }
    void SetZOrder(int value) { ZOrder_ = value; }
    // Depth positions, set by the chart's paint pipeline before drawing.
    int StartZ = 0;
    int MiddleZ = 0;
    int EndZ = 0;

    bool CalcVisiblePoints() const { return CalcVisiblePoints_; }
    bool DrawBetweenPoints() const { return DrawBetweenPoints_; }
    int FirstValueIndex() const { return FirstVisibleIndex_; }
    int LastValueIndex() const { return LastVisibleIndex_; }
    void CalcFirstLastVisibleIndex();

    // The whole per-series repaint: visible range, clip, values, marks, events.
    void DrawSeries();
    virtual void DoBeforeDrawChart() {}
    virtual void DoBeforeDrawValues();
    virtual void DrawAllValues();
    virtual void DrawValue(int /*valueIndex*/) {}
    virtual void DoAfterDrawValues();
    void DrawMarks();
    virtual void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position);

    TSeriesMarks& Marks() const { return *Marks_; }
    std::string GetMarkText(int valueIndex);
    // The canvas of the parent chart, or null.
    TChartCanvas3D* ParentCanvas() const;

    // --- legend ----------------------------------------------------------------------
    virtual int CountLegendItems() const { return Count(); }
    virtual int LegendToValueIndex(int legendIndex) const { return legendIndex; }
    virtual TColor LegendItemColor(int legendIndex) const;
    // valueIndex -1 draws the symbol of the whole series.
    virtual void DrawLegendShape(int valueIndex, const TRect& rect);
    // Sets the canvas up for a legend symbol; backColor receives the hatch background.
    virtual void PrepareLegendCanvas(int valueIndex, TColor& backColor);

    // --- hit test --------------------------------------------------------------------
    // Index of the point under (X, Y), else -1. The base finds none.
    virtual int Clicked(int x, int y);

    // --- events ----------------------------------------------------------------------
    std::function<bool(TChartSeries*)> OnBeforeAdd; // false refuses the point
    std::function<void(TChartSeries*, int)> OnAfterAdd;
    std::function<void(TChartSeries*)> OnClearValues;
    std::function<void(TChartSeries*)> BeforeDrawValues;
    std::function<void(TChartSeries*)> AfterDrawValues;
    std::function<void(TChartSeries*, int, std::string&)> OnGetMarkText;
    std::function<void(TChartSeries*, int, int, int)> OnClick; // series, index, X, Y

protected:
    // Called by value lists when a stored value changed.
    friend class TChartValueList;
    virtual void NotifyValue(TChartValueList* list, int valueIndex);
    void BroadcastSeriesEvent(TChartSeriesEvent event);
    void RepaintIfActive() const;
    void SetYMandatory(bool value) { YMandatory_ = value; }
    void SetCalcVisiblePoints(bool value) { CalcVisiblePoints_ = value; }
    void SetDrawBetweenPoints(bool value) { DrawBetweenPoints_ = value; }

    std::unique_ptr<TChartValueList> XValues_;
    std::unique_ptr<TChartValueList> YValues_;

private:
    std::vector<TChartValueList*> ValuesList_;
    bool YMandatory_ = true;
    TColor SeriesColor_ = clDefault;
    bool ColorEachPoint_ = false;
    // Either one colour per point, or empty with every point's own colour
    // SameColor_ (clDefault: none).
    std::vector<TColor> Colors_;
    TColor SameColor_ = clDefault;
    std::vector<std::string> Labels_;
    std::string ValueFormat_ = "#,##0.###";
    std::string PercentFormat_ = "##0.## %";
    THorizAxis HorizAxis_ = aBottomAxis;
    TVertAxis VertAxis_ = aLeftAxis;
    TChartAxis* CustomHorizAxis_ = nullptr;
    TChartAxis* CustomVertAxis_ = nullptr;
    int Depth_ = -1;
    int ZOrder_ = 0;
    int UpdateCount_ = 0;
    int FirstVisibleIndex_ = -1;
    int LastVisibleIndex_ = -1;
    bool CalcVisiblePoints_ = true;
    bool DrawBetweenPoints_ = false;
    std::unique_ptr<TSeriesMarks> Marks_;
};
