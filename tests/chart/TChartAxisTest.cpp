#include "ChartPanelTestSupport.h"

#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartPanel/ChartException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr const char* MinimumMessage = "Axis Minimum Value must be <= Maximum";
constexpr const char* MaximumMessage = "Axis Maximum Value must be >= Minimum";
constexpr const char* IncrementMessage = "Axis increment must be >= 0";

// A flat chart drawn once on the recording context, so axes can measure text.
struct DrawnChart {
    std::unique_ptr<TChart> chart = MakeFlatChart();
    std::unique_ptr<RecordingDrawContext> rec;
    void Draw() { rec = DrawRecorded(*chart); }
    int FontHeight(TChartAxis& axis) {
        chart->Canvas().AssignFont(axis.LabelsFont());
        return chart->Canvas().FontHeight();
    }
};

TEST(TChartAxis, NextStepLadder) {
    const std::vector<std::pair<double, double>> cases = {
        {0.3, 0.5}, {1, 2}, {1.5, 2}, {2, 5}, {2.18, 5}, {7, 10}, {10, 20}, {20, 50}, {50, 100}};
    for (const auto& [x, next] : cases)
        EXPECT_DOUBLE_EQ(TChartAxis::NextStep(x), next) << x;
}

TEST(TChartAxis, VerticalZeroTo24WithRoomForTenLabels) {
    DrawnChart d;
    d.Draw();
    TChartAxis& axis = d.chart->LeftAxis();
    const int h = d.FontHeight(axis);
    const int room = h + ChartRound(0.1 * h);
    axis.SetPositions(20, 20 + 10 * room);
    axis.SetCurrentRange(0, 24);
    // 24 / 11 = 2.18 gives 11 labels, one too many; the next step is 5.
    EXPECT_DOUBLE_EQ(axis.CalcIncrement(), 5);
    std::vector<double> values;
    axis.CalcLabelValues(values);
    EXPECT_EQ(values, (std::vector<double>{20, 15, 10, 5, 0}));
}

// Both label counts are rounded: an axis of 2.5 labels' room took 3 and 3.49
// steps counted as 3, which put the labels 0.7 of a label apart.
TEST(TChartAxis, NeighbouringBottomLabelsNeverOverlap) {
    for (const auto& [size, maximum] : {std::pair{83, 3490.0}, {60, 1490.0}, {300, 7.5}}) {
        DrawnChart d;
        d.Draw();
        TChartAxis& axis = d.chart->BottomAxis();
        axis.SetPositions(10, 10 + size);
        axis.SetCurrentRange(0, maximum);
        std::vector<double> v;
        axis.CalcLabelValues(v);
        d.chart->Canvas().AssignFont(axis.LabelsFont());
        for (std::size_t i = 1; i < v.size(); ++i)
            EXPECT_GE(axis.CalcPosValue(v[i - 1]) - axis.CalcPosValue(v[i]),
                      d.chart->Canvas().TextWidth(axis.LabelValue(v[i - 1])))
                << size << " px, 0.." << maximum << " at " << v[i];
    }
}

TEST(TChartAxis, FixedIncrementClimbsUntilLabelsFit) {
    DrawnChart d;
    d.Draw();
    TChartAxis& axis = d.chart->LeftAxis();
    const int h = d.FontHeight(axis);
    axis.SetPositions(0, 10 * (h + ChartRound(0.1 * h)));
    axis.SetCurrentRange(0, 100);
    axis.SetIncrement(1);
    EXPECT_DOUBLE_EQ(axis.CalcIncrement(), 10);
    axis.SetIncrement(25);
    EXPECT_DOUBLE_EQ(axis.CalcIncrement(), 25);
}

TEST(TChartAxis, NoRoomForALabelDrawsNoLabels) {
    DrawnChart d;
    d.Draw();
    TChartAxis& axis = d.chart->LeftAxis();
    axis.SetPositions(50, 51);
    axis.SetCurrentRange(0, 1000);
    EXPECT_DOUBLE_EQ(axis.CalcIncrement(), MinAxisIncrement);
    std::vector<double> values{1};
    axis.CalcLabelValues(values);
    EXPECT_TRUE(values.empty());
}

TEST(TChartAxis, ZeroRangeDrawsOneLabelAtTheCentre) {
    DrawnChart d;
    d.Draw();
    TChartAxis& axis = d.chart->LeftAxis();
    axis.SetPositions(10, 210);
    axis.SetCurrentRange(7, 7);
    std::vector<double> values;
    axis.CalcLabelValues(values);
    EXPECT_EQ(values, std::vector<double>{7});
    EXPECT_EQ(axis.CalcPosValue(7), 110);
    EXPECT_EQ(axis.CalcPosValue(-1000), 110);
}

TEST(TChartAxis, FewPointsUseAtLeastStepOne) {
    DrawnChart d;
    auto* s = AddTestSeries(*d.chart);
    for (int x = 1; x <= 3; ++x)
        s->AddXY(x, 1000 + x);
    d.Draw();
    TChartAxis& bottom = d.chart->BottomAxis();
    EXPECT_DOUBLE_EQ(bottom.CurrentMinimum(), 1);
    EXPECT_DOUBLE_EQ(bottom.CurrentMaximum(), 3);
    EXPECT_DOUBLE_EQ(bottom.CalcIncrement(), 1);
    for (const char* text : {"1", "2", "3"})
        EXPECT_EQ(TextCalls(*d.rec, text).size(), 1u) << text;
    EXPECT_TRUE(TextCalls(*d.rec, "1.5").empty());
}

TEST(TChartAxis, LeftLabelsTopDownRightAlignedAndGridAtEachLabel) {
    DrawnChart d;
    auto* s = AddTestSeries(*d.chart);
    s->AddXY(0, 0);
    s->AddXY(1, 24);
    d.chart->LeftAxis().SetIncrement(5);
    d.Draw();
    TChartAxis& left = d.chart->LeftAxis();
    std::vector<std::string> order;
    for (const TDrawCall& c : d.rec->CallsOf("TextOut"))
        if (c.Text == "20" || c.Text == "15" || c.Text == "10" || c.Text == "5" || c.Text == "0")
            if ((c.TextAlign & TA_CENTER) == TA_RIGHT)
                order.push_back(c.Text);
    EXPECT_EQ(order, (std::vector<std::string>{"20", "15", "10", "5", "0"}));
    const TDrawCall label = TextCalls(*d.rec, "10").front();
    EXPECT_EQ(label.Args[0], left.PosLabels());
    const int h = d.FontHeight(left);
    EXPECT_EQ(label.Args[1], left.CalcPosValue(10) - h / 2);
    std::vector<int> expectedTicks;
    for (double v : {20.0, 15.0, 10.0, 5.0, 0.0})
        expectedTicks.push_back(left.CalcPosValue(v));
    EXPECT_EQ(left.TickPositions(), expectedTicks);
}

TEST(TChartAxis, GridLinesCrossTheChartAtInnerLabels) {
    DrawnChart d;
    auto* s = AddTestSeries(*d.chart);
    s->AddXY(0, 0);
    s->AddXY(1, 24);
    d.chart->LeftAxis().SetIncrement(5);
    d.Draw();
    const TRect r = d.chart->ChartRect;
    std::vector<int> gridRows;
    for (const TDrawCall& c : d.rec->CallsOf("LineTo"))
        if (c.Pen.Style == psDot && c.Args[1] == c.Args[3] && c.Args[0] == r.Left + 1)
            gridRows.push_back(c.Args[1]);
    std::vector<int> expected;
    for (int p : d.chart->LeftAxis().TickPositions())
        if (p > d.chart->LeftAxis().IStartPos() && p < d.chart->LeftAxis().IEndPos())
            expected.push_back(p);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(gridRows, expected);
}

TEST(TChartAxis, MinorTicksDivideAndContinueTheTickSpacing) {
    DrawnChart d;
    auto* s = AddTestSeries(*d.chart);
    s->AddXY(0, 0);
    s->AddXY(100, 1);
    TChartAxis& bottom = d.chart->BottomAxis();
    bottom.SetMinMax(-10, 100);
    bottom.SetIncrement(25);
    bottom.SetMinorTickLength(3);
    d.Draw();
    const std::vector<int>& ticks = bottom.TickPositions();
    ASSERT_EQ(ticks.size(), 5u); // 100, 75, 50, 25, 0
    std::vector<int> expected;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        for (int k = 1; k <= 3; ++k)
            expected.push_back(ticks[i] - ChartRound(k * (ticks[i] - ticks[i - 1]) / 4.0));
    const double gap = (ticks[1] - ticks[0]) / 4.0;
    for (int k = 1; k <= 3; ++k) {
        expected.push_back(ticks.front() - ChartRound(k * gap));
        expected.push_back(ticks.back() + ChartRound(k * gap));
    }
    std::vector<int> inside;
    for (int p : expected)
        if (p >= bottom.IStartPos() && p <= bottom.IEndPos())
            inside.push_back(p);
    std::vector<int> drawn;
    for (const TDrawCall& c : d.rec->CallsOf("LineTo"))
        if (c.Args[0] == c.Args[2] && c.Args[1] == bottom.PosAxis() + 1 &&
            c.Args[3] == bottom.PosAxis() + 4)
            drawn.push_back(c.Args[0]);
    std::sort(inside.begin(), inside.end());
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, inside);
    EXPECT_EQ(inside.size(), 12u + 1u); // 4 gaps x 3, plus one at -6.25 (above -10)
}

TEST(TChartAxis, TextLabelsSkipOverlappingOnes) {
    DrawnChart d;
    auto* s = AddTestSeries(*d.chart);
    for (int i = 0; i < 100; ++i)
        s->AddXY(i, i, "L" + std::to_string(i));
    d.Draw();
    TChartAxis& bottom = d.chart->BottomAxis();
    EXPECT_EQ(bottom.CalcLabelStyle(), talText);
    std::vector<int> drawn;
    for (int i = 0; i < 100; ++i)
        for (const TDrawCall& c : TextCalls(*d.rec, "L" + std::to_string(i)))
            if (c.Args[1] == bottom.PosLabels()) // not the legend's rows
                drawn.push_back(i);
    ASSERT_GT(drawn.size(), 3u);
    EXPECT_LT(drawn.size(), 100u);
    EXPECT_EQ(drawn.front(), 0);
    // Neighbours keep at least their half widths (plus 10 % separation) apart.
    for (std::size_t k = 1; k < drawn.size(); ++k) {
        const int gap = bottom.CalcPosValue(drawn[k]) - bottom.CalcPosValue(drawn[k - 1]);
        const int w1 =
            RecordingDrawContext::CharWidth * int(std::to_string(drawn[k - 1]).size() + 1);
        const int w2 = RecordingDrawContext::CharWidth * int(std::to_string(drawn[k]).size() + 1);
        EXPECT_GE(gap, ChartRound(w1 * 1.2) / 2 + ChartRound(w2 * 1.2) / 2) << drawn[k];
    }
}

TEST(TChartAxis, HugeValuesWithATinyRangeTerminate) {
    DrawnChart d;
    d.Draw();
    TChartAxis& axis = d.chart->LeftAxis();
    axis.SetPositions(0, 200);
    axis.SetCurrentRange(1e20, 1e20 + 1e5);
    std::vector<double> values;
    axis.CalcLabelValues(values);
    EXPECT_LE(values.size(), 10001u);
}

TEST(TChartAxis, SetMinMaxFixesTheRange) {
    TChart chart(nullptr);
    TChartAxis& axis = chart.BottomAxis();
    axis.SetMinMax(5, 5);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    EXPECT_DOUBLE_EQ(axis.Minimum(), 5);
    EXPECT_NEAR(axis.Maximum() - axis.Minimum(), MinAxisRange, 1e-15);
    axis.SetMinMax(9, 3);
    EXPECT_DOUBLE_EQ(axis.Minimum(), 3);
    EXPECT_DOUBLE_EQ(axis.Maximum(), 9);
}

struct SetterCase {
    const char* name;
    std::function<void(TChartAxis&)> call;
    const char* message;
};

TEST(TChartAxis, RefusedSettersKeepTheOldValue) {
    const std::vector<SetterCase> cases = {
        {"Minimum", [](TChartAxis& a) { a.SetMinimum(11); },
         "Axis Minimum Value must be <= Maximum"},
        {"Maximum", [](TChartAxis& a) { a.SetMaximum(1); },
         "Axis Maximum Value must be >= Minimum"},
        {"Increment", [](TChartAxis& a) { a.SetIncrement(-1); }, "Axis increment must be >= 0"},
        {"LabelsSeparation", [](TChartAxis& a) { a.SetLabelsSeparation(-1); },
         "Labels Separation % must be greater than 0"},
        // Non-finite values pass every ordered comparison, so they need their own refusal.
        {"Minimum NaN", [](TChartAxis& a) { a.SetMinimum(Nan); }, MinimumMessage},
        {"Minimum +inf", [](TChartAxis& a) { a.SetMinimum(Inf); }, MinimumMessage},
        {"Minimum -inf", [](TChartAxis& a) { a.SetMinimum(-Inf); }, MinimumMessage},
        {"Maximum NaN", [](TChartAxis& a) { a.SetMaximum(Nan); }, MaximumMessage},
        {"Maximum +inf", [](TChartAxis& a) { a.SetMaximum(Inf); }, MaximumMessage},
        {"Maximum -inf", [](TChartAxis& a) { a.SetMaximum(-Inf); }, MaximumMessage},
        {"MinMax NaN minimum", [](TChartAxis& a) { a.SetMinMax(Nan, 5); }, MinimumMessage},
        {"MinMax -inf minimum", [](TChartAxis& a) { a.SetMinMax(-Inf, 5); }, MinimumMessage},
        {"MinMax NaN maximum", [](TChartAxis& a) { a.SetMinMax(1, Nan); }, MaximumMessage},
        {"MinMax +inf maximum", [](TChartAxis& a) { a.SetMinMax(1, Inf); }, MaximumMessage},
        {"MinMax both infinite", [](TChartAxis& a) { a.SetMinMax(Inf, -Inf); }, MinimumMessage},
        {"Increment NaN", [](TChartAxis& a) { a.SetIncrement(Nan); }, IncrementMessage},
        {"Increment +inf", [](TChartAxis& a) { a.SetIncrement(Inf); }, IncrementMessage},
    };
    for (const SetterCase& c : cases) {
        TChart chart(nullptr);
        TChartAxis& axis = chart.LeftAxis();
        axis.SetMinMax(2, 10);
        axis.SetIncrement(3);
        try {
            c.call(axis);
            ADD_FAILURE() << c.name << ": no exception";
        } catch (const ChartException& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_DOUBLE_EQ(axis.Minimum(), 2) << c.name;
        EXPECT_DOUBLE_EQ(axis.Maximum(), 10) << c.name;
        EXPECT_DOUBLE_EQ(axis.Increment(), 3) << c.name;
        EXPECT_EQ(axis.LabelsSeparation(), 10) << c.name;
    }
    TChart chart(nullptr);
    chart.LeftAxis().SetMaximum(24);
    EXPECT_NO_THROW(chart.LeftAxis().SetMinimum(1)); // the slump graph's order
    EXPECT_NO_THROW(chart.LeftAxis().SetLabelsSeparation(0));
    EXPECT_TRUE(chart.LeftAxis().Automatic()); // the plain setters keep the flags
}

TEST(TChartAxis, RefusedMinMaxLeavesTheAutomaticFlagsOn) {
    for (const auto& [minimum, maximum] :
         std::vector<std::pair<double, double>>{{Nan, 1}, {0, Nan}, {-Inf, 1}, {0, Inf}}) {
        TChart chart(nullptr);
        TChartAxis& axis = chart.LeftAxis();
        EXPECT_THROW(axis.SetMinMax(minimum, maximum), ChartException);
        EXPECT_TRUE(axis.Automatic());
        EXPECT_TRUE(axis.AutomaticMinimum());
        EXPECT_TRUE(axis.AutomaticMaximum());
    }
}

TEST(TChartAxis, NonFiniteScrollIsRefused) {
    for (const double offset : {Nan, Inf, -Inf}) {
        TChart chart(nullptr);
        TChartAxis& axis = chart.BottomAxis();
        axis.SetMinMax(2, 8);
        EXPECT_FALSE(axis.Scroll(offset, false)) << offset;
        EXPECT_DOUBLE_EQ(axis.Minimum(), 2) << offset;
        EXPECT_DOUBLE_EQ(axis.Maximum(), 8) << offset;
    }
}

TEST(TChartAxis, AutomaticFlagsFollowEachOther) {
    TChart chart(nullptr);
    TChartAxis& axis = chart.LeftAxis();
    axis.SetAutomaticMinimum(false);
    EXPECT_FALSE(axis.Automatic());
    axis.SetAutomaticMinimum(true);
    EXPECT_TRUE(axis.Automatic());
    axis.SetAutomatic(false);
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    axis.SetAutomaticMaximum(true);
    EXPECT_FALSE(axis.Automatic());
}

TEST(TChartAxis, SettersRepaintOnlyOnRealChanges) {
    auto chart = MakeFlatChart();
    TChartAxis& axis = chart->LeftAxis();
    axis.SetMinMax(0, 10);
    int before = chart->RepaintRequestCount();
    axis.SetMinimum(0);
    axis.SetMaximum(10);
    axis.SetMinMax(0, 10);
    axis.SetIncrement(0);
    axis.SetInverted(false);
    axis.SetLabelsSeparation(10);
    axis.Grid().SetColor(axis.Grid().Color());
    axis.Title().SetCaption("");
    EXPECT_EQ(chart->RepaintRequestCount(), before);
    axis.SetMaximum(11);
    EXPECT_EQ(chart->RepaintRequestCount(), before + 1);
    axis.Grid().SetStyle(psSolid);
    axis.Title().SetCaption("t");
    axis.LabelsFont().SetSize(20);
    EXPECT_EQ(chart->RepaintRequestCount(), before + 4);
}

TEST(TChartAxis, AutomaticRangeIsExactlyTheData) {
    DrawnChart d;
    d.Draw();
    EXPECT_DOUBLE_EQ(d.chart->LeftAxis().CurrentMinimum(), 0);
    EXPECT_DOUBLE_EQ(d.chart->LeftAxis().CurrentMaximum(), 0);
    auto* a = AddTestSeries(*d.chart);
    auto* b = AddTestSeries(*d.chart);
    a->AddXY(2, -3.5);
    a->AddXY(4, 7.25);
    b->AddXY(-1, 1);
    b->SetActive(false); // inactive series do not count while an active one exists
    d.Draw();
    EXPECT_DOUBLE_EQ(d.chart->LeftAxis().CurrentMinimum(), -3.5);
    EXPECT_DOUBLE_EQ(d.chart->LeftAxis().CurrentMaximum(), 7.25);
    EXPECT_DOUBLE_EQ(d.chart->BottomAxis().CurrentMinimum(), 2);
    EXPECT_DOUBLE_EQ(d.chart->BottomAxis().CurrentMaximum(), 4);
}

struct PixelCase {
    bool horizontal;
    bool inverted;
    double value;
    int pixel;
};

TEST(TChartAxis, ValueToPixelAndBack) {
    const std::vector<PixelCase> cases = {{true, false, 10, 30},  {true, true, 10, 90},
                                          {false, false, 10, 90}, {false, true, 10, 30},
                                          {true, false, 25, 60},  {false, false, 0, 110},
                                          {false, false, 50, 10}, {true, true, 50, 10}};
    for (const PixelCase& c : cases) {
        TChart chart(nullptr);
        TChartAxis& axis = c.horizontal ? chart.BottomAxis() : chart.LeftAxis();
        axis.SetInverted(c.inverted);
        axis.SetPositions(10, 110);
        axis.SetCurrentRange(0, 50);
        EXPECT_EQ(axis.CalcPosValue(c.value), c.pixel) << c.horizontal << c.inverted << c.value;
        EXPECT_DOUBLE_EQ(axis.CalcPosPoint(c.pixel), c.value);
    }
    TChart chart(nullptr);
    TChartAxis& axis = chart.BottomAxis();
    axis.SetPositions(0, 597);
    axis.SetCurrentRange(-3.3, 1e6);
    for (int px = 0; px <= 597; px += 37)
        EXPECT_EQ(axis.CalcPosValue(axis.CalcPosPoint(px)), px);
    axis.SetPositions(5, 5);
    EXPECT_EQ(axis.CalcPosPoint(5), 0);
}

TEST(TChartAxis, MarginsPutTheDataEndsInside) {
    for (bool horizontal : {true, false}) {
        for (bool inverted : {false, true}) {
            TChart chart(nullptr);
            TChartAxis& axis = horizontal ? chart.BottomAxis() : chart.LeftAxis();
            axis.SetInverted(inverted);
            axis.SetPositions(100, 200);
            axis.SetCurrentRange(0, 100);
            const int minPixel = axis.CalcPosValue(0);
            const int maxPixel = axis.CalcPosValue(100);
            axis.AdjustMaxMinRect(10, 20);
            const int inwardAtMin = minPixel == 100 ? 1 : -1;
            EXPECT_EQ(axis.CalcPosValue(0), minPixel + inwardAtMin * 10);
            EXPECT_EQ(axis.CalcPosValue(100), maxPixel - inwardAtMin * 20);
            EXPECT_EQ(axis.IStartPos(), 100);
            EXPECT_EQ(axis.IEndPos(), 200);
        }
    }
}

TEST(TChartAxis, ScrollMovesBothEndsWithinTheData) {
    TChart chart(nullptr);
    auto* s = AddTestSeries(chart);
    for (int i = 0; i <= 10; ++i)
        s->AddXY(i, i);
    TChartAxis& axis = chart.BottomAxis();
    axis.SetMinMax(2, 8);
    EXPECT_TRUE(axis.Scroll(1.5, true));
    EXPECT_DOUBLE_EQ(axis.Minimum(), 3.5);
    EXPECT_DOUBLE_EQ(axis.Maximum(), 9.5);
    axis.SetMinMax(5, 10);
    EXPECT_FALSE(axis.Scroll(1, true)); // no data beyond the maximum
    EXPECT_TRUE(axis.Scroll(1, false));
    EXPECT_FALSE(axis.Scroll(0, false));
    EXPECT_DOUBLE_EQ(axis.Maximum(), 11);
}

TEST(TChartAxis, RoomTakenFromTheChartRectangle) {
    DrawnChart d;
    auto* s = AddTestSeries(*d.chart);
    s->AddXY(0, 0);
    s->AddXY(10, 1000);
    TChartAxis& bottom = d.chart->BottomAxis();
    TChartAxis& left = d.chart->LeftAxis();
    bottom.Title().SetCaption("plays");
    left.Title().SetCaption("balls");
    d.Draw();
    const int h = d.FontHeight(bottom);
    TRect r{0, 0, 400, 300};
    bottom.CalcRect(r, true);
    // Title, labels (one font height each) and axis pen 2 + 1 + tick 4.
    EXPECT_EQ(r.Bottom, 300 - h - h - 7);
    EXPECT_EQ(bottom.PosTitle(), 300 - h);
    EXPECT_EQ(bottom.PosLabels(), 300 - 2 * h);
    TRect l{0, 0, 400, 300};
    left.CalcRect(l, true);
    d.chart->Canvas().AssignFont(left.LabelsFont());
    const int widest = d.chart->Canvas().TextWidth("1,000") + d.chart->Canvas().TextWidth(" ");
    EXPECT_EQ(l.Left, h + widest + 7);
    EXPECT_EQ(left.PosTitle(), h);
    // The left title reads upward, its glyph tops at the outer edge.
    const std::vector<TDrawCall> titles = TextCalls(*d.rec, "balls");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].Font.Orientation, 900);
}

} // namespace
