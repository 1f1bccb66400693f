#include "engine/FastSlot.h"

#include "engine/BulkKernels.h"
#include "engine/BulkWalk.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::int64_t Scale = 65536;

bool CpuHasAvx2() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
           __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
#else
    return false;
#endif
}

// Outcome 0 of a one-weight table is every draw below this (0 .. 65536).
std::int64_t OneWeightBound(const Rate_TBL<int>& table) {
    return std::clamp<std::int64_t>(table[0], 0, Scale);
}

// Outcome i of the pocket covers [cum i-1, cum i) clipped to the scale.
bulk::DrawRange PocketRange(std::int64_t low, std::int64_t high) {
    low = std::min(low, Scale);
    high = std::min(high, Scale);
    return {static_cast<std::uint32_t>(low), static_cast<std::uint32_t>(high - low)};
}

bulk::Thresholds ThresholdsOf(const Slot& machine) {
    const int* w = machine.PocketTable.data();
    const std::int64_t b0 = w[0];
    const std::int64_t b1 = b0 + w[1];
    const std::int64_t b2 = b1 + w[2];
    bulk::Thresholds t;
    t.Start = PocketRange(0, b0);
    t.Attacker = PocketRange(b0, b1);
    t.Extra = PocketRange(b1, b2);
    t.Hit = static_cast<std::uint32_t>(OneWeightBound(machine.HitTable));
    t.Entry = static_cast<std::uint32_t>(OneWeightBound(machine.EntryTable));
    t.Continue = static_cast<std::uint32_t>(OneWeightBound(machine.ContinueTable));
    t.ChanceHit = static_cast<std::uint32_t>(OneWeightBound(machine.ChanceHitTable));
    return t;
}

bulk::Kernel KernelFor(EnginePath path) {
    return path == EnginePath::Avx2 && PathAvailable(path) ? bulk::Avx2KernelEntry()
                                                           : bulk::PortableKernelEntry();
}

// The state after `steps` further steps, by squaring the step.
std::uint64_t Advanced(std::uint64_t state, std::uint64_t steps) {
    std::uint64_t mul = RandomSource::Multiplier, add = 1;
    while (steps != 0) {
        if ((steps & 1u) != 0) {
            state = state * mul + add;
        }
        add = add * mul + add;
        mul *= mul;
        steps >>= 1u;
    }
    return state;
}

} // namespace

bool PathAvailable(EnginePath path) {
    static const bool avx2 = CpuHasAvx2() && bulk::Avx2KernelEntry().Walk != nullptr;
    return path == EnginePath::Portable || avx2;
}

EnginePath DefaultEnginePath() {
    static const EnginePath path = [] {
        const char* forced = std::getenv("YONATAMA_ENGINE");
        if (forced != nullptr && std::strcmp(forced, "portable") == 0) {
            return EnginePath::Portable;
        }
        return PathAvailable(EnginePath::Avx2) ? EnginePath::Avx2 : EnginePath::Portable;
    }();
    return path;
}

const char* PathName(EnginePath path) {
    return path == EnginePath::Avx2 ? "avx2" : "portable";
}

bool FastSlot::Supports(const Slot& machine) {
    const Rate_TBL<int>& pocket = machine.PocketTable;
    if (pocket.size() != 3 || pocket[0] < 0 || pocket[1] < 0 || pocket[2] < 0) {
        return false;
    }
    for (const Rate_TBL<int>* t : {&machine.HitTable, &machine.EntryTable, &machine.ContinueTable,
                                   &machine.ChanceHitTable}) {
        if (t->size() != 1) {
            return false;
        }
    }
    const bulk::Thresholds t = ThresholdsOf(machine);
    const bool narrow = t.Start.Width < Scale && t.Attacker.Width < Scale && t.Extra.Width < Scale;
    return narrow && t.ChanceHit < Scale && IsHitState(machine.Mode);
}

FastSlot::FastSlot(const Slot& machine, EnginePath path)
    : Machine_(std::make_unique_for_overwrite<bulk::Machine>()),
      Path_(PathAvailable(path) ? path : EnginePath::Portable),
      StartState_(machine.Random().State()) {
    Machine_->T = ThresholdsOf(machine);
    Machine_->SinceHit = machine.SinceHit;
    Machine_->PlayNo = machine.PlayNo;
    Machine_->Balls = machine.Balls;
    Machine_->Mode = machine.Mode;
    Machine_->Chain = machine.Chain;
    KernelFor(Path_).Start(*Machine_, StartState_);
}

FastSlot::~FastSlot() = default;

int FastSlot::Run(int playNo, const PlayColumns* out, long long drawBudget) {
    return KernelFor(Path_).Walk(*Machine_, playNo, out != nullptr ? *out : PlayColumns{},
                                 drawBudget);
}

void FastSlot::StoreCounters(Slot& machine) const {
    machine.SinceHit = Machine_->SinceHit;
    machine.PlayNo = Machine_->PlayNo;
    machine.Balls = Machine_->Balls;
    machine.Mode = Machine_->Mode;
    machine.Chain = Machine_->Chain;
}

void FastSlot::StoreInto(Slot& machine) const {
    StoreCounters(machine);
    machine.Random() =
        RandomSource(Advanced(StartState_, static_cast<std::uint64_t>(Machine_->Position)));
}

int FastSlot::PlayNo() const {
    return Machine_->PlayNo;
}

int FastSlot::Balls() const {
    return Machine_->Balls;
}

long long FastSlot::Shots() const {
    return Machine_->Shots;
}
