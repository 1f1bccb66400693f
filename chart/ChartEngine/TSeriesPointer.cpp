#include "chart/ChartEngine/TSeriesPointer.h"
#include "chart/StoreChanged.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartSeries.h"
#include "chart/ChartEngine/TCustomAxisPanel.h"
#include "chart/ChartPanel/ChartException.h"

namespace {

const char* const PointerSizeMessage = "Pointer size must be greater than zero";

} // namespace

TSeriesPointer::TSeriesPointer(TChartSeries* series)
    : FSeries(series), FBrush(std::make_unique<TChartBrush>([this] { Repaint(); })),
      FPen(std::make_unique<TChartPen>([this] { Repaint(); })),
      FGradient(std::make_unique<TChartGradient>([this] { Repaint(); })) {}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::Repaint() const {
    if (FSeries)
        FSeries->Repaint();
}

void TSeriesPointer::SetVisible(bool value) {
    if (StoreChanged(FVisible, value))
        Repaint();
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
    if (StoreChanged(FStyle, value))
        Repaint();
}

void TSeriesPointer::SetHorizSize(int value) {
    if (value <= 0)
        throw ChartException(PointerSizeMessage);
    if (StoreChanged(FHorizSize, value))
        Repaint();
}

void TSeriesPointer::SetVertSize(int value) {
    if (value <= 0)
        throw ChartException(PointerSizeMessage);
    if (StoreChanged(FVertSize, value))
        Repaint();
}

void TSeriesPointer::SetInflateMargins(bool value) {
    if (StoreChanged(FInflateMargins, value))
        Repaint();
}

void TSeriesPointer::SetDark3D(bool value) {
    if (StoreChanged(FDark3D, value))
        Repaint();
}

void TSeriesPointer::SetDraw3D(bool value) {
    if (StoreChanged(FDraw3D, value))
        Repaint();
}

void TSeriesPointer::PrepareCanvas(TCanvas3D& canvas, TColor color) const {
    if (FPen->Visible()) {
        if (FPen->Color() == clDefault)
            canvas.AssignVisiblePenColor(*FPen, color);
        else
            canvas.AssignVisiblePen(*FPen);
    } else {
        canvas.SetPenStyle(psClear);
    }
    TColor brushColor = FBrush->Color();
    if (brushColor == clDefault)
        brushColor = FBrush->Style() == bsSolid ? color : clBlack;
    canvas.AssignBrushColor(*FBrush, brushColor, color);
}

void TSeriesPointer::Draw(int x, int y, TColor color, TSeriesPointerStyle style) const {
    if (!FSeries)
        return;
    TChartCanvas3D* canvas = FSeries->ParentCanvas();
    if (!canvas)
        return;
    const bool is3D = FSeries->ParentChart() && FSeries->ParentChart()->View3D();
    PrepareCanvas(*canvas, color);
    DrawPointer(*canvas, is3D, x, y, FHorizSize, FVertSize, color, style);
}

void TSeriesPointer::DrawPointer(TCanvas3D& canvas, bool is3D, int x, int y, int horizSize,
                                 int vertSize, TColor color, TSeriesPointerStyle style) const {
    const int left = x - horizSize;
    const int right = x + horizSize;
    const int top = y - vertSize;
    const int bottom = y + vertSize;
    const int z = FSeries ? FSeries->StartZ : 0;
    const int middleZ = FSeries ? FSeries->MiddleZ : 0;

    auto polygon = [&](std::initializer_list<TPoint> points) {
        const TPoint* p = points.begin();
        const int high = int(points.size()) - 1;
        if (is3D)
            canvas.PolygonWithZ(p, high, z);
        else
            canvas.Polygon(p, high);
    };
    auto line = [&](int x0, int y0, int x1, int y1) {
        if (is3D) {
            canvas.LineWithZ(x0, y0, x1, y1, z);
        } else {
            canvas.MoveTo(x0, y0);
            canvas.LineTo(x1, y1);
        }
    };
    auto cross = [&] {
        line(x, top, x, bottom + 1);
        line(left, y, right + 1, y);
    };
    auto diagCross = [&] {
        line(left, top, right + 1, bottom + 1);
        line(right, top, left - 1, bottom + 1);
    };

    // The region a visible gradient fills afterwards (flat markers only).
    enum { gNone, gRect, gEllipse, gPolygon } fill = gNone;
    TPointArray fillPoints;

    switch (style) {
    case psRectangle:
        if (is3D)
            canvas.RectangleWithZ(TRect{left, top, right + 1, bottom + 1}, z);
        else
            canvas.Rectangle(left, top, right + 1, bottom + 1);
        fill = gRect;
        break;
    case psCircle:
        if (is3D)
            canvas.EllipseWithZ(left, top, right, bottom, z);
        else
            canvas.Ellipse(left, top, right, bottom);
        fill = gEllipse;
        break;
    case psTriangle:
        fillPoints = {{left, y + vertSize}, {right, y + vertSize}, {x, y - vertSize}};
        polygon({fillPoints[0], fillPoints[1], fillPoints[2]});
        fill = gPolygon;
        break;
    case psDownTriangle:
        fillPoints = {{left, y - vertSize}, {right, y - vertSize}, {x, y + vertSize}};
        polygon({fillPoints[0], fillPoints[1], fillPoints[2]});
        fill = gPolygon;
        break;
    case psCross:
        cross();
        break;
    case psDiagCross:
        diagCross();
        break;
    case psStar:
        cross();
        diagCross();
        break;
    case psDiamond:
        fillPoints = {{left, y}, {x, top}, {right, y}, {x, bottom}};
        polygon({fillPoints[0], fillPoints[1], fillPoints[2], fillPoints[3]});
        fill = gPolygon;
        break;
    case psSmallDot:
        if (is3D)
            canvas.SetPixel3D(x, y, middleZ, canvas.Brush().Color);
        else
            canvas.SetPixel(x, y, canvas.Brush().Color);
        break;
    case psNothing:
        break;
    case psLeftTriangle:
        fillPoints = {{left, y}, {right, bottom}, {right, top}};
        polygon({fillPoints[0], fillPoints[1], fillPoints[2]});
        fill = gPolygon;
        break;
    case psRightTriangle:
        fillPoints = {{right, y}, {left, bottom}, {left, top}};
        polygon({fillPoints[0], fillPoints[1], fillPoints[2]});
        fill = gPolygon;
        break;
    }
    (void)color;

    if (!FGradient->Visible() || is3D || fill == gNone)
        return;
    const TRect box{left, top, right + 1, bottom + 1};
    switch (fill) {
    case gRect:
        FGradient->Draw(canvas, box);
        break;
    case gEllipse:
        canvas.ClipEllipse(TRect{left, top, right, bottom});
        FGradient->Draw(canvas, box);
        canvas.UnClipRectangle();
        break;
    case gPolygon:
        canvas.ClipPolygon(fillPoints.data(), int(fillPoints.size()));
        FGradient->Draw(canvas, box);
        canvas.UnClipRectangle();
        break;
    case gNone:
        break;
    }
}
