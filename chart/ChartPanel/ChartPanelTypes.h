#pragma once
// Small enumerations shared by the chart panel layers and its shapes.

enum TMarginUnits { muPercent, muPixels };

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

enum TChartFrameShapeStyle { fosRectangle, fosRoundRectangle };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

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

// Room kept between a title and the plotting area, in pixels.
constexpr int ChartTitleFootDistance = 5;

// Corner size of round-rectangle shapes, in pixels.
constexpr int ChartShapeRoundSize = 16;
