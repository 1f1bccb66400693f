#pragma once
// A run without display: shoot until the asked number of plays is recorded.

#include "engine/Slot.h"
#include "runfile/RunRecords.h"

// Replaces `records` by the plays of one run of `plays` plays, the engine's
// counters appended after each play. The caller resets the machine and sets
// its border first (PlayNo 0). Returns the number of shots made.
long long RecordPlays(Slot& machine, int plays, RunRecords& records);
