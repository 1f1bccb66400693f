#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/StoreChanged.h"

TMarksCallout::TMarksCallout(TChartSeries* series) : TCallout(series) {
    FVisible = false;
}

void TMarksCallout::SetLength(int value) {
    if (StoreChanged(FLength, value))
        Repaint();
}
