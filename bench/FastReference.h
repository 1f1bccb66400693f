#pragma once
// The fastest exact loop we know for border 12.5, the yardstick of the speed
// targets: sixteen draws per AVX2 step into a ring of 64-draw words with one
// bitmap per pocket test, the next start-pocket entry or chance win found by
// a count of trailing zeros and a bonus eaten a word at a time by population
// counts. Nothing is recorded, no table is read, no call is ever cut short:
// only the final counters (and the balance at given plays, for the study
// yardstick). Needs AVX2 and BMI2.

#include <cstdint>
#include <immintrin.h>

// Every function here is built for AVX2 and inlined into its callers of the
// same target, so no vector crosses a baseline call boundary.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace fastref {

#define FASTREF_TARGET __attribute__((target("avx2,bmi,bmi2,popcnt")))

constexpr std::uint64_t Mul = 0x0000015A00004E35ull;
constexpr int RingWords = 64;
constexpr std::uint32_t Start = 3276, AttackerEnd = Start + 32768, ExtraEnd = AttackerEnd + 131;

struct Ring {
    alignas(32) std::uint16_t d[RingWords * 64];
    std::uint64_t start[RingWords], attacker[RingWords], extra[RingWords], chance[RingWords];
    alignas(32) std::uint64_t lanes[16];
    std::int64_t made = 0; // words made so far
};

struct Result {
    int SinceHit = 0, PlayNo = 0, Balls = 0, Mode = 0, Chain = 0;
};

FASTREF_TARGET inline __m256i Step(__m256i s, __m256i lo, __m256i hi, __m256i c) {
    const __m256i cross =
        _mm256_add_epi64(_mm256_mul_epu32(s, hi), _mm256_mul_epu32(_mm256_srli_epi64(s, 32), lo));
    return _mm256_add_epi64(_mm256_add_epi64(_mm256_mul_epu32(s, lo), _mm256_slli_epi64(cross, 32)),
                            c);
}

FASTREF_TARGET inline std::uint64_t Mask(const __m256i* c) {
    const __m256i a = _mm256_permute4x64_epi64(_mm256_packs_epi16(c[0], c[1]), 0xD8);
    const __m256i b = _mm256_permute4x64_epi64(_mm256_packs_epi16(c[2], c[3]), 0xD8);
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(a)) |
           std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(b))} << 32u;
}

// Lanes of x below `bound` (unsigned 16-bit compare, done signed on flipped values).
FASTREF_TARGET inline __m256i Below(__m256i x, __m256i flip, int bound) {
    return _mm256_cmpgt_epi16(_mm256_set1_epi16(static_cast<short>(bound - 32768)),
                              _mm256_xor_si256(x, flip));
}

FASTREF_TARGET inline void Make(Ring& r) {
    std::uint64_t m = 1, a = 0;
    for (int i = 0; i < 16; ++i) {
        a = a * Mul + 1;
        m *= Mul;
    }
    const __m256i lo = _mm256_set1_epi64x(static_cast<long long>(m & 0xFFFFFFFFu));
    const __m256i hi = _mm256_set1_epi64x(static_cast<long long>(m >> 32u));
    const __m256i c = _mm256_set1_epi64x(static_cast<long long>(a));
    const __m256i low16 = _mm256_set1_epi32(0xFFFF), flip = _mm256_set1_epi16(-32768);
    auto* lanes = reinterpret_cast<__m256i*>(r.lanes);
    const int w = static_cast<int>(r.made % RingWords);
    __m256i v[4];
    for (__m256i& x : v) {
        x = _mm256_packus_epi32(
            _mm256_and_si256(_mm256_blend_epi32(_mm256_srli_epi64(lanes[0], 32), lanes[1], 0xAA),
                             low16),
            _mm256_and_si256(_mm256_blend_epi32(_mm256_srli_epi64(lanes[2], 32), lanes[3], 0xAA),
                             low16));
        for (int k = 0; k < 4; ++k) {
            lanes[k] = Step(lanes[k], lo, hi, c);
        }
    }
    __m256i s[4], t[4], e[4], h[4];
    for (int k = 0; k < 4; ++k) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(r.d + w * 64) + k, v[k]);
        s[k] = Below(v[k], flip, Start);
        const __m256i under1 = Below(v[k], flip, AttackerEnd);
        t[k] = _mm256_andnot_si256(s[k], under1);
        e[k] = _mm256_andnot_si256(under1, Below(v[k], flip, ExtraEnd));
        h[k] = Below(v[k], flip, 6553);
    }
    r.start[w] = Mask(s);
    r.attacker[w] = Mask(t);
    r.extra[w] = Mask(e);
    r.chance[w] = Mask(h);
    ++r.made;
}

// Word `word` (absolute) of the ring, made when first asked for.
FASTREF_TARGET inline int At(Ring& r, std::int64_t word) {
    while (word >= r.made) {
        Make(r);
    }
    return static_cast<int>(word % RingWords);
}

FASTREF_TARGET inline std::uint32_t Draw(Ring& r, std::int64_t pos) {
    return r.d[At(r, pos >> 6) * 64 + (pos & 63)];
}

constexpr std::uint64_t PhaseBits(int word, int phase) {
    std::uint64_t m = 0;
    for (int i = 0; i < 64; ++i) {
        m |= std::uint64_t{(word + i) % 3 == phase} << i;
    }
    return m;
}

// Runs `plays` plays from `seed`; the balance after each of the ascending
// `at` plays goes to `balances` (when given).
FASTREF_TARGET inline Result Run(std::uint32_t seed, int plays, const int* at = nullptr,
                                 int atCount = 0, std::int32_t* balances = nullptr) {
    static constexpr std::uint64_t phase[3][3] = {
        {PhaseBits(0, 0), PhaseBits(0, 1), PhaseBits(0, 2)},
        {PhaseBits(1, 0), PhaseBits(1, 1), PhaseBits(1, 2)},
        {PhaseBits(2, 0), PhaseBits(2, 1), PhaseBits(2, 2)}};
    Ring r;
    std::uint64_t s = seed * 22695477u + 1u;
    constexpr int order[16] = {0, 4, 1, 5, 8, 12, 9, 13, 2, 6, 3, 7, 10, 14, 11, 15};
    for (const int lane : order) {
        s = s * Mul + 1;
        r.lanes[lane] = s;
    }
    Result o;
    std::int64_t p = 0, balls = 0;
    int next = 0;
    while (next < atCount && at[next] == 0) {
        balances[next++] = 0;
    }
    while (o.PlayNo < plays) {
        if (o.Mode == 0) {
            const std::uint64_t firsts = (p & 1) ? ~0x5555555555555555ull : 0x5555555555555555ull;
            std::int64_t q = p, extras = 0;
            for (;;) {
                const int w = At(r, q >> 6);
                const std::uint64_t from = ~0ull << (q & 63);
                const std::uint64_t hit = r.start[w] & firsts & from;
                if (hit != 0) {
                    const unsigned b = _tzcnt_u64(hit);
                    extras += _mm_popcnt_u64(r.extra[w] & ~firsts & from & ((1ull << b) - 1));
                    q = (q & ~63ll) + b;
                    break;
                }
                extras += _mm_popcnt_u64(r.extra[w] & ~firsts & from);
                q = (q & ~63ll) + 64;
            }
            balls += 14 * extras - (q - p) / 2 + 2;
            ++o.PlayNo;
            ++o.SinceHit;
            if (Draw(r, q + 1) < 165) {
                o.Chain = 1;
                o.Mode = Draw(r, q + 2) < 32768 ? 2 : 1;
            } else {
                const std::uint32_t x = Draw(r, q + 2);
                balls += (x - AttackerEnd < 131) ? 14 : 0;
            }
            p = q + 3;
        } else {
            if (o.Mode == 2 && o.Chain != 1) {
                std::int64_t q = p;
                for (;;) {
                    const int w = At(r, q >> 6);
                    const std::uint64_t hit = r.chance[w] & (~0ull << (q & 63));
                    if (hit != 0) {
                        q = (q & ~63ll) + _tzcnt_u64(hit);
                        break;
                    }
                    q = (q & ~63ll) + 64;
                }
                balls -= q - p;
                p = q + 1;
            }
            --balls;
            // The bonus: balls up to the 135th attacker payout.
            const int ps = static_cast<int>(p % 3), pa = (ps + 1) % 3, pe = (ps + 2) % 3;
            int left = 135;
            std::int64_t q = p, starts = 0, extras = 0;
            for (;;) {
                const std::int64_t word = q >> 6;
                const int w = At(r, word);
                const std::uint64_t* ph = phase[word % 3];
                const std::uint64_t from = ~0ull << (q & 63);
                const std::uint64_t pay = r.attacker[w] & ph[pa] & from;
                const int n = static_cast<int>(_mm_popcnt_u64(pay));
                if (n >= left) {
                    const unsigned b = _tzcnt_u64(_pdep_u64(1ull << (left - 1), pay));
                    const std::uint64_t upTo = from & ((1ull << b) - 1);
                    starts += _mm_popcnt_u64(r.start[w] & ph[ps] & upTo);
                    extras += _mm_popcnt_u64(r.extra[w] & ph[pe] & upTo);
                    const std::int64_t last = (q & ~63ll) + b;
                    extras += (Draw(r, last + 1) - AttackerEnd < 131) ? 1 : 0;
                    balls += 3 * starts + 1755 + 14 * extras - (last + 2 - p) / 3;
                    p = last + 2;
                    break;
                }
                left -= n;
                starts += _mm_popcnt_u64(r.start[w] & ph[ps] & from);
                extras += _mm_popcnt_u64(r.extra[w] & ph[pe] & from);
                q = (q & ~63ll) + 64;
            }
            bool ends = o.Mode == 1;
            if (!ends && o.Chain != 1) {
                ends = Draw(r, p) >= 53739;
                ++p;
            }
            if (ends) {
                o.SinceHit = 0;
                o.Mode = 0;
                continue;
            }
            ++o.PlayNo;
            ++o.SinceHit;
            ++o.Chain;
        }
        while (next < atCount && at[next] == o.PlayNo) {
            balances[next++] = static_cast<std::int32_t>(balls);
        }
    }
    o.Balls = static_cast<int>(balls);
    return o;
}

#undef FASTREF_TARGET

} // namespace fastref

#pragma GCC diagnostic pop
