#include "ChartPanelTestSupport.h"

#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TView3DOptions.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartPanel/ChartException.h"
#include "platform/SystemColors.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

TEST(TCustomChartPanel, Chart3DPercentOutsideRangeIsRefusedAndKept) {
    TChart chart(nullptr);
    chart.SetChart3DPercent(45);
    for (int bad : {0, -5, 101}) {
        try {
            chart.SetChart3DPercent(bad);
            FAIL() << bad << " was accepted";
        } catch (const ChartException& e) {
            EXPECT_STREQ(e.what(), "3D effect percent must be between 1 and 100");
        }
        EXPECT_EQ(chart.Chart3DPercent(), 45);
    }
    chart.SetChart3DPercent(1);
    chart.SetChart3DPercent(100);
    EXPECT_EQ(chart.Chart3DPercent(), 100);
}

TEST(TCustomChartPanel, DepthFromChartWidthPercentAndOrthoAngle) {
    struct Case {
        bool view3D;
        bool orthogonal;
        int orthoAngle;
        int percent;
        int chartWidth;
        int slotCount;
        int width3D;
        int height3D;
    };
    const Case cases[] = {
        {true, false, 45, 45, 200, 1, 18, 18}, // round(200 * 45 * 0.002)
        {true, true, 45, 15, 200, 1, 3, 3},    // orthogonal: factor 0.001, ratio tan 45
        {true, true, 60, 15, 400, 1, 3, 5},    // 6 / tan 60 = 3.46 -> 3; height round(3 * 1.732)
        {true, true, 135, 15, 400, 1, 6, 6},   // 135 counts as 45
        {true, true, 30, 50, 200, 1, 10, 6},   // ratio below 1 keeps the depth
        {true, false, 45, 45, 200, 3, 18, 18}, // three slots
        {false, false, 45, 45, 200, 1, 0, 0},
    };
    for (const Case& c : cases) {
        TChart chart(nullptr);
        chart.SetView3D(c.view3D);
        chart.View3DOptions().SetOrthogonal(c.orthogonal);
        chart.View3DOptions().SetOrthoAngle(c.orthoAngle);
        chart.SetChart3DPercent(c.percent);
        chart.ChartWidth = c.chartWidth;
        chart.CalcSize3D(c.slotCount);
        EXPECT_EQ(chart.Width3D, c.width3D) << c.orthoAngle << " " << c.chartWidth;
        EXPECT_EQ(chart.Height3D, c.height3D) << c.orthoAngle << " " << c.chartWidth;
        EXPECT_EQ(chart.SeriesWidth3D, c.width3D * c.slotCount);
        EXPECT_EQ(chart.SeriesHeight3D, c.height3D * c.slotCount);
    }
}

TEST(TCustomChartPanel, ChartRectangleFromBoundsMarginsAndFrame) {
    TChart chart(nullptr);
    const TRect bounds{0, 0, 400, 250};
    // Default: margins 3, 4, 3, 4 percent; raised outer bevel of 1.
    EXPECT_EQ(chart.CalcChartRectFromBounds(bounds), (TRect{13, 11, 387, 239}));
    chart.SetBevelOuter(bvNone);
    EXPECT_EQ(chart.CalcChartRectFromBounds(bounds), (TRect{12, 10, 388, 240}));
    chart.SetBevelInner(bvLowered);
    chart.SetBevelWidth(2);
    chart.SetBorderWidth(3);
    chart.Border().SetVisible(true);
    chart.Border().SetWidth(2);
    // Frame = 3 + 2 (inner bevel) + 2 (border pen).
    EXPECT_EQ(chart.CalcChartRectFromBounds(bounds), (TRect{19, 17, 381, 233}));
    chart.SetMarginUnits(muPixels);
    chart.SetMarginLeft(20);
    EXPECT_EQ(chart.CalcChartRectFromBounds({10, 20, 110, 220}), (TRect{37, 31, 100, 209}));
}

TEST(TCustomChartPanel, CollapsedChartRectangleStaysNonEmpty) {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 300, 200);
    chart.ChartBounds = {0, 0, 300, 200};
    chart.ChartRect = {50, 40, 20, 40};
    chart.RecalcWidthHeight();
    EXPECT_EQ(chart.ChartRect, (TRect{50, 40, 51, 240}));
    EXPECT_EQ(chart.ChartWidth, 1);
    EXPECT_EQ(chart.ChartHeight, 200);
    chart.ChartRect = {-5, -7, 60, 30};
    chart.RecalcWidthHeight();
    EXPECT_EQ(chart.ChartRect, (TRect{0, 0, 60, 30}));
    EXPECT_EQ(chart.ChartXCenter, 30);
    EXPECT_EQ(chart.ChartYCenter, 15);
}

TEST(TCustomChartPanel, RepaintOnlyOnARealChange) {
    TChart chart(nullptr);
    struct Case {
        const char* name;
        std::function<void()> setSame;
        std::function<void()> setOther;
    };
    const Case cases[] = {
        {"MarginLeft", [&] { chart.SetMarginLeft(3); }, [&] { chart.SetMarginLeft(5); }},
        {"MarginUnits", [&] { chart.SetMarginUnits(muPercent); },
         [&] { chart.SetMarginUnits(muPixels); }},
        {"View3D", [&] { chart.SetView3D(true); }, [&] { chart.SetView3D(false); }},
        {"Chart3DPercent", [&] { chart.SetChart3DPercent(15); },
         [&] { chart.SetChart3DPercent(45); }},
        {"Color", [&] { chart.SetColor(clBtnFace); }, [&] { chart.SetColor(clWhite); }},
        {"BevelOuter", [&] { chart.SetBevelOuter(bvRaised); },
         [&] { chart.SetBevelOuter(bvNone); }},
        {"AxisVisible", [&] { chart.SetAxisVisible(true); }, [&] { chart.SetAxisVisible(false); }},
        {"Elevation", [&] { chart.View3DOptions().SetElevation(345); },
         [&] { chart.View3DOptions().SetElevation(315); }},
        {"Gradient", [&] { chart.Gradient().SetVisible(false); },
         [&] { chart.Gradient().SetVisible(true); }},
        {"BackWall", [&] { chart.BackWall().SetColor(clSilver); },
         [&] { chart.BackWall().SetColor(clWhite); }},
        {"TitleText", [&] { chart.Title().SetCaption(""); },
         [&] { chart.Title().SetCaption("x"); }},
        {"TitleAlign", [&] { chart.Title().SetAlignment(taCenter); },
         [&] { chart.Title().SetAlignment(taLeftJustify); }},
        {"LegendStyle", [&] { chart.Legend().SetLegendStyle(lsAuto); },
         [&] { chart.Legend().SetLegendStyle(lsSeries); }},
        {"LegendShadow", [&] { chart.Legend().SetShapeStyle(fosRectangle); },
         [&] { chart.Legend().SetShapeStyle(fosRoundRectangle); }},
        {"BottomMaximum", [&] { chart.BottomAxis().SetMaximum(0); },
         [&] { chart.BottomAxis().SetMaximum(24); }},
    };
    for (const Case& c : cases) {
        const int before = chart.RepaintRequestCount();
        c.setSame();
        EXPECT_EQ(chart.RepaintRequestCount(), before) << c.name;
        c.setOther();
        EXPECT_EQ(chart.RepaintRequestCount(), before + 1) << c.name;
        c.setOther();
        EXPECT_EQ(chart.RepaintRequestCount(), before + 1) << c.name;
    }
}

TEST(TCustomChartPanel, DrawingAsksForNoRepaintAndBuffersTheImage) {
    auto chart = MakeFlatChart();
    AddTestSeries(*chart)->AddXY(1, 2);
    const int requests = chart->RepaintRequestCount();
    RecordingDrawContext rec(400, 250);
    chart->Paint(rec);
    chart->Paint(rec);
    EXPECT_EQ(chart->DrawCount(), 1) << "the second paint re-shows the buffer";
    EXPECT_EQ(chart->RepaintRequestCount(), requests);
    chart->SetColor(clWhite);
    chart->Paint(rec);
    EXPECT_EQ(chart->DrawCount(), 2);
}

TEST(TCustomChartPanel, View3DChangeIsBroadcast) {
    struct Listener : TChartListener {
        int calls = 0;
        void View3DChanged(TCustomChartPanel&) override { ++calls; }
    } listener;
    TChart chart(nullptr);
    chart.AddListener(&listener);
    chart.SetView3D(true);
    chart.SetView3D(false);
    chart.RemoveListener(&listener);
    chart.SetView3D(true);
    EXPECT_EQ(listener.calls, 1);
}

TEST(TCustomChartPanel, EmptyFlatChartPaintsBackgroundBevelFrameAndAxes) {
    auto chart = MakeFlatChart();
    auto rec = DrawRecorded(*chart);
    const std::vector<TDrawCall>& calls = rec->Calls();
    ASSERT_FALSE(calls.empty());
    // Background first, over the whole panel in the button-face colour.
    const std::vector<TDrawCall> fills = rec->CallsOf("FillRect");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].Args, (std::vector<int>{0, 0, 400, 250}));
    EXPECT_EQ(fills[0].Brush.Color, ColorToRGB(clBtnFace));
    // The back wall frame is the final chart rectangle plus one pixel.
    const TRect r = chart->ChartRect;
    bool frame = false;
    for (const TDrawCall& c : rec->CallsOf("Rectangle"))
        if (c.Args == std::vector<int>{r.Left, r.Top, r.Right + 1, r.Bottom + 1})
            frame = c.Brush.Style == bsClear && c.Pen.Color == clBlack;
    EXPECT_TRUE(frame) << "no clear black frame round the plotting area";
    // All four side axes take room when no series is active.
    const TRect initial = chart->CalcChartRectFromBounds({0, 0, 400, 250});
    EXPECT_GT(r.Left, initial.Left);
    EXPECT_LT(r.Right, initial.Right);
    EXPECT_GT(r.Top, initial.Top);
    EXPECT_LT(r.Bottom, initial.Bottom);
    for (TChartAxis* a : chart->AxesList())
        EXPECT_EQ(chart->IsAxisVisible(*a), !a->IsDepthAxis());
}

TEST(TCustomChartPanel, PieOnlyChartDrawsNoWallsAndNoAxes) {
    auto chart = MakeFlatChart();
    AddTestSeries<NoAxisTestSeries>(*chart)->AddXY(0, 5);
    chart->Legend().SetVisible(false);
    auto rec = DrawRecorded(*chart);
    const TRect initial = chart->CalcChartRectFromBounds({0, 0, 400, 250});
    EXPECT_EQ(chart->ChartRect, initial) << "axes took room";
    for (const TDrawCall& c : rec->CallsOf("Rectangle"))
        EXPECT_NE(c.Args, (std::vector<int>{initial.Left, initial.Top, initial.Right + 1,
                                            initial.Bottom + 1}));
    for (TChartAxis* a : chart->AxesList())
        EXPECT_FALSE(chart->IsAxisVisible(*a));
}

TEST(TCustomChartPanel, AxisVisibilityFollowsTheActiveSeries) {
    auto chart = MakeFlatChart();
    TChartSeries* a = AddTestSeries(*chart);
    TChartSeries* b = AddTestSeries(*chart);
    b->SetVertAxis(aRightAxis);
    EXPECT_TRUE(chart->IsAxisVisible(chart->LeftAxis()));
    EXPECT_TRUE(chart->IsAxisVisible(chart->RightAxis()));
    EXPECT_FALSE(chart->IsAxisVisible(chart->TopAxis()));
    b->SetActive(false);
    EXPECT_FALSE(chart->IsAxisVisible(chart->RightAxis()));
    a->SetActive(false);
    EXPECT_TRUE(chart->IsAxisVisible(chart->RightAxis())) << "no active series shows every axis";
    chart->RightAxis().SetVisible(false);
    EXPECT_FALSE(chart->IsAxisVisible(chart->RightAxis()));
    a->SetActive(true);
    chart->SetAxisVisible(false);
    EXPECT_FALSE(chart->IsAxisVisible(chart->LeftAxis()));
}

TEST(TCustomChartPanel, GradientBackgroundReplacesTheColourFill) {
    auto chart = MakeFlatChart();
    chart->SetColor(clRed);
    chart->Gradient().SetVisible(true);
    chart->Gradient().SetStartColor(clSilver);
    chart->Gradient().SetEndColor(clWhite);
    auto rec = DrawRecorded(*chart);
    for (const TDrawCall& c : rec->Calls()) {
        if (c.Op == "FillRect" || c.Op == "Polygon" || c.Op == "Rectangle") {
            EXPECT_NE(c.Brush.Color, ColorToRGB(clRed)) << c.ToString();
        }
    }
    EXPECT_GT(rec->CallsOf("FillRect").size(), 10u) << "gradient bands";
}

TEST(TCustomChartPanel, SeriesListOwnsAndBroadcasts) {
    struct Listener : TChartListener {
        std::vector<TChartSeriesEvent> events;
        void SeriesEvent(TChartSeriesEvent e, TChartSeries*) override { events.push_back(e); }
    } listener;
    auto chart = MakeFlatChart();
    chart->AddListener(&listener);
    auto* s = new TChartSeries();
    const int before = chart->RepaintRequestCount();
    chart->AddSeries(s);
    chart->AddSeries(s);
    EXPECT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(chart->RepaintRequestCount(), before + 1);
    EXPECT_EQ(s->SeriesColor(), clRed) << "first free palette colour";
    auto* t = new TChartSeries();
    chart->AddSeries(t);
    EXPECT_EQ(t->SeriesColor(), clGreen);
    chart->RemoveSeries(t);
    EXPECT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(t->ParentChart(), nullptr);
    delete t;
    ASSERT_GE(listener.events.size(), 3u);
    EXPECT_EQ(listener.events[0], seAdd);
    EXPECT_EQ(listener.events.back(), seRemove);
    chart->RemoveListener(&listener);
}

TEST(TCustomChartPanel, HostedChartCoalescesRepaintRequests) {
    QWidget window;
    window.resize(420, 280);
    TChart chart(&window);
    chart.SetBounds(10, 10, 400, 250);
    window.show();
    QApplication::processEvents();
    const int draws = chart.DrawCount();
    EXPECT_GE(draws, 1);
    chart.SetColor(clWhite);
    chart.SetMarginTop(10);
    chart.Title().SetCaption("x");
    EXPECT_EQ(chart.DrawCount(), draws) << "requests only queue";
    QApplication::processEvents();
    EXPECT_EQ(chart.DrawCount(), draws + 1);
    ASSERT_NE(chart.Host(), nullptr);
    EXPECT_EQ(chart.Host()->Widget()->parentWidget(), &window);
}

TEST(TCustomChartPanel, ChartOutlivingItsWindowLosesOnlyTheHost) {
    auto* window = new QWidget;
    TChart chart(window);
    delete window;
    EXPECT_EQ(chart.Host(), nullptr);
    chart.SetColor(clWhite); // no host to ask: must not crash
}
