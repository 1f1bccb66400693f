#include "chart/Chart/TitleLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct BoxCase {
    const char* name;
    TTitleMeasure measure;
    TRect expected;
};

struct LineCase {
    const char* name;
    TTitleMeasure measure;
    TRect box;
    int line;
    int textWidth;
    TPoint expected;
};

struct RoomCase {
    const char* name;
    TTitleMeasure measure;
    TRect box;
    int shadow;
    TRect expected;
};

// Two lines 15 high in a chart plotting in (10, 20)-(410, 300); "W" is 10
// wide and the widest line 100.
TTitleMeasure Title(bool foot = false) {
    TTitleMeasure m;
    m.IsFoot = foot;
    m.ChartRect = {10, 20, 410, 300};
    m.Lines = 2;
    m.LineHeight = 15;
    m.AdjustFrame = false;
    m.Alignment = taCenter;
    m.Padding = 10;
    m.Widest = 100;
    return m;
}

TTitleMeasure With(TTitleMeasure m, auto change) {
    change(m);
    return m;
}

} // namespace

TEST(TitleLayout, Box) {
    auto adjusted = [](TAlignment a) {
        return [a](TTitleMeasure& m) {
            m.AdjustFrame = true;
            m.Alignment = a;
        };
    };
    const std::vector<BoxCase> cases = {
        {"title across the top", Title(), {10, 20, 410, 50}},
        // Text starts below the frame; the frame then grows 2 on every side.
        {"framed title", With(Title(), [](auto& m) { m.FrameWidth = 2; }), {8, 20, 412, 54}},
        {"framed foot grows up from the bottom",
         With(Title(true), [](auto& m) { m.FrameWidth = 2; }),
         {8, 268, 412, 302}},
        {"adjusted left", With(Title(), adjusted(taLeftJustify)), {10, 20, 120, 50}},
        {"adjusted right", With(Title(), adjusted(taRightJustify)), {300, 20, 410, 50}},
        // 10 + 100 = 110 centred on 210.
        {"adjusted centre", With(Title(), adjusted(taCenter)), {155, 20, 265, 50}},
        {"adjusted centre loses an odd pixel",
         With(With(Title(), adjusted(taCenter)), [](auto& m) { m.Widest = 101; }),
         {155, 20, 265, 50}},
        {"adjusted width counts the frame once",
         With(With(Title(), adjusted(taLeftJustify)), [](auto& m) { m.FrameWidth = 2; }),
         {8, 20, 120, 54}},
        {"custom position: no frame room",
         With(Title(),
              [](auto& m) {
                  m.CustomPosition = true;
                  m.Position = {50, 60};
                  m.FrameWidth = 2;
              }),
         {50, 60, 50, 90}},
        {"custom foot also grows downward",
         With(Title(true),
              [](auto& m) {
                  m.CustomPosition = true;
                  m.Position = {50, 60};
              }),
         {50, 60, 50, 90}},
        {"custom centred starts at its left",
         With(With(Title(), adjusted(taCenter)),
              [](auto& m) {
                  m.CustomPosition = true;
                  m.Position = {50, 60};
              }),
         {50, 60, 160, 90}},
    };
    for (const BoxCase& c : cases)
        EXPECT_EQ(TitleBox(c.measure), c.expected) << c.name;
}

TEST(TitleLayout, LineOrigins) {
    auto align = [](TTitleMeasure m, TAlignment a) {
        m.Alignment = a;
        return m;
    };
    const TTitleMeasure framedFoot = With(Title(true), [](auto& m) { m.FrameWidth = 2; });
    const std::vector<LineCase> cases = {
        {"first line at the top", Title(), {10, 20, 410, 50}, 0, 40, {190, 20}},
        {"second line below", Title(), {10, 20, 410, 50}, 1, 41, {190, 35}},
        {"left after half a W", align(Title(), taLeftJustify), {10, 20, 410, 50}, 0, 40, {15, 20}},
        {"right before half a W",
         align(Title(), taRightJustify),
         {10, 20, 410, 50},
         0,
         40,
         {365, 20}},
        // A foot counts its lines up from the bottom, inside the frame.
        {"foot's first line at the bottom", framedFoot, {8, 268, 412, 302}, 0, 40, {190, 285}},
        {"foot's second line above", framedFoot, {8, 268, 412, 302}, 1, 40, {190, 270}},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(TitleLineOrigin(c.measure, c.box, c.line, c.textWidth), c.expected) << c.name;
}

TEST(TitleLayout, RoomTaken) {
    const TTitleMeasure framed = With(Title(), [](auto& m) { m.FrameWidth = 2; });
    const TTitleMeasure custom = With(Title(), [](auto& m) { m.CustomPosition = true; });
    const std::vector<RoomCase> cases = {
        {"title pushes the top below it", Title(), {10, 20, 410, 50}, 0, {10, 55, 410, 300}},
        {"frame and shadow add room", framed, {8, 20, 412, 54}, 3, {10, 64, 410, 300}},
        // 302 - (5 + 2) - 2 * 15.
        {"foot lifts the bottom",
         With(Title(true), [](auto& m) { m.FrameWidth = 2; }),
         {8, 268, 412, 302},
         0,
         {10, 20, 410, 265}},
        {"custom position takes none", custom, {0, 0, 100, 30}, 3, {10, 20, 410, 300}},
    };
    for (const RoomCase& c : cases)
        EXPECT_EQ(ChartRectAfterTitle(c.measure, c.box, c.shadow), c.expected) << c.name;
}
