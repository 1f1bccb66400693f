// The walk for processors with AVX2 and BMI2; this file alone is compiled for
// them. Four registers hold sixteen consecutive states of the source, each
// moved sixteen steps ahead at once (S -> S * M^16 + C16), so one step of the
// four makes sixteen draws; the pocket tests are 16-bit compares turned into
// bitmaps. The lanes hold the states in the order that packing the draws puts
// back into sequence: register 0 states 0, 2, 8, 10; 1: 1, 3, 9, 11;
// 2: 4, 6, 12, 14; 3: 5, 7, 13, 15.

#include "engine/BulkKernels.h"

#if defined(__x86_64__)

#include "engine/BulkWalk.h"

#include <cstddef>
#include <immintrin.h>

// The intrinsics are what this file is for.
// NOLINTBEGIN(portability-simd-intrinsics)
namespace {

using namespace bulk;

constexpr int LaneOf[16] = {0, 4, 1, 5, 8, 12, 9, 13, 2, 6, 3, 7, 10, 14, 11, 15};

// S * A + C modulo 2^64 on four lanes, from 32-bit multiplies.
__m256i Advance(__m256i s, __m256i aLow, __m256i aHigh, __m256i c) {
    const __m256i low = _mm256_mul_epu32(s, aLow);
    const __m256i cross = _mm256_add_epi64(_mm256_mul_epu32(s, aHigh),
                                           _mm256_mul_epu32(_mm256_srli_epi64(s, 32), aLow));
    return _mm256_add_epi64(_mm256_add_epi64(low, _mm256_slli_epi64(cross, 32)), c);
}

// Draws in [low, low + width): the 16-bit unsigned compare done as a signed
// one on values moved by 0x8000.
struct RangeTest {
    explicit RangeTest(DrawRange r)
        : shift(_mm256_set1_epi16(static_cast<short>((r.Low ^ 0x8000u) & 0xFFFFu))),
          bound(_mm256_set1_epi16(static_cast<short>((r.Width ^ 0x8000u) & 0xFFFFu))) {}
    __m256i operator()(__m256i v) const {
        return _mm256_cmpgt_epi16(bound, _mm256_sub_epi16(v, shift));
    }
    __m256i shift, bound;
};

// The 64 compare results of a word as its bitmap, bit i for draw i.
std::uint64_t Bits(__m256i c0, __m256i c1, __m256i c2, __m256i c3) {
    const __m256i lowHalf = _mm256_permute4x64_epi64(_mm256_packs_epi16(c0, c1), 0xD8);
    const __m256i highHalf = _mm256_permute4x64_epi64(_mm256_packs_epi16(c2, c3), 0xD8);
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(lowHalf)) |
           std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(highHalf))} << 32u;
}

struct Avx2Kernel {
    static void Fill(Buffer& b, const Thresholds& t, int to) {
        const __m256i aLow = _mm256_set1_epi64x(static_cast<long long>(Jump16.Mul & 0xFFFFFFFFu));
        const __m256i aHigh = _mm256_set1_epi64x(static_cast<long long>(Jump16.Mul >> 32u));
        const __m256i c = _mm256_set1_epi64x(static_cast<long long>(Jump16.Add));
        const __m256i low16 = _mm256_set1_epi32(0xFFFF);
        const RangeTest start(t.Start), attacker(t.Attacker), extra(t.Extra);
        const RangeTest chance(DrawRange{0, t.ChanceHit});
        auto* lanes = reinterpret_cast<__m256i*>(b.Lanes);
        __m256i s0 = _mm256_load_si256(lanes), s1 = _mm256_load_si256(lanes + 1);
        __m256i s2 = _mm256_load_si256(lanes + 2), s3 = _mm256_load_si256(lanes + 3);
        for (int w = b.Words; w < to; ++w) {
            __m256i v[4];
            for (__m256i& draws : v) {
                const __m256i p01 = _mm256_and_si256(
                    _mm256_blend_epi32(_mm256_srli_epi64(s0, 32), s1, 0xAA), low16);
                const __m256i p23 = _mm256_and_si256(
                    _mm256_blend_epi32(_mm256_srli_epi64(s2, 32), s3, 0xAA), low16);
                draws = _mm256_packus_epi32(p01, p23);
                s0 = Advance(s0, aLow, aHigh, c);
                s1 = Advance(s1, aLow, aHigh, c);
                s2 = Advance(s2, aLow, aHigh, c);
                s3 = Advance(s3, aLow, aHigh, c);
            }
            auto* out = reinterpret_cast<__m256i*>(b.Draw + std::ptrdiff_t{w} * 64);
            for (int k = 0; k < 4; ++k) {
                _mm256_store_si256(out + k, v[k]);
            }
            b.Start[w] = Bits(start(v[0]), start(v[1]), start(v[2]), start(v[3]));
            b.Attacker[w] = Bits(attacker(v[0]), attacker(v[1]), attacker(v[2]), attacker(v[3]));
            b.Extra[w] = Bits(extra(v[0]), extra(v[1]), extra(v[2]), extra(v[3]));
            b.ChanceHit[w] = Bits(chance(v[0]), chance(v[1]), chance(v[2]), chance(v[3]));
        }
        _mm256_store_si256(lanes, s0);
        _mm256_store_si256(lanes + 1, s1);
        _mm256_store_si256(lanes + 2, s2);
        _mm256_store_si256(lanes + 3, s3);
        b.Words = to;
    }

    static unsigned Ctz(std::uint64_t x) { return static_cast<unsigned>(_tzcnt_u64(x)); }
    static int Popcount(std::uint64_t x) { return static_cast<int>(_mm_popcnt_u64(x)); }
    static unsigned Select(std::uint64_t x, int k) {
        return static_cast<unsigned>(_tzcnt_u64(_pdep_u64(std::uint64_t{1} << (k - 1), x)));
    }
};

int Walk(Machine& m, int playNo, const Columns& out, std::int64_t drawBudget) {
    return Walker<Avx2Kernel>(m, out, drawBudget).Run(playNo);
}

void Begin(Machine& m, std::uint64_t state) {
    for (const int lane : LaneOf) {
        state = state * Multiplier + 1u;
        m.Buf.Lanes[lane] = state;
    }
}

} // namespace
// NOLINTEND(portability-simd-intrinsics)

bulk::Kernel bulk::Avx2KernelEntry() {
    return {&Walk, &Begin};
}

#else

bulk::Kernel bulk::Avx2KernelEntry() {
    return {};
}

#endif
