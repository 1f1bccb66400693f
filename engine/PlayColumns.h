#pragma once
// Where a call of the fast engine keeps its plays, column by column, at most
// Capacity of them; null columns keep nothing. Fixed-width integers only, so
// the instruction-set units can include it (see engine/BulkWalk.h).

#include <cstdint>

struct PlayColumns {
    std::int32_t* SinceHit = nullptr;
    std::int32_t* Balls = nullptr;
    std::int32_t* Chain = nullptr;
    std::int32_t* PlayNo = nullptr;
    std::int32_t* Mode = nullptr;
    int Capacity = 0;
};
