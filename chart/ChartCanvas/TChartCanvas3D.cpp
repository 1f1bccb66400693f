#include "chart/ChartCanvas/TChartCanvas3D.h"

#include "chart/ChartCanvas/Pie3DLayout.h"
#include "chart/ChartCanvas/TView3DOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void TCanvas3D::Assign(const TCanvas3D& source) {
    SetUseBuffer(source.GetUseBuffer());
    SetMonochrome(source.GetMonochrome());
    SetFontZoom(source.FontZoom());
    RotationCenterX = source.RotationCenterX;
    RotationCenterY = source.RotationCenterY;
    RotationCenterZ = source.RotationCenterZ;
}

TChartCanvas3D::TChartCanvas3D() = default;
TChartCanvas3D::~TChartCanvas3D() = default;

void TChartCanvas3D::Assign(const TCanvas3D& source) {
    TCanvas3D::Assign(source);
}

void TChartCanvas3D::SetUseBuffer(bool value) {
    if (!value) {
        DeleteBitmap();
        BufferStale_ = true;
        UseBuffer_ = false;
        return;
    }
    UseBuffer_ = true;
    if (Bitmap_)
        SelectContext(Bitmap_.get());
}

void TChartCanvas3D::DeleteBitmap() {
    if (Bitmap_ && Context_ == Bitmap_.get())
        SelectContext(DestCanvas_);
    Bitmap_.reset();
}

void TChartCanvas3D::TransferBitmap(int x, int y, DrawContext* destCanvas) {
    if (Bitmap_ && destCanvas)
        destCanvas->CopyFrom(*Bitmap_, {0, 0, Bitmap_->Width(), Bitmap_->Height()}, x, y);
}

TRect TChartCanvas3D::InitWindow(DrawContext* destCanvas, TView3DOptions* options, TColor,
                                 bool is3D, const TRect& userRect) {
    Bounds_ = userRect;
    View3DOptions_ = options;
    Is3D_ = is3D;
    IsOrthogonal_ = false;
    ZoomFactor_ = 1.0;
    if (is3D && options) {
        IsOrthogonal_ = options->Orthogonal();
        if (IsOrthogonal_) {
            int angle = options->OrthoAngle();
            if (angle > 90) {
                OrthoX_ = -1.0;
                angle = 180 - angle;
            } else {
                OrthoX_ = 1.0;
            }
            const double a = angle * ChartPiStep;
            OrthoY_ = std::cos(a) < 0.01 ? 1.0 : std::sin(a) / std::cos(a);
        }
        ZoomFactor_ = options->Zoom() * 0.01;
        ZoomText_ = options->ZoomText();
        CalcTrigValues();
    }
    DestCanvas_ = destCanvas;
    if (UseBuffer_ && destCanvas) {
        const int w = std::max(0, userRect.Width()), h = std::max(0, userRect.Height());
        if (!Bitmap_ || Bitmap_->Width() != w || Bitmap_->Height() != h)
            Bitmap_ = destCanvas->CreateBitmap(w, h);
        SelectContext(Bitmap_.get());
        ForgetClip();
        return {0, 0, w, h};
    }
    SelectContext(destCanvas);
    ForgetClip();
    return userRect;
}

void TChartCanvas3D::CalcTrigValues() {
    if (IsOrthogonal_)
        return;
    IsPerspective_ = false;
    PerspectiveFactor_ = 0;
    long double r = 0, e = 0, t = 0;
    if (View3DOptions_) {
        r = View3DOptions_->Rotation() * (long double)ChartPiStep;
        e = View3DOptions_->Elevation() * (long double)ChartPiStep;
        t = View3DOptions_->Tilt() * (long double)ChartPiStep;
    }
    SinRotation_ = std::sin(r);
    CosRotation_ = std::cos(r);
    SinElevation_ = std::sin(e);
    CosElevation_ = std::cos(e);
    SinTilt_ = std::sin(t);
    CosTilt_ = std::cos(t);
    const long double sr = SinRotation_, cr = CosRotation_, se = SinElevation_, ce = CosElevation_,
                      st = SinTilt_, ct = CosTilt_;
    C1_ = double(ce * st);
    C2_ = std::max(double(ce * ct), 0.00001);
    C3_ = std::max(double(sr * se * st + cr * ct), 0.00001);
    C4_ = double(ct * sr * se - cr * st);
    C5_ = double(cr * se * st - ct * sr);
    C6_ = double(cr * ct * se + sr * st);
    C7_ = double(ce * sr);
    C8_ = double(cr * ce);
}

void TChartCanvas3D::Projection(int maxDepth, const TRect&, const TRect& chartRect) {
    const TPoint centre = RectCenter(chartRect);
    XCenter_ = centre.X + ChartRound(RotationCenterX);
    YCenter_ = centre.Y + ChartRound(RotationCenterY);
    ZCenter_ = ChartRound(maxDepth * 0.5 + RotationCenterZ);
    XCenterOffset_ = XCenter_;
    YCenterOffset_ = YCenter_;
    if (View3DOptions_) {
        XCenterOffset_ += View3DOptions_->HorizOffset();
        YCenterOffset_ += View3DOptions_->VertOffset();
        IsPerspective_ = View3DOptions_->Perspective() > 0;
        const int width = chartRect.Right - chartRect.Left;
        if (IsPerspective_)
            PerspectiveFactor_ =
                width != 0 ? View3DOptions_->Perspective() * ZoomFactor_ / 150.0 / width : 0.0;
    }
}

void TChartCanvas3D::Calc3DPos(int& x, int& y, int z) const {
    if (!Is3D_)
        return;
    if (IsOrthogonal_) {
        x = ChartRound((z * OrthoX_ + (x - XCenter_)) * ZoomFactor_) + XCenterOffset_;
        y = ChartRound(((y - YCenter_) - z * OrthoY_) * ZoomFactor_) + YCenterOffset_;
        return;
    }
    const double xx = x - XCenter_, yy = y - YCenter_, zz = z - ZCenter_;
    double s = ZoomFactor_;
    if (IsPerspective_)
        s = ZoomFactor_ - (xx * C7_ - yy * double(SinElevation_) + zz * C8_) * PerspectiveFactor_;
    x = ChartRound((xx * C3_ + yy * C1_ + zz * C5_) * s) + XCenterOffset_;
    y = ChartRound((xx * C4_ + yy * C2_ + zz * C6_) * s) + YCenterOffset_;
}

TPoint TChartCanvas3D::Calc3DPoint(int x, int y, int z) const {
    Calc3DPos(x, y, z);
    return {x, y};
}

TPoint TChartCanvas3D::Calc3DTPoint(const TPoint& p, int z) const {
    return Calc3DPoint(p.X, p.Y, z);
}

TPoint TChartCanvas3D::Calculate3DPosition(int x, int y, int z) const {
    return Calc3DPoint(x, y, z);
}

void TChartCanvas3D::Calculate2DPosition(int& x, int& y, int z) const {
    if (ZoomFactor_ == 0 || !Is3D_)
        return;
    const double k = 1.0 / ZoomFactor_;
    if (IsOrthogonal_) {
        x = ChartRound(k * (x - XCenterOffset_) - z * OrthoX_) + XCenter_;
        y = ChartRound(k * (y - YCenterOffset_) + z * OrthoY_) + YCenter_;
        return;
    }
    if (C3_ == 0 || C2_ == 0)
        return;
    const double d = z - ZCenter_;
    const int sx = x, sy = y;
    x = ChartRound((k * (sx - XCenterOffset_) - d * C5_ - (sy - YCenter_) * C1_) / C3_) + XCenter_;
    y = ChartRound((k * (sy - YCenterOffset_) - d * C6_ - (sx - XCenter_) * C4_) / C2_) + YCenter_;
}

TRect TChartCanvas3D::RectFromRectZ(const TRect& rect, int z) const {
    const TPoint c[4] = {Calc3DPoint(rect.Left, rect.Top, z), Calc3DPoint(rect.Right, rect.Top, z),
                         Calc3DPoint(rect.Right, rect.Bottom, z),
                         Calc3DPoint(rect.Left, rect.Bottom, z)};
    TRect r{c[0].X, c[0].Y, c[0].X, c[0].Y};
    for (const TPoint& p : c) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

void TChartCanvas3D::CalcRect3D(TRect& rect, int z) const {
    Calc3DPos(rect.Left, rect.Top, z);
    Calc3DPos(rect.Right, rect.Bottom, z);
}

void TChartCanvas3D::FourPointsFromRect(const TRect& rect, int z) {
    FourPoints[0] = Calc3DPoint(rect.Left, rect.Top, z);
    FourPoints[1] = Calc3DPoint(rect.Right, rect.Top, z);
    FourPoints[2] = Calc3DPoint(rect.Right, rect.Bottom, z);
    FourPoints[3] = Calc3DPoint(rect.Left, rect.Bottom, z);
}

void TChartCanvas3D::PolygonFour() {
    TChartCanvas::Polygon(FourPoints.data(), 3);
}

namespace {

bool Hatched(const TBrushDesc& b) {
    return b.Style != bsSolid && b.Style != bsClear;
}

} // namespace

void TChartCanvas3D::InternalDark(TColor color, int quantity) {
    const TColor dark = ApplyDark(color, quantity);
    if (Hatched(Brush()))
        SetBackColor(dark);
    else
        SetBrushColor(dark);
}

void TChartCanvas3D::ProjectPoints(const TPoint* points, int count, int z, TPointArray& out) const {
    out.resize(size_t(std::max(0, count)));
    for (int i = 0; i < count; ++i)
        out[size_t(i)] = Calc3DPoint(points[i].X, points[i].Y, z);
}

void TChartCanvas3D::SetPixel3D(int x, int y, int z, TColor color) {
    Calc3DPos(x, y, z);
    SetPixel(x, y, color);
}

void TChartCanvas3D::ShowImage(DrawContext* destCanvas, DrawContext* defaultCanvas,
                               const TRect& userRect) {
    if (UseBuffer_ && Bitmap_ && destCanvas)
        TransferBitmap(userRect.Left, userRect.Top, destCanvas);
    BufferStale_ = false;
    DestCanvas_ = defaultCanvas ? defaultCanvas : destCanvas;
    SelectContext(DestCanvas_);
}

bool TChartCanvas3D::ReDrawBitmap() {
    if (BufferStale_ || !Bitmap_ || !Context_ || Context_ == Bitmap_.get())
        return false;
    TransferBitmap(0, 0, Context_);
    return true;
}

void TChartCanvas3D::Arrow(bool filled, const TPoint& fromPoint, const TPoint& toPoint,
                           int headWidth, int headHeight, int z) {
    const TPoint from = Calc3DTPoint(fromPoint, z), to = Calc3DTPoint(toPoint, z);
    const double dx = to.X - from.X, dy = to.Y - from.Y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return;
    const double ux = dx / length, uy = dy / length;
    const double bx = to.X - ux * headHeight, by = to.Y - uy * headHeight;
    const double half = headWidth / 2.0;
    const TPoint b1{ChartRound(bx - uy * half), ChartRound(by + ux * half)};
    const TPoint b2{ChartRound(bx + uy * half), ChartRound(by - ux * half)};
    const TPoint base{ChartRound(bx), ChartRound(by)};
    Line(from.X, from.Y, base.X, base.Y);
    if (filled) {
        const TPoint head[3] = {to, b1, b2};
        TChartCanvas::Polygon(head, 2);
    } else {
        Line(b1.X, b1.Y, to.X, to.Y);
        Line(b2.X, b2.Y, to.X, to.Y);
    }
}

void TChartCanvas3D::ClipCube(const TRect& rect, int minZ, int maxZ) {
    if (!Is3D_) {
        ClipRectangle({rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
        return;
    }
    const int elevation = View3DOptions_ ? View3DOptions_->Elevation() : 0;
    const int rotation = View3DOptions_ ? View3DOptions_->Rotation() : 0;
    if (!IsOrthogonal_ && rotation < 270)
        return;
    if (elevation == 270 && (rotation == 270 || rotation == 360)) {
        ClipRectangle(RectFromRectZ(rect, minZ));
        return;
    }
    // The convex outline of the box's eight projected corners.
    TPointArray corners;
    for (int z : {minZ, maxZ})
        for (const TPoint& p : {TPoint{rect.Left, rect.Top}, TPoint{rect.Right, rect.Top},
                                TPoint{rect.Right, rect.Bottom}, TPoint{rect.Left, rect.Bottom}})
            corners.push_back(Calc3DTPoint(p, z));
    std::sort(corners.begin(), corners.end(), [](const TPoint& a, const TPoint& b) {
        return a.X < b.X || (a.X == b.X && a.Y < b.Y);
    });
    auto cross = [](const TPoint& o, const TPoint& a, const TPoint& b) {
        return (long long)(a.X - o.X) * (b.Y - o.Y) - (long long)(a.Y - o.Y) * (b.X - o.X);
    };
    TPointArray hull(corners.size() * 2);
    size_t k = 0;
    for (size_t i = 0; i < corners.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], corners[i]) <= 0)
            --k;
        hull[k++] = corners[i];
    }
    for (size_t i = corners.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], corners[i - 1]) <= 0)
            --k;
        hull[k++] = corners[i - 1];
    }
    hull.resize(k > 1 ? k - 1 : k);
    TChartCanvas::ClipPolygon(hull.data(), int(hull.size()));
}

void TChartCanvas3D::Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                          bool, int conePercent) {
    // A simple flat cone at the middle depth: base and tip.
    const int z = (z0 + z1) / 2;
    const int tipHalf = (vertical ? (right - left) : (bottom - top)) * conePercent / 200;
    TPointArray p;
    if (vertical) {
        const int cx = (left + right) / 2;
        p = {{left, bottom}, {right, bottom}, {cx + tipHalf, top}, {cx - tipHalf, top}};
    } else {
        const int cy = (top + bottom) / 2;
        p = {{left, top}, {left, bottom}, {right, cy + tipHalf}, {right, cy - tipHalf}};
    }
    PolygonWithZ(p, z);
}

void TChartCanvas3D::Cube(int left, int right, int top, int bottom, int z0, int z1,
                          bool darkSides) {
    if (!Is3D_) {
        Rectangle(left, top, right, bottom);
        return;
    }
    const TColor face = Hatched(Brush()) ? GetBackColor() : Brush().Color;
    RectangleWithZ({left, top, right, bottom}, z0);
    if (darkSides)
        InternalDark(face, DarkColorQuantity);
    RectangleY(left, top, right, z0, z1);
    RectangleZ(right, top, bottom, z0, z1);
    if (darkSides) {
        if (Hatched(Brush()))
            SetBackColor(face);
        else
            SetBrushColor(face);
    }
}

void TChartCanvas3D::Cylinder(bool vertical, int left, int top, int right, int bottom, int z0,
                              int z1, bool) {
    const int z = (z0 + z1) / 2;
    RectangleWithZ({left, top, right, bottom}, z);
    if (vertical)
        EllipseWithZ(left, top - (z1 - z0) / 4, right, top + (z1 - z0) / 4, z);
    else
        EllipseWithZ(right - (z1 - z0) / 4, top, right + (z1 - z0) / 4, bottom, z);
}

void TChartCanvas3D::HorizLine3D(int x0, int x1, int y, int z) {
    MoveTo3D(x0, y, z);
    LineTo3D(x1, y, z);
}

void TChartCanvas3D::VertLine3D(int x, int y0, int y1, int z) {
    MoveTo3D(x, y0, z);
    LineTo3D(x, y1, z);
}

void TChartCanvas3D::ZLine3D(int x, int y, int z0, int z1) {
    MoveTo3D(x, y, z0);
    LineTo3D(x, y, z1);
}

void TChartCanvas3D::EllipseWithZ(int x0, int y0, int x1, int y1, int z) {
    if (!Is3D_) {
        Ellipse(x0, y0, x1 + 1, y1 + 1);
        return;
    }
    if (IsOrthogonal_) {
        const TPoint a = Calc3DPoint(x0, y0, z), b = Calc3DPoint(x1, y1, z);
        Ellipse(a.X, a.Y, b.X, b.Y);
        return;
    }
    constexpr int kPoints = 64;
    const int cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const int w = (x1 - x0) / 2, h = (y1 - y0) / 2;
    TPoint points[kPoints];
    for (int i = 0; i < kPoints; ++i) {
        const double a = i * M_PI / 20;
        points[i] = Calc3DPoint(cx + int(std::trunc(w * std::sin(a))),
                                cy + int(std::trunc(h * std::cos(a))), z);
    }
    const bool clearBrush =
        Brush().Style == bsClear && !(Brush().Bitmap && !Brush().Bitmap->Empty());
    if (!clearBrush) {
        const TPenStyle oldStyle = Pen().Style;
        SetPenStyle(psClear);
        const TPoint centre = Calc3DPoint(cx, cy, z);
        for (int i = 0; i < kPoints - 1; ++i) {
            const TPoint triangle[3] = {centre, points[i], points[i + 1]};
            TChartCanvas::Polygon(triangle, 2);
        }
        SetPenStyle(oldStyle);
    }
    if (Pen().Style != psClear)
        TChartCanvas::Polyline(points, kPoints - 1);
}

void TChartCanvas3D::FrontPlaneBegin() {
    SavedIs3D_ = Is3D_;
    Is3D_ = false;
}

void TChartCanvas3D::FrontPlaneEnd() {
    Is3D_ = SavedIs3D_;
}

void TChartCanvas3D::LineWithZ(int x0, int y0, int x1, int y1, int z) {
    MoveTo3D(x0, y0, z);
    LineTo3D(x1, y1, z);
}

void TChartCanvas3D::MoveTo3D(int x, int y, int z) {
    Calc3DPos(x, y, z);
    MoveTo(x, y);
}

void TChartCanvas3D::LineTo3D(int x, int y, int z) {
    Calc3DPos(x, y, z);
    LineTo(x, y);
}

void TChartCanvas3D::Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                           double startAngle, double endAngle, bool darkSides, bool drawSides,
                           int donutPercent) {
    const TPie3DSlice slice{xCenter, yCenter,    xRadius,  yRadius,   z0,
                            z1,      startAngle, endAngle, drawSides, donutPercent};
    const std::vector<TPie3DPolygon> polygons = LayoutPie3D(
        slice, XCenterOffset_, [this](int x, int y, int z) { return Calc3DPoint(x, y, z); });

    // Sides take the darkened fill colour (the back colour under a hatch), the
    // face the saved one.
    const bool hatched = Hatched(Brush());
    const TColor saved = hatched ? GetBackColor() : Brush().Color;
    auto restore = [&] {
        if (hatched)
            SetBackColor(saved);
        else
            SetBrushColor(saved);
    };
    for (const TPie3DPolygon& polygon : polygons) {
        if (!polygon.Side)
            restore();
        else if (darkSides)
            InternalDark(saved, 32);
        TChartCanvas::Polygon(polygon.Points);
    }
    restore();
}

void TChartCanvas3D::Plane3D(const TPoint& p1, const TPoint& p2, int z0, int z1) {
    FourPoints[0] = Calc3DTPoint(p1, z0);
    FourPoints[1] = Calc3DTPoint(p2, z0);
    FourPoints[2] = Calc3DTPoint(p2, z1);
    FourPoints[3] = Calc3DTPoint(p1, z1);
    PolygonFour();
}

void TChartCanvas3D::PlaneWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3,
                                const TPoint& p4, int z) {
    FourPoints[0] = Calc3DTPoint(p1, z);
    FourPoints[1] = Calc3DTPoint(p2, z);
    FourPoints[2] = Calc3DTPoint(p3, z);
    FourPoints[3] = Calc3DTPoint(p4, z);
    PolygonFour();
}

void TChartCanvas3D::PlaneFour3D(const TPoint* points, int z0, int) {
    PlaneWithZ(points[0], points[1], points[2], points[3], z0);
}

void TChartCanvas3D::PolygonWithZ(const TPoint* points, int highIndex, int z) {
    ProjectPoints(points, highIndex + 1, z, Scratch_);
    TChartCanvas::Polygon(Scratch_.data(), highIndex);
}

void TChartCanvas3D::Polyline(const TPoint* points, int highIndex, int z) {
    ProjectPoints(points, highIndex + 1, z, Scratch_);
    TChartCanvas::Polyline(Scratch_.data(), highIndex);
}

void TChartCanvas3D::Pyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                             int z1, bool) {
    const int z = (z0 + z1) / 2;
    TPointArray p;
    if (vertical)
        p = {{left, bottom}, {right, bottom}, {(left + right) / 2, top}};
    else
        p = {{left, top}, {left, bottom}, {right, (top + bottom) / 2}};
    PolygonWithZ(p, z);
}

void TChartCanvas3D::RectangleWithZ(const TRect& rect, int z) {
    FourPointsFromRect(rect, z);
    PolygonFour();
}

void TChartCanvas3D::RectangleY(int left, int top, int right, int z0, int z1) {
    FourPoints[0] = Calc3DPoint(left, top, z0);
    FourPoints[1] = Calc3DPoint(right, top, z0);
    FourPoints[2] = Calc3DPoint(right, top, z1);
    FourPoints[3] = Calc3DPoint(left, top, z1);
    PolygonFour();
}

void TChartCanvas3D::RectangleZ(int left, int top, int bottom, int z0, int z1) {
    FourPoints[0] = Calc3DPoint(left, top, z0);
    FourPoints[1] = Calc3DPoint(left, top, z1);
    FourPoints[2] = Calc3DPoint(left, bottom, z1);
    FourPoints[3] = Calc3DPoint(left, bottom, z0);
    PolygonFour();
}

double TChartCanvas3D::TextZoom() const {
    return ZoomText_ ? ZoomFactor_ : 1.0;
}

void TChartCanvas3D::FontZoomed(const std::function<void()>& draw) {
    if (!ZoomText_ || ZoomFactor_ == 1.0) {
        draw();
        return;
    }
    const TFontDesc old = Font();
    TFontDesc zoomed = old;
    const int size = old.Height != 0 ? (std::abs(old.Height) * 72 + 48) / 96 : old.Size;
    zoomed.Size = std::max(1, ChartRound(size * ZoomFactor_));
    zoomed.Height = 0;
    SetFont(zoomed);
    draw();
    SetFont(old);
}

void TChartCanvas3D::RotateLabel3D(int x, int y, int z, const std::string& text, double angle) {
    Calc3DPos(x, y, z);
    RotateLabel(x, y, text, angle);
}

void TChartCanvas3D::Sphere(int x, int y, int z, double radius) {
    const int r = ChartRound(radius);
    EllipseWithZ(x - r, y - r, x + r, y + r, z);
}

void TChartCanvas3D::TextOut3D(int x, int y, int z, const std::string& text) {
    Calc3DPos(x, y, z);
    FontZoomed([&] { TextOut(x, y, text); });
}

void TChartCanvas3D::TriangleWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) {
    const TPoint t[3] = {Calc3DTPoint(p1, z), Calc3DTPoint(p2, z), Calc3DTPoint(p3, z)};
    TChartCanvas::Polygon(t, 2);
}
