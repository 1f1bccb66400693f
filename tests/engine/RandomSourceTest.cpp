#include "engine/RandomSource.h"
#include "engine/Rate_TBL.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(RandomSource, SeedOneGivesKnownSequence) {
    RandomSource rng;
    rng.Seed(1);
    EXPECT_EQ(rng.State(), 0x015A4E36u); // low word 0x015A4E36, high word 0
    EXPECT_EQ(rng.Next(), 1410184549);
    EXPECT_EQ(rng.Next(), 672584604);
    EXPECT_EQ(rng.Next(), 1915668986);

    rng.Seed(1);
    EXPECT_EQ(rng.Draw16(), 46437);
    EXPECT_EQ(rng.Draw16(), 54172);
    EXPECT_EQ(rng.Draw16(), 51706);
}

TEST(RandomSource, SeedZeroStartsAt346) {
    RandomSource rng;
    rng.Seed(0);
    EXPECT_EQ(rng.State(), 1u);
    EXPECT_EQ(rng.Next(), 346);
}

// The step written on 32-bit words, as the machine's own arithmetic does it.
TEST(RandomSource, StepMatchesWordArithmetic) {
    RandomSource rng;
    rng.Seed(0xDEADBEEFu);
    std::uint32_t lo = static_cast<std::uint32_t>(rng.State());
    std::uint32_t hi = static_cast<std::uint32_t>(rng.State() >> 32);
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t p = static_cast<std::uint64_t>(lo) * 20021u;
        const std::uint32_t plo = static_cast<std::uint32_t>(p);
        const std::uint32_t carry = plo == 0xFFFFFFFFu ? 1u : 0u;
        const std::uint32_t newHi =
            hi * 20021u + lo * 346u + static_cast<std::uint32_t>(p >> 32) + carry;
        lo = plo + 1u;
        hi = newHi;
        ASSERT_EQ(rng.Next(), static_cast<int>(hi & 0x7FFFFFFFu)) << "step " << i;
        ASSERT_EQ(rng.State(), (static_cast<std::uint64_t>(hi) << 32) | lo);
    }
}

TEST(RandomSource, IsAValueType) {
    RandomSource a;
    a.Seed(7);
    RandomSource b = a;
    EXPECT_EQ(a, b);
    const int x = a.Next();
    EXPECT_NE(a, b);
    EXPECT_EQ(b.Next(), x);
    EXPECT_EQ(a, b);
}

struct SelectCase {
    std::vector<int> weights;
    std::vector<std::pair<int, int>> rToOutcome;
};

TEST(Rate_TBL, SelectEdges) {
    const std::vector<SelectCase> cases = {
        {{165}, {{0, 0}, {164, 0}, {165, 1}, {65535, 1}}},
        {{3276, 32768, 131},
         {{0, 0},
          {3275, 0},
          {3276, 1},
          {36043, 1},
          {36044, 2},
          {36174, 2},
          {36175, 3},
          {65535, 3}}},
        {{65536}, {{0, 0}, {32768, 0}, {65535, 0}}},
        {{70000, 5}, {{0, 0}, {65535, 0}}},
        {{}, {{0, 0}, {100, 0}, {65535, 0}}},
        {{0, 10}, {{0, 1}, {9, 1}, {10, 2}}}, // a weight of 0 is never chosen
        {{10, 0, 5}, {{9, 0}, {10, 2}, {14, 2}, {15, 3}}},
        {{-5, 10}, {{0, 1}, {4, 1}, {5, 2}}}, // a negative weight shifts the rest down
    };
    for (const auto& c : cases) {
        Rate_TBL<int> t(c.weights.begin(), c.weights.end());
        for (const auto& [r, outcome] : c.rToOutcome) {
            EXPECT_EQ(t.Select(r), outcome) << "table size " << c.weights.size() << " r " << r;
        }
    }
}

TEST(Rate_TBL, HugeWeightsDoNotOverflowTheSum) {
    Rate_TBL<int> t{2147483647, 2147483647, 5};
    EXPECT_EQ(t.Select(0), 0);
    EXPECT_EQ(t.Select(65535), 0);
    Rate_TBL<int> u{-2147483647 - 1, -2147483647 - 1, 100};
    EXPECT_EQ(u.Select(0), 3);
}

TEST(Rate_TBL, CanBeEmptiedAndRefilled) {
    Rate_TBL<int> t{100};
    EXPECT_EQ(t.Select(150), 1);
    t.clear();
    t.push_back(200);
    EXPECT_EQ(t.Select(150), 0);
}
