#include "app/ChartFeeding.h"

ChartFeeding::ChartFeeding(TChart* slumpChart, TChart* slumpChart2, TChart* keizokuChart)
    : slumpChart_(slumpChart), slumpChart2_(slumpChart2), keizokuChart_(keizokuChart) {}

void ChartFeeding::Configure() {
    // Charts and series are configured here.
}

void ChartFeeding::ClearSeries() {
    // Charts are fed here: Clear on the five series.
}

void ChartFeeding::SetBottomAxisRange(std::size_t) {
    // Charts are fed here: the slump graph's bottom axis range.
}

void ChartFeeding::AddHitMarker(const RunRecords&, std::size_t) {
    // Charts are fed here: a win or loss marker.
}

void ChartFeeding::AddFirstHitBar(const RunRecords&, std::size_t, int) {
    // Charts are fed here: a first-hit bar.
}

void ChartFeeding::AddSlumpLine(const RunRecords&) {
    // Charts are fed here: the slump line.
}

void ChartFeeding::AddKeizokuSlice(int, int, const std::string&) {
    // Charts are fed here: a continuation pie slice.
}

void ChartFeeding::ShowWinMarkers(bool) {
    // Charts are fed here: CheckPoint1's Active.
}

void ChartFeeding::ShowLossMarkers(bool) {
    // Charts are fed here: CheckPoint2's Active.
}
