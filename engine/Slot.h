#pragma once
// The model of the one machine: shot by shot, with its jackpot lottery, chance
// mode and 15-round battle bonuses. Every draw comes from the machine's own
// source, held by value: machines share nothing, so many of them can run side
// by side on separate threads, and a copy goes on exactly as the original.

#include "engine/HitState.h"
#include "engine/RandomSource.h"
#include "engine/Rate_TBL.h"

#include <cstdint>
#include <type_traits>

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

    // Seeds the machine's source from the clock, clears the counters and fills
    // the four fixed tables; PocketTable stays empty until SetBorder.
    Slot();
    // The same machine drawing from `source`.
    explicit Slot(RandomSource source);

    // The source this machine draws from.
    RandomSource& Random() { return Random_; }
    const RandomSource& Random() const { return Random_; }

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
    // locals between shots. onPlay must not touch the machine or the source;
    // when it returns a bool, false ends the shooting after that play.
    // Returns the number of shots.
    template <class OnPlay> long long ShootUntil(int playNo, OnPlay&& onPlay);

    Rate_TBL<int> PocketTable;
    Rate_TBL<int> HitTable;
    Rate_TBL<int> EntryTable;
    Rate_TBL<int> ContinueTable;
    Rate_TBL<int> ChanceHitTable;

    int SinceHit = 0;
    int PlayNo = 0;
    int Balls = 0;
    int Mode = 0; // a HitState, kept as the int every play records
    int Chain = 0;

private:
    struct State {
        RandomSource Rng;
        int SinceHit, PlayNo, Balls;
        HitState Mode;
        int Chain;
    };
    struct ThresholdPocket;
    struct TablePocket;

    RandomSource Random_;

    State Load() const { return {Random_, SinceHit, PlayNo, Balls, HitState{Mode}, Chain}; }
    void Store(const State& s) {
        Random_ = s.Rng;
        SinceHit = s.SinceHit;
        PlayNo = s.PlayNo;
        Balls = s.Balls;
        Mode = ToInt(s.Mode);
        Chain = s.Chain;
    }
    bool HasUsualPocket() const {
        const int* w = PocketTable.data();
        return PocketTable.size() == 3 && w[0] >= 0 && w[1] >= 0 && w[2] >= 0;
    }
    // Outcomes of the pocket lottery and the shape of a bonus.
    static constexpr int StartPocket = 0;
    static constexpr int Attacker = 1;
    static constexpr int ExtraPocket = 2;
    static constexpr int BonusRounds = 15;
    static constexpr int RoundPayouts = 9;

    template <class Pocket> void Step(State& s, const Pocket& pocket) const;
    template <class Pocket>
    static int PlayBonus(int balls, RandomSource& rng, const Pocket& pocket);
    template <class Pocket, class OnPlay>
    long long Repeat(int playNo, const Pocket& pocket, OnPlay& onPlay);
};

// With non-negative weights outcome i covers exactly [bound i-1, bound i).
struct Slot::ThresholdPocket {
    explicit ThresholdPocket(const int* w)
        : b0(w[0]), b1(b0 + std::int64_t{w[1]}), b2(b1 + std::int64_t{w[2]}) {}
    bool Is(int outcome, int r) const {
        switch (outcome) {
        case StartPocket:
            return r < b0;
        case Attacker:
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

// Fifteen rounds, each open until the attacker has paid nine times; every
// ball shot in a round takes its own draw for each of the three pockets.
template <class Pocket>
inline int Slot::PlayBonus(int balls, RandomSource& rng, const Pocket& pocket) {
    for (int round = 0; round < BonusRounds; ++round) {
        int count = 0;
        while (count < RoundPayouts) {
            --balls;
            if (pocket.Is(StartPocket, rng.Draw16())) {
                balls += 3;
            }
            if (pocket.Is(Attacker, rng.Draw16())) {
                balls += 13;
                ++count;
            }
            if (pocket.Is(ExtraPocket, rng.Draw16())) {
                balls += 14;
            }
        }
    }
    return balls;
}

// Shot by shot on a local copy of the state: this runs about twenty times per
// play, and a bonus shoots some 270 balls inside one shot. The pocket lookups,
// most of all draws, use precomputed bounds when the table has the usual shape.
template <class Pocket> inline void Slot::Step(State& s, const Pocket& pocket) const {
    RandomSource& rng = s.Rng;
    --s.Balls;

    if (s.Mode == HitState::None) {
        if (pocket.Is(StartPocket, rng.Draw16())) {
            ++s.PlayNo;
            ++s.SinceHit;
            s.Balls += 3;
            if (HitTable.Select(rng.Draw16()) == 0) {
                s.Chain = 1;
                s.Mode =
                    EntryTable.Select(rng.Draw16()) == 0 ? HitState::Chance : HitState::SingleBonus;
                return;
            }
        }
        // The attacker is closed outside a bonus: only the extra pocket pays.
        if (pocket.Is(ExtraPocket, rng.Draw16())) {
            s.Balls += 14;
        }
        return;
    }

    // Past the chance mode's first bonus, each ball must win its bonus.
    if (s.Mode == HitState::Chance && s.Chain != 1 && ChanceHitTable.Select(rng.Draw16()) != 0) {
        return;
    }

    s.Balls = PlayBonus(s.Balls, rng, pocket);

    // A single bonus ends its chain; a chance-mode bonus past the first may.
    if (s.Mode == HitState::SingleBonus ||
        (s.Chain != 1 && ContinueTable.Select(rng.Draw16()) != 0)) {
        s.SinceHit = 0;
        s.Mode = HitState::None;
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
            if constexpr (std::is_same_v<std::invoke_result_t<OnPlay&, int, int, int, int, int>,
                                         bool>) {
                if (!onPlay(s.SinceHit, s.Balls, s.Chain, s.PlayNo, ToInt(s.Mode))) {
                    break;
                }
            } else {
                onPlay(s.SinceHit, s.Balls, s.Chain, s.PlayNo, ToInt(s.Mode));
            }
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
