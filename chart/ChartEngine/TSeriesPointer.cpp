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
    : Series_(series), Brush_(std::make_unique<TChartBrush>([this] { Repaint(); })),
      Pen_(std::make_unique<TChartPen>([this] { Repaint(); })),
      Gradient_(std::make_unique<TChartGradient>([this] { Repaint(); })) {}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::Repaint() const {
    if (Series_)
        Series_->Repaint();
}

void TSeriesPointer::SetVisible(bool value) {
    if (StoreChanged(Visible_, value))
        Repaint();
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
    if (StoreChanged(Style_, value))
        Repaint();
}

void TSeriesPointer::SetHorizSize(int value) {
    if (value <= 0)
        throw ChartException(PointerSizeMessage);
    if (StoreChanged(HorizSize_, value))
        Repaint();
}

void TSeriesPointer::SetVertSize(int value) {
    if (value <= 0)
        throw ChartException(PointerSizeMessage);
    if (StoreChanged(VertSize_, value))
        Repaint();
}

void TSeriesPointer::SetInflateMargins(bool value) {
    if (StoreChanged(InflateMargins_, value))
        Repaint();
}

void TSeriesPointer::SetDark3D(bool value) {
    if (StoreChanged(Dark3D_, value))
        Repaint();
}

void TSeriesPointer::PrepareCanvas(TCanvas3D& canvas, TColor color) const {
    if (Pen_->Visible()) {
        if (Pen_->Color() == clDefault)
            canvas.AssignVisiblePenColor(*Pen_, color);
        else
            canvas.AssignVisiblePen(*Pen_);
    } else {
        canvas.SetPenStyle(psClear);
    }
    TColor brushColor = Brush_->Color();
    if (brushColor == clDefault)
        brushColor = Brush_->Style() == bsSolid ? color : clBlack;
    canvas.AssignBrushColor(*Brush_, brushColor, color);
}

void TSeriesPointer::Draw(int x, int y, TColor color, TSeriesPointerStyle style) const {
    if (!Series_)
        return;
    TChartCanvas3D* canvas = Series_->ParentCanvas();
    if (!canvas)
        return;
    const bool is3D = Series_->ParentChart() && Series_->ParentChart()->View3D();
    PrepareCanvas(*canvas, color);
    DrawPointer(*canvas, is3D, x, y, HorizSize_, VertSize_, color, style);
}

namespace {

// The region a visible gradient fills after the marker (flat markers only).
enum class MarkerFill { None, Rect, Ellipse, Polygon };

// Where a marker goes: its centre, its box and its half height.
struct MarkerBox {
    int x, y, left, right, top, bottom, vertSize;
};

// Draws flat, or at depth z in 3D.
struct MarkerCanvas {
    TCanvas3D& canvas;
    bool is3D;
    int z;

    void Polygon(const TPointArray& points) const {
        const int high = int(points.size()) - 1;
        if (is3D)
            canvas.PolygonWithZ(points.data(), high, z);
        else
            canvas.Polygon(points.data(), high);
    }
    void Line(int x0, int y0, int x1, int y1) const {
        if (is3D) {
            canvas.LineWithZ(x0, y0, x1, y1, z);
        } else {
            canvas.MoveTo(x0, y0);
            canvas.LineTo(x1, y1);
        }
    }
    void Cross(const MarkerBox& b) const {
        Line(b.x, b.top, b.x, b.bottom + 1);
        Line(b.left, b.y, b.right + 1, b.y);
    }
    void DiagCross(const MarkerBox& b) const {
        Line(b.left, b.top, b.right + 1, b.bottom + 1);
        Line(b.right, b.top, b.left - 1, b.bottom + 1);
    }
};

// The corners of the polygon markers; nothing for the other styles.
TPointArray PolygonCorners(TSeriesPointerStyle style, const MarkerBox& b) {
    switch (style) {
    case psTriangle:
        return {{b.left, b.y + b.vertSize}, {b.right, b.y + b.vertSize}, {b.x, b.y - b.vertSize}};
    case psDownTriangle:
        return {{b.left, b.y - b.vertSize}, {b.right, b.y - b.vertSize}, {b.x, b.y + b.vertSize}};
    case psDiamond:
        return {{b.left, b.y}, {b.x, b.top}, {b.right, b.y}, {b.x, b.bottom}};
    case psLeftTriangle:
        return {{b.left, b.y}, {b.right, b.bottom}, {b.right, b.top}};
    case psRightTriangle:
        return {{b.right, b.y}, {b.left, b.bottom}, {b.left, b.top}};
    default:
        return {};
    }
}

// The markers that are not polygons; what a gradient would fill of them.
MarkerFill DrawOtherMarker(const MarkerCanvas& m, TSeriesPointerStyle style, const MarkerBox& b,
                           int middleZ) {
    TCanvas3D& canvas = m.canvas;
    switch (style) {
    case psRectangle:
        if (m.is3D)
            canvas.RectangleWithZ(TRect{b.left, b.top, b.right + 1, b.bottom + 1}, m.z);
        else
            canvas.Rectangle(b.left, b.top, b.right + 1, b.bottom + 1);
        return MarkerFill::Rect;
    case psCircle:
        if (m.is3D)
            canvas.EllipseWithZ(b.left, b.top, b.right, b.bottom, m.z);
        else
            canvas.Ellipse(b.left, b.top, b.right, b.bottom);
        return MarkerFill::Ellipse;
    case psCross:
        m.Cross(b);
        break;
    case psDiagCross:
        m.DiagCross(b);
        break;
    case psStar:
        m.Cross(b);
        m.DiagCross(b);
        break;
    case psSmallDot:
        if (m.is3D)
            canvas.SetPixel3D(b.x, b.y, middleZ, canvas.Brush().Color);
        else
            canvas.SetPixel(b.x, b.y, canvas.Brush().Color);
        break;
    default:
        break;
    }
    return MarkerFill::None;
}

} // namespace

void TSeriesPointer::DrawPointer(TCanvas3D& canvas, bool is3D, int x, int y, int horizSize,
                                 int vertSize, TColor /*color*/, TSeriesPointerStyle style) const {
    const MarkerBox b{x, y, x - horizSize, x + horizSize, y - vertSize, y + vertSize, vertSize};
    const MarkerCanvas m{canvas, is3D, Series_ ? Series_->StartZ : 0};
    const TPointArray corners = PolygonCorners(style, b);
    MarkerFill fill = MarkerFill::Polygon;
    if (corners.empty())
        fill = DrawOtherMarker(m, style, b, Series_ ? Series_->MiddleZ : 0);
    else
        m.Polygon(corners);

    if (!Gradient_->Visible() || is3D || fill == MarkerFill::None)
        return;
    const TRect box{b.left, b.top, b.right + 1, b.bottom + 1};
    if (fill == MarkerFill::Ellipse)
        canvas.ClipEllipse(TRect{b.left, b.top, b.right, b.bottom});
    else if (fill == MarkerFill::Polygon)
        canvas.ClipPolygon(corners.data(), int(corners.size()));
    Gradient_->Draw(canvas, box);
    if (fill != MarkerFill::Rect)
        canvas.UnClipRectangle();
}
