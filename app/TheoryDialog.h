#pragma once
// "理論値と分布": the machine's exact long-run figures for a play count, rate
// and border, beside whatever the runs happen to show. Modeless: it follows
// the main window's inputs and never blocks it.

#include "platform/TButton.h"
#include "platform/TEdit.h"
#include "platform/TForm.h"
#include "platform/TGroupBox.h"
#include "platform/TLabel.h"
#include "results/TheoryTexts.h"

#include <memory>
#include <string>
#include <vector>

inline constexpr const char* TheoryCaption = "理論値と分布";

class TTheoryDialog : public TForm {
public:
    TTheoryDialog();

    std::unique_ptr<TLabel> PlayLabel, RateLabel, BorderLabel;
    std::unique_ptr<TEdit> PlayEdit, RateEdit, BorderEdit;
    std::unique_ptr<TLabel> RefusalLabel;
    std::unique_ptr<TGroupBox> MachineGroup, OutlookGroup;
    std::unique_ptr<TButton> CloseButton;

    // Takes the main window's inputs and shows the figures for them.
    void Follow(const std::string& plays, const std::string& rate, const std::string& border);
    // Recomputes the figures from the dialog's own inputs.
    void Refresh();

    // The figures as shown, one "name:value" line per row (for tests and copying).
    std::string FiguresText() const;
    const std::string& Refusal() const { return refusal_; }

private:
    struct Row {
        std::unique_ptr<TLabel> Name, Value;
    };
    void ShowRows(std::vector<Row>& rows, const std::vector<TheoryRow>& values);

    std::vector<Row> machineRows_, outlookRows_;
    std::string refusal_;
    bool following_ = false;
};
