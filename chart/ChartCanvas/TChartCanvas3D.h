#pragma once
// The 3D chart canvas over a platform drawing context, with an off-screen
// buffer image. Flat (not 3D) it draws exactly at the given X and Y.

#include "chart/ChartCanvas/TCanvas3D.h"

#include <array>
#include <functional>
#include <memory>

class TChartCanvas3D : public TCanvas3D {
public:
    TChartCanvas3D();
    ~TChartCanvas3D() override;

    bool GetUseBuffer() const override { return UseBuffer_; }
    void SetUseBuffer(bool value) override;
    void Invalidate() override { BufferStale_ = true; }

    void SetPixel3D(int x, int y, int z, TColor color) override;
    void Calculate2DPosition(int& x, int& y, int z) const override;
    TPoint Calculate3DPosition(int x, int y, int z) const override;
    TRect InitWindow(DrawContext* destCanvas, TView3DOptions* options, TColor backColor, bool is3D,
                     const TRect& userRect) override;
    void Assign(const TCanvas3D& source) override;
    void Projection(int maxDepth, const TRect& bounds, const TRect& chartRect) override;
    void ShowImage(DrawContext* destCanvas, DrawContext* defaultCanvas,
                   const TRect& userRect) override;
    bool ReDrawBitmap() override;
    void Arrow(bool filled, const TPoint& fromPoint, const TPoint& toPoint, int headWidth,
               int headHeight, int z) override;
    void ClipCube(const TRect& rect, int minZ, int maxZ) override;
    void Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool dark3D,
              int conePercent) override;
    void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
    void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                  bool dark3D) override;
    void HorizLine3D(int x0, int x1, int y, int z) override;
    void VertLine3D(int x, int y0, int y1, int z) override;
    void ZLine3D(int x, int y, int z0, int z1) override;
    void EllipseWithZ(int x0, int y0, int x1, int y1, int z) override;
    void FrontPlaneBegin() override;
    void FrontPlaneEnd() override;
    void LineWithZ(int x0, int y0, int x1, int y1, int z) override;
    void MoveTo3D(int x, int y, int z) override;
    void LineTo3D(int x, int y, int z) override;
    void Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
               double startAngle, double endAngle, bool darkSides, bool drawSides,
               int donutPercent = 0) override;
    void Plane3D(const TPoint& p1, const TPoint& p2, int z0, int z1) override;
    void PlaneWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4,
                    int z) override;
    void PlaneFour3D(const TPoint* points, int z0, int z1) override;
    using TCanvas3D::PolygonWithZ;
    void PolygonWithZ(const TPoint* points, int highIndex, int z) override;
    using TCanvas3D::Polyline;
    void Polyline(const TPoint* points, int highIndex, int z) override;
    void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                 bool darkSides) override;
    void RectangleWithZ(const TRect& rect, int z) override;
    void RectangleY(int left, int top, int right, int z0, int z1) override;
    void RectangleZ(int left, int top, int bottom, int z0, int z1) override;
    void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) override;
    void Sphere(int x, int y, int z, double radius) override;
    void TextOut3D(int x, int y, int z, const std::string& text) override;
    void TriangleWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) override;

    // Fills the scratch quadrilateral with the current pen and brush.
    void PolygonFour();
    void DeleteBitmap();
    // Copies the buffer to DestCanvas with its top-left at (X, Y).
    void TransferBitmap(int x, int y, DrawContext* destCanvas);

    // The projection of one point (identity when flat).
    void Calc3DPos(int& x, int& y, int z) const;
    TPoint Calc3DPoint(int x, int y, int z) const;
    TPoint Calc3DTPoint(const TPoint& p, int z) const;
    void Calc3DPos(TPoint& p, int z) const { Calc3DPos(p.X, p.Y, z); }
    // The bounding rectangle of Rect's four corners projected at Z.
    TRect RectFromRectZ(const TRect& rect, int z) const;
    // Projects Rect at Z into (left-top, right-bottom) in place.
    void CalcRect3D(TRect& rect, int z) const;
    // Rect's corners (left-top, right-top, right-bottom, left-bottom) at Z
    // into the scratch quadrilateral.
    void FourPointsFromRect(const TRect& rect, int z);
    // Darkens the brush colour (or the back colour under a hatch).
    void InternalDark(TColor color, int quantity);
    void CalcTrigValues();

    // Projection state, readable for hit-testing and tests.
    bool Is3D() const { return Is3D_; }
    int XCenter() const { return XCenter_; }
    int YCenter() const { return YCenter_; }
    int ZCenter() const { return ZCenter_; }
    int XCenterOffset() const { return XCenterOffset_; }
    int YCenterOffset() const { return YCenterOffset_; }
    double ZoomFactor() const { return ZoomFactor_; }
    double OrthoX() const { return OrthoX_; }
    double OrthoY() const { return OrthoY_; }
    bool IsPerspective() const { return IsPerspective_; }
    double PerspectiveFactor() const { return PerspectiveFactor_; }
    bool ZoomText() const { return ZoomText_; }
    bool BufferStale() const { return BufferStale_; }
    const TRect& Bounds() const { return Bounds_; }
    // The buffer image (null until the first buffered repaint).
    DrawContext* Bitmap() const { return Bitmap_.get(); }
    std::array<TPoint, 4> FourPoints;

protected:
    double TextZoom() const override;

private:
    void ProjectPoints(const TPoint* points, int count, int z, TPointArray& out) const;
    void FontZoomed(const std::function<void()>& draw);

    int XCenter_ = 0, YCenter_ = 0, ZCenter_ = 0;
    int XCenterOffset_ = 0, YCenterOffset_ = 0;
    long double SinRotation_ = 0, CosRotation_ = 1;
    long double SinElevation_ = 0, CosElevation_ = 1;
    long double SinTilt_ = 0, CosTilt_ = 1;
    double C1_ = 0, C2_ = 1, C3_ = 1, C4_ = 0, C5_ = 0, C6_ = 0, C7_ = 0, C8_ = 1;
    bool IsPerspective_ = false;
    double PerspectiveFactor_ = 0;
    double OrthoX_ = 1.0, OrthoY_ = 1.0;
    double ZoomFactor_ = 1.0;
    bool ZoomText_ = true;
    bool UseBuffer_ = true;
    std::unique_ptr<DrawContext> Bitmap_;
    bool BufferStale_ = true;
    bool Is3D_ = false;
    bool SavedIs3D_ = false;
    TRect Bounds_;
    DrawContext* DestCanvas_ = nullptr;
    TPointArray Scratch_;
};
