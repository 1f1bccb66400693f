// Projection, 3D primitives and the buffered image of the chart canvas.

#include "chart/ChartCanvas.h"
#include "common/PngFile.h"
#include "platform/QtDrawContext.h"
#include "platform/RecordingDrawContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

constexpr double kSqrtHalf = 0.70710678118654752;

// A canvas drawing straight onto a recorder, set up for one repaint.
struct Rig {
    RecordingDrawContext Dest{400, 300};
    TView3DOptions View;
    TChartCanvas3D Canvas;
    TRect ChartRect{40, 30, 340, 230}; // centre (190, 130)

    explicit Rig(bool is3D, int maxDepth = 50) {
        Canvas.SetUseBuffer(false);
        Setup(is3D, maxDepth);
    }
    void Setup(bool is3D, int maxDepth = 50) {
        Canvas.InitWindow(&Dest, &View, clWhite, is3D, {0, 0, 400, 300});
        Canvas.Projection(maxDepth, {0, 0, 400, 300}, ChartRect);
    }
    void PieView() {
        View.SetElevation(315);
        View.SetRotation(360);
        View.SetOrthogonal(false);
        View.SetPerspective(0);
        Setup(true);
    }
};

TEST(TChartCanvas3DProjection, FlatIsTheIdentity) {
    Rig rig(false);
    for (const TPoint p : {TPoint{0, 0}, TPoint{17, 250}, TPoint{-5, 3}})
        for (int z : {0, 25, 100})
            EXPECT_EQ(rig.Canvas.Calc3DPoint(p.X, p.Y, z), p);
}

TEST(TChartCanvas3DProjection, PieViewSeesTheDiscAt45Degrees) {
    Rig rig(true);
    rig.PieView();
    ASSERT_EQ(rig.Canvas.XCenter(), 190);
    ASSERT_EQ(rig.Canvas.YCenter(), 130);
    ASSERT_EQ(rig.Canvas.ZCenter(), 25);
    struct Case {
        int X, Y, Z;
    };
    for (const Case c : {Case{190, 130, 25}, Case{100, 50, 25}, Case{300, 211, 25},
                         Case{60, 200, 0}, Case{250, 90, 50}, Case{190, 130, 43}}) {
        const TPoint p = rig.Canvas.Calc3DPoint(c.X, c.Y, c.Z);
        EXPECT_EQ(p.X, c.X) << c.X << "," << c.Y << "," << c.Z;
        const double y = kSqrtHalf * (c.Y - 130) - kSqrtHalf * (c.Z - 25) + 130;
        EXPECT_EQ(p.Y, int(std::lround(y))) << c.X << "," << c.Y << "," << c.Z;
    }
    // A larger Z is drawn higher on the screen.
    EXPECT_LT(rig.Canvas.Calc3DPoint(190, 130, 40).Y, rig.Canvas.Calc3DPoint(190, 130, 10).Y);
}

TEST(TChartCanvas3DProjection, OffsetsMoveTheProjectedCentre) {
    Rig rig(true);
    rig.View.SetHorizOffset(7);
    rig.View.SetVertOffset(-4);
    rig.PieView();
    EXPECT_EQ(rig.Canvas.XCenterOffset(), 197);
    EXPECT_EQ(rig.Canvas.YCenterOffset(), 126);
    EXPECT_EQ(rig.Canvas.Calc3DPoint(100, 130, 25), (TPoint{107, 126}));
}

TEST(TChartCanvas3DProjection, OrthogonalAngles) {
    struct Case {
        int Angle;
        double XRatio;
        double YRatio;
    };
    for (const Case c : {Case{45, 1.0, 1.0}, Case{135, -1.0, 1.0}, Case{90, 1.0, 1.0},
                         Case{30, 1.0, std::tan(30 * M_PI / 180)}}) {
        Rig rig(true);
        rig.View.SetOrthogonal(true);
        rig.View.SetOrthoAngle(c.Angle);
        rig.Setup(true);
        EXPECT_DOUBLE_EQ(rig.Canvas.OrthoX(), c.XRatio) << c.Angle;
        EXPECT_NEAR(rig.Canvas.OrthoY(), c.YRatio, 1e-12) << c.Angle;
        const TPoint p = rig.Canvas.Calc3DPoint(100, 100, 20);
        EXPECT_EQ(p.X, int(std::lround(20 * c.XRatio + 100))) << c.Angle;
        EXPECT_EQ(p.Y, int(std::lround(100 - 20 * c.YRatio))) << c.Angle;
    }
}

TEST(TChartCanvas3DProjection, Orthogonal135RunsDepthToTheLeft) {
    Rig right(true), left(true);
    right.View.SetOrthoAngle(45);
    left.View.SetOrthoAngle(135);
    right.Setup(true);
    left.Setup(true);
    for (int z : {0, 10, 33}) {
        const TPoint a = right.Canvas.Calc3DPoint(150, 120, z);
        const TPoint b = left.Canvas.Calc3DPoint(150, 120, z);
        EXPECT_EQ(a.X - 150, z);
        EXPECT_EQ(b.X - 150, -z);
        EXPECT_EQ(a.Y, b.Y);
    }
}

TEST(TChartCanvas3DProjection, ZoomScalesAroundTheCentre) {
    Rig rig(true);
    rig.View.SetZoom(200);
    rig.Setup(true);
    EXPECT_EQ(rig.Canvas.Calc3DPoint(200, 140, 0), (TPoint{210, 150}));
}

TEST(TChartCanvas3DProjection, InverseFindsThePointAgain) {
    Rig ortho(true);
    ortho.View.SetOrthoAngle(135);
    ortho.View.SetZoom(150);
    ortho.Setup(true);
    Rig pie(true);
    pie.PieView();
    for (Rig* rig : {&ortho, &pie})
        for (const TPoint p : {TPoint{60, 40}, TPoint{190, 130}, TPoint{321, 222}})
            for (int z : {0, 25, 50}) {
                const TPoint s = rig->Canvas.Calc3DPoint(p.X, p.Y, z);
                int x = s.X, y = s.Y;
                rig->Canvas.Calculate2DPosition(x, y, z);
                EXPECT_NEAR(x, p.X, 1) << p.X << "," << p.Y << "," << z;
                EXPECT_NEAR(y, p.Y, 1) << p.X << "," << p.Y << "," << z;
            }
}

TEST(TChartCanvas3DProjection, FrontPlaneDrawsFlatMeanwhile) {
    Rig rig(true);
    rig.PieView();
    const TPoint projected = rig.Canvas.Calc3DPoint(100, 50, 25);
    ASSERT_NE(projected, (TPoint{100, 50}));
    rig.Canvas.FrontPlaneBegin();
    EXPECT_EQ(rig.Canvas.Calc3DPoint(100, 50, 25), (TPoint{100, 50}));
    rig.Canvas.FrontPlaneEnd();
    EXPECT_EQ(rig.Canvas.Calc3DPoint(100, 50, 25), projected);
}

TEST(TChartCanvas3DProjection, PerspectiveFactorFollowsChartWidth) {
    Rig rig(true);
    rig.View.SetOrthogonal(false);
    rig.View.SetElevation(345);
    rig.View.SetRotation(345);
    rig.View.SetPerspective(15);
    rig.Setup(true, 100);
    ASSERT_TRUE(rig.Canvas.IsPerspective());
    EXPECT_DOUBLE_EQ(rig.Canvas.PerspectiveFactor(), 15 * 1.0 / 150 / 300);
}

// Flat drawing: every depth-taking call lands on the given X and Y.
TEST(TChartCanvas3DFlat, DepthCallsDrawAtTheGivenPoints) {
    Rig rig(false);
    RecordingDrawContext& r = rig.Dest;
    r.ClearCalls();
    rig.Canvas.EllipseWithZ(10, 20, 30, 40, 99);
    rig.Canvas.RectangleWithZ({1, 2, 3, 4}, 5);
    rig.Canvas.LineWithZ(5, 6, 7, 8, 9);
    rig.Canvas.HorizLine3D(1, 9, 4, 3);
    rig.Canvas.TextOut3D(11, 12, 13, "t");
    const std::vector<std::string> expected = {
        "Ellipse 10,20,31,41", "Polygon (1,2) (3,2) (3,4) (1,4)",
        "MoveTo 5,6",          "LineTo 5,6,7,8",
        "MoveTo 1,4",          "LineTo 1,4,9,4",
        "TextOut 11,12 \"t\""};
    std::vector<std::string> got;
    for (const TDrawCall& c : r.Calls())
        got.push_back(c.ToString());
    EXPECT_EQ(got, expected);
}

TEST(TChartCanvas3DEllipse, ThreeDFillsAFanAndOutlinesOnce) {
    Rig rig(true);
    rig.PieView();
    rig.Dest.ClearCalls();
    rig.Canvas.EllipseWithZ(100, 60, 200, 160, 25);
    const auto polygons = rig.Dest.CallsOf("Polygon");
    const auto polylines = rig.Dest.CallsOf("Polyline");
    ASSERT_EQ(polygons.size(), 63u);
    for (const TDrawCall& c : polygons) {
        EXPECT_EQ(c.Points.size(), 3u);
        EXPECT_EQ(c.Pen.Style, psClear);
        EXPECT_EQ(c.Points[0], (TPoint{150, 130 + int(std::lround(-20 * kSqrtHalf))})); // centre
    }
    ASSERT_EQ(polylines.size(), 1u);
    EXPECT_EQ(polylines[0].Points.size(), 64u);
    EXPECT_EQ(polylines[0].Pen.Style, psSolid);
    // Point 0 is straight below the centre: (150, 160) seen at 45 degrees.
    EXPECT_EQ(polylines[0].Points[0], (TPoint{150, 130 + int(std::lround(30 * kSqrtHalf))}));

    rig.Dest.ClearCalls();
    rig.Canvas.SetBrushStyle(bsClear);
    rig.Canvas.EllipseWithZ(100, 60, 200, 160, 25);
    EXPECT_TRUE(rig.Dest.CallsOf("Polygon").empty());
    EXPECT_EQ(rig.Dest.CallsOf("Polyline").size(), 1u);
}

// The face polygon of a slice: the projected centre and then N arc points.
size_t FacePoints(RecordingDrawContext& r, TPoint centre) {
    for (const TDrawCall& c : r.CallsOf("Polygon"))
        if (!c.Points.empty() && c.Points[0] == centre)
            return c.Points.size() - 1;
    return 0;
}

TEST(TChartCanvas3DPie, ArcPointCounts) {
    struct Case {
        double Degrees;
        size_t Points;
    };
    for (const Case c : {Case{360, 32}, Case{5, 2}, Case{15, 4}, Case{25, 4}, Case{35, 6},
                         Case{90, 11}, Case{300, 32}, Case{0.1, 2}}) {
        Rig rig(true);
        rig.PieView();
        rig.Dest.ClearCalls();
        rig.Canvas.Pie3D(190, 130, 80, 60, 0, 20, 0.0, c.Degrees * ChartPiStep, false, false);
        const TPoint centre = rig.Canvas.Calc3DPoint(190, 130, 20);
        EXPECT_EQ(FacePoints(rig.Dest, centre), c.Points) << c.Degrees << " degrees";
    }
}

TEST(TChartCanvas3DPie, FaceRingStartsAtTheStartAngle) {
    Rig rig(true);
    rig.PieView();
    rig.Dest.ClearCalls();
    rig.Canvas.Pie3D(190, 130, 80, 60, 0, 20, 0.0, M_PI / 2, false, false);
    const auto polygons = rig.Dest.CallsOf("Polygon");
    ASSERT_FALSE(polygons.empty());
    const TDrawCall& face = polygons.back();
    // Angle 0: (270, 130) at Z1 = 20; angle 90: (190, 70) at Z1.
    EXPECT_EQ(face.Points[1], rig.Canvas.Calc3DPoint(270, 130, 20));
    EXPECT_EQ(face.Points.back(), rig.Canvas.Calc3DPoint(190, 70, 20));
}

TEST(TChartCanvas3DPie, OnlyTheNearRimIsDrawn) {
    // Upper half (0..180 degrees) faces away: only its face is drawn.
    Rig back(true);
    back.PieView();
    back.Dest.ClearCalls();
    back.Canvas.Pie3D(190, 130, 80, 60, 0, 20, 0.0, M_PI, false, false);
    EXPECT_EQ(back.Dest.CallsOf("Polygon").size(), 1u);

    // Lower half (180..360): face and one rim band of both rings.
    Rig front(true);
    front.PieView();
    front.Dest.ClearCalls();
    front.Canvas.Pie3D(190, 130, 80, 60, 0, 20, M_PI, 2 * M_PI, false, false);
    const auto polygons = front.Dest.CallsOf("Polygon");
    ASSERT_EQ(polygons.size(), 2u);
    const size_t n = 20; // round(180 / 10) + 2
    EXPECT_EQ(polygons[0].Points.size(), n + 1);
    EXPECT_EQ(polygons[1].Points.size(), 2 * n);
    // Face ring forward, far ring backward (the far ring lies lower).
    EXPECT_EQ(polygons[1].Points[0], polygons[0].Points[1]);
    EXPECT_GT(polygons[1].Points[n].Y, polygons[1].Points[n - 1].Y);
}

TEST(TChartCanvas3DPie, WholeDiscDrawsTheFrontRimAndDarkensSides) {
    Rig rig(true);
    rig.PieView();
    rig.Canvas.SetBrushColor(RGBColor(200, 100, 50));
    rig.Dest.ClearCalls();
    rig.Canvas.Pie3D(190, 130, 80, 60, 0, 20, 0.0, 2 * M_PI, true, false);
    const auto polygons = rig.Dest.CallsOf("Polygon");
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(polygons[0].Brush.Color, RGBColor(200, 100, 50));  // face
    EXPECT_EQ(polygons[1].Brush.Color, RGBColor(168, 68, 18));   // rim, 32 darker
    EXPECT_EQ(rig.Canvas.Brush().Color, RGBColor(200, 100, 50)); // restored
}

TEST(TChartCanvas3DPie, SideWallsFollowTheCentreRule) {
    // A slice from 200 to 340 degrees: its end point (340) lies right of the
    // centre, its start point (200) left, so neither wall faces the viewer.
    Rig rig(true);
    rig.PieView();
    rig.Dest.ClearCalls();
    rig.Canvas.Pie3D(190, 130, 80, 60, 0, 20, 200 * ChartPiStep, 340 * ChartPiStep, false, true);
    EXPECT_EQ(rig.Dest.CallsOf("Polygon").size(), 2u); // face + rim

    // From 20 to 160: the end wall (160, left) and start wall (20, right).
    rig.Dest.ClearCalls();
    rig.Canvas.Pie3D(190, 130, 80, 60, 0, 20, 20 * ChartPiStep, 160 * ChartPiStep, false, true);
    const auto polygons = rig.Dest.CallsOf("Polygon");
    ASSERT_EQ(polygons.size(), 3u);
    EXPECT_EQ(polygons[0].Points.size(), 4u);
    EXPECT_EQ(polygons[1].Points.size(), 4u);
    EXPECT_EQ(polygons[0].Points[0], rig.Canvas.Calc3DPoint(190, 130, 20));
    EXPECT_EQ(polygons[0].Points[3], rig.Canvas.Calc3DPoint(190, 130, 0));
}

TEST(TChartCanvas3DClip, OneRememberedRegion) {
    Rig rig(false);
    RecordingDrawContext& r = rig.Dest;
    rig.Canvas.ClipRectangle({0, 0, 100, 100});
    rig.Canvas.ClipRectangle({10, 10, 50, 50});
    r.ClearCalls();
    rig.Canvas.UnClipRectangle(); // back to the outer clip
    rig.Canvas.FillRect({0, 0, 1, 1});
    rig.Canvas.UnClipRectangle(); // no clip at all
    rig.Canvas.FillRect({0, 0, 1, 1});
    ASSERT_EQ(r.Calls().size(), 4u);
    EXPECT_EQ(r.Calls()[0].ToString(), "SetClip 1");
    EXPECT_TRUE(r.Calls()[1].Clipped);
    EXPECT_EQ(r.Calls()[2].ToString(), "SetClip 0");
    EXPECT_FALSE(r.Calls()[3].Clipped);
}

TEST(TChartCanvas3DClip, FlatClipCubeInsetsTheRectangle) {
    Rig rig(false);
    rig.Dest.ClearCalls();
    rig.Canvas.ClipCube({40, 30, 340, 231}, 0, 20);
    ASSERT_EQ(rig.Dest.Calls().size(), 1u);
    EXPECT_EQ(rig.Dest.Calls()[0].ToString(), "IntersectClipRect 41,31,340,230");
}

TEST(TChartCanvas3DClip, ThreeDClipCubeFollowsTheView) {
    // Orthogonal: the outline of a box pushed back and up is a hexagon.
    Rig ortho(true);
    ortho.Dest.ClearCalls();
    ortho.Canvas.ClipCube({40, 30, 340, 230}, 0, 20);
    const auto clips = ortho.Dest.CallsOf("IntersectClipPolygon");
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].Points.size(), 6u);
    int minX = 1000, maxX = -1000, minY = 1000, maxY = -1000;
    for (const TPoint& p : clips[0].Points) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    EXPECT_EQ(minX, 40);
    EXPECT_EQ(maxX, 360);
    EXPECT_EQ(minY, 10);
    EXPECT_EQ(maxY, 230);

    // A perspective view turned below 270 degrees is not clipped.
    Rig turned(true);
    turned.View.SetOrthogonal(false);
    turned.View.SetRotation(200);
    turned.Setup(true);
    turned.Dest.ClearCalls();
    turned.Canvas.ClipCube({40, 30, 340, 230}, 0, 20);
    EXPECT_TRUE(turned.Dest.Calls().empty());

    // Seen from straight above: a plain rectangle.
    Rig above(true);
    above.View.SetOrthogonal(false);
    above.View.SetElevation(270);
    above.View.SetRotation(360);
    above.Setup(true);
    above.Dest.ClearCalls();
    above.Canvas.ClipCube({40, 30, 340, 230}, 0, 20);
    ASSERT_EQ(above.Dest.Calls().size(), 1u);
    EXPECT_EQ(above.Dest.Calls()[0].Op, "IntersectClipRect");
}

TEST(TChartCanvas3DBuffer, DrawsOffScreenAndShowsTheImage) {
    QtDrawContext window(120, 100);
    TView3DOptions view;
    TChartCanvas3D canvas;
    EXPECT_TRUE(canvas.GetUseBuffer());
    EXPECT_TRUE(canvas.BufferStale());
    const TRect drawRect = canvas.InitWindow(&window, &view, clWhite, false, {20, 10, 70, 50});
    EXPECT_EQ(drawRect, (TRect{0, 0, 50, 40}));
    ASSERT_NE(canvas.Bitmap(), nullptr);
    canvas.SetBrushColor(clBlue);
    canvas.FillRect({0, 0, 50, 40});
    EXPECT_EQ(window.GetPixel(30, 20), clWhite); // nothing on screen yet
    EXPECT_FALSE(canvas.ReDrawBitmap());         // stale until shown

    canvas.ShowImage(&window, &window, {20, 10, 70, 50});
    EXPECT_FALSE(canvas.BufferStale());
    EXPECT_EQ(window.GetPixel(20, 10), clBlue);
    EXPECT_EQ(window.GetPixel(69, 49), clBlue);
    EXPECT_EQ(window.GetPixel(70, 50), clWhite);

    // A repaint that changes nothing copies the image again, at (0, 0).
    EXPECT_TRUE(canvas.ReDrawBitmap());
    EXPECT_EQ(window.GetPixel(0, 0), clBlue);
    canvas.Invalidate();
    EXPECT_FALSE(canvas.ReDrawBitmap());

    canvas.SetUseBuffer(false);
    EXPECT_EQ(canvas.Bitmap(), nullptr);
    EXPECT_TRUE(canvas.BufferStale());
    EXPECT_EQ(canvas.InitWindow(&window, &view, clWhite, false, {20, 10, 70, 50}),
              (TRect{20, 10, 70, 50}));
}

TEST(TChartCanvas3DRender, PieViewPng) {
    QtDrawContext window(300, 220);
    TView3DOptions view;
    view.SetElevation(315);
    view.SetRotation(360);
    view.SetOrthogonal(false);
    view.SetPerspective(0);
    TChartCanvas3D canvas;
    canvas.InitWindow(&window, &view, clWhite, true, {0, 0, 300, 220});
    canvas.Projection(30, {0, 0, 300, 220}, {20, 20, 280, 200});
    TChartShadow shadow;
    shadow.SetColor(10526880);
    shadow.SetHorizSize(10);
    shadow.SetVertSize(29);
    shadow.SetTransparency(53);
    shadow.DrawEllipse(canvas, {50, 30, 250, 190}, 0);
    const TColor colors[] = {clRed, clLime, clBlue, clYellow};
    const double cuts[] = {0, 100, 200, 290, 360};
    for (int i = 0; i < 4; ++i) {
        canvas.SetBrushColor(colors[i]);
        canvas.Pie3D(150, 110, 100, 80, 0, 30, cuts[i] * ChartPiStep, cuts[i + 1] * ChartPiStep,
                     true, true);
    }
    canvas.ShowImage(&window, &window, {0, 0, 300, 220});
    // The face centre is drawn in one of the slice colours.
    const TPoint c = canvas.Calc3DPoint(150, 110, 30);
    const TColor centre = window.GetPixel(c.X + 20, c.Y - 10);
    EXPECT_TRUE(centre == clRed || centre == clLime || centre == clBlue || centre == clYellow);
    std::filesystem::create_directories(YONATAMA_TEST_OUT);
    EXPECT_TRUE(
        WritePngFile(std::string(YONATAMA_TEST_OUT) + "/canvas_pie3d.png", window.PngBytes()));
}

} // namespace

namespace {

TEST(TChartCanvas3DBuffer, EachRepaintStartsUnclipped) {
    QtDrawContext window(40, 40);
    TView3DOptions view;
    TChartCanvas3D canvas;
    canvas.InitWindow(&window, &view, clWhite, false, {0, 0, 40, 40});
    canvas.ClipRectangle({0, 0, 5, 5}); // left over by a faulty caller
    canvas.InitWindow(&window, &view, clWhite, false, {0, 0, 40, 40});
    canvas.SetBrushColor(clRed);
    canvas.FillRect({0, 0, 40, 40});
    canvas.ShowImage(&window, &window, {0, 0, 40, 40});
    EXPECT_EQ(window.GetPixel(30, 30), clRed);
    // The slot is empty too: an unclip now removes nothing it should keep.
    canvas.ClipRectangle({0, 0, 10, 10});
    canvas.UnClipRectangle();
    canvas.SetBrushColor(clBlue);
    canvas.FillRect({0, 0, 40, 40});
    EXPECT_EQ(window.GetPixel(30, 30), clBlue);
}

} // namespace
