// The exact balance tables against studies of the engine on fixed seeds: the
// share of runs ahead and the share at or below each exact quantile must lie
// within four standard errors of the exact chances.
#include "runs/Study.h"
#include "stats/ExactBalance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

TEST(ExactAgreement, StudiesFollowTheExactTables) {
    const int runs = 4000;
    for (const double border : {12.5, 20.0, 130.0}) {
        const ExactBalance exact(border);
        for (const int plays : {300, 3000}) {
            StudyRequest r;
            r.Plays = plays;
            r.Runs = runs;
            r.Borders = {border};
            r.Seed = 20240 + static_cast<std::uint32_t>(plays);
            const auto study = RunStudy(r);
            ASSERT_TRUE(study.has_value());
            const std::vector<std::int32_t>& finals = study->front().FinalBalances;
            const BalanceTable t = exact.Distribution(plays);
            const auto within = [&](double simulated, double p, const char* what) {
                const double se = std::sqrt(p * (1.0 - p) / runs);
                EXPECT_NEAR(simulated, p, 4.0 * se)
                    << what << " border " << border << " plays " << plays;
            };
            within(study->front().PAhead, t.PAhead(), "ahead");
            for (const double q : BandLevels) {
                const std::int64_t b = t.Quantile(q);
                int below = 0;
                for (const std::int32_t v : finals) {
                    below += v <= b ? 1 : 0;
                }
                within(static_cast<double>(below) / runs, t.Cumulative(b), "quantile");
            }
        }
    }
}
