// Figures worked out by hand from the machine's weights, and the properties
// every border must keep.
#include "stats/Theory.h"

#include "engine/Slot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double Tight = 1e-12;

void ExpectClose(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, Tight * std::max(1.0, std::fabs(expected))) << what;
}

} // namespace

TEST(Theory, PocketChancesClipToTheScale) {
    struct Case {
        double weight, start, attacker, extra;
    };
    const std::vector<Case> cases = {
        {3276, 3276 / 65536.0, 0.5, 131 / 65536.0},
        {32768, 0.5, 0.5, 0.0},                         // extra pocket pushed off the scale
        {32700, 32700 / 65536.0, 0.5, 68 / 65536.0},    // extra pocket cut in part
        {40000, 40000 / 65536.0, 25536 / 65536.0, 0.0}, // attacker squeezed
        {65535, 65535 / 65536.0, 1 / 65536.0, 0.0},
        {1000.5, 1000.5 / 65536.0, 0.5, 131 / 65536.0}, // real weights for the break-even
    };
    for (const Case& c : cases) {
        const PocketChances p = PocketChancesForWeight(c.weight);
        ExpectClose(p.Start, c.start, "start");
        ExpectClose(p.Attacker, c.attacker, "attacker");
        ExpectClose(p.Extra, c.extra, "extra");
    }
}

TEST(Theory, BonusByHandAtEvenPocketAndAttacker) {
    // Weight 32768: start pocket and attacker one in two, no extra pocket.
    // 270 balls on average (negative binomial, 135 payouts at 1/2), each -1 + 3/2;
    // Var(N) = 135 * (1/2) / (1/4) = 270; Var(extras) = 9/4.
    const Moments m = BonusBalls(PocketChancesForWeight(32768));
    ExpectClose(m.Mean, -1 + 1755 + 270 * 0.5, "mean");
    ExpectClose(m.Variance, 270 * 2.25 + 270 * 0.25, "variance");
}

TEST(Theory, ChainLengthsFromEntryAndContinueWeights) {
    const double keep = 53739 / 65536.0;
    ExpectClose(ChainLengthChance(1), 0.5, "single bonus");
    ExpectClose(ChainLengthChance(2), 0.5 * (1 - keep),
                "chance mode ending after its second bonus");
    ExpectClose(ChainLengthChance(5), 0.5 * keep * keep * keep * (1 - keep), "five bonuses");
    EXPECT_EQ(ChainLengthChance(0), 0.0);
    double total = 0.0;
    double mean = 0.0;
    for (int k = 1; k < 2000; ++k) {
        total += ChainLengthChance(k);
        mean += k * ChainLengthChance(k);
    }
    EXPECT_NEAR(total, 1.0, 1e-12);
    EXPECT_NEAR(mean, TheoryForBorder(12.5).BonusesPerFirstHit, 1e-9);
}

TEST(Theory, FiguresThatDoNotDependOnTheBorder) {
    // One jackpot in 65536/165 start-pocket entries; the chance mode (one chain
    // in two) adds its further bonuses as plays, 65536/11797 of them on average.
    const double jackpot = 65536.0 / 165.0;
    const double further = 65536.0 / 11797.0;
    for (const double border : {1.0, 7.3, 12.5, 13.0, 124.99, 125.0, 130.0, 249.99}) {
        const MachineTheory t = TheoryForBorder(border);
        ExpectClose(t.PlaysPerFirstHit, jackpot + 0.5 * further, "plays per first hit");
        ExpectClose(t.BonusesPerFirstHit, 1.0 + 0.5 * further, "bonuses per first hit");
    }
}

TEST(Theory, DefaultBorderByHand) {
    const MachineTheory t = TheoryForBorder(12.5);
    EXPECT_EQ(t.Weight, 3276);
    const double p0 = 3276 / 65536.0;
    const double p2 = 131 / 65536.0;
    // 270 bonus balls at an attacker chance of 1/2, each -1 + 3 p0 + 14 p2.
    ExpectClose(t.BallsPerBonus, -1 + 1755 + 270 * (-1 + 3 * p0 + 14 * p2), "balls per bonus");
    // Shots: normal balls up to the jackpot ball, the bonus shot, and in the
    // chance mode one shot in ten wins, for each further bonus.
    const double shots =
        65536.0 * 65536.0 / (3276.0 * 165.0) + 1 + 0.5 * (65536.0 / 11797.0) * (65536.0 / 6553.0);
    ExpectClose(t.ShotsPerPlay, shots / t.PlaysPerFirstHit, "shots per play");
}

TEST(Theory, WeightIsTheEnginesOwn) {
    for (const double border : {1.0, 12.0, 12.5, 13.0, 20.0, 25.0, 125.0, 249.5}) {
        EXPECT_EQ(TheoryForBorder(border).Weight, Slot::BorderWeight(border)) << border;
    }
}

TEST(Theory, BreakEvenBorderIsWhereTheBalanceTurns) {
    const double be = BreakEvenBorder();
    ASSERT_TRUE(std::isfinite(be));
    EXPECT_GT(be, 1.0);
    EXPECT_LT(be, 250.0);
    EXPECT_EQ(TheoryForBorder(12.5).BreakEvenBorder, be);
    const auto perPlay = [](double border) {
        return CycleFiguresForWeight(65536.0 * border / 250.0).BallsPerPlay;
    };
    EXPECT_LT(perPlay(be * (1 - 1e-9)), 0.0);
    EXPECT_GT(perPlay(be * (1 + 1e-9)), 0.0);
    EXPECT_NEAR(perPlay(be), 0.0, 1e-9);
    // Below it every whole border loses, above it (up to the attacker's squeeze) wins.
    EXPECT_LT(TheoryForBorder(std::floor(be)).BallsPerPlay, 0.0);
    EXPECT_GT(TheoryForBorder(std::ceil(be)).BallsPerPlay, 0.0);
}

TEST(Theory, EveryBorderGivesFiniteFigures) {
    for (double border = 1.0; border < 250.0; border += 0.37) {
        const MachineTheory t = TheoryForBorder(border);
        ASSERT_TRUE(std::isfinite(t.BallsPerPlay)) << border;
        ASSERT_TRUE(std::isfinite(t.SdPerSqrtPlay)) << border;
        ASSERT_GT(t.SdPerSqrtPlay, 0.0) << border;
        ASSERT_GT(t.ShotsPerPlay, 1.0) << border;
        ASSERT_GT(t.BallsPerBonus, 0.0) << border;
    }
}

TEST(Theory, OutlookForPlays) {
    MachineTheory t;
    t.BallsPerPlay = -2.0;
    t.SdPerSqrtPlay = 400.0;
    const PlayOutlook o = OutlookForPlays(t, 10000, 4.0);
    EXPECT_DOUBLE_EQ(o.MeanBalance, -20000.0);
    EXPECT_DOUBLE_EQ(o.SdBalance, 40000.0);
    EXPECT_DOUBLE_EQ(o.MeanYen, -80000.0);
    EXPECT_DOUBLE_EQ(o.SdYen, 160000.0);
}
