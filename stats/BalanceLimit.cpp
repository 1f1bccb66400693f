#include "stats/BalanceLimit.h"

#include <cmath>
#include <limits>

bool BalanceFits(const MachineTheory& theory, std::int64_t plays) {
    const double n = static_cast<double>(plays);
    const double reach = std::fabs(theory.BallsPerPlay) * n +
                         BalanceSpreadMargin * theory.SdPerSqrtPlay * std::sqrt(n);
    // NaN figures fit nothing.
    return reach < static_cast<double>(BalanceGuard);
}

int MaxPlaysWithinBalance(const MachineTheory& theory) {
    // The reach grows with the play count, so the largest fitting count is
    // found by halving.
    std::int64_t fits = 0;
    std::int64_t fails = std::int64_t{std::numeric_limits<int>::max()} + 1;
    while (fails - fits > 1) {
        const std::int64_t mid = fits + (fails - fits) / 2;
        (BalanceFits(theory, mid) ? fits : fails) = mid;
    }
    return static_cast<int>(fits);
}
