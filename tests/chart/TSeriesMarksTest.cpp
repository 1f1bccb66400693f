#include "ChartPanelTestSupport.h"

#include "chart/ChartCanvas/TChartFont.h"
#include "chart/ChartCanvas/TChartGradient.h"
#include "chart/ChartCanvas/TChartPen.h"
#include "chart/ChartCanvas/TChartShadow.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "common/PngFile.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct TextCase {
    const char* name;
    TSeriesMarksStyle style;
    bool multiLine;
    std::vector<double> values;
    std::vector<std::string> labels;
    int index;
    const char* expected;
};

class MarkText : public ::testing::TestWithParam<TextCase> {};

TEST_P(MarkText, ByStyle) {
    const TextCase& c = GetParam();
    TChartSeries s;
    for (std::size_t i = 0; i < c.values.size(); ++i)
        s.Add(c.values[i], i < c.labels.size() ? c.labels[i] : "");
    s.Marks().SetStyle(c.style);
    s.Marks().SetMultiLine(c.multiLine);
    EXPECT_EQ(s.GetMarkText(c.index), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MarkText,
    ::testing::Values(
        TextCase{"label falls back to value", smsLabel, false, {1234, 12.5}, {}, 0, "1,234"},
        TextCase{"decimal value", smsLabel, false, {1234, 12.5}, {}, 1, "12.5"},
        TextCase{"label", smsLabel, false, {5}, {"abc"}, 0, "abc"},
        TextCase{"value ignores label", smsValue, false, {5}, {"abc"}, 0, "5"},
        TextCase{"percent of 1", smsPercent, false, {1, 3}, {}, 0, "25 %"},
        TextCase{"percent of 3", smsPercent, false, {1, 3}, {}, 1, "75 %"},
        TextCase{"negative counts by magnitude", smsPercent, false, {-1, 3}, {}, 0, "25 %"},
        TextCase{"all zero", smsPercent, false, {0, 0}, {}, 1, "100 %"},
        TextCase{"label percent", smsLabelPercent, false, {1, 3}, {"a", "b"}, 1, "b 75 %"},
        TextCase{"label value two lines", smsLabelValue, true, {7}, {"a"}, 0, "a\r7"},
        TextCase{"percent total", smsPercentTotal, false, {1, 3}, {}, 0, "25 % of 4"},
        TextCase{"percent total two lines", smsPercentTotal, true, {1, 3}, {}, 0, "25 %\rof 4"},
        TextCase{
            "label percent total", smsLabelPercentTotal, false, {1, 3}, {"x"}, 0, "x 25 % of 4"},
        TextCase{"x value", smsXValue, false, {9, 9, 9}, {}, 2, "2"},
        TextCase{"x and value", smsXY, false, {9, 1500}, {}, 1, "1 1,500"}));

TEST(TSeriesMarks, TextEventReplacesText) {
    TChartSeries s;
    s.Add(3);
    s.OnGetMarkText = [](TChartSeries*, int index, std::string& text) {
        text = "#" + std::to_string(index) + ":" + text;
    };
    EXPECT_EQ(s.GetMarkText(0), "#0:3");
}

TEST(TSeriesMarks, Defaults) {
    TChartSeries s;
    const TSeriesMarks& m = s.Marks();
    EXPECT_FALSE(m.Visible());
    EXPECT_EQ(m.Style(), smsLabel);
    EXPECT_EQ(m.Color(), TColor(-2147483624));
    EXPECT_EQ(m.DrawEvery(), 1);
    EXPECT_EQ(m.Shadow().Color(), 8421504);
    EXPECT_EQ(m.Shadow().HorizSize(), 1);
    EXPECT_EQ(m.Gradient().Direction(), gdRightLeft);
    EXPECT_EQ(m.Gradient().StartColor(), 12632256);
    EXPECT_EQ(m.Gradient().EndColor(), 16777215);
    EXPECT_FALSE(m.Gradient().Visible());
    EXPECT_EQ(m.Callout().Length(), 8);
    EXPECT_FALSE(m.Callout().Visible());
    EXPECT_EQ(m.Arrow().Color(), clWhite);
    EXPECT_EQ(m.Callout().ArrowHead(), ahNone);
    EXPECT_EQ(m.Callout().ArrowHeadSize(), 8);
}

// A series drawing nothing but its marks, optionally lifted like a line series.
class MarkOnlySeries : public TChartSeries {
public:
    void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& p) override {
        if (Lift)
            Marks().ApplyArrowLength(p);
        TChartSeries::DrawMark(valueIndex, text, p);
    }
    bool Lift = false;
};

// Text calls of `text` whose anchor lies inside a stored mark box (axis labels may show
// the same numbers elsewhere).
std::vector<TDrawCall> MarkTexts(const RecordingDrawContext& rec, const TSeriesMarks& marks,
                                 const std::string& text) {
    std::vector<TDrawCall> out;
    for (const TDrawCall& c : TextCalls(rec, text)) {
        for (const auto& p : marks.Positions()) {
            if (!p)
                continue;
            const TRect b = p->Bounds();
            if (c.Args[0] >= b.Left && c.Args[0] <= b.Right && c.Args[1] >= b.Top &&
                c.Args[1] <= b.Bottom) {
                out.push_back(c);
                break;
            }
        }
    }
    return out;
}

struct MarksChart {
    std::unique_ptr<TChart> chart = MakeFlatChart();
    MarkOnlySeries* series = AddTestSeries<MarkOnlySeries>(*chart);
    std::unique_ptr<RecordingDrawContext> rec;

    MarksChart() {
        series->Marks().SetVisible(true);
        series->Marks().Shadow().SetSize(0);
        series->Marks().Arrow().SetVisible(false);
    }
    void Draw() { rec = DrawRecorded(*chart); }
    int FontHeight() {
        chart->Canvas().AssignFont(series->Marks().Font());
        return chart->Canvas().FontHeight();
    }
    std::vector<TDrawCall> Boxes() const {
        std::vector<TDrawCall> out;
        for (const TDrawCall& c : rec->CallsOf("Rectangle"))
            if (c.Brush.Color == series->Marks().Color() || c.Brush.Style == bsClear)
                out.push_back(c);
        return out;
    }
};

TEST(TSeriesMarks, BoxCentredAbovePointWithTextInside) {
    MarksChart m;
    m.series->AddXY(0, 1234);
    m.series->AddXY(1, 12.5);
    m.series->AddXY(2, 500);
    m.series->Marks().SetColor(clWhite);
    m.Draw();
    const int h = m.FontHeight();
    for (int i = 0; i < 3; ++i) {
        const std::string text = m.series->GetMarkText(i);
        const TSeriesMarkPosition* p = m.series->Marks().Position(i);
        ASSERT_NE(p, nullptr) << i;
        const int x = m.series->CalcXPos(i);
        const int y = m.series->CalcYPos(i);
        const int width = RecordingDrawContext::CharWidth * int(text.size() + 1) + 2;
        const int height = h + 2;
        EXPECT_EQ(p->Width, width);
        EXPECT_EQ(p->Height, height);
        EXPECT_EQ(p->ArrowTo, (TPoint{x, y}));
        EXPECT_EQ(p->LeftTop, (TPoint{x - width / 2, y - height + 1}));
        const std::vector<TDrawCall> texts = MarkTexts(*m.rec, m.series->Marks(), text);
        ASSERT_EQ(texts.size(), 1u) << text;
        EXPECT_EQ(texts[0].Args[0], (p->LeftTop.X + 2 + p->LeftTop.X + width) / 2);
        EXPECT_EQ(texts[0].Args[1], p->LeftTop.Y + 1);
        EXPECT_EQ(texts[0].TextAlign, TA_CENTER | TA_TOP);
    }
    EXPECT_EQ(MarkTexts(*m.rec, m.series->Marks(), "1,234").size(), 1u);
    EXPECT_EQ(MarkTexts(*m.rec, m.series->Marks(), "12.5").size(), 1u);
}

TEST(TSeriesMarks, ArrowLengthLiftsBoxAndArrowEnd) {
    MarksChart m;
    m.series->Lift = true;
    m.series->Marks().SetArrowLength(4);
    m.series->Marks().Callout().SetDistance(3);
    m.series->AddXY(0, 10);
    m.series->AddXY(1, 20);
    m.Draw();
    const TSeriesMarkPosition* p = m.series->Marks().Position(1);
    ASSERT_NE(p, nullptr);
    const int x = m.series->CalcXPos(1);
    const int y = m.series->CalcYPos(1);
    EXPECT_EQ(p->ArrowFrom, (TPoint{x, y - 3}));
    EXPECT_EQ(p->ArrowTo, (TPoint{x, y - 7}));
    EXPECT_EQ(p->LeftTop.Y, y - p->Height + 1 - 7);
}

TEST(TSeriesMarks, DrawEveryNullsAndEmptyTexts) {
    MarksChart m;
    for (int i = 0; i < 6; ++i)
        m.series->AddXY(i, 100 + i, "m" + std::to_string(i));
    m.series->AddNullXY(6, 106, "m6");
    m.series->Marks().SetDrawEvery(2);
    m.series->OnGetMarkText = [](TChartSeries*, int index, std::string& text) {
        if (index == 4)
            text.clear();
    };
    m.Draw();
    std::vector<int> withPosition;
    for (int i = 0; i < 7; ++i)
        if (m.series->Marks().Position(i))
            withPosition.push_back(i);
    EXPECT_EQ(withPosition, (std::vector<int>{0, 2}));
    for (int i = 0; i < 7; ++i) {
        const bool drawn = i == 0 || i == 2;
        EXPECT_EQ(MarkTexts(*m.rec, m.series->Marks(), "m" + std::to_string(i)).size(),
                  drawn ? 1u : 0u)
            << i;
    }
}

TEST(TSeriesMarks, MultiLineBoxIsTwoLinesTall) {
    MarksChart m;
    m.series->AddXY(0, 7, "lbl");
    m.series->Marks().SetStyle(smsLabelValue);
    m.series->Marks().SetMultiLine(true);
    m.Draw();
    const int h = m.FontHeight();
    const TSeriesMarkPosition* p = m.series->Marks().Position(0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Height, 2 * h + 2);
    EXPECT_EQ(p->Width, RecordingDrawContext::CharWidth * 4 + 2);
    const std::vector<TDrawCall> first = MarkTexts(*m.rec, m.series->Marks(), "lbl");
    const std::vector<TDrawCall> second = MarkTexts(*m.rec, m.series->Marks(), "7");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].Args[1] - first[0].Args[1], h);
}

TEST(TSeriesMarks, TransparentMarksDrawOnlyText) {
    MarksChart m;
    m.series->AddXY(0, 42);
    m.series->Marks().SetTransparent(true);
    m.Draw();
    EXPECT_EQ(MarkTexts(*m.rec, m.series->Marks(), "42").size(), 1u);
    const TSeriesMarkPosition* p = m.series->Marks().Position(0);
    ASSERT_NE(p, nullptr);
    for (const TDrawCall& c : m.rec->CallsOf("Rectangle"))
        EXPECT_FALSE(c.Args[0] == p->LeftTop.X && c.Args[1] == p->LeftTop.Y) << c.ToString();
}

TEST(TSeriesMarks, TurnedBoxIsAPolygonAroundItsCentre) {
    MarksChart m;
    m.series->AddXY(0, 42);
    m.series->Marks().SetAngle(90);
    m.Draw();
    const TSeriesMarkPosition* p = m.series->Marks().Position(0);
    ASSERT_NE(p, nullptr);
    const TRect b = p->Bounds();
    const int cx2 = b.Left + b.Right; // twice the centre, to stay in integers
    const int cy2 = b.Top + b.Bottom;
    bool found = false;
    for (const TDrawCall& c : m.rec->CallsOf("Polygon")) {
        if (c.Points.size() != 4)
            continue;
        found = true;
        // A quarter turn swaps width and height about the same centre.
        const int w = std::abs(c.Points[2].X - c.Points[0].X);
        const int h = std::abs(c.Points[2].Y - c.Points[0].Y);
        EXPECT_NEAR(w, b.Height(), 1);
        EXPECT_NEAR(h, b.Width(), 1);
        EXPECT_NEAR(c.Points[0].X + c.Points[2].X, cx2, 1);
        EXPECT_NEAR(c.Points[0].Y + c.Points[2].Y, cy2, 1);
    }
    EXPECT_TRUE(found);
    const std::vector<TDrawCall> texts = MarkTexts(*m.rec, m.series->Marks(), "42");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Font.Orientation, 900);
}

struct OverlapCase {
    const char* name;
    bool frame;
    int shadow;
    TPoint newLeftTop;
    int expectedTop;
};

class AntiOverlap : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(AntiOverlap, MovesByExactlyTheOverlap) {
    const OverlapCase& c = GetParam();
    TChartSeries s;
    TSeriesMarks& marks = s.Marks();
    marks.Frame().SetVisible(c.frame);
    marks.Shadow().SetSize(c.shadow);
    TSeriesMarkPosition earlier;
    earlier.LeftTop = {0, 0};
    earlier.Width = 20;
    earlier.Height = 10;
    marks.UsePosition(0, earlier);
    TSeriesMarkPosition p;
    p.LeftTop = c.newLeftTop;
    p.Width = 20;
    p.Height = 10;
    p.ArrowFrom = {c.newLeftTop.X + 10, 50};
    p.ArrowTo = {c.newLeftTop.X + 10, c.newLeftTop.Y + 10};
    marks.AntiOverlap(0, 1, p);
    EXPECT_EQ(p.LeftTop.Y, c.expectedTop) << c.name;
    EXPECT_EQ(p.ArrowTo.Y, c.expectedTop + 10) << c.name;
    EXPECT_EQ(p.ArrowFrom.Y, 50) << c.name;
    EXPECT_EQ(p.LeftTop.X, c.newLeftTop.X) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AntiOverlap,
    ::testing::Values(OverlapCase{"above moves up", false, 0, {5, -5}, -10},
                      OverlapCase{"below moves down", false, 0, {5, 4}, 10},
                      OverlapCase{"same top moves down", false, 0, {-5, 0}, 10},
                      OverlapCase{"touching stays", false, 0, {5, 10}, 10},
                      OverlapCase{"beside stays", false, 0, {20, 3}, 3},
                      OverlapCase{"frame and shadow widen", true, 1, {5, 11}, 12},
                      OverlapCase{"frame and shadow widen sideways", true, 1, {21, 3}, 12}));

TEST(TSeriesMarks, AntiOverlapStartsAtFirstIndex) {
    TChartSeries s;
    TSeriesMarks& marks = s.Marks();
    marks.Frame().SetVisible(false);
    marks.Shadow().SetSize(0);
    TSeriesMarkPosition earlier;
    earlier.Width = 20;
    earlier.Height = 10;
    marks.UsePosition(0, earlier);
    TSeriesMarkPosition p = earlier;
    p.LeftTop.Y = 4;
    marks.AntiOverlap(1, 2, p);
    EXPECT_EQ(p.LeftTop.Y, 4);
}

TEST(TSeriesMarks, CustomPositionOverridesComputedOne) {
    TChartSeries s;
    TSeriesMarks& marks = s.Marks();
    TSeriesMarkPosition custom;
    custom.LeftTop = {100, 100};
    custom.Width = 30;
    custom.Height = 12;
    custom.ArrowFrom = {1, 1};
    marks.SetCustomPosition(3, custom);
    TSeriesMarkPosition computed;
    computed.LeftTop = {5, 5};
    computed.ArrowFrom = {7, 7};
    marks.UsePosition(3, computed);
    EXPECT_EQ(computed.LeftTop, (TPoint{100, 100}));
    EXPECT_EQ(computed.ArrowFrom, (TPoint{1, 1}));
    computed.ArrowFrom = {7, 7};
    computed.ArrowFix = true;
    marks.UsePosition(3, computed);
    EXPECT_EQ(computed.ArrowFrom, (TPoint{7, 7}));
    marks.ResetPositions();
    EXPECT_EQ(marks.Position(3), nullptr);
}

TEST(TSeriesMarks, ClickedFindsTheBoxUnderTheMouse) {
    TChartSeries s;
    TSeriesMarks& marks = s.Marks();
    for (int i = 0; i < 3; ++i) {
        TSeriesMarkPosition p;
        p.LeftTop = {i * 50, 10};
        p.Width = 20;
        p.Height = 10;
        marks.UsePosition(i, p);
    }
    EXPECT_EQ(marks.Clicked(0, 10), 0);
    EXPECT_EQ(marks.Clicked(19, 19), 0);
    EXPECT_EQ(marks.Clicked(20, 15), -1); // right edge excluded
    EXPECT_EQ(marks.Clicked(5, 20), -1);  // bottom edge excluded
    EXPECT_EQ(marks.Clicked(55, 15), 1);
    marks.SetDrawEvery(2);
    EXPECT_EQ(marks.Clicked(55, 15), -1);
    EXPECT_EQ(marks.Clicked(105, 15), 2);
}

TEST(TSeriesMarks, PositionsFollowDeletedAndClearedPoints) {
    TChartSeries s;
    for (int i = 0; i < 3; ++i)
        s.Add(i);
    for (int i = 0; i < 3; ++i) {
        TSeriesMarkPosition p;
        p.LeftTop = {i, i};
        s.Marks().UsePosition(i, p);
    }
    s.Delete(0);
    ASSERT_NE(s.Marks().Position(0), nullptr);
    EXPECT_EQ(s.Marks().Position(0)->LeftTop, (TPoint{1, 1}));
    s.Clear();
    EXPECT_EQ(s.Marks().Position(0), nullptr);
}

TEST(TSeriesMarks, LinesAfterTheFirstAreCutAt255) {
    const std::string longLine(300, 'x');
    const std::vector<std::string> lines =
        TSeriesMarks::SplitLines(longLine + "\r" + longLine + "\rend");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 300u);
    EXPECT_EQ(lines[1].size(), 255u);
    EXPECT_EQ(lines[2], "end");
}

} // namespace

namespace {

// A flat chart with axes, titles, grid and white value marks, painted by the real context.
TEST(TSeriesMarks, RendersFlatChartWithAxesAndMarks) {
    auto chart = MakeFlatChart(500, 300);
    chart->SetColor(clWhite);
    auto* s = AddTestSeries<MarkOnlySeries>(*chart);
    s->Lift = true;
    s->Marks().SetVisible(true);
    s->Marks().SetColor(clWhite);
    s->Marks().Shadow().SetSize(0);
    s->Marks().Arrow().SetVisible(false);
    s->Marks().SetArrowLength(4);
    const double values[] = {1234, 12.5, 800, 300, 1500, 950};
    for (int i = 0; i < 6; ++i)
        s->AddXY(i + 1, values[i]);
    chart->LeftAxis().Title().SetCaption("Balls");
    chart->BottomAxis().Title().SetCaption("Plays");
    const std::string path = std::string(YONATAMA_TEST_OUT) + "/engine_axes_marks.png";
    ASSERT_TRUE(WritePngFile(path, chart->Host()->PaintToPngBytes()));
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    // Inside each mark box (below its text line) the fill is white; the frame is black.
    for (int i = 0; i < 6; ++i) {
        const TSeriesMarkPosition* p = s->Marks().Position(i);
        ASSERT_NE(p, nullptr);
        const TRect b = p->Bounds();
        EXPECT_EQ(image.pixelColor(b.Left + 1, b.Bottom - 2).rgb() & 0xFFFFFF, 0xFFFFFFu) << i;
        EXPECT_EQ(image.pixelColor(b.Left, (b.Top + b.Bottom) / 2).rgb() & 0xFFFFFF, 0u) << i;
    }
}

} // namespace
