#include "app/results/RecordRun.h"

long long RecordPlays(Slot& machine, int plays, RunRecords& records) {
    records.Clear();
    if (plays <= 0) {
        return 0;
    }
    records.Reserve(static_cast<std::size_t>(plays));
    return machine.ShootUntil(plays, [&records](int s, int b, int c, int p, int m) {
        records.Append(s, b, c, p, m);
    });
}
