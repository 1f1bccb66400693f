#include "ChartPanelTestSupport.h"

#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "platform/SystemColors.h"

#include "platform/ControlHost.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

struct Range {
    double Min;
    double Max;
    bool Automatic;
};

Range Of(const TChartAxis& a) {
    return {a.Minimum(), a.Maximum(), a.Automatic()};
}

// A flat chart with a 0..100 diagonal, drawn once so the axes know their pixels.
std::unique_ptr<TChart> ZoomChart() {
    auto chart = MakeFlatChart(500, 300);
    chart->Legend().SetVisible(false);
    TChartSeries* s = AddTestSeries(*chart);
    for (int i = 0; i <= 100; ++i)
        s->AddXY(i, i);
    DrawRecorded(*chart);
    return chart;
}

void Drag(TChart& chart, TMouseButton button, int x0, int y0, int x1, int y1) {
    chart.MouseDown(button, 0, x0, y0);
    chart.MouseMove(0, (x0 + x1) / 2, (y0 + y1) / 2);
    chart.MouseMove(0, x1, y1);
    chart.MouseUp(button, 0, x1, y1);
}

} // namespace

TEST(TCustomChartZoom, SmallDragDoesNothing) {
    auto chart = ZoomChart();
    const TRect r = chart->ChartRect;
    const int requests = chart->RepaintRequestCount();
    Drag(*chart, mbLeft, r.Left + 50, r.Top + 50, r.Left + 70, r.Top + 60);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_FALSE(chart->Zoom().Active);
    EXPECT_TRUE(chart->BottomAxis().Automatic());
    EXPECT_TRUE(chart->LeftAxis().Automatic());
    EXPECT_EQ(chart->RepaintRequestCount(), requests);
    // Exactly the limit does not exceed it.
    Drag(*chart, mbLeft, r.Left + 50, r.Top + 50, r.Left + 66, r.Top + 90);
    EXPECT_FALSE(chart->Zoomed());
    // 17 pixels both ways passes the default limit of 16.
    Drag(*chart, mbLeft, r.Left + 50, r.Top + 50, r.Left + 67, r.Top + 67);
    EXPECT_TRUE(chart->Zoomed());
}

TEST(TCustomChartZoom, ZoomToTheDraggedRectangle) {
    auto chart = ZoomChart();
    const TRect r = chart->ChartRect;
    const int x0 = r.Left + 40, y0 = r.Top + 30, x1 = r.Left + 200, y1 = r.Top + 150;
    const double bMin = chart->BottomAxis().CalcPosPoint(x0);
    const double bMax = chart->BottomAxis().CalcPosPoint(x1);
    const double lMin = chart->LeftAxis().CalcPosPoint(y1);
    const double lMax = chart->LeftAxis().CalcPosPoint(y0);
    Drag(*chart, mbLeft, x0, y0, x1, y1);
    EXPECT_TRUE(chart->Zoomed());
    EXPECT_DOUBLE_EQ(chart->BottomAxis().Minimum(), bMin);
    EXPECT_DOUBLE_EQ(chart->BottomAxis().Maximum(), bMax);
    EXPECT_DOUBLE_EQ(chart->LeftAxis().Minimum(), lMin);
    EXPECT_DOUBLE_EQ(chart->LeftAxis().Maximum(), lMax);
    EXPECT_FALSE(chart->BottomAxis().Automatic());
    EXPECT_FALSE(chart->LeftAxis().Automatic());
}

TEST(TCustomChartZoom, TwoZoomsAndOneUndoReturnToTheFirstView) {
    auto chart = ZoomChart();
    const Range bottom = Of(chart->BottomAxis());
    const Range left = Of(chart->LeftAxis());
    TRect r = chart->ChartRect;
    Drag(*chart, mbLeft, r.Left + 40, r.Top + 30, r.Left + 200, r.Top + 150);
    const Range firstZoom = Of(chart->BottomAxis());
    DrawRecorded(*chart);
    r = chart->ChartRect;
    Drag(*chart, mbLeft, r.Left + 20, r.Top + 20, r.Left + 120, r.Top + 100);
    EXPECT_NE(chart->BottomAxis().Minimum(), firstZoom.Min);
    DrawRecorded(*chart);
    r = chart->ChartRect;
    // Toward the upper left: undo.
    Drag(*chart, mbLeft, r.Left + 150, r.Top + 150, r.Left + 100, r.Top + 100);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_TRUE(chart->RestoredAxisScales());
    EXPECT_EQ(chart->BottomAxis().Automatic(), bottom.Automatic);
    EXPECT_TRUE(chart->BottomAxis().AutomaticMinimum());
    EXPECT_TRUE(chart->LeftAxis().Automatic());
    // Automatic ends follow the data again at the next paint.
    DrawRecorded(*chart);
    EXPECT_DOUBLE_EQ(chart->BottomAxis().Minimum(), bottom.Min);
    EXPECT_DOUBLE_EQ(chart->BottomAxis().Maximum(), bottom.Max);
    EXPECT_DOUBLE_EQ(chart->LeftAxis().Maximum(), left.Max);
}

TEST(TCustomChartZoom, UndoRestoresFixedRangesSetByTheProgram) {
    auto chart = ZoomChart();
    chart->BottomAxis().SetAutomatic(false);
    chart->BottomAxis().SetMinimum(1);
    chart->BottomAxis().SetMaximum(24);
    DrawRecorded(*chart);
    const TRect r = chart->ChartRect;
    Drag(*chart, mbLeft, r.Left + 40, r.Top + 30, r.Left + 200, r.Top + 150);
    chart->UndoZoom();
    EXPECT_FALSE(chart->BottomAxis().Automatic());
    EXPECT_DOUBLE_EQ(chart->BottomAxis().Minimum(), 1);
    EXPECT_DOUBLE_EQ(chart->BottomAxis().Maximum(), 24);
}

TEST(TCustomChartZoom, AnimatedZoomPaintsIntermediateFramesSynchronously) {
    struct Case {
        bool animated;
        int steps;
        int frames;
    };
    for (const Case c : {Case{true, 8, 7}, Case{true, 1, 0}, Case{true, 0, 0}, Case{false, 8, 0},
                         Case{true, 3, 2}}) {
        auto chart = ZoomChart();
        chart->Zoom().SetAnimated(c.animated);
        chart->Zoom().SetAnimatedSteps(c.steps);
        const TRect r = chart->ChartRect;
        std::vector<double> minima;
        chart->OnBeforeDrawSeries = [&] { minima.push_back(chart->BottomAxis().Minimum()); };
        const double target = chart->BottomAxis().CalcPosPoint(r.Left + 100);
        const double start = chart->BottomAxis().Minimum();
        const int draws = chart->DrawCount();
        Drag(*chart, mbLeft, r.Left + 100, r.Top + 30, r.Left + 300, r.Top + 150);
        EXPECT_EQ(chart->DrawCount() - draws, c.frames) << c.steps;
        ASSERT_EQ(static_cast<int>(minima.size()), c.frames);
        // Each frame goes a third of the remaining way.
        double expected = start;
        for (double m : minima) {
            expected += (target - expected) / 3.0;
            EXPECT_NEAR(m, expected, 1e-9);
        }
        EXPECT_DOUBLE_EQ(chart->BottomAxis().Minimum(), target);
    }
}

TEST(TCustomChartZoom, RightDragOfTenPercentMovesTheRangeByTenPercent) {
    auto chart = ZoomChart();
    const TChartAxis& bottom = chart->BottomAxis();
    const Range before = Of(bottom);
    const Range left = Of(chart->LeftAxis());
    const int dx = bottom.IAxisSize() / 10;
    const double expected = dx * bottom.IRange() / bottom.IAxisSize();
    const TRect r = chart->ChartRect;
    const int x = r.Left + 300;
    const int y = r.Top + 100;
    chart->MouseDown(mbRight, 0, x, y);
    EXPECT_TRUE(chart->Panning().Active);
    chart->MouseMove(0, x - dx, y);
    chart->MouseUp(mbRight, 0, x - dx, y);
    EXPECT_FALSE(chart->Panning().Active);
    EXPECT_NEAR(bottom.Minimum() - before.Min, expected, 1e-9);
    EXPECT_NEAR(bottom.Maximum() - before.Max, expected, 1e-9);
    EXPECT_NEAR(expected / (before.Max - before.Min), 0.1, 0.01);
    EXPECT_FALSE(bottom.Automatic());
    EXPECT_DOUBLE_EQ(chart->LeftAxis().Minimum(), left.Min) << "no vertical move";
    EXPECT_TRUE(chart->LeftAxis().Automatic());
    // Scales were saved by the pan: undo brings the automatic range back.
    chart->UndoZoom();
    EXPECT_TRUE(bottom.Automatic());
}

TEST(TCustomChartZoom, PanningStopsWhenLeavingThePlottingArea) {
    auto chart = ZoomChart();
    const TRect r = chart->ChartRect;
    chart->MouseDown(mbRight, 0, r.Left + 100, r.Top + 50);
    chart->MouseMove(0, r.Left + 90, r.Top + 50);
    const double moved = chart->BottomAxis().Minimum();
    chart->MouseMove(0, r.Right + 5, r.Top + 50);
    EXPECT_FALSE(chart->Panning().Active);
    chart->MouseMove(0, r.Left + 10, r.Top + 50);
    EXPECT_DOUBLE_EQ(chart->BottomAxis().Minimum(), moved);
}

TEST(TCustomChartZoom, PieChartStartsNoDrag) {
    auto chart = MakeFlatChart();
    AddTestSeries<NoAxisTestSeries>(*chart)->AddXY(0, 5);
    chart->Legend().SetVisible(false);
    DrawRecorded(*chart);
    const TRect r = chart->ChartRect;
    for (TMouseButton b : {mbLeft, mbRight}) {
        chart->MouseDown(b, 0, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        EXPECT_FALSE(chart->Zoom().Active);
        EXPECT_FALSE(chart->Panning().Active);
        chart->MouseUp(b, 0, r.Right - 2, r.Bottom - 2);
    }
    EXPECT_FALSE(chart->Zoomed());
}

TEST(TCustomChartZoom, OutsideThePlottingAreaStartsNoDrag) {
    auto chart = ZoomChart();
    chart->MouseDown(mbLeft, 0, 2, 2);
    EXPECT_FALSE(chart->Zoom().Active);
    EXPECT_EQ(chart->CalcClickedPart(2, 2).Part, cpNone);
    const TRect r = chart->ChartRect;
    EXPECT_EQ(chart->CalcClickedPart(r.Left + 50, r.Top + 50).Part, cpChartRect);
}

TEST(TCustomChartZoom, RubberBandIsDrawnInNotXorWithTheInvertedBackColour) {
    auto chart = ZoomChart();
    // Buffered, as on screen: the band goes into the buffer between paints.
    chart->Canvas().SetUseBuffer(true);
    RecordingDrawContext target(500, 300);
    chart->Draw(target, chart->GetClientRect());
    auto* rec = dynamic_cast<RecordingDrawContext*>(chart->Canvas().Bitmap());
    ASSERT_NE(rec, nullptr);
    rec->ClearCalls();
    const TRect r = chart->ChartRect;
    chart->MouseDown(mbLeft, 0, r.Left + 10, r.Top + 10);
    chart->MouseMove(0, r.Left + 60, r.Top + 40);
    std::vector<TDrawCall> bands = rec->CallsOf("Rectangle");
    // Drawn at the start, erased and drawn again at the new corner.
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].Args, (std::vector<int>{r.Left + 10, r.Top + 10, r.Left + 10, r.Top + 10}));
    EXPECT_EQ(bands[1].Args, bands[0].Args);
    EXPECT_EQ(bands[2].Args, (std::vector<int>{r.Left + 10, r.Top + 10, r.Left + 60, r.Top + 40}));
    // White pen xor (white - button face), as the back wall is transparent.
    const TColor expected = 0xFFFFFF ^ (0xFFFFFF - ColorToRGB(clBtnFace));
    for (const TDrawCall& c : bands) {
        EXPECT_EQ(c.Pen.Mode, pmNotXor);
        EXPECT_EQ(c.Pen.Color, expected);
        EXPECT_EQ(c.Brush.Style, bsClear);
    }
    chart->Zoom().Pen().SetColor(clBlack);
    chart->SetColor(clWhite);
    rec->ClearCalls();
    chart->MouseMove(0, r.Left + 70, r.Top + 50);
    bands = rec->CallsOf("Rectangle");
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[1].Pen.Color, clBlack);
    chart->MouseUp(mbLeft, 0, r.Left + 70, r.Top + 50);
    EXPECT_FALSE(chart->Zoom().Active);
}

TEST(TCustomChartZoom, DirectionFixesTheOtherSide) {
    auto chart = ZoomChart();
    chart->Zoom().SetDirection(tzdHorizontal);
    const TRect r = chart->ChartRect;
    chart->MouseDown(mbLeft, 0, r.Left + 40, r.Top + 80);
    EXPECT_EQ(chart->Zoom().Y0, r.Top);
    EXPECT_EQ(chart->Zoom().Y1, r.Bottom);
    const double leftMax = chart->LeftAxis().Maximum();
    chart->MouseUp(mbLeft, 0, r.Left + 200, r.Top + 90);
    EXPECT_TRUE(chart->Zoomed());
    EXPECT_NEAR(chart->LeftAxis().Maximum(), leftMax, 1e-9) << "full height kept";
}

TEST(TCustomChartZoom, WheelScrollsTheVerticalAxesByThreePercent) {
    auto chart = ZoomChart();
    const Range left = Of(chart->LeftAxis());
    const Range bottom = Of(chart->BottomAxis());
    const double step = 0.03 * (left.Max - left.Min);
    chart->MouseWheel(-120, 0, 100, 100);
    EXPECT_NEAR(chart->LeftAxis().Minimum(), left.Min + step, 1e-9);
    EXPECT_NEAR(chart->LeftAxis().Maximum(), left.Max + step, 1e-9);
    EXPECT_DOUBLE_EQ(chart->BottomAxis().Minimum(), bottom.Min);
    chart->MouseWheel(120, 0, 100, 100);
    EXPECT_NEAR(chart->LeftAxis().Minimum(), left.Min + step - 0.03 * (left.Max - left.Min), 1e-9);
    ChartUseMouseWheel = false;
    const double now = chart->LeftAxis().Minimum();
    chart->MouseWheel(-120, 0, 100, 100);
    ChartUseMouseWheel = true;
    EXPECT_DOUBLE_EQ(chart->LeftAxis().Minimum(), now);
}

TEST(TCustomChartZoom, HostedChartShowsAndErasesTheBand) {
    QWidget window;
    window.resize(520, 320);
    TChart chart(&window);
    chart.SetBounds(0, 0, 500, 300);
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    chart.Zoom().Pen().SetColor(clBlack);
    chart.Legend().SetVisible(false);
    TChartSeries* s = AddTestSeries(chart);
    s->AddXY(0, 0);
    s->AddXY(100, 100);
    window.show();
    QApplication::processEvents();
    QWidget* widget = chart.Host()->Widget();
    const QImage& image = static_cast<ControlHost*>(chart.Host())->Image();
    const TRect r = chart.ChartRect;
    const QPoint start(r.Left + 40, r.Top + 40);
    const QPoint end(r.Left + 50, r.Top + 52); // below the minimum: no zoom
    const QPoint probe(r.Left + 45, r.Top + 40);
    ASSERT_EQ(QColor(image.pixel(probe)), QColor(255, 255, 255));

    QMouseEvent press(QEvent::MouseButtonPress, start, widget->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent move(QEvent::MouseMove, end, widget->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QApplication::processEvents();
    EXPECT_TRUE(chart.Zoom().Active);
    EXPECT_EQ(QColor(image.pixel(probe)), QColor(0, 0, 0)) << "band inverts the white plot";

    QMouseEvent release(QEvent::MouseButtonRelease, end, widget->mapToGlobal(end), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    QApplication::processEvents();
    EXPECT_FALSE(chart.Zoom().Active);
    EXPECT_FALSE(chart.Zoomed());
    EXPECT_EQ(QColor(image.pixel(probe)), QColor(255, 255, 255)) << "drawn twice, the band is gone";
}
