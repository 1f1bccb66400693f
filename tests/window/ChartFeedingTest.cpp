// The charts of the main window as the display pass and the marker check
// boxes feed them.

#include "WindowFixture.h"
#include "chart/Chart.h"
#include "chart/ChartEngine/TChartAxis.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/Series.h"

#include <string>
#include <vector>

namespace {

struct Rec {
    int play, since, balls, chain, hitState;
};

// Three chains end here: a single hit at play 37, a chance-mode chain of
// two bonuses ending at play 81 and one of three ending at play 120; a
// chance-mode hit at the last record is still running.
const std::vector<Rec> ThreeChains = {
    {1, 1, -1, 0, 0},     {36, 36, -40, 0, 0},  {37, 37, -41, 1, 1},  {38, 1, 60, 1, 0},
    {80, 43, 10, 1, 2},   {81, 44, 110, 2, 2},  {82, 45, 210, 2, 0},  {118, 36, 150, 0, 0},
    {119, 37, 149, 1, 2}, {120, 38, 250, 3, 2}, {121, 39, 350, 3, 0}, {150, 29, 300, 0, 0},
    {151, 30, 299, 1, 2},
};

std::vector<double> Values(const TChartValueList& list) {
    return list.Values();
}

std::vector<std::string> LegendRows(TChart& chart) {
    chart.Repaint();
    std::vector<std::string> rows;
    for (int item : chart.Legend().ShownItems())
        rows.push_back(chart.Legend().LegendText(item));
    return rows;
}

} // namespace

class ChartFeedingTest : public WindowTest {
protected:
    void Load(const std::vector<Rec>& recs) {
        form->Records.Clear();
        for (const Rec& r : recs)
            form->Records.Append(r.since, r.balls, r.chain, r.play, r.hitState);
        form->PlayCount = static_cast<int>(recs.size());
        form->ExchangeRate = 4.0;
    }
    ChartFeeding& feed() { return form->Charts(); }
};

TEST_F(ChartFeedingTest, BeforeAnyPassTheSlumpAxisRunsToTwentyFourAndTheSeriesAreEmpty) {
    const TChartAxis& bottom = form->SlumpChart->BottomAxis();
    EXPECT_FALSE(bottom.Automatic());
    EXPECT_DOUBLE_EQ(bottom.Maximum(), 24);
    for (TChartSeries* s : std::vector<TChartSeries*>{feed().SlumpSeries(), feed().CheckPoint1(),
                                                      feed().CheckPoint2(), feed().SlumpBSeries(),
                                                      feed().KeizokuSeries()}) {
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Count(), 0);
    }
    EXPECT_FALSE(feed().CheckPoint1()->Active());
    EXPECT_FALSE(feed().CheckPoint2()->Active());
    // The series legend sits at its custom place even with nothing to list.
    form->CheckBox1->Click();
    form->SlumpChart->Repaint();
    EXPECT_EQ(form->SlumpChart->Legend().RectLegend().Left, 520);
    EXPECT_EQ(form->SlumpChart->Legend().RectLegend().Top, 5);
}

TEST_F(ChartFeedingTest, APassFeedsMarkersBarsLineAndSlicesByTheirRules) {
    Load(ThreeChains);
    form->ShowResults(true);

    // Markers at the hit plays: chance-mode records red, single hits black.
    EXPECT_EQ(Values(feed().CheckPoint1()->XValues()),
              (std::vector<double>{80, 81, 119, 120, 151}));
    EXPECT_EQ(Values(feed().CheckPoint1()->YValues()),
              (std::vector<double>{10, 110, 149, 250, 299}));
    EXPECT_EQ(Values(feed().CheckPoint2()->XValues()), (std::vector<double>{37}));
    EXPECT_EQ(Values(feed().CheckPoint2()->YValues()), (std::vector<double>{-41}));
    EXPECT_EQ(feed().CheckPoint1()->ValueColor(0), clRed);
    EXPECT_EQ(feed().CheckPoint2()->ValueColor(0), clBlack);

    // Bars numbered by ended chain, whatever the plays; the running chain at
    // the last record gets none.
    EXPECT_EQ(Values(feed().SlumpBSeries()->XValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Values(feed().SlumpBSeries()->YValues()), (std::vector<double>{37, 44, 38}));

    // The line has every record.
    ASSERT_EQ(feed().SlumpSeries()->Count(), static_cast<int>(ThreeChains.size()));
    for (std::size_t i = 0; i < ThreeChains.size(); ++i) {
        const int k = static_cast<int>(i);
        EXPECT_EQ(feed().SlumpSeries()->XValues().Value(k), ThreeChains[i].play);
        EXPECT_EQ(feed().SlumpSeries()->YValues().Value(k), ThreeChains[i].balls);
    }

    // One slice per non-empty continuation count, in increasing count.
    TPieSeries& pie = *feed().KeizokuSeries();
    ASSERT_EQ(pie.Count(), 3);
    EXPECT_EQ(pie.XLabel(0), "1回");
    EXPECT_EQ(pie.XLabel(1), "2回");
    EXPECT_EQ(pie.XLabel(2), "3回");
    EXPECT_EQ(Values(pie.PieValues()), (std::vector<double>{1, 1, 1}));

    const TChartAxis& bottom = form->SlumpChart->BottomAxis();
    EXPECT_DOUBLE_EQ(bottom.Minimum(), 1);
    EXPECT_DOUBLE_EQ(bottom.Maximum(), static_cast<double>(ThreeChains.size()));
}

TEST_F(ChartFeedingTest, SlicesCountChainsPerBucketAndLeaveEmptyBucketsOut) {
    // Two single hits and one chain of 31 bonuses (the "30回以上" bucket).
    std::vector<Rec> recs = {{1, 1, 0, 1, 1}, {2, 1, 0, 0, 0}, {3, 1, 0, 1, 1}, {4, 1, 0, 0, 0}};
    for (int c = 1; c <= 31; ++c)
        recs.push_back({4 + c, 1 + c, 10 * c, c, 2});
    recs.push_back({36, 33, 300, 0, 0});
    Load(recs);
    form->ShowResults(true);
    TPieSeries& pie = *feed().KeizokuSeries();
    ASSERT_EQ(pie.Count(), 2);
    EXPECT_EQ(pie.XLabel(0), "1回");
    EXPECT_EQ(pie.PieValues().Value(0), 2);
    EXPECT_EQ(pie.XLabel(1), "30回以上");
    EXPECT_EQ(pie.PieValues().Value(1), 1);
    // Added with the default colour, so each slice takes its own palette colour.
    EXPECT_NE(pie.ValueColor(0), pie.ValueColor(1));
    // The pie's legend lists the slices by caption.
    EXPECT_EQ(LegendRows(*form->KeizokuChart), (std::vector<std::string>{"1回", "30回以上"}));
}

TEST_F(ChartFeedingTest, OneRecordGivesTheOneToOneAxisAndOnePoint) {
    Load({{1, 1, -1, 0, 0}});
    form->ShowResults(true);
    const TChartAxis& bottom = form->SlumpChart->BottomAxis();
    EXPECT_DOUBLE_EQ(bottom.Minimum(), 1);
    EXPECT_DOUBLE_EQ(bottom.Maximum(), 1);
    EXPECT_EQ(feed().SlumpSeries()->Count(), 1);
    EXPECT_EQ(feed().SlumpBSeries()->Count(), 0);
    EXPECT_EQ(feed().KeizokuSeries()->Count(), 0);
    // It paints without complaint.
    form->SlumpChart->Repaint();
    EXPECT_EQ(form->SlumpChart->BottomAxis().CurrentMinimum(), 1);
}

TEST_F(ChartFeedingTest, NoRecordsLeaveAValidAxisAndEmptySeries) {
    Load(ThreeChains);
    form->ShowResults(true);
    feed().ClearSeries();
    feed().SetBottomAxisRange(0);
    const TChartAxis& bottom = form->SlumpChart->BottomAxis();
    EXPECT_DOUBLE_EQ(bottom.Minimum(), 1);
    EXPECT_DOUBLE_EQ(bottom.Maximum(), 1);
    EXPECT_EQ(feed().SlumpSeries()->Count(), 0);
    EXPECT_EQ(feed().CheckPoint1()->Count(), 0);
}

TEST_F(ChartFeedingTest, AStopBeforeThePassLeavesOnlyTheLine) {
    Load(ThreeChains);
    form->StopRequested = true;
    form->ShowResults(true);
    EXPECT_EQ(feed().CheckPoint1()->Count(), 0);
    EXPECT_EQ(feed().CheckPoint2()->Count(), 0);
    EXPECT_EQ(feed().SlumpBSeries()->Count(), 0);
    EXPECT_EQ(feed().KeizokuSeries()->Count(), 0);
    EXPECT_EQ(feed().SlumpSeries()->Count(), static_cast<int>(ThreeChains.size()));
}

TEST_F(ChartFeedingTest, EveryPassReplacesThePointsOfTheLastOne) {
    Load(ThreeChains);
    form->ShowResults(true);
    form->ShowResults(true);
    EXPECT_EQ(feed().SlumpSeries()->Count(), static_cast<int>(ThreeChains.size()));
    EXPECT_EQ(feed().CheckPoint1()->Count(), 5);
    EXPECT_EQ(feed().SlumpBSeries()->Count(), 3);
    EXPECT_EQ(feed().KeizokuSeries()->Count(), 3);
}

TEST_F(ChartFeedingTest, CheckBoxesShowAndHideMarkersWithoutTouchingPoints) {
    Load(ThreeChains);
    form->ShowResults(true);
    const auto winX = Values(feed().CheckPoint1()->XValues());
    const auto lossX = Values(feed().CheckPoint2()->XValues());
    EXPECT_TRUE(LegendRows(*form->SlumpChart).empty());

    struct Step {
        TCheckBox* box;
        bool win, loss;
        std::vector<std::string> legend;
    };
    const Step steps[] = {
        {form->CheckBox2.get(), false, true, {"敗北"}},
        {form->CheckBox1.get(), true, true, {"勝利", "敗北"}},
        {form->CheckBox2.get(), true, false, {"勝利"}},
        {form->CheckBox1.get(), false, false, {}},
    };
    for (const Step& step : steps) {
        step.box->Click();
        SCOPED_TRACE(step.box->Caption());
        EXPECT_EQ(feed().CheckPoint1()->Active(), step.win);
        EXPECT_EQ(feed().CheckPoint2()->Active(), step.loss);
        EXPECT_EQ(LegendRows(*form->SlumpChart), step.legend);
        EXPECT_EQ(Values(feed().CheckPoint1()->XValues()), winX);
        EXPECT_EQ(Values(feed().CheckPoint2()->XValues()), lossX);
        EXPECT_EQ(feed().SlumpSeries()->Count(), static_cast<int>(ThreeChains.size()));
    }
}

TEST_F(ChartFeedingTest, TickedMarkersStayShownAcrossPasses) {
    form->CheckBox1->Click();
    Load(ThreeChains);
    form->ShowResults(true);
    EXPECT_TRUE(feed().CheckPoint1()->Active());
    EXPECT_EQ(feed().CheckPoint1()->Count(), 5);
    EXPECT_EQ(LegendRows(*form->SlumpChart), (std::vector<std::string>{"勝利"}));
}

TEST_F(ChartFeedingTest, AFastRunFillsTheChartsFromItsRecords) {
    FastRun(3000, 5);
    const std::size_t n = form->Records.Size();
    ASSERT_EQ(n, 3000u);
    EXPECT_EQ(feed().SlumpSeries()->Count(), 3000);
    EXPECT_DOUBLE_EQ(form->SlumpChart->BottomAxis().Maximum(), 3000);
    int hits1 = 0, hits2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        hits1 += form->Records.HitStates[i] == 1;
        hits2 += form->Records.HitStates[i] == 2;
    }
    EXPECT_EQ(feed().CheckPoint2()->Count(), hits1);
    EXPECT_EQ(feed().CheckPoint1()->Count(), hits2);
    EXPECT_EQ(feed().SlumpBSeries()->Count(), form->BBListView->ItemCount());
    EXPECT_EQ(feed().KeizokuSeries()->Count(), form->KeizokuListView->ItemCount());
}

TEST_F(ChartFeedingTest, APassAfterScrollingFarLeftStillSetsTheWholeRange) {
    // A scroll or zoom can leave the bottom axis wholly below 1.
    form->SlumpChart->BottomAxis().SetMinMax(-40, 0.5);
    Load(ThreeChains);
    ASSERT_NO_THROW(form->ShowResults(true));
    EXPECT_DOUBLE_EQ(form->SlumpChart->BottomAxis().Minimum(), 1);
    EXPECT_DOUBLE_EQ(form->SlumpChart->BottomAxis().Maximum(),
                     static_cast<double>(ThreeChains.size()));
}

TEST_F(ChartFeedingTest, ALongPassPaintsTheFirstHitChartAtMostOnceBeforeItEnds) {
    // The progress bar repaints itself about a hundred times during the pass.
    const int before = form->SlumpChart2->DrawCount();
    FastRun(20000, 7);
    ASSERT_GT(feed().SlumpBSeries()->Count(), 20);
    EXPECT_LE(form->SlumpChart2->DrawCount() - before, 2);
    // Ticking a box afterwards still shows the markers at once.
    form->CheckBox2->Click();
    EXPECT_TRUE(feed().CheckPoint2()->Active());
    EXPECT_GT(feed().CheckPoint2()->Count(), 0);
}
