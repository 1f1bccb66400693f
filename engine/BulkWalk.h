#pragma once
// The machine walked event by event over draws made in bulk. The draws of a
// stretch are kept with one bitmap per pocket test, so normal play jumps from
// one start-pocket entry to the next and a bonus is consumed a word of balls at
// a time; only the few draws between those events are read one by one.
//
// Each instruction-set translation unit instantiates Walker with a kernel type
// of its own in an unnamed namespace, which gives every instantiation internal
// linkage: code built for AVX2 can never be shared with the portable path.
// For the same reason this header uses nothing from the standard library but
// fixed-width integers.

#include "engine/PlayColumns.h"

#include <cstdint>

namespace bulk {

// A half-open range of draws [Low, Low + Width) on the 65536 scale; Width
// below 65536, so that one 16-bit unsigned compare tests it.
struct DrawRange {
    std::uint32_t Low = 0;
    std::uint32_t Width = 0;
};

struct Thresholds {
    DrawRange Start, Attacker, Extra;
    std::uint32_t Hit = 0, Entry = 0, Continue = 0, ChanceHit = 0; // outcome 0 below these
};

// Words of 64 draws kept at once; a multiple of three, so that moving the
// window by whole blocks keeps every draw's position modulo 3 (a bonus ball is
// three draws) and modulo 2 (a normal shot without entry is two).
inline constexpr int BufferWords = 96;
inline constexpr int MoveGranule = 3;
inline constexpr int FillWords = 12;

struct Buffer {
    alignas(64) std::uint16_t Draw[BufferWords * 64];
    std::uint64_t Start[BufferWords];
    std::uint64_t Attacker[BufferWords];
    std::uint64_t Extra[BufferWords];
    std::uint64_t ChanceHit[BufferWords];
    // The next sixteen states of the source, in the kernel's own lane order.
    alignas(32) std::uint64_t Lanes[16];
    std::int64_t Base = 0; // the draw number of Draw[0]; a multiple of 192
    int Words = 0;         // words filled
};

// One machine: its counters and where it stands in the stream of draws.
struct Machine {
    Buffer Buf;
    Thresholds T;
    std::int64_t Position = 0; // draws consumed since the walk began
    std::int64_t Shots = 0;
    std::int32_t SinceHit = 0, PlayNo = 0, Balls = 0, Mode = 0, Chain = 0;
};

// Where the plays of one call go.
using Columns = ::PlayColumns;

// Shoots until PlayNo reaches `playNo`, `out.Capacity` plays have been kept
// (when out has columns) or about `drawBudget` draws have been consumed, and
// always stops between two shots. Returns the number of plays made.
using WalkFunction = int (*)(Machine& m, int playNo, const Columns& out, std::int64_t drawBudget);
// Starts the source's lanes at `state` (the state before the next draw).
using StartFunction = void (*)(Machine& m, std::uint64_t state);

inline constexpr std::uint64_t Multiplier = 0x0000015A00004E35ull;

// The affine step S -> S * Mul + Add applied `steps` times, as one step.
struct Jump {
    std::uint64_t Mul = 1, Add = 0;
};
// Compile-time only (as is PhaseMask): nothing here may become code shared
// between the translation units.
consteval Jump JumpOf(std::uint64_t steps) {
    Jump out;
    Jump pow{Multiplier, 1};
    while (steps != 0) {
        if ((steps & 1u) != 0) {
            out = {out.Mul * pow.Mul, out.Add * pow.Mul + pow.Add};
        }
        pow = {pow.Mul * pow.Mul, pow.Add * pow.Mul + pow.Add};
        steps >>= 1u;
    }
    return out;
}
inline constexpr Jump Jump16 = JumpOf(16);

// Bits i of a word with (word + i) % 3 == phase, for word % 3 == 0, 1, 2
// (64 is 1 modulo 3, so each word starts one phase later).
consteval std::uint64_t PhaseMask(int word, int phase) {
    std::uint64_t m = 0;
    for (int i = 0; i < 64; ++i) {
        if ((word + i) % 3 == phase) {
            m |= std::uint64_t{1} << static_cast<unsigned>(i);
        }
    }
    return m;
}
inline constexpr std::uint64_t Phase[3][3] = {
    {PhaseMask(0, 0), PhaseMask(0, 1), PhaseMask(0, 2)},
    {PhaseMask(1, 0), PhaseMask(1, 1), PhaseMask(1, 2)},
    {PhaseMask(2, 0), PhaseMask(2, 1), PhaseMask(2, 2)},
};
inline constexpr std::uint64_t EvenBits = 0x5555555555555555ull;

// Kernel K provides: Fill(Buffer&, const Thresholds&, int to) filling words
// Words .. to - 1 (and setting Words to `to`), and the bit operations Ctz, Popcount and Select
// (index of the k-th set bit, k from 1).
template <class K> class Walker {
public:
    Walker(Machine& m, const Columns& out, std::int64_t budget)
        : Machine_(m), Buf_(m.Buf), Out_(out), Limit_(m.Position + budget) {}

    int Run(int playNo) {
        while (Machine_.PlayNo < playNo && (Out_.SinceHit == nullptr || Kept_ < Out_.Capacity) &&
               Machine_.Position < Limit_) {
            if (Machine_.Mode == 0) {
                NormalShots();
            } else {
                BonusShot();
            }
        }
        return Plays_;
    }

private:
    // The word's bits from `bit` upwards, and those below `bit` (bit 0 .. 63).
    static std::uint64_t From(unsigned bit) { return ~std::uint64_t{0} << bit; }
    static std::uint64_t Below(unsigned bit) { return (std::uint64_t{1} << bit) - 1u; }
    // One unsigned compare: no branch to mispredict.
    static bool InRange(std::uint32_t draw, DrawRange r) { return draw - r.Low < r.Width; }

    // ---- the buffer ----
    std::int64_t End() const { return Buf_.Base + std::int64_t{Buf_.Words} * 64; }
    int WordOf(std::int64_t pos) const { return static_cast<int>((pos - Buf_.Base) >> 6); }
    std::uint32_t DrawAt(std::int64_t pos) const { return Buf_.Draw[pos - Buf_.Base]; }

    // Makes draws up to `pos` available, keeping everything from `keep` on.
    // Draws are made a few words at a time, so a short run makes few spare ones.
    void Need(std::int64_t pos, std::int64_t keep) {
        while (pos >= End()) {
            if (Buf_.Words == BufferWords) {
                Move(WordOf(keep) / MoveGranule * MoveGranule);
            }
            K::Fill(Buf_, Machine_.T,
                    Buf_.Words + FillWords < BufferWords ? Buf_.Words + FillWords : BufferWords);
        }
    }

    // Drops the words before `first`.
    void Move(int first) {
        const int kept = Buf_.Words - first;
        for (int w = 0; w < kept; ++w) {
            Buf_.Start[w] = Buf_.Start[first + w];
            Buf_.Attacker[w] = Buf_.Attacker[first + w];
            Buf_.Extra[w] = Buf_.Extra[first + w];
            Buf_.ChanceHit[w] = Buf_.ChanceHit[first + w];
        }
        for (int i = 0; i < kept * 64; ++i) {
            Buf_.Draw[i] = Buf_.Draw[first * 64 + i];
        }
        Buf_.Base += std::int64_t{first} * 64;
        Buf_.Words = kept;
    }

    void Keep() {
        ++Plays_;
        if (Out_.SinceHit != nullptr) {
            Out_.SinceHit[Kept_] = Machine_.SinceHit;
            Out_.Balls[Kept_] = Machine_.Balls;
            Out_.Chain[Kept_] = Machine_.Chain;
            Out_.PlayNo[Kept_] = Machine_.PlayNo;
            Out_.Mode[Kept_] = Machine_.Mode;
            ++Kept_;
        }
    }

    // Balance arithmetic wraps like the reference's 32-bit counter.
    void AddBalls(std::int64_t delta) {
        Machine_.Balls = static_cast<std::int32_t>(static_cast<std::uint32_t>(Machine_.Balls) +
                                                   static_cast<std::uint32_t>(delta));
    }

    // ---- normal play ----
    // From a shot's first draw at p, shots of two draws follow until a first
    // draw enters the start pocket; only draws of p's parity are first draws.
    void NormalShots() {
        std::int64_t p = Machine_.Position;
        const std::uint64_t firsts = (p & 1) != 0 ? ~EvenBits : EvenBits;
        std::int64_t extras = 0;
        for (;;) {
            Need(p, p);
            const int w = WordOf(p);
            const std::uint64_t from = From(static_cast<unsigned>(p & 63));
            const std::uint64_t entries = Buf_.Start[w] & firsts & from;
            const std::uint64_t seconds = Buf_.Extra[w] & ~firsts & from;
            if (entries != 0) {
                const unsigned bit = K::Ctz(entries);
                extras += K::Popcount(seconds & Below(bit));
                const std::int64_t q = Buf_.Base + std::int64_t{w} * 64 + bit;
                FinishStretch(Machine_.Position, q, extras);
                EntryShot(q);
                return;
            }
            extras += K::Popcount(seconds);
            const std::int64_t wordEnd = Buf_.Base + std::int64_t{w} * 64 + 64;
            if (wordEnd >= Limit_) {
                // Stop on a shot boundary; an odd start's last pair crosses the word.
                std::int64_t q = wordEnd;
                if (((q ^ Machine_.Position) & 1) != 0) {
                    Need(q, q);
                    extras += InRange(DrawAt(q), Machine_.T.Extra) ? 1 : 0;
                    ++q;
                }
                FinishStretch(Machine_.Position, q, extras);
                Machine_.Position = q;
                return;
            }
            p = wordEnd;
        }
    }

    // The shots of two draws in [from, to).
    void FinishStretch(std::int64_t from, std::int64_t to, std::int64_t extras) {
        const std::int64_t shots = (to - from) / 2;
        Machine_.Shots += shots;
        AddBalls(14 * extras - shots);
    }

    // The shot whose first draw at q entered the start pocket: a play.
    void EntryShot(std::int64_t q) {
        Need(q + 2, q);
        ++Machine_.Shots;
        ++Machine_.PlayNo;
        ++Machine_.SinceHit;
        std::int64_t balls = 2; // the ball shot, the start pocket's three
        if (DrawAt(q + 1) < Machine_.T.Hit) {
            Machine_.Chain = 1;
            Machine_.Mode = DrawAt(q + 2) < Machine_.T.Entry ? 2 : 1;
        } else if (InRange(DrawAt(q + 2), Machine_.T.Extra)) {
            balls += 14;
        }
        AddBalls(balls);
        Machine_.Position = q + 3;
        Keep();
    }

    // ---- bonus modes ----
    void BonusShot() {
        std::int64_t p = Machine_.Position;
        if (Machine_.Mode == 2 && Machine_.Chain != 1) {
            const std::int64_t hit = NextChanceHit(p);
            if (hit < 0) {
                return; // stopped between lost balls
            }
            Machine_.Shots += hit - p + 1;
            AddBalls(-(hit - p + 1));
            p = hit + 1;
        } else {
            ++Machine_.Shots;
            AddBalls(-1);
        }
        p = PlayBonus(p);
        if (Machine_.Mode != 1 && Machine_.Chain != 1) {
            Need(p, p);
            const bool ends = DrawAt(p) >= Machine_.T.Continue;
            ++p;
            if (ends) {
                Machine_.Mode = 1; // ends the chain below
            }
        }
        Machine_.Position = p;
        if (Machine_.Mode == 1) {
            Machine_.SinceHit = 0;
            Machine_.Mode = 0;
            return;
        }
        ++Machine_.PlayNo;
        ++Machine_.SinceHit;
        ++Machine_.Chain;
        Keep();
    }

    // The first draw from p that wins a chance-mode bonus; every draw before
    // it is a lost ball. -1 when the budget ends first (the lost balls so far
    // are then counted and the position moved past them).
    std::int64_t NextChanceHit(std::int64_t p) {
        const std::int64_t start = p;
        for (;;) {
            Need(p, p);
            const int w = WordOf(p);
            const std::uint64_t hits = Buf_.ChanceHit[w] & From(static_cast<unsigned>(p & 63));
            if (hits != 0) {
                return Buf_.Base + std::int64_t{w} * 64 + K::Ctz(hits);
            }
            p = Buf_.Base + std::int64_t{w} * 64 + 64;
            if (p >= Limit_) {
                Machine_.Shots += p - start;
                AddBalls(-(p - start));
                Machine_.Position = p;
                return -1;
            }
        }
    }

    // Fifteen rounds of nine attacker payouts follow each other without a
    // gap, so a bonus is the balls up to the 135th payout. Ball i takes draws
    // b + 3i (start pocket), b + 3i + 1 (attacker), b + 3i + 2 (extra pocket).
    // Returns the position after the bonus's last draw.
    std::int64_t PlayBonus(std::int64_t b) {
        constexpr int Payouts = 15 * 9;
        const int startPhase = static_cast<int>((b - Buf_.Base) % 3);
        const int attackerPhase = (startPhase + 1) % 3;
        const int extraPhase = (startPhase + 2) % 3;
        int left = Payouts;
        std::int64_t starts = 0, extras = 0;
        std::int64_t p = b;
        for (;;) {
            Need(p, p);
            const int w = WordOf(p);
            const std::uint64_t* phase = Phase[w % 3];
            const std::uint64_t from = From(static_cast<unsigned>(p & 63));
            const std::uint64_t payouts = Buf_.Attacker[w] & phase[attackerPhase] & from;
            const int count = K::Popcount(payouts);
            if (count >= left) {
                const unsigned bit = K::Select(payouts, left);
                // Up to the last ball's attacker draw; its extra draw may be in the next word.
                const std::uint64_t upTo = from & Below(bit);
                starts += K::Popcount(Buf_.Start[w] & phase[startPhase] & upTo);
                extras += K::Popcount(Buf_.Extra[w] & phase[extraPhase] & upTo);
                const std::int64_t last = Buf_.Base + std::int64_t{w} * 64 + bit;
                Need(last + 1, last);
                extras += InRange(DrawAt(last + 1), Machine_.T.Extra) ? 1 : 0;
                const std::int64_t end = last + 2;
                const std::int64_t balls = (end - b) / 3;
                AddBalls(3 * starts + std::int64_t{13} * Payouts + 14 * extras - balls);
                return end;
            }
            left -= count;
            starts += K::Popcount(Buf_.Start[w] & phase[startPhase] & from);
            extras += K::Popcount(Buf_.Extra[w] & phase[extraPhase] & from);
            p = Buf_.Base + std::int64_t{w} * 64 + 64;
        }
    }

    Machine& Machine_;
    Buffer& Buf_;
    const Columns& Out_;
    std::int64_t Limit_;
    int Plays_ = 0;
    int Kept_ = 0;
};

} // namespace bulk
