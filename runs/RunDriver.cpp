#include "runs/RunDriver.h"

#include "engine/FastSlot.h"
#include "runfile/RunFile.h"
#include "stats/BalanceLimit.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

// Appends the plays the fast engine kept in `out`.
void AppendBlock(RunRecords& records, const PlayColumns& out, int made) {
    records.SinceHitPlays.insert(records.SinceHitPlays.end(), out.SinceHit, out.SinceHit + made);
    records.BallCounts.insert(records.BallCounts.end(), out.Balls, out.Balls + made);
    records.ChainCounts.insert(records.ChainCounts.end(), out.Chain, out.Chain + made);
    records.PlayNumbers.insert(records.PlayNumbers.end(), out.PlayNo, out.PlayNo + made);
    records.HitStates.insert(records.HitStates.end(), out.Mode, out.Mode + made);
}

// How many of the block's `made` plays come before the guard: up to and
// including the first whose balance reached it.
int PlaysWithinGuard(const PlayColumns& out, int made) {
    for (int i = 0; i < made; ++i) {
        if (BalanceAtGuard(out.Balls[i])) {
            return i + 1;
        }
    }
    return made;
}

// The counters of the last play kept.
void StoreLastPlay(Slot& machine, const RunRecords& records) {
    machine.SinceHit = records.SinceHitPlays.back();
    machine.Balls = records.BallCounts.back();
    machine.Chain = records.ChainCounts.back();
    machine.PlayNo = records.PlayNumbers.back();
    machine.Mode = records.HitStates.back();
}

// Widens `path` by the balances of the plays the fast engine kept in `out`.
void WidenPath(RunPath& path, const PlayColumns& out, int made) {
    for (int i = 0; i < made; ++i) {
        path.Lowest = std::min(path.Lowest, out.Balls[i]);
        path.Highest = std::max(path.Highest, out.Balls[i]);
    }
}

// DrivePlays on the fast engine, which took over `machine`; the machine's
// counters are brought up to date before every look and at the end, its
// source by the caller once the engine is done.
bool DriveFast(Slot& machine, FastSlot& fast, int plays, RunRecords* records, int every,
               const RunLook& look, long long* shots, RunPath* path = nullptr) {
    const long long shotsBefore = fast.Shots();
    std::unique_ptr<PlayBlock> block;
    PlayColumns out;
    const bool keep = records != nullptr || path != nullptr;
    if (keep) {
        block = std::make_unique_for_overwrite<PlayBlock>();
        out = block->Columns();
    }
    bool going = true;
    bool atGuard = false;
    while (going && fast.PlayNo() < plays) {
        const int target = NextStopCheck(fast.PlayNo(), plays, every);
        while (!atGuard && fast.PlayNo() < target) {
            const int made = fast.Run(target, keep ? &out : nullptr);
            if (records != nullptr) {
                const int kept = PlaysWithinGuard(out, made);
                AppendBlock(*records, out, kept);
                atGuard = kept < made || BalanceAtGuard(fast.Balls());
                if (kept < made) {
                    if (shots != nullptr) {
                        *shots += fast.Shots() - shotsBefore;
                    }
                    return false;
                }
            } else if (path != nullptr) {
                WidenPath(*path, out, made);
            }
            // One call makes about a million draws, far less than the room
            // left above the guard, so the balance is still a 32-bit one.
            atGuard = atGuard || BalanceAtGuard(fast.Balls());
        }
        fast.StoreCounters(machine);
        going = !atGuard && (!look || look());
    }
    fast.StoreCounters(machine);
    if (shots != nullptr) {
        *shots += fast.Shots() - shotsBefore;
    }
    return going;
}

// The fast engine runs whatever it can, except a run that looks after every
// play (the slow speeds): that one stays on Slot::Shoot's own loop.
bool Fast(const Slot& machine, int every) {
    return every > 1 && FastSlot::Supports(machine);
}

} // namespace

int NextStopCheck(int playNo, int target, int step) {
    // Added as a difference, which cannot overflow where a sum near 2^31 would.
    return target - playNo > step ? playNo + step : std::max(target, playNo);
}

bool DrivePlays(Slot& machine, int plays, RunRecords* records, int every, const RunLook& look,
                long long* shots, RunPath* path) {
    every = std::max(every, 1);
    if (Fast(machine, every) && machine.PlayNo < plays) {
        FastSlot fast(machine);
        const bool going = DriveFast(machine, fast, plays, records, every, look, shots, path);
        fast.StoreInto(machine);
        if (records != nullptr && records->Size() > 0 &&
            BalanceAtGuard(records->BallCounts.back())) {
            // The engine may have gone on inside its block; the machine ends
            // at the play that reached the guard.
            StoreLastPlay(machine, *records);
        }
        return going;
    }
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
        } else if (path != nullptr) {
            made += machine.ShootUntil(target, [path](int, int balls, int, int, int) {
                path->Lowest = std::min(path->Lowest, balls);
                path->Highest = std::max(path->Highest, balls);
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
    ReserveRecords(records, static_cast<std::size_t>(plays));
    long long shots = 0;
    DrivePlays(machine, plays, &records, plays, {}, &shots);
    return shots;
}

namespace {

// The study's block: one per thread for its whole life, as a study makes
// thousands of short runs and each would otherwise allocate its own.
PlayBlock& ThreadBlock() {
    thread_local std::unique_ptr<PlayBlock> block;
    if (block == nullptr) {
        block = std::make_unique_for_overwrite<PlayBlock>();
    }
    return *block;
}

// SampleBands on the fast engine. Bands are often a few plays apart, so the
// look comes every LookEveryPlays plays across them, not at each band.
bool SampleFast(Slot& machine, FastSlot& fast, const std::vector<int>& bandPlays,
                std::int32_t* balances, const RunLook& look, RunPath* path) {
    PlayColumns out;
    if (path != nullptr) {
        out = ThreadBlock().Columns();
    }
    const int last = bandPlays.empty() ? fast.PlayNo() : bandPlays.back();
    int lookAt = NextStopCheck(fast.PlayNo(), last, LookEveryPlays);
    for (std::size_t k = 0; k < bandPlays.size(); ++k) {
        while (fast.PlayNo() < bandPlays[k]) {
            const int made =
                fast.Run(std::min(bandPlays[k], lookAt), path != nullptr ? &out : nullptr);
            if (path != nullptr) {
                WidenPath(*path, out, made);
            }
            if (BalanceAtGuard(fast.Balls())) {
                return false;
            }
            if (fast.PlayNo() >= lookAt) {
                fast.StoreCounters(machine);
                if (!look()) {
                    return false;
                }
                lookAt = NextStopCheck(fast.PlayNo(), last, LookEveryPlays);
            }
        }
        balances[k] = fast.Balls();
    }
    return true;
}

} // namespace

bool SampleBands(Slot& machine, const std::vector<int>& bandPlays, std::int32_t* balances,
                 std::stop_token stop, std::atomic<std::int64_t>* playsDone, RunPath* path) {
    int counted = machine.PlayNo;
    const RunLook look = [&] {
        if (playsDone != nullptr) {
            playsDone->fetch_add(machine.PlayNo - counted, std::memory_order_relaxed);
        }
        counted = machine.PlayNo;
        return !stop.stop_requested();
    };
    if (Fast(machine, LookEveryPlays)) {
        // One fast engine for every band, so its draws made ahead serve the next.
        FastSlot fast(machine);
        const bool going = SampleFast(machine, fast, bandPlays, balances, look, path);
        fast.StoreInto(machine);
        return going;
    }
    bool going = true;
    for (std::size_t k = 0; going && k < bandPlays.size(); ++k) {
        going = DrivePlays(machine, bandPlays[k], nullptr, LookEveryPlays, look, nullptr, path);
        if (going) {
            balances[k] = machine.Balls;
        }
    }
    return going;
}

int FinalBalance(Slot& machine, int plays) {
    DrivePlays(machine, plays, nullptr, plays, {});
    return machine.Balls;
}
