#include "chart/ChartCanvas/GradientBands.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct LinearCase {
    const char* name;
    TRect rect;
    TColor start;
    TColor end;
    TGradientDirection direction;
    int balance;
    std::vector<TColoredRect> rects;
    std::vector<TColoredLine> lines;
};

struct RadialCase {
    const char* name;
    TRect rect;
    TColor start;
    TColor end;
    int balance;
    int offsetX;
    int offsetY;
    std::vector<TColoredRect> ellipses;
};

struct PartsCase {
    const char* name;
    TRect rect;
    TGradientDirection direction;
    TColor mid;
    std::vector<TGradientPart> expected;
};

constexpr TColor Black = RGBColor(0, 0, 0);
constexpr TColor Ramp = RGBColor(30, 60, 90);

} // namespace

TEST(GradientBands, LinearBands) {
    const std::vector<LinearCase> cases = {
        // Band 0 (start) at the bottom, thirds of the channel differences upward.
        {"top-bottom, start at the bottom",
         {0, 0, 10, 4},
         Black,
         Ramp,
         gdTopBottom,
         50,
         {{{0, 3, 10, 4}, Black},
          {{0, 2, 10, 3}, RGBColor(10, 20, 30)},
          {{0, 1, 10, 2}, RGBColor(20, 40, 60)},
          {{0, 0, 10, 1}, Ramp}},
         {}},
        {"bottom-top swaps the colours",
         {0, 0, 10, 4},
         Black,
         Ramp,
         gdBottomTop,
         50,
         {{{0, 3, 10, 4}, Ramp},
          {{0, 2, 10, 3}, RGBColor(20, 40, 60)},
          {{0, 1, 10, 2}, RGBColor(10, 20, 30)},
          {{0, 0, 10, 1}, Black}},
         {}},
        {"a reversed rectangle is oriented first",
         {10, 4, 0, 0},
         Black,
         Ramp,
         gdTopBottom,
         50,
         {{{0, 3, 10, 4}, Black},
          {{0, 2, 10, 3}, RGBColor(10, 20, 30)},
          {{0, 1, 10, 2}, RGBColor(20, 40, 60)},
          {{0, 0, 10, 1}, Ramp}},
         {}},
        {"left-right counts from the right edge",
         {10, 20, 13, 22},
         Black,
         RGBColor(100, 50, 0),
         gdLeftRight,
         50,
         {{{12, 20, 13, 22}, Black},
          {{11, 20, 12, 22}, RGBColor(50, 25, 0)},
          {{10, 20, 11, 22}, RGBColor(100, 50, 0)}},
         {}},
        {"right-left swaps the colours",
         {10, 20, 13, 22},
         Black,
         RGBColor(100, 50, 0),
         gdRightLeft,
         50,
         {{{12, 20, 13, 22}, RGBColor(100, 50, 0)},
          {{11, 20, 12, 22}, RGBColor(50, 25, 0)},
          {{10, 20, 11, 22}, Black}},
         {}},
        // -10 / 3 and -20 / 3 truncate to -3 and -6.
        {"falling channel steps truncate toward zero",
         {0, 0, 1, 4},
         RGBColor(10, 0, 0),
         Black,
         gdTopBottom,
         50,
         {{{0, 3, 1, 4}, RGBColor(10, 0, 0)},
          {{0, 2, 1, 3}, RGBColor(7, 0, 0)},
          {{0, 1, 1, 2}, RGBColor(4, 0, 0)},
          {{0, 0, 1, 1}, Black}},
         {}},
        // Power 0.5: 100 * sqrt(1/4, 2/4, 3/4, 1) = 50, 70.7, 86.6, 100.
        {"balance 0 bends toward the end colour",
         {0, 0, 1, 4},
         Black,
         RGBColor(100, 0, 0),
         gdTopBottom,
         0,
         {{{0, 3, 1, 4}, RGBColor(50, 0, 0)},
          {{0, 2, 1, 3}, RGBColor(71, 0, 0)},
          {{0, 1, 1, 2}, RGBColor(87, 0, 0)},
          {{0, 0, 1, 1}, RGBColor(100, 0, 0)}},
         {}},
        // Power 2: 100 * (1/16, 4/16, 9/16, 1) = 6.25, 25, 56.25, 100.
        {"balance 100 bends toward the start colour",
         {0, 0, 1, 4},
         Black,
         RGBColor(100, 0, 0),
         gdTopBottom,
         100,
         {{{0, 3, 1, 4}, RGBColor(6, 0, 0)},
          {{0, 2, 1, 3}, RGBColor(25, 0, 0)},
          {{0, 1, 1, 2}, RGBColor(56, 0, 0)},
          {{0, 0, 1, 1}, RGBColor(100, 0, 0)}},
         {}},
        {"one row paints nothing", {0, 0, 10, 1}, Black, Ramp, gdTopBottom, 50, {}, {}},
        {"one column paints nothing", {0, 0, 1, 10}, Black, Ramp, gdLeftRight, 50, {}, {}},
        // n = 2 + 1; frames shrink a step a side, the height runs out first.
        {"from the centre, end colour outside",
         {0, 0, 4, 2},
         RGBColor(90, 0, 0),
         Black,
         gdFromCenter,
         50,
         {{{0, 0, 4, 2}, Black},
          {{1, 1, 3, 1}, RGBColor(60, 0, 0)},
          {{2, 1, 2, 1}, RGBColor(90, 0, 0)}},
         {}},
        {"from the centre of nothing", {5, 5, 6, 6}, Black, Ramp, gdFromCenter, 50, {}, {}},
        // n = 3 + 2; diagonals x + y = 0..3, each line ends one step past its last pixel.
        {"from the top-left corner",
         {0, 0, 3, 2},
         RGBColor(50, 0, 0),
         Black,
         gdFromTopLeft,
         50,
         {},
         {{{0, 0}, {-1, 1}, Black},
          {{1, 0}, {-1, 2}, RGBColor(10, 0, 0)},
          {{2, 0}, {0, 2}, RGBColor(20, 0, 0)},
          {{2, 1}, {1, 2}, RGBColor(30, 0, 0)}}},
        {"from the bottom-left corner",
         {0, 0, 3, 2},
         RGBColor(50, 0, 0),
         Black,
         gdFromBottomLeft,
         50,
         {},
         {{{0, 1}, {-1, 0}, Black},
          {{1, 1}, {-1, -1}, RGBColor(10, 0, 0)},
          {{2, 1}, {0, -1}, RGBColor(20, 0, 0)},
          {{2, 0}, {1, -1}, RGBColor(30, 0, 0)}}},
        {"corner of an empty rectangle", {0, 0, 3, 0}, Black, Ramp, gdFromTopLeft, 50, {}, {}},
        {"radial is not a linear gradient", {0, 0, 10, 10}, Black, Ramp, gdRadial, 50, {}, {}},
    };
    for (const LinearCase& c : cases) {
        const TGradientBands got =
            LinearGradientBands(c.rect, c.start, c.end, c.direction, c.balance);
        EXPECT_EQ(got.Rects, c.rects) << c.name;
        EXPECT_EQ(got.Lines, c.lines) << c.name;
        EXPECT_TRUE(got.Ellipses.empty()) << c.name;
    }
}

TEST(GradientBands, TallRectangleUses256BandsOfThreeOrFourRows) {
    const TGradientBands got =
        LinearGradientBands({0, 0, 5, 1000}, Black, RGBColor(255, 0, 0), gdTopBottom, 50);
    ASSERT_EQ(got.Rects.size(), 256u);
    int covered = 0;
    for (const TColoredRect& band : got.Rects) {
        const int rows = band.Rect.Bottom - band.Rect.Top;
        EXPECT_TRUE(rows == 3 || rows == 4) << rows;
        covered += rows;
    }
    EXPECT_EQ(covered, 1000);
    EXPECT_EQ(got.Rects.front(), (TColoredRect{{0, 997, 5, 1000}, Black}));
    EXPECT_EQ(got.Rects.back(), (TColoredRect{{0, 0, 5, 4}, RGBColor(255, 0, 0)}));
}

TEST(GradientBands, RadialBands) {
    const std::vector<RadialCase> cases = {
        // k = 4 rings; centre one pixel past the middle; radii 2 * i / 4.
        {"even square",
         {0, 0, 4, 4},
         Black,
         RGBColor(100, 0, 0),
         50,
         0,
         0,
         {{{1, 1, 5, 5}, RGBColor(100, 0, 0)},
          {{2, 2, 4, 4}, RGBColor(75, 0, 0)},
          {{2, 2, 4, 4}, RGBColor(50, 0, 0)},
          {{3, 3, 3, 3}, RGBColor(25, 0, 0)},
          {{3, 3, 3, 3}, Black}}},
        // An odd side drops a ring (k = 5 - 1); the offset moves the centre.
        {"odd sides and an offset",
         {0, 0, 5, 3},
         Black,
         RGBColor(100, 0, 0),
         50,
         10,
         -1,
         {{{11, 0, 15, 2}, RGBColor(100, 0, 0)},
          {{12, 1, 14, 1}, RGBColor(75, 0, 0)},
          {{12, 1, 14, 1}, RGBColor(50, 0, 0)},
          {{13, 1, 13, 1}, RGBColor(25, 0, 0)},
          {{13, 1, 13, 1}, Black}}},
        // Power 2: 100 * ((i + 1) / 3)^2 for i = 2, 1, 0.
        {"uneven balance",
         {0, 0, 2, 2},
         Black,
         RGBColor(100, 0, 0),
         100,
         0,
         0,
         {{{1, 1, 3, 3}, RGBColor(100, 0, 0)},
          {{2, 2, 2, 2}, RGBColor(44, 0, 0)},
          {{2, 2, 2, 2}, RGBColor(11, 0, 0)}}},
        {"a pixel has background only", {0, 0, 1, 1}, Black, RGBColor(100, 0, 0), 50, 0, 0, {}},
    };
    for (const RadialCase& c : cases) {
        const TGradientBands got =
            RadialGradientBands(c.rect, c.start, c.end, c.balance, c.offsetX, c.offsetY);
        ASSERT_EQ(got.Rects.size(), 1u) << c.name;
        EXPECT_EQ(got.Rects[0], (TColoredRect{c.rect, c.end})) << c.name;
        EXPECT_EQ(got.Ellipses, c.ellipses) << c.name;
        EXPECT_TRUE(got.Lines.empty()) << c.name;
    }
}

TEST(GradientBands, MiddleColourSplitsInHalves) {
    const TColor s = RGBColor(1, 0, 0), m = RGBColor(2, 0, 0), e = RGBColor(3, 0, 0);
    const std::vector<PartsCase> cases = {
        {"no middle keeps the rectangle and balance",
         {10, 0, 0, 21},
         gdTopBottom,
         clNone,
         {{{10, 0, 0, 21}, s, e, gdTopBottom, 70}}},
        {"top-bottom: end above, start below",
         {0, 0, 10, 21},
         gdTopBottom,
         m,
         {{{0, 0, 10, 10}, m, e, gdTopBottom, 50}, {{0, 10, 10, 21}, s, m, gdTopBottom, 50}}},
        {"bottom-top: start above, end below",
         {0, 21, 10, 0},
         gdBottomTop,
         m,
         {{{0, 0, 10, 10}, s, m, gdBottomTop, 50}, {{0, 10, 10, 21}, m, e, gdBottomTop, 50}}},
        {"left-right: end left, start right",
         {0, 0, 11, 4},
         gdLeftRight,
         m,
         {{{0, 0, 5, 4}, m, e, gdLeftRight, 50}, {{5, 0, 11, 4}, s, m, gdLeftRight, 50}}},
        {"right-left: start left, end right",
         {0, 0, 11, 4},
         gdRightLeft,
         m,
         {{{0, 0, 5, 4}, s, m, gdRightLeft, 50}, {{5, 0, 11, 4}, m, e, gdRightLeft, 50}}},
        {"other directions ignore the middle, balance even",
         {10, 20, 0, 0},
         gdFromCenter,
         m,
         {{{0, 0, 10, 20}, s, e, gdFromCenter, 50}}},
    };
    for (const PartsCase& c : cases)
        EXPECT_EQ(GradientParts(c.rect, c.direction, s, c.mid, e, 70), c.expected) << c.name;
}
