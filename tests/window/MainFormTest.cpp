// The main window driven through its controls: start-up, refusals, fast and
// slow runs, Stop, the small commands and the About box.

#include "WindowFixture.h"

#include "common/PngFile.h"
#include "platform/PictureFiles.h"
#include "results/ResultTexts.h"

#include <QTimer>
#include <QWidget>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line, '\n');)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST_F(WindowTest, StartsUpEmptyInTheSlowSpeedOnTheFirstPage) {
    EXPECT_EQ(form->Caption(), "ヨナタマ - 銀蛇XX");
    EXPECT_EQ(form->ClientWidth(), 608);
    EXPECT_EQ(form->ClientHeight(), 699);
    EXPECT_FALSE(form->CanMaximise());
    EXPECT_FALSE(form->CanResize());
    EXPECT_EQ(form->PlayNumEdit->Text(), "1");
    EXPECT_EQ(form->SimNumEdit->Text(), "1");
    EXPECT_EQ(form->RateEdit->Text(), "4.0");
    EXPECT_EQ(form->BorderEdit->Text(), "12.5");
    EXPECT_TRUE(form->StartButton->Enabled());
    EXPECT_FALSE(form->StopButton->Enabled());
    ASSERT_EQ(form->SpeedComboBox->ItemCount(), 2);
    EXPECT_EQ(form->SpeedComboBox->Item(0), "高速");
    EXPECT_EQ(form->SpeedComboBox->Item(1), "低速");
    EXPECT_EQ(form->SpeedComboBox->ItemIndex(), 1);
    EXPECT_EQ(form->PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(form->Records.Size(), 0u);
    EXPECT_FALSE(form->StopRequested);
    EXPECT_EQ(form->Machine.PlayNo, 0);
    EXPECT_EQ(form->Machine.Balls, 0);
    EXPECT_EQ(form->ResultLabel->Caption(), "");
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(form->ProgressBar1->Position(), 0);
    EXPECT_TRUE(form->ResultListView->OwnerData());
    EXPECT_FALSE(form->CheckBox1->Checked());
    EXPECT_FALSE(form->CheckBox2->Checked());
}

TEST_F(WindowTest, LaysOutTabsColumnsAndMenusAsTheFormDescribes) {
    const std::vector<std::string> tabs = {"PLAY情報", "バトルボーナス", "継続回数"};
    ASSERT_EQ(form->PageControl1->PageCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form->PageControl1->PageCaption(i), tabs[static_cast<std::size_t>(i)]);

    struct Column {
        TListView* list;
        std::vector<std::pair<std::string, int>> columns;
    };
    const Column lists[] = {
        {form->ResultListView.get(), {{"PLAY数", 70}, {"PLAY数2", 70}, {"出目", 80}, {"玉数", 70}}},
        {form->BBListView.get(),
         {{"PLAY数", 70}, {"PLAY数2", 70}, {"霧環チャンス", 80}, {"獲得出玉数", 100}}},
        {form->KeizokuListView.get(), {{"継続回数", 70}, {"累計", 50}, {"割合(%)", 100}}},
    };
    for (const Column& list : lists) {
        ASSERT_EQ(list.list->ColumnCount(), static_cast<int>(list.columns.size()));
        for (int c = 0; c < list.list->ColumnCount(); ++c) {
            EXPECT_EQ(list.list->ColumnCaption(c), list.columns[static_cast<std::size_t>(c)].first);
            EXPECT_EQ(list.list->ColumnWidth(c), list.columns[static_cast<std::size_t>(c)].second);
        }
    }

    struct MenuRow {
        TMenuItem* item;
        std::string caption;
    };
    const MenuRow menus[] = {
        {form->FileMenu, "ファイル(&F)"},
        {form->FileOpenMenu, "開く(&O)"},
        {form->FileSaveMenu, "保存(&S)"},
        {form->FileStartMenu, "開始(&G)"},
        {form->FileExitMenu, "終了(&X)"},
        {form->HelpMenu, "ヘルプ(&H)"},
        {form->HelpAboutMenu, "バージョン情報(&A)"},
        {form->HelpManMenu, "取扱説明書(&C)"},
        {form->JWord1, "JWordのインストール"},
        {form->N3, "ホームページ"},
    };
    for (const MenuRow& row : menus)
        EXPECT_EQ(row.item->Caption(), row.caption);
    EXPECT_TRUE(form->N1->IsSeparator());
    EXPECT_TRUE(form->N2->IsSeparator());
    ASSERT_EQ(form->FileMenu->Count(), 7);
    EXPECT_EQ(&form->FileMenu->Item(5), form->FileStartMenu);

    // Positions the Qt widgets really took, in the window's client coordinates.
    struct Place {
        TControl* control;
        int left, top, width, height;
    };
    const Place places[] = {
        {form->PlayNumEdit.get(), 48, 0, 85, 20},
        {form->SimNumEdit.get(), 204, 0, 61, 20},
        {form->RateEdit.get(), 68, 24, 29, 20},
        {form->BorderEdit.get(), 204, 24, 29, 20},
        {form->SpeedComboBox.get(), 188, 48, 49, 20},
        {form->StartButton.get(), 240, 48, 53, 21},
        {form->StopButton.get(), 296, 48, 53, 21},
        {form->GroupBox2.get(), 352, 4, 249, 69},
        {form->PageControl1.get(), 4, 76, 597, 209},
        {form->GroupBox1.get(), 4, 648, 597, 29},
        {form->StatusBar1.get(), 0, 678, 608, 21},
        {form->ProgressBar1.get(), 300, 680, 301, 18},
        {form->ResultListView.get(), 4, 5, 317, 173},
        {form->BBListView.get(), 4, 5, 357, 172},
        {form->KeizokuListView.get(), 4, 5, 245, 172},
    };
    for (const Place& p : places) {
        EXPECT_EQ(p.control->Left(), p.left);
        EXPECT_EQ(p.control->Top(), p.top);
        EXPECT_EQ(p.control->Width(), p.width);
        EXPECT_EQ(p.control->Height(), p.height);
    }
}

TEST_F(WindowTest, RefusesEachBadInputWithItsOwnMessageAndMakesNoRun) {
    struct Case {
        std::string plays, runs, rate, border, message;
    };
    const Case cases[] = {
        {"0", "1", "4.0", "12.5", "Play数は、1以上にしてください。"},
        {"-3", "1", "4.0", "12.5", "Play数は、1以上にしてください。"},
        {"5", "0", "4.0", "12.5", "Sim回数は、1以上にしてください。"},
        {"5", "1", "-1", "12.5", "交換レートは、0以上にしてください。"},
        {"5", "1", "4.0", "0.5", "ボーダーは、1以上にしてください。"},
        {"5", "1", "4.0", "250", "ボーダーは、250未満にしてください。"},
        // The first failing check wins.
        {"0", "0", "-1", "0", "Play数は、1以上にしてください。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plays + " " + c.runs + " " + c.rate + " " + c.border);
        seam.messages.clear();
        form->StatusBar1->Panel(0).SetText("前の表示");
        SetInputs(c.plays, c.runs, c.rate, c.border);
        form->StartButton->Click();
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].Caption, "エラー");
        EXPECT_TRUE(seam.messages[0].ErrorIcon);
        EXPECT_EQ(seam.messages[0].Text, c.message);
        EXPECT_EQ(Status(), "");
        EXPECT_EQ(form->Records.Size(), 0u);
        EXPECT_TRUE(form->StartButton->Enabled());
        EXPECT_TRUE(form->RateEdit->Enabled());
        EXPECT_FALSE(form->StopButton->Enabled());
    }
}

TEST_F(WindowTest, TheMenuStartChecksInputsLikeTheButton) {
    SetInputs("0", "1", "4.0", "12.5");
    form->FileStartMenu->Click();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Text, "Play数は、1以上にしてください。");

    seam.messages.clear();
    FastRun(10);
    SetInputs("10", "1", "4.0", "12.5");
    form->FileStartMenu->Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(form->Records.Size(), 10u);
}

TEST_F(WindowTest, ShowsConversionErrorsThroughTheExceptionDisplay) {
    struct Case {
        std::string plays, runs, rate, border, message;
    };
    const Case cases[] = {
        {"abc", "1", "4.0", "12.5", "'abc' は整数ではありません"},
        {"", "1", "4.0", "12.5", "'' は整数ではありません"},
        {"5", "1.5", "4.0", "12.5", "'1.5' は整数ではありません"},
        {"12345678901", "1", "4.0", "12.5", "'12345678901' は整数ではありません"},
        {"１２", "1", "4.0", "12.5", "'１２' は整数ではありません"},
        {"5", "1", "abc", "12.5", "'abc' は浮動小数点数ではありません"},
        {"5", "1", "inf", "12.5", "'inf' は浮動小数点数ではありません"},
        {"5", "1", "4.0", "nan", "'nan' は浮動小数点数ではありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        seam.messages.clear();
        form->StatusBar1->Panel(0).SetText("前の表示");
        SetInputs(c.plays, c.runs, c.rate, c.border);
        form->StartButton->Click();
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].Text, c.message);
        EXPECT_EQ(seam.messages[0].Caption, MainCaption);
        EXPECT_EQ(Status(), "前の表示");
        EXPECT_EQ(form->Records.Size(), 0u);
        EXPECT_TRUE(form->StartButton->Enabled());
        EXPECT_TRUE(form->BorderEdit->Enabled());
    }
}

TEST_F(WindowTest, EveryOddTextGetsARunOrOneClearMessage) {
    const std::vector<std::string> texts = {"",     " ",   "  7 ",  "+3",   "-0",          "1e2",
                                            "0x10", "inf", "nan",   "１",   "99999999999", "2.5",
                                            "3,5",  "abc", "1e400", "1.0e1"};
    form->SpeedComboBox->SetItemIndex(0);
    for (int box = 0; box < 4; ++box) {
        for (const std::string& text : texts) {
            SCOPED_TRACE("box " + std::to_string(box) + " text '" + text + "'");
            std::vector<std::string> inputs = {"3", "1", "4.0", "12.5"};
            inputs[static_cast<std::size_t>(box)] = text;
            SetInputs(inputs[0], inputs[1], inputs[2], inputs[3]);
            form->Records.Clear();
            seam.messages.clear();
            seam.fileAnswers.clear();
            seam.fileAnswers.push_back(std::nullopt); // a batch asks; cancel it
            form->StatusBar1->Panel(0).SetText("");
            form->StartButton->Click();
            Pump();
            const bool ran = Status() == "シミュレーション完了";
            if (ran) {
                EXPECT_TRUE(seam.messages.empty());
            } else {
                const bool batchCancelled = seam.fileRequests.size() > 0 && seam.messages.empty();
                if (!batchCancelled) {
                    ASSERT_EQ(seam.messages.size(), 1u);
                    EXPECT_FALSE(seam.messages[0].Text.empty());
                }
            }
            seam.fileRequests.clear();
            EXPECT_TRUE(form->StartButton->Enabled());
            EXPECT_FALSE(form->RunActive());
        }
    }
}

TEST_F(WindowTest, FastRunFromSeedOneShowsTheReferenceRecordsRowsAndSummary) {
    FastRun(2000);
    ASSERT_EQ(form->Records.Size(), 2000u);
    EXPECT_EQ(form->Records.BallCounts.back(), 34652);
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(), "シミュレーション完了");
    EXPECT_EQ(form->ProgressBar1->Position(), 100);
    EXPECT_FALSE(form->StopButton->Enabled());
    EXPECT_TRUE(form->StartButton->Enabled());

    TListView& list = *form->ResultListView;
    EXPECT_TRUE(list.OwnerData());
    ASSERT_EQ(list.ItemCount(), 2000);
    const int balls[] = {-25, -24, -78, -83, -85, -158, -196, -208, -242, -257};
    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i + 1);
        EXPECT_EQ(Row(list, i), n + "|" + n + "|XXX|" + std::to_string(balls[i]));
    }
    for (int play = 58; play <= 65; ++play)
        EXPECT_EQ(list.ItemText(play - 1, 2), "大当たり");
    EXPECT_EQ(list.ItemText(65, 0), "66");
    EXPECT_EQ(list.ItemText(65, 1), "1");
    EXPECT_EQ(list.ItemText(65, 2), "XXX");
    EXPECT_EQ(list.ItemText(1999, 0), "2000");
    EXPECT_EQ(list.ItemText(1999, 3), "34652");

    // The first chain ends at play 65 after eight battle bonuses.
    ASSERT_GT(form->BBListView->ItemCount(), 0);
    const int gained = form->Records.BallCounts[65] - form->Records.BallCounts[65 - 8];
    EXPECT_EQ(Row(*form->BBListView, 0), "65|65|突入(8)|" + std::to_string(gained));

    // Summary counted independently from the records.
    int chains = 0;
    long bonuses = 0;
    std::vector<int> buckets(31, 0);
    const RunRecords& r = form->Records;
    for (std::size_t i = 0; i + 1 < r.Size(); ++i) {
        if (r.HitStates[i] != 0 && r.HitStates[i + 1] == 0) {
            ++chains;
            bonuses += r.ChainCounts[i];
            ++buckets[static_cast<std::size_t>(std::min(r.ChainCounts[i], 30))];
        }
    }
    ASSERT_GT(chains, 0);
    EXPECT_EQ(form->BBListView->ItemCount(), chains);
    const auto lines = Lines(form->ResultLabel->Caption());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "初当り数:" + std::to_string(chains) +
                            "　バトルボーナス数:" + std::to_string(bonuses));
    EXPECT_EQ(lines[3], "出玉数:34652  収支:138608円");
    char p[32];
    std::snprintf(p, sizeof p, "%.2f", static_cast<double>(static_cast<float>(2000.0 / chains)));
    EXPECT_EQ(lines[1], std::string("初当り確率:1/") + p);

    int tableRows = 0;
    for (int k = 1; k <= 30; ++k)
        tableRows += buckets[static_cast<std::size_t>(k)] != 0;
    EXPECT_EQ(form->KeizokuListView->ItemCount(), tableRows);
}

TEST_F(WindowTest, SlowRunAddsOneRowPerPlayWithTheNewestInViewAndStopsNormally) {
    SetInputs("40", "1", "4.0", "12.5");
    form->Machine.Random().Seed(1);
    std::vector<int> rowsAtWait;
    std::vector<bool> previousRowVisible;
    onWait = [&](int call) {
        // The wait comes after the play is recorded and before its display.
        form->ResultListView->Flush();
        rowsAtWait.push_back(form->ResultListView->ItemCount());
        previousRowVisible.push_back(call == 1 || form->ResultListView->IsRowVisible(call - 2));
        EXPECT_TRUE(form->StopButton->Enabled());
        EXPECT_FALSE(form->StartButton->Enabled());
        EXPECT_FALSE(form->RateEdit->Enabled());
        EXPECT_EQ(form->Records.Size(), static_cast<std::size_t>(call));
        // A click during the wait is delivered when the run next lets
        // messages through, after this play's display.
        if (call == 25)
            QTimer::singleShot(0, [&] { form->StopButton->Click(); });
    };
    form->StartButton->Click();
    Pump();

    ASSERT_EQ(waits.size(), 25u);
    for (int ms : waits)
        EXPECT_EQ(ms, 500);
    for (std::size_t i = 0; i < rowsAtWait.size(); ++i) {
        EXPECT_EQ(rowsAtWait[i], static_cast<int>(i)) << "wait " << i + 1;
        EXPECT_TRUE(previousRowVisible[i]) << "wait " << i + 1;
    }
    // Stop during the 25th wait still shows the 25th play, then ends the run.
    EXPECT_EQ(form->Records.Size(), 25u);
    EXPECT_FALSE(form->ResultListView->OwnerData());
    ASSERT_EQ(form->ResultListView->ItemCount(), 25);
    form->ResultListView->Flush();
    EXPECT_TRUE(form->ResultListView->IsRowVisible(24));
    EXPECT_EQ(form->ResultListView->ItemText(24, 0), "25");
    EXPECT_EQ(Status(), "シミュレーション完了");
    EXPECT_EQ(form->ProgressBar1->Position(), 100);
    EXPECT_TRUE(form->StartButton->Enabled());
    EXPECT_FALSE(form->StopButton->Enabled());
    EXPECT_TRUE(form->RateEdit->Enabled());
    EXPECT_TRUE(form->StopRequested);
}

TEST_F(WindowTest, SlowRunMovesTheProgressBarByPlaysListed) {
    SetInputs("8", "1", "4.0", "12.5");
    std::vector<int> positions;
    onWait = [&](int) { positions.push_back(form->ProgressBar1->Position()); };
    form->StartButton->Click();
    // Before each display the bar shows the previous pass: trunc(k / 8 * 100).
    const std::vector<int> expected = {0, 12, 25, 37, 50, 62, 75, 87};
    EXPECT_EQ(positions, expected);
    EXPECT_EQ(form->ProgressBar1->Position(), 100);
}

TEST_F(WindowTest, SwitchingToFastMidRunEndsPacingAndShowsTheRunOnce) {
    SetInputs("30", "1", "4.0", "12.5");
    onWait = [&](int call) {
        if (call == 3)
            form->SpeedComboBox->SetItemIndex(0);
    };
    form->StartButton->Click();
    Pump();
    EXPECT_EQ(waits.size(), 3u);
    EXPECT_EQ(form->Records.Size(), 30u);
    EXPECT_TRUE(form->ResultListView->OwnerData());
    EXPECT_EQ(form->ResultListView->ItemCount(), 30);
}

TEST_F(WindowTest, NoSecondRunOrFileCommandStartsInsideARun) {
    SetInputs("20", "1", "4.0", "12.5");
    int depth = 0, maxDepth = 0;
    onWait = [&](int call) {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (call == 2) {
            // Menu commands are refused while the run is on.
            EXPECT_FALSE(form->FileStartMenu->Enabled());
            EXPECT_FALSE(form->FileOpenMenu->Enabled());
            EXPECT_FALSE(form->FileSaveMenu->Enabled());
            form->FileStartMenu->Click();
            form->FileOpenMenu->Click();
            form->FileSaveMenu->Click();
            form->StartButtonClick();
        }
        if (call == 4) {
            QTimer::singleShot(0, [&] {
                form->StopButton->Click();
                // Start after Stop is deferred until the stopped run has ended.
                form->StartButton->Click();
                EXPECT_EQ(form->Records.Size(), 4u);
                EXPECT_EQ(form->ResultListView->ItemCount(), 4);
            });
        }
        --depth;
    };
    form->StartButton->Click();
    EXPECT_EQ(maxDepth, 1);
    EXPECT_TRUE(seam.fileRequests.empty());
    EXPECT_EQ(form->Records.Size(), 4u);
    // The deferred start runs from the message loop, as a fresh command.
    onWait = nullptr;
    Pump();
    EXPECT_EQ(form->Records.Size(), 20u);
    EXPECT_EQ(Status(), "シミュレーション完了");
    EXPECT_FALSE(form->RunActive());
}

TEST_F(WindowTest, FastRunKeepsStopDisabledAndAskedPlayCountDrivesProgress) {
    SetInputs("3", "1", "4.0", "12.5");
    form->SpeedComboBox->SetItemIndex(0);
    form->StartButton->Click();
    EXPECT_FALSE(form->StopButton->Enabled());
    EXPECT_EQ(form->PlayCount, 3);
    EXPECT_DOUBLE_EQ(form->ExchangeRate, 4.0);
}

TEST_F(WindowTest, SpeedSelectorNeverLeavesItsTwoItems) {
    for (int index : {-1, 2, 99})
        form->SpeedComboBox->SetItemIndex(index);
    EXPECT_EQ(form->SpeedComboBox->ItemIndex(), 1);
    form->SpeedComboBox->SetItemIndex(0);
    EXPECT_EQ(form->SpeedComboBox->Text(), "高速");
}

TEST_F(WindowTest, RefusesPlayCountsTooLargeToHoldAndStaysUsable) {
    // Near the break-even border the balance of 2^31 - 1 plays fits 32 bits.
    SetInputs("2147483647", "1", "4.0", "13.85");
    form->SpeedComboBox->SetItemIndex(0);
    form->StartButton->Click();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Text, TooManyPlaysText);
    EXPECT_EQ(seam.messages[0].Caption, "エラー");
    EXPECT_EQ(form->Records.Size(), 0u);
    EXPECT_TRUE(form->StartButton->Enabled());
    FastRun(5);
    EXPECT_EQ(form->Records.Size(), 5u);
}

TEST_F(WindowTest, SmallCommandsHandTheirTargetsToTheShell) {
    const std::string before = Status();
    form->HelpManMenu->Click();
    form->JWord1->Click();
    form->N3->Click();
    // The manual, then the home page: the HTML manual (there is no web site).
    ASSERT_EQ(seam.shellRequests.size(), 2u);
    const std::string exeDir = TApplication::ExeDir();
    EXPECT_EQ(seam.shellRequests[0].Verb, "open");
    EXPECT_EQ(seam.shellRequests[0].File, exeDir + "QVELTRAN.chm");
    EXPECT_EQ(seam.shellRequests[0].ShowCommand, SW_SHOWNORMAL);
    EXPECT_EQ(seam.shellRequests[1].File,
              std::filesystem::path(exeDir + "../share/yonatama/manual/index.html")
                  .lexically_normal()
                  .string());
    EXPECT_TRUE(std::filesystem::is_regular_file(seam.shellRequests[1].File));
    // This edition has no installer: a message says so.
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Text, "JWordのインストーラーは、この版には含まれていません。");
    EXPECT_FALSE(seam.messages[0].ErrorIcon);
    EXPECT_EQ(Status(), before);
}

TEST_F(WindowTest, TheClockShowsShortDateSpaceLongTime) {
    form->Timer1Timer();
    const std::string clock = form->StatusBar1->Panel(1).Text();
    EXPECT_NE(clock.find(' '), std::string::npos);
    EXPECT_EQ(form->Timer1->Interval(), 100);
    EXPECT_TRUE(form->Timer1->Enabled());
}

TEST_F(WindowTest, ExitClosesTheWindowAndStopsARunningRun) {
    SetInputs("50", "1", "4.0", "12.5");
    onWait = [&](int call) {
        if (call == 3)
            form->FileExitMenu->Click();
    };
    form->StartButton->Click();
    EXPECT_EQ(form->Records.Size(), 3u);
    EXPECT_FALSE(form->Visible());
}

TEST_F(WindowTest, AboutBoxShowsTheSameDialogTwiceAndLinksKeepItOpen) {
    std::vector<std::string> seen;
    for (int round = 0; round < 2; ++round) {
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(AboutBox->IsModalShowing());
            seen.push_back(AboutBox->Caption() + "|" + AboutBox->ProductName->Caption() + "|" +
                           AboutBox->Version->Caption());
            AboutBox->Label1->Click();
            AboutBox->Label2->Click();
            EXPECT_TRUE(AboutBox->IsModalShowing());
            if (round == 0)
                WritePngFile(OutDir() + "/about.png", WindowPng(*AboutBox));
            AboutBox->OKButton->Click();
        });
        form->HelpAboutMenu->Click();
        EXPECT_FALSE(AboutBox->IsModalShowing());
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "バージョン情報|ヨナタマ - 銀蛇XX|Version1.0.3.0");
    EXPECT_EQ(seen[0], seen[1]);
    // The page link opens the manual the program installs (it has no web site).
    ASSERT_EQ(seam.shellRequests.size(), 4u);
    EXPECT_EQ(seam.shellRequests[0].File.substr(seam.shellRequests[0].File.size() - 17),
              "manual/index.html");
    EXPECT_EQ(seam.shellRequests[1].File.rfind("mailto:", 0), 0u);
    EXPECT_EQ(seam.shellRequests[1].ShowCommand, SW_SHOW);
}

TEST_F(WindowTest, RendersEveryTabToPng) {
    FastRun(2000);
    for (int tab = 0; tab < 3; ++tab) {
        form->PageControl1->SetActivePageIndex(tab);
        Pump();
        const std::string path = OutDir() + "/window-tab" + std::to_string(tab + 1) + ".png";
        EXPECT_TRUE(WritePngFile(path, WindowPng(*form)));
        EXPECT_GT(std::filesystem::file_size(path), 1000u);
    }
}

TEST_F(WindowTest, TheBuiltManualIsACompiledHelpFileNextToTheProgram) {
    const std::filesystem::path manual = std::filesystem::path(YONATAMA_BIN_DIR) / "QVELTRAN.chm";
    if (!std::filesystem::exists(manual))
        GTEST_SKIP() << "the manual is not built in this tree (chmcmd missing?)";
    std::ifstream in(manual, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    EXPECT_EQ(std::string(magic, 4), "ITSF");
}
