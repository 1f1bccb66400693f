#include "ChartPanelTestSupport.h"

#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/ChartPanel/ChartException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Records which points the repaint asked it to draw, in order.
class DrawLogSeries : public TChartSeries {
public:
    void DrawValue(int valueIndex) override { Drawn.push_back(valueIndex); }
    using TChartSeries::SetDrawBetweenPoints;
    std::vector<int> Drawn;
};

std::vector<double> ValuesOf(const TChartValueList& list) {
    return std::vector<double>(list.Data(), list.Data() + list.Count());
}

TEST(TChartSeries, AddXYKeepsPointsOrderedByX) {
    TChartSeries s;
    EXPECT_EQ(s.AddXY(3, 30, "c"), 0);
    EXPECT_EQ(s.AddXY(1, 10, "a"), 0);
    EXPECT_EQ(s.AddXY(2, 20, "b"), 1);
    EXPECT_EQ(ValuesOf(s.XValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(ValuesOf(s.YValues()), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(s.XLabel(0), "a");
    EXPECT_EQ(s.XLabel(2), "c");
    // An equal X goes after the existing ones.
    EXPECT_EQ(s.AddXY(2, 21), 2);
    EXPECT_EQ(ValuesOf(s.YValues()), (std::vector<double>{10, 20, 21, 30}));
    EXPECT_EQ(s.XLabel(2), "");
}

TEST(TChartSeries, AddNumbersPointsAlongX) {
    TChartSeries s;
    for (double v : {5.0, 7.0, 6.0})
        s.Add(v);
    EXPECT_EQ(ValuesOf(s.XValues()), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(ValuesOf(s.YValues()), (std::vector<double>{5, 7, 6}));
    EXPECT_EQ(s.Count(), 3);
    EXPECT_FALSE(s.HasLabels());
    // A first label pads the earlier points.
    s.Add(1, "late");
    EXPECT_EQ(s.Labels(), (std::vector<std::string>{"", "", "", "late"}));
}

TEST(TChartSeries, RefusedPointChangesNothing) {
    TChartSeries s;
    s.Add(1);
    s.OnBeforeAdd = [](TChartSeries* series) { return series->XValues().TempValue < 10; };
    EXPECT_EQ(s.AddXY(20, 1), -1);
    EXPECT_EQ(s.Count(), 1);
    EXPECT_EQ(s.AddXY(5, 1), 1);
}

TEST(TChartSeries, DeleteOutOfBoundsRaisesAndKeepsPoints) {
    TChartSeries s;
    for (int i = 0; i < 3; ++i)
        s.Add(i);
    for (int bad : {3, 4, -1}) {
        try {
            s.Delete(bad);
            FAIL() << "no exception for " << bad;
        } catch (const ChartException& e) {
            EXPECT_EQ(std::string(e.what()), "Series Delete: ValueIndex " + std::to_string(bad) +
                                                 " out of bounds (0 to 2).");
        }
        EXPECT_EQ(s.Count(), 3);
    }
    s.Delete(1);
    EXPECT_EQ(ValuesOf(s.XValues()), (std::vector<double>{0, 2}));
    EXPECT_EQ(ValuesOf(s.YValues()), (std::vector<double>{0, 2}));
}

TEST(TChartSeries, DeleteRangeAndRenumber) {
    TChartSeries s;
    for (int i = 0; i < 6; ++i)
        s.AddXY(i * 10, i, "p" + std::to_string(i), i == 4 ? clRed : clDefault);
    s.Delete(1, 2, true);
    EXPECT_EQ(ValuesOf(s.XValues()), (std::vector<double>{0, 1, 2, 3}));
    EXPECT_EQ(ValuesOf(s.YValues()), (std::vector<double>{0, 3, 4, 5}));
    EXPECT_EQ(s.XLabel(1), "p3");
    EXPECT_EQ(s.ValueColor(2), clRed);
    s.Delete(10, 3); // start beyond the end: nothing
    EXPECT_EQ(s.Count(), 4);
    s.Delete(2, 100); // clamped to the end
    EXPECT_EQ(s.Count(), 2);
}

TEST(TChartSeries, ValueColourRules) {
    TChartSeries s;
    s.SetSeriesColor(clTeal);
    s.Add(1);
    s.Add(2);
    EXPECT_FALSE(s.HasColors());
    EXPECT_EQ(s.ValueColor(1), clTeal);
    s.SetValueColor(0, clDefault); // the marker creates no list
    EXPECT_FALSE(s.HasColors());
    s.Add(3, "", clLime);
    EXPECT_TRUE(s.HasColors());
    EXPECT_EQ(s.ValueColor(0), clTeal);
    EXPECT_EQ(s.ValueColor(2), clLime);
    s.SetColorEachPoint(true);
    EXPECT_EQ(s.ValueColor(0), GetDefaultColor(0));
    EXPECT_EQ(s.ValueColor(1), GetDefaultColor(1));
    EXPECT_EQ(s.ValueColor(2), clLime);
    EXPECT_EQ(GetDefaultColor(21), 32768);
    s.AddNullXY(10, 0);
    EXPECT_TRUE(s.IsNull(3));
    s.Clear();
    EXPECT_FALSE(s.HasColors());
    EXPECT_EQ(s.Count(), 0);
}

TEST(TChartSeries, JoiningAChartTakesFreePaletteColours) {
    auto chart = MakeFlatChart();
    auto* a = AddTestSeries(*chart);
    auto* b = AddTestSeries(*chart);
    auto* c = new TChartSeries();
    c->SetSeriesColor(clRed); // an explicit colour is kept
    chart->AddSeries(c);
    EXPECT_EQ(a->SeriesColor(), 255);
    EXPECT_EQ(b->SeriesColor(), 32768);
    EXPECT_EQ(c->SeriesColor(), clRed);
    EXPECT_EQ(chart->SeriesCount(), 3);
    // Moving to another chart leaves the first one.
    auto other = MakeFlatChart();
    b->SetParentChart(other.get());
    EXPECT_EQ(chart->SeriesCount(), 2);
    EXPECT_EQ(other->SeriesCount(), 1);
    EXPECT_EQ(b->ParentChart(), other.get());
    EXPECT_EQ(b->Marks().ParentChart(), other.get());
}

TEST(TChartSeries, ChangesRepaintOnlyWhenActive) {
    auto chart = MakeFlatChart();
    auto* s = AddTestSeries(*chart);
    s->Add(1);
    int before = chart->RepaintRequestCount();
    s->Clear();
    EXPECT_EQ(chart->RepaintRequestCount(), before + 1);

    s->Add(1);
    s->SetActive(false);
    before = chart->RepaintRequestCount();
    s->Clear();
    s->Add(2);
    EXPECT_EQ(chart->RepaintRequestCount(), before);

    s->SetActive(true);
    before = chart->RepaintRequestCount();
    s->SetTitle(s->Title()); // same value: no repaint
    s->SetSeriesColor(s->SeriesColor());
    s->SetActive(true);
    EXPECT_EQ(chart->RepaintRequestCount(), before);
}

TEST(TChartSeries, BatchedAddsRepaintOnceAtTheEnd) {
    auto chart = MakeFlatChart();
    auto* s = AddTestSeries(*chart);
    int afterAdd = 0;
    s->OnAfterAdd = [&afterAdd](TChartSeries*, int) { ++afterAdd; };
    const int before = chart->RepaintRequestCount();
    s->BeginUpdate();
    s->BeginUpdate();
    for (int i = 0; i < 50; ++i)
        s->Add(i);
    s->EndUpdate();
    EXPECT_EQ(chart->RepaintRequestCount(), before);
    s->EndUpdate();
    EXPECT_EQ(chart->RepaintRequestCount(), before + 1);
    EXPECT_EQ(afterAdd, 0);
    s->Add(1);
    EXPECT_EQ(afterAdd, 1);
}

TEST(TChartSeries, SortMovesEveryListTogether) {
    TChartSeries s;
    s.AddXY(0, 3, "c");
    s.AddXY(1, 1, "a", clRed);
    s.AddXY(2, 2, "b");
    s.YValues().SetOrder(loAscending);
    s.YValues().Sort();
    EXPECT_EQ(ValuesOf(s.YValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(ValuesOf(s.XValues()), (std::vector<double>{1, 2, 0}));
    EXPECT_EQ(s.Labels(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(s.ValueColor(0), clRed);
}

// 100 points at X = 0..99 on a bottom axis fixed to a window of them.
struct VisibleCase {
    double minimum;
    double maximum;
    bool drawBetween;
    bool inverted;
    int first;
    int last;
};

class VisibleRange : public ::testing::TestWithParam<VisibleCase> {};

TEST_P(VisibleRange, FindsFirstAndLastIndex) {
    const VisibleCase& c = GetParam();
    auto chart = MakeFlatChart();
    auto* s = AddTestSeries<DrawLogSeries>(*chart);
    s->SetDrawBetweenPoints(c.drawBetween);
    for (int i = 0; i < 100; ++i)
        s->AddXY(i, i % 7);
    chart->BottomAxis().SetMinMax(c.minimum, c.maximum);
    chart->BottomAxis().SetInverted(c.inverted);
    auto rec = DrawRecorded(*chart);
    EXPECT_EQ(s->FirstValueIndex(), c.first);
    EXPECT_EQ(s->LastValueIndex(), c.last);
    std::vector<int> expected;
    for (int i = c.first; c.first >= 0 && i <= c.last; ++i)
        expected.push_back(i);
    if (c.inverted)
        std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(s->Drawn, expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, VisibleRange,
                         ::testing::Values(VisibleCase{10.5, 20.5, false, false, 11, 20},
                                           VisibleCase{10.5, 20.5, true, false, 11, 21},
                                           VisibleCase{10, 20, false, false, 10, 20},
                                           VisibleCase{-5, 200, false, false, 0, 99},
                                           VisibleCase{150, 160, false, false, -1, -1},
                                           VisibleCase{10.5, 20.5, false, true, 11, 20}));

TEST(TChartSeries, AxisAssociation) {
    auto chart = MakeFlatChart();
    auto* s = AddTestSeries(*chart);
    EXPECT_EQ(s->GetHorizAxis(), &chart->BottomAxis());
    EXPECT_EQ(s->GetVertAxis(), &chart->LeftAxis());
    EXPECT_TRUE(s->AssociatedToAxis(&chart->BottomAxis()));
    EXPECT_FALSE(s->AssociatedToAxis(&chart->TopAxis()));
    s->SetHorizAxis(aBothHorizAxis);
    s->SetVertAxis(aRightAxis);
    EXPECT_TRUE(s->AssociatedToAxis(&chart->TopAxis()));
    EXPECT_TRUE(s->AssociatedToAxis(&chart->BottomAxis()));
    EXPECT_TRUE(s->AssociatedToAxis(&chart->RightAxis()));
    EXPECT_FALSE(s->AssociatedToAxis(&chart->LeftAxis()));
    EXPECT_FALSE(s->AssociatedToAxis(&chart->DepthAxis()));
}

// Points added with these own colours; a series of one colour throughout
// keeps no colour per point, and must still read like one that does.
struct OwnColourCase {
    const char* name;
    std::vector<TColor> added;
    bool hasColors;
};

class OwnColours : public ::testing::TestWithParam<OwnColourCase> {};

TEST_P(OwnColours, ReadAsAddedWhateverTheirForm) {
    const OwnColourCase& c = GetParam();
    TChartSeries s;
    s.SetSeriesColor(clTeal);
    for (std::size_t i = 0; i < c.added.size(); ++i)
        s.AddXY(static_cast<double>(i), 1, "", c.added[i]);
    EXPECT_EQ(s.HasColors(), c.hasColors);
    for (std::size_t i = 0; i < c.added.size(); ++i)
        EXPECT_EQ(s.ValueColor(static_cast<int>(i)), c.added[i] == clDefault ? clTeal : c.added[i])
            << "point " << i;
    // A colour said to be shared is every point's.
    if (const std::optional<TColor> shared = s.SharedValueColor()) {
        for (std::size_t i = 0; i < c.added.size(); ++i) {
            EXPECT_EQ(s.ValueColor(static_cast<int>(i)), *shared) << "point " << i;
        }
    }
    // Out of range: the series colour.
    EXPECT_EQ(s.ValueColor(static_cast<int>(c.added.size())), clTeal);
    EXPECT_EQ(s.ValueColor(-1), clTeal);
    // Recoloured points keep the others' colours.
    if (!c.added.empty()) {
        s.SetValueColor(0, clLime);
        EXPECT_TRUE(s.HasColors());
        EXPECT_FALSE(s.SharedValueColor().has_value()); // recoloured: one per point
        EXPECT_EQ(s.ValueColor(0), clLime);
        for (std::size_t i = 1; i < c.added.size(); ++i)
            EXPECT_EQ(s.ValueColor(static_cast<int>(i)),
                      c.added[i] == clDefault ? clTeal : c.added[i]);
    }
    s.Clear();
    EXPECT_FALSE(s.HasColors());
    s.AddXY(0, 1);
    EXPECT_EQ(s.ValueColor(0), clTeal);
    EXPECT_EQ(s.SharedValueColor(), std::optional<TColor>(clTeal));
    s.SetColorEachPoint(true);
    EXPECT_FALSE(s.SharedValueColor().has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OwnColours,
    ::testing::Values(OwnColourCase{"None", {}, false},
                      OwnColourCase{"AllDefault", {clDefault, clDefault}, false},
                      OwnColourCase{"AllRed", {clRed, clRed, clRed}, true},
                      OwnColourCase{"RedThenBlue", {clRed, clRed, clBlue}, true},
                      OwnColourCase{"DefaultThenRed", {clDefault, clRed, clRed}, true},
                      OwnColourCase{"RedThenDefault", {clRed, clDefault}, true},
                      OwnColourCase{"NullPoints", {clNone, clNone}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TChartSeries, PointsOfOneColourSurviveDeletesAndSorting) {
    TChartSeries s;
    s.SetSeriesColor(clTeal);
    for (int i = 0; i < 5; ++i)
        s.AddXY(i, 5 - i, "", clRed);
    s.Delete(1);
    EXPECT_EQ(s.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.ValueColor(i), clRed);
    s.Delete(0, 4);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_FALSE(s.HasColors());
    // A new first point sets the colour afresh.
    s.AddXY(0, 1, "", clBlue);
    s.AddXY(1, 1);
    EXPECT_EQ(s.ValueColor(0), clBlue);
    EXPECT_EQ(s.ValueColor(1), clTeal);
}

TEST(TChartSeries, ReservedPointsAreAddedWithoutGrowingTheLists) {
    TChartSeries s;
    s.ReservePoints(5000);
    s.YValues().Data(); // Y stored from the first point
    EXPECT_GE(s.XValues().Capacity(), 5000);
    const double* y = s.YValues().Data();
    for (int i = 0; i < 5000; ++i)
        s.AddXY(i + 1, (i * 7) % 13, "", clRed);
    EXPECT_EQ(s.YValues().Data(), y);
    EXPECT_TRUE(s.XValues().Consecutive());
    EXPECT_EQ(s.XValues().Capacity(), 5000);
}

} // namespace

// Many points in one call land exactly where as many AddXY calls put them,
// whether the one-pass path or the point-by-point one takes them.
TEST(TChartSeries, AddXYsIsAddXYForEachPoint) {
    struct {
        const char* name;
        TChartListOrder order;
        std::vector<std::int32_t> before, xs, ys;
        TColor beforeColor, color;
    } cases[] = {
        {"play numbers", loAscending, {}, {1, 2, 3, 4, 5}, {-1, -2, 5, 9, -40}, clRed, clRed},
        {"after earlier points", loAscending, {1, 2}, {3, 4, 6}, {7, 8, 9}, clRed, clRed},
        {"out of order", loAscending, {}, {3, 1, 2, 2}, {1, 2, 3, 4}, clRed, clRed},
        {"before the last", loAscending, {5}, {4, 6}, {1, 2}, clRed, clRed},
        {"another colour", loAscending, {1}, {2, 3}, {1, 2}, clBlue, clRed},
        {"no order", loNone, {9}, {3, 1, 2}, {1, 2, 3}, clRed, clRed},
        {"descending", loDescending, {9}, {8, 8, 1}, {1, 2, 3}, clRed, clRed},
        {"past the room", loAscending, {}, {}, {}, clRed, clRed},
    };
    // Long enough that the room grows several times on the way.
    auto& longCase = cases[std::size(cases) - 1];
    for (std::int32_t i = 1; i <= 4321; ++i) {
        longCase.xs.push_back(i);
        longCase.ys.push_back(i % 7 - i / 3);
    }
    for (const auto& c : cases) {
        TChartSeries bulk, each;
        for (TChartSeries* s : {&bulk, &each}) {
            s->XValues().SetOrder(c.order);
            for (const std::int32_t x : c.before)
                s->AddXY(x, 100 + x, "", c.beforeColor);
        }
        bulk.AddXYs(c.xs.data(), c.ys.data(), static_cast<int>(c.xs.size()), c.color);
        for (std::size_t i = 0; i < c.xs.size(); ++i)
            each.AddXY(c.xs[i], c.ys[i], "", c.color);
        ASSERT_EQ(bulk.Count(), each.Count()) << c.name;
        EXPECT_EQ(bulk.XValues().Consecutive(), each.XValues().Consecutive()) << c.name;
        EXPECT_EQ(ValuesOf(bulk.XValues()), ValuesOf(each.XValues())) << c.name;
        EXPECT_EQ(ValuesOf(bulk.YValues()), ValuesOf(each.YValues())) << c.name;
        EXPECT_EQ(bulk.YValues().Capacity(), each.YValues().Capacity()) << c.name;
        for (int i = 0; i < each.Count(); ++i)
            EXPECT_EQ(bulk.ValueColor(i), each.ValueColor(i)) << c.name << " point " << i;
        EXPECT_EQ(bulk.SharedValueColor(), each.SharedValueColor()) << c.name;
    }
}
