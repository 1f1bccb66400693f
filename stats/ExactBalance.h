#pragma once
// The whole distribution of the ball balance after N plays from a reset
// machine, computed from the machine's weights: the generating function of the
// balance is a 2×2 matrix power, evaluated on the unit circle and turned into
// the probability of every balance by one inverse FFT. See docs/THEORY.md.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

// The exact law of the balance after `Plays` plays.
struct BalanceTable {
    std::int64_t Plays = 0;
    std::int64_t Lowest = 0;         // the balance of Probability[0]
    std::vector<double> Probability; // P(balance = Lowest + i)
    double Mean = 0.0;               // from a reset machine, start-up included
    double Sd = 0.0;

    std::int64_t Highest() const {
        return Lowest + static_cast<std::int64_t>(Probability.size()) - 1;
    }
    double At(std::int64_t balance) const;
    // P(balance <= b).
    double Cumulative(std::int64_t balance) const;
    // P(balance > 0).
    double PAhead() const;
    // The smallest balance b with P(balance <= b) >= q.
    std::int64_t Quantile(double q) const;
};

// The table would need more evaluation points than the program allows.
class TableTooLarge : public std::length_error {
public:
    TableTooLarge(std::size_t needed, std::size_t allowed);
    std::size_t Needed() const { return Needed_; }

private:
    std::size_t Needed_;
};

// Five points of the balance: 5 %, 25 %, 50 %, 75 % and 95 %.
inline constexpr std::array<double, 5> BandLevels = {0.05, 0.25, 0.5, 0.75, 0.95};
using BandPoints = std::array<std::int64_t, 5>;

class ExactBalance {
public:
    // The most evaluation points (and table entries) one table may take:
    // 2^23, some 160 MB at the peak of one table.
    static constexpr std::size_t MaxPoints = std::size_t{1} << 23;
    // The most a band grid may take: its points are kept for every count,
    // some 120 MB at 2^21.
    static constexpr std::size_t MaxBandPoints = std::size_t{1} << 21;

    // The machine at `border` (plays per 1000 yen) with the engine's weights.
    explicit ExactBalance(double border);

    // Evaluation points a table of `plays` plays needs (a power of two), from
    // a tail bound that leaves less than 1e-13 of the mass outside the table.
    std::size_t PointsFor(std::int64_t plays) const;

    // The table after `plays` (>= 0) plays. Throws TableTooLarge.
    // Its points are worked out on `threads` threads (the same table for any count).
    BalanceTable Distribution(std::int64_t plays, int threads = 1) const;

    // BandLevels points at each of `plays` (ascending or not), the work shared
    // on one evaluation grid and spread over `threads` threads. Throws
    // TableTooLarge.
    std::vector<BandPoints> Bands(const std::vector<std::int64_t>& plays, int threads = 1) const;

private:
    double P0_, P1_, P2_;
};

// The exact figures a player asks about N plays from a reset machine.
struct ExactOdds {
    std::int64_t Plays = 0;
    double PAhead = 0.0; // P(balance > 0)
    double Mean = 0.0;
    double Sd = 0.0;
    double PNoFirstHit = 1.0;
    BandPoints Quantiles{}; // at BandLevels
};
ExactOdds OddsFrom(const BalanceTable& table);

// P(no jackpot within `plays` plays): every play before the first hit is a
// start-pocket entry in normal play, each a jackpot with chance 165/65536.
double NoFirstHitChance(std::int64_t plays);

// The play counts of the drought table.
inline constexpr std::array<int, 6> DroughtPlays = {100, 250, 500, 1000, 1500, 2000};
