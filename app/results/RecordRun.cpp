#include "app/results/RecordRun.h"

long long RecordPlays(Slot& machine, int plays, RunRecords& records) {
    records.Clear();
    if (plays <= 0) {
        return 0;
    }
    // Sized up front and filled through plain pointers, so nothing in the loop
    // can allocate and the engine's state stays in registers.
    const auto n = static_cast<std::size_t>(plays);
    records.SinceHitPlays.resize(n);
    records.BallCounts.resize(n);
    records.ChainCounts.resize(n);
    records.PlayNumbers.resize(n);
    records.HitStates.resize(n);
    std::int32_t* sinceHit = records.SinceHitPlays.data();
    std::int32_t* balls = records.BallCounts.data();
    std::int32_t* chain = records.ChainCounts.data();
    std::int32_t* playNo = records.PlayNumbers.data();
    std::int32_t* mode = records.HitStates.data();
    std::size_t k = 0;
    return machine.ShootUntil(plays, [&](int s, int b, int c, int p, int m) {
        sinceHit[k] = s;
        balls[k] = b;
        chain[k] = c;
        playNo[k] = p;
        mode[k] = m;
        ++k;
    });
}
