#pragma once
// The study's pictures on our chart engine: for one border a fan of the
// balance's spread over the plays beside the theory's mean and ±1σ; for a
// sweep the mean balance per play by border with its 95 % interval beside the
// theory's curve. Shared by the dialog and the companion's off-screen PNG.

#include "runs/Study.h"

#include <vector>

class TChart;

// Replaces every series of `chart` by the picture of `borders` (one border: a
// fan; more: the sweep). An empty list leaves the chart empty.
void ShowStudyChart(TChart& chart, const std::vector<StudyFigures>& borders);

// The law of the final balance: the exact table as a curve (probability per
// 1000 balls, averaged over narrow bins) and, when a study is given, the share of
// its runs per bin as bars behind it, on the same scale. Either may be absent.
void ShowBalanceDistribution(TChart& chart, const BalanceTable* exact, const StudyFigures* study);
