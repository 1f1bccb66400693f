#pragma once
// A run without display: shoot until the asked number of plays is recorded.

#include "engine/Slot.h"
#include "runfile/RunRecords.h"

// Empties `records`, then shoots `machine` until `plays` plays are recorded,
// appending the engine's counters after each. The caller resets the machine
// and sets its border first. Returns the number of shots made.
long long RecordPlays(Slot& machine, int plays, RunRecords& records);
