#pragma once
// The polygons a 3D pie slice is painted as, worked out before anything is
// drawn, so the canvas only paints them and the geometry is testable alone.

#include "platform/GraphicsTypes.h"

#include <functional>
#include <utility>
#include <vector>

// Points along an arc from startAngle to endAngle (radians): two, plus one
// per ten degrees, at most 32.
int PieArcPointCount(double startAngle, double endAngle);

// The runs of the outer rim that face the viewer, from the screen X of the
// front ring's points: where X increases. Each run is a pair of 0-based
// inclusive indices; at most one at the start of the arc and one at its end.
std::vector<std::pair<int, int>> PieRimRuns(const std::vector<int>& faceX);

struct TPie3DSlice {
    int XCenter = 0;
    int YCenter = 0;
    int XRadius = 0;
    int YRadius = 0;
    int Z0 = 0; // rear
    int Z1 = 0; // front
    double StartAngle = 0;
    double EndAngle = 0;
    bool DrawSides = false; // the flat walls at the cut ends
    int DonutPercent = 0;
};

struct TPie3DPolygon {
    TPointArray Points;
    bool Side = false; // painted in the darkened colour when sides are dark
    friend bool operator==(const TPie3DPolygon&, const TPie3DPolygon&) = default;
};

// Screen position of (x, y) at depth z.
using TProject3D = std::function<TPoint(int x, int y, int z)>;

// In painting order: the donut's inner wall, the cut walls facing the viewer
// (whose screen centre X is viewerX), the front face, then the rim runs.
std::vector<TPie3DPolygon> LayoutPie3D(const TPie3DSlice& slice, int viewerX,
                                       const TProject3D& project);
