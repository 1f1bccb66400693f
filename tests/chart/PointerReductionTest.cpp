// Marker series with many points leave out markers that would repaint the same pixels
// (the same marker again, nothing painted in between) and markers wholly outside the
// clipped plotting area; the picture must not change by a single pixel.

#include "SeriesTestSupport.h"

#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/Series.h"
#include "platform/QtDrawContext.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string ShapeOp(TSeriesPointerStyle style) {
    return style == psCircle ? "Ellipse" : "Polygon";
}

int CountOf(const RecordingDrawContext& rec, const std::string& op) {
    return static_cast<int>(rec.CallsOf(op).size());
}

// --- exact counts on the recording context, no clipping -----------------------------

struct RepeatCase {
    const char* Name;
    bool LineVisible;
    TPenMode PointerPenMode;
    // Index pattern of positions: runs of one position, or alternating positions.
    bool Alternate;
    // Every other point of a run gets another colour.
    bool MixColours;
    int ExpectedReduced;
};

// 100 positions (3 px apart), each repeated 5 times: 500 points over a 300 px chart.
constexpr int Runs = 100;
constexpr int Repeat = 5;

class RepeatedMarkers : public ::testing::TestWithParam<RepeatCase> {};

TEST_P(RepeatedMarkers, DrawsOnlyMarkersThatChangePixels) {
    const RepeatCase& c = GetParam();
    for (TSeriesPointerStyle style : {psCircle, psTriangle}) {
        int drawn[2] = {0, 0};
        for (bool reduced : {false, true}) {
            auto chart = MakeStagedChart(400, 300);
            RecordingDrawContext rec{400, 300};
            auto* series = new TLineSeries();
            series->SetParentChart(chart.get());
            series->SetSeriesColor(clRed);
            series->LinePen().SetVisible(c.LineVisible);
            series->Pointer().SetVisible(true);
            series->Pointer().SetStyle(style);
            series->Pointer().Pen().SetMode(c.PointerPenMode);
            series->SetDrawPointersReduced(reduced);
            series->XValues().SetOrder(loNone); // keeps alternating positions apart
            for (int i = 0; i < Runs * Repeat; ++i) {
                const int k = c.Alternate ? (i % 2) * 50 + i / (2 * Repeat) % 50 : i / Repeat;
                const TColor colour = c.MixColours && i % 2 == 1 ? clBlue : clRed;
                series->AddXY(k, 10 + k % 7 * 10, "", colour);
            }
            StageFlat(*chart, rec, TRect{50, 20, 350, 220}, {0, Runs}, {0, 100});
            rec.ClearCalls();
            DrawValuesOf(*series);
            drawn[reduced] = CountOf(rec, ShapeOp(style));
        }
        EXPECT_EQ(drawn[0], Runs * Repeat) << c.Name << " style " << style;
        EXPECT_EQ(drawn[1], c.ExpectedReduced) << c.Name << " style " << style;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RepeatedMarkers,
    ::testing::Values(
        // Hidden line: one marker per run of equal positions.
        RepeatCase{"HiddenLine", false, pmCopy, false, false, Runs},
        // A visible line paints nothing between equal positions, but the segment
        // leaving a run comes before that run's last marker, which is drawn again.
        RepeatCase{"VisibleLine", true, pmCopy, false, false, 2 * Runs - 1},
        // Alternating positions: never the same marker twice in a row.
        RepeatCase{"Alternating", false, pmCopy, true, false, Runs* Repeat},
        // Colour changes at every point: every marker differs from the one before.
        RepeatCase{"ColourChanges", false, pmCopy, false, true, Runs* Repeat},
        // An xor pen undoes itself when painted twice: nothing may be left out.
        RepeatCase{"XorPen", false, pmXor, false, false, Runs* Repeat}),
    [](const auto& info) { return std::string(info.param.Name); });

// Few points (not more than the chart is wide) are drawn as they come.
TEST(RepeatedMarkers, FewPointsDrawEveryMarker) {
    auto chart = MakeStagedChart(400, 300);
    RecordingDrawContext rec{400, 300};
    auto* series = new TLineSeries();
    series->SetParentChart(chart.get());
    series->LinePen().SetVisible(false);
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psCircle);
    for (int i = 0; i < 40; ++i)
        series->AddXY(5, 50);
    StageFlat(*chart, rec, TRect{50, 20, 350, 220}, {0, 10}, {0, 100});
    rec.ClearCalls();
    DrawValuesOf(*series);
    EXPECT_EQ(CountOf(rec, "Ellipse"), 40);
}

// --- whole charts, clipped, pixel for pixel ------------------------------------------

struct PixelCase {
    const char* Name;
    TSeriesPointerStyle Style;
    bool LineVisible;
    bool ClipPoints;
    // Markers of mixed colours in threes along the top and bottom edges instead of one
    // dense walk: a marker wrongly left out there shows as another colour.
    bool HugEdges = false;
};

// A dense random walk of 8,000 markers whose range overshoots both axes, so markers
// repeat, straddle every edge of the plotting area and lie wholly outside it.
std::unique_ptr<TChart> DenseMarkerChart(const PixelCase& c, bool reduced) {
    auto chart = MakeStagedChart(420, 300);
    chart->SetColor(clWhite);
    chart->SetClipPoints(c.ClipPoints);
    chart->Legend().SetVisible(false);
    auto* series = new TLineSeries();
    series->SetParentChart(chart.get());
    series->SetSeriesColor(clBlack);
    series->LinePen().SetVisible(c.LineVisible);
    series->LinePen().SetWidth(1);
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(c.Style);
    series->Pointer().Pen().SetWidth(1);
    series->SetDrawPointersReduced(reduced);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> step(-1, 1);
    std::uniform_int_distribution<int> hundred(0, 99);
    if (c.HugEdges) {
        const TColor colours[] = {clRed, clBlue, clGreen, clBlack};
        for (int i = 0; i < 8000; i += 3) {
            const double edge = i % 2 == 0 ? 15 : -15;
            const double y = edge + (hundred(random) - 50) / 25.0;
            const TColor colour = colours[hundred(random) % 4];
            for (int k = 0; k < 3; ++k)
                series->AddXY(i * 0.05, y, "", colour);
        }
    } else {
        double y = 0;
        for (int i = 0; i < 8000; ++i) {
            if (hundred(random) < 30)
                y += step(random) * 0.7;
            const TColor colour = hundred(random) < 3 ? clRed : clBlack;
            series->AddXY(i * 0.05, y, "", colour);
        }
    }
    chart->BottomAxis().SetMinMax(60, 340);
    chart->LeftAxis().SetMinMax(-15, 15);
    return chart;
}

class DenseMarkers : public ::testing::TestWithParam<PixelCase> {};

TEST_P(DenseMarkers, ReducedDrawingPaintsTheSamePixels) {
    const PixelCase& c = GetParam();
    auto full = DenseMarkerChart(c, false);
    auto reduced = DenseMarkerChart(c, true);
    const std::string name = std::string("pointer_reduction_") + c.Name;
    auto fullImage = RenderChart(*full, name + "_full.png");
    auto reducedImage = RenderChart(*reduced, name + "_reduced.png");
    const QImage& a = fullImage->Image();
    const QImage& b = reducedImage->Image();
    ASSERT_EQ(a.size(), b.size());
    int differing = 0;
    for (int py = 0; py < a.height(); ++py)
        for (int px = 0; px < a.width(); ++px)
            if (a.pixel(px, py) != b.pixel(px, py))
                ++differing;
    EXPECT_EQ(differing, 0) << c.Name;

    // The comparison means something only if markers were left out.
    RecordingDrawContext fullRec{420, 300};
    RecordingDrawContext reducedRec{420, 300};
    full->Canvas().SetUseBuffer(false);
    reduced->Canvas().SetUseBuffer(false);
    full->Draw(fullRec, full->GetClientRect());
    reduced->Draw(reducedRec, reduced->GetClientRect());
    const std::string op = ShapeOp(c.Style);
    EXPECT_LT(CountOf(reducedRec, op), CountOf(fullRec, op) * 3 / 4) << c.Name;
    EXPECT_GT(CountOf(reducedRec, op), 0) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DenseMarkers,
    ::testing::Values(PixelCase{"Circles", psCircle, false, true},
                      PixelCase{"Triangles", psTriangle, false, true},
                      PixelCase{"CirclesOnLine", psCircle, true, true},
                      PixelCase{"TrianglesUnclipped", psTriangle, false, false},
                      PixelCase{"CirclesOnEdges", psCircle, false, true, true},
                      PixelCase{"TrianglesOnEdges", psTriangle, false, true, true}),
    [](const auto& info) { return std::string(info.param.Name); });

// With the clip in force, markers wholly above or below the plotting area are not drawn,
// every one on the axis range is.
TEST(ClippedMarkers, OnlyMarkersReachingThePlottingAreaAreDrawn) {
    auto chart = MakeStagedChart(420, 300);
    chart->Legend().SetVisible(false);
    auto* series = new TLineSeries();
    series->SetParentChart(chart.get());
    series->LinePen().SetVisible(false);
    series->Pointer().SetVisible(true);
    series->Pointer().SetStyle(psCircle);
    // 1,000 points in x order alternating far above, far below and on the axis range.
    for (int i = 0; i < 1000; ++i)
        series->AddXY(i, i % 3 == 0 ? 50 : (i % 3 == 1 ? 500 : -500));
    chart->BottomAxis().SetMinMax(0, 999);
    chart->LeftAxis().SetMinMax(0, 100);
    RecordingDrawContext rec{420, 300};
    chart->Canvas().SetUseBuffer(false);
    chart->Draw(rec, chart->GetClientRect());
    const auto circles = rec.CallsOf("Ellipse");
    ASSERT_EQ(circles.size(), 334u);
    const TRect& r = chart->ChartRect;
    for (const auto& e : circles) {
        EXPECT_GE(e.Args[3], r.Top);
        EXPECT_LE(e.Args[1], r.Bottom);
    }
}

} // namespace
