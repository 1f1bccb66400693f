// Save, Open and the batch through the window's commands, with the file
// dialogs answered by the scripted seam.

#include "WindowFixture.h"

#include "common/FailingSaver.h"
#include "common/FailingStream.h"
#include "runfile/RunFile.h"

#include <QTimer>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void PutInt(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b)
        out.push_back(static_cast<char>((u >> (8 * b)) & 0xFF));
}

void PutDouble(std::string& out, double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    for (int b = 0; b < 8; ++b)
        out.push_back(static_cast<char>((u >> (8 * b)) & 0xFF));
}

struct Rec {
    std::int32_t since, balls, chain, play, hitState;
};

std::string FileBytes(std::int32_t tag, std::int32_t count, double rate, double border,
                      const std::vector<Rec>& records) {
    std::string out;
    PutInt(out, tag);
    PutInt(out, count);
    PutDouble(out, rate);
    PutDouble(out, border);
    for (const Rec& r : records) {
        PutInt(out, r.since);
        PutInt(out, r.balls);
        PutInt(out, r.chain);
        PutInt(out, r.play);
        PutInt(out, r.hitState);
    }
    return out;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A chain of two battle bonuses ending at play 3, then a plain play.
const std::vector<Rec> HandRecords = {
    {1, -3, 0, 1, 0}, {2, -5, 1, 2, 2}, {3, -7, 2, 3, 2}, {1, 300, 0, 4, 0}};

} // namespace

class RunFileCommandsTest : public WindowTest {
protected:
    void Open(const std::filesystem::path& path) {
        seam.fileAnswers.push_back(path.string());
        form->FileOpenMenu->Click();
        Pump();
    }
    void Save(const std::filesystem::path& path) {
        seam.fileAnswers.push_back(path.string());
        form->FileSaveMenu->Click();
    }
    std::vector<std::string> AllRows(TListView& list) {
        std::vector<std::string> rows;
        for (int i = 0; i < list.ItemCount(); ++i)
            rows.push_back(Row(list, i));
        return rows;
    }
};

TEST_F(RunFileCommandsTest, SaveWritesTheHeaderAndRecordsByteForByteAndOpenShowsThemAgain) {
    FastRun(300);
    const RunRecords saved = form->Records;
    const std::string summary = form->ResultLabel->Caption();
    const auto rows = AllRows(*form->ResultListView);
    const auto bonusRows = AllRows(*form->BBListView);
    const auto tableRows = AllRows(*form->KeizokuListView);
    const auto path = dir / "a.sim";
    Save(path);
    EXPECT_EQ(Status(), "シミュレーションファイルに保存完了");
    ASSERT_EQ(seam.fileRequests.size(), 1u);
    EXPECT_TRUE(seam.fileRequests[0].Save);
    EXPECT_EQ(seam.fileRequests[0].FileName, "*.sim");
    EXPECT_EQ(seam.fileRequests[0].Filter, "ヨナタマ銀蛇ファイル|*.sim");

    std::vector<Rec> expected;
    for (std::size_t i = 0; i < saved.Size(); ++i)
        expected.push_back({saved.SinceHitPlays[i], saved.BallCounts[i], saved.ChainCounts[i],
                            saved.PlayNumbers[i], saved.HitStates[i]});
    EXPECT_EQ(ReadAll(path), FileBytes(20, 300, 4.0, 12.5, expected));

    // Something else in between, with other box values.
    FastRun(50, 7);
    form->PlayNumEdit->SetText("9");
    Open(path);
    EXPECT_EQ(Status(), "シミュレーションファイルの読み込み完了");
    EXPECT_EQ(seam.fileRequests.back().Save, false);
    EXPECT_EQ(form->Records, saved);
    EXPECT_EQ(form->PlayNumEdit->Text(), "300");
    EXPECT_EQ(form->RateEdit->Text(), "4");
    EXPECT_EQ(form->BorderEdit->Text(), "12.5");
    EXPECT_EQ(form->ResultLabel->Caption(), summary);
    EXPECT_EQ(AllRows(*form->ResultListView), rows);
    EXPECT_EQ(AllRows(*form->BBListView), bonusRows);
    EXPECT_EQ(AllRows(*form->KeizokuListView), tableRows);
    EXPECT_TRUE(form->StartButton->Enabled());
    // The save dialog now starts at the chosen name; the open dialog at its own.
    seam.fileAnswers.push_back(std::nullopt);
    form->FileSaveMenu->Click();
    EXPECT_EQ(seam.fileRequests.back().FileName, path.string());
}

TEST_F(RunFileCommandsTest, OpensAHandBuiltFileIntoExactTexts) {
    const auto path = dir / "hand.sim";
    WriteAll(path, FileBytes(20, 4, 2.5, 20.0, HandRecords));
    Open(path);
    EXPECT_EQ(form->ResultLabel->Caption(),
              "初当り数:1　バトルボーナス数:2\n初当り確率:1/4.00\n継続数平均:2.00\n"
              "出玉数:300  収支:750円");
    EXPECT_EQ(AllRows(*form->ResultListView),
              (std::vector<std::string>{"1|1|XXX|-3", "2|2|大当たり|-5", "3|3|大当たり|-7",
                                        "4|1|XXX|300"}));
    EXPECT_EQ(AllRows(*form->BBListView), (std::vector<std::string>{"3|3|突入(2)|305"}));
    EXPECT_EQ(AllRows(*form->KeizokuListView), (std::vector<std::string>{"2回|1|100"}));
    EXPECT_EQ(form->RateEdit->Text(), "2.5");
    EXPECT_EQ(form->BorderEdit->Text(), "20");
    EXPECT_EQ(form->PlayCount, 4);
    EXPECT_DOUBLE_EQ(form->ExchangeRate, 2.5);
    EXPECT_EQ(form->ProgressBar1->Position(), 100);
}

TEST_F(RunFileCommandsTest, OpenClearsAStopLeftFromAnEarlierRun) {
    const auto path = dir / "hand.sim";
    WriteAll(path, FileBytes(20, 4, 4.0, 12.5, HandRecords));
    form->StopRequested = true;
    Open(path);
    EXPECT_FALSE(form->StopRequested);
    EXPECT_EQ(form->ResultListView->ItemCount(), 4);
    EXPECT_EQ(form->BBListView->ItemCount(), 1);
}

TEST_F(RunFileCommandsTest, HostileFilesAreRefusedWholeOrReadUpToTheLastFullRecord) {
    const std::string header = FileBytes(20, 4, 4.0, 12.5, {});
    const std::string full = FileBytes(20, 4, 4.0, 12.5, HandRecords);
    struct Case {
        std::string name, bytes, refusal;
        std::size_t records;
        int progress = -1;    // after an accepted file
        std::string cut = ""; // how much of a cut file was read
    };
    const std::string foreign = "このファイルは、ヨナタマ銀蛇ファイルではありません。";
    const std::string broken = "このファイルの記録が壊れています。";
    const Case cases[] = {
        {"empty", "", foreign, 0},
        {"three bytes", std::string("\x14\0\0", 3), foreign, 0},
        {"other tag", FileBytes(21, 4, 4.0, 12.5, HandRecords), foreign, 0},
        {"cut header", header.substr(0, 10), foreign, 0},
        {"header only", header, "", 0, 100, "4Playのうち0Play"},
        {"partial record", full.substr(0, 24 + 20 + 7), "", 1, 25, "4Playのうち1Play"},
        {"partial record past the count",
         FileBytes(20, 1, 4.0, 12.5, HandRecords).substr(0, 44 + 3), "", 1, 100, "1Play"},
        {"hit state 5", FileBytes(20, 2, 4.0, 12.5, {{1, 0, 1, 1, 5}, {2, 0, 0, 2, 0}}), broken, 0},
        {"chain count 0", FileBytes(20, 2, 4.0, 12.5, {{1, 0, 0, 1, 1}, {2, 0, 0, 2, 0}}), broken,
         0},
        {"chain longer than records",
         FileBytes(20, 2, 4.0, 12.5, {{1, 0, 9, 1, 2}, {2, 0, 0, 2, 0}}), broken, 0},
        {"whole", full, "", 4, 100},
        {"count 0 with records", FileBytes(20, 0, 4.0, 12.5, HandRecords), "", 4, 100},
        {"count below records", FileBytes(20, 2, 4.0, 12.5, HandRecords), "", 4, 100},
        {"count above records", FileBytes(20, 8, 4.0, 12.5, HandRecords), "", 4, 50,
         "8Playのうち4Play"},
        {"huge count", FileBytes(20, 2147483647, 4.0, -1e308, HandRecords), "", 4, 0,
         "2147483647Playのうち4Play"},
        // Figures that would not be finite: no file of this program holds them.
        {"rate 1e308", FileBytes(20, 4, 1e308, 12.5, HandRecords), foreign, 0},
        {"rate NaN", FileBytes(20, 4, std::nan(""), 12.5, HandRecords), foreign, 0},
        {"border infinite", FileBytes(20, 4, 4.0, HUGE_VAL, HandRecords), foreign, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FastRun(20);
        const std::string shownBefore = form->ResultLabel->Caption();
        const RunRecords recordsBefore = form->Records;
        seam.messages.clear();
        const auto path = dir / (c.name + ".sim");
        WriteAll(path, c.bytes);
        Open(path);
        EXPECT_TRUE(form->StartButton->Enabled());
        if (c.refusal.empty()) {
            EXPECT_EQ(form->Records.Size(), c.records);
            EXPECT_EQ(form->ResultListView->ItemCount(), static_cast<int>(c.records));
            EXPECT_EQ(form->ProgressBar1->Position(), c.progress);
        }
        if (c.refusal.empty() && c.cut.empty()) {
            EXPECT_TRUE(seam.messages.empty());
            EXPECT_EQ(Status(), "シミュレーションファイルの読み込み完了");
        } else if (c.refusal.empty()) {
            // Loaded as far as it goes, and said so.
            ASSERT_EQ(seam.messages.size(), 1u);
            EXPECT_EQ(seam.messages[0].Text, "このファイルは途中で切れています。\n" +
                                                 path.string() + "\n" + c.cut +
                                                 "を読み込みました。");
            EXPECT_EQ(Status(), "途中で切れたシミュレーションファイルを読み込みました（" +
                                    std::to_string(c.records) + "Play）");
        } else {
            ASSERT_EQ(seam.messages.size(), 1u);
            EXPECT_EQ(seam.messages[0].Text, c.refusal);
            EXPECT_EQ(seam.messages[0].Caption, "エラー");
            EXPECT_EQ(Status(), "シミュレーションファイルの読み込み中断");
            // What was shown stays, with its records; nothing of the file is used.
            EXPECT_EQ(form->ResultLabel->Caption(), shownBefore);
            EXPECT_EQ(form->Records, recordsBefore);
            EXPECT_EQ(form->PlayNumEdit->Text(), "20");
        }
    }
}

TEST_F(RunFileCommandsTest, HeaderOnlyFileShowsAnEmptyRun) {
    const auto path = dir / "none.sim";
    WriteAll(path, FileBytes(20, 0, 4.0, 12.5, {}));
    FastRun(20);
    Open(path);
    EXPECT_EQ(form->ResultListView->ItemCount(), 0);
    EXPECT_EQ(form->ResultLabel->Caption(),
              "初当り数:0　バトルボーナス数:0\n初当り確率:1/0.00\n継続数平均:0.00\n"
              "出玉数:0  収支:0円");
}

TEST_F(RunFileCommandsTest, CancelledDialogsEndSilentlyAndAMissingFileSaysWhy) {
    FastRun(10);
    seam.fileAnswers.push_back(std::nullopt);
    form->FileOpenMenu->Click();
    seam.fileAnswers.push_back(std::nullopt);
    form->FileSaveMenu->Click();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(Status(), "シミュレーション完了");

    const auto missing = dir / "does-not-exist.sim";
    Open(missing);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Caption, "エラー");
    EXPECT_EQ(seam.messages[0].Text,
              std::string(OpenFailedText) + "\n" + missing.string() + "\nファイルがありません。");
    EXPECT_EQ(Status(), "シミュレーションファイルの読み込み中断");
    EXPECT_EQ(form->Records.Size(), 10u);
    EXPECT_TRUE(form->StartButton->Enabled());
}

TEST_F(RunFileCommandsTest, SaveAfterStartUpWritesCountZeroAndNoRecord) {
    const auto path = dir / "fresh.sim";
    Save(path);
    EXPECT_EQ(ReadAll(path), FileBytes(20, 0, 4.0, 12.5, {}));
}

TEST_F(RunFileCommandsTest, SaveBeforeAnyRunWithANonNumberInABoxWritesNothing) {
    const auto path = dir / "x.sim";
    WriteAll(path, "keep me");
    form->RateEdit->SetText("abc");
    Save(path);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Text, "'abc' は浮動小数点数ではありません");
    EXPECT_EQ(ReadAll(path), "keep me");
    EXPECT_EQ(Status(), "");
}

TEST_F(RunFileCommandsTest, SaveToAFullDeviceReportsTheFailureAndLeavesTheDevice) {
    struct stat before {};
    if (::stat("/dev/full", &before) != 0 || !S_ISCHR(before.st_mode))
        GTEST_SKIP() << "/dev/full is not a character device here";
    FastRun(500);
    // Through a link with the extension, which Save would otherwise add.
    const auto link = dir / "full.sim";
    std::filesystem::create_symlink("/dev/full", link);
    Save(link);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Caption, "エラー");
    EXPECT_EQ(seam.messages[0].Text, std::string(SaveFailedText) + "\n" + link.string() +
                                         "\nディスクの空き容量が足りません。");
    EXPECT_EQ(Status(), SaveFailedText);
    struct stat after {};
    ASSERT_EQ(::stat("/dev/full", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
}

TEST_F(RunFileCommandsTest, FailedSaveKeepsTheOldFileAndSaysSo) {
    struct Case {
        std::string name;
        SaveFault fault;
    };
    const Case cases[] = {
        {"create", SaveFault::Create},
        {"write", SaveFault::Write},
        {"rename", SaveFault::Rename},
    };
    FastRun(10);
    const auto path = dir / "old.sim";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(path, "old contents");
        seam.messages.clear();
        const FailingSaver failing(c.fault);
        form->Saver = &failing;
        Save(path);
        form->Saver = &SystemSaver();
        EXPECT_EQ(ReadAll(path), "old contents");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
        EXPECT_EQ(Status(), SaveFailedText);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].Caption, "エラー");
        EXPECT_EQ(seam.messages[0].Text.rfind(
                      std::string(SaveFailedText) + "\n" + path.string() + "\n", 0),
                  0u);
    }
    // The same command saves once nothing fails.
    Save(path);
    EXPECT_EQ(Status(), "シミュレーションファイルに保存完了");
    EXPECT_EQ(ReadAll(path).size(), 24u + 10u * 20u);
}

TEST_F(RunFileCommandsTest, BatchWritesNumberedFilesWhileSaveAndCsvKeepTheRunOnScreen) {
    FastRun(30);
    const RunRecords shownRecords = form->Records;
    const std::string shown = form->ResultLabel->Caption();
    SetInputs("1000", "3", "4.0", "12.5");
    seam.fileAnswers.push_back((dir / "run.sim").string());
    form->StartButton->Click();
    Pump();
    std::vector<std::int32_t> finals;
    for (int r = 1; r <= 3; ++r) {
        RunFileHeader header;
        RunRecords run;
        ASSERT_EQ(
            ReadRunFile((dir / ("run1000_" + std::to_string(r) + ".sim")).string(), header, run),
            ReadStatus::Ok);
        EXPECT_EQ(header.Count, 1000);
        finals.push_back(run.BallCounts.back());
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "run.sim"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
    EXPECT_NE(finals[0], finals[2]);
    // A batch displays nothing and keeps what is displayed.
    EXPECT_EQ(form->ResultLabel->Caption(), shown);
    EXPECT_EQ(form->Records, shownRecords);
    EXPECT_EQ(Status(), "シミュレーション完了（ファイル3個を保存）");
    EXPECT_EQ(form->ProgressBar1->Position(), 100);

    // It reports what the companion prints for its runs, and where they went.
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Caption, BatchReportCaption);
    EXPECT_FALSE(seam.messages[0].ErrorIcon);
    BatchReport expected;
    expected.RunsAsked = 3;
    expected.Rate = 4.0;
    expected.FinalBalances = finals;
    for (int r = 1; r <= 3; ++r)
        expected.Paths.push_back((dir / ("run1000_" + std::to_string(r) + ".sim")).string());
    EXPECT_EQ(seam.messages[0].Text, BatchReportText(expected));

    // Save writes the run on screen, with the header it was made with.
    form->RateEdit->SetText("1");
    form->BorderEdit->SetText("20");
    Save(dir / "shown.sim");
    std::vector<Rec> expectedRecords;
    for (std::size_t i = 0; i < shownRecords.Size(); ++i)
        expectedRecords.push_back({shownRecords.SinceHitPlays[i], shownRecords.BallCounts[i],
                                   shownRecords.ChainCounts[i], shownRecords.PlayNumbers[i],
                                   shownRecords.HitStates[i]});
    EXPECT_EQ(ReadAll(dir / "shown.sim"), FileBytes(20, 30, 4.0, 12.5, expectedRecords));
}

TEST_F(RunFileCommandsTest, SaveWritesTheHeaderOfTheRunOrFileShownNotOfTheBoxesOrEngine) {
    // A run at 12.5 / 4.0, then other values typed into the boxes.
    FastRun(200);
    const RunRecords run = form->Records;
    form->RateEdit->SetText("1");
    form->BorderEdit->SetText("20");
    form->PlayNumEdit->SetText("5");
    Save(dir / "run.sim");
    RunFileHeader header;
    RunRecords back;
    ASSERT_EQ(ReadRunFile((dir / "run.sim").string(), header, back), ReadStatus::Ok);
    EXPECT_EQ(header.Count, 200);
    EXPECT_EQ(header.Rate, 4.0);
    EXPECT_EQ(header.Border, 12.5);
    EXPECT_EQ(back, run);

    // A file opened after a run of another length keeps its own count and values.
    const auto hand = dir / "hand.sim";
    WriteAll(hand, FileBytes(20, 4, 2.5, 20.0, HandRecords));
    Open(hand);
    form->RateEdit->SetText("7");
    Save(dir / "again.sim");
    EXPECT_EQ(ReadAll(dir / "again.sim"), ReadAll(hand));
}

TEST_F(RunFileCommandsTest, SaveAddsTheExtensionOnlyToANameWithoutOne) {
    FastRun(10);
    const std::pair<std::string, std::string> cases[] = {
        {"run1", "run1.sim"},
        {"run2.sim", "run2.sim"},
        {"run3.bak", "run3.bak"},
        {".hidden", ".hidden.sim"},
    };
    for (const auto& [typed, written] : cases) {
        SCOPED_TRACE(typed);
        Save(dir / typed);
        EXPECT_TRUE(std::filesystem::is_regular_file(dir / written));
        EXPECT_EQ(Status(), "シミュレーションファイルに保存完了");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 4);
    // The batch shares the dialog and so the extension.
    SetInputs("10", "2", "4.0", "12.5");
    seam.fileAnswers.push_back((dir / "b").string());
    form->StartButton->Click();
    EXPECT_TRUE(std::filesystem::exists(dir / "b10_1.sim"));
    EXPECT_TRUE(std::filesystem::exists(dir / "b10_2.sim"));
}

TEST_F(RunFileCommandsTest, SaveIntoAMissingFolderSaysWhereAndWhy) {
    FastRun(10);
    const auto path = dir / "no-such-folder" / "x.sim";
    Save(path);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Text, std::string(SaveFailedText) + "\n" + path.string() +
                                         "\n保存先のフォルダ " + (dir / "no-such-folder").string() +
                                         " がありません。");
    EXPECT_EQ(Status(), SaveFailedText);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RunFileCommandsTest, BatchProgressAndStatusAfterEachRun) {
    SetInputs("50", "4", "4.0", "12.5");
    seam.fileAnswers.push_back((dir / "b.sim").string());
    std::vector<std::pair<int, std::string>> seen;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (form->RunActive())
            seen.emplace_back(form->ProgressBar1->Position(), Status());
    });
    probe.start();
    form->StartButton->Click();
    probe.stop();
    // Each run lets messages through once, at its start.
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].first, 0);
    EXPECT_EQ(seen[0].second, "シミュレーション実行中・・・");
    EXPECT_EQ(seen[1].first, 25);
    EXPECT_EQ(seen[1].second, "シミュレーションファイルに保存中。" + (dir / "b50_1.sim").string());
    EXPECT_EQ(seen[2].first, 50);
    EXPECT_EQ(seen[3].first, 75);
    EXPECT_EQ(form->ProgressBar1->Position(), 100);
}

TEST_F(RunFileCommandsTest, BatchNameGoesIntoTheFileNameEvenInADottedFolder) {
    const auto dotted = dir / "v1.2" / "x";
    std::filesystem::create_directories(dotted);
    SetInputs("20", "2", "4.0", "12.5");
    seam.fileAnswers.push_back((dotted / "out.data.sim").string());
    form->StartButton->Click();
    EXPECT_TRUE(std::filesystem::exists(dotted / "out20_1.data.sim"));
    EXPECT_TRUE(std::filesystem::exists(dotted / "out20_2.data.sim"));
}

TEST_F(RunFileCommandsTest, CancelledBatchDialogEndsTheBatchBeforeItsFirstRun) {
    FastRun(10);
    const RunRecords before = form->Records;
    SetInputs("20", "2", "4.0", "12.5");
    seam.fileAnswers.push_back(std::nullopt);
    form->StartButton->Click();
    EXPECT_EQ(form->Records, before);
    EXPECT_EQ(Status(), "");
    EXPECT_TRUE(form->StartButton->Enabled());
    EXPECT_TRUE(form->RateEdit->Enabled());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(RunFileCommandsTest, BatchStopsAtAFileThatCannotBeCreatedAndNeverClaimsSuccess) {
    SetInputs("20", "3", "4.0", "12.5");
    // A folder where the second file would go.
    std::filesystem::create_directories(dir / "c20_2.sim");
    seam.fileAnswers.push_back((dir / "c.sim").string());
    form->StartButton->Click();
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "c20_1.sim"));
    EXPECT_FALSE(std::filesystem::exists(dir / "c20_3.sim"));
    EXPECT_EQ(Status(), "エラーにより強制終了しました。");
    EXPECT_EQ(form->ProgressBar1->Position(), 33);
    EXPECT_TRUE(form->StartButton->Enabled());
    EXPECT_FALSE(form->RunActive());
    // The error names the file and the reason; the report lists what was written.
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[0].Text, std::string(SaveFailedText) + "\n" +
                                         (dir / "c20_2.sim").string() +
                                         "\n同じ名前のフォルダがあります。");
    EXPECT_EQ(seam.messages[1].Caption, BatchReportCaption);
    EXPECT_NE(seam.messages[1].Text.find("集計 Sim回数:1（3回のうち）"), std::string::npos);
    EXPECT_NE(seam.messages[1].Text.find("c20_1.sim"), std::string::npos);
}

TEST_F(RunFileCommandsTest, BatchIntoAFullDeviceReportsTheFailure) {
    struct stat info {};
    if (::stat("/dev/full", &info) != 0 || !S_ISCHR(info.st_mode))
        GTEST_SKIP() << "/dev/full is not a character device here";
    SetInputs("20", "2", "4.0", "12.5");
    // No "." in the name: the tag goes at its end, /dev/full20_1, a new file;
    // a symlink named like that points the write at the device.
    const auto link = dir / "full20_1.sim";
    std::filesystem::create_symlink("/dev/full", link);
    seam.fileAnswers.push_back((dir / "full").string());
    form->StartButton->Click();
    EXPECT_EQ(Status(), "エラーにより強制終了しました。");
    // No file was written, so there is nothing to report beside the error.
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Text, std::string(SaveFailedText) + "\n" + link.string() +
                                         "\nディスクの空き容量が足りません。");
    EXPECT_FALSE(std::filesystem::exists(dir / "full20_2.sim"));
    ASSERT_EQ(::stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(RunFileCommandsTest, StopDuringASlowBatchKeepsTheFilesWrittenAndReportsThem) {
    FastRun(15);
    const RunRecords shownRecords = form->Records;
    SetInputs("20", "3", "4.0", "12.5");
    form->SpeedComboBox->SetItemIndex(1);
    seam.fileAnswers.push_back((dir / "s.sim").string());
    QTimer stopper;
    stopper.setInterval(0);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (form->RunActive() && form->StopButton->Enabled() &&
            std::filesystem::exists(dir / "s20_1.sim"))
            form->StopButton->Click();
    });
    stopper.start();
    form->StartButton->Click();
    stopper.stop();
    const std::string first = ReadAll(dir / "s20_1.sim");
    EXPECT_EQ(first.size(), 24u + 20u * 20u);
    // The run Stop reached before its first play left no file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    EXPECT_EQ(form->Records, shownRecords);
    EXPECT_EQ(Status(), "シミュレーション完了（ファイル1個を保存）");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_NE(seam.messages[0].Text.find("集計 Sim回数:1（3回のうち）"), std::string::npos);
    EXPECT_NE(seam.messages[0].Text.find("s20_1.sim"), std::string::npos);
}

TEST_F(RunFileCommandsTest, ABoxTurnedToTextMidBatchEndsItAndLeavesTheWindowUsable) {
    SetInputs("20", "3", "4.0", "12.5");
    seam.fileAnswers.push_back((dir / "t.sim").string());
    QTimer editor;
    editor.setInterval(0);
    QObject::connect(&editor, &QTimer::timeout, [&] {
        // The play count box stays editable during a batch.
        if (form->RunActive())
            form->PlayNumEdit->SetText("abc");
    });
    editor.start();
    form->StartButton->Click();
    editor.stop();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Text, "'abc' は整数ではありません");
    EXPECT_TRUE(std::filesystem::exists(dir / "t20_1.sim"));
    EXPECT_FALSE(std::filesystem::exists(dir / "t20_2.sim"));
    EXPECT_NE(Status(), "シミュレーション完了");
    EXPECT_FALSE(form->RunActive());
    EXPECT_TRUE(form->StartButton->Enabled());
    EXPECT_TRUE(form->RateEdit->Enabled());
    EXPECT_TRUE(form->BorderEdit->Enabled());
    EXPECT_FALSE(form->StopButton->Enabled());
    EXPECT_TRUE(form->FileOpenMenu->Enabled());
}

TEST_F(RunFileCommandsTest, AReadErrorRefusesTheFileInsteadOfShowingItCut) {
    std::vector<Rec> many;
    for (int k = 0; k < 30000; ++k)
        many.push_back({k % 40 + 1, k, 0, k + 1, 0});
    const auto path = dir / "failing.sim";
    const std::string bytes = FileBytes(20, 30000, 4.0, 12.5, many);
    WriteAll(path, bytes);
    for (const std::size_t good : {std::size_t{0}, std::size_t{24 + 20 * 12000 + 5}}) {
        SCOPED_TRACE(good);
        FastRun(20);
        const std::string shownBefore = form->ResultLabel->Caption();
        seam.messages.clear();
        FailingSource source{{bytes.begin(), bytes.end()}, good};
        std::FILE* failing = OpenFailingStream(source);
        form->OpenRunStream(failing, path.string());
        std::fclose(failing);
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].Text,
                  "シミュレーションファイルを読み込めませんでした。\n" + path.string());
        EXPECT_EQ(Status(), "シミュレーションファイルの読み込み中断");
        EXPECT_EQ(form->Records.Size(), 20u);
        EXPECT_EQ(form->ResultLabel->Caption(), shownBefore);
        EXPECT_EQ(form->PlayNumEdit->Text(), "20");
        EXPECT_TRUE(form->StartButton->Enabled());
    }
    // Read whole, the same file opens.
    seam.messages.clear();
    Open(path);
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(form->Records.Size(), 30000u);
}

TEST_F(RunFileCommandsTest, SaveAndBatchKeepLongNamesAndLinks) {
    FastRun(30);
    const auto longName = dir / (std::string(251, 's') + ".sim");
    Save(longName);
    EXPECT_EQ(Status(), "シミュレーションファイルに保存完了");
    EXPECT_EQ(ReadAll(longName).size(), 24u + 20u * 30u);

    std::filesystem::create_symlink("real.sim", dir / "link.sim");
    Save(dir / "link.sim");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.sim"));
    EXPECT_EQ(ReadAll(dir / "real.sim").size(), 24u + 20u * 30u);

    // The batch's numbered names are longer than the chosen one: 245 bytes
    // and the tag still make a legal name, whose temporary must fit as well.
    form->Machine.Random().Seed(4);
    SetInputs("10", "2", "4.0", "12.5");
    form->SpeedComboBox->SetItemIndex(0);
    seam.fileAnswers.push_back((dir / (std::string(241, 'b') + ".sim")).string());
    form->StartButton->Click();
    Pump();
    EXPECT_EQ(Status(), "シミュレーション完了（ファイル2個を保存）");
    for (int run = 1; run <= 2; ++run)
        EXPECT_EQ(
            ReadAll(dir / (std::string(241, 'b') + "10_" + std::to_string(run) + ".sim")).size(),
            24u + 20u * 10u);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Caption, BatchReportCaption);
}
