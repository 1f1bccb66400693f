#include "chart/Chart/LegendLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FitCase {
    const char* name;
    TLegendMeasure measure;
    int total;
    int top;
    int items;
};

struct BoxCase {
    const char* name;
    TLegendMeasure measure;
    TLegendRowsFit fit;
    int textBlock;
    int symbolWidth;
    bool symbolLeft;
    TRect box;
    int rows;
    int columns;
    int shown;
    int xSymbol;
    int xText;
};

// A chart of 400 x 300 plotting in (10, 20)-(390, 280), rows 20 high, a
// one-pixel frame and a 3-pixel shadow.
TLegendMeasure Side() {
    TLegendMeasure m;
    m.Vertical = true;
    m.Alignment = laRight;
    m.TopPos = 10;
    m.MaxNumRows = 10;
    m.Bounds = {0, 0, 400, 300};
    m.ChartRect = {10, 20, 390, 280};
    m.FrameWidth = 1;
    m.FrameVisible = true;
    m.ShadowWidth = 3;
    m.ItemHeight = 20;
    return m;
}

TLegendMeasure With(TLegendMeasure m, auto change) {
    change(m);
    return m;
}

} // namespace

TEST(LegendLayout, RowsThatFit) {
    const std::vector<FitCase> cases = {
        // Top 10% of 300 = 30; (280 - 2 - 30) / 20 = 12 rows of room.
        {"docked at the side, all fit", Side(), 12, 30, 12},
        {"docked at the side, room for 12", Side(), 15, 30, 12},
        {"fewer items than room", Side(), 3, 30, 3},
        // 24.5 rounds to even.
        {"top rounds ties to even",
         With(Side(),
              [](auto& m) {
                  m.Bounds = {0, 0, 400, 245};
              }),
         2, 24, 2},
        {"custom top",
         With(Side(),
              [](auto& m) {
                  m.CustomPosition = true;
                  m.Position = {7, 100};
              }),
         20, 100, 8},
        {"top below the chart gives none",
         With(Side(),
              [](auto& m) {
                  m.CustomPosition = true;
                  m.Position = {7, 280};
              }),
         5, 280, 0},
        // (280 - 40 - 279) / 20 truncates to -1, floored at 0.
        {"negative room gives none",
         With(Side(),
              [](auto& m) {
                  m.CustomPosition = true;
                  m.Position = {7, 279};
                  m.FrameWidth = 20;
              }),
         5, 279, 0},
        {"no row height gives none", With(Side(), [](auto& m) { m.ItemHeight = 0; }), 5, 30, 0},
        {"along the top all are listed",
         With(Side(),
              [](auto& m) {
                  m.Vertical = false;
                  m.Position = {0, 44};
              }),
         50, 44, 50},
    };
    for (const FitCase& c : cases) {
        const TLegendRowsFit got = FitLegendRows(c.measure, c.total);
        EXPECT_EQ(got.Top, c.top) << c.name;
        EXPECT_EQ(got.Items, c.items) << c.name;
    }
}

TEST(LegendLayout, Box) {
    auto top = [](TLegendMeasure m) {
        m.Vertical = false;
        m.Alignment = laTop;
        return m;
    };
    auto bottom = [](TLegendMeasure m) {
        m.Vertical = false;
        m.Alignment = laBottom;
        return m;
    };
    // Items are 50 + 10 + 20 = 80 wide; 380 / 80 = 4 columns fit across.
    const std::vector<BoxCase> cases = {
        // Right edge 390 less shadow 3 and frame gap 2.
        {"right side", Side(), {30, 4}, 50, 20, true, {305, 30, 385, 112}, 4, 1, 4, 311, 335},
        {"left side without frame, symbol right",
         With(Side(),
              [](auto& m) {
                  m.Alignment = laLeft;
                  m.FrameVisible = false;
              }),
         {30, 4},
         50,
         20,
         false,
         {10, 30, 90, 112},
         4,
         1,
         4,
         66,
         16},
        {"custom position at the side",
         With(Side(),
              [](auto& m) {
                  m.CustomPosition = true;
                  m.Position = {7, 8};
              }),
         {8, 2},
         50,
         20,
         true,
         {7, 8, 87, 50},
         2,
         1,
         2,
         13,
         37},
        // 10 items in 4 columns need 3 rows; centred 320 wide; below the frame gap.
        {"top, columns fill down first",
         top(Side()),
         {0, 10},
         50,
         20,
         true,
         {40, 22, 360, 84},
         3,
         4,
         10,
         46,
         70},
        {"bottom, rows capped drop the rest",
         With(bottom(Side()), [](auto& m) { m.MaxNumRows = 2; }),
         {0, 10},
         50,
         20,
         true,
         {40, 236, 360, 278},
         2,
         4,
         8,
         46,
         70},
        {"few items in one row",
         top(Side()),
         {0, 2},
         50,
         20,
         true,
         {120, 22, 280, 44},
         1,
         2,
         2,
         126,
         150},
        // 5 items: 4 columns make 2 rows, and 2 rows need only 3 columns.
        {"columns recounted from the rows",
         top(Side()),
         {0, 5},
         50,
         20,
         true,
         {80, 22, 320, 64},
         2,
         3,
         5,
         86,
         110},
        {"item wider than the chart",
         top(Side()),
         {0, 3},
         470,
         20,
         true,
         {-50, 22, 450, 84},
         3,
         1,
         3,
         -44,
         -20},
        {"custom position along the top",
         With(top(Side()),
              [](auto& m) {
                  m.CustomPosition = true;
                  m.Position = {5, 6};
              }),
         {6, 2},
         50,
         20,
         true,
         {5, 6, 165, 28},
         1,
         2,
         2,
         11,
         35},
    };
    for (const BoxCase& c : cases) {
        const TLegendBox got =
            LayoutLegendBox(c.measure, c.fit, c.textBlock, c.symbolWidth, c.symbolLeft);
        EXPECT_EQ(got.Box, c.box) << c.name;
        EXPECT_EQ(got.Rows, c.rows) << c.name;
        EXPECT_EQ(got.Columns, c.columns) << c.name;
        EXPECT_EQ(got.Shown, c.shown) << c.name;
        EXPECT_EQ(got.XSymbol, c.xSymbol) << c.name;
        EXPECT_EQ(got.XText, c.xText) << c.name;
    }
}

TEST(LegendLayout, NoItemsNoBox) {
    const TLegendBox got = LayoutLegendBox(Side(), {30, 0}, 50, 20, true);
    EXPECT_EQ(got.Box, TRect{});
    EXPECT_EQ(got.Shown, 0);
}

TEST(LegendLayout, ItemsRunDownEachColumn) {
    TLegendBox box;
    box.Rows = 3;
    const int expected[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(box.Row(i), expected[i][0]) << i;
        EXPECT_EQ(box.Column(i), expected[i][1]) << i;
    }
}
