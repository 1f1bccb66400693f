#pragma once
// Enumerations and constants shared by the series base, the axes and the marks.

#include "chart/ChartPanel/ChartPanelTypes.h"
#include "platform/GraphicsTypes.h"

#include <array>

enum TChartListOrder { loNone, loAscending, loDescending };

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
enum TAxisLabelAlign { alDefault, alOpposite };

enum TSeriesMarksStyle {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue,
    smsXY
};

enum TArrowHeadStyle { ahNone, ahLine, ahSolid };

// Events a chart broadcasts to its listeners when its series change.
enum TChartSeriesEvent {
    seAdd,
    seRemove,
    seChangeTitle,
    seChangeColor,
    seSwap,
    seChangeActive,
    seDataChanged
};

constexpr int ChartDefaultCapacity = 1000;
constexpr double MinAxisIncrement = 1e-12;
constexpr double MinAxisRange = 1e-10;
constexpr char ChartLineSeparator = '\r';

// Palette for free series colours and ColorEachPoint (0x00BBGGRR words).
constexpr std::array<TColor, 20> ColorPalette = {
    255,   32768, 65535,   16711680, 16777215, 8421504, 16711935, 8421376,  8388608,  128,
    65280, 32896, 8388736, 12632256, 16776960, 0,       12639424, 15780518, 15793151, 10789024};

// Palette colour for index i (wraps every 20 entries; negative indices count as 0).
constexpr TColor GetDefaultColor(int index) {
    return ColorPalette[static_cast<std::size_t>(index < 0 ? 0 : index % 20)];
}
