#pragma once
// What the machine is doing after a play. The engine's Mode counter and the
// HitStates record vector hold it as a plain 32-bit value, as the run file
// does; this names the three values they can take.

#include <cstdint>

enum class HitState : std::int32_t {
    None = 0,        // normal play
    SingleBonus = 1, // a jackpot that missed the chance mode: one bonus is due
    Chance = 2,      // the chance mode, from its jackpot to its last bonus
};

constexpr std::int32_t ToInt(HitState hitState) {
    return static_cast<std::int32_t>(hitState);
}

// A recorded value names one of the three hit states (run files may hold any).
constexpr bool IsHitState(std::int32_t value) {
    return value >= ToInt(HitState::None) && value <= ToInt(HitState::Chance);
}
