#include "engine/FastSlot.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Record {
    int SinceHit, Balls, Chain, PlayNo, Mode;
    bool operator==(const Record&) const = default;
};

struct Outcome {
    std::vector<Record> Records;
    int SinceHit, PlayNo, Balls, Mode, Chain;
    std::uint64_t State;
    long long Shots;
    bool operator==(const Outcome&) const = default;
};

Outcome Ending(const Slot& m, std::vector<Record> records, long long shots) {
    return {std::move(records), m.SinceHit, m.PlayNo, m.Balls, m.Mode, m.Chain,
            m.Random().State(), shots};
}

Slot Machine(std::uint32_t seed, double border) {
    RandomSource source;
    source.Seed(seed);
    Slot m(source);
    m.Reset();
    m.SetBorder(border);
    return m;
}

// The reference: one Shoot per ball, a record whenever PlayNo grows.
Outcome ByShoot(Slot m, int plays) {
    std::vector<Record> records;
    long long shots = 0;
    while (m.PlayNo < plays) {
        const int before = m.PlayNo;
        m.Shoot();
        ++shots;
        if (m.PlayNo != before) {
            records.push_back({m.SinceHit, m.Balls, m.Chain, m.PlayNo, m.Mode});
        }
    }
    return Ending(m, std::move(records), shots);
}

// The fast engine, its plays taken `chunk` at a time and its draws cut off
// every `budget` draws, so that calls end at every kind of point.
Outcome ByFast(Slot m, int plays, EnginePath path, int chunk, long long budget) {
    FastSlot fast(m, path);
    std::vector<std::int32_t> s(chunk), b(chunk), c(chunk), p(chunk), h(chunk);
    const PlayColumns out{s.data(), b.data(), c.data(), p.data(), h.data(), chunk};
    std::vector<Record> records;
    while (fast.PlayNo() < plays) {
        const int made = fast.Run(plays, &out, budget);
        for (int i = 0; i < made; ++i) {
            records.push_back({s[i], b[i], c[i], p[i], h[i]});
        }
    }
    fast.StoreInto(m);
    return Ending(m, std::move(records), fast.Shots());
}

std::vector<EnginePath> Paths() {
    std::vector<EnginePath> paths{EnginePath::Portable};
    if (PathAvailable(EnginePath::Avx2)) {
        paths.push_back(EnginePath::Avx2);
    }
    return paths;
}

} // namespace

// Record by record, counters, source and shots: 24 seeds at each of ten
// borders, including those from 125 up where the extra pocket falls off the
// scale, and a few at the largest border weights (65533 and 65535, where a
// bonus takes millions of balls).
TEST(FastSlot, EveryPathMakesTheReferencePlays) {
    const struct {
        double border;
        int plays, seeds;
    } borders[] = {{1, 1500, 24},   {4.4, 1500, 24}, {12.5, 4000, 24},   {13, 3000, 24},
                   {20, 3000, 24},  {60, 3000, 24},  {124.99, 3000, 24}, {125, 3000, 24},
                   {126, 3000, 24}, {200, 3000, 24}, {249.99, 600, 1},   {250, 600, 1},
                   {1e9, 150, 3}};
    for (const EnginePath path : Paths()) {
        for (const auto& c : borders) {
            for (int k = 0; k < c.seeds; ++k) {
                const std::uint32_t seed = 1u + 7919u * static_cast<std::uint32_t>(k);
                const Slot start = Machine(seed, c.border);
                const Outcome expected = ByShoot(start, c.plays);
                EXPECT_EQ(ByFast(start, c.plays, path, 1 << 16, 1LL << 40), expected)
                    << PathName(path) << " border " << c.border << " seed " << seed;
            }
        }
    }
}

// Calls cut short by a full record buffer or by the draw budget end between
// two shots with the source where Shoot would have left it.
TEST(FastSlot, CallsEndingAnywhereChangeNothing) {
    const struct {
        int chunk;
        long long budget;
    } cuts[] = {{1, 1LL << 40}, {7, 1LL << 40}, {1 << 16, 1}, {5, 63}, {3, 200}, {1 << 16, 1000}};
    for (const EnginePath path : Paths()) {
        for (const double border : {12.5, 125.0, 200.0}) {
            const Slot start = Machine(42, border);
            const Outcome expected = ByShoot(start, 2500);
            for (const auto& cut : cuts) {
                EXPECT_EQ(ByFast(start, 2500, path, cut.chunk, cut.budget), expected)
                    << PathName(path) << " border " << border << " chunk " << cut.chunk
                    << " budget " << cut.budget;
            }
        }
    }
}

// Taken over in the middle of a run, in every mode, and handed back to Shoot.
TEST(FastSlot, TakesOverAndHandsBackInEveryMode) {
    for (const EnginePath path : Paths()) {
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            Slot reference = Machine(seed, 15.0);
            const Outcome expected = ByShoot(reference, 6000);
            // Shots until each mode is met (single bonus due, chance mode
            // before and after its first bonus).
            for (const auto& [mode, chain] : {std::pair{1, 1}, {2, 1}, {2, 3}, {0, 2}}) {
                Slot m = Machine(seed, 15.0);
                std::vector<Record> records;
                long long shots = 0;
                const auto shoot = [&] {
                    const int before = m.PlayNo;
                    m.Shoot();
                    ++shots;
                    if (m.PlayNo != before) {
                        records.push_back({m.SinceHit, m.Balls, m.Chain, m.PlayNo, m.Mode});
                    }
                };
                while (m.PlayNo < 3000 && !(m.Mode == mode && m.Chain >= chain)) {
                    shoot();
                }
                ASSERT_EQ(m.Mode, mode) << "seed " << seed;
                const Outcome middle = ByFast(m, 4500, path, 64, 5000);
                records.insert(records.end(), middle.Records.begin(), middle.Records.end());
                shots += middle.Shots;
                m.SinceHit = middle.SinceHit;
                m.PlayNo = middle.PlayNo;
                m.Balls = middle.Balls;
                m.Mode = middle.Mode;
                m.Chain = middle.Chain;
                m.Random() = RandomSource(middle.State);
                while (m.PlayNo < 6000) {
                    shoot();
                }
                EXPECT_EQ(Ending(m, records, shots), expected)
                    << PathName(path) << " seed " << seed << " mode " << mode;
            }
        }
    }
}

TEST(FastSlot, UnusualTablesAreLeftToTheReference) {
    const struct {
        Rate_TBL<int> pocket;
        int chanceHit;
        int mode;
        bool supported;
    } cases[] = {
        {{3276, 32768, 131}, 6553, 0, true},  {{40000, 20000, 131}, 6553, 2, true},
        {{65535, 32768, 131}, 6553, 0, true}, {{3276, 32768, -50}, 6553, 0, false},
        {{3276, 30000}, 6553, 0, false},      {{3000, 32768, 131, 50}, 6553, 0, false},
        {{0, 65536, 131}, 6553, 0, false},    {{3276, 32768, 131}, 65536, 0, false},
        {{3276, 32768, 131}, 6553, 3, false},
    };
    for (const auto& c : cases) {
        Slot m = Machine(1, 12.5);
        m.PocketTable = c.pocket;
        m.ChanceHitTable.assign(1, c.chanceHit);
        m.Mode = c.mode;
        EXPECT_EQ(FastSlot::Supports(m), c.supported)
            << c.pocket.size() << " weights, chance " << c.chanceHit << ", mode " << c.mode;
    }
    Slot m = Machine(1, 12.5);
    m.HitTable.push_back(5);
    EXPECT_FALSE(FastSlot::Supports(m));
}

// The supported unusual shapes still follow the reference draw for draw.
TEST(FastSlot, OtherWeightsFollowTheReference) {
    const struct {
        Rate_TBL<int> pocket;
        int hit, entry, cont, chanceHit;
    } cases[] = {
        {{40000, 20000, 131}, 165, 32768, 53739, 6553}, {{3276, 32768, 131}, 3000, 0, 65536, 6553},
        {{3276, 32768, 131}, -5, 32768, 53739, 1},      {{3276, 32768, 131}, 2000, 70000, 0, 65535},
        {{100, 60000, 5000}, 1000, 32768, 53739, 6553},
    };
    for (const EnginePath path : Paths()) {
        for (const auto& c : cases) {
            Slot m = Machine(9, 12.5);
            m.PocketTable = c.pocket;
            m.HitTable.assign(1, c.hit);
            m.EntryTable.assign(1, c.entry);
            m.ContinueTable.assign(1, c.cont);
            m.ChanceHitTable.assign(1, c.chanceHit);
            ASSERT_TRUE(FastSlot::Supports(m));
            EXPECT_EQ(ByFast(m, 2000, path, 100, 3000), ByShoot(m, 2000))
                << PathName(path) << " pocket " << c.pocket[0] << " hit " << c.hit;
        }
    }
}
