// The display pass's lists and summary, held against the texts the companion
// prints for the same records, and what a stop leaves of them.

#include "WindowFixture.h"
#include "results/ResultTexts.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// Records from (hit state, chain count) pairs: play k+1, plays since the
// last chain counted from 1, a balance that moves by a different step each play.
RunRecords Make(const std::vector<std::pair<int, int>>& hits) {
    RunRecords r;
    int since = 0;
    int balls = 0;
    for (std::size_t k = 0; k < hits.size(); ++k) {
        since = k > 0 && hits[k - 1].first != 0 && hits[k].first == 0 ? 1 : since + 1;
        balls += static_cast<int>(k % 7) * 37 - 90;
        r.Append(since, balls, hits[k].second, static_cast<int>(k) + 1, hits[k].first);
    }
    return r;
}

std::vector<std::pair<int, int>> Chain(int hitState, int length) {
    std::vector<std::pair<int, int>> plays;
    for (int c = 1; c <= length; ++c)
        plays.push_back({hitState, c});
    return plays;
}

std::vector<std::pair<int, int>>
Join(std::initializer_list<std::vector<std::pair<int, int>>> parts) {
    std::vector<std::pair<int, int>> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::vector<std::pair<int, int>> Quiet(int n) {
    return std::vector<std::pair<int, int>>(static_cast<std::size_t>(n), {0, 0});
}

struct PassCase {
    const char* name;
    RunRecords records;
};

std::vector<PassCase> PassCases() {
    return {
        {"no hit", Make(Quiet(12))},
        {"one single bonus", Make(Join({Quiet(3), Chain(1, 1), Quiet(4)}))},
        {"back-to-back chains count the later one",
         Make(Join({Quiet(2), Chain(1, 1), Chain(2, 3), Quiet(2)}))},
        {"a chain still running at the end", Make(Join({Quiet(5), Chain(2, 4)}))},
        {"chains of 30 and more share a row",
         Make(Join({Quiet(1), Chain(2, 30), Quiet(1), Chain(2, 33), Quiet(1), Chain(2, 2), Quiet(1),
                    Chain(1, 1), Quiet(1)}))},
    };
}

} // namespace

class DisplayPassTest : public WindowTest {
protected:
    void Show(const RunRecords& records, bool bulk) {
        form->Records = records;
        form->PlayCount = static_cast<int>(records.Size());
        form->ExchangeRate = 2.5;
        form->ShowResults(bulk);
    }
};

TEST_F(DisplayPassTest, ListsAndSummaryMatchTheCompanionsTexts) {
    for (const PassCase& c : PassCases()) {
        ASSERT_EQ(ValidateRecords(c.records), "") << c.name;
        for (const bool bulk : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (bulk ? ", bulk" : ", play by play"));
            Show(c.records, bulk);
            const RunRecords& r = c.records;

            TListView& plays = *form->ResultListView;
            ASSERT_EQ(plays.ItemCount(), static_cast<int>(r.Size()));
            for (std::size_t i = 0; i < r.Size(); ++i)
                EXPECT_EQ(Row(plays, static_cast<int>(i)), PlayText(r, i) + "|" + Play2Text(r, i) +
                                                               "|" + OutcomeText(r.HitStates[i]) +
                                                               "|" + BallText(r, i));

            const std::vector<BonusRow> bonuses = BonusRows(r);
            ASSERT_EQ(form->BBListView->ItemCount(), static_cast<int>(bonuses.size()));
            for (std::size_t k = 0; k < bonuses.size(); ++k) {
                const BonusRow& b = bonuses[k];
                EXPECT_EQ(Row(*form->BBListView, static_cast<int>(k)),
                          b.Play + "|" + b.Play2 + "|" + b.Chance + "|" + b.Gained);
            }

            const std::vector<KeizokuRow> table = KeizokuRows(ComputeChainStats(r));
            ASSERT_EQ(form->KeizokuListView->ItemCount(), static_cast<int>(table.size()));
            for (std::size_t k = 0; k < table.size(); ++k) {
                const KeizokuRow& t = table[k];
                EXPECT_EQ(Row(*form->KeizokuListView, static_cast<int>(k)),
                          t.Caption + "|" + t.CountText + "|" + t.Percent);
            }

            EXPECT_EQ(form->ResultLabel->Caption(), SummaryForRecords(r, 2.5));
        }
    }
}

TEST_F(DisplayPassTest, AStopBeforeThePassShowsNoRowsButTheLastBalance) {
    const RunRecords records = PassCases()[4].records;
    Show(records, false); // a slow pass left real items
    ASSERT_GT(form->BBListView->ItemCount(), 0);

    form->StopRequested = true;
    Show(records, true);
    EXPECT_EQ(form->ResultListView->ItemCount(), 0);
    EXPECT_FALSE(form->ResultListView->OwnerData()) << "no record shown, so the mode stays";
    EXPECT_EQ(form->BBListView->ItemCount(), 0);
    EXPECT_EQ(form->KeizokuListView->ItemCount(), 0);
    const std::string summary = form->ResultLabel->Caption();
    EXPECT_EQ(summary.rfind("初当り数:0\u3000バトルボーナス数:0\n初当り確率:1/0.00\n", 0), 0u)
        << summary;
    ASSERT_NE(records.BallCounts.back(), 0);
    EXPECT_NE(summary.find("\n出玉数:" + std::to_string(records.BallCounts.back()) + "  "),
              std::string::npos)
        << summary;
}
