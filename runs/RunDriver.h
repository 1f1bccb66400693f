#pragma once
// One way to play the machine for every caller (the window's run and batch,
// the companion's run, the study): each keeps only what it asks for, every
// play's record, the balance at chosen play counts, or where the run ends.

#include "engine/Slot.h"
#include "runfile/RunRecords.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

// Plays between two looks at the caller's stop request and progress: about a
// millisecond of work, so a cancel is seen at once while the look costs nothing.
inline constexpr int LookEveryPlays = 4096;

// The lowest and highest balance a run recorded over its plays, 0 (its
// start) included.
struct RunPath {
    std::int32_t Lowest = 0;
    std::int32_t Highest = 0;
};

// Called after each stretch of plays; false stops the run there.
using RunLook = std::function<bool()>;

// The play count a stretch shoots up to: `step` plays on from `playNo`, never
// past `target` (nor past 2^31 - 1).
int NextStopCheck(int playNo, int target, int step);

// Plays `machine` on until PlayNo reaches `plays`, appending every play's
// counters to `records` when given, else widening `path` by every recorded
// balance when given. After every `every` plays (and the last) calls `look`
// when set. Returns false when `look` stopped the run, or when a play's
// balance reached BalanceGuard (stats/BalanceLimit): the run stops after that
// play, so every balance kept fits 32 bits, and BalanceAtGuard(machine.Balls)
// tells the two apart. Adds the shots made to
// `shots` when given.
bool DrivePlays(Slot& machine, int plays, RunRecords* records, int every, const RunLook& look,
                long long* shots = nullptr, RunPath* path = nullptr);

// Replaces `records` by the plays of one run of `plays` plays. The caller
// resets the machine and sets its border first (PlayNo 0). A run stopped at
// the balance guard holds fewer records than plays. Returns the number of
// shots made.
long long RecordPlays(Slot& machine, int plays, RunRecords& records);

// Plays on to each of `bandPlays` (ascending) and writes the balance (balls)
// there to `balances` (same length), the run's path to `path` when given.
// Returns false when stopped or at the balance guard (the balances are then
// incomplete). Adds the plays made to `playsDone` as it goes.
bool SampleBands(Slot& machine, const std::vector<int>& bandPlays, std::int32_t* balances,
                 std::stop_token stop = {}, std::atomic<std::int64_t>* playsDone = nullptr,
                 RunPath* path = nullptr);

// Plays on to `plays` plays keeping nothing; the balance (balls) at the end.
int FinalBalance(Slot& machine, int plays);
