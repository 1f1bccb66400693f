#include "stats/ExactBalance.h"

#include "engine/Slot.h"
#include "stats/Theory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace {

const double Hit = Slot::HitWeight / 65536.0;
const double Entry = Slot::EntryWeight / 65536.0;
const double Keep = Slot::ContinueWeight / 65536.0;
const double ChanceHit = Slot::ChanceHitWeight / 65536.0;

PocketChances Pocket(double border) {
    return PocketChancesForWeight(Slot::BorderWeight(border));
}

double Binomial(int n, int k, double p) {
    if (k < 0 || k > n) {
        return 0.0;
    }
    if (p == 0.0) {
        return k == 0 ? 1.0 : 0.0;
    }
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0) +
                    k * std::log(p) + (n - k) * std::log1p(-p));
}

// A law on the integers as balance -> probability.
using Law = std::map<long long, double>;

Law Convolve(const Law& a, const Law& b) {
    Law out;
    for (const auto& [x, p] : a) {
        for (const auto& [y, q] : b) {
            if (p * q > 1e-22) {
                out[x + y] += p * q;
            }
        }
    }
    return out;
}

// The first play by direct summation over the k balls that miss the start
// pocket and the number of 14-ball extras: the part ending without a jackpot
// and the part ending with one.
struct FirstPlay {
    Law plain, jackpot;
};

FirstPlay FirstPlayBySum(const PocketChances& c) {
    FirstPlay f;
    for (int k = 0; k < 4000; ++k) {
        const double reach = std::pow(1.0 - c.Start, k) * c.Start;
        if (reach < 1e-20) {
            break;
        }
        for (int x = 0; x <= std::min(k + 1, 60); ++x) {
            const long long balance = -k + 2 + 14LL * x;
            const double plain = reach * (1.0 - Hit) * Binomial(k + 1, x, c.Extra);
            const double jackpot = reach * Hit * Binomial(k, x, c.Extra);
            if (plain > 1e-22) {
                f.plain[balance] += plain;
            }
            if (jackpot > 1e-22) {
                f.jackpot[balance] += jackpot;
            }
        }
    }
    return f;
}

// A bonus shot (its own ball included) as 135 alike stretches, each the
// balls up to one attacker payout, convolved by repeated squaring.
Law BonusByConvolution(const PocketChances& c) {
    Law ball; // one ball without its attacker draw
    for (int s = 0; s < 2; ++s) {
        for (int x = 0; x < 2; ++x) {
            ball[-1 + 3 * s + 14 * x] +=
                (s ? c.Start : 1.0 - c.Start) * (x ? c.Extra : 1.0 - c.Extra);
        }
    }
    Law stretch;
    Law misses = {{0, 1.0}};
    for (int k = 0; k < 200; ++k) {
        const double weight = std::pow(1.0 - c.Attacker, k) * c.Attacker;
        for (const auto& [b, p] : Convolve(misses, ball)) {
            stretch[b + 13] += weight * p;
        }
        misses = Convolve(misses, ball);
    }
    Law out = {{-1, 1.0}};
    Law power = stretch;
    for (int n = 135; n > 0; n >>= 1) {
        if (n & 1) {
            out = Convolve(out, power);
        }
        if (n > 1) {
            power = Convolve(power, power);
        }
    }
    return out;
}

Law Mix(const Law& a, double wa, const Law& b, double wb) {
    Law out;
    for (const auto& [x, p] : a) {
        out[x] += wa * p;
    }
    for (const auto& [x, p] : b) {
        out[x] += wb * p;
    }
    return out;
}

struct Stats {
    double mean = 0.0, variance = 0.0;
};

Stats Sum(Stats a, Stats b) {
    return {a.mean + b.mean, a.variance + b.variance};
}

// Mean and variance of the balance after each play by a moment recursion
// over the four machine states, from per-segment moments worked out apart
// from any generating function.
std::vector<Stats> MomentsByRecursion(const PocketChances& c, int plays) {
    const double misses = (1.0 - c.Start) / c.Start;
    const double missesVar = (1.0 - c.Start) / (c.Start * c.Start);
    const double ballMean = -1.0 + 14.0 * c.Extra;
    const double ballVar = 196.0 * c.Extra * (1.0 - c.Extra);
    const Stats before{misses * ballMean, misses * ballVar + missesVar * ballMean * ballMean};
    const Stats plainEnd{2.0 + 14.0 * c.Extra, 196.0 * c.Extra * (1.0 - c.Extra)};
    const Stats jackpotEnd{2.0, 0.0};
    const Moments bm = BonusBalls(c);
    const Stats bonus{bm.Mean, bm.Variance};
    const Stats lost{-(1.0 - ChanceHit) / ChanceHit, (1.0 - ChanceHit) / (ChanceHit * ChanceHit)};
    // States: 0 normal, 1 single bonus due, 2 chance mode chain 1, 3 chain >= 2.
    struct Move {
        int from, to;
        double chance;
        Stats change;
    };
    std::vector<Move> moves;
    const auto normalFrom = [&](int from, double chance, Stats lead) {
        moves.push_back({from, 0, chance * (1.0 - Hit), Sum(lead, Sum(before, plainEnd))});
        moves.push_back(
            {from, 1, chance * Hit * (1.0 - Entry), Sum(lead, Sum(before, jackpotEnd))});
        moves.push_back({from, 2, chance * Hit * Entry, Sum(lead, Sum(before, jackpotEnd))});
    };
    normalFrom(0, 1.0, {});
    normalFrom(1, 1.0, bonus);
    moves.push_back({2, 3, 1.0, bonus});
    moves.push_back({3, 3, Keep, Sum(lost, bonus)});
    normalFrom(3, 1.0 - Keep, Sum(lost, bonus));

    std::array<double, 4> p{1, 0, 0, 0}, m1{}, m2{};
    std::vector<Stats> out;
    for (int n = 1; n <= plays; ++n) {
        std::array<double, 4> q{}, n1{}, n2{};
        for (const Move& mv : moves) {
            const double a = mv.change.mean;
            const double a2 = mv.change.variance + a * a;
            q[mv.to] += mv.chance * p[mv.from];
            n1[mv.to] += mv.chance * (m1[mv.from] + p[mv.from] * a);
            n2[mv.to] += mv.chance * (m2[mv.from] + 2.0 * m1[mv.from] * a + p[mv.from] * a2);
        }
        p = q, m1 = n1, m2 = n2;
        const double mean = m1[0] + m1[1] + m1[2] + m1[3];
        out.push_back({mean, m2[0] + m2[1] + m2[2] + m2[3] - mean * mean});
    }
    return out;
}

} // namespace

TEST(ExactBalance, OnePlayMatchesDirectSummation) {
    for (const double border : {1.0, 12.5, 20.0, 130.0}) {
        const FirstPlay direct = FirstPlayBySum(Pocket(border));
        const BalanceTable t = ExactBalance(border).Distribution(1);
        const Law all = Mix(direct.plain, 1.0, direct.jackpot, 1.0);
        for (const long long b : {2LL, 1LL, 0LL, -5LL, 16LL, 30LL, -40LL, -300LL}) {
            const auto it = all.find(b);
            EXPECT_NEAR(t.At(b), it == all.end() ? 0.0 : it->second, 1e-14)
                << border << " balance " << b;
        }
    }
    // At 12.5 (p0 = 3276/65536, p2 = 131/65536, h = 165/65536) +2 is the first
    // ball entering without an extra or as the jackpot, or 14j misses with j
    // extras: p0((1-h)(1-p2) + h) + sum over j of (1-p0)^14j p0 (...), summed
    // in exact fractions to 0.05061769582423908.
    EXPECT_NEAR(ExactBalance(12.5).Distribution(1).At(2), 0.05061769582423908, 1e-14);
}

TEST(ExactBalance, TwoPlaysMatchConvolutionOfTheSegments) {
    for (const double border : {12.5, 130.0}) {
        const PocketChances c = Pocket(border);
        const FirstPlay first = FirstPlayBySum(c);
        const Law segment = Mix(first.plain, 1.0, first.jackpot, 1.0);
        const Law bonus = BonusByConvolution(c);
        // After a plain play a normal segment follows; after a single bonus's
        // jackpot its bonus then a normal segment; after a chance entry the
        // first bonus is itself the second play.
        const Law afterJackpot = Mix(Convolve(bonus, segment), 1.0 - Entry, bonus, Entry);
        const Law two =
            Mix(Convolve(first.plain, segment), 1.0, Convolve(first.jackpot, afterJackpot), 1.0);
        const BalanceTable t = ExactBalance(border).Distribution(2);
        double worst = 0.0;
        for (const auto& [b, p] : two) {
            worst = std::max(worst, std::fabs(t.At(b) - p));
        }
        for (std::int64_t b = t.Lowest; b <= t.Highest(); ++b) {
            if (two.find(b) == two.end()) {
                worst = std::max(worst, std::fabs(t.At(b)));
            }
        }
        EXPECT_LT(worst, 1e-13) << border;
    }
}

TEST(ExactBalance, TablesAreLawsOnEveryBorder) {
    for (const double border : {1.0, 5.0, 12.5, 20.0, 125.0, 130.0, 200.0}) {
        for (const std::int64_t plays : {1, 2, 10, 300, 3000}) {
            const BalanceTable t = ExactBalance(border).Distribution(plays);
            long double sum = 0;
            double lowest = 0.0;
            for (const double p : t.Probability) {
                sum += p;
                lowest = std::min(lowest, p);
            }
            EXPECT_NEAR(static_cast<double>(sum), 1.0, 1e-12) << border << " " << plays;
            EXPECT_GT(lowest, -1e-12) << border << " " << plays;
        }
    }
}

TEST(ExactBalance, MeanAndSpreadAgreeWithTheMomentRecursion) {
    for (const double border : {5.0, 12.5, 130.0}) {
        const std::vector<Stats> rec = MomentsByRecursion(Pocket(border), 3000);
        const ExactBalance exact(border);
        for (const int plays : {1, 2, 3, 50, 1000, 3000}) {
            const BalanceTable t = exact.Distribution(plays);
            const Stats& r = rec[plays - 1];
            const double sd = std::sqrt(r.variance);
            EXPECT_NEAR(t.Mean, r.mean, 1e-7 * sd) << border << " " << plays;
            EXPECT_NEAR(t.Sd, sd, 1e-7 * sd) << border << " " << plays;
        }
        // Past the start-up the growth per play is the long-run mu and sigma^2.
        const MachineTheory theory = TheoryForBorder(border);
        const BalanceTable a = exact.Distribution(1000);
        const BalanceTable b = exact.Distribution(3000);
        EXPECT_NEAR((b.Mean - a.Mean) / 2000.0, theory.BallsPerPlay, 1e-6) << border;
        const double growth = (b.Sd * b.Sd - a.Sd * a.Sd) / 2000.0;
        const double sigma2 = theory.SdPerSqrtPlay * theory.SdPerSqrtPlay;
        EXPECT_NEAR(growth / sigma2, 1.0, 1e-6) << border;
        // ... while the reset machine's start shows as an offset from mu N.
        EXPECT_GT(std::fabs(a.Mean - 1000.0 * theory.BallsPerPlay), 1.0) << border;
    }
}

TEST(ExactBalance, TableQueries) {
    BalanceTable t;
    t.Lowest = -2;
    t.Probability = {0.1, 0.2, 0.3, 0.4};
    const struct {
        double q;
        std::int64_t b;
    } quantiles[] = {{0.0, -2}, {0.05, -2}, {0.1, -2}, {0.3, -1}, {0.31, 0}, {0.6, 0}, {0.95, 1}};
    for (const auto& c : quantiles) {
        EXPECT_EQ(t.Quantile(c.q), c.b) << c.q;
    }
    EXPECT_DOUBLE_EQ(t.PAhead(), 0.4);
    EXPECT_DOUBLE_EQ(t.Cumulative(0), 0.6);
    EXPECT_DOUBLE_EQ(t.Cumulative(-3), 0.0);
    EXPECT_DOUBLE_EQ(t.Cumulative(9), 1.0);
    EXPECT_EQ(t.At(5), 0.0);
    EXPECT_EQ(t.Highest(), 1);
}

TEST(ExactBalance, BandsOnOneGridMatchSeparateTables) {
    for (const double border : {12.5, 130.0}) {
        const ExactBalance exact(border);
        const std::vector<std::int64_t> plays = {0, 1, 7, 300, 1250, 3000};
        const std::vector<BandPoints> bands = exact.Bands(plays);
        ASSERT_EQ(bands.size(), plays.size());
        EXPECT_EQ(bands[0], (BandPoints{0, 0, 0, 0, 0}));
        for (std::size_t i = 1; i < plays.size(); ++i) {
            const BalanceTable t = exact.Distribution(plays[i]);
            for (std::size_t q = 0; q < BandLevels.size(); ++q) {
                EXPECT_EQ(bands[i][q], t.Quantile(BandLevels[q])) << border << " " << plays[i];
            }
        }
    }
}

TEST(ExactBalance, RefusesTablesThatWouldNotFit) {
    const ExactBalance nearTop(249.9);
    EXPECT_GT(nearTop.PointsFor(1000), ExactBalance::MaxPoints);
    EXPECT_THROW(nearTop.Distribution(1000), TableTooLarge);
    EXPECT_THROW(nearTop.Bands({10, 1000}), TableTooLarge);
    const ExactBalance usual(12.5);
    EXPECT_LT(usual.PointsFor(1000), usual.PointsFor(100000));
    EXPECT_LE(usual.PointsFor(100000), ExactBalance::MaxPoints);
}

TEST(ExactBalance, NoFirstHitIsTheChanceOfMissingEveryPlay) {
    EXPECT_EQ(NoFirstHitChance(0), 1.0);
    EXPECT_NEAR(NoFirstHitChance(1), 1.0 - Hit, 1e-16);
    EXPECT_NEAR(NoFirstHitChance(1000), std::exp(1000.0 * std::log1p(-Hit)), 1e-14);
    // About 1/e at the mean plays per hit.
    EXPECT_NEAR(NoFirstHitChance(397), std::exp(-1.0), 0.002);
}

TEST(ExactBalance, ThreadsShareTheTableWithoutChangingIt) {
    // Chunks of mirrored points: too few points for a second chunk, exactly
    // one chunk's worth, and several chunks over three threads.
    for (const std::int64_t plays : {1, 40, 2500, 20000}) {
        const ExactBalance exact(12.5);
        const BalanceTable one = exact.Distribution(plays);
        const BalanceTable three = exact.Distribution(plays, 3);
        EXPECT_EQ(one.Lowest, three.Lowest) << plays;
        EXPECT_EQ(one.Probability, three.Probability) << plays;
    }
}
