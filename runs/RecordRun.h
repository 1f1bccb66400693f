#pragma once
// A run without display: shoot until the asked number of plays is recorded.

#include "engine/Slot.h"
#include "runfile/RunRecords.h"

// Replaces `records` by the plays of one run of `plays` plays, the engine's
// counters appended after each play. The caller resets the machine and sets
// its border first (PlayNo 0). The run ends early, after the play whose
// balance reached BalanceGuard (stats/BalanceLimit), so every recorded balance
// fits 32 bits: fewer records than plays tell the caller. Returns the number
// of shots made.
long long RecordPlays(Slot& machine, int plays, RunRecords& records);
