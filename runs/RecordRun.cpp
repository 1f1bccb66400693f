#include "runs/RecordRun.h"

#include "stats/BalanceLimit.h"

#include <cstdint>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// Large record sets are first touched page by page during the run; on Linux
// asking for huge pages for the whole 2 MiB blocks inside a vector saves most
// of those page faults. Only advice: nothing depends on it being followed.
void AdviseHugePages([[maybe_unused]] std::vector<std::int32_t>& v) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t Huge = std::uintptr_t{1} << 21;
    const auto begin = reinterpret_cast<std::uintptr_t>(v.data());
    const std::uintptr_t end = begin + v.capacity() * sizeof(std::int32_t);
    const std::uintptr_t first = (begin + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t last = end & ~(Huge - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
}

} // namespace

long long RecordPlays(Slot& machine, int plays, RunRecords& records) {
    records.Clear();
    if (plays <= 0) {
        return 0;
    }
    records.Reserve(static_cast<std::size_t>(plays));
    for (auto* v : {&records.SinceHitPlays, &records.BallCounts, &records.ChainCounts,
                    &records.PlayNumbers, &records.HitStates}) {
        AdviseHugePages(*v);
    }
    // The engine keeps its state in locals for the whole run; appending cannot
    // reach them, so a reallocation costs nothing per shot.
    return machine.ShootUntil(
        plays, [&records](int sinceHit, int balls, int chain, int playNo, int hitState) {
            records.Append(sinceHit, balls, chain, playNo, hitState);
            return !BalanceAtGuard(balls);
        });
}
