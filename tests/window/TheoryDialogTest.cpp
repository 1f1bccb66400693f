// The "理論値と分布" dialog in the real window: opened from its menu, showing
// the theory's own texts for the inputs, refusing as Start does, following the
// main window's inputs and never blocking it.
#include "WindowFixture.h"

#include "app/TheoryDialog.h"
#include "common/PngFile.h"
#include "platform/PictureFiles.h"
#include "results/InputChecks.h"
#include "results/TheoryTexts.h"
#include "stats/Theory.h"

namespace {

std::string Expected(int plays, double rate, double border) {
    const MachineTheory t = TheoryForBorder(border);
    std::vector<TheoryRow> rows = MachineTheoryRows(border, t);
    std::vector<TheoryRow> outlook = {{"厳密な分布", "表が大きすぎて計算できません"}};
    try {
        const ExactOdds exact = OddsFrom(ExactBalance(border).Distribution(plays));
        outlook = OutlookRows(plays, rate, OutlookForPlays(t, plays, rate), exact);
    } catch (const TableTooLarge&) {
    }
    rows.insert(rows.end(), outlook.begin(), outlook.end());
    const std::vector<TheoryRow> drought = DroughtRows();
    rows.insert(rows.end(), drought.begin(), drought.end());
    return TheoryRowsText(rows);
}

} // namespace

TEST_F(WindowTest, AnalysisMenuSitsBetweenFileAndHelp) {
    TMainMenu* menu = form->Menu();
    ASSERT_EQ(menu->Count(), 3);
    EXPECT_EQ(&menu->Menu(0), form->FileMenu);
    EXPECT_EQ(&menu->Menu(1), form->AnalysisMenu);
    EXPECT_EQ(&menu->Menu(2), form->HelpMenu);
    EXPECT_EQ(form->AnalysisMenu->Caption(), "解析(&A)");
    EXPECT_EQ(form->AnalysisTheoryMenu->Caption(), "理論値と分布(&T)...");
}

TEST_F(WindowTest, TheoryDialogShowsTheFiguresForTheMainWindowsInputs) {
    SetInputs("5000", "1", "4.0", "12.5");
    form->AnalysisTheoryMenu->Click();
    Pump();
    ASSERT_TRUE(form->TheoryDialog);
    TTheoryDialog& d = *form->TheoryDialog;
    EXPECT_TRUE(d.Visible());
    EXPECT_FALSE(d.IsModalShowing());
    EXPECT_EQ(d.Caption(), TheoryCaption);
    EXPECT_EQ(d.PlayEdit->Text(), "5000");
    EXPECT_EQ(d.Refusal(), "");
    EXPECT_EQ(d.FiguresText(), Expected(5000, 4.0, 12.5));
    EXPECT_NE(d.FiguresText().find("初当り確率:1/399.97\n"), std::string::npos);
    EXPECT_NE(d.FiguresText().find("ボーダー(損益分岐):13.85回/1000円\n"), std::string::npos);
    EXPECT_TRUE(WritePngFile(YONATAMA_TEST_OUT "/theory_dialog.png", WindowPng(d)));

    // Typing in the dialog recomputes at once.
    d.BorderEdit->SetText("20");
    EXPECT_EQ(d.FiguresText(), Expected(5000, 4.0, 20.0));
    // Typing in the main window (or an Open that sets the boxes) is followed.
    form->PlayNumEdit->SetText("100");
    form->RateEdit->SetText("1");
    EXPECT_EQ(d.PlayEdit->Text(), "100");
    EXPECT_EQ(d.FiguresText(), Expected(100, 1.0, 12.5));

    // The main window keeps working while the dialog is open.
    FastRun(300);
    EXPECT_EQ(Status(), "シミュレーション完了");
    EXPECT_TRUE(d.Visible());
    d.CloseButton->Click();
    Pump();
    EXPECT_FALSE(d.Visible());
}

TEST_F(WindowTest, TheoryDialogRefusesLikeStart) {
    form->AnalysisTheoryMenu->Click();
    TTheoryDialog& d = *form->TheoryDialog;
    struct Case {
        const char* plays;
        const char* rate;
        const char* border;
        std::string refusal;
    };
    const Case cases[] = {
        {"0", "4", "12.5", PlayCountRefusal},
        {"100", "-1", "12.5", RateRefusal},
        {"100", "4", "0.5", BorderMinRefusal},
        {"100", "4", "250", BorderMaxRefusal},
        {"x", "4", "12.5", "'x' は整数ではありません"},
        {"100", "4", "abc", "'abc' は浮動小数点数ではありません"},
    };
    for (const Case& c : cases) {
        d.PlayEdit->SetText(c.plays);
        d.RateEdit->SetText(c.rate);
        d.BorderEdit->SetText(c.border);
        EXPECT_EQ(d.Refusal(), c.refusal) << c.plays << " " << c.rate << " " << c.border;
        EXPECT_EQ(d.FiguresText(), "") << c.border;
    }
    EXPECT_TRUE(seam.messages.empty()); // refusals stay inside the dialog
    d.PlayEdit->SetText("100");
    d.RateEdit->SetText("4");
    d.BorderEdit->SetText("249.99");
    EXPECT_EQ(d.Refusal(), "");
    EXPECT_EQ(d.FiguresText(), Expected(100, 4.0, 249.99));
}
