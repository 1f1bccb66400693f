#pragma once
// The model of the one machine: shot by shot, with its jackpot lottery, chance
// mode and 15-round battle bonuses. Every draw comes from ProcessRandom().

#include "engine/RandomSource.h"
#include "engine/Rate_TBL.h"

#include <cstdint>

class Slot {
public:
    // Fixed weights of the machine (scale 65536).
    static constexpr int AttackerWeight = 32768;
    static constexpr int ExtraPocketWeight = 131;
    static constexpr int HitWeight = 165;
    static constexpr int EntryWeight = 32768;
    static constexpr int ContinueWeight = 53739;
    static constexpr int ChanceHitWeight = 6553;
    static constexpr double DefaultBorder = 12.5;
    // Largest border weight SetBorder stores: one draw in 65536 still opens the
    // attacker, so a bonus round always ends.
    static constexpr int MaxBorderWeight = 65535;

    // Seeds ProcessRandom() from the clock, clears the counters and fills the
    // four fixed tables; PocketTable stays empty until SetBorder.
    Slot();

    // Start-pocket weight for a border (plays per 1000 yen): trunc(65536 / (250 / border)),
    // limited to 0 .. MaxBorderWeight (NaN gives MaxBorderWeight).
    static int BorderWeight(double border);

    void SetBorder(double border);
    void Reset();

    // One ball. Requires SetBorder (or Reset) to have filled PocketTable.
    inline void Shoot();

    int DrawPocket() { return PocketTable.Select(ProcessRandom().Draw16()); }
    int DrawHit() { return HitTable.Select(ProcessRandom().Draw16()); }
    int DrawEntry() { return EntryTable.Select(ProcessRandom().Draw16()); }
    int DrawContinue() { return ContinueTable.Select(ProcessRandom().Draw16()); }
    int DrawChanceHit() { return ChanceHitTable.Select(ProcessRandom().Draw16()); }

    Rate_TBL<int> PocketTable;
    Rate_TBL<int> HitTable;
    Rate_TBL<int> EntryTable;
    Rate_TBL<int> ContinueTable;
    Rate_TBL<int> ChanceHitTable;

    int SinceHit = 0;
    int PlayNo = 0;
    int Balls = 0;
    int Mode = 0;
    int Chain = 0;

private:
    struct ThresholdPocket;
    struct TablePocket;
    template <class Pocket> void ShootWith(const Pocket& pocket);
};

// With non-negative weights outcome i covers exactly [bound i-1, bound i).
struct Slot::ThresholdPocket {
    explicit ThresholdPocket(const int* w)
        : b0(w[0]), b1(b0 + std::int64_t{w[1]}), b2(b1 + std::int64_t{w[2]}) {}
    bool Is(int outcome, int r) const {
        switch (outcome) {
        case 0:
            return r < b0;
        case 1:
            return r >= b0 && r < b1;
        default:
            return r >= b1 && r < b2;
        }
    }
    std::int64_t b0, b1, b2;
};

struct Slot::TablePocket {
    bool Is(int outcome, int r) const { return table.Select(r) == outcome; }
    const Rate_TBL<int>& table;
};

// Inline and on local copies: this runs about twenty times per play, and a
// bonus shoots some 270 balls inside one call. The pocket lookups, most of all
// draws, use precomputed bounds when the table has the usual shape.
inline void Slot::Shoot() {
    const int* w = PocketTable.data();
    if (PocketTable.size() == 3 && w[0] >= 0 && w[1] >= 0 && w[2] >= 0) {
        ShootWith(ThresholdPocket(w));
    } else {
        ShootWith(TablePocket{PocketTable});
    }
}

template <class Pocket> inline void Slot::ShootWith(const Pocket& pocket) {
    RandomSource rng = ProcessRandom();
    int balls = Balls - 1;

    if (Mode == 0) {
        if (pocket.Is(0, rng.Draw16())) {
            ++PlayNo;
            ++SinceHit;
            balls += 3;
            if (HitTable.Select(rng.Draw16()) == 0) {
                Chain = 1;
                Mode = EntryTable.Select(rng.Draw16()) == 0 ? 2 : 1;
                Balls = balls;
                ProcessRandom() = rng;
                return;
            }
        }
        if (pocket.Is(2, rng.Draw16())) {
            balls += 14;
        }
        Balls = balls;
        ProcessRandom() = rng;
        return;
    }

    if (Mode == 2 && Chain != 1 && ChanceHitTable.Select(rng.Draw16()) != 0) {
        Balls = balls;
        ProcessRandom() = rng;
        return;
    }

    for (int round = 0; round < 15; ++round) {
        int count = 0;
        while (count < 9) {
            --balls;
            if (pocket.Is(0, rng.Draw16())) {
                balls += 3;
            }
            if (pocket.Is(1, rng.Draw16())) {
                balls += 13;
                ++count;
            }
            if (pocket.Is(2, rng.Draw16())) {
                balls += 14;
            }
        }
    }

    if (Mode == 1 || (Chain != 1 && ContinueTable.Select(rng.Draw16()) != 0)) {
        SinceHit = 0;
        Mode = 0;
    } else {
        ++PlayNo;
        ++SinceHit;
        ++Chain;
    }
    Balls = balls;
    ProcessRandom() = rng;
}
