#pragma once
// The abstract 3D chart surface: every call that takes a depth Z projects
// through the chart's view options before drawing in 2D.

#include "chart/ChartCanvas/TChartCanvas.h"

class TView3DOptions;

class TCanvas3D : public TChartCanvas {
public:
    using TChartCanvas::Polyline;

    virtual bool GetSupportsFullRotation() const { return false; }
    virtual bool GetSupports3DText() const { return false; }
    virtual void SetPixel3D(int x, int y, int z, TColor color) = 0;
    // Screen point back to chart coordinates at depth Z (hit-testing).
    virtual void Calculate2DPosition(int& x, int& y, int z) const = 0;
    virtual TPoint Calculate3DPosition(int x, int y, int z) const = 0;
    // Starts a repaint; returns the rectangle to draw in.
    virtual TRect InitWindow(DrawContext* destCanvas, TView3DOptions* options, TColor backColor,
                             bool is3D, const TRect& userRect) = 0;
    virtual void Assign(const TCanvas3D& source);
    virtual void Projection(int maxDepth, const TRect& bounds, const TRect& chartRect) = 0;
    // Copies the buffer to DestCanvas at UserRect's top-left; DefaultCanvas
    // becomes current.
    virtual void ShowImage(DrawContext* destCanvas, DrawContext* defaultCanvas,
                           const TRect& userRect) = 0;
    // Copies the buffer again when it is not stale; whether it did.
    virtual bool ReDrawBitmap() = 0;
    virtual void Arrow(bool filled, const TPoint& fromPoint, const TPoint& toPoint, int headWidth,
                       int headHeight, int z) = 0;
    virtual void ClipCube(const TRect& rect, int minZ, int maxZ) = 0;
    virtual void Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                      bool dark3D, int conePercent) = 0;
    virtual void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) = 0;
    virtual void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                          bool dark3D) = 0;
    virtual void HorizLine3D(int x0, int x1, int y, int z) = 0;
    virtual void VertLine3D(int x, int y0, int y1, int z) = 0;
    virtual void ZLine3D(int x, int y, int z0, int z1) = 0;
    virtual void EllipseWithZ(int x0, int y0, int x1, int y1, int z) = 0;
    virtual void FrontPlaneBegin() = 0;
    virtual void FrontPlaneEnd() = 0;
    virtual void LineWithZ(int x0, int y0, int x1, int y1, int z) = 0;
    virtual void MoveTo3D(int x, int y, int z) = 0;
    virtual void LineTo3D(int x, int y, int z) = 0;
    // Angles in radians, counter-clockwise from +X; screen y grows down.
    virtual void Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                       double startAngle, double endAngle, bool darkSides, bool drawSides,
                       int donutPercent = 0) = 0;
    // The wall between P1 at depth Z0 and P2 at depth Z1.
    virtual void Plane3D(const TPoint& p1, const TPoint& p2, int z0, int z1) = 0;
    virtual void PlaneWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4,
                            int z) = 0;
    // The prism of a quadrilateral between depths Z0 and Z1 (front face).
    virtual void PlaneFour3D(const TPoint* points, int z0, int z1) = 0;
    virtual void PolygonWithZ(const TPoint* points, int highIndex, int z) = 0;
    virtual void Polyline(const TPoint* points, int highIndex, int z) = 0;
    virtual void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                         bool darkSides) = 0;
    virtual void RectangleWithZ(const TRect& rect, int z) = 0;
    // Horizontal rectangle at height Y from depth Z0 to Z1.
    virtual void RectangleY(int left, int top, int right, int z0, int z1) = 0;
    // Vertical rectangle at X from depth Z0 to Z1.
    virtual void RectangleZ(int left, int top, int bottom, int z0, int z1) = 0;
    virtual void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) = 0;
    virtual void Sphere(int x, int y, int z, double radius) = 0;
    virtual void TextOut3D(int x, int y, int z, const std::string& text) = 0;
    virtual void TriangleWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) = 0;

    void PolygonWithZ(const TPointArray& points, int z) {
        PolygonWithZ(points.data(), int(points.size()) - 1, z);
    }

    // The chart's view (not owned; may be null).
    TView3DOptions* View3DOptions() const { return View3DOptions_; }
    bool IsOrthogonal() const { return IsOrthogonal_; }
    // Shifts the projection centre.
    double RotationCenterX = 0.0;
    double RotationCenterY = 0.0;
    double RotationCenterZ = 0.0;

protected:
    TView3DOptions* View3DOptions_ = nullptr;
    bool IsOrthogonal_ = false;
};
