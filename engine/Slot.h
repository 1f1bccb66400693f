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

    // Shoots until PlayNo reaches `playNo`, calling onPlay(SinceHit, Balls,
    // Chain, PlayNo, Mode) after every shot that made a play. The same draws
    // and effects as calling Shoot() as often, with the machine's state kept in
    // locals between shots. onPlay must not touch the machine or the source.
    // Returns the number of shots.
    template <class OnPlay> long long ShootUntil(int playNo, OnPlay&& onPlay);

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
    struct State {
        RandomSource Rng;
        int SinceHit, PlayNo, Balls, Mode, Chain;
    };
    struct ThresholdPocket;
    struct TablePocket;

    State Load() const { return {ProcessRandom(), SinceHit, PlayNo, Balls, Mode, Chain}; }
    void Store(const State& s) {
        ProcessRandom() = s.Rng;
        SinceHit = s.SinceHit;
        PlayNo = s.PlayNo;
        Balls = s.Balls;
        Mode = s.Mode;
        Chain = s.Chain;
    }
    bool HasUsualPocket() const {
        const int* w = PocketTable.data();
        return PocketTable.size() == 3 && w[0] >= 0 && w[1] >= 0 && w[2] >= 0;
    }
    template <class Pocket> void Step(State& s, const Pocket& pocket) const;
    template <class Pocket, class OnPlay>
    long long Repeat(int playNo, const Pocket& pocket, OnPlay& onPlay);
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

// Shot by shot on a local copy of the state: this runs about twenty times per
// play, and a bonus shoots some 270 balls inside one shot. The pocket lookups,
// most of all draws, use precomputed bounds when the table has the usual shape.
template <class Pocket> inline void Slot::Step(State& s, const Pocket& pocket) const {
    RandomSource& rng = s.Rng;
    --s.Balls;

    if (s.Mode == 0) {
        if (pocket.Is(0, rng.Draw16())) {
            ++s.PlayNo;
            ++s.SinceHit;
            s.Balls += 3;
            if (HitTable.Select(rng.Draw16()) == 0) {
                s.Chain = 1;
                s.Mode = EntryTable.Select(rng.Draw16()) == 0 ? 2 : 1;
                return;
            }
        }
        if (pocket.Is(2, rng.Draw16())) {
            s.Balls += 14;
        }
        return;
    }

    if (s.Mode == 2 && s.Chain != 1 && ChanceHitTable.Select(rng.Draw16()) != 0) {
        return;
    }

    int balls = s.Balls;
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
    s.Balls = balls;

    if (s.Mode == 1 || (s.Chain != 1 && ContinueTable.Select(rng.Draw16()) != 0)) {
        s.SinceHit = 0;
        s.Mode = 0;
    } else {
        ++s.PlayNo;
        ++s.SinceHit;
        ++s.Chain;
    }
}

inline void Slot::Shoot() {
    State s = Load();
    if (HasUsualPocket()) {
        Step(s, ThresholdPocket(PocketTable.data()));
    } else {
        Step(s, TablePocket{PocketTable});
    }
    Store(s);
}

template <class Pocket, class OnPlay>
long long Slot::Repeat(int playNo, const Pocket& pocket, OnPlay& onPlay) {
    State s = Load();
    long long shots = 0;
    while (s.PlayNo < playNo) {
        const int before = s.PlayNo;
        Step(s, pocket);
        ++shots;
        if (s.PlayNo != before) {
            onPlay(s.SinceHit, s.Balls, s.Chain, s.PlayNo, s.Mode);
        }
    }
    Store(s);
    return shots;
}

template <class OnPlay> long long Slot::ShootUntil(int playNo, OnPlay&& onPlay) {
    if (HasUsualPocket()) {
        return Repeat(playNo, ThresholdPocket(PocketTable.data()), onPlay);
    }
    return Repeat(playNo, TablePocket{PocketTable}, onPlay);
}
