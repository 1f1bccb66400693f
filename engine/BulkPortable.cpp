// The walk for any processor: draws from sixteen interleaved chains of the
// source (independent multiplies instead of one long dependency), bitmaps made
// with branch-free compares (SSE2 on amd64, whose baseline has it).

#include "engine/BulkKernels.h"
#include "engine/BulkWalk.h"

#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using namespace bulk;

#if defined(__SSE2__)
// SSE2 belongs to every amd64 processor: eight 16-bit compares at a time.
// NOLINTBEGIN(portability-simd-intrinsics)
struct Test {
    explicit Test(DrawRange r)
        : shift(_mm_set1_epi16(static_cast<short>((r.Low ^ 0x8000u) & 0xFFFFu))),
          bound(_mm_set1_epi16(static_cast<short>((r.Width ^ 0x8000u) & 0xFFFFu))) {}
    std::uint64_t operator()(const __m128i* v) const {
        std::uint64_t out = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const __m128i packed = _mm_packs_epi16(In(v[2 * j]), In(v[2 * j + 1]));
            out |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(packed))} << (16 * j);
        }
        return out;
    }
    __m128i In(__m128i v) const { return _mm_cmpgt_epi16(bound, _mm_sub_epi16(v, shift)); }
    __m128i shift, bound;
};

void MakeBitmaps(Buffer& b, const Thresholds& t, int w) {
    __m128i v[8];
    const auto* d = reinterpret_cast<const __m128i*>(b.Draw + std::ptrdiff_t{w} * 64);
    for (int j = 0; j < 8; ++j) {
        v[j] = _mm_load_si128(d + j);
    }
    b.Start[w] = Test(t.Start)(v);
    b.Attacker[w] = Test(t.Attacker)(v);
    b.Extra[w] = Test(t.Extra)(v);
    b.ChanceHit[w] = Test(DrawRange{0, t.ChanceHit})(v);
}
// NOLINTEND(portability-simd-intrinsics)
#else
// One unsigned compare: no branch to mispredict.
bool InRange(std::uint32_t draw, DrawRange r) {
    return draw - r.Low < r.Width;
}

void MakeBitmaps(Buffer& b, const Thresholds& t, int w) {
    const std::uint16_t* d = b.Draw + std::ptrdiff_t{w} * 64;
    std::uint64_t start = 0, attacker = 0, extra = 0, chance = 0;
    for (unsigned i = 0; i < 64; ++i) {
        const std::uint32_t x = d[i];
        start |= std::uint64_t{InRange(x, t.Start)} << i;
        attacker |= std::uint64_t{InRange(x, t.Attacker)} << i;
        extra |= std::uint64_t{InRange(x, t.Extra)} << i;
        chance |= std::uint64_t{x < t.ChanceHit} << i;
    }
    b.Start[w] = start;
    b.Attacker[w] = attacker;
    b.Extra[w] = extra;
    b.ChanceHit[w] = chance;
}
#endif

struct PortableKernel {
    static void Fill(Buffer& b, const Thresholds& t, int to) {
        std::uint64_t lanes[16];
        for (int i = 0; i < 16; ++i) {
            lanes[i] = b.Lanes[i];
        }
        for (int w = b.Words; w < to; ++w) {
            std::uint16_t* d = b.Draw + std::ptrdiff_t{w} * 64;
            for (int k = 0; k < 64; k += 16) {
                for (int i = 0; i < 16; ++i) {
                    d[k + i] = static_cast<std::uint16_t>(lanes[i] >> 32u);
                    lanes[i] = lanes[i] * Jump16.Mul + Jump16.Add;
                }
            }
            MakeBitmaps(b, t, w);
        }
        for (int i = 0; i < 16; ++i) {
            b.Lanes[i] = lanes[i];
        }
        b.Words = to;
    }

    static unsigned Ctz(std::uint64_t x) { return static_cast<unsigned>(__builtin_ctzll(x)); }
    static int Popcount(std::uint64_t x) { return __builtin_popcountll(x); }
    static unsigned Select(std::uint64_t x, int k) {
        for (int i = 1; i < k; ++i) {
            x &= x - 1;
        }
        return Ctz(x);
    }
};

int Walk(Machine& m, int playNo, const Columns& out, std::int64_t drawBudget) {
    return Walker<PortableKernel>(m, out, drawBudget).Run(playNo);
}

void Begin(Machine& m, std::uint64_t state) {
    for (int i = 0; i < 16; ++i) {
        state = state * Multiplier + 1u;
        m.Buf.Lanes[i] = state;
    }
}

} // namespace

bulk::Kernel bulk::PortableKernelEntry() {
    return {&Walk, &Begin};
}
