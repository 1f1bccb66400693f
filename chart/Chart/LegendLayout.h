#pragma once
// Where the legend's box and rows go, worked out from measured sizes before
// anything is drawn, so the drawing code only draws.

#include "chart/Chart/TChartLegend.h"
#include "platform/GraphicsTypes.h"

struct TLegendMeasure {
    bool Vertical = true;
    bool CustomPosition = false;
    TLegendAlignment Alignment = laRight;
    TPoint Position; // left-top when custom-positioned
    int TopPos = 10; // percent of the chart height, docked at the side
    int MaxNumRows = 10;
    TRect Bounds;    // the whole chart
    TRect ChartRect; // the plotting area
    int FrameWidth = 0;
    bool FrameVisible = false;
    int ShadowWidth = 0;
    int ItemHeight = 0;
};

// How many items, from the first, fit below top; and that top. At the side the
// rows stop at the chart's bottom; along the top or bottom all are listed.
struct TLegendRowsFit {
    int Top = 0;
    int Items = 0;
};
TLegendRowsFit FitLegendRows(const TLegendMeasure& m, int totalItems);

struct TLegendBox {
    TRect Box;
    int Rows = 0;
    int Columns = 1;
    int Shown = 0;     // items that fit in the box
    int ItemWidth = 0; // also the column width
    int XSymbol = 0;   // symbol left of the first column
    int XText = 0;     // text left of the first column
    // Row and column of the i-th shown item: down the first column, then on.
    int Row(int i) const { return i % Rows; }
    int Column(int i) const { return i / Rows; }
};

// Places fit.Items items whose text columns take textBlock pixels and whose
// symbol takes symbolWidth; no items give an empty box. Along the top or bottom items run in as
// many columns as fit the chart width, at most MaxNumRows rows, dropping the rest.
TLegendBox LayoutLegendBox(const TLegendMeasure& m, const TLegendRowsFit& fit, int textBlock,
                           int symbolWidth, bool symbolLeft);
