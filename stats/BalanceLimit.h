#pragma once
// How far a run may go before its ball balance could leave the signed 32-bit
// range that the records and the run file hold.

#include "stats/Theory.h"

#include <cstdint>

// The line a running balance is stopped at: 2^31 less room for the largest
// single play (one bonus at the highest border pays some 2·10^7 balls).
inline constexpr std::int32_t BalanceGuard = 2147483647 - (1 << 27);

// Standard deviations of the balance kept between the expected balance and
// the guard: a run then reaches the guard about once in 10^9.
inline constexpr double BalanceSpreadMargin = 6.0;

// Whether `plays` plays keep |mean| + BalanceSpreadMargin · sd inside the guard.
bool BalanceFits(const MachineTheory& theory, std::int64_t plays);

// The largest play count, up to 2^31 - 1, that fits.
int MaxPlaysWithinBalance(const MachineTheory& theory);

// Whether a running balance has reached the guard and the run must stop.
constexpr bool BalanceAtGuard(std::int64_t balls) {
    return balls >= BalanceGuard || balls <= -BalanceGuard;
}
