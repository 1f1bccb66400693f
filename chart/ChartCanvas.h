#pragma once
// Unit ChartCanvas: the chart's drawing surface with 3D projection, its
// attribute objects, gradients, shadows and translucency.

#include "chart/ChartCanvas/ChartCanvasUtils.h"
#include "chart/ChartCanvas/TCanvas3D.h"
#include "chart/ChartCanvas/TChartAxisPen.h"
#include "chart/ChartCanvas/TChartBlend.h"
#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartFontGradient.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartHiddenPen.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartCanvas/TCustomChartGradient.h"
#include "chart/ChartCanvas/TDarkGrayPen.h"
#include "chart/ChartCanvas/TDottedGrayPen.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartCanvas/TWhitePen.h"
