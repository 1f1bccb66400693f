// Line series and point markers drawn on the recording context with hand-placed axes:
// bottom axis 0..10 over pixels 50..350 (30 px a unit), left axis 0..100 over 20..220.

#include "SeriesTestSupport.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartHiddenPen.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/ChartPanel/ChartException.h"
#include "chart/Series.h"
#include "common/PngFile.h"
#include "platform/QtDrawContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const TRect Rect = StagedPlot;
const auto Px = StagedPx;
const auto Py = StagedPy;

struct LineFixture : StagedSeriesFixture<TLineSeries> {
    LineFixture() : StagedSeriesFixture(clRed) {}
};

// The slump line: red, width 2, every segment in index order, nothing else.
TEST_F(LineFixture, RedWidthTwoLineJoinsPointsInOrder) {
    series->LinePen().SetColor(clRed);
    series->LinePen().SetWidth(2);
    const double ys[] = {10, 50, 30, 90};
    for (int i = 0; i < 4; ++i)
        series->AddXY(i + 1, ys[i], "", clRed);
    Draw();
    const auto lines = VisibleLines(rec);
    ASSERT_EQ(lines.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].Args,
                  (std::vector<int>{Px(i + 1), Py(ys[i]), Px(i + 2), Py(ys[i + 1])}));
        EXPECT_EQ(lines[i].Pen.Color, clRed);
        EXPECT_EQ(lines[i].Pen.Width, 2);
        EXPECT_TRUE(lines[i].Pen.Geometric);
        EXPECT_EQ(lines[i].Pen.EndCap, pecRound);
    }
    EXPECT_TRUE(rec.CallsOf("Ellipse").empty());
    EXPECT_TRUE(rec.CallsOf("Rectangle").empty());
    EXPECT_TRUE(rec.CallsOf("Polygon").empty());
}

// CheckPoint1: no line, red circles 8 px across with a black outline.
TEST_F(LineFixture, WinMarkerIsRedCircleEightPixelsAcross) {
    series->LinePen().SetVisible(false);
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psCircle);
    series->SetClickableLine(false);
    series->AddXY(2, 40, "", clRed);
    series->AddXY(5, 60, "", clRed);
    Draw();
    EXPECT_TRUE(VisibleLines(rec).empty());
    const auto circles = rec.CallsOf("Ellipse");
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].Args, (std::vector<int>{Px(2) - 4, Py(40) - 4, Px(2) + 4, Py(40) + 4}));
    EXPECT_EQ(circles[1].Args, (std::vector<int>{Px(5) - 4, Py(60) - 4, Px(5) + 4, Py(60) + 4}));
    for (const auto& c : circles) {
        EXPECT_EQ(c.Args[2] - c.Args[0], 8);
        EXPECT_EQ(c.Brush.Color, clRed);
        EXPECT_EQ(c.Brush.Style, bsSolid);
        EXPECT_EQ(c.Pen.Color, clBlack);
        EXPECT_NE(c.Pen.Style, psClear);
    }
}

// CheckPoint2: black upward triangles 9 px wide; the series brush does not colour them.
TEST_F(LineFixture, LossMarkerIsBlackTriangleNinePixelsWide) {
    series->SetSeriesColor(clBlack);
    series->Brush().SetColor(clWhite);
    series->LinePen().SetVisible(false);
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psTriangle);
    series->AddXY(3, 50, "", clBlack);
    Draw();
    const auto tri = rec.CallsOf("Polygon");
    ASSERT_EQ(tri.size(), 1u);
    const int x = Px(3);
    const int y = Py(50);
    EXPECT_EQ(tri[0].Points, (TPointArray{{x - 4, y + 4}, {x + 4, y + 4}, {x, y - 4}}));
    EXPECT_EQ(tri[0].Points[1].X - tri[0].Points[0].X + 1, 9);
    EXPECT_EQ(tri[0].Brush.Color, clBlack);
}

TEST_F(LineFixture, OnePointDrawsOnlyItsMarker) {
    series->Pointer().SetVisible(true);
    series->AddXY(4, 20);
    Draw();
    EXPECT_TRUE(VisibleLines(rec).empty());
    const auto rects = rec.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].Args, (std::vector<int>{Px(4) - 4, Py(20) - 4, Px(4) + 5, Py(20) + 5}));
}

// Each marker comes after both segments touching it, so it sits on the line.
TEST_F(LineFixture, MarkersAreDrawnAfterBothSegments) {
    series->Pointer().SetVisible(true);
    for (int i = 0; i < 3; ++i)
        series->AddXY(i + 1, 10 + 20 * i);
    Draw();
    std::vector<std::string> ops;
    for (const auto& c : rec.Calls())
        if ((c.Op == "LineTo" && c.Pen.Style != psClear) || c.Op == "Rectangle")
            ops.push_back(c.Op + (c.Op == "Rectangle" ? std::to_string(c.Args[0] + 4) : ""));
    const std::vector<std::string> expected = {"LineTo", "Rectangle" + std::to_string(Px(1)),
                                               "LineTo", "Rectangle" + std::to_string(Px(2)),
                                               "Rectangle" + std::to_string(Px(3))};
    EXPECT_EQ(ops, expected);
}

TEST_F(LineFixture, PointsOnOnePixelDrawNoSegment) {
    series->AddXY(1, 10);
    series->AddXY(1.001, 10.1); // same pixel after rounding
    series->AddXY(3, 40);
    Draw();
    const auto lines = VisibleLines(rec);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Args, (std::vector<int>{Px(1), Py(10), Px(3), Py(40)}));
}

// After zooming past the first point the line enters at the left edge, at the height of
// the line from the hidden point to the first visible one.
TEST_F(LineFixture, LineEntersFromChartEdgeAfterZoom) {
    series->AddXY(0, 0);
    series->AddXY(8, 80);
    series->AddXY(10, 40);
    StageFlat(*chart, rec, Rect, {4, 10}, {0, 100}); // 50 px a unit from x = 4
    Draw();
    const auto lines = VisibleLines(rec);
    ASSERT_EQ(lines.size(), 2u);
    // At the edge x = 4 the line from (0,0) to (8,80) is at 40.
    EXPECT_EQ(lines[0].Args, (std::vector<int>{50, Py(40), 50 + 4 * 50, Py(80)}));
    EXPECT_EQ(lines[1].Args, (std::vector<int>{250, Py(80), 350, Py(40)}));
}

TEST_F(LineFixture, StairsEnterAtTheHeightOfTheHiddenPoint) {
    series->SetStairs(true);
    series->AddXY(0, 10);
    series->AddXY(8, 80);
    StageFlat(*chart, rec, Rect, {4, 10}, {0, 100});
    Draw();
    const auto lines = VisibleLines(rec);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Args, (std::vector<int>{50, Py(10), 250, Py(10)}));
    EXPECT_EQ(lines[1].Args, (std::vector<int>{250, Py(10), 250, Py(80)}));
}

// A null point draws nothing; the next segment starts at its position.
TEST_F(LineFixture, NullPointBreaksLineButNextSegmentStartsThere) {
    series->Pointer().SetVisible(true);
    series->AddXY(1, 10);
    series->AddNullXY(2, 50);
    series->AddXY(3, 30);
    Draw();
    const auto lines = VisibleLines(rec);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Args, (std::vector<int>{Px(2), Py(50), Px(3), Py(30)}));
    const auto rects = rec.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 2u); // no marker for the null point
    EXPECT_EQ(rects[0].Args[0], Px(1) - 4);
    EXPECT_EQ(rects[1].Args[0], Px(3) - 4);
}

// A visible outline draws the whole line once more underneath, wider, in its colour.
TEST_F(LineFixture, OutlineGoesUnderTheLine) {
    series->LinePen().SetWidth(2);
    series->OutLine().SetVisible(true);
    series->OutLine().SetColor(clBlack);
    series->OutLine().SetWidth(1);
    series->AddXY(1, 10, "", clRed);
    series->AddXY(2, 20, "", clRed);
    series->AddXY(3, 15, "", clRed);
    Draw();
    const auto lines = VisibleLines(rec);
    ASSERT_EQ(lines.size(), 4u);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(lines[k].Pen.Color, clBlack);
        EXPECT_EQ(lines[k].Pen.Width, 5);
        EXPECT_EQ(lines[k + 2].Pen.Color, clRed);
        EXPECT_EQ(lines[k + 2].Pen.Width, 2);
        EXPECT_EQ(lines[k].Args, lines[k + 2].Args);
    }
}

TEST_F(LineFixture, HiddenLinePenLeavesNoTraceButMarkersStay) {
    series->LinePen().SetVisible(false);
    series->Pointer().SetVisible(true);
    series->AddXY(1, 10);
    series->AddXY(2, 20);
    Draw();
    EXPECT_TRUE(VisibleLines(rec).empty());
    EXPECT_EQ(rec.CallsOf("Rectangle").size(), 2u);
}

// Marks of a line series stand the callout length plus distance above the point.
TEST_F(LineFixture, MarksAreLiftedByTheCallout) {
    series->AddXY(2, 50);
    series->Marks().SetVisible(true);
    series->Marks().Callout().SetLength(8);
    series->Marks().Callout().SetDistance(3);
    series->CalcFirstLastVisibleIndex();
    series->DrawMarks();
    const TSeriesMarkPosition* p = series->Marks().Position(0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ArrowFrom, (TPoint{Px(2), Py(50) - 3}));
    EXPECT_EQ(p->ArrowTo, (TPoint{Px(2), Py(50) - 11}));
    EXPECT_EQ(p->LeftTop, (TPoint{Px(2) - p->Width / 2, Py(50) - p->Height + 1 - 11}));
    int t = 0, b = 0;
    series->CalcVerticalMargins(t, b);
    EXPECT_EQ(t, 11);
    EXPECT_EQ(b, 0);
}

TEST(TSeriesPointer, RefusesSizesBelowOneAndKeepsOldSize) {
    TLineSeries series;
    for (int bad : {0, -3}) {
        try {
            series.Pointer().SetHorizSize(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const ChartException& e) {
            EXPECT_STREQ(e.what(), "Pointer size must be greater than zero");
        }
        EXPECT_THROW(series.Pointer().SetVertSize(bad), ChartException);
    }
    EXPECT_EQ(series.Pointer().HorizSize(), 4);
    EXPECT_EQ(series.Pointer().VertSize(), 4);
    series.Pointer().SetHorizSize(7);
    EXPECT_EQ(series.Pointer().HorizSize(), 7);
}

// Every shape at (100, 60) with half sizes 4 by 3.
struct ShapeCase {
    TSeriesPointerStyle Style;
    std::vector<std::string> Calls; // ToString of the drawing calls
};

TEST_F(LineFixture, EveryPointerShapeHasItsGeometry) {
    const std::vector<ShapeCase> cases = {
        {psRectangle, {"Rectangle 96,57,105,64"}},
        {psCircle, {"Ellipse 96,57,104,63"}},
        {psTriangle, {"Polygon (96,63) (104,63) (100,57)"}},
        {psDownTriangle, {"Polygon (96,57) (104,57) (100,63)"}},
        {psCross, {"LineTo 100,57,100,64", "LineTo 96,60,105,60"}},
        {psDiagCross, {"LineTo 96,57,105,64", "LineTo 104,57,95,64"}},
        {psStar,
         {"LineTo 100,57,100,64", "LineTo 96,60,105,60", "LineTo 96,57,105,64",
          "LineTo 104,57,95,64"}},
        {psDiamond, {"Polygon (96,60) (100,57) (104,60) (100,63)"}},
        {psSmallDot, {"SetPixel 100,60"}},
        {psNothing, {}},
        {psLeftTriangle, {"Polygon (96,60) (104,63) (104,57)"}},
        {psRightTriangle, {"Polygon (104,60) (96,63) (96,57)"}},
    };
    for (const auto& c : cases) {
        rec.ClearCalls();
        series->Pointer().DrawPointer(chart->Canvas(), false, 100, 60, 4, 3, clRed, c.Style);
        std::vector<std::string> got;
        for (const auto& call : rec.Calls())
            if (call.Op != "MoveTo") {
                std::string s = call.ToString();
                if (call.Op == "SetPixel") // drop the colour argument
                    s = s.substr(0, s.rfind(','));
                got.push_back(s);
            }
        EXPECT_EQ(got, c.Calls) << "style " << int(c.Style);
    }
}

TEST_F(LineFixture, MarkerPreparationRules) {
    struct Case {
        TColor BrushColor;
        TBrushStyle BrushStyle;
        TColor PenColor;
        bool PenVisible;
        TColor WantBrush;
        TColor WantPen;
        bool WantClearPen;
    };
    const std::vector<Case> cases = {
        {clDefault, bsSolid, clBlack, true, clRed, clBlack, false},
        {clDefault, bsCross, clBlack, true, clBlack, clBlack, false},
        {clLime, bsSolid, clDefault, true, clLime, clRed, false},
        {clDefault, bsSolid, clBlue, false, clRed, clBlue, true},
    };
    TSeriesPointer& p = series->Pointer();
    for (const auto& c : cases) {
        p.Brush().SetColor(c.BrushColor);
        p.Brush().SetStyle(c.BrushStyle);
        p.Pen().SetColor(c.PenColor);
        p.Pen().SetVisible(c.PenVisible);
        p.PrepareCanvas(chart->Canvas(), clRed);
        EXPECT_EQ(chart->Canvas().Brush().Color, c.WantBrush);
        EXPECT_EQ(chart->Canvas().Pen().Style == psClear, c.WantClearPen);
        if (!c.WantClearPen) {
            EXPECT_EQ(chart->Canvas().Pen().Color, c.WantPen);
        }
    }
}

TEST_F(LineFixture, MarginsMakeRoomForVisibleMarkers) {
    int l = 0, r = 0, t = 0, b = 0;
    series->CalcHorizMargins(l, r);
    series->CalcVerticalMargins(t, b);
    EXPECT_EQ((std::vector<int>{l, r, t, b}), (std::vector<int>{0, 0, 0, 0}));
    series->Pointer().SetVisible(true);
    series->Pointer().SetVertSize(6);
    series->CalcHorizMargins(l, r);
    series->CalcVerticalMargins(t, b);
    EXPECT_EQ((std::vector<int>{l, r, t, b}), (std::vector<int>{5, 5, 7, 7}));
    series->Pointer().SetInflateMargins(false);
    l = r = t = b = 0;
    series->CalcHorizMargins(l, r);
    EXPECT_EQ(l + r, 0);
}

TEST_F(LineFixture, ClickedFindsMarkersAndSegments) {
    series->AddXY(1, 10);
    series->AddXY(3, 10);
    series->AddXY(5, 50);
    Draw();
    EXPECT_EQ(series->Clicked(Px(3), Py(10)), 1);      // exactly on a point
    EXPECT_EQ(series->Clicked(Px(2), Py(10)), 0);      // on the first segment
    EXPECT_EQ(series->Clicked(Px(2), Py(10) - 3), -1); // off it, no markers
    series->Pointer().SetVisible(true);
    EXPECT_EQ(series->Clicked(Px(3) + 3, Py(10) - 3), 1); // inside the marker (strict)
    EXPECT_EQ(series->Clicked(Px(3) + 4, Py(10) - 9), -1);
    series->SetClickableLine(false);
    series->Pointer().SetVisible(false);
    EXPECT_EQ(series->Clicked(Px(2), Py(10)), -1);
}

TEST_F(LineFixture, LegendSymbolOfMarkerOnlySeries) {
    series->LinePen().SetVisible(false);
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psCircle);
    rec.ClearCalls();
    // A 6 by 4 symbol: half sizes min(4, 6 / 2 + 1) and min(4, 4 / 2 + 1).
    series->DrawLegendShape(-1, TRect{10, 10, 16, 14});
    const auto circles = rec.CallsOf("Ellipse");
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].Args, (std::vector<int>{13 - 4, 12 - 3, 13 + 4, 12 + 3}));
    EXPECT_TRUE(VisibleLines(rec).empty());
}

// --- reduced drawing of long lines ----------------------------------------------------

struct WalkCase {
    int Points;
    int PenWidth;
    unsigned Seed;
    bool Nulls;
};

// The column-reduced drawing of a random walk sets exactly the pixels of the drawing of
// every segment.
TEST(TLineSeriesReduced, SameImageAsEverySegment) {
    const std::vector<WalkCase> cases = {
        {20000, 1, 1, false}, {20000, 2, 2, false}, {3000, 1, 3, false},
        {3000, 2, 4, false},  {50000, 2, 5, true},  {1500, 1, 6, true},
    };
    for (const WalkCase& c : cases) {
        std::mt19937 rng(c.Seed);
        std::normal_distribution<double> step(0, 3);
        auto chart = MakeStagedChart(640, 300);
        auto* line = new TLineSeries();
        line->LinePen().SetWidth(c.PenWidth);
        line->SetParentChart(chart.get());
        double y = 0;
        for (int i = 0; i < c.Points; ++i) {
            y += step(rng);
            if (c.Nulls && i % 997 == 500)
                line->AddNullXY(i, y);
            else
                line->AddXY(i, y, "", i % 4000 < 2000 ? clRed : clBlue);
        }
        const TRect rect{20, 10, 617, 290}; // 597 px wide
        QtDrawContext full(640, 300);
        QtDrawContext reduced(640, 300);
        full.Image().fill(Qt::white);
        reduced.Image().fill(Qt::white);
        const AxisSetup xs{0, double(c.Points - 1)};
        const AxisSetup ys{line->YValues().MinValue(), line->YValues().MaxValue()};

        line->SetDrawReduced(false);
        StageFlat(*chart, full, rect, xs, ys);
        DrawValuesOf(*line);

        line->SetDrawReduced(true);
        RecordingDrawContext counted(&reduced);
        StageFlat(*chart, counted, rect, xs, ys);
        DrawValuesOf(*line);
        // The reduced path really ran: a few lines per pixel column, not one per point.
        const std::size_t lines = counted.CallsOf("LineTo").size();
        EXPECT_LE(lines, std::size_t(c.Points));
        if (c.Points >= 20000) {
            EXPECT_LT(lines, 4u * 700u); // four per column, plus a few colour and null breaks
        }

        int differing = 0;
        for (int py = 0; py < 300; ++py)
            for (int px = 0; px < 640; ++px)
                if (full.Image().pixel(px, py) != reduced.Image().pixel(px, py))
                    ++differing;
        EXPECT_EQ(differing, 0) << "points " << c.Points << " pen " << c.PenWidth;
        if (c.Seed == 2)
            WritePngFile(TestOutPath("line_reduced_walk.png"), reduced.PngBytes());
    }
}

// Columns whose last point revisits an extreme, or is a new one, at the end of the line
// and just before a null point: the places where a line's left-out end pixel matters.
TEST(TLineSeriesReduced, ColumnEndsMatchEverySegment) {
    const std::vector<std::vector<double>> patterns = {
        {10, 50, 30, 50, 20, 50}, {10, 30, 20, 25, 50}, {50, 10, 30, 50, 50, 50},
        {40, 40, 40, 40, 40},     {30, 10, 50, 20, 10}, {30, 50, 10, 40, 45, 10, 10},
    };
    for (int width : {1, 2}) {
        for (const auto& pattern : patterns) {
            auto chart = MakeStagedChart(640, 300);
            auto* line = new TLineSeries();
            line->LinePen().SetWidth(width);
            line->SetParentChart(chart.get());
            for (int i = 0; i < 1200; ++i) {
                if (i == 600) { // a column group, then a null point
                    for (double y : pattern)
                        line->AddXY(i, y);
                    line->AddNullXY(i + 0.5, 0);
                    continue;
                }
                line->AddXY(i, 40 + 20 * std::sin(i / 30.0));
            }
            for (double y : pattern) // the last column
                line->AddXY(1199, y);
            const TRect rect{20, 10, 617, 290};
            QtDrawContext full(640, 300);
            QtDrawContext reduced(640, 300);
            full.Image().fill(Qt::white);
            reduced.Image().fill(Qt::white);
            line->SetDrawReduced(false);
            StageFlat(*chart, full, rect, {0, 1199}, {0, 60});
            DrawValuesOf(*line);
            line->SetDrawReduced(true);
            StageFlat(*chart, reduced, rect, {0, 1199}, {0, 60});
            DrawValuesOf(*line);
            EXPECT_EQ(full.Image(), reduced.Image())
                << "pen " << width << ", pattern starting " << pattern[0] << "," << pattern[1];
        }
    }
}

// A line of one colour (the slump line) is drawn from each column's lowest and
// highest value; the image stays that of every segment, with integer balances
// that sit on one pixel for long stretches and with the column-end patterns.
TEST(TLineSeriesReduced, OneColourColumnsMatchEverySegment) {
    const std::vector<std::vector<double>> ends = {
        {},
        {10, 50, 30, 50, 20, 50},
        {50, 10, 30, 50, 50, 50},
        {40, 40, 40, 40, 40},
        {30, 50, 10, 40, 45, 10, 10},
        {20, 20, 20, 60, 20, 20},
    };
    int run = 0;
    for (const int width : {1, 2}) {
        for (const bool consecutive : {true, false}) {
            for (const auto& end : ends) {
                std::mt19937 rng(static_cast<unsigned>(11 + run++));
                std::uniform_int_distribution<int> step(-3, 2);
                auto chart = MakeStagedChart(640, 300);
                auto* line = new TLineSeries();
                line->LinePen().SetWidth(width);
                line->SetParentChart(chart.get());
                const int points = 60000;
                double y = 0;
                for (int i = 0; i < points; ++i) {
                    y += i % 5000 < 700 ? 0 : step(rng); // long plateaus too
                    line->AddXY(consecutive ? i : i * 0.5, y, "", clRed);
                }
                const double lastX = consecutive ? points : points * 0.5;
                for (const double v : end)
                    line->AddXY(lastX, v * 10 - 300, "", clRed);
                ASSERT_EQ(line->XValues().Consecutive(), consecutive && end.empty());
                const TRect rect{20, 10, 617, 290};
                QtDrawContext full(640, 300);
                QtDrawContext reduced(640, 300);
                full.Image().fill(Qt::white);
                reduced.Image().fill(Qt::white);
                const AxisSetup xs{0, lastX};
                const AxisSetup ys{line->YValues().MinValue(), line->YValues().MaxValue()};
                line->SetDrawReduced(false);
                StageFlat(*chart, full, rect, xs, ys);
                DrawValuesOf(*line);
                line->SetDrawReduced(true);
                RecordingDrawContext counted(&reduced);
                StageFlat(*chart, counted, rect, xs, ys);
                DrawValuesOf(*line);
                EXPECT_LT(counted.CallsOf("LineTo").size(), 4u * 700u);
                EXPECT_EQ(full.Image(), reduced.Image())
                    << "pen " << width << " consecutive " << consecutive << " end " << end.size();
            }
        }
    }
}

} // namespace

namespace {

// The slump graph as the window sets it up: a red width-2 line, red win circles and black
// loss triangles, drawn through every repaint step.
TEST(TLineSeriesRender, SlumpGraph) {
    auto chart = MakeStagedChart(640, 300);
    chart->Legend().SetVisible(false);
    auto* slump = new TLineSeries();
    slump->SetSeriesColor(clRed);
    slump->LinePen().SetColor(clRed);
    slump->LinePen().SetWidth(2);
    slump->SetShowInLegend(false);
    slump->SetParentChart(chart.get());
    auto* win = new TLineSeries();
    win->SetSeriesColor(clRed);
    win->LinePen().SetVisible(false);
    win->Pointer().SetVisible(true);
    win->Pointer().SetStyle(psCircle);
    win->SetParentChart(chart.get());
    auto* loss = new TLineSeries();
    loss->SetSeriesColor(clBlack);
    loss->Brush().SetColor(clWhite);
    loss->LinePen().SetVisible(false);
    loss->Pointer().SetVisible(true);
    loss->Pointer().SetStyle(psTriangle);
    loss->SetParentChart(chart.get());
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(-12, 10);
    int balls = 0;
    const int plays = 400;
    for (int play = 1; play <= plays; ++play) {
        balls += step(rng);
        if (play % 97 == 0) {
            balls += 1500;
            win->AddXY(play, balls, "", clRed);
        } else if (play % 61 == 0) {
            balls += 400;
            loss->AddXY(play, balls, "", clBlack);
        }
        slump->AddXY(play, balls, "", clRed);
    }
    chart->BottomAxis().SetAutomatic(false);
    chart->BottomAxis().SetMaximum(plays);
    chart->BottomAxis().SetMinimum(1);
    auto image = RenderChart(*chart, "series_slump_graph.png");
    // A win circle: red inside, its black outline 4 px to the left of the centre.
    const int x = win->CalcXPos(0);
    const int y = win->CalcYPos(0);
    EXPECT_EQ(image->Image().pixel(x + 1, y + 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image->Image().pixel(x - 4, y) & 0xFFFFFF, 0x000000u);
    // A loss triangle: black.
    const int tx = loss->CalcXPos(0);
    const int ty = loss->CalcYPos(0);
    EXPECT_EQ(image->Image().pixel(tx, ty + 2) & 0xFFFFFF, 0x000000u);
}

} // namespace
