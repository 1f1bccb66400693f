// The exact figures against long simulations of the engine on fixed seeds:
// each simulated figure must lie within four standard errors of the theory.
#include "stats/Theory.h"

#include "engine/Slot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct Sample {
    double Sum = 0.0;
    double SumSquares = 0.0;
    std::int64_t Count = 0;

    void Add(double x) {
        Sum += x;
        SumSquares += x * x;
        ++Count;
    }
    double Mean() const { return Sum / Count; }
    double Variance() const { return (SumSquares - Sum * Sum / Count) / (Count - 1); }
    double MeanError() const { return std::sqrt(Variance() / Count); }
};

struct Simulated {
    Sample FinalBalance; // one per run
    std::vector<double> Finals;
    Sample FirstHits;    // first hits per run
    Sample ChainBonuses; // bonuses of each ended chain
    Sample BonusBalls;   // change of the ball count on each bonus shot
    double ShotsPerPlay = 0.0;
};

// Runs of `plays` plays, shot by shot, each run from a reset machine.
Simulated Simulate(double border, int runs, int plays, std::uint32_t seed) {
    Slot machine;
    machine.Random().Seed(seed);
    Simulated s;
    std::int64_t shots = 0;
    for (int r = 0; r < runs; ++r) {
        machine.Reset();
        machine.SetBorder(border);
        int firstHits = 0;
        while (machine.PlayNo < plays) {
            const int modeBefore = machine.Mode;
            const int chainBefore = machine.Chain;
            const int ballsBefore = machine.Balls;
            const int playBefore = machine.PlayNo;
            machine.Shoot();
            ++shots;
            const bool bonusShot =
                modeBefore == 1 ||
                (modeBefore == 2 && (chainBefore == 1 || machine.Balls > ballsBefore));
            if (bonusShot) {
                s.BonusBalls.Add(machine.Balls - ballsBefore);
                if (machine.Mode == 0) {
                    s.ChainBonuses.Add(machine.Chain);
                }
            }
            if (machine.PlayNo != playBefore && machine.Mode != 0 && machine.Chain == 1) {
                ++firstHits;
            }
        }
        s.FinalBalance.Add(machine.Balls);
        s.FirstHits.Add(firstHits);
        s.Finals.push_back(machine.Balls);
    }
    s.ShotsPerPlay = static_cast<double>(shots) / (static_cast<double>(runs) * plays);
    return s;
}

void ExpectWithinFourErrors(double simulated, double error, double theory, const char* what) {
    EXPECT_LE(std::fabs(simulated - theory), 4.0 * error)
        << what << ": simulated " << simulated << " ± " << error << ", theory " << theory;
}

} // namespace

class TheoryAgreement : public testing::TestWithParam<double> {};

TEST_P(TheoryAgreement, SimulationLiesWithinFourStandardErrors) {
    const double border = GetParam();
    const int runs = 400;
    const int plays = 20000;
    const MachineTheory t = TheoryForBorder(border);
    const Simulated s = Simulate(border, runs, plays, 20261209u);

    ExpectWithinFourErrors(s.FinalBalance.Mean() / plays, s.FinalBalance.MeanError() / plays,
                           t.BallsPerPlay, "balls per play");
    // Plays over first hits counted in whole runs (intervals cut by a run's end
    // would bias a mean of intervals); its error by the delta method.
    const double hitsPerRun = s.FirstHits.Mean();
    ExpectWithinFourErrors(plays / hitsPerRun,
                           plays * s.FirstHits.MeanError() / (hitsPerRun * hitsPerRun),
                           t.PlaysPerFirstHit, "plays per first hit");
    ExpectWithinFourErrors(s.ChainBonuses.Mean(), s.ChainBonuses.MeanError(), t.BonusesPerFirstHit,
                           "bonuses per first hit");
    ExpectWithinFourErrors(s.BonusBalls.Mean(), s.BonusBalls.MeanError(), t.BallsPerBonus,
                           "balls per bonus");
    // Shots per play: about a million plays, the ratio's error is far below 1 %.
    EXPECT_NEAR(s.ShotsPerPlay, t.ShotsPerPlay, 0.01 * t.ShotsPerPlay);

    // Spread of the final balance: the sample variance against sigma^2 N, its
    // standard error from the sample's fourth central moment.
    double m2 = 0.0;
    double m4 = 0.0;
    const double mean = s.FinalBalance.Mean();
    for (const double b : s.Finals) {
        const double d = (b - mean) * (b - mean);
        m2 += d;
        m4 += d * d;
    }
    m2 /= runs;
    m4 /= runs;
    const double varianceError = std::sqrt((m4 - m2 * m2) / runs);
    const double theoryVariance = t.SdPerSqrtPlay * t.SdPerSqrtPlay * plays;
    ExpectWithinFourErrors(s.FinalBalance.Variance(), varianceError, theoryVariance,
                           "variance of the final balance");
}

INSTANTIATE_TEST_SUITE_P(Borders, TheoryAgreement, testing::Values(5.0, 12.5, 20.0, 130.0),
                         [](const testing::TestParamInfo<double>& info) {
                             return "Border" + std::to_string(static_cast<int>(info.param * 10));
                         });
