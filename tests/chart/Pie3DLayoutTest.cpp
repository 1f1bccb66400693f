#include "chart/ChartCanvas/Pie3DLayout.h"
#include "chart/ChartCanvas/ChartCanvasUtils.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

namespace {

struct CountCase {
    const char* name;
    double startDegrees;
    double endDegrees;
    int expected;
};

struct RimCase {
    const char* name;
    std::vector<int> faceX;
    std::vector<std::pair<int, int>> expected;
};

struct SliceCase {
    const char* name;
    TPie3DSlice slice;
    int viewerX;
    std::vector<TPie3DPolygon> expected;
};

// A simple oblique view: depth moves right and up.
TPoint Oblique(int x, int y, int z) {
    return {x + z, y - z};
}

} // namespace

// Readable failures: which polygon and its points.
void PrintTo(const TPie3DPolygon& p, std::ostream* os) {
    *os << (p.Side ? "side" : "face");
    for (const TPoint& q : p.Points)
        *os << " (" << q.X << "," << q.Y << ")";
}

TEST(Pie3DLayout, ArcPointCount) {
    const std::vector<CountCase> cases = {
        {"empty arc keeps both ends", 0, 0, 2}, {"ten degrees", 0, 10, 3},
        {"1.5 tens rounds to even", 0, 15, 4},  {"2.5 tens rounds to even", 100, 125, 4},
        {"3.5 tens rounds to even", 0, 35, 6},  {"backwards counts the same", 10, 0, 3},
        {"full circle is capped", 0, 360, 32},
    };
    for (const CountCase& c : cases)
        EXPECT_EQ(PieArcPointCount(c.startDegrees * ChartPiStep, c.endDegrees * ChartPiStep),
                  c.expected)
            << c.name;
}

TEST(Pie3DLayout, RimRunsWhereScreenXIncreases) {
    const std::vector<RimCase> cases = {
        {"falling all along", {5, 4, 3}, {}},
        {"rising all along", {1, 2, 3, 4}, {{0, 3}}},
        {"run starts one point before the rise", {3, 3, 4}, {{1, 2}}},
        {"rising into a flat end", {1, 2, 2}, {{0, 2}}},
        {"falling, then rising to the end", {5, 3, 1, 2, 4}, {{2, 4}}},
        {"rise then fall ends at the peak's neighbour", {1, 2, 3, 2, 1}, {{0, 2}}},
        {"rising at both ends", {1, 3, 4, 2, 1, 4, 5}, {{0, 2}, {4, 6}}},
        {"a rise in the middle only is not drawn", {5, 4, 5, 4}, {}},
        {"flat all along", {2, 2, 2}, {}},
    };
    for (const RimCase& c : cases)
        EXPECT_EQ(PieRimRuns(c.faceX), c.expected) << c.name;
}

TEST(Pie3DLayout, SlicePolygons) {
    // 0..10 degrees, radius 100: cos 5 = .996, sin 5 = .087, cos 10 = .985, sin 10 = .174
    // give arc points (100, 0), (100, -9), (98, -17); the face is 10 deep.
    const TPie3DSlice wedge{0, 0, 100, 100, 0, 10, 0, 10 * ChartPiStep, true, 0};
    TPie3DSlice noSides = wedge;
    noSides.DrawSides = false;
    // Half the radii: (50, 0), (50, -4), (49, -9).
    TPie3DSlice donut = wedge;
    donut.DonutPercent = 50;
    // 180..200 degrees in 4 points: x -100, -99, -97, -94; y 0, 12, 23, 34.
    const TPie3DSlice lower{0, 0, 100, 100, 0, 10, 180 * ChartPiStep, 200 * ChartPiStep, false, 0};

    const TPie3DPolygon wedgeFace{{{10, -10}, {110, -10}, {110, -19}, {108, -27}}, false};
    const std::vector<SliceCase> cases = {
        {"both cut walls face the viewer",
         wedge,
         109,
         {{{{10, -10}, {108, -27}, {98, -17}, {0, 0}}, true},
          {{{10, -10}, {110, -10}, {100, 0}, {0, 0}}, true},
          wedgeFace}},
        {"only the start wall right of the viewer",
         wedge,
         0,
         {{{{10, -10}, {110, -10}, {100, 0}, {0, 0}}, true}, wedgeFace}},
        {"only the end wall left of the viewer",
         wedge,
         200,
         {{{{10, -10}, {108, -27}, {98, -17}, {0, 0}}, true}, wedgeFace}},
        {"no walls unless asked", noSides, 109, {wedgeFace}},
        {"donut: inner wall first, walls start at the hole",
         donut,
         109,
         {{{{60, -10}, {60, -14}, {59, -19}, {49, -9}, {50, -4}, {50, 0}}, true},
          {{{59, -19}, {108, -27}, {98, -17}, {49, -9}}, true},
          {{{60, -10}, {110, -10}, {100, 0}, {50, 0}}, true},
          {{{110, -10}, {110, -19}, {108, -27}, {59, -19}, {60, -14}, {60, -10}}, false}}},
        {"lower half shows its rim",
         lower,
         0,
         {{{{10, -10}, {-90, -10}, {-89, 2}, {-87, 13}, {-84, 24}}, false},
          {{{-90, -10}, {-89, 2}, {-87, 13}, {-84, 24}, {-94, 34}, {-97, 23}, {-99, 12}, {-100, 0}},
           true}}},
    };
    for (const SliceCase& c : cases)
        EXPECT_EQ(LayoutPie3D(c.slice, c.viewerX, Oblique), c.expected) << c.name;
}
