#include "chart/ChartEngine/TCallout.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TWhitePen.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"

TCallout::TCallout(TChartSeries* series)
    : TSeriesPointer(series), Arrow_(std::make_unique<TWhitePen>([this] { Repaint(); })) {
    Style_ = psRectangle;
    Visible_ = true;
    Brush().SetColor(clBlack);
}

TCallout::~TCallout() = default;

void TCallout::SetDistance(int value) {
    if (StoreChanged(Distance_, value))
        Repaint();
}

void TCallout::Draw(TColor color, TPoint arrowFrom, int z, TPoint arrowTo) {
    TChartCanvas3D* canvas = Series_ ? Series_->ParentCanvas() : nullptr;
    if (!canvas)
        return;
    if (Arrow_->Visible()) {
        canvas->SetBrushStyle(bsClear);
        PrepareCanvas(*canvas, color);
        canvas->AssignVisiblePen(*Arrow_);
        if (ArrowHead_ == ahNone)
            canvas->LineWithZ(arrowFrom.X, arrowFrom.Y, arrowTo.X, arrowTo.Y, z);
        else
            canvas->Arrow(ArrowHead_ == ahSolid, arrowFrom, arrowTo, ArrowHeadSize_, ArrowHeadSize_,
                          z);
    }
    if (ArrowHead_ == ahNone && Visible()) {
        PrepareCanvas(*canvas, color);
        const TPoint p = canvas->Calculate3DPosition(arrowFrom.X, arrowFrom.Y, z);
        DrawPointer(*canvas, false, p.X, p.Y, HorizSize(), VertSize(), color, Style());
    }
}
