#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/StoreChanged.h"

TMarksCallout::TMarksCallout(TChartSeries* series) : TCallout(series) {
    Visible_ = false;
}

void TMarksCallout::SetLength(int value) {
    if (StoreChanged(Length_, value))
        Repaint();
}
