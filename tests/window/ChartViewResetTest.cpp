// A zoom or pan belongs to the run it was made in: the next run and an
// opened file start from the whole picture, while a zoom made during a slow
// run holds for that run's later passes.

#include "WindowFixture.h"
#include "chart/Chart.h"
#include "chart/ChartCanvas/TChartCanvas3D.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/Series.h"

#include <string>
#include <vector>

namespace {

void Drag(TChart& chart, TMouseButton button, int x0, int y0, int x1, int y1) {
    chart.MouseDown(button, 0, x0, y0);
    chart.MouseMove(0, (x0 + x1) / 2, (y0 + y1) / 2);
    chart.MouseMove(0, x1, y1);
    chart.MouseUp(button, 0, x1, y1);
}

// A zoom onto the upper left quarter of the plotting area.
void ZoomIn(TChart& chart) {
    chart.Repaint();
    const TRect r = chart.ChartRect;
    Drag(chart, mbLeft, r.Left + 5, r.Top + 5, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// A right-drag that moves the view by a quarter of the plotting area.
void PanAway(TChart& chart) {
    chart.Repaint();
    const TRect r = chart.ChartRect;
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    Drag(chart, mbRight, cx, cy, cx - (r.Right - r.Left) / 4, cy - (r.Bottom - r.Top) / 4);
}

using Gesture = void (*)(TChart&);

} // namespace

class ChartViewResetTest : public WindowTest {
protected:
    TChart& slump() { return *form->SlumpChart; }
    TChart& bars() { return *form->SlumpChart2; }

    // Both axis charts as a freshly started window shows them after a pass.
    void ExpectUnzoomed(std::size_t records, const std::string& when) {
        for (TChart* chart : {&slump(), &bars()}) {
            EXPECT_FALSE(chart->Zoomed()) << when;
            EXPECT_TRUE(chart->RestoredAxisScales()) << when;
            EXPECT_TRUE(chart->LeftAxis().Automatic()) << when;
        }
        EXPECT_TRUE(bars().BottomAxis().Automatic()) << when;
        EXPECT_FALSE(slump().BottomAxis().Automatic()) << when;
        slump().Repaint();
        bars().Repaint();
        EXPECT_DOUBLE_EQ(slump().BottomAxis().CurrentMinimum(), 1) << when;
        EXPECT_DOUBLE_EQ(slump().BottomAxis().CurrentMaximum(), static_cast<double>(records))
            << when;
        // The whole line lies inside the view.
        const TLineSeries& line = *form->Charts().SlumpSeries();
        EXPECT_LE(slump().LeftAxis().CurrentMinimum(), line.MinYValue()) << when;
        EXPECT_GE(slump().LeftAxis().CurrentMaximum(), line.MaxYValue()) << when;
        const TBarSeries& b = *form->Charts().SlumpBSeries();
        if (b.Count() > 0) {
            EXPECT_LE(bars().BottomAxis().CurrentMinimum(), b.MinXValue()) << when;
            EXPECT_GE(bars().BottomAxis().CurrentMaximum(), b.MaxXValue()) << when;
            EXPECT_GE(bars().LeftAxis().CurrentMaximum(), b.MaxYValue()) << when;
        }
    }
};

TEST_F(ChartViewResetTest, ANewRunStartsUnzoomedWhateverTheLastRunWasLeftWith) {
    const struct {
        const char* name;
        Gesture onSlump;
        Gesture onBars;
    } cases[] = {
        {"zoomed slump graph", ZoomIn, nullptr},
        {"panned slump graph", PanAway, nullptr},
        {"zoomed first-hit chart", nullptr, ZoomIn},
        {"panned first-hit chart", nullptr, PanAway},
        {"both zoomed", ZoomIn, ZoomIn},
    };
    for (const auto& c : cases) {
        FastRun(3000, 5);
        if (c.onSlump)
            c.onSlump(slump());
        if (c.onBars)
            c.onBars(bars());
        ASSERT_TRUE(!slump().RestoredAxisScales() || !bars().RestoredAxisScales()) << c.name;
        // A different run: its line lies elsewhere.
        FastRun(5000, 11);
        ExpectUnzoomed(5000, c.name);
    }
}

TEST_F(ChartViewResetTest, AnOpenedFileStartsUnzoomed) {
    FastRun(2000, 3);
    const auto path = dir / "a.sim";
    seam.fileAnswers.push_back(path.string());
    form->FileSaveMenu->Click();
    FastRun(4000, 9);
    ZoomIn(slump());
    PanAway(bars());
    seam.fileAnswers.push_back(path.string());
    form->FileOpenMenu->Click();
    Pump();
    ExpectUnzoomed(2000, "after Open");
}

TEST_F(ChartViewResetTest, AZoomDuringASlowRunHoldsForItsLaterPasses) {
    form->Machine.Random().Seed(4);
    SetInputs("40", "1", "4.0", "12.5");
    form->SpeedComboBox->SetItemIndex(1);
    double zoomedMin = 0, zoomedMax = 0, zoomedTop = 0;
    onWait = [&](int wait) {
        if (wait != 20)
            return;
        ZoomIn(slump());
        slump().Repaint();
        zoomedMin = slump().BottomAxis().CurrentMinimum();
        zoomedMax = slump().BottomAxis().CurrentMaximum();
        zoomedTop = slump().LeftAxis().CurrentMaximum();
    };
    form->StartButton->Click();
    Pump();
    ASSERT_EQ(waits.size(), 40U);
    ASSERT_GT(zoomedMax, zoomedMin);
    slump().Repaint();
    EXPECT_TRUE(slump().Zoomed());
    EXPECT_DOUBLE_EQ(slump().BottomAxis().CurrentMinimum(), zoomedMin);
    EXPECT_DOUBLE_EQ(slump().BottomAxis().CurrentMaximum(), zoomedMax);
    EXPECT_DOUBLE_EQ(slump().LeftAxis().CurrentMaximum(), zoomedTop);
    // Undoing shows the whole run, not the part that existed at the zoom.
    const TRect r = slump().ChartRect;
    Drag(slump(), mbLeft, r.Right - 10, r.Bottom - 10, r.Left + 10, r.Top + 10);
    ExpectUnzoomed(40, "after the undo");
}

// The first-hit chart's value labels keep clear of its axis title in runs
// of every size.
TEST_F(ChartViewResetTest, TheFirstHitLabelsKeepClearOfTheAxisTitle) {
    const struct {
        int plays;
        std::uint32_t seed;
    } runs[] = {{1000, 1}, {3000, 5}, {20000, 7}, {60000, 2}};
    for (const auto& run : runs) {
        FastRun(run.plays, run.seed);
        TChart& chart = bars();
        chart.Repaint();
        TChartAxis& left = chart.LeftAxis();
        std::vector<double> values;
        left.CalcLabelValues(values);
        ASSERT_FALSE(values.empty()) << run.plays;
        chart.Canvas().AssignFont(left.LabelsFont());
        for (double v : values)
            EXPECT_LE(chart.Canvas().TextWidth(left.LabelValue(v)),
                      left.PosLabels() - left.PosTitle())
                << run.plays << " plays: label " << left.LabelValue(v);
    }
}
