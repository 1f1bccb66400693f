// A whole fast run as the window shows it: the per-play rows are made from the
// records on demand and the slump line keeps its play numbers unstored, yet
// every row text and every chart pixel must be what a plain feeding gives.

#include "WindowFixture.h"
#include "chart/Chart.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/Series.h"
#include "platform/ControlHost.h"
#include "results/ResultTexts.h"

#include <QImage>
#include <cstdio>
#include <vector>

namespace {

// The colours the window gives its points.
constexpr TColor Red = 255;
constexpr TColor Black = 0;

QImage ChartPicture(TChart& chart) {
    auto* host = dynamic_cast<ControlHost*>(chart.Host());
    if (host == nullptr)
        return {};
    host->RepaintNow();
    return host->Image().copy();
}

// Every cell of row k as ResultTexts makes it.
std::vector<std::string> ExpectedRow(const RunRecords& records, std::size_t k) {
    return {PlayText(records, k), Play2Text(records, k), OutcomeText(records.HitStates[k]),
            BallText(records, k)};
}

std::vector<std::string> ShownRow(const TListView& list, int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < list.ColumnCount(); ++c)
        cells.push_back(list.ItemText(row, c));
    return cells;
}

// Stored values from the first point on, as the lists kept them before.
void StoreEveryValue(TChartSeries* series) {
    if (series == nullptr)
        return;
    for (TChartValueList* list : series->ValuesList())
        list->Data();
}

void ColourEachPoint(TChartSeries* series, TColor color) {
    for (int i = 0; series != nullptr && i < series->Count(); ++i)
        series->SetValueColor(i, color);
}

// The charts of `records` fed point by point through the public series API,
// in the window's order (markers and bars per record, then the line, then
// the pie), with every value and colour stored per point.
void FeedPlainly(TMainForm& form, const RunRecords& records) {
    ChartFeeding& c = form.Charts();
    c.ClearSeries();
    for (TChartSeries* s :
         std::vector<TChartSeries*>{c.SlumpSeries(), c.CheckPoint1(), c.CheckPoint2(),
                                    c.SlumpBSeries(), c.KeizokuSeries()})
        StoreEveryValue(s);
    c.SetBottomAxisRange(records.Size());
    ChainStats stats;
    for (std::size_t i = 0; i < records.Size(); ++i) {
        if (records.HitStates[i] != ToInt(HitState::None))
            c.AddHitMarker(records, i);
        if (IsChainEnd(records, i)) {
            stats.AddChainEnd(records.ChainCounts[i]);
            c.AddFirstHitBar(records, i, stats.FirstHitCount);
        }
    }
    ColourEachPoint(c.CheckPoint1(), Red);
    ColourEachPoint(c.CheckPoint2(), Black);
    ColourEachPoint(c.SlumpBSeries(), Red);
    // An empty line only closes the markers' and bars' batch.
    c.AddSlumpLine(RunRecords{});
    TLineSeries* line = c.SlumpSeries();
    line->BeginUpdate();
    for (std::size_t i = 0; i < records.Size(); ++i) {
        line->AddXY(static_cast<double>(records.PlayNumbers[i]),
                    static_cast<double>(records.BallCounts[i]), "", Red);
        if (i == 0)
            line->SetValueColor(0, Red); // one colour per point from here on
    }
    line->EndUpdate();
    for (const KeizokuRow& row : KeizokuRows(stats))
        c.AddKeizokuSlice(row.Count, row.Caption);
}

class LargeRunDisplayTest : public WindowTest {
protected:
    void FastRun(int plays, std::uint32_t seed) {
        form->Machine.Random().Seed(seed);
        form->SpeedComboBox->SetItemIndex(0);
        form->PlayNumEdit->SetText(std::to_string(plays));
        form->StartButtonClick();
        Pump();
    }

    void ExpectEveryChartLikeAPlainFeeding() {
        TMainForm reference;
        reference.Show();
        FeedPlainly(reference, form->Records);
        Pump();
        ASSERT_EQ(reference.Charts().SlumpSeries()->Count(), form->Charts().SlumpSeries()->Count());
        struct Pair {
            const char* name;
            TChart* shown;
            TChart* plain;
        };
        for (const Pair& p :
             {Pair{"SlumpChart", form->SlumpChart.get(), reference.SlumpChart.get()},
              Pair{"SlumpChart2", form->SlumpChart2.get(), reference.SlumpChart2.get()},
              Pair{"KeizokuChart", form->KeizokuChart.get(), reference.KeizokuChart.get()}}) {
            const QImage shown = ChartPicture(*p.shown);
            const QImage plain = ChartPicture(*p.plain);
            ASSERT_FALSE(shown.isNull()) << p.name;
            EXPECT_TRUE(shown == plain) << p.name << " differs from the plain feeding";
        }
        // With both marker series drawn over the line.
        form->CheckBox1->Click();
        form->CheckBox2->Click();
        reference.CheckBox1->Click();
        reference.CheckBox2->Click();
        EXPECT_TRUE(ChartPicture(*form->SlumpChart) == ChartPicture(*reference.SlumpChart))
            << "SlumpChart with markers differs from the plain feeding";
    }
};

TEST_F(LargeRunDisplayTest, AMillionPlayRunPaintsExactlyAsAPlainFeeding) {
    FastRun(1000000, 5);
    ASSERT_EQ(form->Records.Size(), 1000000U);
    // The play numbers of a run are 1, 2, 3, ...: the line keeps none of them.
    EXPECT_TRUE(form->Charts().SlumpSeries()->XValues().Consecutive());
    ExpectEveryChartLikeAPlainFeeding();
}

TEST_F(LargeRunDisplayTest, SmallRunsPaintExactlyAsAPlainFeeding) {
    for (int plays : {1, 2, 7, 1500}) {
        SCOPED_TRACE(plays);
        FastRun(plays, 11);
        ExpectEveryChartLikeAPlainFeeding();
        form->CheckBox1->Click();
        form->CheckBox2->Click();
    }
}

TEST_F(LargeRunDisplayTest, RowsOfAMillionPlayRunAreTheResultTexts) {
    FastRun(1000000, 3);
    const RunRecords& records = form->Records;
    ASSERT_EQ(form->ResultListView->ItemCount(), 1000000);
    std::vector<std::size_t> rows{0, 1, 2, records.Size() - 2, records.Size() - 1};
    for (std::size_t k = 7; k < records.Size(); k += 9973)
        rows.push_back(k);
    // Every hit row too, where the outcome text changes.
    for (std::size_t k = 0; k < records.Size(); ++k)
        if (records.HitStates[k] != ToInt(HitState::None) && k % 7 == 0)
            rows.push_back(k);
    for (std::size_t k : rows)
        EXPECT_EQ(ShownRow(*form->ResultListView, static_cast<int>(k)), ExpectedRow(records, k))
            << "row " << k;
    EXPECT_EQ(ShownRow(*form->ResultListView, 1000000), std::vector<std::string>(4));
}

TEST_F(LargeRunDisplayTest, RowsOfSmallRunsAreTheResultTextsWhole) {
    for (int plays : {1, 3, 40, 2500}) {
        SCOPED_TRACE(plays);
        FastRun(plays, 17);
        const RunRecords& records = form->Records;
        ASSERT_EQ(form->ResultListView->ItemCount(), plays);
        for (std::size_t k = 0; k < records.Size(); ++k)
            ASSERT_EQ(ShownRow(*form->ResultListView, static_cast<int>(k)), ExpectedRow(records, k))
                << "row " << k;
    }
}

TEST_F(LargeRunDisplayTest, TheListKeepsItsRunWhileAFileIsRefused) {
    FastRun(300, 23);
    const RunRecords listed = form->Records;
    const std::string path = (dir / "broken.sim").string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a run", f);
    std::fclose(f);
    seam.fileAnswers.push_back(path);
    form->FileOpenMenuClick();
    Pump();
    ASSERT_FALSE(seam.messages.empty());
    ASSERT_EQ(form->ResultListView->ItemCount(), 300);
    for (std::size_t k : {std::size_t{0}, std::size_t{150}, std::size_t{299}})
        EXPECT_EQ(ShownRow(*form->ResultListView, static_cast<int>(k)), ExpectedRow(listed, k));
    // The next pass lists the new run.
    FastRun(120, 29);
    ASSERT_EQ(form->ResultListView->ItemCount(), 120);
    EXPECT_EQ(ShownRow(*form->ResultListView, 119), ExpectedRow(form->Records, 119));
}

TEST_F(LargeRunDisplayTest, TheListKeepsItsRunWhileABatchIsMade) {
    FastRun(200, 31);
    const RunRecords listed = form->Records;
    seam.fileAnswers.push_back((dir / "batch.sim").string());
    form->SimNumEdit->SetText("2");
    form->PlayNumEdit->SetText("50");
    form->StartButtonClick();
    Pump();
    // The batch's runs went to their files; the window keeps the run it shows.
    ASSERT_EQ(form->Records, listed);
    ASSERT_EQ(form->ResultListView->ItemCount(), 200);
    for (std::size_t k : {std::size_t{0}, std::size_t{60}, std::size_t{199}})
        EXPECT_EQ(ShownRow(*form->ResultListView, static_cast<int>(k)), ExpectedRow(listed, k));
}

} // namespace
