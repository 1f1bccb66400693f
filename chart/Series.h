#pragma once
// Unit Series: the line, band, bar and pie series kinds.

#include "chart/Series/TBandSeries.h"
#include "chart/Series/TBarSeries.h"
#include "chart/Series/TBarSeriesGradient.h"
#include "chart/Series/TCircledSeries.h"
#include "chart/Series/TCustomBarSeries.h"
#include "chart/Series/TCustomLineSeries.h"
#include "chart/Series/TCustomSeries.h"
#include "chart/Series/TLineSeries.h"
#include "chart/Series/TPieOtherSlice.h"
#include "chart/Series/TPieSeries.h"
#include "chart/Series/TPieShadow.h"
