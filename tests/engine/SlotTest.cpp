#include "engine/Slot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

struct Counters {
    int SinceHit, PlayNo, Balls, Mode, Chain;
    bool operator==(const Counters&) const = default;
};

Counters Of(const Slot& s) {
    return {s.SinceHit, s.PlayNo, s.Balls, s.Mode, s.Chain};
}

struct Play {
    int SinceHit, Balls, Chain, PlayNo, Mode;
    long long Shot; // shots made up to and including this play
};

// Resets the machine and records every play the way a run does.
std::vector<Play> RunPlays(Slot& slot, int plays, double border) {
    slot.Reset();
    slot.SetBorder(border);
    std::vector<Play> out;
    long long shots = 0;
    while (static_cast<int>(out.size()) < plays) {
        slot.Shoot();
        ++shots;
        if (slot.PlayNo != static_cast<int>(out.size())) {
            out.push_back({slot.SinceHit, slot.Balls, slot.Chain, slot.PlayNo, slot.Mode, shots});
        }
    }
    return out;
}

} // namespace

TEST(Slot, ConstructionAndReset) {
    Slot slot;
    EXPECT_EQ(Of(slot), (Counters{0, 0, 0, 0, 0}));
    EXPECT_TRUE(slot.PocketTable.empty());
    EXPECT_EQ(slot.HitTable, (Rate_TBL<int>{165}));
    EXPECT_EQ(slot.EntryTable, (Rate_TBL<int>{32768}));
    EXPECT_EQ(slot.ContinueTable, (Rate_TBL<int>{53739}));
    EXPECT_EQ(slot.ChanceHitTable, (Rate_TBL<int>{6553}));

    slot.SinceHit = 5;
    slot.PlayNo = 6;
    slot.Balls = -7;
    slot.Mode = 2;
    slot.Chain = 3;
    slot.SetBorder(20);
    slot.Reset();
    EXPECT_EQ(Of(slot), (Counters{0, 0, 0, 0, 0}));
    EXPECT_EQ(slot.PocketTable, (Rate_TBL<int>{3276, 32768, 131}));
}

TEST(Slot, ResetLeavesTheRandomSourceAlone) {
    Slot slot;
    slot.Random().Seed(1);
    slot.Random().Next();
    const RandomSource before = slot.Random();
    slot.Reset();
    EXPECT_EQ(slot.Random(), before);
}

TEST(Slot, BorderWeightsAreTruncated) {
    const std::vector<std::pair<double, int>> cases = {
        {1, 262},   {12, 3145},   {12.5, 3276}, {13, 3407},      {20, 5242},
        {25, 6553}, {125, 32768}, {0.5, 131},   {249.99, 65533}, {249.9999, 65535},
    };
    Slot slot;
    for (const auto& [border, weight] : cases) {
        slot.SetBorder(border);
        EXPECT_EQ(slot.PocketTable, (Rate_TBL<int>{weight, 32768, 131})) << "border " << border;
    }
}

// From 250 up the weight would reach the whole scale and no bonus round could
// end; the weight is held one below it, and nonsense borders land at the ends.
TEST(Slot, BorderWeightIsLimitedSoEveryShotEnds) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::pair<double, int>> cases = {
        {250, 65535}, {1000, 65535}, {1e300, 65535}, {inf, 65535}, {nan, 65535},
        {0, 0},       {-0.0, 0},     {-3, 0},        {-inf, 0},    {1e-300, 0},
    };
    for (const auto& [border, weight] : cases) {
        EXPECT_EQ(Slot::BorderWeight(border), weight) << "border " << border;
    }
}

TEST(Slot, BonusEndsEvenAtTheLargestBorderWeight) {
    Slot slot;
    slot.Random().Seed(3);
    slot.Reset();
    slot.SetBorder(std::numeric_limits<double>::quiet_NaN());
    slot.Mode = 1;
    slot.Chain = 1;
    slot.Shoot(); // one whole bonus with the attacker open on one draw in 65536
    EXPECT_EQ(slot.Mode, 0);
    EXPECT_EQ(slot.SinceHit, 0);
    EXPECT_EQ(slot.PlayNo, 0);
}

TEST(Slot, ReferenceSequenceFirstTenPlays) {
    Slot slot;
    slot.Random().Seed(1);
    const std::vector<Play> plays = RunPlays(slot, 10, 12.5);
    const int balls[] = {-25, -24, -78, -83, -85, -158, -196, -208, -242, -257};
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(plays[k].PlayNo, k + 1);
        EXPECT_EQ(plays[k].SinceHit, k + 1);
        EXPECT_EQ(plays[k].Chain, 0);
        EXPECT_EQ(plays[k].Mode, 0);
        EXPECT_EQ(plays[k].Balls, balls[k]) << "play " << k + 1;
    }
    EXPECT_EQ(plays[9].Shot, 287);
}

TEST(Slot, ReferenceSequenceFirstChain) {
    Slot slot;
    slot.Random().Seed(1);
    const std::vector<Play> plays = RunPlays(slot, 66, 12.5);
    for (int k = 0; k < 57; ++k) {
        EXPECT_EQ(plays[k].Mode, 0) << "play " << k + 1;
    }
    for (int p = 58; p <= 65; ++p) {
        EXPECT_EQ(plays[p - 1].Mode, 2) << "play " << p;
        EXPECT_EQ(plays[p - 1].Chain, p - 57) << "play " << p;
    }
    EXPECT_EQ(plays[65].Mode, 0);
    EXPECT_EQ(plays[65].SinceHit, 1);
    EXPECT_EQ(plays[65].Chain, 8); // kept until the next jackpot
}

TEST(Slot, ReferenceSequenceTwoThousandPlays) {
    Slot slot;
    slot.Random().Seed(1);
    const std::vector<Play> plays = RunPlays(slot, 2000, 12.5);
    EXPECT_EQ(plays.back().Balls, 34652);
    EXPECT_EQ(plays.back().Shot, 39836);
    EXPECT_EQ(plays.back().PlayNo, 2000);
}

// Each shot's effect checked against the machine's transition table over long runs.
TEST(Slot, EveryShotFollowsTheTransitionTable) {
    Slot slot;
    for (const double border : {1.0, 12.5, 40.0, 124.0}) {
        slot.Random().Seed(static_cast<std::uint32_t>(border * 7));
        slot.Reset();
        slot.SetBorder(border);
        int singles = 0, chanceMisses = 0, jackpots = 0;
        for (int shot = 0; shot < 200000; ++shot) {
            const Counters b = Of(slot);
            slot.Shoot();
            const Counters a = Of(slot);
            ASSERT_GE(a.PlayNo - b.PlayNo, 0);
            ASSERT_LE(a.PlayNo - b.PlayNo, 1);
            if (b.Mode == 0) {
                if (a.Mode != 0) {
                    ++jackpots;
                    ASSERT_EQ(a.Balls - b.Balls, 2); // -1 shot, +3 start pocket, no 14-ball draw
                    ASSERT_EQ(a.Chain, 1);
                    ASSERT_EQ(a.PlayNo, b.PlayNo + 1);
                    ASSERT_EQ(a.SinceHit, b.SinceHit + 1);
                } else {
                    ASSERT_EQ(a.Chain, b.Chain);
                    ASSERT_EQ(a.SinceHit - b.SinceHit, a.PlayNo - b.PlayNo);
                    const int paid = a.Balls - b.Balls + 1 - 3 * (a.PlayNo - b.PlayNo);
                    ASSERT_TRUE(paid == 0 || paid == 14) << paid;
                }
            } else if (b.Mode == 1) {
                ++singles;
                ASSERT_EQ(a.Mode, 0);
                ASSERT_EQ(a.SinceHit, 0);
                ASSERT_EQ(a.PlayNo, b.PlayNo);
                ASSERT_EQ(a.Chain, 1);
                ASSERT_GT(a.Balls - b.Balls, 1000); // 1755 from the attacker less the balls shot
            } else if (b.Chain == 1) {
                ASSERT_EQ(a.Mode, 2); // the first bonus always keeps the mode
                ASSERT_EQ(a.Chain, 2);
                ASSERT_EQ(a.PlayNo, b.PlayNo + 1);
            } else if (a.Balls - b.Balls == -1) {
                ++chanceMisses;
                ASSERT_EQ(a.Mode, 2);
                ASSERT_EQ(a.Chain, b.Chain);
                ASSERT_EQ(a.PlayNo, b.PlayNo);
                ASSERT_EQ(a.SinceHit, b.SinceHit);
            } else if (a.Mode == 2) {
                ASSERT_EQ(a.Chain, b.Chain + 1);
                ASSERT_EQ(a.PlayNo, b.PlayNo + 1);
                ASSERT_EQ(a.SinceHit, b.SinceHit + 1);
            } else {
                ASSERT_EQ(a.Mode, 0);
                ASSERT_EQ(a.SinceHit, 0);
                ASSERT_EQ(a.Chain, b.Chain);
                ASSERT_EQ(a.PlayNo, b.PlayNo);
            }
        }
        EXPECT_GT(jackpots, 0) << border;
        EXPECT_GT(singles, 0) << border;
        EXPECT_GT(chanceMisses, 0) << border;
    }
}

// A second, plainly written model of the machine with the table lookups spelled
// out as thresholds; both must agree shot for shot.
namespace {

struct PlainMachine {
    RandomSource rng;
    int borderWeight = 0;
    int sinceHit = 0, playNo = 0, balls = 0, mode = 0, chain = 0;

    int Pocket() {
        const int r = rng.Draw16();
        if (r < borderWeight) {
            return 0;
        }
        if (r < borderWeight + 32768) {
            return 1;
        }
        return r < borderWeight + 32768 + 131 ? 2 : 3;
    }
    bool Yes(int weight) { return rng.Draw16() < weight; }

    void Shoot() {
        --balls;
        if (mode == 0) {
            if (Pocket() == 0) {
                ++playNo;
                ++sinceHit;
                balls += 3;
                if (Yes(165)) {
                    chain = 1;
                    mode = Yes(32768) ? 2 : 1;
                    return;
                }
            }
            if (Pocket() == 2) {
                balls += 14;
            }
            return;
        }
        if (mode == 2 && chain != 1 && !Yes(6553)) {
            return;
        }
        for (int round = 0; round < 15; ++round) {
            for (int count = 0; count < 9;) {
                --balls;
                balls += Pocket() == 0 ? 3 : 0;
                if (Pocket() == 1) {
                    balls += 13;
                    ++count;
                }
                balls += Pocket() == 2 ? 14 : 0;
            }
        }
        if (mode == 1) {
            sinceHit = 0;
            mode = 0;
        } else if (chain != 1 && !Yes(53739)) {
            sinceHit = 0;
            mode = 0;
        } else {
            ++playNo;
            ++sinceHit;
            ++chain;
        }
    }
};

} // namespace

TEST(Slot, AgreesWithPlainModelShotByShot) {
    Slot slot;
    for (const double border : {1.0, 7.3, 12.5, 60.0, 100.0}) {
        slot.Random().Seed(static_cast<std::uint32_t>(border * 1000));
        slot.Reset();
        slot.SetBorder(border);
        PlainMachine plain;
        plain.rng = slot.Random();
        plain.borderWeight = slot.PocketTable[0];
        for (int shot = 0; shot < 100000; ++shot) {
            slot.Shoot();
            plain.Shoot();
            ASSERT_EQ(Of(slot), (Counters{plain.sinceHit, plain.playNo, plain.balls, plain.mode,
                                          plain.chain}))
                << "border " << border << " shot " << shot;
            ASSERT_EQ(slot.Random(), plain.rng);
        }
    }
}

namespace {

using PlayLog = std::vector<std::vector<int>>;

PlayLog ByShoot(Slot& slot, int plays) {
    PlayLog log;
    while (slot.PlayNo < plays) {
        const int before = slot.PlayNo;
        slot.Shoot();
        if (slot.PlayNo != before) {
            log.push_back({slot.SinceHit, slot.Balls, slot.Chain, slot.PlayNo, slot.Mode});
        }
    }
    return log;
}

} // namespace

// ShootUntil is the run loop with the state kept in locals; it must make the
// very same shots as Shoot, also for tables of an unusual shape.
TEST(Slot, ShootUntilMatchesRepeatedShoot) {
    const std::vector<Rate_TBL<int>> pockets = {
        {3276, 32768, 131},     {262, 32768, 131},  {40000, 20000, 131},
        {3000, 32768, 131, 50}, {3276, 32768, -50}, {3276, 30000},
    };
    Slot slot;
    for (std::size_t t = 0; t < pockets.size(); ++t) {
        slot.Random().Seed(static_cast<std::uint32_t>(100 + t));
        slot.Reset();
        slot.PocketTable = pockets[t];
        const PlayLog expected = ByShoot(slot, 3000);
        const Counters after = Of(slot);
        const RandomSource rngAfter = slot.Random();

        slot.Random().Seed(static_cast<std::uint32_t>(100 + t));
        slot.Reset();
        slot.PocketTable = pockets[t];
        PlayLog log;
        slot.ShootUntil(3000, [&log](int s, int b, int c, int p, int m) {
            log.push_back({s, b, c, p, m});
        });
        EXPECT_EQ(log, expected) << "table " << t;
        EXPECT_EQ(Of(slot), after) << "table " << t;
        EXPECT_EQ(slot.Random(), rngAfter) << "table " << t;
    }
}
