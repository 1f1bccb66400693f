#pragma once
// "理論値と分布": the machine's exact long-run figures for a play count, rate
// and border, beside whatever the runs happen to show. Modeless: it follows
// the main window's inputs and never blocks it. Its study part runs many runs
// on worker threads and draws their spread as a fan beside the theory's.

#include "platform/TButton.h"
#include "platform/TEdit.h"
#include "platform/TForm.h"
#include "platform/TGroupBox.h"
#include "platform/TLabel.h"
#include "platform/TProgressBar.h"
#include "platform/TTimer.h"
#include "results/TheoryTexts.h"
#include "runs/Study.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* TheoryCaption = "理論値と分布";
inline constexpr const char* StudyRunsDefault = "1000";
inline constexpr const char* StudyDoneText = "研究完了";
inline constexpr const char* StudyCancelledText = "研究を中止しました";

class TChart;

class TTheoryDialog : public TForm {
public:
    TTheoryDialog();
    ~TTheoryDialog() override;

    std::unique_ptr<TLabel> PlayLabel, RateLabel, BorderLabel;
    std::unique_ptr<TEdit> PlayEdit, RateEdit, BorderEdit;
    std::unique_ptr<TLabel> RefusalLabel;
    std::unique_ptr<TGroupBox> MachineGroup, OutlookGroup, DroughtGroup;
    std::unique_ptr<TButton> CloseButton;

    std::unique_ptr<TGroupBox> StudyGroup;
    std::unique_ptr<TLabel> RunsLabel, StudyStatusLabel;
    std::unique_ptr<TEdit> RunsEdit;
    std::unique_ptr<TButton> StudyStartButton, StudyCancelButton;
    std::unique_ptr<TProgressBar> StudyProgressBar;
    std::unique_ptr<TChart> StudyChart;
    // The exact law of the final balance, with the last study's runs beside it.
    std::unique_ptr<TChart> DistributionChart;
    std::unique_ptr<TGroupBox> StudyFiguresGroup;

    // Starts a study of the dialog's inputs on worker threads (refusals show in
    // the status line); the seed comes from the clock unless NextStudySeed is set.
    void StartStudy();
    // Stops the running study and waits for its workers, which stop at once.
    void CancelStudy();
    bool StudyRunning() const { return Study_ != nullptr; }
    std::optional<std::uint32_t> NextStudySeed;
    // The last finished study's figures (empty until one finished).
    const std::vector<StudyFigures>& StudyResult() const { return StudyResult_; }
    // The study's figures beside the theory's, one "name:study:theory" line per row.
    std::string StudyFiguresText() const;

    // Takes the main window's inputs and shows the figures for them.
    void Follow(const std::string& plays, const std::string& rate, const std::string& border);
    // Recomputes the figures from the dialog's own inputs.
    void Refresh();

    // The figures as shown, one "name:value" line per row (for tests and copying).
    std::string FiguresText() const;
    const std::string& Refusal() const { return Refusal_; }

    void FormClose() override;

private:
    struct Row {
        std::unique_ptr<TLabel> Name, Value;
    };
    void ShowRows(std::vector<Row>& rows, const std::vector<TheoryRow>& values);

    struct StudyRow {
        std::unique_ptr<TLabel> Name, Study, Theory;
    };
    void BuildStudyPart(QWidget* client);
    void PollStudy();
    void EndStudy();
    void ShowStudyFigures(const StudyFigures* f);

    // The exact table of the inputs last shown (none: refused or too large),
    // kept for the distribution chart.
    struct ShownTable {
        double Border = 0.0;
        std::int64_t Plays = 0;
        BalanceTable Table;
    };
    std::optional<ShownTable> ExactTable_;
    const BalanceTable* TableFor(double border, std::int64_t plays);
    void ShowDistribution();

    std::vector<Row> MachineRows_, OutlookRows_, DroughtRows_;
    std::vector<StudyRow> StudyRows_;
    std::unique_ptr<BackgroundStudy> Study_;
    std::unique_ptr<TTimer> StudyTimer_;
    std::vector<StudyFigures> StudyResult_;
    std::uint32_t StudySeed_ = 0;
    std::string Refusal_;
    bool Following_ = false;
};
