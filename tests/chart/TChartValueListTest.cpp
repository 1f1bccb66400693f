#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TChartSeries.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
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

// The same values added to a list that stores them from the start; whatever
// form a list keeps its values in, it must read back exactly these.
struct ConsecutiveCase {
    const char* name;
    TChartListOrder order;
    std::vector<double> added;
    bool staysUnstored;
};

std::vector<std::uint64_t> Bits(const TChartValueList& list) {
    std::vector<std::uint64_t> bits;
    for (int i = 0; i < list.Count(); ++i)
        bits.push_back(std::bit_cast<std::uint64_t>(list.Value(i)));
    return bits;
}

class ValueListConsecutive : public ::testing::TestWithParam<ConsecutiveCase> {};

TEST_P(ValueListConsecutive, ReadsBackAsAStoredList) {
    const ConsecutiveCase& c = GetParam();
    TChartValueList list(nullptr, "X");
    TChartValueList stored(nullptr, "X");
    list.SetOrder(c.order);
    stored.SetOrder(c.order);
    stored.Data(); // stores from the first value on
    for (double v : c.added)
        EXPECT_EQ(list.AddChartValue(v), stored.AddChartValue(v));
    EXPECT_EQ(list.Consecutive(), c.staysUnstored);
    EXPECT_FALSE(stored.Consecutive());
    ASSERT_EQ(list.Count(), stored.Count());
    EXPECT_EQ(Bits(list), Bits(stored));
    EXPECT_EQ(list.Capacity(), stored.Capacity());
    if (!c.added.empty()) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(list.First()),
                  std::bit_cast<std::uint64_t>(stored.First()));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(list.Last()),
                  std::bit_cast<std::uint64_t>(stored.Last()));
    }
    // By bits, NaN included.
    auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    EXPECT_EQ(bits(list.MinValue()), bits(stored.MinValue()));
    EXPECT_EQ(bits(list.MaxValue()), bits(stored.MaxValue()));
    EXPECT_EQ(bits(list.Total()), bits(stored.Total()));
    EXPECT_EQ(bits(list.TotalABS()), bits(stored.TotalABS()));
    // Asked for contiguously, the values are stored and stay equal.
    list.Data();
    EXPECT_FALSE(list.Consecutive());
    EXPECT_EQ(Bits(list), Bits(stored));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ValueListConsecutive,
    ::testing::Values(
        ConsecutiveCase{"Empty", loNone, {}, true},
        ConsecutiveCase{"PlayNumbers", loAscending, {1, 2, 3, 4, 5}, true},
        ConsecutiveCase{"FromNegative", loNone, {-2, -1, 0, 1}, true},
        ConsecutiveCase{"Halves", loAscending, {0.5, 1.5, 2.5}, true},
        ConsecutiveCase{"GapBreaks", loAscending, {1, 2, 4, 5}, false},
        ConsecutiveCase{"RepeatBreaks", loAscending, {1, 1, 2}, false},
        ConsecutiveCase{"DescendingOrderInserts", loDescending, {1, 2, 3}, false},
        ConsecutiveCase{"AscendingOrderInsertsBefore", loAscending, {5, 6, 2, 7}, false},
        ConsecutiveCase{"NegativeZeroFirst", loNone, {-0.0, 1}, false},
        ConsecutiveCase{"NegativeZeroAfterMinusOne", loNone, {-1, -0.0}, false},
        ConsecutiveCase{"NaN", loNone, {std::numeric_limits<double>::quiet_NaN(), 1}, false},
        ConsecutiveCase{
            "BeyondExactIntegers", loNone, {9007199254740992.0, 9007199254740993.0}, true}),
    [](const auto& info) { return std::string(info.param.name); });

// 32-bit integers appended in bulk, after whatever the list held: they read
// back, count and grow exactly as doubles added one by one would, and stay
// integers only while every value so far is one.
struct WholeCase {
    const char* name;
    std::vector<double> before; // added one by one first
    std::vector<std::vector<std::int32_t>> appends;
    bool staysWhole;
};

class ValueListWhole : public ::testing::TestWithParam<WholeCase> {};

TEST_P(ValueListWhole, ReadsBackAsDoublesAddedOneByOne) {
    const WholeCase& c = GetParam();
    TChartValueList list(nullptr, "Y");
    TChartValueList stored(nullptr, "Y");
    stored.Data();
    list.Reserve(3);
    stored.Reserve(3);
    for (double v : c.before) {
        list.AddChartValue(v);
        stored.AddChartValue(v);
    }
    for (const auto& values : c.appends) {
        list.AppendValues(values.data(), values.size());
        for (std::int32_t v : values)
            stored.AddChartValue(v);
    }
    EXPECT_EQ(list.StoredInts() != nullptr, c.staysWhole);
    ASSERT_EQ(list.Count(), stored.Count());
    EXPECT_EQ(Bits(list), Bits(stored));
    EXPECT_EQ(list.Capacity(), stored.Capacity());
    auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    EXPECT_EQ(bits(list.MinValue()), bits(stored.MinValue()));
    EXPECT_EQ(bits(list.MaxValue()), bits(stored.MaxValue()));
    EXPECT_EQ(bits(list.Total()), bits(stored.Total()));
    // A value of another kind turns every value into a double.
    list.AddChartValue(0.25);
    stored.AddChartValue(0.25);
    EXPECT_EQ(list.StoredInts(), nullptr);
    EXPECT_EQ(Bits(list), Bits(stored));
    EXPECT_EQ(list.Capacity(), stored.Capacity());
}

constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Forms, ValueListWhole,
    ::testing::Values(
        WholeCase{"Balances", {}, {{0, -4, -8, 3, 3, Lowest, Highest}}, true},
        WholeCase{"AfterAConsecutiveStart", {}, {{5, 6, 7, -1, 9}}, true},
        WholeCase{"InSeveralAppends", {}, {{1, 2}, {7}, {}, {-7, -6, 100}}, true},
        WholeCase{"ConsecutiveUpToTheHighest", {}, {{Highest - 1, Highest}, {0}}, true},
        WholeCase{"AfterWholeDoubles", {-2, -1}, {{40, 41}}, true},
        WholeCase{"AfterHalves", {0.5, 1.5}, {{2, 9}}, false},
        WholeCase{"AfterNegativeZero", {-0.0}, {{1, 5}}, false},
        WholeCase{"AfterStoredDoubles", {1, 3}, {{4, 4}}, false},
        WholeCase{"PastTheHighest", {2147483646.0, 2147483647.0, 2147483648.0}, {{1}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TChartValueList, ClearedWholeListRefillsInItsOwnRoom) {
    TChartValueList list(nullptr, "Y");
    const std::vector<std::int32_t> values(5000, -3);
    list.AppendValues(values.data(), values.size());
    const std::int32_t* room = list.StoredInts();
    ASSERT_NE(room, nullptr);
    list.ClearValues();
    EXPECT_GE(list.Capacity(), 5000);
    list.AppendValues(values.data(), values.size());
    EXPECT_EQ(list.StoredInts(), room);
    EXPECT_EQ(list.Value(4999), -3);
}

TEST(TChartValueList, AMillionPlayNumbersKeepTheirRoomButNoValues) {
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    list.Reserve(1000000);
    for (int i = 1; i <= 1000000; ++i)
        list.AddChartValue(i);
    EXPECT_TRUE(list.Consecutive());
    EXPECT_EQ(list.Capacity(), 1000000);
    EXPECT_EQ(list.Value(499999), 500000);
    // A value off the sequence stores them all, in the room reserved.
    list.AddChartValue(2000000);
    EXPECT_FALSE(list.Consecutive());
    EXPECT_EQ(list.Count(), 1000001);
    EXPECT_EQ(list.Value(999999), 1000000);
    EXPECT_EQ(list.Last(), 2000000);
    // Cleared, the list starts unstored again with its room kept.
    list.ClearValues();
    EXPECT_TRUE(list.Consecutive());
    EXPECT_GE(list.Capacity(), 1000001);
    list.AddChartValue(3);
    EXPECT_EQ(list.First(), 3);
}

struct EditCase {
    const char* name;
    void (*edit)(TChartValueList&);
};

class ValueListEditsOfConsecutive : public ::testing::TestWithParam<EditCase> {};

TEST_P(ValueListEditsOfConsecutive, MatchTheSameEditsOfAStoredList) {
    TChartValueList list(nullptr, "X");
    TChartValueList stored(nullptr, "X");
    stored.Data();
    for (double v : {10.0, 11.0, 12.0, 13.0, 14.0}) {
        list.AddChartValue(v);
        stored.AddChartValue(v);
    }
    ASSERT_TRUE(list.Consecutive());
    GetParam().edit(list);
    GetParam().edit(stored);
    EXPECT_EQ(ValuesOf(list), ValuesOf(stored));
    EXPECT_EQ(list.Total(), stored.Total());
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ValueListEditsOfConsecutive,
    ::testing::Values(EditCase{"SetValue", [](TChartValueList& l) { l.SetValue(2, -7); }},
                      EditCase{"DeleteMiddle", [](TChartValueList& l) { l.Delete(1, 2); }},
                      EditCase{"DeleteTail", [](TChartValueList& l) { l.Delete(3, 9); }},
                      EditCase{"Insert", [](TChartValueList& l) { l.InsertChartValue(1, 99); }},
                      EditCase{"InsertNextAtEnd",
                               [](TChartValueList& l) { l.InsertChartValue(5, 15); }},
                      EditCase{"Exchange", [](TChartValueList& l) { l.Exchange(0, 4); }},
                      EditCase{"FillSequence", [](TChartValueList& l) { l.FillSequence(); }},
                      EditCase{"Reorder",
                               [](TChartValueList& l) {
                                   l.Reorder({4, 3, 2, 1, 0});
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
