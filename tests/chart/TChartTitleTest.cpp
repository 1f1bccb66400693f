#include "ChartPanelTestSupport.h"

#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"

#include <gtest/gtest.h>

namespace {

// Height of a line in the title font, as the recording context measures it.
int LineHeight(const TChartTitle& title) {
    RecordingDrawContext probe(10, 10);
    probe.SetFont(title.Font().Desc());
    return probe.TextHeight("W");
}

// A flat chart whose only series uses the left and bottom axes, so nothing
// but the title and those axes takes room at the top.
std::unique_ptr<TChart> ChartWithSeries() {
    auto chart = MakeFlatChart();
    chart->Legend().SetVisible(false);
    AddTestSeries(*chart)->AddXY(1, 1);
    return chart;
}

} // namespace

TEST(TChartTitle, LeftJustifiedTitleSitsTopLeftAndKeepsItsDistance) {
    const std::string text = "スランプグラフ";
    auto chart = ChartWithSeries();
    chart->Title().SetCaption(text);
    chart->Title().SetAlignment(taLeftJustify);
    auto rec = DrawRecorded(*chart);

    const TRect initial = chart->CalcChartRectFromBounds({0, 0, 400, 250});
    const int frame = 1; // the visible black frame pen
    const int w = RecordingDrawContext::CharWidth;
    const int lh = LineHeight(chart->Title());
    const std::vector<TDrawCall> calls = TextCalls(*rec, text);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Args, (std::vector<int>{initial.Left - frame + w / 2, initial.Top + frame}));

    const TRect box = chart->Title().TitleRect();
    EXPECT_EQ(box.Left, initial.Left - frame);
    EXPECT_EQ(box.Top, initial.Top);
    EXPECT_EQ(box.Bottom, initial.Top + 2 * frame + lh);
    EXPECT_EQ(box.Right, box.Left + w + frame + rec->TextWidth(text));
    EXPECT_EQ(chart->ChartRect.Top, box.Bottom + ChartTitleFootDistance + frame);
}

TEST(TChartTitle, InvisibleOrEmptyTitleTakesNoRoom) {
    auto reference = ChartWithSeries();
    DrawRecorded(*reference);
    const int top = reference->ChartRect.Top;

    auto invisible = ChartWithSeries();
    invisible->Title().SetCaption("x");
    invisible->Title().SetVisible(false);
    DrawRecorded(*invisible);
    EXPECT_EQ(invisible->ChartRect.Top, top);

    auto shown = ChartWithSeries();
    shown->Title().SetCaption("x");
    DrawRecorded(*shown);
    EXPECT_GT(shown->ChartRect.Top, top);
}

TEST(TChartTitle, AlignmentPlacesTheText) {
    struct Case {
        TAlignment alignment;
        const char* name;
    };
    for (const Case c :
         {Case{taLeftJustify, "left"}, Case{taRightJustify, "right"}, Case{taCenter, "centre"}}) {
        auto chart = ChartWithSeries();
        chart->Title().SetCaption("Abc");
        chart->Title().SetAlignment(c.alignment);
        chart->Title().SetAdjustFrame(false);
        auto rec = DrawRecorded(*chart);
        const TRect initial = chart->CalcChartRectFromBounds({0, 0, 400, 250});
        const int tw = 3 * RecordingDrawContext::CharWidth;
        const int half = RecordingDrawContext::CharWidth / 2;
        const int left = initial.Left - 1;
        const int right = initial.Right + 1;
        const int expected = c.alignment == taLeftJustify    ? left + half
                             : c.alignment == taRightJustify ? right - tw - half
                                                             : (left + right) / 2 - tw / 2;
        const std::vector<TDrawCall> calls = TextCalls(*rec, "Abc");
        ASSERT_EQ(calls.size(), 1u) << c.name;
        EXPECT_EQ(calls[0].Args[0], expected) << c.name;
    }
}

TEST(TChartTitle, FootLinesRunUpwardFromTheBottom) {
    auto chart = ChartWithSeries();
    chart->Foot().SetCaption("one\ntwo");
    auto rec = DrawRecorded(*chart);
    const TRect initial = chart->CalcChartRectFromBounds({0, 0, 400, 250});
    const int lh = LineHeight(chart->Foot());
    const int frame = 1;
    const std::vector<TDrawCall> one = TextCalls(*rec, "one");
    const std::vector<TDrawCall> two = TextCalls(*rec, "two");
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(two.size(), 1u);
    const int boxBottom = initial.Bottom + frame;
    EXPECT_EQ(one[0].Args[1], boxBottom - lh - frame);
    EXPECT_EQ(two[0].Args[1], boxBottom - lh - (frame + lh));
    EXPECT_EQ(one[0].TextColor, clRed);
    // The bottom axis takes its room above the foot's.
    EXPECT_LE(chart->ChartRect.Bottom, boxBottom - ChartTitleFootDistance - frame - 2 * lh);
}

TEST(TChartTitle, OpaqueTitleDrawsShadowBodyAndFrame) {
    auto chart = ChartWithSeries();
    chart->Title().SetCaption("T");
    chart->Title().SetTransparent(false);
    chart->Title().SetColor(clYellow);
    auto rec = DrawRecorded(*chart);
    const TRect box = chart->Title().TitleRect();
    bool shadow = false;
    for (const TDrawCall& c : rec->CallsOf("FillRect"))
        shadow = shadow || (c.Args == std::vector<int>{box.Left + 4, box.Top + 4, box.Right + 4,
                                                       box.Bottom + 4} &&
                            c.Brush.Color == clBlack);
    EXPECT_TRUE(shadow) << "shadow of 3 plus the frame width";
    bool body = false;
    for (const TDrawCall& c : rec->CallsOf("Rectangle"))
        body = body || (c.Args == std::vector<int>{box.Left, box.Top, box.Right, box.Bottom} &&
                        c.Brush.Color == clYellow && c.Brush.Style == bsSolid);
    EXPECT_TRUE(body);
    // An opaque title keeps its shadow's height clear too.
    EXPECT_EQ(chart->ChartRect.Top, box.Bottom + ChartTitleFootDistance + 1 + 3);
}
