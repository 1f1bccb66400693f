#include "chart/ChartEngine/TCallout.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TWhitePen.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"

TCallout::TCallout(TChartSeries* series)
    : TSeriesPointer(series), FArrow(std::make_unique<TWhitePen>([this] { Repaint(); })) {
    FStyle = psRectangle;
    FVisible = true;
    Brush().SetColor(clBlack);
}

TCallout::~TCallout() = default;

void TCallout::SetDistance(int value) {
    if (StoreChanged(FDistance, value))
        Repaint();
}

void TCallout::Draw(TColor color, TPoint arrowFrom, int z, TPoint arrowTo) {
    TChartCanvas3D* canvas = FSeries ? FSeries->ParentCanvas() : nullptr;
    if (!canvas)
        return;
    if (FArrow->Visible()) {
        canvas->SetBrushStyle(bsClear);
        PrepareCanvas(*canvas, color);
        canvas->AssignVisiblePen(*FArrow);
        if (FArrowHead == ahNone)
            canvas->LineWithZ(arrowFrom.X, arrowFrom.Y, arrowTo.X, arrowTo.Y, z);
        else
            canvas->Arrow(FArrowHead == ahSolid, arrowFrom, arrowTo, FArrowHeadSize, FArrowHeadSize,
                          z);
    }
    if (FArrowHead == ahNone && Visible()) {
        PrepareCanvas(*canvas, color);
        const TPoint p = canvas->Calculate3DPosition(arrowFrom.X, arrowFrom.Y, z);
        DrawPointer(*canvas, false, p.X, p.Y, HorizSize(), VertSize(), color, Style());
    }
}
