#include "app/TheoryDialog.h"

#include "results/Conversions.h"
#include "results/InputChecks.h"
#include "results/Theory.h"
#include "results/TheoryTexts.h"

namespace {
constexpr const char* FontName = "ＭＳ Ｐゴシック";
constexpr int RowHeight = 19;
constexpr int MachineRows = 9;
constexpr int OutlookRowCount = 4;
constexpr int NameLeft = 12;
constexpr int ValueLeft = 200;
constexpr int ValueWidth = 190;
} // namespace

TTheoryDialog::TTheoryDialog() : TForm(Kind::Dialog) {
    SetCaption(TheoryCaption);
    SetFormFont(FontName, 12);
    SetClientSize(420, 392);
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
    OutlookGroup = std::make_unique<TGroupBox>(client, 8, outlookTop, 404, outlookHeight, "Play数ぶんの分布（正規近似）");
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

    CloseButton->OnClick = [this] { Close(); };
    for (TEdit* edit : {PlayEdit.get(), RateEdit.get(), BorderEdit.get()}) {
        edit->OnChange = [this] {
            if (!following_) {
                Refresh();
            }
        };
    }
    SetTabOrder({PlayEdit.get(), RateEdit.get(), BorderEdit.get(), CloseButton.get()});
}

void TTheoryDialog::Follow(const std::string& plays, const std::string& rate, const std::string& border) {
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
        refusal_ = CheckStartInputs(PlayEdit->Text(), "1", RateEdit->Text(), BorderEdit->Text(), in);
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
    ShowRows(outlookRows_, OutlookRows(in.PlayCount, in.Rate, OutlookForPlays(theory, in.PlayCount, in.Rate)));
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
