#pragma once
// The legend: a framed box listing either the chart's series or the points
// of one series, with a symbol per row.

#include "chart/Chart/TLegendSymbol.h"
#include "chart/ChartPanel/TChartCustomShape.h"
#include "chart/StoreChanged.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct TLegendBox;

class TCustomChart;
class TChartSeries;
class TChartPen;
struct TLegendMeasure;

enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendTextStyle {
    ltsPlain,
    ltsLeftValue,
    ltsRightValue,
    ltsLeftPercent,
    ltsRightPercent,
    ltsXValue,
    ltsValue,
    ltsPercent,
    ltsXAndValue,
    ltsXAndPercent
};
enum TLegendAlignment { laLeft, laRight, laTop, laBottom };

// Splits a row text into its two columns.
constexpr char ChartColumnSeparator = '\x06';

class TCustomChartLegend : public TChartCustomShape {
public:
    explicit TCustomChartLegend(TCustomChart* chart);
    ~TCustomChartLegend() override;

    TLegendStyle LegendStyle() const { return LegendStyle_; }
    void SetLegendStyle(TLegendStyle value) {
        if (StoreChanged(LegendStyle_, value))
            Repaint();
    }
    TLegendTextStyle TextStyle() const { return TextStyle_; }
    void SetTextStyle(TLegendTextStyle value) {
        if (StoreChanged(TextStyle_, value))
            Repaint();
    }
    TLegendAlignment Alignment() const { return Alignment_; }
    void SetAlignment(TLegendAlignment value) {
        if (StoreChanged(Alignment_, value))
            Repaint();
    }
    bool CustomPosition() const { return CustomPosition_; }
    void SetCustomPosition(bool value) {
        if (StoreChanged(CustomPosition_, value))
            Repaint();
    }
    int Left() const { return Left_; }
    void SetLeft(int value) {
        if (StoreChanged(Left_, value))
            Repaint();
    }
    int Top() const { return Top_; }
    void SetTop(int value) {
        if (StoreChanged(Top_, value))
            Repaint();
    }
    int TopPos() const { return TopPos_; }
    void SetTopPos(int value) {
        if (StoreChanged(TopPos_, value))
            Repaint();
    }
    int MaxNumRows() const { return MaxNumRows_; }
    void SetMaxNumRows(int value) {
        if (StoreChanged(MaxNumRows_, value))
            Repaint();
    }
    int FirstValue() const { return FirstValue_; }
    // Throws ChartException "First Legend Value must be > 0" below 0.
    void SetFirstValue(int value);
    bool Inverted() const { return Inverted_; }
    void SetInverted(bool value) {
        if (StoreChanged(Inverted_, value))
            Repaint();
    }
    bool ResizeChart() const { return ResizeChart_; }
    void SetResizeChart(bool value) {
        if (StoreChanged(ResizeChart_, value))
            Repaint();
    }
    int HorizMargin() const { return HorizMargin_; }
    void SetHorizMargin(int value) {
        if (StoreChanged(HorizMargin_, value))
            Repaint();
    }
    int VertMargin() const { return VertMargin_; }
    void SetVertMargin(int value) {
        if (StoreChanged(VertMargin_, value))
            Repaint();
    }
    int VertSpacing() const { return VertSpacing_; }
    void SetVertSpacing(int value) {
        if (StoreChanged(VertSpacing_, value))
            Repaint();
    }
    bool FontSeriesColor() const { return FontSeriesColor_; }
    void SetFontSeriesColor(bool value) {
        if (StoreChanged(FontSeriesColor_, value))
            Repaint();
    }
    bool CheckBoxes() const { return CheckBoxes_; }
    void SetCheckBoxes(bool value) {
        if (StoreChanged(CheckBoxes_, value))
            Repaint();
    }
    bool CurrentPage() const { return CurrentPage_; }
    void SetCurrentPage(bool value) {
        if (StoreChanged(CurrentPage_, value))
            Repaint();
    }
    // Symbol width; the same value as Symbol().Width().
    int ColorWidth() const { return Symbol_->Width(); }
    void SetColorWidth(int value) { Symbol_->SetWidth(value); }
    TLegendSymbol& Symbol() const { return *Symbol_; }
    TChartPen& DividingLines() const { return *DividingLines_; }

    // --- rules ------------------------------------------------------------------
    // Visible and at least one active series (or check boxes on).
    bool ShouldDraw() const;
    bool Vertical() const { return Alignment_ == laLeft || Alignment_ == laRight; }
    // The style in force: lsAuto resolved by the number of active series.
    TLegendStyle ResolvedStyle() const;
    // Values style: the first active series shown in the legend.
    TChartSeries* GetLegendSeries() const;
    // Rows available from FirstValue on (never below 0).
    int TotalLegendItems() const;
    // Text of row i (item index i, FirstValue not applied), with the column
    // separator between the two columns.
    std::string LegendText(int itemIndex) const;
    // Point text of a series by the text style.
    std::string ValueText(TChartSeries& series, int valueIndex) const;

    // Sizes, places and draws the box and rows; takes room unless custom.
    void DrawLegend();
    // Item index under (x, y), or -1.
    int Clicked(int x, int y) const;

    // --- working state of the last draw ----------------------------------------
    TRect RectLegend() const { return ShapeBounds; }
    int ItemHeight() const { return ItemHeight_; }
    int SymbolWidth() const { return SymbolWidth_; }
    int TextWidth() const { return ColumnWidths_[0] + ColumnWidths_[1]; }
    int ColumnWidth(int column) const { return ColumnWidths_[column]; }
    int NumRows() const { return NumRows_; }
    int LastValue() const { return LastValue_; }
    int XLegendText() const { return XLegendText_; }
    int XLegendColor() const { return XLegendColor_; }
    // Item indices shown, in row order.
    const std::vector<int>& ShownItems() const { return ShownItems_; }
    // The text of the last row when it stands for the items left out, else empty.
    const std::string& RestRow() const { return RestRow_; }

    // When set and not every item fits, the last row that fits says what is
    // left out instead of the list ending silently: the text for that many
    // items. Unset, the rows that do not fit are simply not listed.
    std::function<std::string(int omitted)> OnGetRestText;

private:
    // The sizes and settings the box layout works from.
    TLegendMeasure Measure() const;
    void CalcColumnWidths(const std::vector<std::string>& texts);
    int CalcSymbolWidth(int textBlockWidth) const;
    // The height of one row: the font's, at least a check box's, and a dividing line.
    void MeasureItemHeight();
    // The legend's box (as the chart's hook may move it) and its rows.
    void DrawBoxAndRows(const TLegendBox& layout, const std::vector<std::string>& texts);
    void DrawRow(int row, int itemIndex, const std::string& text);
    void DrawRestRow(int row, int column, int itemWidth);
    void TakeRoom();
    int FrameWidth() const;

    TCustomChart* Chart_;
    TLegendStyle LegendStyle_ = lsAuto;
    TLegendTextStyle TextStyle_ = ltsLeftValue;
    TLegendAlignment Alignment_ = laRight;
    bool CustomPosition_ = false;
    int Left_ = 0;
    int Top_ = 0;
    int TopPos_ = 10;
    int MaxNumRows_ = 10;
    int FirstValue_ = 0;
    bool Inverted_ = false;
    bool ResizeChart_ = true;
    int HorizMargin_ = 0;
    int VertMargin_ = 0;
    int VertSpacing_ = 0;
    bool FontSeriesColor_ = false;
    bool CheckBoxes_ = false;
    bool CurrentPage_ = true;
    std::unique_ptr<TLegendSymbol> Symbol_;
    std::unique_ptr<TChartPen> DividingLines_;

    TLegendStyle Style_ = lsSeries;
    int ItemHeight_ = 0;
    int SymbolWidth_ = 0;
    int ColumnWidths_[2] = {0, 0};
    int NumRows_ = 0;
    int LastValue_ = -1;
    int XLegendText_ = 0;
    int XLegendColor_ = 0;
    std::vector<int> ShownItems_;
    std::string RestRow_;
};

class TChartLegend : public TCustomChartLegend {
public:
    using TCustomChartLegend::TCustomChartLegend;
};
