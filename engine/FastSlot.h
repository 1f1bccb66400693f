#pragma once
// The machine run many plays at a time: draws are made in bulk and walked
// from one event to the next. Every shot, draw and counter is that of
// Slot::Shoot, which stays the reference (and what a shown run uses).

#include "engine/PlayColumns.h"
#include "engine/Slot.h"

#include <cstdint>
#include <memory>

namespace bulk {
struct Machine;
} // namespace bulk

enum class EnginePath {
    Portable, // any processor
    Avx2,     // processors with AVX2 and BMI2
};

// Whether this processor (and build) can take the path.
bool PathAvailable(EnginePath path);
// AVX2 when available, unless the environment variable YONATAMA_ENGINE is
// "portable" (read once).
EnginePath DefaultEnginePath();
const char* PathName(EnginePath path);

// Room for the plays of one call, kept column by column.
struct PlayBlock {
    static constexpr int Size = 4096;
    std::int32_t SinceHit[Size], Balls[Size], Chain[Size], PlayNo[Size], Mode[Size];
    PlayColumns Columns() { return {SinceHit, Balls, Chain, PlayNo, Mode, Size}; }
};

class FastSlot {
public:
    // The machines it can run: three non-negative pocket weights, one weight
    // in each other table, every pocket range narrower than the whole scale,
    // a chance weight below 65536 and Mode 0 .. 2. Others take Slot::ShootUntil.
    static bool Supports(const Slot& machine);

    // Takes over the counters, tables and source of `machine` (Supports(machine)).
    explicit FastSlot(const Slot& machine, EnginePath path = DefaultEnginePath());
    ~FastSlot();
    FastSlot(const FastSlot&) = delete;
    FastSlot& operator=(const FastSlot&) = delete;

    // Shoots until PlayNo reaches `playNo`, keeping each play in `out` (when
    // given) until it is full; also stops, between two shots, after about
    // `drawBudget` draws. Returns the plays made by this call.
    int Run(int playNo, const PlayColumns* out = nullptr, long long drawBudget = DefaultBudget);

    // The counters and the source as they stand, written back to `machine`.
    void StoreInto(Slot& machine) const;
    // Only the counters (the source's state takes a few dozen multiplies).
    void StoreCounters(Slot& machine) const;

    int PlayNo() const;
    int Balls() const;
    long long Shots() const;
    EnginePath Path() const { return Path_; }

    // About a millisecond of draws.
    static constexpr long long DefaultBudget = 1 << 20;

private:
    std::unique_ptr<bulk::Machine> Machine_;
    EnginePath Path_;
    std::uint64_t StartState_ = 0;
};
