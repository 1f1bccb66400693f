#pragma once
// Unit ChartEngine: series base, value lists, axes, marks and the axis panel.

#include "chart/ChartEngine/ChartEngineTypes.h"
#include "chart/ChartEngine/TCallout.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartEngine/TCustomChartElement.h"
#include "chart/ChartEngine/TCustomChartSeries.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarkPosition.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/ChartEngine/TSeriesMarksGradient.h"
#include "chart/ChartEngine/TSeriesPointer.h"
#include "numfmt/NumberFormats.h"
