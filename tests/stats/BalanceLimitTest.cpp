#include "stats/BalanceLimit.h"

#include <gtest/gtest.h>

#include <climits>

TEST(BalanceLimit, TheLargestPlayCountFitsAndOneMoreDoesNot) {
    for (const double border : {1.0, 5.0, 12.5, 13.85, 16.5, 50.0, 125.0, 249.0, 249.9999}) {
        SCOPED_TRACE(border);
        const MachineTheory theory = TheoryForBorder(border);
        const int most = MaxPlaysWithinBalance(theory);
        ASSERT_GT(most, 0);
        EXPECT_TRUE(BalanceFits(theory, most));
        if (most < INT_MAX) {
            EXPECT_FALSE(BalanceFits(theory, std::int64_t{most} + 1));
        }
        // The expected balance alone stays well inside 32 bits.
        EXPECT_LT(std::abs(theory.BallsPerPlay) * most, BalanceGuard);
    }
}

TEST(BalanceLimit, RunsThatWrappedAreRefusedAndUsualOnesFit) {
    const struct {
        double border;
        std::int64_t plays;
        bool fits;
    } cases[] = {
        {249.9999, 20000, false}, // wrapped to -424670318
        {249.0, 5000000, false},  // +3.25e9 expected
        {12.5, 100000000, true},  // a long run at the default border
        {13.85, INT_MAX, true},   // near break-even the balance stays small
        {1.0, 100000000, false},  // some 250 balls lost per play
        {249.9999, 2000, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BalanceFits(TheoryForBorder(c.border), c.plays), c.fits)
            << c.border << " " << c.plays;
    }
}

TEST(BalanceLimit, GuardLeavesRoomForOnePlayOnEitherSide) {
    EXPECT_FALSE(BalanceAtGuard(0));
    EXPECT_FALSE(BalanceAtGuard(BalanceGuard - 1));
    EXPECT_FALSE(BalanceAtGuard(-BalanceGuard + 1));
    EXPECT_TRUE(BalanceAtGuard(BalanceGuard));
    EXPECT_TRUE(BalanceAtGuard(-BalanceGuard));
    // A bonus at the highest border pays about 1.8e7 balls.
    EXPECT_GT(std::int64_t{INT_MAX} - BalanceGuard, 100000000);
}
