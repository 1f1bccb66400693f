#pragma once
// Unit Chart: the chart control with titles, walls, legend, zoom and scroll.

#include "chart/Chart/TChart.h"
#include "chart/Chart/TChartLegend.h"
#include "chart/Chart/TChartTitle.h"
#include "chart/Chart/TChartWall.h"
#include "chart/Chart/TCustomChart.h"
#include "chart/Chart/TLegendSymbol.h"
#include "chart/ChartPanel.h"
