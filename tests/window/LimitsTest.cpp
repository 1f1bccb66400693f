// The window at the limits: a comma-decimal locale, balances that would leave
// 32 bits, and rates whose figures would not be finite.
#include "WindowFixture.h"

#include "app/TheoryDialog.h"
#include "chart/Chart.h"
#include "common/CommaLocale.h"
#include "results/InputChecks.h"
#include "stats/BalanceLimit.h"

#include <QTimer>

#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

class LimitsTest : public WindowTest {
protected:
    // Everything a run shows as text, and its exported CSV files.
    std::string Shown() {
        FastRun(3000, 7);
        std::string text = form->ResultLabel->Caption() + "\n";
        for (TListView* list : {form->BBListView.get(), form->KeizokuListView.get()}) {
            for (int r = 0; r < list->ItemCount(); ++r)
                text += Row(*list, r) + "\n";
        }
        form->AnalysisTheoryMenu->Click();
        Pump();
        text += form->TheoryDialog->FiguresText();
        form->TheoryDialog->Close();
        seam.fileAnswers.push_back(dir.string());
        form->FileCsvMenu->Click();
        Pump();
        for (const char* name : {"plays.csv", "bonuses.csv", "chains.csv"})
            text += ReadAll(dir / name);
        return text;
    }
};

TEST_F(LimitsTest, NumbersReadTheSameUnderACommaDecimalLocale) {
    const std::string plain = Shown();
    ASSERT_NE(plain.find("継続数平均:"), std::string::npos);
    const ScopedCommaLocale comma;
    ASSERT_TRUE(comma.Active()) << "localedef could not make " << CommaLocale::Name;
    EXPECT_EQ(Shown(), plain);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(LimitsTest, StartRefusesWhatWouldLeave32BitsOrNotBeFinite) {
    const struct {
        const char* plays;
        const char* rate;
        const char* border;
        std::string refusal;
    } cases[] = {
        {"20000", "4.0", "249.9999", CheckBalanceRange(20000, 249.9999)},
        {"5000000", "4.0", "249", CheckBalanceRange(5000000, 249.0)},
        {"100", "1e308", "12.5", RateMaxRefusal},
        {"100", "4.0", "249.99999999999997", BorderMaxRefusal},
    };
    for (const auto& c : cases) {
        seam.messages.clear();
        SetInputs(c.plays, "1", c.rate, c.border);
        form->StartButton->Click();
        Pump();
        ASSERT_EQ(seam.messages.size(), 1u) << c.plays << " " << c.border;
        EXPECT_EQ(seam.messages[0].Text, c.refusal);
        EXPECT_EQ(form->Records.Size(), 0u);
        EXPECT_TRUE(form->StartButton->Enabled());
    }
}

TEST_F(LimitsTest, ASlowRunStopsCleanlyAtTheBalanceGuard) {
    SetInputs("40", "1", "4.0", "12.5");
    form->Machine.Random().Seed(1);
    // As if the balance had come near the end of 32 bits by play 10.
    onWait = [&](int call) {
        if (call == 10)
            form->Machine.Balls = BalanceGuard + 100;
    };
    form->StartButton->Click();
    Pump();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].Text, BalanceLimitStopText);
    EXPECT_EQ(form->Records.Size(), 11u);
    EXPECT_TRUE(BalanceAtGuard(form->Records.BallCounts.back()));
    EXPECT_EQ(form->ResultListView->ItemCount(), 11);
    EXPECT_TRUE(form->StartButton->Enabled());
    EXPECT_TRUE(form->RateEdit->Enabled());
}
