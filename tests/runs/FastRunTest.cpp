#include "engine/FastSlot.h"
#include "runs/RunDriver.h"
#include "runs/Study.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

Slot Machine(std::uint32_t seed, double border) {
    RandomSource source;
    source.Seed(seed);
    Slot m(source);
    m.Reset();
    m.SetBorder(border);
    return m;
}

// One Shoot per ball, as a shown run makes them.
RunRecords ByShoot(Slot& m, int plays) {
    RunRecords records;
    while (m.PlayNo < plays) {
        const int before = m.PlayNo;
        m.Shoot();
        if (m.PlayNo != before) {
            records.Append(m.SinceHit, m.Balls, m.Chain, m.PlayNo, m.Mode);
        }
    }
    return records;
}

} // namespace

// The runs and studies take the fast engine (the path YONATAMA_ENGINE picks);
// records, the machine left behind and every band balance are Shoot's.
TEST(FastRun, RecordsAndBandsAreThoseOfShoot) {
    const struct {
        std::uint32_t seed;
        double border;
        int plays;
    } cases[] = {{1, 12.5, 9000},  {99, 12.5, 5000}, {4294967295u, 20.0, 5000}, {7, 1.0, 1500},
                 {8, 125.0, 5000}, {9, 200.0, 5000}, {10, 124.99, 5000},        {11, 30.0, 1}};
    for (const auto& c : cases) {
        Slot reference = Machine(c.seed, c.border);
        const RunRecords expected = ByShoot(reference, c.plays);

        Slot machine = Machine(c.seed, c.border);
        RunRecords records;
        RecordPlays(machine, c.plays, records);
        EXPECT_EQ(records, expected) << "seed " << c.seed << " border " << c.border;
        EXPECT_EQ(machine.Random(), reference.Random());
        EXPECT_EQ(machine.Balls, reference.Balls);
        EXPECT_EQ(machine.Mode, reference.Mode);
        EXPECT_EQ(machine.Chain, reference.Chain);
        EXPECT_EQ(machine.SinceHit, reference.SinceHit);

        const std::vector<int> bands = BandPlayCounts(c.plays);
        std::vector<std::int32_t> got(bands.size());
        ASSERT_EQ(RunWithBands(c.seed, c.border, bands, got.data()), BandRun::Done);
        EXPECT_EQ(got[0], 0);
        for (std::size_t k = 1; k < bands.size(); ++k) {
            ASSERT_EQ(got[k], expected.BallCounts[bands[k] - 1])
                << "seed " << c.seed << " border " << c.border << " band " << k;
        }
    }
}
