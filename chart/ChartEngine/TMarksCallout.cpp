#include "chart/ChartEngine/TMarksCallout.h"

TMarksCallout::TMarksCallout(TChartSeries* series) : TCallout(series) {
    FVisible = false;
}

void TMarksCallout::SetLength(int value) {
    if (FLength == value)
        return;
    FLength = value;
    Repaint();
}
