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

constexpr int ChartDefaultCapacity = 1000;
constexpr double MinAxisIncrement = 1e-12;
constexpr double MinAxisRange = 1e-10;
constexpr char ChartLineSeparator = '\r';

// The four palette colours the platform has no name for (0x00BBGGRR).
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

// Palette for free series colours and ColorEachPoint.
constexpr std::array<TColor, 20> ColorPalette = {
    clRed,  clGreen, clYellow,     clBlue,    clWhite, clGray,   clFuchsia,
    clTeal, clNavy,  clMaroon,     clLime,    clOlive, clPurple, clSilver,
    clAqua, clBlack, clMoneyGreen, clSkyBlue, clCream, clMedGray};

// Palette colour for index i (wraps every 20 entries; negative indices count as 0).
constexpr TColor GetDefaultColor(int index) {
    return ColorPalette[static_cast<std::size_t>(index < 0 ? 0 : index % 20)];
}
