#include "runs/RunDriver.h"
#include "runs/Accumulator.h"
#include "stats/BalanceLimit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <stop_token>
#include <vector>

namespace {

Slot Machine(std::uint32_t seed, double border) {
    RandomSource source;
    source.Seed(seed);
    Slot machine(source);
    machine.Reset();
    machine.SetBorder(border);
    return machine;
}

} // namespace

// However the run is cut into stretches, and whatever it keeps, it makes the
// same plays and leaves the machine in the same state.
TEST(RunDriver, EveryWayOfDrivingMakesTheSamePlays) {
    for (const std::uint32_t seed : {1u, 99u, 4000000000u}) {
        SCOPED_TRACE(seed);
        Slot whole = Machine(seed, 12.5);
        RunRecords expected;
        const long long shots = RecordPlays(whole, 5000, expected);
        ASSERT_EQ(expected.Size(), 5000u);
        for (const int every : {1, 7, 4096, 5000, 100000}) {
            Slot m = Machine(seed, 12.5);
            RunRecords got;
            int looks = 0;
            long long counted = 0;
            EXPECT_TRUE(DrivePlays(
                m, 5000, &got, every, [&] { return ++looks > 0; }, &counted));
            EXPECT_EQ(got, expected) << every;
            EXPECT_EQ(counted, shots) << every;
            EXPECT_EQ(looks, (5000 + every - 1) / every) << every;
            EXPECT_EQ(m.Random(), whole.Random()) << every;
        }
        Slot finalOnly = Machine(seed, 12.5);
        EXPECT_EQ(FinalBalance(finalOnly, 5000), expected.BallCounts.back());
        Slot banded = Machine(seed, 12.5);
        const std::vector<int> at = {0, 1, 2500, 4999, 5000};
        std::vector<std::int32_t> balances(at.size());
        ASSERT_TRUE(SampleBands(banded, at, balances.data()));
        EXPECT_EQ(balances[0], 0);
        for (std::size_t k = 1; k < at.size(); ++k) {
            EXPECT_EQ(balances[k], expected.BallCounts[at[k] - 1]) << at[k];
        }
    }
}

TEST(RunDriver, ALookThatSaysStopEndsTheRunAfterItsStretch) {
    Slot m = Machine(5, 12.5);
    RunRecords records;
    int looks = 0;
    EXPECT_FALSE(DrivePlays(m, 10000, &records, 300, [&] { return ++looks < 3; }));
    EXPECT_EQ(m.PlayNo, 900);
    EXPECT_EQ(records.Size(), 900u);
    // The same machine goes on from there.
    EXPECT_TRUE(DrivePlays(m, 1000, &records, 300, {}));
    EXPECT_EQ(records.Size(), 1000u);
    EXPECT_EQ(records.PlayNumbers.back(), 1000);
}

TEST(Accumulator, FiguresOfSmallSets) {
    const struct {
        std::vector<double> values; // in the order added
        double mean, median, p05, p95, ahead;
    } cases[] = {
        {{3, -1, 0, 1}, 0.75, 0.5, -0.85, 2.7, 0.5}, // 0 is not ahead
        {{0, 0}, 0.0, 0.0, 0.0, 0.0, 0.0},
        {{-5}, -5.0, -5.0, -5.0, -5.0, 0.0},
        {{10, 20, 30, 40, 50, 60, 70}, 40.0, 40.0, 13.0, 67.0, 1.0},
    };
    for (const auto& c : cases) {
        Accumulator a;
        for (const double v : c.values)
            a.Add(v);
        EXPECT_EQ(a.Values(), c.values);
        EXPECT_DOUBLE_EQ(a.Mean(), c.mean);
        EXPECT_DOUBLE_EQ(a.Percentile(0.5), c.median);
        EXPECT_NEAR(a.Percentile(0.05), c.p05, 1e-12);
        EXPECT_NEAR(a.Percentile(0.95), c.p95, 1e-12);
        EXPECT_DOUBLE_EQ(a.ShareAhead(), c.ahead);
        const Interval share = a.ShareAheadInterval95();
        EXPECT_LE(share.Low, c.ahead);
        EXPECT_GE(share.High, c.ahead);
        if (c.values.size() < 2) {
            EXPECT_TRUE(std::isnan(a.MeanInterval95().Low));
        }
    }
    // A value added after a percentile was asked for counts in the next one.
    Accumulator grown;
    grown.Add(1);
    EXPECT_EQ(grown.Percentile(1.0), 1.0);
    grown.Add(9);
    EXPECT_EQ(grown.Percentile(1.0), 9.0);
}

// Selection by counting gives what sorting gives, bit for bit, whatever the
// spread of the values: one bucket, few values, the extremes of 32 bits.
TEST(Accumulator, SelectedPercentilesAreThoseOfTheSortedValues) {
    std::vector<std::vector<std::int32_t>> cases = {
        {7}, {5, 5, 5, 5}, {2, -3}, {INT32_MIN, INT32_MAX, 0}, {INT32_MAX, INT32_MAX - 1, 4},
    };
    std::uint64_t state = 12345;
    const auto next = [&state](std::uint32_t spread) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::int32_t>((state >> 33) % spread) -
               static_cast<std::int32_t>(spread / 3);
    };
    for (const std::uint32_t spread : {3u, 5000u, 70000u, 4000000000u}) {
        std::vector<std::int32_t> v(20001);
        for (std::int32_t& x : v)
            x = next(spread);
        cases.push_back(v);
    }
    const std::vector<double> levels = {0.0, 0.05, 0.25, 0.5, 0.5, 0.75, 0.95, 1.0};
    for (const auto& values : cases) {
        std::vector<double> sorted(values.begin(), values.end());
        std::sort(sorted.begin(), sorted.end());
        std::vector<double> got(levels.size());
        SelectPercentiles(values, levels, got);
        for (std::size_t q = 0; q < levels.size(); ++q)
            EXPECT_EQ(got[q], Percentile(sorted, levels[q])) << values.size() << " " << levels[q];
    }
}

// Bands a few plays apart: the look comes every few thousand plays, not at
// each band, yet every play is counted and a stop is seen.
TEST(RunDriver, BandsCloseTogetherCountEveryPlayAndHonourAStop) {
    std::vector<int> at;
    for (int p = 0; p <= 20000; p += 3)
        at.push_back(p);
    at.push_back(20001);
    Slot whole = Machine(77, 12.5);
    RunRecords expected;
    RecordPlays(whole, 20001, expected);
    Slot m = Machine(77, 12.5);
    std::vector<std::int32_t> balances(at.size());
    std::atomic<std::int64_t> done{0};
    RunPath path;
    ASSERT_TRUE(SampleBands(m, at, balances.data(), {}, &done, &path));
    EXPECT_EQ(done.load(), 20001);
    for (std::size_t k = 1; k < at.size(); ++k)
        ASSERT_EQ(balances[k], expected.BallCounts[static_cast<std::size_t>(at[k]) - 1]) << at[k];
    const auto [low, high] =
        std::minmax_element(expected.BallCounts.begin(), expected.BallCounts.end());
    EXPECT_EQ(path.Lowest, std::min(0, *low));
    EXPECT_EQ(path.Highest, std::max(0, *high));
    EXPECT_EQ(m.Random(), whole.Random());

    std::stop_source stop;
    stop.request_stop();
    Slot stopped = Machine(77, 12.5);
    std::atomic<std::int64_t> counted{0};
    EXPECT_FALSE(SampleBands(stopped, at, balances.data(), stop.get_token(), &counted));
    EXPECT_EQ(stopped.PlayNo, LookEveryPlays);
    EXPECT_EQ(counted.load(), LookEveryPlays);
}

TEST(RunDriver, PlayCountStepsNeverPassTheTargetNorWrap) {
    const struct {
        int playNo, target, step, next;
    } cases[] = {
        {0, 10000, 4096, 4096},
        {8192, 10000, 4096, 10000},
        {10000, 10000, 4096, 10000},
        {2147483640, 2147483647, 4096, 2147483647}, // a sum would wrap to a negative target
        {2147479551, 2147483647, 4096, 2147483647},
        {2147479550, 2147483647, 4096, 2147483646},
        {0, 2147483647, 2147483647, 2147483647},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextStopCheck(c.playNo, c.target, c.step), c.next) << c.playNo << " " << c.target;
    }
}

TEST(RunDriver, ARunStopsAtTheBalanceGuardWithEveryBalanceIn32Bits) {
    // A machine already near the guard (border 1 loses some 250 balls a play)
    // must stop there instead of wrapping.
    for (const int start : {-BalanceGuard + 2000, BalanceGuard - 1}) {
        RandomSource source;
        source.Seed(5);
        Slot machine(source);
        machine.Reset();
        machine.SetBorder(start < 0 ? 1.0 : 249.0);
        machine.Balls = start;
        RunRecords records;
        RecordPlays(machine, 100000, records);
        ASSERT_GT(records.Size(), 0u);
        ASSERT_LT(records.Size(), 100000u);
        EXPECT_TRUE(BalanceAtGuard(records.BallCounts.back()));
        for (std::size_t i = 0; i + 1 < records.Size(); ++i) {
            EXPECT_FALSE(BalanceAtGuard(records.BallCounts[i])) << i;
        }
        EXPECT_EQ(records.Size(), static_cast<std::size_t>(machine.PlayNo));
    }
}
