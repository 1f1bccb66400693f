#include "runs/RunDriver.h"

#include "stats/BalanceLimit.h"

#include <algorithm>
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

int NextStopCheck(int playNo, int target, int step) {
    // Added as a difference, which cannot overflow where a sum near 2^31 would.
    return target - playNo > step ? playNo + step : std::max(target, playNo);
}

bool DrivePlays(Slot& machine, int plays, RunRecords* records, int every, const RunLook& look,
                long long* shots) {
    every = std::max(every, 1);
    long long made = 0;
    bool going = true;
    while (going && machine.PlayNo < plays) {
        const int target = NextStopCheck(machine.PlayNo, plays, every);
        // The engine keeps its state in locals for the whole stretch;
        // appending cannot reach them, so a reallocation costs nothing per shot.
        if (records != nullptr) {
            made += machine.ShootUntil(
                target, [records](int sinceHit, int balls, int chain, int playNo, int hitState) {
                    records->Append(sinceHit, balls, chain, playNo, hitState);
                    return !BalanceAtGuard(balls);
                });
        } else {
            made += machine.ShootUntil(
                target, [](int, int balls, int, int, int) { return !BalanceAtGuard(balls); });
        }
        going = !BalanceAtGuard(machine.Balls) && (!look || look());
    }
    if (shots != nullptr) {
        *shots += made;
    }
    return going;
}

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
    long long shots = 0;
    DrivePlays(machine, plays, &records, plays, {}, &shots);
    return shots;
}

bool SampleBands(Slot& machine, const std::vector<int>& bandPlays, std::int32_t* balances,
                 std::stop_token stop, std::atomic<std::int64_t>* playsDone) {
    int counted = machine.PlayNo;
    const RunLook look = [&] {
        if (playsDone != nullptr) {
            playsDone->fetch_add(machine.PlayNo - counted, std::memory_order_relaxed);
        }
        counted = machine.PlayNo;
        return !stop.stop_requested();
    };
    for (std::size_t k = 0; k < bandPlays.size(); ++k) {
        if (!DrivePlays(machine, bandPlays[k], nullptr, LookEveryPlays, look)) {
            return false;
        }
        balances[k] = machine.Balls;
    }
    return true;
}

int FinalBalance(Slot& machine, int plays) {
    DrivePlays(machine, plays, nullptr, plays, {});
    return machine.Balls;
}
