#include "chart/Series/TLineSeries.h"

TLineSeries::TLineSeries() {
    SetDrawLine(true);
    Pointer().SetVisible(false);
}
