#include "app/Unit1.h"

#include "app/AboutBox.h"
#include "app/FileFailure.h"
#include "app/TheoryDialog.h"
#include "chart/Chart.h"
#include "numfmt/Conversions.h"
#include "numfmt/NumberFormats.h"
#include "platform/DateTimeText.h"
#include "platform/DialogSeam.h"
#include "platform/MessageDialog.h"
#include "platform/ShellExecute.h"
#include "platform/TApplication.h"
#include "results/CsvExport.h"
#include "results/InputChecks.h"
#include "results/ResultTexts.h"
#include "runfile/RunFile.h"
#include "runs/RunDriver.h"
#include "stats/BalanceLimit.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <utility>

namespace {

constexpr const char* FontName = "ＭＳ Ｐゴシック";
constexpr const char* RunningText = "シミュレーション実行中・・・";
constexpr const char* DoneText = "シミュレーション完了";
constexpr const char* SavedText = "シミュレーションファイルに保存完了";
constexpr const char* SavingText = "シミュレーションファイルに保存中。";
constexpr const char* BatchFailedText = "エラーにより強制終了しました。";
constexpr const char* LoadingText = "シミュレーションファイルを読み込み中・・・";
constexpr const char* LoadAbortedText = "シミュレーションファイルの読み込み中断";
constexpr const char* LoadedText = "シミュレーションファイルの読み込み完了";
constexpr const char* CutLoadedText = "途中で切れたシミュレーションファイルを読み込みました";
constexpr const char* CutFileMessage = "このファイルは途中で切れています。";
constexpr const char* CsvSavedText = "CSVファイルに書き出し完了";
constexpr const char* ChartImagesSavedText = "グラフの画像を保存完了";

void ProcessMessages() {
    if (Application)
        Application->ProcessMessages();
}

// Reads a whole run file and checks what the display relies on: the refusal
// text, or "" when the records may be shown.
std::string ReadForDisplay(std::FILE* file, RunFileHeader& header, RunRecords& loaded) {
    try {
        const ReadStatus status = ReadRunFile(file, header, loaded);
        if (status != ReadStatus::Ok)
            return ReadFailureText(status);
        const std::string foreign = ValidateHeader(header);
        return foreign.empty() ? ValidateRecords(loaded) : foreign;
    } catch (const std::bad_alloc&) {
        return FileTooLargeText;
    } catch (const std::length_error&) {
        return FileTooLargeText;
    }
}

std::string SaveFailureMessage(const std::string& path, int error) {
    return std::string(SaveFailedText) + "\n" + path + "\n" + SaveFailureReason(path, error);
}

// Bytes of a regular file, or -1 when its length is unknown.
long long FileLength(std::FILE* file) {
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return static_cast<long long>(info.st_size);
}

// A file that ends inside a record, or holds fewer plays than its header
// counts, has lost plays: the text that says so, or "" for a whole file.
std::string CutFileText(const std::string& path, long long bytes, int count, std::size_t read) {
    const bool partial =
        bytes >= static_cast<long long>(RunFileHeaderSize) &&
        (static_cast<std::size_t>(bytes) - RunFileHeaderSize) % RunFileRecordSize != 0;
    const bool fewer = count > 0 && static_cast<std::size_t>(count) > read;
    if (!partial && !fewer)
        return "";
    std::string text = std::string(CutFileMessage) + "\n" + path + "\n";
    if (fewer)
        text += std::to_string(count) + "Playのうち";
    return text + std::to_string(read) + "Playを読み込みました。";
}

} // namespace

TMainForm::TMainForm() : TForm(Kind::MainWindow) {
    SlowWait = [this](int ms) { PaceSlowRun(ms); };
    BuildControls();
    BuildMenu();
    SetTabOrder();
    Charts_ =
        std::make_unique<ChartFeeding>(SlumpChart.get(), SlumpChart2.get(), KeizokuChart.get());
    Charts_->Configure();
    PageControl1->SetActivePageIndex(0);
    SpeedComboBox->SetItemIndex(1);
    Timer1->SetEnabled(true);
    AcceptFileDrops([this](const std::string& path) { OpenRunFile(path); });
}

TMainForm::~TMainForm() {
    Timer1->SetEnabled(false);
    // The chart hosts are children of the client; free the charts while
    // their hosts still exist.
    Charts_.reset();
    KeizokuChart.reset();
    SlumpChart.reset();
    SlumpChart2.reset();
}

void TMainForm::BuildControls() {
    SetCaption(MainCaption);
    SetFormFont(FontName, 12);
    SetClientSize(608, 699);
    UseProgramIcon();
    QWidget* client = Client();
    BuildInputs(client);
    BuildLists(client);
    BuildCharts(client);
    BuildFooter(client);
    OpenDialog = std::make_unique<TFileDialog>(TFileDialog::Kind::Open, "*.sim", RunFileFilter);
    SaveDialog = std::make_unique<TFileDialog>(TFileDialog::Kind::Save, "*.sim", RunFileFilter);
    SaveDialog->SetDefaultExt("sim");
    ExportDialog = std::make_unique<TFileDialog>(TFileDialog::Kind::Folder, "", "");
    Timer1 = std::make_unique<TTimer>(100);

    StartButton->OnClick = [this] { StartButtonClick(); };
    StopButton->OnClick = [this] { StopButtonClick(); };
    CheckBox1->OnClick = [this] { CheckBox1Click(); };
    CheckBox2->OnClick = [this] { CheckBox2Click(); };
    Timer1->OnTimer = [this] { Timer1Timer(); };
}

// The inputs, Start and Stop, and the summary box along the top.
void TMainForm::BuildInputs(QWidget* client) {
    Label1 = std::make_unique<TLabel>(client, 8, 4, "Play数");
    PlayNumEdit = std::make_unique<TEdit>(client, 48, 0, 85, 20, "1");
    Label6 = std::make_unique<TLabel>(client, 156, 4, "Sim回数");
    SimNumEdit = std::make_unique<TEdit>(client, 204, 0, 61, 20, "1");
    Label7 = std::make_unique<TLabel>(client, 8, 28, "交換レート");
    RateEdit = std::make_unique<TEdit>(client, 68, 24, 29, 20, "4.0");
    Label3 = std::make_unique<TLabel>(client, 104, 28, "円/玉");
    Label8 = std::make_unique<TLabel>(client, 156, 28, "ボーダー");
    BorderEdit = std::make_unique<TEdit>(client, 204, 24, 29, 20, "12.5");
    Label9 = std::make_unique<TLabel>(client, 240, 28, "回/1000円");
    Label10 = std::make_unique<TLabel>(client, 100, 52, "シミュレート速度");
    SpeedComboBox = std::make_unique<TComboBox>(client, 188, 48, 49, 20,
                                                std::vector<std::string>{"高速", "低速"});
    StartButton = std::make_unique<TButton>(client, 240, 48, 53, 21, "開始");
    StopButton = std::make_unique<TButton>(client, 296, 48, 53, 21, "停止");
    StopButton->SetEnabled(false);
    GroupBox2 = std::make_unique<TGroupBox>(client, 352, 4, 249, 69, "シミュレーション結果");
    ResultLabel = std::make_unique<TLabel>(GroupBox2->Widget(), 8, 12, "");
}

// The three lists on their tabs.
void TMainForm::BuildLists(QWidget* client) {
    PageControl1 = std::make_unique<TPageControl>(client, 4, 76, 597, 209);
    TabSheet1 = &PageControl1->AddPage("PLAY情報");
    TabSheet2 = &PageControl1->AddPage("バトルボーナス");
    TabSheet3 = &PageControl1->AddPage("継続回数");
    ResultListView = std::make_unique<TListView>(TabSheet1->Widget(), 4, 5, 317, 173);
    for (std::size_t c = 0; c < PlayListCaptions.size(); ++c)
        ResultListView->AddColumn(PlayListCaptions[c], c == 2 ? 80 : 70);
    ResultListView->SetOwnerData(true);
    ResultListView->OnData = [this](TListItem& item) { ResultListViewData(item); };
    BBListView = std::make_unique<TListView>(TabSheet2->Widget(), 4, 5, 357, 172);
    const int bbWidths[] = {70, 70, 80, 100};
    for (std::size_t c = 0; c < BonusListCaptions.size(); ++c)
        BBListView->AddColumn(BonusListCaptions[c], bbWidths[c]);
    KeizokuListView = std::make_unique<TListView>(TabSheet3->Widget(), 4, 5, 245, 172);
    const int kzWidths[] = {70, 50, 100};
    for (std::size_t c = 0; c < KeizokuListCaptions.size(); ++c)
        KeizokuListView->AddColumn(KeizokuListCaptions[c], kzWidths[c]);
}

// The continuation pie beside its table, the two slump charts and their hints.
void TMainForm::BuildCharts(QWidget* client) {
    KeizokuChart = std::make_unique<TChart>(TabSheet3->Widget());
    KeizokuChart->SetBounds(280, 0, 305, 182);

    SlumpChart2 = std::make_unique<TChart>(client);
    SlumpChart2->SetBounds(4, 284, 597, 149);
    SlumpChart = std::make_unique<TChart>(client);
    SlumpChart->SetBounds(4, 428, 597, 217);
    // The hints lie on the charts, at the charts' own coordinates.
    Label5 = std::make_unique<TLabel>(client, 0, 0, ChartHintText);
    Label5->SetFont(FontName, 11);
    Label5->SetFixedBounds(4 + 124, 284 + 8, 383, 11);
    Label5->SetBackground(0xC0, 0xC0, 0xC0);
    Label4 = std::make_unique<TLabel>(client, 0, 0, ChartHintText);
    Label4->SetFont(FontName, 11);
    Label4->SetFixedBounds(4 + 124, 428 + 12, 383, 11);
    Label5->BringToFront();
    Label4->BringToFront();
}

// The marker check boxes, the status bar and the progress bar in it.
void TMainForm::BuildFooter(QWidget* client) {
    GroupBox1 = std::make_unique<TGroupBox>(client, 4, 648, 597, 29, "星環チャンス突入");
    CheckBox1 = std::make_unique<TCheckBox>(GroupBox1->Widget(), 108, 8, 89, 17, "突入");
    CheckBox2 = std::make_unique<TCheckBox>(GroupBox1->Widget(), 168, 8, 89, 17, "敗北（単発)");
    StatusBar1 = std::make_unique<TStatusBar>(client, 0, 678, 608, 21);
    StatusBar1->AddPanel(300, false);
    StatusBar1->AddPanel(150, true);
    ProgressBar1 = std::make_unique<TProgressBar>(client, 300, 680, 301, 18);
}

void TMainForm::BuildMenu() {
    TMainMenu& menu = CreateMainMenu();
    FileMenu = &menu.AddMenu("FileMenu", "ファイル(&F)");
    FileOpenMenu = &FileMenu->Add("FileOpenMenu", "開く(&O)");
    FileSaveMenu = &FileMenu->Add("FileSaveMenu", "保存(&S)");
    FileCsvMenu = &FileMenu->Add("FileCsvMenu", "CSVで書き出す(&C)...");
    FileChartImageMenu = &FileMenu->Add("FileChartImageMenu", "グラフを画像で保存(&I)...");
    N1 = &FileMenu->AddSeparator("N1");
    FileStartMenu = &FileMenu->Add("FileStartMenu", "開始(&G)");
    FileExitMenu = &FileMenu->Add("FileExitMenu", "終了(&X)");
    AnalysisMenu = &menu.AddMenu("AnalysisMenu", "解析(&A)");
    AnalysisTheoryMenu = &AnalysisMenu->Add("AnalysisTheoryMenu", "理論値と分布(&T)...");
    HelpMenu = &menu.AddMenu("HelpMenu", "ヘルプ(&H)");
    HelpAboutMenu = &HelpMenu->Add("HelpAboutMenu", "バージョン情報(&A)");
    HelpManMenu = &HelpMenu->Add("HelpManMenu", "取扱説明書(&C)");
    JWord1 = &HelpMenu->Add("JWord1", "JWordのインストール");
    N2 = &HelpMenu->AddSeparator("N2");
    N3 = &HelpMenu->Add("N3", "ホームページ");

    FileOpenMenu->OnClick = [this] { FileOpenMenuClick(); };
    FileSaveMenu->OnClick = [this] { FileSaveMenuClick(); };
    FileCsvMenu->OnClick = [this] { FileCsvMenuClick(); };
    FileChartImageMenu->OnClick = [this] { FileChartImageMenuClick(); };
    FileStartMenu->OnClick = [this] { FileStartMenuClick(); };
    FileExitMenu->OnClick = [this] { FileExitMenuClick(); };
    AnalysisTheoryMenu->OnClick = [this] { AnalysisTheoryMenuClick(); };
    HelpAboutMenu->OnClick = [this] { HelpAboutMenuClick(); };
    HelpManMenu->OnClick = [this] { HelpManMenuClick(); };
    JWord1->OnClick = [this] { JWord1Click(); };
    N3->OnClick = [this] { N3Click(); };
}

void TMainForm::SetTabOrder() {
    // The form's tab order, skipping what takes no focus.
    ::SetTabOrder({PlayNumEdit.get(), CheckBox1.get(), CheckBox2.get(), SimNumEdit.get(),
                   StartButton.get(), PageControl1.get(), RateEdit.get(), SpeedComboBox.get(),
                   BorderEdit.get(), StopButton.get()});
}

// ---- Run control ----

void TMainForm::LockForRun() {
    RunActive_ = true;
    RateEdit->SetEnabled(false);
    BorderEdit->SetEnabled(false);
    StopButton->SetEnabled(SpeedComboBox->ItemIndex() != 0);
    StartButton->SetEnabled(false);
    // Records must not be replaced or started over under a running run.
    FileOpenMenu->SetEnabled(false);
    FileSaveMenu->SetEnabled(false);
    FileCsvMenu->SetEnabled(false);
    FileChartImageMenu->SetEnabled(false);
    FileStartMenu->SetEnabled(false);
}

void TMainForm::UnlockAfterRun() {
    StartButton->SetEnabled(true);
    StopButton->SetEnabled(false);
    BorderEdit->SetEnabled(true);
    RateEdit->SetEnabled(true);
    FileOpenMenu->SetEnabled(true);
    FileSaveMenu->SetEnabled(true);
    FileCsvMenu->SetEnabled(true);
    FileChartImageMenu->SetEnabled(true);
    FileStartMenu->SetEnabled(true);
    RunActive_ = false;
}

void TMainForm::StartButtonClick() {
    if (RunActive_) {
        // Only reachable through Stop's re-enabled button: start once the
        // stopped run has ended, never inside it.
        if (StopRequested)
            StartDeferred_ = true;
        return;
    }
    StopRequested = false;
    StartInputs inputs;
    const std::string refusal = ReadStartInputs(inputs);
    if (!refusal.empty()) {
        ShowErrorMessage(refusal);
        StatusBar1->Panel(0).SetText("");
        return;
    }

    StatusBar1->Panel(0).SetText(RunningText);
    LockForRun();
    const RunEnd end = RunStarted(inputs);
    const bool batch = inputs.Runs > 1;
    if (end == RunEnd::OutOfMemory) {
        // A batch holds its runs apart from the one on screen, which stays.
        if (!batch)
            DropRunForMemory();
        StatusBar1->Panel(0).SetText("");
        UnlockAfterRun();
        ShowErrorMessage(OutOfMemoryText);
        return;
    }
    if (end == RunEnd::BalanceLimit) {
        UnlockAfterRun();
        StatusBar1->Panel(0).SetText("");
        ShowErrorMessage(BalanceLimitStopText);
        return;
    }
    if (end == RunEnd::Completed) {
        ProgressBar1->SetPosition(100);
        StatusBar1->Panel(0).SetText(batch ? BatchStatusText(Batch_) : DoneText);
    }
    UnlockAfterRun();
    // A cancelled dialog made no run; a failure at the first file has
    // nothing to report beside its error.
    if (batch && (end == RunEnd::Completed || !Batch_.Paths.empty()))
        ShowBatchReport(Batch_);
    if (StartDeferred_) {
        StartDeferred_ = false;
        if (Application)
            Application->Post([this] { StartButtonClick(); });
    }
}

std::string TMainForm::ReadStartInputs(StartInputs& inputs) {
    inputs.PlayCount = PlayCount;
    inputs.Rate = ExchangeRate;
    std::string refusal;
    try {
        refusal = CheckStartInputs(PlayNumEdit->Text(), SimNumEdit->Text(), RateEdit->Text(),
                                   BorderEdit->Text(), inputs);
    } catch (...) {
        // What was read before a box that holds no number is kept.
        PlayCount = inputs.PlayCount;
        ExchangeRate = inputs.Rate;
        throw;
    }
    PlayCount = inputs.PlayCount;
    ExchangeRate = inputs.Rate;
    if (refusal.empty())
        refusal = CheckBalanceRange(inputs.PlayCount, inputs.Border);
    if (refusal.empty() &&
        !RunFitsInMemory(static_cast<std::uint64_t>(inputs.PlayCount),
                         static_cast<std::uint64_t>(inputs.Runs), inputs.Runs == 1))
        refusal = TooManyPlaysText;
    return refusal;
}

TMainForm::RunEnd TMainForm::RunStarted(const StartInputs& inputs) {
    BalanceStopped_ = false;
    try {
        if (inputs.Runs == 1) {
            Machine.Reset();
            Machine.SetBorder(inputs.Border);
            ShownHeader = {true, 0, inputs.Rate, inputs.Border};
            RunOnce(true);
            ShownHeader.Count = Machine.PlayNo;
            return BalanceStopped_ ? RunEnd::BalanceLimit : RunEnd::Completed;
        }
        const bool completed = RunBatch();
        if (BalanceStopped_)
            return RunEnd::BalanceLimit;
        return completed ? RunEnd::Completed : RunEnd::Abandoned;
    } catch (const std::bad_alloc&) {
        return RunEnd::OutOfMemory;
    } catch (const std::length_error&) {
        return RunEnd::OutOfMemory;
    } catch (...) {
        // A conversion error met again mid-batch: leave the window usable.
        UnlockAfterRun();
        throw;
    }
}

void TMainForm::DropRunForMemory() {
    Records = RunRecords{};
    ShownHeader = {};
    ForgetListedRows();
    // A pass cut short by the failure may have shown part of the run.
    ResultListView->Clear();
    BBListView->Clear();
    KeizokuListView->Clear();
    ResultLabel->SetCaption("");
    StatusBar1->Panel(0).SetText("");
}

void TMainForm::FileStartMenuClick() {
    StartButtonClick();
}

void TMainForm::StopButtonClick() {
    StopRequested = true;
    StopButton->SetEnabled(false);
    StartButton->SetEnabled(true);
}

void TMainForm::Timer1Timer() {
    StatusBar1->Panel(1).SetText(NowText());
}

void TMainForm::PaceSlowRun(int milliseconds) {
    if (Application) {
        Application->ProcessMessagesFor(milliseconds, [this] { return StopRequested; });
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void TMainForm::FormClose() {
    // A slow run still on the stack must not go on behind a closed window.
    StopRequested = true;
    Timer1->SetEnabled(false);
    // Closing the main window ends the program: the analysis dialog goes with
    // it, its study cancelled, whatever other windows are open.
    if (TheoryDialog)
        TheoryDialog->Close();
    if (Application)
        Application->Terminate();
}

// ---- Runs ----

void TMainForm::RunOnce(bool display) {
    KeepListedRows();
    Records.Clear();
    // A zoom of the last run would frame the new line wrongly.
    if (display)
        Charts_->ResetZoom();
    const int n = StrToInt(PlayNumEdit->Text());
    ProcessMessages();
    if (n > 0)
        ReserveRecords(Records, static_cast<std::size_t>(n));
    // The slow speeds show every play; the speed may change while they wait.
    const int every = display && SpeedComboBox->ItemIndex() != 0 ? 1 : LookEveryPlays;
    if (!StopRequested) {
        DrivePlays(Machine, n, &Records, every, [this, display] {
            if (display && SpeedComboBox->ItemIndex() != 0) {
                SlowWait(500 * SpeedComboBox->ItemIndex());
                // A stop given during the wait takes effect after this play's
                // display, which it must not cut short.
                const bool stopped = std::exchange(StopRequested, false);
                ShowResults(false);
                StopRequested = StopRequested || stopped;
                ProcessMessages();
            }
            return !StopRequested;
        });
    }
    // Stopped while every balance still fits the records; the box may have
    // been given a larger play count since Start checked it.
    BalanceStopped_ = BalanceAtGuard(Machine.Balls) && Records.Size() < static_cast<std::size_t>(n);
    if (display && (SpeedComboBox->ItemIndex() == 0 || BalanceStopped_))
        ShowResults(true);
}

bool TMainForm::RunBatch() {
    Batch_ = BatchReport{};
    // A cancelled dialog ends the batch before its first run.
    if (!SaveDialog->Execute()) {
        StatusBar1->Panel(0).SetText("");
        return false;
    }
    const int n = StrToInt(SimNumEdit->Text());
    Batch_.RunsAsked = n;
    // The batch's runs go to their files only: the run on screen keeps its
    // records, so Save and the exports still write what the window shows.
    RunRecords records;
    for (int i = 1; i <= n && !StopRequested; ++i) {
        const double rate = StrToFloat(RateEdit->Text());
        const double border = StrToFloat(BorderEdit->Text());
        Batch_.Rate = rate;
        Machine.Reset();
        Machine.SetBorder(border);
        const int plays = StrToInt(PlayNumEdit->Text());
        // Stop reaches a batch here only; a run it stops before its first
        // play is neither saved nor counted.
        ProcessMessages();
        if (StopRequested)
            break;
        RecordPlays(Machine, plays, records);
        // A run that reached the balance guard is saved as far as it went.
        BalanceStopped_ = records.Size() < static_cast<std::size_t>(plays);
        if (!BatchSave(i, n, rate, border, records, Batch_) || BalanceStopped_)
            return false;
    }
    Batch_.Stopped = StopRequested;
    StatusBar1->Panel(0).SetText(SavedText);
    return true;
}

bool TMainForm::BatchSave(int run, int runs, double rate, double border, const RunRecords& records,
                          BatchReport& report) {
    const std::string path = BatchFileName(SaveDialog->FileName(), Machine.PlayNo, run);
    StatusBar1->Panel(0).SetText(SavingText + path);
    errno = 0;
    const WriteStatus status = SaveRunFile(path, Machine.PlayNo, rate, border, records, *Saver);
    if (status != WriteStatus::Ok) {
        const int error = errno;
        StatusBar1->Panel(0).SetText(BatchFailedText);
        ShowErrorMessage(SaveFailureMessage(path, error));
        return false;
    }
    report.FinalBalances.push_back(records.Size() > 0 ? records.BallCounts.back() : 0);
    report.Paths.push_back(path);
    ProgressBar1->SetPosition(static_cast<int>(std::trunc(static_cast<double>(run) / runs * 100)));
    return true;
}

void TMainForm::ShowBatchReport(const BatchReport& report) {
    DialogSeam().ShowMessage({BatchReportCaption, BatchReportText(report), false});
}

// ---- Display pass ----

namespace {

// Percent of the run's plays shown so far; a file may carry a play count of 0.
int ShownPercent(std::size_t shown, int playCount) {
    if (playCount <= 0)
        return 100;
    return static_cast<int>(
        std::trunc(static_cast<double>(shown) / static_cast<double>(playCount) * 100.0));
}

// The smallest record count above `shown` whose percent differs from `percent`.
std::size_t NextPercentMove(std::size_t shown, int percent, int playCount) {
    if (playCount <= 0)
        return std::numeric_limits<std::size_t>::max();
    // An estimate from the next percent, then corrected by the exact rule.
    auto next = static_cast<std::size_t>(static_cast<double>(percent + 1) * playCount / 100.0);
    next = std::max(next, shown + 1);
    while (next > shown + 1 && ShownPercent(next - 1, playCount) != percent)
        --next;
    while (ShownPercent(next, playCount) == percent)
        ++next;
    return next;
}

} // namespace

void TMainForm::ShowResults(bool bulk) {
    ClearResults();
    ResultLabel->SetCaption("");
    // The caller enables Start again once the pass is over.
    StartButton->SetEnabled(false);
    Charts_->SetBottomAxisRange(Records.Size());
    const ChainStats stats = ShowRecords(bulk);
    // A stop cuts the walk short only: the line, table and summary still follow.
    Charts_->AddSlumpLine(Records);
    for (const KeizokuRow& row : KeizokuRows(stats)) {
        KeizokuListView->AddItem(row.Caption, {row.CountText, row.Percent});
        Charts_->AddKeizokuSlice(row.Count, row.Caption);
    }
    ResultLabel->SetCaption(SummaryText(stats, Records, ExchangeRate));
}

void TMainForm::ClearResults() {
    Charts_->ClearSeries();
    ResultListView->Clear();
    BBListView->Clear();
    KeizokuListView->Clear();
    ForgetListedRows();
}

ChainStats TMainForm::ShowRecords(bool bulk) {
    ChainStats stats;
    const std::size_t n = Records.Size();
    // The list keeps its mode when a stop leaves no record to show.
    if (n > 0 && !StopRequested)
        ResultListView->SetOwnerData(bulk);
    std::size_t walked = 0;
    // The bar moves only when its percent changes: the next record count that
    // changes it is found once per percent, not computed for every record.
    std::size_t nextMove = 0;
    for (; walked < n && !StopRequested; ++walked) {
        const std::size_t i = walked;
        if (Records.HitStates[i] != ToInt(HitState::None)) {
            Charts_->AddHitMarker(Records, i);
            if (IsChainEnd(Records, i)) {
                stats.AddChainEnd(Records.ChainCounts[i]);
                AddBonusRow(i);
                Charts_->AddFirstHitBar(Records, i, stats.FirstHitCount);
            }
        }
        if (!bulk)
            AddPlayRow(i);
        if (i + 1 >= nextMove) {
            const int percent = ShownPercent(i + 1, PlayCount);
            ProgressBar1->SetPosition(percent);
            nextMove = NextPercentMove(i + 1, percent, PlayCount);
        }
    }
    if (bulk && walked > 0) {
        // The virtual list shows the walked records; ResultListViewData makes
        // each row's texts when the view asks for it.
        ListedRows_ = walked;
        ResultListView->SetItemCount(static_cast<int>(walked));
    }
    return stats;
}

void TMainForm::AddBonusRow(std::size_t i) {
    const BonusRow row = BonusRowAt(Records, i);
    BBListView->AddItem(row.Play, {row.Play2, row.Chance, row.Gained});
    BBListView->Scroll(0, 10);
}

void TMainForm::AddPlayRow(std::size_t i) {
    ResultListView->AddItem(
        PlayText(Records, i),
        {Play2Text(Records, i), OutcomeText(Records.HitStates[i]), BallText(Records, i)});
    ResultListView->Scroll(0, 20);
}

void TMainForm::ResultListViewData(TListItem& item) {
    const RunRecords& records = ListedRecords();
    const std::size_t k = static_cast<std::size_t>(item.Index);
    if (item.Index < 0 || k >= ListedRows_ || k >= records.Size())
        return;
    item.Caption = PlayText(records, k);
    item.SubItems.clear();
    item.SubItems.emplace_back(Play2Text(records, k));
    item.SubItems.emplace_back(OutcomeText(records.HitStates[k]));
    item.SubItems.emplace_back(BallText(records, k));
}

void TMainForm::KeepListedRows() {
    if (RowsDetached_ || ListedRows_ == 0)
        return;
    ListedRecords_ = std::move(Records);
    Records = RunRecords{};
    RowsDetached_ = true;
}

void TMainForm::ForgetListedRows() {
    ListedRows_ = 0;
    RowsDetached_ = false;
    ListedRecords_ = RunRecords{};
}

void TMainForm::CheckBox1Click() {
    Charts_->ShowWinMarkers(CheckBox1->Checked());
}

void TMainForm::CheckBox2Click() {
    Charts_->ShowLossMarkers(CheckBox2->Checked());
}

// ---- Files ----

void TMainForm::FileSaveMenuClick() {
    if (RunActive_)
        return;
    if (!SaveDialog->Execute())
        return;
    // The header of the run on screen. Before any run or file there is none:
    // no records, and the boxes' values, read before the disk is touched so
    // that a box holding no number leaves no half-written file behind.
    ShownRunHeader header = ShownHeader;
    if (!header.Known) {
        header.Rate = StrToFloat(RateEdit->Text());
        header.Border = StrToFloat(BorderEdit->Text());
    }
    const std::string path = SaveDialog->FileName();
    errno = 0;
    const WriteStatus status =
        SaveRunFile(path, header.Count, header.Rate, header.Border, Records, *Saver);
    if (status == WriteStatus::Ok) {
        StatusBar1->Panel(0).SetText(SavedText);
        return;
    }
    const int error = errno;
    StatusBar1->Panel(0).SetText(SaveFailedText);
    ShowErrorMessage(SaveFailureMessage(path, error));
}

namespace {

// A list as CSV, cell by cell exactly as the list shows it (a refused Open
// leaves the lists showing the previous run while the records are gone).
std::string ListCsv(const TListView& list) {
    std::vector<std::string> header;
    for (int c = 0; c < list.ColumnCount(); ++c)
        header.push_back(list.ColumnCaption(c));
    return CsvDocument(header, static_cast<std::size_t>(std::max(list.ItemCount(), 0)),
                       [&list](std::size_t row, std::size_t column) {
                           return list.ItemText(static_cast<int>(row), static_cast<int>(column));
                       });
}

std::string FolderPath(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

} // namespace

void TMainForm::FileCsvMenuClick() {
    if (RunActive_ || !ExportDialog->Execute())
        return;
    const std::string folder = FolderPath(ExportDialog->FileName());
    const std::pair<const char*, const TListView*> files[] = {
        {PlaysCsvName, ResultListView.get()},
        {BonusesCsvName, BBListView.get()},
        {ChainsCsvName, KeizokuListView.get()},
    };
    for (const auto& [name, list] : files) {
        const std::string failed = SaveExportFile(folder + name, ListCsv(*list), *Saver);
        if (!failed.empty()) {
            ShowErrorMessage(failed);
            return;
        }
    }
    StatusBar1->Panel(0).SetText(CsvSavedText);
}

void TMainForm::FileChartImageMenuClick() {
    if (RunActive_ || !ExportDialog->Execute())
        return;
    const std::string folder = FolderPath(ExportDialog->FileName());
    const std::pair<const char*, TChart*> pictures[] = {
        {"SlumpChart.png", SlumpChart.get()},
        {"SlumpChart2.png", SlumpChart2.get()},
        {"KeizokuChart.png", KeizokuChart.get()},
    };
    for (const auto& [name, chart] : pictures) {
        // Painted now at the control's size, with the zoom and scroll shown.
        const std::string png = chart->Host() ? chart->Host()->PaintToPngBytes() : std::string();
        const std::string path = folder + name;
        const std::string failed = png.empty() ? std::string(ExportFailedText) + "\n" + path
                                               : SaveExportFile(path, png, *Saver);
        if (!failed.empty()) {
            ShowErrorMessage(failed);
            return;
        }
    }
    StatusBar1->Panel(0).SetText(ChartImagesSavedText);
}

void TMainForm::FileOpenMenuClick() {
    if (RunActive_)
        return;
    if (!OpenDialog->Execute())
        return;
    OpenRunFile(OpenDialog->FileName());
}

bool TMainForm::OpenRunFile(const std::string& path) {
    if (RunActive_)
        return false;
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        const int error = errno;
        StatusBar1->Panel(0).SetText(LoadAbortedText);
        ShowErrorMessage(std::string(OpenFailedText) + "\n" + path + "\n" +
                         OpenFailureReason(path, error));
        return false;
    }
    const bool shown = OpenRunStream(file, path);
    std::fclose(file);
    return shown;
}

bool TMainForm::OpenRunStream(std::FILE* file, const std::string& path) {
    StartButton->SetEnabled(false);
    StatusBar1->Panel(0).SetText(LoadingText);
    RunFileHeader header;
    RunRecords loaded;
    const long long bytes = FileLength(file);
    const std::string failure = ReadForDisplay(file, header, loaded);
    if (!failure.empty()) {
        // Nothing of a refused file is kept or shown, and the run on screen
        // keeps its records. A failed read names the file, as a failed save does.
        loaded = RunRecords{};
        ShowErrorMessage(failure == ReadErrorText ? failure + "\n" + path : failure);
        StatusBar1->Panel(0).SetText(LoadAbortedText);
        StartButton->SetEnabled(true);
        return false;
    }
    const std::string cut = CutFileText(path, bytes, header.Count, loaded.Size());
    KeepListedRows();
    Records = std::move(loaded);
    ShownHeader = {true, header.Count, header.Rate, header.Border};
    PlayNumEdit->SetText(std::to_string(header.Count));
    RateEdit->SetText(FormatGeneral15(header.Rate));
    BorderEdit->SetText(FormatGeneral15(header.Border));
    PlayCount = header.Count;
    ExchangeRate = header.Rate;
    // A stop left over from an earlier slow run must not hide the file.
    StopRequested = false;
    Charts_->ResetZoom();
    auto refuse = [this] {
        DropRunForMemory();
        StartButton->SetEnabled(true);
        ShowErrorMessage(FileTooLargeText);
        StatusBar1->Panel(0).SetText(LoadAbortedText);
    };
    try {
        ShowResults(true);
    } catch (const std::bad_alloc&) {
        refuse();
        return false;
    } catch (const std::length_error&) {
        refuse();
        return false;
    }
    StartButton->SetEnabled(true);
    if (cut.empty()) {
        StatusBar1->Panel(0).SetText(LoadedText);
        return true;
    }
    StatusBar1->Panel(0).SetText(std::string(CutLoadedText) + "（" +
                                 std::to_string(Records.Size()) + "Play）");
    ShowErrorMessage(cut);
    return true;
}

// ---- Small commands ----

void TMainForm::FileExitMenuClick() {
    Close();
}

void TMainForm::AnalysisTheoryMenuClick() {
    if (!TheoryDialog) {
        TheoryDialog = std::make_unique<TTheoryDialog>();
        // The dialog follows the inputs as they change here (typed or set by Open).
        for (TEdit* edit : {PlayNumEdit.get(), RateEdit.get(), BorderEdit.get()}) {
            edit->OnChange = [this] { FollowInputsInTheory(); };
        }
    }
    FollowInputsInTheory();
    TheoryDialog->Show();
}

void TMainForm::FollowInputsInTheory() {
    if (TheoryDialog) {
        TheoryDialog->Follow(PlayNumEdit->Text(), RateEdit->Text(), BorderEdit->Text());
    }
}

void TMainForm::HelpAboutMenuClick() {
    if (AboutBox)
        AboutBox->ShowModal();
}

namespace {

std::string InstalledPath(const char* relative) {
    return (std::filesystem::path(TApplication::ExeDir()) / InstalledManualFolder / relative)
        .lexically_normal()
        .string();
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// Beside the executable first (a build folder, or the program copied with its
// manual), then where the package installs it; "" when there is none.
std::string CompiledManualPath() {
    const std::string beside = TApplication::ExeDir() + ManualFileName;
    if (IsFile(beside))
        return beside;
    const std::string installed = InstalledPath(ManualFileName);
    return IsFile(installed) ? installed : std::string();
}

// The last resort: where the manual is, since nothing could show it.
void SayWhereTheManualIs() {
    const std::string html = InstalledPath(HtmlManualPath);
    const std::string chm = CompiledManualPath();
    std::string text = IsFile(html) || !chm.empty()
                           ? std::string(ManualNotOpenedText) + "\n" + ManualPlaceText
                           : std::string(ManualMissingText) + "\n" + ManualPlaceText;
    text += "\n" + html;
    if (!chm.empty())
        text += "\n" + chm;
    ShowErrorMessage(text);
}

} // namespace

void OpenHtmlManual() {
    DialogSeam().OpenDocument(InstalledPath(HtmlManualPath), SayWhereTheManualIs);
}

// The compiled manual through the desktop; without a viewer for it (a stock
// desktop has none) the HTML manual in the browser.
void TMainForm::HelpManMenuClick() {
    const std::string chm = CompiledManualPath();
    if (chm.empty()) {
        OpenHtmlManual();
        return;
    }
    DialogSeam().OpenDocument(chm, OpenHtmlManual);
}

void TMainForm::JWord1Click() {
    const std::string installer = TApplication::ExeDir() + InstallerFileName;
    if (!IsFile(installer)) {
        DialogSeam().ShowMessage({MainCaption, NoInstallerText, false});
        return;
    }
    ShellExecute("open", installer, InstallerParameters, SW_SHOWNORMAL);
}

// The program has no web site: its home page is the manual it installs.
void TMainForm::N3Click() {
    OpenHtmlManual();
}
