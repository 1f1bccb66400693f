// Pie series: angles, circle geometry, 2D and 3D slices, the translucent shadow, the
// grouped other slice, legend items, the fixed view and the hit test.

#include "SeriesTestSupport.h"

#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/Series.h"
#include "common/PngFile.h"
#include "platform/QtDrawContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

struct PieFixture : ::testing::Test {
    std::unique_ptr<TChart> chart = MakeStagedChart(300, 250);
    RecordingDrawContext rec{300, 250};
    TPieSeries* pie = nullptr;

    void SetUp() override {
        pie = new TPieSeries();
        pie->SetParentChart(chart.get());
        pie->Marks().SetVisible(false);
        chart->SetView3D(false);
    }
    void Stage(const TRect& rect) {
        StageFlat(*chart, rec, rect, {0, 1}, {0, 1});
        pie->DoBeforeDrawChart();
        pie->DoBeforeDrawValues();
    }
    void Draw() {
        rec.ClearCalls();
        DrawValuesOf(*pie);
    }
};

TEST_F(PieFixture, AnglesOfThreeAndOne) {
    pie->AddPie(3);
    pie->AddPie(1);
    pie->CalcAngles();
    const auto& a = pie->Angles();
    ASSERT_EQ(a.size(), 2u);
    EXPECT_DOUBLE_EQ(a[0].StartAngle, 0);
    EXPECT_DOUBLE_EQ(a[0].EndAngle, 1.5 * Pi);
    EXPECT_DOUBLE_EQ(a[0].MidAngle, 0.75 * Pi);
    EXPECT_DOUBLE_EQ(a[1].StartAngle, 1.5 * Pi);
    EXPECT_DOUBLE_EQ(a[1].EndAngle, 2 * Pi);
}

TEST_F(PieFixture, AllZeroValuesGiveTheFirstSliceEverything) {
    for (int i = 0; i < 3; ++i)
        pie->AddPie(0);
    pie->CalcAngles();
    const auto& a = pie->Angles();
    EXPECT_DOUBLE_EQ(a[0].StartAngle, 0);
    EXPECT_DOUBLE_EQ(a[0].EndAngle, 2 * Pi);
    for (int i = 1; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(a[i].StartAngle, 2 * Pi);
        EXPECT_DOUBLE_EQ(a[i].EndAngle, 2 * Pi);
    }
}

TEST_F(PieFixture, HalfPieAngleSize) {
    pie->SetAngleSize(180);
    pie->AddPie(1);
    pie->AddPie(1);
    pie->CalcAngles();
    EXPECT_DOUBLE_EQ(pie->Angles()[0].EndAngle, Pi / 2);
    EXPECT_DOUBLE_EQ(pie->Angles()[1].EndAngle, Pi);
}

struct CircleCase {
    TRect ChartRect;
    bool Circled;
    TRect Want;
    int XRadius;
    int YRadius;
};

TEST_F(PieFixture, CircleRectangleFromChartRectangle) {
    pie->AddPie(1);
    const std::vector<CircleCase> cases = {
        {{20, 20, 121, 100}, false, {20, 20, 120, 100}, 50, 40},
        {{20, 20, 23, 100}, false, {20, 20, 24, 100}, 2, 40},
        {{0, 0, 200, 100}, true, {50, 0, 150, 100}, 50, 50},
        {{0, 0, 101, 301}, true, {0, 100, 100, 200}, 50, 50},
    };
    for (const auto& c : cases) {
        pie->SetCircled(c.Circled);
        Stage(c.ChartRect);
        EXPECT_EQ(pie->CircleRect(), c.Want);
        EXPECT_EQ(pie->XRadius(), c.XRadius);
        EXPECT_EQ(pie->YRadius(), c.YRadius);
    }
    pie->SetCircled(false);
    pie->SetCustomXRadius(30);
    Stage({20, 20, 121, 100});
    EXPECT_EQ(pie->CircleRect(), (TRect{40, 20, 100, 100}));
}

TEST_F(PieFixture, MarksShrinkTheCircle) {
    pie->AddPie(1, "abc");
    Stage({0, 0, 200, 200});
    const TRect without = pie->CircleRect();
    pie->Marks().SetVisible(true);
    Stage({0, 0, 200, 200});
    EXPECT_GT(pie->CircleRect().Left, without.Left);
    EXPECT_GT(pie->CircleRect().Top, without.Top);
}

TEST_F(PieFixture, AngleToPosAndPointToAngle) {
    pie->AddPie(1);
    Stage({0, 0, 200, 100}); // centre (100, 50), radii 100 and 50
    struct Case {
        int Rotation;
        double Angle;
        int X;
        int Y;
    };
    const std::vector<Case> cases = {
        {0, 0, 200, 50},         {0, Pi / 2, 100, 0}, {0, Pi, 0, 50},
        {0, 1.5 * Pi, 100, 100}, {90, 0, 100, 0},     {90, Pi / 2, 0, 50},
    };
    for (const auto& c : cases) {
        pie->SetRotationAngle(c.Rotation);
        int x = 0, y = 0;
        pie->AngleToPos(c.Angle, pie->XRadius(), pie->YRadius(), x, y);
        EXPECT_EQ(x, c.X) << c.Rotation << " " << c.Angle;
        EXPECT_EQ(y, c.Y) << c.Rotation << " " << c.Angle;
        EXPECT_NEAR(pie->PointToAngle(x, y), c.Angle, 1e-9);
    }
    pie->SetRotationAngle(0);
    EXPECT_NEAR(pie->PointToAngle(150, 25), Pi / 4, 1e-9); // elliptic: scaled by the radii
    pie->SetRotationAngle(-90);
    EXPECT_EQ(pie->RotationAngle(), 270);
}

TEST_F(PieFixture, FlatSlicesAreArcPiesBetweenArcPoints) {
    pie->AddPie(3, "", clRed);
    pie->AddPie(1, "", clBlue);
    Stage({0, 0, 201, 101});
    Draw();
    const auto pies = rec.CallsOf("Pie");
    ASSERT_EQ(pies.size(), 2u);
    // Slice 0 from angle 0 (200, 50) to 270 degrees (100, 100); slice 1 on to 360.
    EXPECT_EQ(pies[0].Args, (std::vector<int>{0, 0, 200, 100, 200, 50, 100, 100}));
    EXPECT_EQ(pies[1].Args, (std::vector<int>{0, 0, 200, 100, 100, 100, 200, 50}));
    EXPECT_EQ(pies[0].Brush.Color, clRed);
    EXPECT_EQ(pies[1].Brush.Color, clBlue);
}

TEST_F(PieFixture, SinglePointIsAlwaysDrawn) {
    pie->AddPie(5);
    Stage({0, 0, 201, 101});
    Draw();
    const auto pies = rec.CallsOf("Pie");
    ASSERT_EQ(pies.size(), 1u);
    EXPECT_EQ(pies[0].Args, (std::vector<int>{0, 0, 200, 100, 200, 50, 200, 50}));
}

TEST_F(PieFixture, PointsWithoutColourGetPaletteColours) {
    for (int i = 0; i < 3; ++i)
        pie->AddXY(0, 1 + i, "", clDefault);
    Stage({0, 0, 201, 101});
    Draw();
    const auto pies = rec.CallsOf("Pie");
    ASSERT_EQ(pies.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pies[i].Brush.Color, GetDefaultColor(i));
}

// values 50, 45, 3, 2 with poBelowPercent 10: the last two make one slice of 5.
TEST_F(PieFixture, SmallSlicesAreGroupedIntoOther) {
    for (double v : {50.0, 45.0, 3.0, 2.0})
        pie->AddPie(v);
    pie->OtherSlice().SetStyle(poBelowPercent);
    pie->OtherSlice().SetValue(10);
    for (int repaint = 0; repaint < 2; ++repaint) { // rebuilt, never accumulated
        pie->DoBeforeDrawChart();
        ASSERT_EQ(pie->Count(), 5);
        EXPECT_FALSE(pie->BelongsToOtherSlice(0));
        EXPECT_FALSE(pie->BelongsToOtherSlice(1));
        EXPECT_TRUE(pie->BelongsToOtherSlice(2));
        EXPECT_TRUE(pie->BelongsToOtherSlice(3));
        EXPECT_EQ(pie->XValues().Value(4), TPieSeries::OtherSliceX);
        EXPECT_EQ(pie->PieValues().Value(4), 5);
        EXPECT_EQ(pie->XLabel(4), "Other");
        EXPECT_EQ(pie->CountLegendItems(), 3);
        EXPECT_EQ(pie->LegendToValueIndex(2), 4);
        EXPECT_EQ(pie->LegendToValueIndex(7), 7);
        pie->CalcAngles();
        const auto& a = pie->Angles();
        EXPECT_DOUBLE_EQ(a[0].EndAngle, Pi);
        EXPECT_DOUBLE_EQ(a[2].StartAngle, a[2].EndAngle);
        EXPECT_NEAR(a[4].EndAngle - a[4].StartAngle, 2 * Pi * 0.05, 1e-12);
        EXPECT_DOUBLE_EQ(a[4].EndAngle, 2 * Pi);
    }
    pie->SetListingOtherSlice(true);
    EXPECT_EQ(pie->CountLegendItems(), 2);
    EXPECT_EQ(pie->LegendToValueIndex(1), 3);
    pie->SetListingOtherSlice(false);
    pie->OtherSlice().SetStyle(poBelowValue);
    pie->OtherSlice().SetValue(2.5);
    pie->DoBeforeDrawChart();
    ASSERT_EQ(pie->Count(), 5);
    EXPECT_EQ(pie->PieValues().Value(4), 2);
    pie->OtherSlice().SetStyle(poNone);
    pie->DoBeforeDrawChart();
    EXPECT_EQ(pie->Count(), 4);
}

TEST_F(PieFixture, ExplodedSliceMovesOutAndShrinksTheCircle) {
    pie->AddPie(1);
    pie->AddPie(1);
    pie->SetExplodedSlice(0, 20);
    Stage({0, 0, 201, 201}); // radii 100
    Draw();
    // Slice 0's middle is 90 degrees: offset (0, 20) of radius 100, the circle loses 10
    // at top and bottom and the offset shrinks with it.
    EXPECT_TRUE(pie->IsExploded());
    EXPECT_EQ(pie->CircleRect(), (TRect{0, 10, 200, 190}));
    int dx = 0, dy = 0;
    pie->CalcExplodedOffset(0, dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 18);
    const auto pies = rec.CallsOf("Pie");
    ASSERT_EQ(pies.size(), 2u);
    EXPECT_EQ(pies[0].Args[1], 10 - 18);
    int xr = 0, yr = 0;
    pie->CalcExplodedRadius(0, xr, yr);
    EXPECT_EQ(xr, 120);
    EXPECT_EQ(yr, 108);
}

TEST_F(PieFixture, ExplodeBiggestPicksTheLargestValue) {
    pie->AddPie(1);
    pie->AddPie(4);
    pie->AddPie(4);
    pie->SetExplodeBiggest(30);
    pie->CalcExplodeBiggest();
    EXPECT_EQ(pie->ExplodedSlice(0), 0);
    EXPECT_EQ(pie->ExplodedSlice(1), 30);
    EXPECT_EQ(pie->ExplodedSlice(2), 0);
}

TEST_F(PieFixture, ClickedFindsTheSlice) {
    pie->AddPie(3);
    pie->AddPie(1);
    Stage({0, 0, 201, 201}); // centre (100, 100), radius 100
    Draw();
    EXPECT_EQ(pie->Clicked(50, 50), 0);    // upper left: 135 degrees
    EXPECT_EQ(pie->Clicked(150, 150), 1);  // lower right: 315 degrees
    EXPECT_EQ(pie->Clicked(199, 99), 0);   // just above the start
    EXPECT_EQ(pie->Clicked(100, 245), -1); // beyond the radii vector (100, 100)
    pie->Clear();
    EXPECT_EQ(pie->Clicked(50, 50), -1);
}

TEST_F(PieFixture, MarksStandOutsideTheRim) {
    pie->AddPie(1, "a");
    pie->AddPie(1, "b");
    pie->Marks().SetVisible(true);
    pie->Marks().Callout().SetLength(10);
    pie->SetAutoMarkPosition(false);
    Stage({0, 0, 401, 401});
    Draw();
    pie->DrawMarks();
    const int cx = pie->CircleXCenter();
    const int cy = pie->CircleYCenter();
    const int r = pie->YRadius();
    const TSeriesMarkPosition* p0 = pie->Marks().Position(0); // middle at 90 degrees
    const TSeriesMarkPosition* p1 = pie->Marks().Position(1); // at 270 degrees
    ASSERT_TRUE(p0 && p1);
    EXPECT_EQ(p0->ArrowFrom, (TPoint{cx, cy - r}));
    EXPECT_EQ(p0->ArrowTo, (TPoint{cx, cy - r - 10}));
    EXPECT_EQ(p0->LeftTop, (TPoint{cx - p0->Width, cy - r - 10 - p0->Height}));
    EXPECT_EQ(p1->ArrowTo, (TPoint{cx, cy + r + 10}));
    EXPECT_EQ(p1->LeftTop, (TPoint{cx - p1->Width, cy + r + 10}));
}

// The program's pie view: slices in index order, only the near rims, no radial walls
// (walls are the four-point polygons); an exploded slice brings the walls back.
TEST_F(PieFixture, ThreeDSlicesDrawNearRimsOnlyWithoutExplode) {
    chart->SetView3D(true);
    EXPECT_EQ(chart->View3DOptions().Elevation(), 315);
    for (double v : {1.0, 1.0, 1.0, 5.0})
        pie->AddPie(v);
    pie->StartZ = 0;
    pie->EndZ = 40;
    StageFlat(*chart, rec, {20, 20, 281, 231}, {0, 1}, {0, 1});
    chart->Canvas().Projection(40, chart->GetClientRect(), chart->ChartRect);
    pie->DoBeforeDrawChart();
    pie->DoBeforeDrawValues();
    Draw();
    EXPECT_EQ(pie->SliceDrawOrder(), (std::vector<int>{0, 1, 2, 3}));
    auto quads = [&] {
        int n = 0;
        for (const auto& c : rec.CallsOf("Polygon"))
            n += c.Points.size() == 4;
        return n;
    };
    EXPECT_FALSE(rec.CallsOf("Polygon").empty());
    EXPECT_EQ(quads(), 0);
    EXPECT_TRUE(rec.CallsOf("Pie").empty());

    pie->SetExplodedSlice(2, 15);
    pie->DoBeforeDrawValues();
    Draw();
    EXPECT_GT(quads(), 0);
    // Middles at 22.5, 67.5, 112.5 and 247.5 degrees: nearest to the far side (90) first.
    EXPECT_EQ(pie->SliceDrawOrder(), (std::vector<int>{1, 2, 0, 3}));
}

TEST(TPieSeriesView, PieFixesItsChartsViewAndGivesItBack) {
    auto chart = MakeStagedChart(300, 250, true);
    TView3DOptions& v = chart->View3DOptions();
    v.SetElevation(345);
    v.SetRotation(345);
    v.SetOrthogonal(true);
    v.SetPerspective(15);
    v.SetTilt(5);
    auto* pie = new TPieSeries();
    pie->SetParentChart(chart.get());
    auto fixed = [&] {
        return v.Elevation() == 315 && v.Rotation() == 360 && !v.Orthogonal() &&
               v.Perspective() == 0 && v.Tilt() == 0;
    };
    auto original = [&] {
        return v.Elevation() == 345 && v.Rotation() == 345 && v.Orthogonal() &&
               v.Perspective() == 15 && v.Tilt() == 5;
    };
    EXPECT_TRUE(fixed());
    pie->SetActive(false);
    EXPECT_TRUE(original());
    pie->SetActive(true);
    EXPECT_TRUE(fixed());
    pie->SetParentChart(nullptr);
    EXPECT_TRUE(original());
    pie->SetParentChart(chart.get());
    EXPECT_TRUE(fixed());
    delete pie;
    EXPECT_TRUE(original());
}

// Shadow 10 right, 29 down, 53 % transparent: a white pixel under it becomes
// drawn + 53 x (255 - drawn) / 100 with drawn = 160 (colour 10526880).
TEST_F(PieFixture, TranslucentShadowIsOffsetAndBlended) {
    pie->AddPie(1, "", clRed);
    pie->Shadow().SetHorizSize(10);
    pie->Shadow().SetVertSize(29);
    pie->Shadow().SetTransparency(53);
    QtDrawContext img(300, 250);
    img.Image().fill(Qt::white);
    RecordingDrawContext both(&img);
    StageFlat(*chart, both, {20, 20, 221, 121}, {0, 1}, {0, 1});
    pie->DoBeforeDrawChart();
    pie->DoBeforeDrawValues();
    DrawValuesOf(*pie);
    WritePngFile(TestOutPath("pie_shadow_2d.png"), img.PngBytes());
    const TRect c = pie->CircleRect();
    const auto ellipses = both.CallsOf("Ellipse");
    ASSERT_FALSE(ellipses.empty());
    EXPECT_EQ(ellipses[0].Args,
              (std::vector<int>{c.Left + 10, c.Top + 29, c.Right + 10 + 1, c.Bottom + 29 + 1}));
    EXPECT_EQ(ellipses[0].Brush.Color, 10526880);
    const int shade = 160 + 53 * (255 - 160) / 100;
    // Below the disc's bottom, inside the moved ellipse.
    const QRgb under = img.Image().pixel((c.Left + c.Right) / 2 + 10, c.Bottom + 15);
    EXPECT_EQ(qRed(under), shade);
    EXPECT_EQ(qGreen(under), shade);
    EXPECT_EQ(qBlue(under), shade);
    const QRgb top = img.Image().pixel((c.Left + c.Right) / 2, c.Top + 5);
    EXPECT_EQ(top & 0xFFFFFF, 0xFF0000u);
    const QRgb outside = img.Image().pixel(c.Right + 30, c.Top + 5);
    EXPECT_EQ(outside & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(PieFixture, NoShadowWithoutSize) {
    pie->AddPie(1);
    Stage({20, 20, 221, 121});
    Draw();
    EXPECT_TRUE(rec.CallsOf("Ellipse").empty());
}

} // namespace

namespace {

// The continuation pie as the window sets it up: 3D, no walls, translucent shadow,
// hidden marks.
TEST(TPieSeriesRender, ContinuationPie) {
    auto chart = MakeStagedChart(400, 260, true);
    chart->SetChart3DPercent(45);
    chart->SetView3DWalls(false);
    chart->Title().SetVisible(false);
    auto* pie = new TPieSeries();
    pie->SetTitle("KoyakuSeries");
    pie->SetSeriesColor(clRed);
    pie->Marks().SetVisible(false);
    pie->Marks().Callout().SetLength(-5);
    pie->YValues().SetName("円");
    pie->Shadow().SetHorizSize(10);
    pie->Shadow().SetVertSize(29);
    pie->Shadow().SetTransparency(53);
    pie->SetParentChart(chart.get());
    const int counts[] = {14, 9, 5, 3, 2, 1};
    for (int k = 0; k < 6; ++k)
        pie->AddXY(0, counts[k], std::to_string(k + 1) + "回", clDefault);
    auto image = RenderChart(*chart, "series_continuation_pie.png");
    EXPECT_EQ(chart->View3DOptions().Elevation(), 315);
    // The top face at the centre shows a slice colour, not the background.
    const QRgb centre = image->Image().pixel(pie->CircleXCenter(), pie->CircleYCenter());
    EXPECT_NE(centre & 0xFFFFFF, 0xFFFFFFu);
}

} // namespace
