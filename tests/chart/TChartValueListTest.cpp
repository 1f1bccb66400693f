#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TChartSeries.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<double> ValuesOf(const TChartValueList& list) {
    return std::vector<double>(list.Data(), list.Data() + list.Count());
}

struct OrderCase {
    TChartListOrder order;
    std::vector<double> added;
    std::vector<int> indices;
    std::vector<double> stored;
};

class ValueListOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ValueListOrder, InsertsByOrder) {
    const OrderCase& c = GetParam();
    TChartValueList list(nullptr, "X");
    list.SetOrder(c.order);
    std::vector<int> indices;
    for (double v : c.added)
        indices.push_back(list.AddChartValue(v));
    EXPECT_EQ(indices, c.indices);
    EXPECT_EQ(ValuesOf(list), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, ValueListOrder,
    ::testing::Values(OrderCase{loAscending, {3, 1, 2}, {0, 0, 1}, {1, 2, 3}},
                      OrderCase{loAscending, {1, 2, 2, 1}, {0, 1, 2, 1}, {1, 1, 2, 2}},
                      OrderCase{loDescending, {1, 3, 2}, {0, 0, 1}, {3, 2, 1}},
                      OrderCase{loDescending, {3, 3, 1, 3}, {0, 1, 2, 2}, {3, 3, 3, 1}},
                      OrderCase{loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}}));

TEST(TChartValueList, CapacityGrowsByAThousand) {
    TChartValueList list(nullptr, "Y");
    for (int i = 0; i < 1000; ++i)
        list.AddChartValue(i);
    EXPECT_EQ(list.Capacity(), 1000);
    list.AddChartValue(1000);
    EXPECT_EQ(list.Count(), 1001);
    EXPECT_EQ(list.Capacity(), 2000);
    for (int i = 1001; i < 2001; ++i)
        list.AddChartValue(i);
    EXPECT_EQ(list.Capacity(), 3000);
    // Large lists grow by half their room so a million appends stay cheap.
    for (int i = 2001; i < 1000000; ++i)
        list.AddChartValue(i);
    EXPECT_GE(list.Capacity(), 1000000);
    EXPECT_LT(list.Capacity(), 1600000);
    EXPECT_EQ(list.Capacity() % 1000, 0);
    EXPECT_EQ(list.Last(), 999999);
}

TEST(TChartValueList, StatisticsAreLazyAndFollowChanges) {
    TChartValueList list(nullptr, "Y");
    EXPECT_EQ(list.MaxValue(), 0);
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.Total(), 0);
    EXPECT_EQ(list.TotalABS(), 0);
    EXPECT_FALSE(list.Modified());

    for (double v : {2.0, -5.0, 4.0})
        list.AddChartValue(v);
    EXPECT_TRUE(list.Modified());
    EXPECT_EQ(list.MinValue(), -5);
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(list.MaxValue(), 4);
    EXPECT_EQ(list.Total(), 1);
    EXPECT_EQ(list.TotalABS(), 11);
    EXPECT_EQ(list.Range(), 9);

    list.SetValue(1, 10);
    EXPECT_EQ(list.MaxValue(), 10);
    EXPECT_EQ(list.MinValue(), 2);
    list.Delete(1);
    EXPECT_EQ(list.MaxValue(), 4);
    list.ClearValues();
    EXPECT_EQ(list.TotalABS(), 0);
}

TEST(TChartValueList, DeleteLocateFillSequence) {
    TChartValueList list(nullptr, "X");
    for (double v : {5.0, 6.0, 7.0, 8.0, 9.0})
        list.AddChartValue(v);
    list.Delete(1, 2);
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{5, 8, 9}));
    EXPECT_EQ(list.Locate(8), 1);
    EXPECT_EQ(list.Locate(6), -1);
    list.Delete(7); // beyond the end: nothing
    EXPECT_EQ(list.Count(), 3);
    list.FillSequence();
    EXPECT_EQ(ValuesOf(list), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(list.First(), 0);
    EXPECT_EQ(list.Last(), 2);
}

TEST(TChartValueList, RegistersWithItsSeries) {
    TChartSeries series;
    ASSERT_EQ(series.ValuesList().size(), 2u);
    {
        TChartValueList extra(&series, "Z");
        EXPECT_EQ(series.ValuesList().size(), 3u);
        series.AddXY(1, 2);
        // The extra list takes its staged value at the point's index.
        EXPECT_EQ(extra.Count(), 1);
    }
    EXPECT_EQ(series.ValuesList().size(), 2u);
    EXPECT_EQ(series.XValues().Name(), "X");
    EXPECT_EQ(series.YValues().Name(), "Y");
    EXPECT_EQ(series.XValues().Order(), loAscending);
    EXPECT_EQ(series.YValues().Order(), loNone);
}

} // namespace
