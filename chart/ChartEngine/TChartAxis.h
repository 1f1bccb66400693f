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

    TCustomAxisPanel* ParentChart() const { return FChart; }

    // --- range -----------------------------------------------------------------------
    bool Automatic() const { return FAutomatic; }
    void SetAutomatic(bool value);
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    void SetAutomaticMinimum(bool value);
    bool AutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomaticMaximum(bool value);
    double Minimum() const { return FMinimum; }
    // Raises "Axis Minimum Value must be <= Maximum" and keeps the old value.
    void SetMinimum(double value);
    double Maximum() const { return FMaximum; }
    // Raises "Axis Maximum Value must be >= Minimum" and keeps the old value.
    void SetMaximum(double value);
    // Fixes both ends (turns the automatic flags off); swaps reversed ends and keeps a
    // range of at least MinAxisRange.
    void SetMinMax(double minimum, double maximum);
    double Increment() const { return FIncrement; }
    // Raises "Axis increment must be >= 0".
    void SetIncrement(double value);
    int MinimumOffset() const { return FMinimumOffset; }
    int MaximumOffset() const { return FMaximumOffset; }
    bool Inverted() const { return FInverted; }
    void SetInverted(bool value);
    // Adds offset to both ends (turning automatic off); with checkLimits refuses to move
    // past the data. Returns whether it scrolled.
    bool Scroll(double offset, bool checkLimits);

    // --- orientation and placement ---------------------------------------------------
    bool Horizontal() const { return FHorizontal; }
    bool OtherSide() const { return FOtherSide; }
    void SetOtherSide(bool value);
    bool IsDepthAxis() const { return FIsDepthAxis; }
    void SetIsDepthAxis(bool value) { FIsDepthAxis = value; }
    double ZPosition() const { return FZPosition; }
    void SetZPosition(double value);
    double GridZPosition() const { return FGridZPosition; }
    void SetGridZPosition(double value);
    double StartPosition() const { return FStartPosition; }
    double EndPosition() const { return FEndPosition; }
    double PositionPercent() const { return FPositionPercent; }
    TMarginUnits PositionUnits() const { return FPositionUnits; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // --- labels ----------------------------------------------------------------------
    bool Labels() const { return FLabels; }
    TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
    TChartFont& LabelsFont() const { return *FLabelsFont; }
    int LabelsAngle() const { return FLabelsAngle; }
    int LabelsSeparation() const { return FLabelsSeparation; }
    // Raises "Labels Separation % must be greater than 0" for negative values.
    void SetLabelsSeparation(int value);
    int LabelsSize() const { return FLabelsSize; }
    int TitleSize() const { return FTitleSize; }
    bool LabelsOnAxis() const { return FLabelsOnAxis; }
    TAxisLabelAlign LabelsAlign() const { return FLabelsAlign; }
    bool LabelsMultiLine() const { return FLabelsMultiLine; }
    const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
    bool RoundFirstLabel() const { return FRoundFirstLabel; }
    // The label text of a value under AxisValuesFormat (OnGetAxisLabel not consulted).
    std::string LabelValue(double value) const;
    // The chart's label-text event: may change the text of a label.
    std::function<void(TChartAxis*, TChartSeries*, int, std::string&)> OnGetAxisLabel;

    // --- pens, ticks, grid, title ----------------------------------------------------
    TChartPen& Axis() const { return *FAxisPen; }
    TChartPen& Ticks() const { return *FTicks; }
    TChartPen& MinorTicks() const { return *FMinorTicks; }
    TChartPen& TicksInner() const { return *FTicksInner; }
    TChartPen& Grid() const { return *FGrid; }
    TChartPen& MinorGrid() const { return *FMinorGrid; }
    int TickLength() const { return FTickLength; }
    int MinorTickLength() const { return FMinorTickLength; }
    void SetMinorTickLength(int value);
    int TickInnerLength() const { return FTickInnerLength; }
    int MinorTickCount() const { return FMinorTickCount; }
    bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
    bool GridCentered() const { return FGridCentered; }
    TChartAxisTitle& Title() const { return *FTitle; }

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
    double CurrentMinimum() const { return FIMinimum; }
    double CurrentMaximum() const { return FIMaximum; }
    double IRange() const { return FIRange; }
    bool IsZeroRange() const { return FIRangeZero; }
    int IStartPos() const { return FIStartPos; }
    int IEndPos() const { return FIEndPos; }
    int IAxisSize() const { return FIAxisSize; }
    int ICenterPos() const { return FICenterPos; }
    int PosAxis() const { return FPosAxis; }
    int PosLabels() const { return FPosLabels; }
    int PosTitle() const { return FPosTitle; }
    const std::vector<int>& TickPositions() const { return FTickPositions; }
    // Sets the range in use directly (zoom, tests) and recomputes derived values.
    void SetCurrentRange(double minimum, double maximum);
    // Sets start and end pixel directly and recomputes size, centre and scale.
    void SetPositions(int startPos, int endPos);

    // Fills `out` with the values labels are drawn at, top value first (value labels).
    void CalcLabelValues(std::vector<double>& out);
    // A repaint starts: its first layout measures the labels afresh.
    void ResetLabelsRoom() { FLabelsRoomAtLeast = 0; }
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

    TCustomAxisPanel* FChart;
    bool FHorizontal;
    bool FOtherSide = false;
    bool FIsDepthAxis = false;
    bool FAutomatic = true;
    bool FAutomaticMinimum = true;
    bool FAutomaticMaximum = true;
    double FMinimum = 0;
    double FMaximum = 0;
    double FIncrement = 0;
    int FMinimumOffset = 0;
    int FMaximumOffset = 0;
    bool FInverted = false;
    bool FVisible = true;
    double FZPosition = 0;
    double FGridZPosition = 0;
    double FStartPosition = 0;
    double FEndPosition = 100;
    double FPositionPercent = 0;
    TMarginUnits FPositionUnits = muPercent;

    bool FLabels = true;
    TAxisLabelStyle FLabelStyle = talAuto;
    std::unique_ptr<TChartFont> FLabelsFont;
    int FLabelsAngle = 0;
    int FLabelsSeparation = 10;
    int FLabelsSize = 0;
    int FTitleSize = 0;
    bool FLabelsOnAxis = true;
    TAxisLabelAlign FLabelsAlign = alDefault;
    bool FLabelsMultiLine = false;
    std::string FAxisValuesFormat = "#,##0.###";
    bool FRoundFirstLabel = true;

    std::unique_ptr<TChartPen> FAxisPen;
    std::unique_ptr<TChartPen> FTicks;
    std::unique_ptr<TChartPen> FMinorTicks;
    std::unique_ptr<TChartPen> FTicksInner;
    std::unique_ptr<TChartPen> FGrid;
    std::unique_ptr<TChartPen> FMinorGrid;
    int FTickLength = 4;
    int FMinorTickLength = 2;
    int FTickInnerLength = 0;
    int FMinorTickCount = 3;
    bool FTickOnLabelsOnly = true;
    bool FGridCentered = false;
    std::unique_ptr<TChartAxisTitle> FTitle;

    double FIMinimum = 0;
    double FIMaximum = 0;
    double FIRange = 0;
    bool FIRangeZero = true;
    int FIStartPos = 0;
    int FIEndPos = 0;
    int FIAxisSize = 0;
    int FICenterPos = 0;
    double FIAxisScale = 0; // pixels per value
    int FPosAxis = 0;
    int FPosLabels = 0;
    int FPosTitle = 0;
    // Label room taken by the last CalcRect (-1: not measured from the label
    // widths), and the least room the next one must take in this repaint.
    int FLabelsRoom = -1;
    int FLabelsRoomAtLeast = 0;
    std::vector<int> FTickPositions;
};
