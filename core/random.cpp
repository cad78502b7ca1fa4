// Random numbers: SFMT-19937 state, seeding, block recursion and unit values.
//
// The state is 156 128-bit words held as 624 32-bit words; word 4k is the
// lowest 32 bits of 128-bit word k. A 64-bit output takes words i (low half)
// and i + 1 (high half), so a block gives 312 outputs; the read position is
// the cursor `next` into the unit values and the phase (random.h).
#include "core/random.h"

#include <cstring>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define RND_X86_DISPATCH 1
#endif

int kRndInitialized = 0;

namespace rnd_detail {
alignas(16) uint32_t state[kWords];
alignas(16) double unit[kWords / 2];
const double* next = unit + kWords / 2;
int phase = 0;
}  // namespace rnd_detail

using rnd_detail::state;
using rnd_detail::unit;

namespace {

constexpr int kN = 156;       // 128-bit words
constexpr int kN32 = kN * 4;  // 32-bit words
constexpr int kPos1 = 122;
constexpr int kSl1 = 18;  // bits, per 32-bit word
constexpr int kSl2 = 1;   // bytes, whole 128-bit word
constexpr int kSr1 = 11;  // bits, per 32-bit word
constexpr int kSr2 = 1;   // bytes, whole 128-bit word
constexpr uint32_t kMsk[4] = {0xdfffffefu, 0xddfecb7fu, 0xbffaffffu, 0xbffffff6u};
constexpr uint32_t kParity[4] = {0x00000001u, 0x00000000u, 0x00000000u, 0x13c9e684u};

// One 128-bit word as two 64-bit halves (lo = 32-bit words 0 and 1).
struct W128 {
    uint64_t lo, hi;
};

inline W128 load(const uint32_t* w) {
    W128 v;
    v.lo = (uint64_t)w[0] | (uint64_t)w[1] << 32;
    v.hi = (uint64_t)w[2] | (uint64_t)w[3] << 32;
    return v;
}

inline void store(uint32_t* w, W128 v) {
    w[0] = (uint32_t)v.lo;
    w[1] = (uint32_t)(v.lo >> 32);
    w[2] = (uint32_t)v.hi;
    w[3] = (uint32_t)(v.hi >> 32);
}

// r = a ^ (a <<128 SL2 bytes) ^ ((b >>32 SR1) & MSK) ^ (c >>128 SR2 bytes) ^ (d <<32 SL1)
inline W128 recursion(W128 a, W128 b, W128 c, W128 d) {
    W128 x, y, r;
    x.hi = a.hi << (kSl2 * 8) | a.lo >> (64 - kSl2 * 8);
    x.lo = a.lo << (kSl2 * 8);
    y.lo = c.lo >> (kSr2 * 8) | c.hi << (64 - kSr2 * 8);
    y.hi = c.hi >> (kSr2 * 8);
    // Per-word shifts on 64-bit halves: mask off the bits that crossed from
    // the neighbouring 32-bit word.
    constexpr uint64_t kSrKeep = (uint64_t)(0xffffffffu >> kSr1) * 0x100000001ull;
    constexpr uint64_t kSlKeep = (uint64_t)(0xffffffffu << kSl1 & 0xffffffffu) * 0x100000001ull;
    constexpr uint64_t kMskLo = (uint64_t)kMsk[0] | (uint64_t)kMsk[1] << 32;
    constexpr uint64_t kMskHi = (uint64_t)kMsk[2] | (uint64_t)kMsk[3] << 32;
    r.lo = a.lo ^ x.lo ^ (b.lo >> kSr1 & kSrKeep & kMskLo) ^ y.lo ^ (d.lo << kSl1 & kSlKeep);
    r.hi = a.hi ^ x.hi ^ (b.hi >> kSr1 & kSrKeep & kMskHi) ^ y.hi ^ (d.hi << kSl1 & kSlKeep);
    return r;
}

}  // namespace

void rnd_regen_block_portable(uint32_t* w) {
    W128 r1 = load(w + (kN - 2) * 4);
    W128 r2 = load(w + (kN - 1) * 4);
    for (int i = 0; i < kN; i++) {
        int j = i + kPos1 < kN ? i + kPos1 : i + kPos1 - kN;
        W128 r = recursion(load(w + i * 4), load(w + j * 4), r1, r2);
        store(w + i * 4, r);
        r1 = r2;
        r2 = r;
    }
}

#if defined(__SSE2__)
namespace {

inline __m128i recursion_sse2(__m128i a, __m128i b, __m128i c, __m128i d, __m128i mask) {
    __m128i x = _mm_slli_si128(a, kSl2);
    __m128i y = _mm_srli_si128(c, kSr2);
    __m128i z = _mm_and_si128(_mm_srli_epi32(b, kSr1), mask);
    __m128i v = _mm_slli_epi32(d, kSl1);
    return _mm_xor_si128(_mm_xor_si128(_mm_xor_si128(a, x), _mm_xor_si128(z, y)), v);
}

// rnd_unit of the two 64-bit outputs in v: the same operations in the same
// order as the scalar form, so the values are bit-identical.
inline __m128d units_sse2(__m128i v) {
    const __m128i lo_mask = _mm_set1_epi64x(0xffffffff);
    const __m128i lo_exp = _mm_set1_epi64x(0x4330000000000000ll);
    const __m128i hi_exp = _mm_set1_epi64x(0x4530000000000000ll);
    __m128d lo = _mm_castsi128_pd(_mm_or_si128(_mm_and_si128(v, lo_mask), lo_exp));
    __m128d hi = _mm_castsi128_pd(_mm_or_si128(_mm_srli_epi64(v, 32), hi_exp));
    __m128d u = _mm_mul_pd(_mm_add_pd(_mm_sub_pd(hi, _mm_set1_pd(0x1.00000001p84)), lo), _mm_set1_pd(0x1p-64));
    return _mm_min_pd(u, _mm_set1_pd(0x1.fffffffffffffp-1));
}

// The recursion is a chain through r1 and r2, so most execution units idle;
// with SSE2 alone the new words are converted to unit values in the same
// loop.
template <bool kUnits>
void regen_sse2(uint32_t* w, double* units) {
    __m128i* s = reinterpret_cast<__m128i*>(w);
    const __m128i mask = _mm_set_epi32((int)kMsk[3], (int)kMsk[2], (int)kMsk[1], (int)kMsk[0]);
    __m128i r1 = _mm_loadu_si128(s + kN - 2);
    __m128i r2 = _mm_loadu_si128(s + kN - 1);
    for (int i = 0; i < kN; i++) {
        const int j = i < kN - kPos1 ? i + kPos1 : i + kPos1 - kN;
        __m128i r = recursion_sse2(_mm_loadu_si128(s + i), _mm_loadu_si128(s + j), r1, r2, mask);
        _mm_storeu_si128(s + i, r);
        if constexpr (kUnits) _mm_storeu_pd(units + 2 * i, units_sse2(r));
        r1 = r2;
        r2 = r;
    }
}

}  // namespace

void rnd_regen_block(uint32_t* w) { regen_sse2<false>(w, nullptr); }
#else
void rnd_regen_block(uint32_t* w) { rnd_regen_block_portable(w); }
#endif

void rnd_seed_block(uint32_t* w, uint32_t seed) {
    w[0] = seed;
    for (int i = 1; i < kN32; i++) w[i] = 1812433253u * (w[i - 1] ^ (w[i - 1] >> 30)) + (uint32_t)i;
    // Period certification: the state must not lie in the short-period
    // subspace; an even parity is fixed by flipping the lowest PARITY bit.
    uint32_t inner = 0;
    for (int i = 0; i < 4; i++) inner ^= w[i] & kParity[i];
    for (int s = 16; s > 0; s >>= 1) inner ^= inner >> s;
    if (inner & 1) return;
    for (int i = 0; i < 4; i++) {
        for (int bit = 0; bit < 32; bit++) {
            uint32_t m = 1u << bit;
            if (kParity[i] & m) {
                w[i] ^= m;
                return;
            }
        }
    }
}

namespace {

// The block counts as read to its end: the next draw renews it.
void mark_block_read() {
    rnd_detail::phase = 0;
    rnd_detail::next = unit + kN32 / 2;
}

}  // namespace

void SeedRnd(int seed) {
    kRndInitialized = 1;
    rnd_seed_block(state, (uint32_t)seed);
    mark_block_read();
}

void rnd_forget_seed() {
    kRndInitialized = 0;
    mark_block_read();
}

namespace {

// unit[k + phase] = rnd_unit(output at word 2k + phase) for every whole
// output, so the table ends at unit + 312 either way.
void fill_units(int phase) {
    for (int k = 0; k < (kN32 - phase) / 2; k++) {
        const int i = 2 * k + phase;
        unit[k + phase] = rnd_unit((uint64_t)state[i] | (uint64_t)state[i + 1] << 32);
    }
}

}  // namespace

#if RND_X86_DISPATCH
namespace {

// Four at a time. This is rnd_unit with every value scaled by 2^-64: the
// halves go in the mantissas of 2^-12 and 2^20 and the offset is
// 2^20 + 2^-12, so the sum is already u and the multiplication goes. Each
// step gives rnd_unit's value times 2^-64 exactly (a power-of-two scaling
// of normal numbers commutes with rounding), hence the same bits. The low
// half is put under its exponent with a blend in place of a mask and an or.
__attribute__((target("avx2"))) inline __m256d unit4_avx2(__m256i v) {
    const __m256i lo_exp = _mm256_set1_epi64x(0x3f30000000000000ll);  // 2^-12
    const __m256i hi_exp = _mm256_set1_epi64x(0x4130000000000000ll);  // 2^20
    const __m256d offset = _mm256_set1_pd(0x1.00000001p20), below_one = _mm256_set1_pd(0x1.fffffffffffffp-1);
    const __m256d lo = _mm256_castsi256_pd(_mm256_blend_epi32(v, lo_exp, 0xaa));          // 2^-12 + lo * 2^-64
    const __m256d hi = _mm256_castsi256_pd(_mm256_or_si256(_mm256_srli_epi64(v, 32), hi_exp));  // 2^20 + hi * 2^-32
    return _mm256_min_pd(_mm256_add_pd(_mm256_sub_pd(hi, offset), lo), below_one);
}

__attribute__((target("avx2"))) void units_avx2(const uint32_t* w, double* out) {
    for (int k = 0; k < kN32 / 2; k += 4)
        _mm256_storeu_pd(out + k, unit4_avx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + 2 * k))));
}

// The open terms of two new words, those that do not depend on the two words
// before them: a ^ (a <<128 SL2 bytes) ^ ((b >>32 SR1) & MSK), two 128-bit words
// per register (the byte shift works within each 128-bit lane, so per word).
__attribute__((target("avx2"))) inline __m256i open_terms_avx2(__m256i a, __m256i b, __m256i mask) {
    return _mm256_xor_si256(_mm256_xor_si256(a, _mm256_slli_si256(a, kSl2)),
                            _mm256_and_si256(_mm256_srli_epi32(b, kSr1), mask));
}

__attribute__((target("avx2"))) inline __m256i load_pair(const __m128i* s) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
}

__attribute__((target("avx2"))) inline void store_pair(__m128i* s, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(s), v);
}

// Words i and i + 1 from their open terms, in place at s + i, and the two
// words before them (r1, r2, advanced): the chain, (c >>128 SR2 bytes) ^
// (d <<32 SL1). The terms from two words back go in first, so the newest word
// is two operations from the next one; the empty asm keeps the compiler from
// reordering the xors.
__attribute__((target("avx2"))) inline void chain_pair_avx2(__m128i* s, int i, __m128i& r1, __m128i& r2) {
    __m128i pa = _mm_xor_si128(_mm_loadu_si128(s + i), _mm_srli_si128(r1, kSr2));
    __m128i pb = _mm_xor_si128(_mm_loadu_si128(s + i + 1), _mm_srli_si128(r2, kSr2));
    asm("" : "+x"(pa), "+x"(pb));
    r1 = _mm_xor_si128(pa, _mm_slli_epi32(r2, kSl1));
    r2 = _mm_xor_si128(pb, _mm_slli_epi32(r1, kSl1));
    _mm_storeu_si128(s + i, r1);
    _mm_storeu_si128(s + i + 1, r2);
}

constexpr int kLag = kN - kPos1;  // 34: from a new word to the word it is b of

// The finished words i and i + 1: their unit values, and the open terms of
// words i + 34 and i + 35, whose b they are.
__attribute__((target("avx2"))) inline void finish_pair_avx2(__m128i* s, double* out, int i, __m256i mask) {
    const __m256i v = load_pair(s + i);
    _mm256_storeu_pd(out + 2 * i, unit4_avx2(v));
    if (i + kLag < kN) store_pair(s + i + kLag, open_terms_avx2(load_pair(s + i + kLag), v, mask));
}

// The recursion with AVX2. The SSE2 loop is bound by the vector units, not
// by its chain, so only the chain runs one 128-bit word at a time; the open
// terms are formed two words at a time (word i's b is the old word i + 122
// for i < 34 and the new word i - 34 after), in place of the old words, and
// the conversion rides along in the units the chain leaves idle. Both read a
// pair of new words back from memory a few pairs after the chain stored it:
// one 256-bit load costs no vector unit, where joining two registers does,
// and the lag lets the two 128-bit stores reach the cache first (a load that
// straddles two stores still in flight waits for them).
__attribute__((target("avx2"))) void regen_units_avx2(uint32_t* w, double* out) {
    __m128i* s = reinterpret_cast<__m128i*>(w);
    const __m256i mask = _mm256_setr_epi32((int)kMsk[0], (int)kMsk[1], (int)kMsk[2], (int)kMsk[3], (int)kMsk[0],
                                           (int)kMsk[1], (int)kMsk[2], (int)kMsk[3]);
    constexpr int kBehind = 16;  // words between the chain and the pair finished
    static_assert(kN % 2 == 0 && kLag % 2 == 0 && kBehind % 2 == 0 && kBehind < kLag - 2);
    __m128i r1 = _mm_loadu_si128(s + kN - 2);
    __m128i r2 = _mm_loadu_si128(s + kN - 1);
    for (int i = 0; i < kLag; i += 2) store_pair(s + i, open_terms_avx2(load_pair(s + i), load_pair(s + i + kPos1), mask));
    for (int i = 0; i < kBehind; i += 2) chain_pair_avx2(s, i, r1, r2);
    for (int i = kBehind; i < kN; i += 2) {
        chain_pair_avx2(s, i, r1, r2);
        finish_pair_avx2(s, out, i - kBehind, mask);
    }
    for (int i = kN - kBehind; i < kN; i += 2) finish_pair_avx2(s, out, i, mask);
}

bool cpu_has_avx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

}  // namespace
#endif

namespace {

// Renewal paths, numbered as the conversions of rnd_block_units: 0 portable,
// 1 AVX2, 2 SSE2. (A fused AVX-512 renewal, with three-way logic operations,
// measured slower than the AVX2 one: it has to join two registers per pair.)
bool has_path(int path) {
    switch (path) {
        case 0: return true;
#if RND_X86_DISPATCH
        case 1: return cpu_has_avx2();
#endif
#if defined(__SSE2__)
        case 2: return true;
#endif
        default: return false;
    }
}

int best_path() {
    for (int path : {1, 2})
        if (has_path(path)) return path;
    return 0;
}

// The path refill takes; -1 until the first refill picks the best one.
int refill_path = -1;

// Renews block w and writes its 312 unit values (phase 0) to out.
void regen_units(uint32_t* w, double* out, int path) {
    switch (path) {
#if RND_X86_DISPATCH
        case 1: regen_units_avx2(w, out); return;
#endif
#if defined(__SSE2__)
        case 2: regen_sse2<true>(w, out); return;
#endif
        default:
            rnd_regen_block_portable(w);
            for (int k = 0; k < kN32 / 2; k++) out[k] = rnd_unit((uint64_t)w[2 * k] | (uint64_t)w[2 * k + 1] << 32);
    }
}

}  // namespace

bool rnd_block_units(const uint32_t* w, double* out, int path) {
    switch (path) {
        case 0:
            for (int k = 0; k < kN32 / 2; k++) out[k] = rnd_unit((uint64_t)w[2 * k] | (uint64_t)w[2 * k + 1] << 32);
            return true;
#if RND_X86_DISPATCH
        case 1:
            if (!has_path(1)) return false;
            units_avx2(w, out);
            return true;
#endif
#if defined(__SSE2__)
        case 2:   // the conversion that rides in the SSE2 recursion
            for (int i = 0; i < kN; i++)
                _mm_storeu_pd(out + 2 * i, units_sse2(_mm_loadu_si128(reinterpret_cast<const __m128i*>(w + 4 * i))));
            return true;
#endif
        default: return false;
    }
}

bool rnd_regen_block_units(uint32_t* w, double* out, int path) {
    if (!has_path(path)) return false;
    regen_units(w, out, path);
    return true;
}

bool rnd_use_refill_path(int path) {
    if (path < 0) path = best_path();
    if (!has_path(path)) return false;
    refill_path = path;
    return true;
}

void rnd_detail::refill() {
    if (!kRndInitialized) SeedRnd(0);
    if (refill_path < 0) refill_path = best_path();
    regen_units(state, unit, refill_path);
    rnd_detail::phase = 0;
    rnd_detail::next = unit;
}

uint32_t rnd_next32() {
    using namespace rnd_detail;
    std::ptrdiff_t i = 2 * (next - unit) - phase;  // the next unread word
    if (i >= kN32) {
        refill();
        i = 0;
    }
    uint32_t v = state[i++];
    if (i >= kN32) {
        mark_block_read();
        return v;
    }
    // The 64-bit outputs now start at the other parity; rebuild their unit
    // values. Only RndFloat draws 32 bits, and nothing in the game calls it.
    phase = (int)(i & 1);
    fill_units(phase);
    next = unit + phase + (i - phase) / 2;
    return v;
}

float RndFloat() {
    // Near the top the value rounds to 1.0f as a float; keep it inside (0, 1).
    float f = (float)(((double)rnd_next32() + 0.5) * 0x1p-32);
    return f < 1.0f ? f : 0x1.fffffep-1f;
}

int64_t Rand64(int64_t low, int64_t high) {
    double u = RndDouble();
    // Bounds put in order and the span taken unsigned, so no bound pair can
    // overflow; where the signed difference fits this is the rule of Rand.
    if (high < low) {
        int64_t t = low;
        low = high;
        high = t;
    }
    uint64_t span = (uint64_t)high - (uint64_t)low;
    // span + 1 may be 2^64 (wraps to 0) or round up when made a double;
    // clamp so the result never passes high.
    double n = span == UINT64_MAX ? 0x1p64 : (double)(span + 1);
    uint64_t t = (uint64_t)(u * n);
    if (t > span) t = span;
    return (int64_t)((uint64_t)low + t);
}
