#include "engine/HitState.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

// Run files written by earlier versions hold these very numbers.
TEST(HitState, KeepsTheNumbersTheRecordsHold) {
    EXPECT_EQ(ToInt(HitState::None), 0);
    EXPECT_EQ(ToInt(HitState::SingleBonus), 1);
    EXPECT_EQ(ToInt(HitState::Chance), 2);
}

TEST(HitState, OnlyZeroToTwoNameAHitState) {
    struct Case {
        std::int32_t value;
        bool known;
    };
    const Case cases[] = {
        {std::numeric_limits<std::int32_t>::min(), false},
        {-1, false},
        {0, true},
        {1, true},
        {2, true},
        {3, false},
        {std::numeric_limits<std::int32_t>::max(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsHitState(c.value), c.known) << c.value;
}
