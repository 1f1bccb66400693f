// Whole-chart paints on the real drawing context (logged through a recording
// one): value labels get the room of the labels actually drawn, end labels
// and bar marks stay inside the panel, and dense bar marks do not pile up.

#include "ChartPanelTestSupport.h"
#include "SeriesTestSupport.h"

#include "chart/ChartEngine/TChartAxisTitle.h"
#include "chart/ChartEngine/TMarksCallout.h"
#include "chart/ChartEngine/TSeriesMarks.h"
#include "chart/Series.h"
#include "common/PngFile.h"
#include "platform/QtDrawContext.h"
#include "platform/RecordingDrawContext.h"

#include <QColor>
#include <QImage>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Paints the chart on a white image of its size and logs every call.
struct Painted {
    std::unique_ptr<QtDrawContext> Image;
    std::unique_ptr<RecordingDrawContext> Log;
};

Painted Paint(TChart& chart, const std::string& png) {
    Painted p;
    p.Image = std::make_unique<QtDrawContext>(chart.Width(), chart.Height());
    p.Log = std::make_unique<RecordingDrawContext>(p.Image.get());
    chart.Canvas().SetUseBuffer(false);
    chart.Draw(*p.Log, chart.GetClientRect());
    WritePngFile(TestOutPath(png), p.Image->PngBytes());
    return p;
}

int WidthOf(const TDrawCall& call) {
    QtDrawContext measure(1, 1);
    measure.SetFont(call.Font);
    return measure.TextWidth(call.Text);
}

// Left edge of a text drawn by a call, by its alignment.
int LeftOf(const TDrawCall& call) {
    const int w = WidthOf(call);
    if ((call.TextAlign & TA_CENTER) == TA_CENTER)
        return call.Args[0] - w / 2;
    if (call.TextAlign & TA_RIGHT)
        return call.Args[0] - w;
    return call.Args[0];
}

// The first-hit chart's shape: bars with value marks 4 px above them and a
// titled left axis.
std::unique_ptr<TChart> FirstHitLikeChart(const std::vector<double>& values) {
    auto chart = MakeFlatChart(597, 149);
    chart->Legend().SetVisible(false);
    chart->BottomAxis().SetIncrement(1);
    chart->BottomAxis().Title().SetCaption("初当たり回数");
    chart->LeftAxis().Title().SetCaption("Play数（回転数)");
    auto* bars = new TBarSeries();
    bars->SetParentChart(chart.get());
    bars->SetMultiBar(mbNone);
    bars->SetAutoMarkPosition(false);
    bars->Marks().SetVisible(true);
    bars->Marks().SetArrowLength(4);
    for (std::size_t i = 0; i < values.size(); ++i)
        bars->AddXY(static_cast<double>(i + 1), values[i], "", clRed);
    return chart;
}

TBarSeries& BarsOf(TChart& chart) {
    return static_cast<TBarSeries&>(*chart.GetSeries(0));
}

struct DrawnMark {
    int Index;
    TRect Box;
};

std::vector<DrawnMark> DrawnMarks(TBarSeries& bars) {
    std::vector<DrawnMark> out;
    const auto& positions = bars.Marks().Positions();
    for (std::size_t i = 0; i < positions.size(); ++i)
        if (positions[i]) {
            const TSeriesMarkPosition& p = *positions[i];
            out.push_back(
                {static_cast<int>(i),
                 {p.LeftTop.X, p.LeftTop.Y, p.LeftTop.X + p.Width, p.LeftTop.Y + p.Height}});
        }
    return out;
}

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

int Ink(const QImage& image, const QRect& region) {
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            count += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    return count;
}

} // namespace

// The bar margins raise the top of the value axis (990 becomes about 1,100),
// so the top label is wider than any label of the range measured first.
TEST(ReadableLayoutTest, LeftLabelsNeverRunIntoTheAxisTitle) {
    const struct {
        const char* name;
        std::vector<double> values;
    } cases[] = {
        {"990 tops out as 1,000", {990, 430, 120, 816, 27, 598}},
        {"98 tops out as 100", {98, 43, 12, 81, 2, 59}},
        {"9,950 tops out as 10,000", {9950, 4300, 1200, 8160, 270, 5980}},
        {"one bar", {995}},
    };
    for (const auto& c : cases) {
        auto chart = FirstHitLikeChart(c.values);
        const Painted p = Paint(*chart, "readable_labels.png");
        const TChartAxis& left = chart->LeftAxis();
        const std::vector<TDrawCall> title = TextCalls(*p.Log, "Play数（回転数)");
        ASSERT_EQ(title.size(), 1U) << c.name;
        int labels = 0;
        for (const TDrawCall& call : p.Log->CallsOf("TextOut")) {
            // Left-axis labels are right-aligned at the labels position.
            if (!(call.TextAlign & TA_RIGHT) || call.Args[0] != left.PosLabels())
                continue;
            ++labels;
            EXPECT_GE(LeftOf(call), left.PosTitle())
                << c.name << ": label " << call.Text << " reaches into the title";
        }
        EXPECT_GE(labels, 2) << c.name;
    }
}

TEST(ReadableLayoutTest, TheLastBottomLabelStaysInsideThePanel) {
    auto chart = MakeFlatChart(597, 217);
    chart->Legend().SetVisible(false);
    auto* line = new TLineSeries();
    line->SetParentChart(chart.get());
    line->AddXY(1, 0, "", clRed);
    line->AddXY(1000000, 100, "", clRed);
    chart->BottomAxis().SetMinMax(1, 1000000);
    const Painted p = Paint(*chart, "readable_bottom_labels.png");
    const std::vector<TDrawCall> last = TextCalls(*p.Log, "1,000,000");
    ASSERT_EQ(last.size(), 1U);
    const int w = WidthOf(last[0]);
    const int leftEdge = LeftOf(last[0]);
    EXPECT_LE(leftEdge + w, chart->Width());
    // Its tick stays at the axis end.
    EXPECT_EQ(chart->BottomAxis().TickPositions().front(), chart->BottomAxis().IEndPos());
    // The picture holds the whole label: as much ink as the label drawn alone.
    QtDrawContext alone(w + 10, 40);
    alone.SetFont(last[0].Font);
    alone.SetBackMode(bmTransparent);
    alone.TextOut(5, 5, "1,000,000");
    alone.Flush();
    const int full = Ink(alone.Image(), alone.Image().rect());
    p.Image->Flush();
    const int h = alone.TextHeight("1,000,000");
    const int shown = Ink(p.Image->Image(),
                          QRect(leftEdge - 2, last[0].Args[1], chart->Width() - leftEdge + 2, h));
    EXPECT_GT(full, 20);
    EXPECT_GE(shown, full * 9 / 10);
}

TEST(ReadableLayoutTest, DenseBarMarksSkipThoseOverlappingOnesAlreadyDrawn) {
    std::vector<double> values;
    std::uint32_t state = 12345;
    for (int i = 0; i < 2000; ++i) {
        state = state * 1103515245U + 12345U;
        values.push_back(1 + (state >> 16) % 3200);
    }
    auto chart = FirstHitLikeChart(values);
    Paint(*chart, "readable_dense_marks.png");
    const std::vector<DrawnMark> marks = DrawnMarks(BarsOf(*chart));
    ASSERT_GT(marks.size(), 5U);
    EXPECT_LT(marks.size(), 200U);
    const TRect panel = chart->ChartBounds;
    for (std::size_t k = 0; k < marks.size(); ++k) {
        const TRect& b = marks[k].Box;
        EXPECT_TRUE(b.Left >= panel.Left && b.Right <= panel.Right && b.Top >= panel.Top &&
                    b.Bottom <= panel.Bottom)
            << "mark " << marks[k].Index << " leaves the panel";
        for (std::size_t j = 0; j < k; ++j)
            EXPECT_FALSE(Overlap(b, marks[j].Box))
                << "marks " << marks[j].Index << " and " << marks[k].Index;
    }
    // Only drawn marks answer a click.
    const TRect first = marks.front().Box;
    EXPECT_EQ(BarsOf(*chart).Marks().Clicked(first.Left + 1, first.Top + 1), marks.front().Index);
}

TEST(ReadableLayoutTest, MarksThatDoNotOverlapAreAllDrawnInPlace) {
    auto chart = FirstHitLikeChart({433, 301, 598, 240, 403, 655, 751, 347});
    Paint(*chart, "readable_sparse_marks.png");
    TBarSeries& bars = BarsOf(*chart);
    const std::vector<DrawnMark> marks = DrawnMarks(bars);
    ASSERT_EQ(marks.size(), 8U);
    for (const DrawnMark& m : marks) {
        // Centred over its bar, 4 px above the bar top.
        const int centre = bars.CalcXPos(m.Index) + bars.BarWidth() / 2;
        EXPECT_EQ(m.Box.Left, centre - (m.Box.Right - m.Box.Left) / 2) << m.Index;
        EXPECT_EQ(m.Box.Bottom - 1, bars.CalcYPos(m.Index) - 4) << m.Index;
    }
}

TEST(ReadableLayoutTest, AMarkAtThePanelEdgeMovesInsideIt) {
    // Few wide slots: the last bar's mark would reach past the right edge of
    // a narrow panel.
    auto chart = FirstHitLikeChart({1, 2, 123456789});
    chart->SetBounds(0, 0, 160, 149);
    chart->BottomAxis().SetVisible(false);
    Paint(*chart, "readable_edge_mark.png");
    const std::vector<DrawnMark> marks = DrawnMarks(BarsOf(*chart));
    ASSERT_FALSE(marks.empty());
    const TRect& last = marks.back().Box;
    EXPECT_EQ(marks.back().Index, 2);
    EXPECT_LE(last.Right, chart->ChartBounds.Right);
    EXPECT_GE(last.Left, chart->ChartBounds.Left);
}
