#include "app/TheoryDialog.h"

#include "app/StudyChart.h"
#include "chart/Chart.h"
#include "numfmt/Conversions.h"
#include "results/InputChecks.h"
#include "results/TheoryTexts.h"
#include "runs/MemoryRule.h"
#include "stats/Theory.h"

#include <cstdint>
#include <ctime>

namespace {
constexpr const char* FontName = "ＭＳ Ｐゴシック";
constexpr int RowHeight = 19;
constexpr int MachineRows = 9;
constexpr int OutlookRowCount = 4;
constexpr int NameLeft = 12;
constexpr int ValueLeft = 200;
constexpr int ValueWidth = 190;
// The study part, right of the theory's figures.
constexpr int StudyLeft = 428;
constexpr int StudyWidth = 632;
constexpr int StudyRowCount = 5;
// Progress is read a few times a second; the workers never wait for it.
constexpr int StudyPollMs = 100;

} // namespace

TTheoryDialog::TTheoryDialog() : TForm(Kind::Dialog) {
    SetCaption(TheoryCaption);
    SetFormFont(FontName, 12);
    SetClientSize(StudyLeft + StudyWidth + 8, 452);
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
                                               "Play数ぶんの分布（正規近似）");
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
    machineRows_ = makeRows(MachineGroup->Widget(), MachineRows);
    outlookRows_ = makeRows(OutlookGroup->Widget(), OutlookRowCount);
    CloseButton = std::make_unique<TButton>(client, 337, 360, 75, 25, "閉じる");

    BuildStudyPart(client);

    CloseButton->OnClick = [this] { Close(); };
    for (TEdit* edit : {PlayEdit.get(), RateEdit.get(), BorderEdit.get()}) {
        edit->OnChange = [this] {
            if (!following_) {
                Refresh();
            }
        };
    }
    SetTabOrder({PlayEdit.get(), RateEdit.get(), BorderEdit.get(), RunsEdit.get(),
                 StudyStartButton.get(), StudyCancelButton.get(), CloseButton.get()});
}

TTheoryDialog::~TTheoryDialog() {
    // Workers must be gone before the figures they write go.
    study_.reset();
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
    StudyChart->SetBounds(x, 78, StudyWidth, 240);
    StudyChart->Legend().SetVisible(false);

    const int figuresTop = 322;
    StudyFiguresGroup = std::make_unique<TGroupBox>(
        client, x, figuresTop, StudyWidth, 24 + (StudyRowCount + 1) * 16, "研究の結果と理論値");
    QWidget* f = StudyFiguresGroup->Widget();
    studyRows_.resize(StudyRowCount + 1);
    for (int i = 0; i <= StudyRowCount; ++i) {
        StudyRow& r = studyRows_[static_cast<std::size_t>(i)];
        const int top = 18 + i * 16;
        r.Name = std::make_unique<TLabel>(f, 8, top, "");
        r.Study = std::make_unique<TLabel>(f, 150, top, "");
        r.Study->SetFixedBounds(150, top, 300, 16);
        r.Theory = std::make_unique<TLabel>(f, 456, top, "");
        r.Theory->SetFixedBounds(456, top, 170, 16);
    }
    studyRows_[0].Study->SetCaption("研究");
    studyRows_[0].Theory->SetCaption("理論値");

    studyTimer_ = std::make_unique<TTimer>(StudyPollMs);
    studyTimer_->OnTimer = [this] { PollStudy(); };
    StudyStartButton->OnClick = [this] { StartStudy(); };
    StudyCancelButton->OnClick = [this] { CancelStudy(); };
}

void TTheoryDialog::StartStudy() {
    if (study_) {
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
    studySeed_ = NextStudySeed.value_or(static_cast<std::uint32_t>(std::time(nullptr)));
    NextStudySeed.reset();
    request.Seed = studySeed_;
    study_ = std::make_unique<BackgroundStudy>(std::move(request));
    StudyStartButton->SetEnabled(false);
    StudyCancelButton->SetEnabled(true);
    StudyProgressBar->SetPosition(0);
    StudyStatusLabel->SetCaption("研究中 シード:" + std::to_string(studySeed_));
    studyTimer_->SetEnabled(true);
}

void TTheoryDialog::PollStudy() {
    if (!study_) {
        studyTimer_->SetEnabled(false);
        return;
    }
    const double total = static_cast<double>(std::max<std::int64_t>(study_->PlaysTotal(), 1));
    StudyProgressBar->SetPosition(
        static_cast<int>(100.0 * static_cast<double>(study_->PlaysDone()) / total));
    if (!study_->Finished()) {
        return;
    }
    study_->Wait();
    if (!study_->Result()) {
        // The study failed (memory, threads, the balance guard); the dialog
        // and the window go on.
        const std::string failure = study_->Failure();
        EndStudy();
        StudyStatusLabel->SetCaption(failure);
        return;
    }
    studyResult_ = *study_->Result();
    EndStudy();
    StudyProgressBar->SetPosition(100);
    StudyStatusLabel->SetCaption(std::string(StudyDoneText) +
                                 " シード:" + std::to_string(studySeed_));
    ShowStudyChart(*StudyChart, studyResult_);
    StudyChart->Legend().SetVisible(false);
    ShowStudyFigures(studyResult_.empty() ? nullptr : &studyResult_.front());
}

void TTheoryDialog::CancelStudy() {
    if (!study_) {
        return;
    }
    study_->Cancel();
    study_->Wait();
    EndStudy();
    StudyStatusLabel->SetCaption(StudyCancelledText);
}

void TTheoryDialog::EndStudy() {
    studyTimer_->SetEnabled(false);
    study_.reset();
    StudyStartButton->SetEnabled(true);
    StudyCancelButton->SetEnabled(false);
}

void TTheoryDialog::FormClose() {
    CancelStudy();
}

void TTheoryDialog::ShowStudyFigures(const StudyFigures* f) {
    if (f == nullptr) {
        for (std::size_t i = 1; i < studyRows_.size(); ++i) {
            studyRows_[i].Name->SetCaption("");
            studyRows_[i].Study->SetCaption("");
            studyRows_[i].Theory->SetCaption("");
        }
        return;
    }
    const auto range = [](double low, double high, int decimals) {
        return "(" + FixedText(low, decimals) + " 〜 " + FixedText(high, decimals) + ")";
    };
    const double sd = f->Theory.sd_balance;
    const double mean = f->Theory.mean_balance;
    const struct {
        const char* name;
        std::string study, theory;
    } rows[StudyRowCount] = {
        {"平均出玉数",
         FixedText(f->MeanBalance, 1) + " " +
             range(f->MeanBalanceCi95.Low, f->MeanBalanceCi95.High, 1),
         FixedText(mean, 1)},
        // The normal approximation's median is its mean.
        {"中央値", FixedText(f->MedianBalance, 1), FixedText(mean, 1)},
        {"25%点〜75%点", FixedText(f->P25Balance, 1) + " 〜 " + FixedText(f->P75Balance, 1),
         FixedText(mean - 0.6744897501960817 * sd, 1) + " 〜 " +
             FixedText(mean + 0.6744897501960817 * sd, 1)},
        {"5%点〜95%点", FixedText(f->P05Balance, 1) + " 〜 " + FixedText(f->P95Balance, 1),
         FixedText(mean - 1.6448536269514722 * sd, 1) + " 〜 " +
             FixedText(mean + 1.6448536269514722 * sd, 1)},
        {"プラス収支の割合(%)",
         FixedText(f->PAhead * 100.0, 1) + " " +
             range(f->PAheadCi95.Low * 100.0, f->PAheadCi95.High * 100.0, 1),
         FixedText(f->Theory.p_ahead * 100.0, 1)},
    };
    for (int i = 0; i < StudyRowCount; ++i) {
        StudyRow& r = studyRows_[static_cast<std::size_t>(i) + 1];
        r.Name->SetCaption(rows[i].name);
        r.Study->SetCaption(rows[i].study);
        r.Theory->SetCaption(rows[i].theory);
    }
}

std::string TTheoryDialog::StudyFiguresText() const {
    std::string text;
    for (std::size_t i = 1; i < studyRows_.size(); ++i) {
        const StudyRow& r = studyRows_[i];
        if (!r.Name->Caption().empty()) {
            text += r.Name->Caption() + ":" + r.Study->Caption() + ":" + r.Theory->Caption() + "\n";
        }
    }
    return text;
}

void TTheoryDialog::Follow(const std::string& plays, const std::string& rate,
                           const std::string& border) {
    following_ = true;
    PlayEdit->SetText(plays);
    RateEdit->SetText(rate);
    BorderEdit->SetText(border);
    following_ = false;
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
        refusal_ =
            CheckStartInputs(PlayEdit->Text(), "1", RateEdit->Text(), BorderEdit->Text(), in);
    } catch (const EConvertError& e) {
        refusal_ = e.what();
    }
    RefusalLabel->SetCaption(refusal_);
    if (!refusal_.empty()) {
        ShowRows(machineRows_, {});
        ShowRows(outlookRows_, {});
        return;
    }
    const MachineTheory theory = TheoryForBorder(in.Border);
    ShowRows(machineRows_, MachineTheoryRows(in.Border, theory));
    ShowRows(outlookRows_,
             OutlookRows(in.PlayCount, in.Rate, OutlookForPlays(theory, in.PlayCount, in.Rate)));
}

std::string TTheoryDialog::FiguresText() const {
    std::vector<TheoryRow> rows;
    for (const auto* list : {&machineRows_, &outlookRows_}) {
        for (const Row& r : *list) {
            if (!r.Name->Caption().empty()) {
                rows.push_back({r.Name->Caption(), r.Value->Caption()});
            }
        }
    }
    return TheoryRowsText(rows);
}
