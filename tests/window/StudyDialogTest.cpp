// The study part of "理論値と分布": runs on worker threads while the dialog and
// the main window keep working, shows the same figures as the study itself,
// and stops on 中止 and on closing the dialog.
#include "WindowFixture.h"

#include "app/TheoryDialog.h"
#include "chart/Chart.h"
#include "chart/ChartEngine/TChartValueList.h"
#include "chart/Series.h"
#include "common/PngFile.h"
#include "numfmt/NumberFormats.h"
#include "platform/PictureFiles.h"
#include "results/InputChecks.h"
#include "runs/MemoryRule.h"
#include "runs/Study.h"

#include <chrono>
#include <thread>

namespace {

// Lets the message loop run until the study has ended (or a minute passed).
void PumpUntilEnded(TTheoryDialog& d) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (d.StudyRunning() && std::chrono::steady_clock::now() < limit) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

TTheoryDialog& OpenDialog(TMainForm& form) {
    form.AnalysisTheoryMenu->Click();
    QCoreApplication::processEvents();
    return *form.TheoryDialog;
}

} // namespace

TEST_F(WindowTest, StudyPartStartsIdle) {
    TTheoryDialog& d = OpenDialog(*form);
    EXPECT_EQ(d.RunsEdit->Text(), "1000");
    EXPECT_TRUE(d.StudyStartButton->Enabled());
    EXPECT_FALSE(d.StudyCancelButton->Enabled());
    EXPECT_EQ(d.StudyProgressBar->Position(), 0);
    EXPECT_FALSE(d.StudyRunning());
    EXPECT_EQ(d.StudyFiguresText(), "");
    EXPECT_EQ(d.StudyChart->SeriesCount(), 0);
}

TEST_F(WindowTest, StudyShowsTheStudysFiguresAndFan) {
    SetInputs("3000", "1", "4.0", "12.5");
    TTheoryDialog& d = OpenDialog(*form);
    d.RunsEdit->SetText("60");
    d.NextStudySeed = 321;
    d.StudyStartButton->Click();
    EXPECT_TRUE(d.StudyRunning());
    EXPECT_FALSE(d.StudyStartButton->Enabled());
    EXPECT_TRUE(d.StudyCancelButton->Enabled());
    PumpUntilEnded(d);
    ASSERT_FALSE(d.StudyRunning());
    EXPECT_EQ(d.StudyProgressBar->Position(), 100);
    EXPECT_EQ(d.StudyStatusLabel->Caption(), std::string(StudyDoneText) + " シード:321");

    StudyRequest r;
    r.Plays = 3000;
    r.Runs = 60;
    r.Rate = 4.0;
    r.Seed = 321;
    r.Borders = {12.5};
    const auto expected = RunStudy(r);
    ASSERT_TRUE(expected.has_value());
    ASSERT_EQ(d.StudyResult().size(), 1u);
    EXPECT_EQ(d.StudyResult().front().FinalBalances, expected->front().FinalBalances);
    const std::string figures = d.StudyFiguresText();
    EXPECT_NE(figures.find("平均出玉数:" + FixedText(expected->front().MeanBalance, 1) + " ("),
              std::string::npos)
        << figures;
    // Beside the simulated median its exact value; the path figures have none.
    const ExactOdds& exact = expected->front().Exact;
    EXPECT_NE(figures.find("中央値:" + FixedText(expected->front().MedianBalance, 1) + ":" +
                           FixedText(static_cast<double>(exact.Quantiles[2]), 0) + "\n"),
              std::string::npos)
        << figures;
    EXPECT_NE(figures.find("プラス収支の割合(%):"), std::string::npos);
    EXPECT_NE(figures.find(":" + FixedText(exact.PAhead * 100.0, 1) + "\n"), std::string::npos)
        << figures;
    EXPECT_NE(figures.find("必要な持ち玉 99%:"), std::string::npos) << figures;

    // The fan: two bands and the median simulated, the exact median, quartiles
    // (two lines) and 5/95 % points (two lines), with the legend shown.
    ASSERT_EQ(d.StudyChart->SeriesCount(), 8);
    EXPECT_TRUE(d.StudyChart->Legend().Visible());
    // The final balance's law: the runs' bars and the exact curve.
    ASSERT_EQ(d.DistributionChart->SeriesCount(), 2);
    EXPECT_NE(dynamic_cast<TBarSeries*>(d.DistributionChart->Series(0)), nullptr);
    EXPECT_NE(dynamic_cast<TLineSeries*>(d.DistributionChart->Series(1)), nullptr);
    auto* outer = dynamic_cast<TBandSeries*>(d.StudyChart->Series(0));
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->Count(), 201);
    EXPECT_EQ(outer->LowValues().Value(200), expected->front().Bands[200][0]);
    EXPECT_EQ(outer->YValues().Value(200), expected->front().Bands[200][4]);
    EXPECT_TRUE(WritePngFile(YONATAMA_TEST_OUT "/study_dialog.png", WindowPng(d)));

    // A second study replaces the first's chart rather than adding to it.
    d.RunsEdit->SetText("5");
    d.StudyStartButton->Click();
    PumpUntilEnded(d);
    EXPECT_EQ(d.StudyChart->SeriesCount(), 8);
    EXPECT_EQ(d.StudyResult().front().Runs, 5);
}

TEST_F(WindowTest, StudyRefusesLikeStart) {
    SetInputs("3000", "1", "4.0", "12.5");
    TTheoryDialog& d = OpenDialog(*form);
    const struct {
        const char* runs;
        std::string refusal;
    } cases[] = {{"0", RunCountRefusal}, {"x", "'x' は整数ではありません"}};
    for (const auto& c : cases) {
        d.RunsEdit->SetText(c.runs);
        d.StudyStartButton->Click();
        EXPECT_FALSE(d.StudyRunning()) << c.runs;
        EXPECT_EQ(d.StudyStatusLabel->Caption(), c.refusal);
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(WindowTest, StudyRefusesWhatItCouldNotHoldOrCount) {
    TTheoryDialog& d = OpenDialog(*form);
    const struct {
        const char* plays;
        const char* runs;
        const char* border;
        std::string refusal;
    } cases[] = {
        // 1.7 TB of balances: the program would end with bad_alloc.
        {"3000", "2147483647", "12.5", TooManyRunsText},
        {"20000", "10", "249.9999", CheckBalanceRange(20000, 249.9999)},
    };
    for (const auto& c : cases) {
        d.PlayEdit->SetText(c.plays);
        d.BorderEdit->SetText(c.border);
        d.RunsEdit->SetText(c.runs);
        d.StudyStartButton->Click();
        EXPECT_FALSE(d.StudyRunning()) << c.runs;
        EXPECT_EQ(d.StudyStatusLabel->Caption(), c.refusal);
        EXPECT_TRUE(d.StudyStartButton->Enabled());
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(WindowTest, RunningStudyBlocksNothingAndCancels) {
    SetInputs("10000000", "1", "4.0", "12.5");
    TTheoryDialog& d = OpenDialog(*form);
    d.RunsEdit->SetText("10");
    d.StudyStartButton->Click();
    ASSERT_TRUE(d.StudyRunning());
    // The main window runs, and the dialog's own figures follow its inputs,
    // while the study goes on.
    FastRun(300);
    EXPECT_EQ(Status(), "シミュレーション完了");
    EXPECT_EQ(d.PlayEdit->Text(), "300");
    EXPECT_TRUE(d.StudyRunning());
    // The progress bar moves while the workers run.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (d.StudyProgressBar->Position() == 0 && std::chrono::steady_clock::now() < limit) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_GT(d.StudyProgressBar->Position(), 0);

    d.StudyCancelButton->Click();
    EXPECT_FALSE(d.StudyRunning()); // the workers are gone when the click returns
    EXPECT_EQ(d.StudyStatusLabel->Caption(), StudyCancelledText);
    EXPECT_TRUE(d.StudyStartButton->Enabled());
    EXPECT_FALSE(d.StudyCancelButton->Enabled());
    EXPECT_TRUE(d.StudyResult().empty());
}

TEST_F(WindowTest, ClosingTheDialogCancelsTheStudy) {
    SetInputs("10000000", "1", "4.0", "12.5");
    TTheoryDialog& d = OpenDialog(*form);
    d.RunsEdit->SetText("10");
    d.StudyStartButton->Click();
    ASSERT_TRUE(d.StudyRunning());
    d.CloseButton->Click();
    Pump();
    EXPECT_FALSE(d.Visible());
    EXPECT_FALSE(d.StudyRunning());
    EXPECT_EQ(d.StudyStatusLabel->Caption(), StudyCancelledText);
}
