#include "stats/Theory.h"

#include "engine/Slot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Scale = 65536.0;
constexpr double RoundsPerBonus = 15.0;
constexpr double PayoutsPerRound = 9.0;
constexpr double AttackerPayouts = RoundsPerBonus * PayoutsPerRound; // 135 per bonus
constexpr double StartPayout = 3.0;
constexpr double AttackerPayout = 13.0;
constexpr double ExtraPayout = 14.0;

double Chance(int weight) {
    return weight / Scale;
}

// The part of [from, to) that lies on the 65536 scale, as a chance.
double ClippedShare(double from, double to) {
    const double lo = std::clamp(from, 0.0, Scale);
    const double hi = std::clamp(to, 0.0, Scale);
    return (hi - lo) / Scale;
}

// Number of failures before the first success of chance p: mean and variance.
Moments FailuresBeforeSuccess(double p) {
    return {(1.0 - p) / p, (1.0 - p) / (p * p)};
}

// A random sum of Count independent copies of Term (Wald and its variance rule).
Moments RandomSum(const Moments& count, const Moments& term) {
    return {count.Mean * term.Mean,
            count.Mean * term.Variance + count.Variance * term.Mean * term.Mean};
}

struct Cycle {
    double Plays = 0.0;   // expected plays per cycle
    double Shots = 0.0;   // expected shots per cycle
    double Balls = 0.0;   // expected change of the ball count per cycle
    double Bonuses = 0.0; // expected battle bonuses per cycle
    Moments Bonus;        // one bonus shot
};

// Expectations per cycle: the normal balls up to and including the jackpot
// ball, then the chain (a single bonus, or the chance mode's first bonus and
// its further won-and-continued bonuses).
Cycle CycleExpectations(const PocketChances& pocket) {
    const double hit = Chance(Slot::HitWeight);
    const double chanceEntry = Chance(Slot::EntryWeight);
    const double chanceEnd = 1.0 - Chance(Slot::ContinueWeight);
    const double chanceHit = Chance(Slot::ChanceHitWeight);
    const double jackpotPerBall = pocket.Start * hit;

    // Normal balls before the jackpot ball, and what one of them brings given
    // that it is not the jackpot ball.
    const double ballsBefore = (1.0 - jackpotPerBall) / jackpotPerBall;
    const double pocketNoHit = pocket.Start * (1.0 - hit) / (1.0 - jackpotPerBall);
    const double noPocket = (1.0 - pocket.Start) / (1.0 - jackpotPerBall);
    const double normalBall =
        pocketNoHit * (StartPayout - 1.0) - noPocket + ExtraPayout * pocket.Extra;

    const double laterBonuses = chanceEntry / chanceEnd; // chance mode's bonuses after its first
    const double lostChanceShots = laterBonuses * (1.0 - chanceHit) / chanceHit;

    Cycle c;
    c.Bonus = BonusBalls(pocket);
    c.Plays = 1.0 / hit + laterBonuses;
    c.Shots = 1.0 / jackpotPerBall + 1.0 + laterBonuses / chanceHit;
    c.Bonuses = 1.0 + laterBonuses;
    c.Balls =
        ballsBefore * normalBall + (StartPayout - 1.0) + c.Bonuses * c.Bonus.Mean - lostChanceShots;
    return c;
}

// Variance per cycle of D = balls - rate * plays, the quantity whose spread
// grows the balance's variance by Var(D) / E[plays] per play.
double CycleDeviationVariance(const PocketChances& pocket, const Cycle& c, double rate) {
    const double hit = Chance(Slot::HitWeight);
    const double chanceEntry = Chance(Slot::EntryWeight);
    const double chanceEnd = 1.0 - Chance(Slot::ContinueWeight);
    const double chanceHit = Chance(Slot::ChanceHitWeight);
    const double jackpotPerBall = pocket.Start * hit;

    // Normal phase: a geometric number of independent non-jackpot balls.
    const double pocketNoHit = pocket.Start * (1.0 - hit) / (1.0 - jackpotPerBall);
    const double noPocket = (1.0 - pocket.Start) / (1.0 - jackpotPerBall);
    const double withPlay = StartPayout - 1.0 - rate;
    const double baseMean = pocketNoHit * withPlay - noPocket;
    const double baseSquare = pocketNoHit * withPlay * withPlay + noPocket;
    Moments ball;
    ball.Mean = baseMean + ExtraPayout * pocket.Extra;
    const double square = baseSquare + 2.0 * ExtraPayout * pocket.Extra * baseMean +
                          ExtraPayout * ExtraPayout * pocket.Extra;
    ball.Variance = square - ball.Mean * ball.Mean;
    const double normalVariance = RandomSum(FailuresBeforeSuccess(jackpotPerBall), ball).Variance;

    // Chance mode after its first bonus: each further bonus costs the lost
    // shots before it and adds one play, except the last, which ends the mode.
    const Moments lost = FailuresBeforeSuccess(chanceHit);
    const Moments further{c.Bonus.Mean - lost.Mean - rate, c.Bonus.Variance + lost.Variance};
    const Moments count{1.0 / chanceEnd, (1.0 - chanceEnd) / (chanceEnd * chanceEnd)};
    const Moments tail = RandomSum(count, further);
    const double chanceMean = c.Bonus.Mean + tail.Mean;
    const double chanceVariance = c.Bonus.Variance + tail.Variance;
    // M further bonuses come with M plays: the first bonus's and M - 1 continued.

    const double single = 1.0 - chanceEntry;
    const double chainMean = single * c.Bonus.Mean + chanceEntry * chanceMean;
    const double chainSquare = single * (c.Bonus.Variance + c.Bonus.Mean * c.Bonus.Mean) +
                               chanceEntry * (chanceVariance + chanceMean * chanceMean);
    return normalVariance + (chainSquare - chainMean * chainMean);
}

} // namespace

PocketChances PocketChancesForWeight(double weight) {
    const double attackerEnd = weight + Slot::AttackerWeight;
    return {ClippedShare(0.0, weight), ClippedShare(weight, attackerEnd),
            ClippedShare(attackerEnd, attackerEnd + Slot::ExtraPocketWeight)};
}

Moments BonusBalls(const PocketChances& pocket) {
    // Every bonus ball makes three separate draws: start pocket, attacker, extra
    // pocket. The rounds end on the 135th attacker payout, so the balls shot
    // are a negative-binomial count with the attacker's chance.
    const double p = pocket.Attacker;
    const Moments shot{AttackerPayouts / p, AttackerPayouts * (1.0 - p) / (p * p)};
    Moments extras;
    extras.Mean = -1.0 + StartPayout * pocket.Start + ExtraPayout * pocket.Extra;
    extras.Variance = StartPayout * StartPayout * pocket.Start * (1.0 - pocket.Start) +
                      ExtraPayout * ExtraPayout * pocket.Extra * (1.0 - pocket.Extra);
    const Moments sum = RandomSum(shot, extras);
    return {-1.0 + AttackerPayouts * AttackerPayout + sum.Mean, sum.Variance};
}

double ChainLengthChance(int bonuses) {
    const double chanceEntry = Chance(Slot::EntryWeight);
    const double keep = Chance(Slot::ContinueWeight);
    if (bonuses < 1) {
        return 0.0;
    }
    if (bonuses == 1) {
        return 1.0 - chanceEntry;
    }
    return chanceEntry * std::pow(keep, bonuses - 2) * (1.0 - keep);
}

CycleFigures CycleFiguresForWeight(double weight) {
    const PocketChances pocket = PocketChancesForWeight(weight);
    const Cycle c = CycleExpectations(pocket);
    CycleFigures f;
    f.PlaysPerFirstHit = c.Plays;
    f.BonusesPerFirstHit = c.Bonuses;
    f.BallsPerBonus = c.Bonus.Mean;
    f.ShotsPerPlay = c.Shots / c.Plays;
    f.BallsPerPlay = c.Balls / c.Plays;
    f.SdPerSqrtPlay = std::sqrt(CycleDeviationVariance(pocket, c, f.BallsPerPlay) / c.Plays);
    return f;
}

double BreakEvenBorder() {
    auto perPlay = [](double border) {
        return CycleFiguresForWeight(Scale * border / 250.0).BallsPerPlay;
    };
    // The first whole border past which the machine pays, then bisection to
    // the last representable step.
    double lo = 1.0;
    double hi = 0.0;
    for (int b = 2; b < 250; ++b) {
        if (perPlay(b) >= 0.0) {
            hi = b;
            break;
        }
        lo = b;
    }
    if (hi == 0.0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    for (;;) {
        const double mid = lo + (hi - lo) / 2.0;
        if (mid <= lo || mid >= hi) {
            break;
        }
        (perPlay(mid) < 0.0 ? lo : hi) = mid;
    }
    return std::fabs(perPlay(lo)) <= std::fabs(perPlay(hi)) ? lo : hi;
}

MachineTheory TheoryForBorder(double border) {
    MachineTheory t;
    t.Weight = Slot::BorderWeight(border);
    static_cast<CycleFigures&>(t) = CycleFiguresForWeight(t.Weight);
    t.BreakEvenBorder = BreakEvenBorder();
    return t;
}

PlayOutlook OutlookForPlays(const MachineTheory& theory, std::int64_t plays, double rate) {
    PlayOutlook o;
    const double n = static_cast<double>(plays);
    o.MeanBalance = n * theory.BallsPerPlay;
    o.SdBalance = theory.SdPerSqrtPlay * std::sqrt(n);
    o.MeanYen = o.MeanBalance * rate;
    o.SdYen = o.SdBalance * rate;
    return o;
}
