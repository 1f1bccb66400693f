// Zoom, undo and scroll with the mouse on the window's own charts after a
// real run.

#include "WindowFixture.h"
#include "chart/Chart.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/Series.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

struct Range {
    double min, max;
};

Range Current(const TChartAxis& axis) {
    return {axis.CurrentMinimum(), axis.CurrentMaximum()};
}

void Drag(TChart& chart, TMouseButton button, int x0, int y0, int x1, int y1) {
    chart.MouseDown(button, 0, x0, y0);
    chart.MouseMove(0, (x0 + x1) / 2, (y0 + y1) / 2);
    chart.MouseMove(0, x1, y1);
    chart.MouseUp(button, 0, x1, y1);
}

} // namespace

class ChartInteractionTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        FastRun(3000, 5);
        chart().Repaint();
        rect = chart().ChartRect;
        ASSERT_GT(rect.Right - rect.Left, 200);
        ASSERT_GT(rect.Bottom - rect.Top, 80);
        bottom0 = Current(chart().BottomAxis());
        left0 = Current(chart().LeftAxis());
    }
    TChart& chart() { return *form->SlumpChart; }
    int cx() const { return (rect.Left + rect.Right) / 2; }
    int cy() const { return (rect.Top + rect.Bottom) / 2; }

    void ExpectFirstView() {
        chart().Repaint();
        const Range b = Current(chart().BottomAxis());
        const Range l = Current(chart().LeftAxis());
        EXPECT_DOUBLE_EQ(b.min, bottom0.min);
        EXPECT_DOUBLE_EQ(b.max, bottom0.max);
        EXPECT_DOUBLE_EQ(l.min, left0.min);
        EXPECT_DOUBLE_EQ(l.max, left0.max);
    }

    TRect rect{};
    Range bottom0{}, left0{};
};

TEST_F(ChartInteractionTest, TheSlumpGraphStartsAtTheWholeRun) {
    EXPECT_DOUBLE_EQ(bottom0.min, 1);
    EXPECT_DOUBLE_EQ(bottom0.max, 3000);
    EXPECT_TRUE(chart().LeftAxis().Automatic());
}

TEST_F(ChartInteractionTest, DragsNotExceedingTheMinimumInBothDirectionsDoNothing) {
    const std::pair<int, int> drags[] = {{20, 10}, {10, 20}, {16, 40}, {40, 16}};
    for (const auto& [dx, dy] : drags) {
        Drag(chart(), mbLeft, cx(), cy(), cx() + dx, cy() + dy);
        EXPECT_FALSE(chart().Zoomed()) << dx << "x" << dy;
        ExpectFirstView();
    }
}

TEST_F(ChartInteractionTest, AZoomNarrowsBothAxesToTheDraggedRectangle) {
    const int x0 = rect.Left + 40, x1 = rect.Left + 140, y0 = rect.Top + 20, y1 = rect.Top + 60;
    const double bMin = chart().BottomAxis().CalcPosPoint(x0);
    const double bMax = chart().BottomAxis().CalcPosPoint(x1);
    const double lMax = chart().LeftAxis().CalcPosPoint(y0);
    const double lMin = chart().LeftAxis().CalcPosPoint(y1);
    Drag(chart(), mbLeft, x0, y0, x1, y1);
    EXPECT_TRUE(chart().Zoomed());
    EXPECT_DOUBLE_EQ(chart().BottomAxis().Minimum(), bMin);
    EXPECT_DOUBLE_EQ(chart().BottomAxis().Maximum(), bMax);
    EXPECT_DOUBLE_EQ(chart().LeftAxis().Minimum(), lMin);
    EXPECT_DOUBLE_EQ(chart().LeftAxis().Maximum(), lMax);
    EXPECT_FALSE(chart().LeftAxis().Automatic());
}

TEST_F(ChartInteractionTest, TwoZoomsAndOneUndoReturnToTheFirstView) {
    Drag(chart(), mbLeft, rect.Left + 20, rect.Top + 10, rect.Right - 30, rect.Bottom - 20);
    chart().Repaint();
    const Range afterFirst = Current(chart().BottomAxis());
    EXPECT_GT(afterFirst.min, bottom0.min);
    Drag(chart(), mbLeft, rect.Left + 30, rect.Top + 20, rect.Right - 40, rect.Bottom - 30);
    chart().Repaint();
    EXPECT_GT(Current(chart().BottomAxis()).min, afterFirst.min);
    // Toward the upper left undoes.
    Drag(chart(), mbLeft, cx() + 40, cy() + 30, cx() - 40, cy() - 30);
    EXPECT_FALSE(chart().Zoomed());
    EXPECT_TRUE(chart().LeftAxis().Automatic());
    EXPECT_FALSE(chart().BottomAxis().Automatic());
    ExpectFirstView();
}

TEST_F(ChartInteractionTest, AnAnimatedZoomPaintsSevenFramesBetweenTheViews) {
    std::vector<Range> frames;
    chart().OnAfterDraw = [&] { frames.push_back(Current(chart().BottomAxis())); };
    Drag(chart(), mbLeft, rect.Left + 50, rect.Top + 10, rect.Left + 150, rect.Bottom - 10);
    chart().OnAfterDraw = nullptr;
    chart().Repaint();
    const Range target = Current(chart().BottomAxis());
    int between = 0;
    double lastMin = bottom0.min;
    for (const Range& f : frames) {
        const bool atStart = f.min == bottom0.min && f.max == bottom0.max;
        const bool atTarget = f.min == target.min && f.max == target.max;
        if (!atStart && !atTarget) {
            ++between;
            EXPECT_GT(f.min, lastMin); // each frame closer to the target
            EXPECT_LT(f.min, target.min);
            lastMin = f.min;
        }
    }
    EXPECT_EQ(between, 7);
}

TEST_F(ChartInteractionTest, ARightDragOfATenthOfTheAxisMovesItsRangeByATenth) {
    const TChartAxis& axis = chart().BottomAxis();
    const int size = axis.IEndPos() - axis.IStartPos();
    const int dx = static_cast<int>(std::lround(size * 0.1));
    const double width = bottom0.max - bottom0.min;
    const double perPixel = width / size;
    chart().MouseDown(mbRight, 0, cx() + dx, cy());
    chart().MouseMove(0, cx(), cy());
    chart().MouseUp(mbRight, 0, cx(), cy());
    chart().Repaint();
    const Range moved = Current(chart().BottomAxis());
    EXPECT_NEAR(moved.min - bottom0.min, 0.1 * width, perPixel);
    EXPECT_NEAR(moved.max - bottom0.max, 0.1 * width, perPixel);
    EXPECT_NEAR(moved.max - moved.min, width, 1e-9 * width);
    EXPECT_FALSE(chart().Zoomed());
}

TEST_F(ChartInteractionTest, PanningStopsWhereTheMouseLeavesThePlottingArea) {
    chart().MouseDown(mbRight, 0, cx(), cy());
    chart().MouseMove(0, cx() - 20, cy());
    chart().Repaint();
    const Range afterMove = Current(chart().BottomAxis());
    EXPECT_GT(afterMove.min, bottom0.min);
    chart().MouseMove(0, cx() - 30, rect.Bottom + 10); // below the plotting area
    chart().MouseMove(0, cx() - 60, cy());
    chart().MouseUp(mbRight, 0, cx() - 60, cy());
    chart().Repaint();
    EXPECT_DOUBLE_EQ(Current(chart().BottomAxis()).min, afterMove.min);
}

TEST_F(ChartInteractionTest, ThePieIgnoresDragsOfEitherButton) {
    TChart& pie = *form->KeizokuChart;
    ASSERT_GT(form->Charts().KeizokuSeries()->Count(), 0);
    pie.Repaint();
    const int draws = pie.DrawCount();
    for (TMouseButton button : {mbLeft, mbRight}) {
        Drag(pie, button, 40, 30, 200, 150);
        Drag(pie, button, 200, 150, 40, 30);
    }
    EXPECT_FALSE(pie.Zoomed());
    EXPECT_TRUE(pie.RestoredAxisScales());
    EXPECT_EQ(pie.DrawCount(), draws);
    EXPECT_FALSE(pie.Zoom().Active);
    EXPECT_FALSE(pie.Panning().Active);
}

TEST_F(ChartInteractionTest, TheFirstHitChartZoomsWithItsDefaults) {
    TChart& bars = *form->SlumpChart2;
    bars.Repaint();
    const TRect r = bars.ChartRect;
    const Range before = Current(bars.BottomAxis());
    Drag(bars, mbLeft, r.Left + 20, r.Top + 5, r.Left + 60, r.Bottom - 5);
    EXPECT_TRUE(bars.Zoomed());
    bars.Repaint();
    EXPECT_GT(Current(bars.BottomAxis()).min, before.min);
}
