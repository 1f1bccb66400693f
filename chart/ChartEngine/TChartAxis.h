#pragma once
// One axis of a chart: its range (automatic or fixed), value <-> pixel mapping, the room
// it takes in the layout, the label step, and the drawing of labels, ticks, grid and title.

#include "chart/ChartEngine/ChartEngineTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCustomAxisPanel;
class TChartAxisTitle;
class TChartFont;
class TChartPen;
class TChartSeries;

class TChartAxis {
public:
    // horizontal: orientation; the chart sets OtherSide, depth and title angle after creation.
    TChartAxis(TCustomAxisPanel* chart, bool horizontal);
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;
    ~TChartAxis();

    TCustomAxisPanel* ParentChart() const { return Chart_; }

    // --- range -----------------------------------------------------------------------
    bool Automatic() const { return Automatic_; }
    void SetAutomatic(bool value);
    bool AutomaticMinimum() const { return AutomaticMinimum_; }
    void SetAutomaticMinimum(bool value);
    bool AutomaticMaximum() const { return AutomaticMaximum_; }
    void SetAutomaticMaximum(bool value);
    double Minimum() const { return Minimum_; }
    // Raises "Axis Minimum Value must be <= Maximum" and keeps the old value.
    void SetMinimum(double value);
    double Maximum() const { return Maximum_; }
    // Raises "Axis Maximum Value must be >= Minimum" and keeps the old value.
    void SetMaximum(double value);
    // Fixes both ends (turns the automatic flags off); swaps reversed ends and keeps a
    // range of at least MinAxisRange.
    void SetMinMax(double minimum, double maximum);
    double Increment() const { return Increment_; }
    // Raises "Axis increment must be >= 0".
    void SetIncrement(double value);
    int MinimumOffset() const { return MinimumOffset_; }
    int MaximumOffset() const { return MaximumOffset_; }
    bool Inverted() const { return Inverted_; }
    void SetInverted(bool value);
    // Adds offset to both ends (turning automatic off); with checkLimits refuses to move
    // past the data. Returns whether it scrolled.
    bool Scroll(double offset, bool checkLimits);

    // --- orientation and placement ---------------------------------------------------
    bool Horizontal() const { return Horizontal_; }
    bool OtherSide() const { return OtherSide_; }
    void SetOtherSide(bool value);
    bool IsDepthAxis() const { return IsDepthAxis_; }
    void SetIsDepthAxis(bool value) { IsDepthAxis_ = value; }
    double ZPosition() const { return ZPosition_; }
    void SetZPosition(double value);
    double GridZPosition() const { return GridZPosition_; }
    void SetGridZPosition(double value);
    double StartPosition() const { return StartPosition_; }
    double EndPosition() const { return EndPosition_; }
    double PositionPercent() const { return PositionPercent_; }
    TMarginUnits PositionUnits() const { return PositionUnits_; }
    bool Visible() const { return Visible_; }
    void SetVisible(bool value);

    // --- labels ----------------------------------------------------------------------
    bool Labels() const { return Labels_; }
    TAxisLabelStyle LabelStyle() const { return LabelStyle_; }
    TChartFont& LabelsFont() const { return *LabelsFont_; }
    int LabelsAngle() const { return LabelsAngle_; }
    int LabelsSeparation() const { return LabelsSeparation_; }
    // Raises "Labels Separation % must be greater than 0" for negative values.
    void SetLabelsSeparation(int value);
    int LabelsSize() const { return LabelsSize_; }
    int TitleSize() const { return TitleSize_; }
    bool LabelsOnAxis() const { return LabelsOnAxis_; }
    TAxisLabelAlign LabelsAlign() const { return LabelsAlign_; }
    bool LabelsMultiLine() const { return LabelsMultiLine_; }
    const std::string& AxisValuesFormat() const { return AxisValuesFormat_; }
    bool RoundFirstLabel() const { return RoundFirstLabel_; }
    // The label text of a value under AxisValuesFormat (OnGetAxisLabel not consulted).
    std::string LabelValue(double value) const;
    // The chart's label-text event: may change the text of a label.
    std::function<void(TChartAxis*, TChartSeries*, int, std::string&)> OnGetAxisLabel;

    // --- pens, ticks, grid, title ----------------------------------------------------
    TChartPen& Axis() const { return *AxisPen_; }
    TChartPen& Ticks() const { return *Ticks_; }
    TChartPen& MinorTicks() const { return *MinorTicks_; }
    TChartPen& TicksInner() const { return *TicksInner_; }
    TChartPen& Grid() const { return *Grid_; }
    TChartPen& MinorGrid() const { return *MinorGrid_; }
    int TickLength() const { return TickLength_; }
    int MinorTickLength() const { return MinorTickLength_; }
    void SetMinorTickLength(int value);
    int TickInnerLength() const { return TickInnerLength_; }
    int MinorTickCount() const { return MinorTickCount_; }
    bool TickOnLabelsOnly() const { return TickOnLabelsOnly_; }
    bool GridCentered() const { return GridCentered_; }
    TChartAxisTitle& Title() const { return *Title_; }

    // --- per-repaint steps (called by the chart's paint pipeline) -------------------
    // Range from the series (automatic ends) or from Minimum/Maximum, then derived values.
    void AdjustMaxMin();
    // Start and end pixel from the chart rectangle, StartPosition and EndPosition.
    void InternalCalcPositions();
    // Takes the room of title, labels and ticks from rect (moving its axis-side edge
    // inward) and records the title, labels and axis line positions.
    void CalcRect(TRect& rect, bool inflateChartRectangle);
    // Narrows the range so the data's ends sit a pixels (minimum end) and b pixels
    // (maximum end) inside the axis ends.
    void AdjustMaxMinRect(int atMinimum, int atMaximum);
    // After the series rectangle is known: asks the axis' active series for their margins, adds the
    // offsets and applies them through AdjustMaxMinRect.
    void ApplySeriesMargins();
    // Title, labels, axis line, ticks, grid, inner and minor ticks, minor grid.
    void Draw();

    // --- value <-> pixel -------------------------------------------------------------
    int CalcPosValue(double value) const;
    int CalcXPosValue(double value) const;
    int CalcYPosValue(double value) const;
    double CalcPosPoint(int pixel) const;

    // The label step for the current range, font and size.
    double CalcIncrement();
    // talAuto resolved against the chart's series.
    TAxisLabelStyle CalcLabelStyle() const;
    // Mouse on the axis line (within a few pixels) between its ends.
    bool Clicked(int x, int y) const;

    // --- working state of the last repaint -------------------------------------------
    double CurrentMinimum() const { return IMinimum_; }
    double CurrentMaximum() const { return IMaximum_; }
    double IRange() const { return IRange_; }
    bool IsZeroRange() const { return IRangeZero_; }
    int IStartPos() const { return IStartPos_; }
    int IEndPos() const { return IEndPos_; }
    int IAxisSize() const { return IAxisSize_; }
    int ICenterPos() const { return ICenterPos_; }
    int PosAxis() const { return PosAxis_; }
    int PosLabels() const { return PosLabels_; }
    int PosTitle() const { return PosTitle_; }
    const std::vector<int>& TickPositions() const { return TickPositions_; }
    // Sets the range in use directly (zoom, tests) and recomputes derived values.
    void SetCurrentRange(double minimum, double maximum);
    // Sets start and end pixel directly and recomputes size, centre and scale.
    void SetPositions(int startPos, int endPos);

    // Fills `out` with the values labels are drawn at, top value first (value labels).
    void CalcLabelValues(std::vector<double>& out);
    // A repaint starts: its first layout measures the labels afresh.
    void ResetLabelsRoom() { LabelsRoomAtLeast_ = 0; }
    // After the series margins: true when the value labels that will be drawn
    // need more room than the layout gave them; the next CalcRect gives it.
    bool WidenLabelsRoom();
    // Largest next step on the 1, 2, 5 ladder above x (x > 0).
    static double NextStep(double x);

private:
    friend class TChartAxisTitle;
    void Changed() const;
    void RecalcDerived();
    void CalcSeriesRange(double& minimum, double& maximum) const;
    bool AnySeriesActiveOnAxis() const;
    int LabelHeight(const std::string& text) const;
    int LabelWidth(const std::string& text) const;
    int LabelSize(double value) const;
    int MaxLabelsWidth() const;
    int InternalLabelSize(double value, bool isWidth) const;
    std::string LabelText(double value, TChartSeries* series, int valueIndex) const;
    void DrawTitle();
    void DrawAxisLabel(int x, int y, int angle, const std::string& text);
    void DrawValueLabels();
    void DrawTextLabels();
    void DrawLabelAt(int pos, const std::string& text);
    void DrawTicksAndGrid();

    TCustomAxisPanel* Chart_;
    bool Horizontal_;
    bool OtherSide_ = false;
    bool IsDepthAxis_ = false;
    bool Automatic_ = true;
    bool AutomaticMinimum_ = true;
    bool AutomaticMaximum_ = true;
    double Minimum_ = 0;
    double Maximum_ = 0;
    double Increment_ = 0;
    int MinimumOffset_ = 0;
    int MaximumOffset_ = 0;
    bool Inverted_ = false;
    bool Visible_ = true;
    double ZPosition_ = 0;
    double GridZPosition_ = 0;
    double StartPosition_ = 0;
    double EndPosition_ = 100;
    double PositionPercent_ = 0;
    TMarginUnits PositionUnits_ = muPercent;

    bool Labels_ = true;
    TAxisLabelStyle LabelStyle_ = talAuto;
    std::unique_ptr<TChartFont> LabelsFont_;
    int LabelsAngle_ = 0;
    int LabelsSeparation_ = 10;
    int LabelsSize_ = 0;
    int TitleSize_ = 0;
    bool LabelsOnAxis_ = true;
    TAxisLabelAlign LabelsAlign_ = alDefault;
    bool LabelsMultiLine_ = false;
    std::string AxisValuesFormat_ = "#,##0.###";
    bool RoundFirstLabel_ = true;

    std::unique_ptr<TChartPen> AxisPen_;
    std::unique_ptr<TChartPen> Ticks_;
    std::unique_ptr<TChartPen> MinorTicks_;
    std::unique_ptr<TChartPen> TicksInner_;
    std::unique_ptr<TChartPen> Grid_;
    std::unique_ptr<TChartPen> MinorGrid_;
    int TickLength_ = 4;
    int MinorTickLength_ = 2;
    int TickInnerLength_ = 0;
    int MinorTickCount_ = 3;
    bool TickOnLabelsOnly_ = true;
    bool GridCentered_ = false;
    std::unique_ptr<TChartAxisTitle> Title_;

    double IMinimum_ = 0;
    double IMaximum_ = 0;
    double IRange_ = 0;
    bool IRangeZero_ = true;
    int IStartPos_ = 0;
    int IEndPos_ = 0;
    int IAxisSize_ = 0;
    int ICenterPos_ = 0;
    double IAxisScale_ = 0; // pixels per value
    int PosAxis_ = 0;
    int PosLabels_ = 0;
    int PosTitle_ = 0;
    // Label room taken by the last CalcRect (-1: not measured from the label
    // widths), and the least room the next one must take in this repaint.
    int LabelsRoom_ = -1;
    int LabelsRoomAtLeast_ = 0;
    std::vector<int> TickPositions_;
};
