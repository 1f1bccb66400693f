#include "results/ResultTexts.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Records from (hit state, chain count) pairs; plays count 1.., balances are 10 x index.
RunRecords Make(const std::vector<std::pair<int, int>>& hits) {
    RunRecords r;
    int since = 0;
    for (std::size_t k = 0; k < hits.size(); ++k) {
        ++since;
        r.Append(since, static_cast<int>(k) * 10, hits[k].second, static_cast<int>(k) + 1,
                 hits[k].first);
    }
    return r;
}

} // namespace

TEST(ResultTexts, SummaryOfTheWorkedExample) {
    EXPECT_EQ(SummaryText(3, 7, 1000, -523, 4.0), "初当り数:3\u3000バトルボーナス数:7\n"
                                                  "初当り確率:1/333.33\n"
                                                  "継続数平均:2.33\n"
                                                  "出玉数:-523  収支:-2092円");
}

TEST(ResultTexts, SummaryWithoutChainEnds) {
    EXPECT_EQ(SummaryText(0, 0, 12, 0, 0.0), "初当り数:0\u3000バトルボーナス数:0\n"
                                             "初当り確率:1/0.00\n"
                                             "継続数平均:0.00\n"
                                             "出玉数:0  収支:0円");
    EXPECT_EQ(SummaryText(0, 0, 5, 15, 0.4).substr(std::string("初当り数:0\u3000").size()),
              "バトルボーナス数:0\n初当り確率:1/0.00\n継続数平均:0.00\n出玉数:15  収支:6円");
}

TEST(ResultTexts, ChainStatsFromRecords) {
    // A single bonus, a chain of four, a chain of two, and a hit still running at the end.
    std::vector<std::pair<int, int>> hits(1000, {0, 0});
    hits[10] = {1, 1};
    hits[100] = {2, 1};
    hits[101] = {2, 2};
    hits[102] = {2, 3};
    hits[103] = {2, 4};
    hits[500] = {2, 1};
    hits[501] = {2, 2};
    hits[999] = {1, 1};
    const RunRecords r = Make(hits);
    ASSERT_EQ(ValidateRecords(r), "");
    const ChainStats s = ComputeChainStats(r);
    EXPECT_EQ(s.FirstHitCount, 3);
    EXPECT_EQ(s.BonusCount, 7);
    EXPECT_EQ(s.KeizokuBuckets[0], 1);
    EXPECT_EQ(s.KeizokuBuckets[1], 1);
    EXPECT_EQ(s.KeizokuBuckets[3], 1);
    int total = 0;
    for (int v : s.KeizokuBuckets) {
        total += v;
    }
    EXPECT_EQ(total, 3);
    EXPECT_FALSE(IsChainEnd(r, 999));
    EXPECT_FALSE(IsChainEnd(r, 5000));
    EXPECT_TRUE(IsChainEnd(r, 103));
    EXPECT_FALSE(IsChainEnd(r, 102));
    EXPECT_EQ(SummaryForRecords(r, 4.0), "初当り数:3\u3000バトルボーナス数:7\n"
                                         "初当り確率:1/333.33\n"
                                         "継続数平均:2.33\n"
                                         "出玉数:9990  収支:39960円");
}

TEST(ResultTexts, BackToBackChainsCountOnce) {
    // The play after a chain's last record is itself a first hit: only the later chain ends.
    const RunRecords r = Make({{0, 0}, {1, 1}, {2, 1}, {2, 2}, {2, 3}, {0, 3}});
    const ChainStats s = ComputeChainStats(r);
    EXPECT_EQ(s.FirstHitCount, 1);
    EXPECT_EQ(s.BonusCount, 3);
    EXPECT_EQ(s.KeizokuBuckets[2], 1);
}

TEST(ResultTexts, LongChainsShareTheLastBucket) {
    std::vector<std::pair<int, int>> hits;
    for (const int len : {30, 45}) {
        for (int c = 1; c <= len; ++c) {
            hits.push_back({2, c});
        }
        hits.push_back({0, len});
    }
    const RunRecords r = Make(hits);
    ASSERT_EQ(ValidateRecords(r), "");
    const ChainStats s = ComputeChainStats(r);
    EXPECT_EQ(s.KeizokuBuckets[29], 2);
    const std::vector<KeizokuRow> rows = KeizokuRows(s);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Caption, "30回以上");
    EXPECT_EQ(rows[0].CountText, "2");
    EXPECT_EQ(rows[0].Percent, "100");
    EXPECT_EQ(KeizokuBucketIndex(29), 28);
    EXPECT_EQ(KeizokuBucketIndex(1000000), 29);
}

TEST(ResultTexts, PerPlayTexts) {
    RunRecords r;
    r.Append(57, -1234, 0, 57, 0);
    r.Append(58, -1232, 1, 58, 2);
    EXPECT_EQ(PlayText(r, 0), "57");
    EXPECT_EQ(Play2Text(r, 1), "58");
    EXPECT_EQ(BallText(r, 0), "-1234");
    EXPECT_EQ(OutcomeText(0), "XXX");
    EXPECT_EQ(OutcomeText(1), "大当たり");
    EXPECT_EQ(OutcomeText(2), "大当たり");
    EXPECT_EQ(ChanceText(1, 1), "敗北");
    EXPECT_EQ(ChanceText(2, 4), "突入(4)");
    EXPECT_EQ(ChanceText(0, 0), "");
    EXPECT_EQ(ChanceText(5, 3), ""); // no such hit state: nothing to say
}

TEST(ResultTexts, BonusRowsAndGainedBalls) {
    RunRecords r;
    r.Append(1, -10, 0, 1, 0);
    r.Append(2, -8, 1, 2, 2); // first hit of a chain of three
    r.Append(3, 1500, 2, 3, 2);
    r.Append(4, 3000, 3, 4, 2); // chain end
    r.Append(1, 4600, 3, 5, 0); // the last bonus first shows here
    r.Append(2, 4590, 1, 6, 1); // single bonus
    r.Append(3, 6000, 1, 7, 0);
    const std::vector<BonusRow> rows = BonusRows(r);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Index, 3u);
    EXPECT_EQ(rows[0].Play, "4");
    EXPECT_EQ(rows[0].Play2, "4");
    EXPECT_EQ(rows[0].Chance, "突入(3)");
    EXPECT_EQ(rows[0].Gained, "4608"); // 4600 - (-8)
    EXPECT_EQ(rows[1].Chance, "敗北");
    EXPECT_EQ(rows[1].Gained, "1410"); // 6000 - 4590
    EXPECT_EQ(GainedBalls(r, 0), 0);   // not a chain end

    // The row of one chain end alone, as the window adds it during its walk.
    const BonusRow single = BonusRowAt(r, 5);
    EXPECT_EQ(single.Index, 5u);
    EXPECT_EQ(single.Play, "6");
    EXPECT_EQ(single.Play2, "2");
    EXPECT_EQ(single.Chance, "敗北");
    EXPECT_EQ(single.Gained, "1410");
}

TEST(ResultTexts, EachChainEndFillsItsBucketAndTheTotals) {
    struct Case {
        const char* name;
        std::vector<std::int32_t> counts;
        int firstHits;
        std::int64_t bonuses;
        std::vector<std::pair<std::size_t, int>> buckets; // index, count
    };
    const std::vector<Case> cases = {
        {"none", {}, 0, 0, {}},
        {"one single bonus", {1}, 1, 1, {{0, 1}}},
        {"two of the same length", {4, 4}, 2, 8, {{3, 2}}},
        {"29 has its own bucket", {29}, 1, 29, {{28, 1}}},
        {"30 and more share the last", {30, 31, 1000}, 3, 1061, {{29, 3}}},
        {"the bonus total does not wrap", {2147483647, 2147483647}, 2, 4294967294LL, {{29, 2}}},
    };
    for (const Case& c : cases) {
        ChainStats stats;
        for (const std::int32_t count : c.counts)
            stats.AddChainEnd(count);
        EXPECT_EQ(stats.FirstHitCount, c.firstHits) << c.name;
        EXPECT_EQ(stats.BonusCount, c.bonuses) << c.name;
        std::array<int, KeizokuBucketCount> expected{};
        for (const auto& [index, count] : c.buckets)
            expected[index] = count;
        EXPECT_EQ(stats.KeizokuBuckets, expected) << c.name;
    }
}

TEST(ResultTexts, SummaryOfStatsTakesCountAndBalanceFromTheRecords) {
    // Stats of a walk cut short by a stop: no chain counted, yet every record
    // and the last balance still show.
    const RunRecords r = Make({{0, 0}, {1, 1}, {0, 1}, {0, 1}});
    EXPECT_EQ(SummaryText(ChainStats{}, r, 2.5), "初当り数:0\u3000バトルボーナス数:0\n"
                                                 "初当り確率:1/0.00\n"
                                                 "継続数平均:0.00\n"
                                                 "出玉数:30  収支:75円");
    EXPECT_EQ(SummaryText(ComputeChainStats(r), r, 2.5), "初当り数:1\u3000バトルボーナス数:1\n"
                                                         "初当り確率:1/4.00\n"
                                                         "継続数平均:1.00\n"
                                                         "出玉数:30  収支:75円");
    // No records at all show a balance of 0.
    EXPECT_EQ(SummaryText(ChainStats{}, RunRecords{}, 4.0), "初当り数:0\u3000バトルボーナス数:0\n"
                                                            "初当り確率:1/0.00\n"
                                                            "継続数平均:0.00\n"
                                                            "出玉数:0  収支:0円");
}

TEST(ResultTexts, GainedBallsDoesNotWrap) {
    RunRecords r;
    r.Append(1, -2147483647 - 1, 1, 1, 1);
    r.Append(2, 2147483647, 1, 2, 0);
    EXPECT_EQ(GainedBalls(r, 0), 4294967295LL);
}

TEST(ResultTexts, ContinuationRows) {
    ChainStats s;
    s.KeizokuBuckets[0] = 1;
    s.KeizokuBuckets[1] = 2;
    const std::vector<KeizokuRow> rows = KeizokuRows(s);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Caption, "1回");
    EXPECT_EQ(rows[0].Percent, "33.3333333333333");
    EXPECT_EQ(rows[1].Caption, "2回");
    EXPECT_EQ(rows[1].CountText, "2");
    EXPECT_EQ(rows[1].Percent, "66.6666666666667");
    EXPECT_TRUE(KeizokuRows(ChainStats{}).empty());
}

struct BrokenCase {
    const char* name;
    RunRecords records;
    bool valid;
};

TEST(ResultTexts, RecordsThatBreakTheInvariants) {
    auto uneven = Make({{0, 0}, {0, 0}});
    uneven.ChainCounts.pop_back();
    auto uneven2 = Make({{0, 0}});
    uneven2.PlayNumbers.push_back(9);
    const std::vector<BrokenCase> cases = {
        {"empty", RunRecords{}, true},
        {"one plain record", Make({{0, 0}}), true},
        {"hit at the last record, count 0", Make({{0, 0}, {2, 0}}), true},
        {"uneven lengths", uneven, false},
        {"extra play number", uneven2, false},
        {"hit state 3", Make({{0, 0}, {3, 1}, {0, 0}}), false},
        {"negative hit state", Make({{-1, 1}}), false},
        {"chain end with count 0", Make({{1, 0}, {0, 0}}), false},
        {"chain end with negative count", Make({{2, -4}, {0, 0}}), false},
        {"chain longer than the records before it", Make({{2, 1}, {2, 3}, {0, 0}}), false},
        {"chain exactly as long as allowed", Make({{2, 1}, {2, 2}, {0, 0}}), true},
        {"huge count", Make({{0, 0}, {2, 2147483647}, {0, 0}}), false},
        {"running hit with nonsense count", Make({{0, 0}, {2, -9}}), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValidateRecords(c.records), c.valid ? "" : BrokenRecordsText) << c.name;
        if (c.valid) {
            // Whatever passes must be safe to show.
            (void)SummaryForRecords(c.records, 4.0);
            (void)BonusRows(c.records);
            (void)KeizokuRows(ComputeChainStats(c.records));
        }
    }
}

TEST(ResultTexts, ReadFailureTexts) {
    EXPECT_EQ(ReadFailureText(ReadStatus::Ok), "");
    EXPECT_EQ(ReadFailureText(ReadStatus::CannotOpen), "");
    EXPECT_EQ(ReadFailureText(ReadStatus::ForeignTag),
              "このファイルは、ヨナタマ銀蛇ファイルではありません。");
    EXPECT_EQ(ReadFailureText(ReadStatus::TooShortForTag), ForeignFileText);
    EXPECT_EQ(ReadFailureText(ReadStatus::TooShortForHeader), ForeignFileText);
}
