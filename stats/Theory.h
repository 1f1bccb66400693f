#pragma once
// The machine's long-run figures, solved exactly from its weights.
//
// The play process renews itself every time the machine returns to normal
// play: a cycle is the normal balls up to a jackpot, then the chain that
// jackpot starts. Cycles are independent and alike, so every long-run figure
// is a ratio of per-cycle expectations (renewal-reward), and the spread of the
// balance follows from the per-cycle variance. See docs/THEORY.md.

#include <cstdint>

// Chances of the pocket table's outcomes per draw for a start-pocket weight
// that may be any real number (the table clips every outcome to the 65536 scale).
struct PocketChances {
    double Start = 0.0;    // outcome 0: start pocket, 3 balls
    double Attacker = 0.0; // outcome 1: attacker, 13 balls inside a bonus round
    double Extra = 0.0;    // outcome 2: 14 balls
};
PocketChances PocketChancesForWeight(double weight);

// Mean and variance of one random quantity.
struct Moments {
    double Mean = 0.0;
    double Variance = 0.0;
};

// The change of the ball count over the shot that plays one battle bonus,
// that shot's own ball included.
Moments BonusBalls(const PocketChances& pocket);

// Chance that a chain pays exactly `bonuses` battle bonuses (1, 2, ...).
double ChainLengthChance(int bonuses);

// Long-run figures for one start-pocket weight (real-valued, so the break-even
// border can be solved without the engine's truncation).
struct CycleFigures {
    double PlaysPerFirstHit = 0.0;
    double BonusesPerFirstHit = 0.0;
    double BallsPerBonus = 0.0;
    double ShotsPerPlay = 0.0;
    double BallsPerPlay = 0.0;
    double SdPerSqrtPlay = 0.0;
};
CycleFigures CycleFiguresForWeight(double weight);

// Everything the theory says about one border (plays per 1000 yen, 1 <= border < 250).
struct MachineTheory : CycleFigures {
    int Weight = 0; // the start-pocket weight the engine uses for this border
    double BreakEvenBorder = 0.0;
};
MachineTheory TheoryForBorder(double border);

// The border at which the expected balance per play is zero, the start-pocket
// weight taken as the real number 65536 / (250 / border).
double BreakEvenBorder();

// What N plays bring in the long run: mu N and sigma sqrt N. The chance of
// being ahead and the points of the balance come from the exact table
// (ExactBalance.h): the balance is far too skewed for a normal curve.
struct PlayOutlook {
    double MeanBalance = 0.0;
    double SdBalance = 0.0;
    double MeanYen = 0.0;
    double SdYen = 0.0;
};
PlayOutlook OutlookForPlays(const MachineTheory& theory, std::int64_t plays, double rate);
