// Bar series geometry on the recording context: the bottom axis is 500 px long
// (pixels 50..550), the left axis 0..100 over pixels 20..220 (2 px a unit).

#include "SeriesTestSupport.h"

#include "chart/ChartCanvas/TChartBrush.h"
#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/Series.h"
#include "common/PngFile.h"
#include "platform/QtDrawContext.h"

#include <gtest/gtest.h>

namespace {

const TRect Rect{50, 20, 550, 220};
int Py(double y) {
    return 220 - int(std::lround(y * 2));
}

struct BarFixture : ::testing::Test {
    std::unique_ptr<TChart> chart = MakeStagedChart(600, 260);
    RecordingDrawContext rec{600, 260};
    TBarSeries* bars = nullptr;

    void SetUp() override {
        bars = new TBarSeries();
        bars->SetParentChart(chart.get());
        bars->SetMultiBar(mbNone);
        bars->Marks().SetVisible(false);
    }
    // The repaint's layout steps for the bars, then the axes over fixed ranges.
    void Layout(AxisSetup x = {0, 11}, AxisSetup y = {0, 100}) {
        StageFlat(*chart, rec, Rect, x, y);
        bars->DoBeforeDrawChart();
        int l = 0, r = 0;
        bars->CalcHorizMargins(l, r);
    }
    void Draw() {
        rec.ClearCalls();
        DrawValuesOf(*bars);
    }
    int Category(double x) const { return chart->BottomAxis().CalcXPosValue(x); }
    int Left(double x) const { return Category(x) - bars->BarWidth() / 2; }
};

// Ten points on a 500 px axis: 11 slots of 45 px, bars 32 px wide, left edge 16 px left
// of the category pixel, 33 px covered (Left + 32 + 1 as the exclusive right).
TEST_F(BarFixture, TenPointsOnFiveHundredPixels) {
    for (int i = 1; i <= 10; ++i)
        bars->AddXY(i, 5 * i, "", clRed);
    Layout();
    EXPECT_EQ(bars->SlotCount(), 11);
    EXPECT_EQ(bars->BarWidth(), 32);
    Draw();
    const auto rects = rec.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 10u);
    for (int i = 1; i <= 10; ++i) {
        const int left = Category(i) - 16;
        EXPECT_EQ(rects[i - 1].Args, (std::vector<int>{left, Py(5 * i), left + 33, Py(0)}))
            << "bar " << i;
        EXPECT_EQ(rects[i - 1].Brush.Color, clRed);
    }
}

TEST_F(BarFixture, MarginsAreOneBarWidthEachSide) {
    for (int i = 1; i <= 10; ++i)
        bars->Add(i);
    StageFlat(*chart, rec, Rect, {0, 11}, {0, 100});
    bars->DoBeforeDrawChart();
    int l = 0, r = 0;
    bars->CalcHorizMargins(l, r);
    EXPECT_EQ(l, 32);
    EXPECT_EQ(r, 32);
    bars->SetSideMargins(false); // 10 slots of 50 px: width 35 -> 36, halved margins
    bars->DoBeforeDrawChart();
    l = r = 0;
    bars->CalcHorizMargins(l, r);
    EXPECT_EQ(bars->BarWidth(), 36);
    EXPECT_EQ(l, 18);
}

TEST_F(BarFixture, ComputedWidthsAreMadeEven) {
    for (int i = 1; i <= 10; ++i)
        bars->Add(i);
    const std::vector<std::pair<int, int>> cases = {{70, 32},  {69, 32}, {60, 28},
                                                    {100, 46}, {20, 10}, {1, 0}};
    for (auto [percent, width] : cases) {
        bars->SetBarWidthPercent(percent);
        Layout();
        EXPECT_EQ(bars->BarWidth(), width) << percent << " %";
    }
    bars->SetCustomBarWidth(7); // a fixed width is taken as it is
    Layout();
    EXPECT_EQ(bars->BarWidth(), 7);
}

TEST_F(BarFixture, NoPointsMeansNoWidthAndNoMargins) {
    Layout();
    int l = 0, r = 0, t = 0, b = 0;
    bars->CalcHorizMargins(l, r);
    bars->CalcVerticalMargins(t, b);
    EXPECT_EQ(bars->BarWidth(), 0);
    EXPECT_EQ((std::vector<int>{l, r, t, b}), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(BarFixture, ZeroHeightBarIsLineInBarColour) {
    bars->BarPen().SetColor(clWhite);
    bars->AddXY(1, 0, "", clBlue);
    bars->AddXY(2, 40, "", clBlue);
    Layout();
    Draw();
    const auto lines = VisibleLines(rec);
    ASSERT_EQ(lines.size(), 1u);
    const int left = Left(1);
    EXPECT_EQ(lines[0].Args, (std::vector<int>{left, Py(0), left + bars->BarWidth() + 1, Py(0)}));
    EXPECT_EQ(lines[0].Pen.Color, clBlue);
    ASSERT_EQ(rec.CallsOf("Rectangle").size(), 1u); // only the second bar
    EXPECT_EQ(rec.CallsOf("Rectangle")[0].Pen.Color, clWhite);
}

TEST_F(BarFixture, HiddenPenExtendsBarOnePixelRightAndDown) {
    bars->BarPen().SetVisible(false);
    bars->AddXY(1, 30);
    bars->AddXY(2, -20);
    Layout({0, 11}, {-50, 50});
    Draw();
    const auto rects = rec.CallsOf("Rectangle");
    ASSERT_EQ(rects.size(), 2u);
    const int zero = chart->LeftAxis().CalcYPosValue(0);
    const int w = bars->BarWidth();
    EXPECT_EQ(rects[0].Args, (std::vector<int>{Left(1), chart->LeftAxis().CalcYPosValue(30),
                                               Left(1) + w + 2, zero + 1}));
    EXPECT_EQ(rects[1].Args, (std::vector<int>{Left(2), zero, Left(2) + w + 2,
                                               chart->LeftAxis().CalcYPosValue(-20) + 1}));
}

TEST_F(BarFixture, ValueRangeAlwaysHoldsTheOrigin) {
    bars->Add(20);
    bars->Add(30);
    EXPECT_EQ(bars->MinYValue(), 0);
    EXPECT_EQ(bars->MaxYValue(), 30);
    bars->SetYOrigin(50);
    EXPECT_EQ(bars->MaxYValue(), 50);
    bars->SetUseYOrigin(false);
    EXPECT_EQ(bars->MinYValue(), 20);
}

TEST_F(BarFixture, SideBySideBarsShareTheSlot) {
    auto* second = new TBarSeries();
    second->SetParentChart(chart.get());
    bars->SetMultiBar(mbSide);
    second->SetMultiBar(mbSide);
    for (int i = 1; i <= 10; ++i) {
        bars->AddXY(i, i);
        second->AddXY(i, i);
    }
    Layout();
    second->DoBeforeDrawChart();
    int l = 0, r = 0;
    second->CalcHorizMargins(l, r);
    EXPECT_EQ(bars->NumSeries(), 2);
    EXPECT_EQ(bars->SeriesOrder(), 1);
    EXPECT_EQ(second->SeriesOrder(), 2);
    EXPECT_EQ(bars->BarWidth(), 16);
    EXPECT_EQ(bars->CalcXPos(0), Category(1) - 16);
    EXPECT_EQ(second->CalcXPos(0), Category(1));
}

// Marks as the program sets them: the value text in a white box, 4 px above the bar
// and centred on it, no arrow.
struct BarMarksFixture : BarFixture {
    void SetUp() override {
        BarFixture::SetUp();
        TSeriesMarks& m = bars->Marks();
        m.SetVisible(true);
        m.SetColor(clWhite);
        m.Brush().SetColor(clWhite);
        m.Brush().SetStyle(bsHorizontal);
        m.Shadow().SetSize(0);
        m.Arrow().SetVisible(false);
        m.Callout().Arrow().SetVisible(false);
        m.SetArrowLength(4);
        bars->SetAutoMarkPosition(false);
    }
    void DrawMarks() {
        rec.ClearCalls();
        bars->CalcFirstLastVisibleIndex();
        bars->DrawMarks();
    }
};

TEST_F(BarMarksFixture, MarksSitFourPixelsAboveBarCentred) {
    bars->AddXY(1, 1234);
    bars->AddXY(2, 12.5);
    Layout({0, 11}, {0, 2000});
    DrawMarks();
    std::vector<std::string> texts;
    for (const auto& c : rec.CallsOf("TextOut"))
        texts.push_back(c.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"1,234", "12.5"}));
    for (int i = 0; i < 2; ++i) {
        const TSeriesMarkPosition* p = bars->Marks().Position(i);
        ASSERT_NE(p, nullptr);
        const int centre = Category(i + 1);
        const int top = chart->LeftAxis().CalcYPosValue(bars->YValues().Value(i));
        EXPECT_EQ(p->ArrowTo.X, centre);
        EXPECT_EQ(p->ArrowTo.Y, top - 4);
        EXPECT_EQ(p->ArrowFrom.Y, top);
        EXPECT_EQ(p->LeftTop.X, centre - p->Width / 2);
        EXPECT_EQ(p->LeftTop.Y, top - p->Height + 1 - 4);
    }
    EXPECT_TRUE(VisibleLines(rec).empty()); // no arrow
}

TEST_F(BarMarksFixture, MarksOfNegativeBarsGoBelow) {
    bars->AddXY(1, -30);
    Layout({0, 11}, {-50, 50});
    DrawMarks();
    const TSeriesMarkPosition* p = bars->Marks().Position(0);
    ASSERT_NE(p, nullptr);
    const int end = chart->LeftAxis().CalcYPosValue(-30);
    EXPECT_EQ(p->ArrowFrom.Y, end);
    EXPECT_EQ(p->ArrowTo.Y, end + 4 + p->Height);
    EXPECT_EQ(p->LeftTop.Y, end + 1 + 4);
}

TEST_F(BarMarksFixture, VerticalMarginsLeaveRoomForMarks) {
    bars->Add(10);
    Layout();
    int t = 0, b = 0;
    bars->CalcVerticalMargins(t, b);
    const int length = bars->CalcMarkLength();
    EXPECT_GT(length, 4);
    EXPECT_EQ(t, length + 1);
    EXPECT_EQ(b, 0);
    bars->Add(-5);
    t = b = 0;
    bars->CalcVerticalMargins(t, b);
    EXPECT_EQ(t, length + 1);
    EXPECT_EQ(b, length + 1);
}

TEST_F(BarFixture, ClickedFindsTheBarUnderTheMouse) {
    bars->AddXY(1, 50);
    bars->AddXY(2, 20);
    Layout({0, 3});
    Draw();
    const int left = Left(2);
    const int w = bars->BarWidth();
    EXPECT_EQ(bars->Clicked(left, Py(10)), 1);
    EXPECT_EQ(bars->Clicked(left + w, Py(20)), 1);
    EXPECT_EQ(bars->Clicked(left + 10, Py(30)), -1); // above the lower bar
    EXPECT_EQ(bars->Clicked(Category(1), Py(49)), 0);
    EXPECT_EQ(bars->Clicked(Left(1) + w + 1, Py(10)), -1);
    EXPECT_EQ(bars->Clicked(Left(1) - 1, Py(10)), -1);
}

// The program's bars: gradient from the bar colour at the top to white at the bottom,
// inside a white outline.
TEST_F(BarFixture, GradientRunsFromBarColourAtTopToWhite) {
    bars->SetBarStyle(bsRectGradient);
    bars->BarPen().SetColor(clWhite);
    bars->AddXY(1, 80, "", clRed);
    bars->AddXY(2, 50, "", 0x8E8EFF);
    QtDrawContext img(600, 260);
    img.Image().fill(Qt::black);
    StageFlat(*chart, img, Rect, {0, 11}, {0, 100});
    bars->DoBeforeDrawChart();
    int l = 0, r = 0;
    bars->CalcHorizMargins(l, r);
    DrawValuesOf(*bars);
    WritePngFile(TestOutPath("bar_gradient.png"), img.PngBytes());
    auto rgb = [&](int x, int y) { return img.Image().pixel(x, y) & 0xFFFFFF; };
    const int left = Left(1);
    const int top = Py(80);
    const int bottom = Py(0);
    EXPECT_EQ(rgb(left, top + 10), 0xFFFFFFu);        // white outline
    EXPECT_EQ(rgb(left + 10, top + 1), 0xFF0000u);    // red at the top (QRgb is ARGB)
    EXPECT_EQ(rgb(left + 10, bottom - 2), 0xFFFFFFu); // white at the bottom
    const unsigned mid = rgb(left + 10, (top + bottom) / 2);
    EXPECT_EQ(mid >> 16, 0xFFu);
    EXPECT_GT(mid & 0xFF, 0x40u);
    EXPECT_LT(mid & 0xFF, 0xC0u);
}

} // namespace

namespace {

// The first-hit chart as the window sets it up.
TEST(TBarSeriesRender, FirstHitChart) {
    auto chart = MakeStagedChart(640, 300);
    chart->Legend().SetVisible(false);
    auto* bars = new TBarSeries();
    bars->SetSeriesColor(9342719);
    bars->BarPen().SetColor(clWhite);
    bars->SetBarStyle(bsRectGradient);
    bars->Gradient().SetDirection(gdTopBottom);
    bars->SetMultiBar(mbNone);
    bars->SetAutoMarkPosition(false);
    TSeriesMarks& m = bars->Marks();
    m.SetVisible(true);
    m.SetColor(clWhite);
    m.Brush().SetColor(clWhite);
    m.Brush().SetStyle(bsHorizontal);
    m.Shadow().SetSize(0);
    m.Arrow().SetVisible(false);
    m.Callout().Arrow().SetVisible(false);
    m.SetArrowLength(4);
    bars->YValues().SetName("Bar");
    bars->SetParentChart(chart.get());
    const double values[] = {120, 1234, 45, 310, 12.5, 800, 260, 75};
    for (int i = 0; i < 8; ++i)
        bars->AddXY(i + 1, values[i], "", clRed);
    chart->BottomAxis().SetIncrement(1);
    auto image = RenderChart(*chart, "series_first_hit_chart.png");
    const int left = bars->CalcXPos(1);
    const int top = bars->CalcYPos(1);
    const int bottom = bars->GetOriginPos(1);
    EXPECT_EQ(image->Image().pixel(left + 5, top + 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image->Image().pixel(left + 5, bottom - 2) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image->Image().pixel(left, (top + bottom) / 2) & 0xFFFFFF, 0xFFFFFFu);
}

} // namespace
