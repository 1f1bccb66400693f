#include "app/results/RecordRun.h"

long long RecordPlays(Slot& machine, int plays, RunRecords& records) {
    records.Clear();
    if (plays <= 0) {
        return 0;
    }
    // Sized up front and filled through plain pointers: with no possible
    // allocation inside the loop the engine's state can stay in registers.
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

    long long shots = 0;
    int recorded = 0;
    while (recorded < plays) {
        machine.Shoot();
        ++shots;
        // PlayNo grows by at most one per shot, exactly on the shots that make a play.
        if (machine.PlayNo != recorded) {
            sinceHit[recorded] = machine.SinceHit;
            balls[recorded] = machine.Balls;
            chain[recorded] = machine.Chain;
            playNo[recorded] = machine.PlayNo;
            mode[recorded] = machine.Mode;
            ++recorded;
        }
    }
    return shots;
}
