#pragma once
// The pseudo-random source: one 64-bit state advanced by a linear
// congruential step. Every chance event of the machine is one draw from it, so
// the exact recurrence fixes the sequence of every run.

#include <cstdint>

class RandomSource {
public:
    // The 64-bit multiplier: high word 346, low word 20021 (the two 16-bit halves
    // of 0x015A4E35 standing in the two 32-bit words).
    static constexpr std::uint64_t Multiplier = 0x0000015A00004E35ull;
    // The 32-bit step applied once to the seed.
    static constexpr std::uint32_t SeedMultiplier = 22695477u;

    constexpr RandomSource() = default;
    constexpr explicit RandomSource(std::uint64_t state) : State_(state) {}

    // Low word = one 32-bit step of the seed, high word 0.
    constexpr void Seed(std::uint32_t seed) { State_ = seed * SeedMultiplier + 1u; }

    // One step; the high word of the new state without its top bit (0 .. 2^31-1).
    constexpr int Next() {
        State_ = State_ * Multiplier + 1u;
        return static_cast<int>((State_ >> 32) & 0x7FFFFFFFu);
    }

    // One draw on the 65536 scale of the lottery tables.
    constexpr int Draw16() { return Next() % 65536; }

    constexpr std::uint64_t State() const { return State_; }

    friend constexpr bool operator==(const RandomSource&, const RandomSource&) = default;

private:
    std::uint64_t State_ = 0;
};
