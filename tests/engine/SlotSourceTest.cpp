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

TEST(SlotSource, ReseedingTheClockSeededMachineMatchesAMachineGivenTheSource) {
    const struct {
        std::uint32_t seed;
        int plays;
        double border;
    } cases[] = {{1, 3000, 12.5}, {77, 2000, 20.0}, {4000000000u, 2500, 9.0}};
    for (const auto& c : cases) {
        Slot reseeded;
        reseeded.Random().Seed(c.seed);
        const Final viaReseed = Play(reseeded, c.plays, c.border);
        Slot given(Seeded(c.seed));
        EXPECT_EQ(Play(given, c.plays, c.border), viaReseed) << c.seed;
    }
}

TEST(SlotSource, ACopyDrawsFromItsOwnCopyOfTheSource) {
    Slot original(Seeded(8));
    original.Reset();
    const Slot untouched = original;
    Slot copy(original);
    copy.Shoot();
    EXPECT_EQ(original.Random(), Seeded(8));
    EXPECT_NE(copy.Random(), Seeded(8));
    Slot assigned(Seeded(1));
    assigned = original;
    assigned.Shoot();
    EXPECT_EQ(assigned.Random(), copy.Random());
    // The original goes on exactly as its copies did.
    original.Shoot();
    EXPECT_EQ(original.Random(), copy.Random());
    EXPECT_EQ(untouched.Random(), Seeded(8));
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
