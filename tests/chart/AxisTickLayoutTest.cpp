#include "chart/ChartEngine/AxisTickLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct GridCase {
    const char* name;
    std::vector<int> ticks;
    bool centered;
    int start;
    int end;
    std::vector<int> expected;
};

struct MinorCase {
    const char* name;
    std::vector<int> ticks;
    int count;
    int start;
    int end;
    std::vector<int> ticksExpected;
    std::vector<int> gridExpected;
};

} // namespace

TEST(AxisTickLayout, GridLinePositions) {
    const std::vector<GridCase> cases = {
        {"at ticks, ends left out", {10, 50, 90}, false, 10, 90, {50}},
        {"at ticks inside", {20, 50, 80}, false, 10, 90, {20, 50, 80}},
        {"centred halves, integer division", {10, 41, 90}, true, 10, 90, {25, 65}},
        {"centred skips a midpoint on the end", {0, 20, 40}, true, 10, 90, {30}},
        {"vertical axis counts downward", {200, 150, 100}, false, 100, 200, {150}},
        {"reversed ends keep nothing", {150}, false, 200, 100, {}},
        {"no ticks", {}, false, 0, 100, {}},
        {"one tick centred has no neighbour", {50}, true, 0, 100, {}},
    };
    for (const GridCase& c : cases)
        EXPECT_EQ(GridLinePositions(c.ticks, c.centered, c.start, c.end), c.expected) << c.name;
}

TEST(AxisTickLayout, MinorTickPositions) {
    const std::vector<MinorCase> cases = {
        // Gap 40 split in 4 parts of 10, counted back from the later tick, then the
        // same spacing continues outside the first and last tick, alternating.
        {"three minors per gap",
         {20, 60},
         3,
         0,
         100,
         {50, 40, 30, 10, 70, 0, 80, 90},
         {50, 40, 30, 10, 70, 80, 90}},
        {"rounding ties to even", {0, 5}, 1, -10, 10, {3, -2, 7}, {3, -2, 7}},
        {"outside the axis dropped", {10, 30}, 1, 10, 30, {20}, {20}},
        {"ends kept as ticks, not as grid lines", {20, 40}, 1, 10, 50, {30, 10, 50}, {30}},
        {"downward vertical axis", {100, 60}, 1, 40, 120, {80, 120, 40}, {80}},
        {"one tick gives none", {50}, 3, 0, 100, {}, {}},
        {"count zero gives none", {0, 50, 100}, 0, 0, 100, {}, {}},
    };
    for (const MinorCase& c : cases) {
        const MinorTickPositions got = LayoutMinorTicks(c.ticks, c.count, c.start, c.end);
        EXPECT_EQ(got.Ticks, c.ticksExpected) << c.name;
        EXPECT_EQ(got.GridLines, c.gridExpected) << c.name;
    }
}
