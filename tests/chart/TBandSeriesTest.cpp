// Band series on hand-placed axes: bottom axis 0..10 over pixels 50..350 (30 px a
// unit), left axis 0..100 over 20..220 (2 px a unit).

#include "SeriesTestSupport.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/Series.h"
#include "common/PngFile.h"
#include "platform/QtDrawContext.h"

#include <gtest/gtest.h>

namespace {

const TRect Rect = StagedPlot;
const auto Px = StagedPx;
const auto Py = StagedPy;

struct BandFixture : StagedSeriesFixture<TBandSeries> {
    BandFixture() : StagedSeriesFixture(clYellow) {}
    TBandSeries*& band = series;
};

TEST_F(BandFixture, OnePolygonUpperEdgeThenLowerEdgeBack) {
    const double xs[] = {1, 2, 4};
    const double lows[] = {10, 20, 5};
    const double highs[] = {50, 70, 40};
    for (int i = 0; i < 3; ++i)
        band->AddBand(xs[i], lows[i], highs[i]);
    Draw();
    const auto polys = rec.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 1u);
    const TPointArray expected = {{Px(1), Py(50)}, {Px(2), Py(70)}, {Px(4), Py(40)},
                                  {Px(4), Py(5)},  {Px(2), Py(20)}, {Px(1), Py(10)}};
    EXPECT_EQ(polys[0].Points, expected);
    EXPECT_EQ(polys[0].Brush.Color, clYellow);
    EXPECT_EQ(polys[0].Brush.Style, bsSolid);
    EXPECT_EQ(polys[0].Pen.Style, psClear); // no outline unless asked for
    EXPECT_TRUE(VisibleLines(rec).empty());
}

TEST_F(BandFixture, PointsAddedOutOfOrderAreSortedWithTheirLowValues) {
    band->AddBand(3, 30, 60);
    band->AddBand(1, 10, 40);
    band->AddBand(2, 20, 50);
    EXPECT_EQ(band->XValues().Values(), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(band->LowValues().Values(), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(band->YValues().Values(), (std::vector<double>{40, 50, 60}));
}

TEST_F(BandFixture, NullPointSplitsTheBandAndLonePointsDrawNothing) {
    const struct {
        std::vector<bool> nulls;
        std::vector<std::pair<int, int>> runs; // first and last index of each polygon
    } cases[] = {
        {{false, false, false, false, false}, {{0, 4}}},
        {{false, false, true, false, false}, {{0, 1}, {3, 4}}},
        {{false, true, false, true, false}, {}},
        {{true, false, false, false, true}, {{1, 3}}},
    };
    for (const auto& c : cases) {
        band->Clear();
        for (int i = 0; i < 5; ++i) {
            if (c.nulls[i])
                band->AddNullXY(i + 1, 80);
            else
                band->AddBand(i + 1, 10 + i, 60 + i);
        }
        Draw();
        const auto polys = rec.CallsOf("Polygon");
        ASSERT_EQ(polys.size(), c.runs.size());
        for (std::size_t k = 0; k < polys.size(); ++k)
            EXPECT_EQ(polys[k].Points, band->BandPolygon(c.runs[k].first, c.runs[k].second));
    }
}

TEST_F(BandFixture, BrushColourAndOutlinePen) {
    band->AddBand(1, 10, 50);
    band->AddBand(2, 10, 50);
    band->BandBrush().SetColor(clSilver);
    band->BandPen().SetVisible(true);
    band->BandPen().SetColor(clNavy);
    Draw();
    const auto polys = rec.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].Brush.Color, clSilver);
    EXPECT_EQ(polys[0].Pen.Color, clNavy);
    EXPECT_NE(polys[0].Pen.Style, psClear);
}

TEST_F(BandFixture, BothEdgesSetTheValueRange) {
    band->AddBand(1, -30, 20);
    band->AddBand(2, 5, 90);
    band->AddBand(3, 40, 10); // edges crossed: still counted
    EXPECT_EQ(band->MinYValue(), -30);
    EXPECT_EQ(band->MaxYValue(), 90);
    band->Clear();
    EXPECT_EQ(band->MinYValue(), 0);
    EXPECT_EQ(band->MaxYValue(), 0);
}

TEST_F(BandFixture, ClickedInsideTheBandOnly) {
    band->AddBand(1, 10, 50);
    band->AddBand(3, 30, 90);
    const struct {
        int x, y, index;
    } cases[] = {
        {Px(1) + 5, Py(30), 0},   {Px(3) - 5, Py(60), 1}, {Px(2), Py(55), 0},
        {Px(2), Py(95), -1},      {Px(2), Py(5), -1},     {Px(0.5), Py(30), -1},
        {Px(3) + 10, Py(60), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(band->Clicked(c.x, c.y), c.index) << c.x << "," << c.y;
}

TEST_F(BandFixture, LegendSymbolIsAFilledRectangle) {
    band->AddBand(1, 10, 50);
    rec.ClearCalls();
    band->DrawLegendShape(-1, TRect{10, 10, 30, 20});
    const auto rects = rec.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].Args, (std::vector<int>{10, 10, 30, 20}));
    EXPECT_EQ(rects[0].Brush.Color, clYellow);
}

// The fan: a wide light band, a narrow dark one painted over it, on a white image.
TEST(TBandSeriesPixels, NestedBandsFillTheirAreas) {
    auto chart = MakeStagedChart(400, 300);
    auto* outer = new TBandSeries();
    outer->SetSeriesColor(clSilver);
    outer->SetParentChart(chart.get());
    auto* inner = new TBandSeries();
    inner->SetSeriesColor(clNavy);
    inner->SetParentChart(chart.get());
    for (int x = 0; x <= 10; ++x) {
        outer->AddBand(x, 50 - 4 * x, 50 + 4 * x);
        inner->AddBand(x, 50 - 2 * x, 50 + 2 * x);
    }
    QtDrawContext img(400, 300);
    img.Image().fill(Qt::white);
    StageFlat(*chart, img, Rect, {0, 10}, {0, 100});
    DrawValuesOf(*outer);
    DrawValuesOf(*inner);
    WritePngFile(TestOutPath("band_fan.png"), img.PngBytes());
    const struct {
        double x, y;
        TColor color;
    } cases[] = {
        {8, 50, clNavy},  {8, 64, clNavy},  {8, 36, clNavy},  {8, 75, clSilver}, {8, 25, clSilver},
        {8, 90, clWhite}, {8, 10, clWhite}, {1, 60, clWhite}, {1, 51, clNavy},   {5, 68, clSilver},
    };
    for (const auto& c : cases)
        EXPECT_EQ(img.GetPixel(Px(c.x), Py(c.y)), c.color) << c.x << "," << c.y;
    // Left of the first point and right of the last nothing is painted.
    EXPECT_EQ(img.GetPixel(Px(0) - 2, Py(50)), clWhite);
    EXPECT_EQ(img.GetPixel(Px(10) + 2, Py(50)), clWhite);
}

} // namespace
