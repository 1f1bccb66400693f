#pragma once
// The main window: inputs, summary, the three lists, the charts, the status
// bar, and every piece of run state (engine, records, list texts, stop flag).

#include "app/BatchReport.h"
#include "app/ChartFeeding.h"
#include "engine/Slot.h"
#include "filesave/FileSaver.h"
#include "platform/TButton.h"
#include "platform/TCheckBox.h"
#include "platform/TComboBox.h"
#include "platform/TControl.h"
#include "platform/TEdit.h"
#include "platform/TFileDialog.h"
#include "platform/TForm.h"
#include "platform/TGroupBox.h"
#include "platform/TLabel.h"
#include "platform/TListView.h"
#include "platform/TMainMenu.h"
#include "platform/TPageControl.h"
#include "platform/TProgressBar.h"
#include "platform/TStatusBar.h"
#include "platform/TTimer.h"
#include "runfile/RunRecords.h"
#include "runs/MemoryRule.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

class TChart;
class TTheoryDialog;
struct ChainStats;
struct StartInputs;

inline constexpr const char* MainCaption = "ヨナタマ - 銀蛇XX";
inline constexpr const char* RunFileFilter = "ヨナタマ銀蛇ファイル|*.sim";
inline constexpr const char* ManualFileName = "QVELTRAN.chm";
// Where the package puts the manual, from the executable's folder.
inline constexpr const char* InstalledManualFolder = "../share/yonatama";
inline constexpr const char* InstallerFileName = "jwv_for_QX417729.exe";
inline constexpr const char* InstallerParameters = "QX417729 1";
// The HTML manual, from InstalledManualFolder; also the program's home page.
inline constexpr const char* HtmlManualPath = "manual/index.html";
inline constexpr const char* ManualNotOpenedText = "取扱説明書を開けませんでした。";
inline constexpr const char* ManualMissingText = "取扱説明書が見つかりません。";
inline constexpr const char* ManualPlaceText = "取扱説明書は次の場所にあります:";
inline constexpr const char* NoInstallerText =
    "JWordのインストーラーは、この版には含まれていません。";
inline constexpr const char* ChartHintText =
    "・マウスで範囲指定して拡大できます。右クリックでドラッグしてスクロールできます。";

// Texts of the window's own (not refused-input) messages.
inline constexpr const char* SaveFailedText = "シミュレーションファイルを保存できませんでした。";
inline constexpr const char* OpenFailedText = "シミュレーションファイルを開けませんでした。";
inline constexpr const char* BatchReportCaption = "Sim回数の集計";

// What a saved file carries beside the records on screen: the play count,
// rate and border of the run that made them or of the file they came from.
// Unknown before the first run or file.
struct ShownRunHeader {
    bool Known = false;
    int Count = 0;
    double Rate = 0.0;
    double Border = 0.0;
};

// The HTML manual in the browser, or a message that says where it is.
void OpenHtmlManual();

class TMainForm : public TForm {
public:
    TMainForm();
    ~TMainForm() override;

    // Controls, by their form names.
    std::unique_ptr<TLabel> Label1, Label6, Label7, Label3, Label8, Label9, Label10;
    std::unique_ptr<TEdit> PlayNumEdit, SimNumEdit, RateEdit, BorderEdit;
    std::unique_ptr<TComboBox> SpeedComboBox;
    std::unique_ptr<TButton> StartButton, StopButton;
    std::unique_ptr<TGroupBox> GroupBox2;
    std::unique_ptr<TLabel> ResultLabel;
    std::unique_ptr<TPageControl> PageControl1;
    TControl* TabSheet1 = nullptr;
    TControl* TabSheet2 = nullptr;
    TControl* TabSheet3 = nullptr;
    std::unique_ptr<TListView> ResultListView, BBListView, KeizokuListView;
    std::unique_ptr<TChart> SlumpChart2, SlumpChart, KeizokuChart;
    std::unique_ptr<TLabel> Label5, Label4;
    std::unique_ptr<TGroupBox> GroupBox1;
    std::unique_ptr<TCheckBox> CheckBox1, CheckBox2;
    std::unique_ptr<TStatusBar> StatusBar1;
    std::unique_ptr<TProgressBar> ProgressBar1;
    TMenuItem* FileMenu = nullptr;
    TMenuItem* FileOpenMenu = nullptr;
    TMenuItem* FileSaveMenu = nullptr;
    TMenuItem* FileCsvMenu = nullptr;
    TMenuItem* FileChartImageMenu = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* FileStartMenu = nullptr;
    TMenuItem* FileExitMenu = nullptr;
    TMenuItem* AnalysisMenu = nullptr;
    TMenuItem* AnalysisTheoryMenu = nullptr;
    TMenuItem* HelpMenu = nullptr;
    TMenuItem* HelpAboutMenu = nullptr;
    TMenuItem* HelpManMenu = nullptr;
    TMenuItem* JWord1 = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* N3 = nullptr;
    std::unique_ptr<TFileDialog> OpenDialog, SaveDialog;
    // The folder both exports write into; it starts where the last one went.
    std::unique_ptr<TFileDialog> ExportDialog;
    std::unique_ptr<TTimer> Timer1;

    // Run state. Records holds the five per-play vectors (SinceHitPlays,
    // BallCounts, ChainCounts, PlayNumbers, HitStates).
    RunRecords Records;
    Slot Machine;
    double ExchangeRate = 0.0;
    int PlayCount = 0;
    bool StopRequested = false;
    // Save writes Records with this header: the run on screen, whatever a
    // batch or the boxes hold since.
    ShownRunHeader ShownHeader;

    // Every file the window writes goes through it; tests may give one that fails.
    const FileSaver* Saver = &SystemSaver();

    // The slow speed's wait between plays (PaceSlowRun); tests may replace it.
    std::function<void(int milliseconds)> SlowWait;
    // Waits while the window keeps answering: Stop, tabs, zoom and the other
    // windows act at once, and a stop or close ends the wait.
    void PaceSlowRun(int milliseconds);

    // Handlers.
    void StartButtonClick();
    void FileStartMenuClick();
    void StopButtonClick();
    void Timer1Timer();
    void FileOpenMenuClick();
    // Open without its dialog (also for a file named on the command line or
    // dropped on the window): reads, checks and shows the file, or says why
    // not. False when nothing of the file is shown.
    bool OpenRunFile(const std::string& path);
    // The same for a stream opened on `path` (read, not closed, here).
    bool OpenRunStream(std::FILE* file, const std::string& path);
    void FileSaveMenuClick();
    // The three lists as plays.csv, bonuses.csv and chains.csv, and the three
    // charts as PNG pictures, into a chosen folder.
    void FileCsvMenuClick();
    void FileChartImageMenuClick();
    void FileExitMenuClick();
    void HelpAboutMenuClick();
    void AnalysisTheoryMenuClick();
    // The modeless theory dialog, made on first use.
    std::unique_ptr<TTheoryDialog> TheoryDialog;
    void HelpManMenuClick();
    void JWord1Click();
    void N3Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void ResultListViewData(TListItem& item);

    // Runs and the display pass.
    void RunOnce(bool display);
    // False when a file could not be written or the dialog was cancelled.
    bool RunBatch();
    void ShowResults(bool bulk);

    // A run or batch is in progress (its handler is still on the stack).
    bool RunActive() const { return RunActive_; }
    ChartFeeding& Charts() { return *Charts_; }

    void FormClose() override;

private:
    void FollowInputsInTheory();
    void BuildControls();
    void BuildInputs(QWidget* client);
    void BuildLists(QWidget* client);
    void BuildCharts(QWidget* client);
    void BuildFooter(QWidget* client);
    void BuildMenu();
    void SetTabOrder();
    void LockForRun();
    void UnlockAfterRun();
    // The boxes read for Start, or the text that refuses them.
    std::string ReadStartInputs(StartInputs& inputs);
    // Abandoned: a batch whose dialog was cancelled or whose file failed.
    // BalanceLimit: a run stopped where its balance would leave 32 bits.
    enum class RunEnd { Completed, Abandoned, OutOfMemory, BalanceLimit };
    RunEnd RunStarted(const StartInputs& inputs);
    bool BatchSave(int run, int runs, double rate, double border, const RunRecords& records,
                   BatchReport& report);
    void ShowBatchReport(const BatchReport& report);
    void DropRunForMemory();
    // The display pass's parts: empty everything shown, walk the records
    // (until a stop) into rows, markers and bars, and the rows of record i.
    void ClearResults();
    ChainStats ShowRecords(bool bulk);
    void AddBonusRow(std::size_t i);
    void AddPlayRow(std::size_t i);
    // The fast pass's per-play list is virtual: its rows are made from the
    // records when the view asks. Before Records is emptied or replaced
    // under a shown list, KeepListedRows moves them aside so that the list
    // still shows the run it listed until the next pass.
    void KeepListedRows();
    void ForgetListedRows();
    const RunRecords& ListedRecords() const { return RowsDetached_ ? ListedRecords_ : Records; }

    std::unique_ptr<ChartFeeding> Charts_;
    RunRecords ListedRecords_;
    std::size_t ListedRows_ = 0;
    bool RowsDetached_ = false;
    // The batch being made or last made; shown once its handler unlocks.
    BatchReport Batch_;
    bool RunActive_ = false;
    bool StartDeferred_ = false;
    // Set by a run that stopped at the balance guard.
    bool BalanceStopped_ = false;
};
