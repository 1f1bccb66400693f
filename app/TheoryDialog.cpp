#include "app/TheoryDialog.h"

#include "app/StudyChart.h"
#include "chart/Chart.h"
#include "numfmt/Conversions.h"
#include "numfmt/NumberFormats.h"
#include "results/InputChecks.h"
#include "results/TheoryTexts.h"
#include "runs/MemoryRule.h"
#include "runs/Study.h"
#include "stats/Theory.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <new>

namespace {
constexpr const char* FontName = "ＭＳ Ｐゴシック";
constexpr int RowHeight = 19;
constexpr int MachineRows = 9;
constexpr int OutlookRowCount = 10;
constexpr int DroughtRowCount = 6;
constexpr int NameLeft = 12;
constexpr int ValueLeft = 200;
constexpr int ValueWidth = 190;
// The study part, right of the theory's figures.
constexpr int StudyLeft = 428;
constexpr int StudyWidth = 632;
constexpr int StudyRowCount = 10;
constexpr int StudyRowHeight = 15;
// Progress is read a few times a second; the workers never wait for it.
constexpr int StudyPollMs = 100;

} // namespace

TTheoryDialog::TTheoryDialog() : TForm(Kind::Dialog) {
    SetCaption(TheoryCaption);
    SetFormFont(FontName, 12);
    SetClientSize(StudyLeft + StudyWidth + 8, 676);
    UseProgramIcon();
    QWidget* client = Client();
    PlayLabel = std::make_unique<TLabel>(client, 8, 12, "Play数");
    PlayEdit = std::make_unique<TEdit>(client, 52, 8, 72, 21, "");
    RateLabel = std::make_unique<TLabel>(client, 136, 12, "交換レート");
    RateEdit = std::make_unique<TEdit>(client, 196, 8, 48, 21, "");
    BorderLabel = std::make_unique<TLabel>(client, 256, 12, "ボーダー");
    BorderEdit = std::make_unique<TEdit>(client, 308, 8, 48, 21, "");
    RefusalLabel = std::make_unique<TLabel>(client, 8, 36, "");
    RefusalLabel->SetFixedBounds(8, 36, 404, 16);

    const int machineHeight = 24 + MachineRows * RowHeight;
    MachineGroup = std::make_unique<TGroupBox>(client, 8, 56, 404, machineHeight, "機種の理論値");
    const int outlookTop = 56 + machineHeight + 8;
    const int outlookHeight = 24 + OutlookRowCount * RowHeight;
    OutlookGroup = std::make_unique<TGroupBox>(client, 8, outlookTop, 404, outlookHeight,
                                               "Play数ぶんの分布（厳密計算）");
    const int droughtTop = outlookTop + outlookHeight + 8;
    const int droughtHeight = 24 + DroughtRowCount * RowHeight;
    DroughtGroup = std::make_unique<TGroupBox>(client, 8, droughtTop, 404, droughtHeight,
                                               "ハマり確率（厳密計算）");
    auto makeRows = [](QWidget* parent, int count) {
        std::vector<Row> rows(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            Row& r = rows[static_cast<std::size_t>(i)];
            const int top = 20 + i * RowHeight;
            r.Name = std::make_unique<TLabel>(parent, NameLeft, top, "");
            r.Value = std::make_unique<TLabel>(parent, ValueLeft, top, "");
            r.Value->SetFixedBounds(ValueLeft, top, ValueWidth, 16);
        }
        return rows;
    };
    MachineRows_ = makeRows(MachineGroup->Widget(), MachineRows);
    OutlookRows_ = makeRows(OutlookGroup->Widget(), OutlookRowCount);
    DroughtRows_ = makeRows(DroughtGroup->Widget(), DroughtRowCount);
    CloseButton =
        std::make_unique<TButton>(client, 337, droughtTop + droughtHeight + 8, 75, 25, "閉じる");

    BuildStudyPart(client);

    CloseButton->OnClick = [this] { Close(); };
    for (TEdit* edit : {PlayEdit.get(), RateEdit.get(), BorderEdit.get()}) {
        edit->OnChange = [this] {
            if (!Following_) {
                Refresh();
            }
        };
    }
    SetTabOrder({PlayEdit.get(), RateEdit.get(), BorderEdit.get(), RunsEdit.get(),
                 StudyStartButton.get(), StudyCancelButton.get(), CloseButton.get()});
}

TTheoryDialog::~TTheoryDialog() {
    // Workers must be gone before the figures they write go.
    Study_.reset();
}

void TTheoryDialog::BuildStudyPart(QWidget* client) {
    const int x = StudyLeft;
    StudyGroup = std::make_unique<TGroupBox>(client, x, 4, StudyWidth, 52, "分布の研究");
    QWidget* g = StudyGroup->Widget();
    RunsLabel = std::make_unique<TLabel>(g, 8, 24, "Sim回数");
    RunsEdit = std::make_unique<TEdit>(g, 60, 20, 64, 21, StudyRunsDefault);
    StudyStartButton = std::make_unique<TButton>(g, 132, 18, 64, 25, "開始");
    StudyCancelButton = std::make_unique<TButton>(g, 200, 18, 64, 25, "中止");
    StudyCancelButton->SetEnabled(false);
    StudyProgressBar = std::make_unique<TProgressBar>(g, 272, 20, 352, 21);
    StudyStatusLabel = std::make_unique<TLabel>(client, x, 60, "");
    StudyStatusLabel->SetFixedBounds(x, 60, StudyWidth, 16);

    StudyChart = std::make_unique<TChart>(client);
    StudyChart->SetBounds(x, 78, StudyWidth, 236);
    DistributionChart = std::make_unique<TChart>(client);
    DistributionChart->SetBounds(x, 318, StudyWidth, 160);

    const int figuresTop = 482;
    StudyFiguresGroup = std::make_unique<TGroupBox>(client, x, figuresTop, StudyWidth,
                                                    22 + (StudyRowCount + 1) * StudyRowHeight,
                                                    "研究の結果と厳密値");
    QWidget* f = StudyFiguresGroup->Widget();
    StudyRows_.resize(StudyRowCount + 1);
    for (int i = 0; i <= StudyRowCount; ++i) {
        StudyRow& r = StudyRows_[static_cast<std::size_t>(i)];
        const int top = 17 + i * StudyRowHeight;
        r.Name = std::make_unique<TLabel>(f, 8, top, "");
        r.Study = std::make_unique<TLabel>(f, 170, top, "");
        r.Study->SetFixedBounds(170, top, 300, 16);
        r.Theory = std::make_unique<TLabel>(f, 476, top, "");
        r.Theory->SetFixedBounds(476, top, 150, 16);
    }
    StudyRows_[0].Study->SetCaption("シミュレーション (95%信頼区間)");
    StudyRows_[0].Theory->SetCaption("厳密値");

    StudyTimer_ = std::make_unique<TTimer>(StudyPollMs);
    StudyTimer_->OnTimer = [this] { PollStudy(); };
    StudyStartButton->OnClick = [this] { StartStudy(); };
    StudyCancelButton->OnClick = [this] { CancelStudy(); };
}

void TTheoryDialog::StartStudy() {
    if (Study_) {
        return;
    }
    StartInputs in;
    std::string refusal;
    try {
        refusal = CheckStartInputs(PlayEdit->Text(), RunsEdit->Text(), RateEdit->Text(),
                                   BorderEdit->Text(), in);
        if (refusal.empty())
            refusal = CheckBalanceRange(in.PlayCount, in.Border);
    } catch (const EConvertError& e) {
        refusal = e.what();
    }
    StudyRequest request;
    request.Plays = in.PlayCount;
    request.Runs = in.Runs;
    request.Rate = in.Rate;
    request.Borders = {in.Border};
    if (refusal.empty() && !FitsInMemory(StudyMemoryBytes(request))) {
        refusal = TooManyRunsText;
    }
    if (!refusal.empty()) {
        StudyStatusLabel->SetCaption(refusal);
        return;
    }
    StudySeed_ = NextStudySeed.value_or(static_cast<std::uint32_t>(std::time(nullptr)));
    NextStudySeed.reset();
    request.Seed = StudySeed_;
    Study_ = std::make_unique<BackgroundStudy>(std::move(request));
    StudyStartButton->SetEnabled(false);
    StudyCancelButton->SetEnabled(true);
    StudyProgressBar->SetPosition(0);
    StudyStatusLabel->SetCaption("研究中 シード:" + std::to_string(StudySeed_));
    StudyTimer_->SetEnabled(true);
}

void TTheoryDialog::PollStudy() {
    if (!Study_) {
        StudyTimer_->SetEnabled(false);
        return;
    }
    const double total = static_cast<double>(std::max<std::int64_t>(Study_->PlaysTotal(), 1));
    StudyProgressBar->SetPosition(
        static_cast<int>(100.0 * static_cast<double>(Study_->PlaysDone()) / total));
    if (!Study_->Finished()) {
        return;
    }
    Study_->Wait();
    if (!Study_->Result()) {
        // The study failed (memory, threads, the balance guard); the dialog
        // and the window go on.
        const std::string failure = Study_->Failure();
        EndStudy();
        StudyStatusLabel->SetCaption(failure);
        return;
    }
    StudyResult_ = *Study_->Result();
    EndStudy();
    StudyProgressBar->SetPosition(100);
    StudyStatusLabel->SetCaption(std::string(StudyDoneText) +
                                 " シード:" + std::to_string(StudySeed_));
    ShowStudyChart(*StudyChart, StudyResult_);
    ShowStudyFigures(StudyResult_.empty() ? nullptr : &StudyResult_.front());
    ShowDistribution();
}

void TTheoryDialog::CancelStudy() {
    if (!Study_) {
        return;
    }
    Study_->Cancel();
    Study_->Wait();
    EndStudy();
    StudyStatusLabel->SetCaption(StudyCancelledText);
}

void TTheoryDialog::EndStudy() {
    StudyTimer_->SetEnabled(false);
    Study_.reset();
    StudyStartButton->SetEnabled(true);
    StudyCancelButton->SetEnabled(false);
}

void TTheoryDialog::FormClose() {
    CancelStudy();
}

void TTheoryDialog::ShowStudyFigures(const StudyFigures* f) {
    if (f == nullptr) {
        for (std::size_t i = 1; i < StudyRows_.size(); ++i) {
            StudyRows_[i].Name->SetCaption("");
            StudyRows_[i].Study->SetCaption("");
            StudyRows_[i].Theory->SetCaption("");
        }
        return;
    }
    const auto range = [](double low, double high, int decimals) {
        return "(" + FixedText(low, decimals) + " 〜 " + FixedText(high, decimals) + ")";
    };
    const auto exact = [f](std::size_t q) {
        return f->ExactKnown ? FixedText(static_cast<double>(f->Exact.Quantiles[q]), 0) : "-";
    };
    const std::string onlySimulated = "(シミュレーションのみ)";
    std::vector<std::array<std::string, 3>> rows = {
        {"平均出玉数",
         FixedText(f->MeanBalance, 1) + " " +
             range(f->MeanBalanceCi95.Low, f->MeanBalanceCi95.High, 1),
         f->ExactKnown ? FixedText(f->Exact.Mean, 1) : "-"},
        {"中央値", FixedText(f->MedianBalance, 1), exact(2)},
        {"25%点〜75%点", FixedText(f->P25Balance, 1) + " 〜 " + FixedText(f->P75Balance, 1),
         exact(1) + " 〜 " + exact(3)},
        {"5%点〜95%点", FixedText(f->P05Balance, 1) + " 〜 " + FixedText(f->P95Balance, 1),
         exact(0) + " 〜 " + exact(4)},
        {"プラス収支の割合(%)",
         FixedText(f->PAhead * 100.0, 1) + " " +
             range(f->PAheadCi95.Low * 100.0, f->PAheadCi95.High * 100.0, 1),
         f->ExactKnown ? FixedText(f->Exact.PAhead * 100.0, 1) : "-"},
        {"一度でもプラス(%)",
         FixedText(f->PEverAhead * 100.0, 1) + " " +
             range(f->PEverAheadCi95.Low * 100.0, f->PEverAheadCi95.High * 100.0, 1),
         onlySimulated},
    };
    for (std::size_t c = 0; c < CashLevels.size(); ++c) {
        rows.push_back({"必要な持ち玉 " + FixedText(CashLevels[c] * 100.0, 0) + "%",
                        FixedText(f->CashToBring[c], 0) + "玉 " +
                            range(f->CashToBringCi95[c].Low, f->CashToBringCi95[c].High, 0) + " " +
                            FixedText(f->CashToBring[c] * f->Rate, 0) + "円",
                        onlySimulated});
    }
    for (std::size_t i = 0; i < rows.size() && i + 1 < StudyRows_.size(); ++i) {
        StudyRow& r = StudyRows_[i + 1];
        r.Name->SetCaption(rows[i][0]);
        r.Study->SetCaption(rows[i][1]);
        r.Theory->SetCaption(rows[i][2]);
    }
}

std::string TTheoryDialog::StudyFiguresText() const {
    std::string text;
    for (std::size_t i = 1; i < StudyRows_.size(); ++i) {
        const StudyRow& r = StudyRows_[i];
        if (!r.Name->Caption().empty()) {
            text += r.Name->Caption() + ":" + r.Study->Caption() + ":" + r.Theory->Caption() + "\n";
        }
    }
    return text;
}

void TTheoryDialog::Follow(const std::string& plays, const std::string& rate,
                           const std::string& border) {
    Following_ = true;
    PlayEdit->SetText(plays);
    RateEdit->SetText(rate);
    BorderEdit->SetText(border);
    Following_ = false;
    Refresh();
}

void TTheoryDialog::ShowRows(std::vector<Row>& rows, const std::vector<TheoryRow>& values) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].Name->SetCaption(i < values.size() ? values[i].Name : "");
        rows[i].Value->SetCaption(i < values.size() ? values[i].Value : "");
    }
}

void TTheoryDialog::Refresh() {
    StartInputs in;
    try {
        // The same checks, texts and order as Start; one run stands for the
        // run count, which the theory does not need.
        Refusal_ =
            CheckStartInputs(PlayEdit->Text(), "1", RateEdit->Text(), BorderEdit->Text(), in);
    } catch (const EConvertError& e) {
        Refusal_ = e.what();
    }
    RefusalLabel->SetCaption(Refusal_);
    if (!Refusal_.empty()) {
        ShowRows(MachineRows_, {});
        ShowRows(OutlookRows_, {});
        ShowRows(DroughtRows_, {});
        ExactTable_.reset();
        ShowDistribution();
        return;
    }
    const MachineTheory theory = TheoryForBorder(in.Border);
    ShowRows(MachineRows_, MachineTheoryRows(in.Border, theory));
    ShowRows(DroughtRows_, DroughtRows());
    const PlayOutlook outlook = OutlookForPlays(theory, in.PlayCount, in.Rate);
    if (const BalanceTable* table = TableFor(in.Border, in.PlayCount)) {
        ShowRows(OutlookRows_, OutlookRows(in.PlayCount, in.Rate, outlook, OddsFrom(*table)));
    } else {
        ShowRows(OutlookRows_, {{"厳密な分布", "表が大きすぎて計算できません"}});
    }
    ShowDistribution();
}

const BalanceTable* TTheoryDialog::TableFor(double border, std::int64_t plays) {
    if (ExactTable_ && ExactTable_->Border == border && ExactTable_->Plays == plays) {
        return &ExactTable_->Table;
    }
    ExactTable_.reset();
    try {
        ExactTable_ =
            ShownTable{border, plays, ExactBalance(border).Distribution(plays, StudyJobs(0))};
        return &ExactTable_->Table;
    } catch (const TableTooLarge&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The inputs' exact table, with the last study's runs beside it while the
// inputs are the study's own.
void TTheoryDialog::ShowDistribution() {
    const BalanceTable* table = ExactTable_ ? &ExactTable_->Table : nullptr;
    const StudyFigures* study = StudyResult_.size() == 1 ? &StudyResult_.front() : nullptr;
    if (study != nullptr && ExactTable_ &&
        (study->Border != ExactTable_->Border || study->Plays != ExactTable_->Plays)) {
        study = nullptr;
    }
    ShowBalanceDistribution(*DistributionChart, table, study);
}

std::string TTheoryDialog::FiguresText() const {
    std::vector<TheoryRow> rows;
    for (const auto* list : {&MachineRows_, &OutlookRows_, &DroughtRows_}) {
        for (const Row& r : *list) {
            if (!r.Name->Caption().empty()) {
                rows.push_back({r.Name->Caption(), r.Value->Caption()});
            }
        }
    }
    return TheoryRowsText(rows);
}
