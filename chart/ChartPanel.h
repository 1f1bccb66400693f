#pragma once
// Unit ChartPanel: the first two layers of the chart control, shapes, zoom settings.

#include "chart/ChartPanel/ChartException.h"
#include "chart/ChartPanel/ChartPanelTypes.h"
#include "chart/ChartPanel/TChartCustomShape.h"
#include "chart/ChartPanel/TChartZoom.h"
#include "chart/ChartPanel/TCustomChartPanel.h"
#include "chart/ChartPanel/TCustomChartPanelExtended.h"
#include "chart/ChartPanel/TZoomPanning.h"
