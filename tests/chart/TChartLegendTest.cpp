#include "ChartPanelTestSupport.h"

#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartPanel/ChartException.h"
#include "numfmt/NumberFormats.h"

#include <gtest/gtest.h>

namespace {

constexpr int CW = RecordingDrawContext::CharWidth;

std::string Cols(const std::string& a, const std::string& b) {
    return a + ChartColumnSeparator + b;
}

} // namespace

TEST(TChartLegend, StyleAndSeriesRows) {
    auto chart = MakeFlatChart();
    TChartLegend& legend = chart->Legend();
    TChartSeries* a = AddTestSeries(*chart, "勝利");
    EXPECT_EQ(legend.ResolvedStyle(), lsValues) << "one active series lists its points";
    TChartSeries* b = AddTestSeries(*chart, "");
    b->SetName("Series2");
    TChartSeries* hidden = AddTestSeries(*chart, "hidden");
    hidden->SetShowInLegend(false);
    EXPECT_EQ(legend.ResolvedStyle(), lsSeries);
    EXPECT_EQ(legend.TotalLegendItems(), 2);
    EXPECT_EQ(legend.LegendText(0), "勝利");
    EXPECT_EQ(legend.LegendText(1), "Series2") << "component name when the title is empty";
    a->SetActive(false);
    legend.SetLegendStyle(lsSeries);
    EXPECT_EQ(legend.TotalLegendItems(), 1);
    EXPECT_EQ(legend.LegendText(0), "Series2");
    legend.SetFirstValue(1);
    EXPECT_EQ(legend.TotalLegendItems(), 0);
    legend.SetFirstValue(5);
    EXPECT_EQ(legend.TotalLegendItems(), 0) << "never below 0";
}

TEST(TChartLegend, FirstValueBelowZeroIsRefused) {
    TChart chart(nullptr);
    chart.Legend().SetFirstValue(2);
    try {
        chart.Legend().SetFirstValue(-1);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "First Legend Value must be > 0");
    }
    EXPECT_EQ(chart.Legend().FirstValue(), 2);
}

TEST(TChartLegend, ValueTextsByTextStyle) {
    auto chart = MakeFlatChart();
    TChartSeries* s = AddTestSeries(*chart);
    s->AddXY(4, 10, "A");
    s->AddXY(5, 30, "");
    const std::string ten = FormatFloat(s->ValueFormat(), 10);
    const std::string p25 = FormatFloat(s->PercentFormat(), 25);
    const std::string p75 = FormatFloat(s->PercentFormat(), 75);
    const std::string x4 = chart->BottomAxis().LabelValue(4);
    struct Case {
        TLegendTextStyle style;
        int index;
        std::string text;
    };
    const Case cases[] = {
        {ltsPlain, 0, "A"},
        {ltsPlain, 1, ""},
        {ltsLeftValue, 0, Cols(ten, "A")},
        {ltsLeftValue, 1, FormatFloat(s->ValueFormat(), 30)},
        {ltsRightValue, 0, Cols("A", ten)},
        {ltsLeftPercent, 0, Cols(p25, "A")},
        {ltsRightPercent, 1, p75},
        {ltsXValue, 0, x4},
        {ltsValue, 0, ten},
        {ltsPercent, 1, p75},
        {ltsXAndValue, 0, Cols(x4, ten)},
        {ltsXAndPercent, 0, Cols(x4, p25)},
    };
    for (const Case& c : cases) {
        chart->Legend().SetTextStyle(c.style);
        EXPECT_EQ(chart->Legend().ValueText(*s, c.index), c.text) << int(c.style) << " " << c.index;
    }
}

TEST(TChartLegend, SymbolWidthRules) {
    // Rows "A" and "BB": text block = 12 + 0 + 2 * 6 - 1 = 23.
    struct Case {
        bool visible;
        bool squared;
        TLegendSymbolSize units;
        int width;
        int expected; // -1: item height - 5
    };
    const Case cases[] = {
        {true, false, lcsPercent, 20, 7}, // round(33 * 0.2) = round(6.6)
        {true, false, lcsPercent, 15, 5}, // round(4.95)
        {true, false, lcsPixels, 15, 15},  {true, true, lcsPixels, 15, -1},
        {false, false, lcsPercent, 20, 0},
    };
    for (const Case& c : cases) {
        auto chart = MakeFlatChart();
        AddTestSeries(*chart, "A");
        AddTestSeries(*chart, "BB");
        TLegendSymbol& symbol = chart->Legend().Symbol();
        symbol.SetVisible(c.visible);
        symbol.SetSquared(c.squared);
        symbol.SetWidthUnits(c.units);
        chart->Legend().SetColorWidth(c.width);
        DrawRecorded(*chart);
        const TChartLegend& legend = chart->Legend();
        EXPECT_EQ(legend.TextWidth() + 2 * CW - 1, 23);
        const int expected = c.expected == -1 ? legend.ItemHeight() - 5 : c.expected;
        EXPECT_EQ(legend.SymbolWidth(), expected) << c.width << " " << c.squared;
        EXPECT_EQ(legend.RectLegend().Right - legend.RectLegend().Left, 23 + 10 + expected);
    }
}

TEST(TChartLegend, CustomPositionKeepsItsCornerAndTakesNoRoom) {
    for (const int width : {597, 700}) {
        auto without = MakeFlatChart(width, 217);
        AddTestSeries(*without, "勝利");
        AddTestSeries(*without, "敗北");
        without->Legend().SetVisible(false);
        DrawRecorded(*without);

        auto chart = MakeFlatChart(width, 217);
        AddTestSeries(*chart, "勝利");
        AddTestSeries(*chart, "敗北");
        TChartLegend& legend = chart->Legend();
        legend.SetCustomPosition(true);
        legend.SetLeft(520);
        legend.SetTop(5);
        auto rec = DrawRecorded(*chart);
        EXPECT_EQ(legend.RectLegend().Left, 520);
        EXPECT_EQ(legend.RectLegend().Top, 5);
        EXPECT_EQ(legend.NumRows(), 2);
        EXPECT_EQ(legend.RectLegend().Bottom, 5 + 2 * legend.ItemHeight() + 2);
        EXPECT_EQ(chart->ChartRect, without->ChartRect) << width;
        const std::vector<TDrawCall> win = TextCalls(*rec, "勝利");
        const std::vector<TDrawCall> loss = TextCalls(*rec, "敗北");
        ASSERT_EQ(win.size(), 1u);
        ASSERT_EQ(loss.size(), 1u);
        EXPECT_EQ(win[0].Args, (std::vector<int>{520 + legend.SymbolWidth() + 10, 5 + 1}));
        EXPECT_EQ(loss[0].Args[1], 5 + 1 + legend.ItemHeight());
    }
}

TEST(TChartLegend, RoundRectangleLegendWithOnePixelShadowTakesRoomOnTheRight) {
    auto chart = MakeFlatChart(305, 182);
    chart->Title().SetVisible(false);
    TChartSeries* pie = AddTestSeries<NoAxisTestSeries>(*chart, "KoyakuSeries");
    pie->AddXY(0, 3, "1回");
    pie->AddXY(0, 1, "2回");
    TChartLegend& legend = chart->Legend();
    legend.SetTextStyle(ltsPlain);
    legend.SetColorWidth(15);
    legend.SetShapeStyle(fosRoundRectangle);
    legend.Shadow().SetHorizSize(1);
    legend.Shadow().SetVertSize(1);
    auto rec = DrawRecorded(*chart);

    const TRect initial = chart->CalcChartRectFromBounds({0, 0, 305, 182});
    const TRect box = legend.RectLegend();
    // Text block 4 bytes * 6 + 2 blanks - 1 = 35; symbol round(45 * 0.15) = 7.
    EXPECT_EQ(legend.SymbolWidth(), 7);
    EXPECT_EQ(box.Right, initial.Right - 1 - (1 + 1));
    EXPECT_EQ(box.Left, box.Right - (35 + 10 + 7));
    EXPECT_EQ(box.Top, 0 + ChartRound(10 * 182 * 0.01));
    EXPECT_EQ(box.Bottom, box.Top + 2 * legend.ItemHeight() + 2);

    // Shadow first (1 + frame 1 down and right, no outline), then the body.
    std::size_t shadowAt = 0;
    std::size_t bodyAt = 0;
    const std::vector<TDrawCall>& calls = rec->Calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const TDrawCall& c = calls[i];
        if (c.Op == "FillRect" &&
            c.Args == std::vector<int>{box.Left + 2, box.Top + 2, box.Right + 2, box.Bottom + 2})
            shadowAt = i + 1;
        if (c.Op == "RoundRect" &&
            c.Args == std::vector<int>{box.Left, box.Top, box.Right, box.Bottom, 16, 16}) {
            bodyAt = i + 1;
            EXPECT_EQ(c.Brush.Color, clWhite);
            EXPECT_EQ(c.Pen.Color, clBlack);
        }
    }
    ASSERT_GT(shadowAt, 0u);
    ASSERT_GT(bodyAt, 0u);
    EXPECT_LT(shadowAt, bodyAt);
    EXPECT_EQ(calls[shadowAt - 1].Brush.Color, clBlack);

    // Rows: plain labels after the symbol.
    const std::vector<TDrawCall> first = TextCalls(*rec, "1回");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].Args, (std::vector<int>{box.Left + 7 + 10, box.Top + 1}));

    // Room: the box's left edge less 3 % of the chart width before the legend.
    EXPECT_EQ(chart->ChartRect.Right, box.Left - ChartRound((initial.Right - initial.Left) * 0.03));
}

TEST(TChartLegend, VerticalLegendShowsOnlyTheRowsThatFit) {
    auto chart = MakeFlatChart(300, 120);
    TChartSeries* s = AddTestSeries(*chart);
    for (int i = 0; i < 40; ++i)
        s->AddXY(i, i, "p" + std::to_string(i));
    chart->Legend().SetTextStyle(ltsPlain);
    chart->Legend().SetFirstValue(3);
    auto rec = DrawRecorded(*chart);
    const TChartLegend& legend = chart->Legend();
    ASSERT_GT(legend.ItemHeight(), 0);
    const int top = ChartRound(10 * 120 * 0.01);
    // The chart rectangle's bottom when the legend was drawn is the initial one.
    const TRect initial = chart->CalcChartRectFromBounds({0, 0, 300, 120});
    const int fit = (initial.Bottom - 2 * 1 - top) / legend.ItemHeight();
    ASSERT_LT(fit, 37);
    EXPECT_EQ(legend.NumRows(), fit);
    ASSERT_FALSE(legend.ShownItems().empty());
    EXPECT_EQ(legend.ShownItems().front(), 3);
    EXPECT_EQ(legend.LastValue(), 3 + fit - 1);
    // Axis labels carry the same texts; count only those inside the legend.
    auto inLegend = [&](const std::string& text) {
        int n = 0;
        for (const TDrawCall& c : TextCalls(*rec, text))
            n += PointInRect(legend.RectLegend(), c.Args[0], c.Args[1]) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(inLegend("p3"), 1);
    EXPECT_EQ(inLegend("p2"), 0);
    EXPECT_EQ(inLegend("p" + std::to_string(2 + fit)), 1);
    EXPECT_EQ(inLegend("p" + std::to_string(3 + fit)), 0);
    EXPECT_EQ(legend.Clicked(legend.RectLegend().Left + 2, legend.RectLegend().Top + 2), 3);
    EXPECT_EQ(legend.Clicked(legend.RectLegend().Left - 2, legend.RectLegend().Top + 2), -1);
}

TEST(TChartLegend, NoRowsNothingDrawn) {
    auto chart = MakeFlatChart();
    TChartSeries* s = AddTestSeries(*chart, "x");
    s->SetShowInLegend(false);
    auto rec = DrawRecorded(*chart);
    EXPECT_TRUE(TextCalls(*rec, "x").empty());
    EXPECT_EQ(chart->Legend().NumRows(), 0);
}
