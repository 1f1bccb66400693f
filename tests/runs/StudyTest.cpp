#include "runs/Study.h"
#include "runs/RunDriver.h"
#include "stats/BalanceLimit.h"
#include "stats/ExactBalance.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Without the exact figures unless asked: they cost more than these small studies.
StudyRequest Request(int plays, int runs, std::vector<double> borders, std::uint32_t seed, int jobs,
                     bool exact = false) {
    StudyRequest r;
    r.Exact = exact;
    r.Plays = plays;
    r.Runs = runs;
    r.Borders = std::move(borders);
    r.Seed = seed;
    r.Jobs = jobs;
    return r;
}

std::vector<std::string> Split(const std::string& s, const std::string& sep) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t at; (at = s.find(sep, from)) != std::string::npos; from = at + sep.size()) {
        out.push_back(s.substr(from, at - from));
    }
    out.push_back(s.substr(from));
    return out;
}

} // namespace

TEST(Study, BandPlayCounts) {
    const struct {
        int plays;
        std::size_t size;
        int second, last;
    } cases[] = {
        {0, 1, -1, 0},
        {1, 2, 1, 1},
        {5, 6, 1, 5},
        {200, 201, 1, 200},
        {1000, 201, 5, 1000},
        {1001, 201, 5, 1001},
        {20000, 201, 100, 20000},
        {1000000, 201, 5000, 1000000},
    };
    for (const auto& c : cases) {
        const std::vector<int> p = BandPlayCounts(c.plays);
        ASSERT_EQ(p.size(), c.size) << c.plays;
        EXPECT_EQ(p.front(), 0) << c.plays;
        EXPECT_EQ(p.back(), c.last) << c.plays;
        if (p.size() > 1) {
            EXPECT_EQ(p[1], c.second) << c.plays;
        }
        EXPECT_TRUE(std::adjacent_find(p.begin(), p.end(), std::greater_equal<int>()) == p.end())
            << c.plays;
    }
}

TEST(Study, RunSeedsAreDistinctAndUnlikeTheirNeighbours) {
    for (const std::uint32_t seed : {0u, 1u, 2u, 4294967295u}) {
        std::vector<std::uint32_t> seeds;
        int close = 0;
        for (int i = 0; i < 100000; ++i) {
            seeds.push_back(RunSeed(seed, i));
            // Neighbours a few steps apart would start on correlated draws.
            if (i > 0 && (seeds[i] - seeds[i - 1] < 1024u || seeds[i - 1] - seeds[i] < 1024u)) {
                ++close;
            }
        }
        EXPECT_LT(close, 20) << seed; // about 0.05 expected by chance
        std::sort(seeds.begin(), seeds.end());
        EXPECT_TRUE(std::adjacent_find(seeds.begin(), seeds.end()) == seeds.end()) << seed;
    }
    EXPECT_NE(RunSeed(0, 1), RunSeed(1, 0));
    EXPECT_NE(RunSeed(0, 0), RunSeed(1, 0));
}

// With runs seeded one apart the first draws moved together and one-play
// studies scattered far less than chance allows; mixed seeds scatter as
// independent runs do.
TEST(Study, OnePlayStudiesScatterAsIndependentRuns) {
    const double p = ExactBalance(12.5).Distribution(1).At(2);
    const int studies = 40, runs = 2000;
    double sum = 0.0, squares = 0.0;
    for (int s = 0; s < studies; ++s) {
        const auto result = RunStudy(Request(1, runs, {12.5}, 1000 + s, 2));
        ASSERT_TRUE(result.has_value());
        int hits = 0;
        for (const std::int32_t v : result->front().FinalBalances) {
            hits += v == 2 ? 1 : 0;
        }
        const double z = (hits - runs * p) / std::sqrt(runs * p * (1.0 - p));
        sum += z;
        squares += z * z;
    }
    const double variance = (squares - sum * sum / studies) / (studies - 1);
    const double se = std::sqrt(2.0 / (studies - 1));
    EXPECT_NEAR(variance, 1.0, 4.0 * se);
    EXPECT_NEAR(sum / studies, 0.0, 4.0 / std::sqrt(studies));
}

TEST(Study, PercentilesOfHandCases) {
    const struct {
        std::vector<double> sorted;
        double p, expected;
    } cases[] = {
        {{10}, 0.05, 10},
        {{10}, 0.95, 10},
        {{0, 10}, 0.05, 0.5},
        {{1, 2, 3, 4}, 0.25, 1.75},
        {{1, 2, 3, 4}, 0.5, 2.5},
        {{1, 2, 3, 4}, 0.95, 3.85},
        {{-5, 0, 5, 100, 200}, 0.75, 100},
        {{-5, 0, 5, 100, 200}, 0.0, -5},
        {{-5, 0, 5, 100, 200}, 1.0, 200},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(Percentile(c.sorted, c.p), c.expected, 1e-12) << c.p;
    }
}

TEST(Study, MeanIntervalOfHandCases) {
    // 1..5: mean 3, s = sqrt(2.5), s/sqrt(5) = sqrt(0.5).
    const Interval a = MeanInterval95({1, 2, 3, 4, 5});
    EXPECT_NEAR(a.Low, 3 - 1.959963984540054 * std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(a.High, 3 + 1.959963984540054 * std::sqrt(0.5), 1e-12);
    const Interval same = MeanInterval95({7, 7, 7});
    EXPECT_EQ(same.Low, 7);
    EXPECT_EQ(same.High, 7);
    const Interval one = MeanInterval95({4});
    EXPECT_TRUE(std::isnan(one.Low) && std::isnan(one.High));
}

TEST(Study, WilsonIntervalOfHandCases) {
    const struct {
        std::int64_t k, n;
        double low, high;
    } cases[] = {
        {5, 10, 0.236593, 0.763407}, {0, 10, 0.0, 0.277533},        {10, 10, 0.722467, 1.0},
        {1, 1, 0.206549, 1.0},       {50, 200, 0.195082, 0.314341}, {2, 3, 0.207660, 0.938508},
    };
    for (const auto& c : cases) {
        const Interval w = WilsonInterval95(c.k, c.n);
        EXPECT_NEAR(w.Low, c.low, 5e-6) << c.k << "/" << c.n;
        EXPECT_NEAR(w.High, c.high, 5e-6) << c.k << "/" << c.n;
    }
}

TEST(Study, SummaryOfAHandCase) {
    // Four runs, bands at plays 0, 5, 10; the last column is the final balance.
    const std::vector<int> plays = {0, 5, 10};
    const std::vector<std::int32_t> balances = {0, -10, -20, //
                                                0, 30,  400, //
                                                0, -5,  0,   //
                                                0, 10,  -60};
    const StudyFigures f = SummariseStudy(10, 12.5, 4.0, 77, plays, balances);
    EXPECT_EQ(f.Runs, 4);
    EXPECT_EQ(f.FinalBalances, (std::vector<std::int32_t>{-20, 400, 0, -60}));
    EXPECT_DOUBLE_EQ(f.MeanBalance, 80.0);
    // Sorted finals -60, -20, 0, 400.
    EXPECT_DOUBLE_EQ(f.MedianBalance, -10.0);
    EXPECT_DOUBLE_EQ(f.P05Balance, -60 + 0.15 * 40);
    EXPECT_DOUBLE_EQ(f.P25Balance, -60 + 0.75 * 40);
    EXPECT_DOUBLE_EQ(f.P75Balance, 100.0);
    EXPECT_DOUBLE_EQ(f.P95Balance, 0 + 0.85 * 400);
    EXPECT_DOUBLE_EQ(f.PAhead, 0.25); // 0 is not ahead
    const Interval w = WilsonInterval95(1, 4);
    EXPECT_DOUBLE_EQ(f.PAheadCi95.Low, w.Low);
    EXPECT_DOUBLE_EQ(f.PAheadCi95.High, w.High);
    // s^2 = (100^2 + 320^2 + 80^2 + 140^2) / 3 = 138400 / 3.
    EXPECT_NEAR(f.MeanBalanceCi95.High - 80.0, Z95 * std::sqrt(138400.0 / 3.0 / 4.0), 1e-9);
    ASSERT_EQ(f.Bands.size(), 3u);
    EXPECT_EQ(f.Bands[0], (std::array<double, 5>{0, 0, 0, 0, 0}));
    // Plays 5 sorted: -10, -5, 10, 30.
    EXPECT_DOUBLE_EQ(f.Bands[1][0], -10 + 0.15 * 5);
    EXPECT_DOUBLE_EQ(f.Bands[1][2], 2.5);
    EXPECT_DOUBLE_EQ(f.Bands[1][4], 10 + 0.85 * 20);
    EXPECT_DOUBLE_EQ(f.Bands[2][2], f.MedianBalance);
    EXPECT_DOUBLE_EQ(f.Theory.MeanBalance,
                     OutlookForPlays(TheoryForBorder(12.5), 10, 4.0).MeanBalance);
}

// Run i must end exactly where a single run on the seed RunSeed(S, i) ends,
// and its band balances are that run's recorded balances.
TEST(Study, EachRunIsTheSingleRunOnItsSeed) {
    const struct {
        std::uint32_t seed;
        int plays;
        double border;
    } cases[] = {{1, 3000, 12.5}, {4294967294u, 2000, 20.0}, {123456, 1234, 7.5}};
    for (const auto& c : cases) {
        const std::vector<int> bands = BandPlayCounts(c.plays);
        for (int i = 0; i < 3; ++i) {
            std::vector<std::int32_t> got(bands.size());
            RunPath path;
            ASSERT_EQ(
                RunWithBands(RunSeed(c.seed, i), c.border, bands, got.data(), {}, nullptr, &path),
                BandRun::Done);

            Slot machine;
            machine.Random().Seed(RunSeed(c.seed, i));
            machine.Reset();
            machine.SetBorder(c.border);
            RunRecords records;
            RecordPlays(machine, c.plays, records);
            for (std::size_t k = 1; k < bands.size(); ++k) {
                ASSERT_EQ(got[k], records.BallCounts[bands[k] - 1]) << c.seed << " run " << i;
            }
            EXPECT_EQ(got.back(), records.BallCounts.back());
            // The path spans every recorded balance and the start's 0.
            const auto [low, high] =
                std::minmax_element(records.BallCounts.begin(), records.BallCounts.end());
            EXPECT_EQ(path.Lowest, std::min(0, *low));
            EXPECT_EQ(path.Highest, std::max(0, *high));
        }
    }
}

TEST(Study, OutputIsTheSameForAnyNumberOfJobs) {
    std::string reference;
    for (const int jobs : {1, 2, 7}) {
        const auto result = RunStudy(Request(2000, 23, {11.0, 12.5, 14.0}, 4294967290u, jobs));
        ASSERT_TRUE(result.has_value());
        const std::string all = StudyJson(*result, true) + StudyText(*result) + StudyCsv(*result);
        if (reference.empty()) {
            reference = all;
        } else {
            EXPECT_EQ(all, reference) << jobs << " jobs";
        }
    }
}

TEST(Study, SweepUsesTheSameSeedsForEveryBorder) {
    const auto sweep = RunStudy(Request(1500, 9, {10.0, 16.0}, 42, 2));
    ASSERT_TRUE(sweep.has_value());
    ASSERT_EQ(sweep->size(), 2u);
    for (std::size_t b = 0; b < 2; ++b) {
        const auto single = RunStudy(Request(1500, 9, {(*sweep)[b].Border}, 42, 1));
        ASSERT_TRUE(single.has_value());
        EXPECT_EQ((*sweep)[b].FinalBalances, single->front().FinalBalances);
        EXPECT_EQ((*sweep)[b].Bands, single->front().Bands);
    }
    // A better border on the same luck pays more on average.
    EXPECT_GT((*sweep)[1].MeanBalance, (*sweep)[0].MeanBalance);
}

// The theory seen again through the study: the mean final balance within four
// of its standard errors of the theory's mean, the spread and the share ahead
// near the theory's, on fixed seeds.
TEST(Study, AgreesWithTheTheory) {
    const auto result = RunStudy(Request(10000, 300, {9.0, 12.5, 20.0}, 20240601, 0, true));
    ASSERT_TRUE(result.has_value());
    for (const StudyFigures& f : *result) {
        const double se = (f.MeanBalanceCi95.High - f.MeanBalanceCi95.Low) / (2 * Z95);
        EXPECT_NEAR(f.MeanBalance, f.Theory.MeanBalance, 4 * se) << f.Border;
        EXPECT_NEAR(se * std::sqrt(300.0), f.Theory.SdBalance, 0.15 * f.Theory.SdBalance)
            << f.Border;
        ASSERT_TRUE(f.ExactKnown) << f.Border;
        EXPECT_NEAR(f.MeanBalance, f.Exact.Mean, 4 * se) << f.Border;
        const double pse = std::sqrt(f.Exact.PAhead * (1 - f.Exact.PAhead) / 300);
        EXPECT_NEAR(f.PAhead, f.Exact.PAhead, 4 * pse) << f.Border;
        // The exact bands end at the exact points of the final balance.
        ASSERT_EQ(f.TheoryBandPlays.size(), 41u);
        EXPECT_EQ(f.TheoryBandPlays.back(), 10000);
        EXPECT_EQ(f.TheoryBands.back(), f.Exact.Quantiles);
        // A run's lowest balance is at most 0 and at most its final balance;
        // a run ahead at the end was ahead at some play.
        ASSERT_EQ(f.LowestBalances.size(), 300u);
        for (int r = 0; r < 300; ++r) {
            EXPECT_LE(f.LowestBalances[r], std::min(0, f.FinalBalances[r]));
        }
        EXPECT_GE(f.PEverAhead, f.PAhead);
        EXPECT_LE(f.CashToBring[0], f.CashToBring[3]);
        // The bands widen with the plays and the median ends at the median final.
        EXPECT_LT(f.Bands[20][4] - f.Bands[20][0], f.Bands.back()[4] - f.Bands.back()[0]);
        EXPECT_DOUBLE_EQ(f.Bands.back()[2], f.MedianBalance);
    }
}

TEST(Study, CancelFromAnotherThread) {
    BackgroundStudy study(Request(2000000000, 64, {12.5}, 1, 2));
    while (study.PlaysDone() == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::jthread canceller([&study] { study.Cancel(); });
    study.Wait();
    EXPECT_TRUE(study.Finished());
    EXPECT_FALSE(study.Result().has_value());
    EXPECT_LT(study.PlaysDone(), study.PlaysTotal());
}

TEST(Study, StopTokenEndsRunStudy) {
    std::stop_source source;
    std::atomic<std::int64_t> done{0};
    std::optional<std::vector<StudyFigures>> result;
    std::string failure = "unset";
    std::jthread worker([&] {
        result = RunStudy(Request(2000000000, 8, {13.85, 15.0}, 3, 2), source.get_token(), &done,
                          &failure);
    });
    while (done.load() == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    source.request_stop();
    worker.join();
    EXPECT_FALSE(result.has_value());
    EXPECT_EQ(failure, ""); // a stop is no failure
}

TEST(Study, BackgroundStudyFinishesWithTheSameFigures) {
    const StudyRequest r = Request(3000, 12, {12.5}, 99, 2);
    BackgroundStudy study(r);
    study.Wait();
    ASSERT_TRUE(study.Finished());
    ASSERT_TRUE(study.Result().has_value());
    EXPECT_EQ(study.PlaysDone(), study.PlaysTotal());
    EXPECT_EQ(StudyJson(*study.Result(), false), StudyJson(*RunStudy(r), false));
}

TEST(Study, JsonCarriesEveryFigure) {
    const auto result = RunStudy(Request(1000, 5, {12.5}, 7, 1, true));
    ASSERT_TRUE(result.has_value());
    const StudyFigures& f = result->front();
    const auto j = nlohmann::ordered_json::parse(StudyJson(*result, false));
    std::vector<std::string> keys;
    for (auto it = j.begin(); it != j.end(); ++it) {
        keys.push_back(it.key());
    }
    const std::vector<std::string> expected = {"runs",
                                               "plays",
                                               "border",
                                               "rate",
                                               "seed",
                                               "final_balances",
                                               "run_seeds",
                                               "mean_balance",
                                               "mean_balance_ci95",
                                               "median_balance",
                                               "p05_balance",
                                               "p25_balance",
                                               "p75_balance",
                                               "p95_balance",
                                               "p_ahead",
                                               "p_ahead_ci95",
                                               "theory_mean_balance",
                                               "theory_sd_balance",
                                               "bands",
                                               "theory_p_ahead",
                                               "exact_mean_balance",
                                               "exact_sd_balance",
                                               "p_no_first_hit",
                                               "theory_balance_quantiles",
                                               "theory_bands",
                                               "lowest_balances",
                                               "p_ever_ahead",
                                               "p_ever_ahead_ci95",
                                               "cash_to_bring",
                                               "cash_to_bring_ci95"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(j["runs"], 5);
    EXPECT_EQ(j["seed"], 7);
    EXPECT_EQ(j["final_balances"].get<std::vector<std::int32_t>>(), f.FinalBalances);
    EXPECT_EQ(j["run_seeds"][4].get<std::uint32_t>(), RunSeed(7, 4));
    EXPECT_EQ(j["mean_balance_ci95"][1].get<double>(), f.MeanBalanceCi95.High);
    EXPECT_EQ(j["theory_sd_balance"].get<double>(), f.Theory.SdBalance);
    EXPECT_EQ(j["bands"]["plays"].size(), 201u);
    EXPECT_EQ(j["bands"]["p95"][200].get<double>(), f.Bands[200][4]);
    EXPECT_EQ(j["theory_p_ahead"].get<double>(), f.Exact.PAhead);
    EXPECT_EQ(j["theory_bands"]["plays"].size(), 41u);
    EXPECT_EQ(j["theory_bands"]["plays"][40].get<int>(), 1000);
    EXPECT_EQ(j["theory_bands"]["p50"][40].get<std::int64_t>(), f.Exact.Quantiles[2]);
    EXPECT_EQ(j["theory_balance_quantiles"]["0.05"].get<std::int64_t>(), f.Exact.Quantiles[0]);
    EXPECT_EQ(j["lowest_balances"].get<std::vector<std::int32_t>>(), f.LowestBalances);
    EXPECT_EQ(j["cash_to_bring"]["0.99"].get<double>(), f.CashToBring[3]);

    const auto sweep = nlohmann::json::parse(StudyJson(*result, true));
    ASSERT_EQ(sweep["borders"].size(), 1u);
    EXPECT_EQ(sweep["borders"][0]["median_balance"].get<double>(), f.MedianBalance);
}

TEST(Study, CsvIsOneRectangularTable) {
    const auto result = RunStudy(Request(300, 4, {12.5, 13.5}, 5, 2, true));
    ASSERT_TRUE(result.has_value());
    const std::string csv = StudyCsv(*result);
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    ASSERT_EQ(csv.substr(csv.size() - 2), "\r\n");
    std::vector<std::string> rows = Split(csv.substr(3, csv.size() - 5), "\r\n");
    ASSERT_EQ(rows.size(), 1u + 2 * 4 + 2 * 201 + 2 * 41);
    EXPECT_EQ(csv.find('\n'), csv.find("\r\n") + 1);
    for (const std::string& row : rows) {
        EXPECT_EQ(Split(row, ",").size(), 12u) << row;
    }
    const auto runRow = [&](std::size_t b, int r, const char* border) {
        const StudyFigures& f = (*result)[b];
        return "最終出玉数," + std::string(border) + "," + std::to_string(r) + "," +
               std::to_string(RunSeed(5, r)) + ",300," + std::to_string(f.FinalBalances[r]) + "," +
               std::to_string(f.LowestBalances[r]) + ",,,,,";
    };
    EXPECT_EQ(rows[1], runRow(0, 0, "12.5"));
    EXPECT_EQ(rows[8], runRow(1, 3, "13.5"));
    EXPECT_EQ(rows[9], "分布,12.5,,,0,,,0,0,0,0,0");
    const BandPoints& last = (*result)[1].TheoryBands.back();
    EXPECT_EQ(rows.back(), "分布(厳密),13.5,,,300,,," + std::to_string(last[0]) + "," +
                               std::to_string(last[1]) + "," + std::to_string(last[2]) + "," +
                               std::to_string(last[3]) + "," + std::to_string(last[4]));
}

TEST(Study, PathFiguresOfAHandCase) {
    // Five runs whose lowest balances are 0, -10, -20, -30, -400.
    const std::vector<int> plays = {0, 10};
    const std::vector<RunPath> paths = {{0, 50}, {-10, 0}, {-20, 5}, {-30, 0}, {-400, 900}};
    const StudyFigures f =
        SummariseStudy(10, 12.5, 4.0, 3, plays, {0, 50, 0, -5, 0, 5, 0, -30, 0, 800}, paths);
    EXPECT_EQ(f.LowestBalances, (std::vector<std::int32_t>{0, -10, -20, -30, -400}));
    EXPECT_DOUBLE_EQ(f.PEverAhead, 0.6);
    // Balls to bring, sorted 0, 10, 20, 30, 400: points at ranks 4p.
    EXPECT_DOUBLE_EQ(f.CashToBring[0], 20.0);
    EXPECT_DOUBLE_EQ(f.CashToBring[1], 30.0 + 0.6 * 370.0);
    EXPECT_DOUBLE_EQ(f.CashToBring[3], 30.0 + 0.96 * 370.0);
    EXPECT_LE(f.CashToBringCi95[0].Low, f.CashToBring[0]);
    EXPECT_GE(f.CashToBringCi95[0].High, f.CashToBring[0]);
    // Without paths there are no path figures.
    EXPECT_TRUE(SummariseStudy(10, 12.5, 4.0, 3, plays, {0, 1}).LowestBalances.empty());
}

TEST(Study, QuantileIntervalOfHandCases) {
    std::vector<double> sorted;
    for (int i = 0; i < 100; ++i) {
        sorted.push_back(i);
    }
    const struct {
        double p, low, high;
    } cases[] = {{0.5, 40, 60}, {0.9, 84, 96}, {0.99, 97, 99}, {0.01, 0, 3}};
    for (const auto& c : cases) {
        const Interval i = QuantileInterval95(sorted, c.p);
        EXPECT_EQ(i.Low, c.low) << c.p;
        EXPECT_EQ(i.High, c.high) << c.p;
    }
}

TEST(Study, TheoryBandPlayCountsAreAnEvenSubset) {
    EXPECT_EQ(TheoryBandPlayCounts({0, 1, 2}), (std::vector<int>{0, 1, 2}));
    const std::vector<int> all = BandPlayCounts(20000);
    const std::vector<int> some = TheoryBandPlayCounts(all);
    ASSERT_EQ(some.size(), 41u);
    EXPECT_EQ(some.front(), 0);
    EXPECT_EQ(some[1], 500);
    EXPECT_EQ(some.back(), 20000);
}

TEST(Study, TextShowsTheFiguresBesideTheTheory) {
    const std::vector<int> plays = {0, 10};
    const StudyFigures f = SummariseStudy(10, 12.5, 4.0, 3, plays, {0, 100, 0, -100, 0, 30});
    const std::string text = StudyText({f});
    EXPECT_NE(text.find("分布の研究 Sim回数:3 Play数:10 ボーダー:12.5 交換レート:4 シード:3\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("最終出玉数 平均:10.0 (95%信頼区間 "), std::string::npos) << text;
    EXPECT_NE(text.find("最終収支(円) 平均:40 "), std::string::npos) << text;
    EXPECT_NE(text.find("中央値:30.0"), std::string::npos) << text;
    EXPECT_NE(text.find("プラス収支の割合(%):66.7 (95%信頼区間 20.8 〜 93.9)"), std::string::npos)
        << text;
    EXPECT_NE(text.find("理論値 長期の平均:"), std::string::npos) << text;
}

TEST(Study, RemainingTime) {
    const struct {
        double share, spent;
        const char* text;
    } cases[] = {
        {0.0, 5.0, "残り時間 計算中"},    {0.5, 10.0, "残り 10秒"}, {0.25, 30.0, "残り 1分30秒"},
        {0.1, 800.0, "残り 2時間0分0秒"}, {1.0, 99.0, "残り 0秒"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RemainingTimeText(c.share, c.spent), c.text) << c.share;
    }
}

TEST(Study, JsonReadsBackToTheSameFigures) {
    const auto result = RunStudy(Request(800, 6, {11.5, 12.5}, 17, 2, true));
    ASSERT_TRUE(result.has_value());
    for (const bool sweep : {false, true}) {
        const std::vector<StudyFigures> figures =
            sweep ? *result : std::vector<StudyFigures>{result->front()};
        const auto back = StudyFromJson(StudyJson(figures, sweep));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(StudyJson(*back, sweep), StudyJson(figures, sweep));
        EXPECT_EQ(StudyText(*back), StudyText(figures));
    }
    const char* broken[] = {"", "{}", "[1,2]", "{\"borders\":[{\"runs\":1}]}", "not json"};
    for (const char* text : broken) {
        EXPECT_FALSE(StudyFromJson(text).has_value()) << text;
    }
}

TEST(Study, AStudyTooLargeForMemoryEndsWithAMessage) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers reserve address space of their own";
#else
    // In a child limited to 1 GB of address space: the study's 8 GB of
    // balances cannot be had, and the program goes on.
    const StudyRequest r = Request(1000, 10000000, {12.5}, 1, 2);
    EXPECT_GT(StudyMemoryBytes(r), std::uint64_t{8000000000});
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{1u << 30, 1u << 30};
        ::setrlimit(RLIMIT_AS, &limit);
        std::string failure;
        const auto result = RunStudy(r, {}, nullptr, &failure);
        BackgroundStudy study(r);
        study.Wait();
        const bool ok = !result && failure == StudyOutOfMemoryText && !study.Result() &&
                        study.Failure() == StudyOutOfMemoryText;
        std::_Exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

TEST(Study, MemoryGrowsWithRunsBordersAndBands) {
    const std::uint64_t one = StudyMemoryBytes(Request(1000, 1000, {12.5}, 1, 1));
    EXPECT_GE(one, std::uint64_t{1000} * 201 * 4);
    EXPECT_LT(one, std::uint64_t{1000} * 201 * 4 * 2);
    const std::uint64_t two = StudyMemoryBytes(Request(1000, 1000, {12.5, 13.0}, 1, 1));
    EXPECT_GT(two, one * 3 / 2);
    EXPECT_LE(two, one * 2);
    EXPECT_GT(StudyMemoryBytes(Request(100, 100000000, {12.5}, 1, 1)), std::uint64_t{1} << 35);
}
