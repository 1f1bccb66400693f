#include "engine/Slot.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

struct Final {
    int SinceHit, PlayNo, Balls, Mode, Chain;
    std::uint64_t State;
    bool operator==(const Final&) const = default;
};

Final Play(Slot& machine, int plays, double border) {
    machine.Reset();
    machine.SetBorder(border);
    machine.ShootUntil(plays, [](int, int, int, int, int) {});
    return {machine.SinceHit, machine.PlayNo, machine.Balls,
            machine.Mode,     machine.Chain,  machine.Random().State()};
}

RandomSource Seeded(std::uint32_t seed) {
    RandomSource r;
    r.Seed(seed);
    return r;
}

} // namespace

TEST(SlotSource, OwnSourceMakesTheSamePlaysAsTheProcessSource) {
    const struct {
        std::uint32_t seed;
        int plays;
        double border;
    } cases[] = {{1, 3000, 12.5}, {77, 2000, 20.0}, {4000000000u, 2500, 9.0}};
    for (const auto& c : cases) {
        Slot shared;
        ProcessRandom().Seed(c.seed);
        const Final viaProcess = Play(shared, c.plays, c.border);

        ProcessRandom().Seed(99);
        const RandomSource untouched = ProcessRandom();
        Slot own(Seeded(c.seed));
        EXPECT_EQ(Play(own, c.plays, c.border), viaProcess) << c.seed;
        EXPECT_EQ(ProcessRandom(), untouched) << c.seed;
    }
}

TEST(SlotSource, ShootDrawsFromTheOwnSource) {
    Slot own(Seeded(5));
    own.Reset();
    ProcessRandom().Seed(6);
    const RandomSource untouched = ProcessRandom();
    const RandomSource before = own.Random();
    own.Shoot();
    EXPECT_NE(own.Random(), before);
    EXPECT_EQ(ProcessRandom(), untouched);
}

TEST(SlotSource, CopiesKeepTheirKindOfSource) {
    Slot own(Seeded(8));
    own.Reset();
    Slot copy(own);
    copy.Shoot();
    EXPECT_EQ(own.Random(), Seeded(8)); // the copy drew from its own copy
    Slot assigned;
    assigned = own;
    assigned.Shoot();
    EXPECT_EQ(own.Random(), Seeded(8));
    EXPECT_EQ(assigned.Random(), copy.Random());

    Slot shared;
    shared.Reset();
    Slot sharedCopy(shared);
    EXPECT_EQ(&sharedCopy.Random(), &ProcessRandom());
    EXPECT_NE(&copy.Random(), &own.Random());
}

TEST(SlotSource, MachinesOnThreadsMatchTheSameMachinesInTurn) {
    constexpr int Machines = 4;
    std::vector<Final> inTurn;
    for (int i = 0; i < Machines; ++i) {
        Slot m(Seeded(static_cast<std::uint32_t>(1000 + i)));
        inTurn.push_back(Play(m, 4000, 12.5));
    }
    std::vector<Final> parallel(Machines);
    {
        std::vector<std::jthread> threads;
        for (int i = 0; i < Machines; ++i) {
            threads.emplace_back([i, &parallel] {
                Slot m(Seeded(static_cast<std::uint32_t>(1000 + i)));
                parallel[i] = Play(m, 4000, 12.5);
            });
        }
    }
    EXPECT_EQ(parallel, inTurn);
}
