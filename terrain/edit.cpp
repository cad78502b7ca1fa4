// Terrain editing primitives over the tile store.
//
// Each primitive clips its region to the terrain, then visits the overlapped
// tiles once each: the tile's pixels are fetched (and locked) once, and the
// work inside is plain loops over row spans. Source images are read straight
// from their frame-0 pixmap; they are never unlocked here, since they were not
// written and a stale mark would re-upload their texture for nothing.
#include "terrain/edit.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "terrain/ellipse.h"
#include "terrain/tiles.h"

namespace {

// An inclusive region of map pixels, already clipped to the terrain.
struct Region {
    int x0, y0, x1, y1;
};

bool clip(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Region& r) {
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > map_xsize - 1) x1 = map_xsize - 1;
    if (y1 > map_ysize - 1) y1 = map_ysize - 1;
    if (x0 > x1 || y0 > y1) return false;
    r = {(int)x0, (int)y0, (int)x1, (int)y1};
    return true;
}

// One overlapped tile: its pixels, its map origin and the local inclusive
// bounds of the region inside it.
struct TileSpan {
    uint32_t* pix;
    int ox, oy;
    int lx0, lx1, ly0, ly1;
};

// Calls work(tile) for every tile the region overlaps and wanted(tile)
// accepts (the others are not even locked). A tile that holds no pixels yet
// is created only when creates(tile) says the work can leave a non-zero pixel
// there (tile.pix is null during both questions).
template <class Wanted, class Creates, class Work>
void for_tiles(const Region& r, Wanted wanted, Creates creates, Work work) {
    int tx0 = r.x0 / kTileSize, tx1 = r.x1 / kTileSize;
    int ty0 = r.y0 / kTileSize, ty1 = r.y1 / kTileSize;
    for (int tx = tx0; tx <= tx1; ++tx) {
        int ox = tx * kTileSize;
        for (int ty = ty0; ty <= ty1; ++ty) {
            int oy = ty * kTileSize;
            TileSpan t{nullptr, ox, oy, std::max(r.x0 - ox, 0), std::min(r.x1 - ox, kTileSize - 1),
                       std::max(r.y0 - oy, 0), std::min(r.y1 - oy, kTileSize - 1)};
            if (!wanted(t)) continue;
            t.pix = map_tile_pixels_fast(tx, ty, false);
            if (!t.pix && map_tile_peek(tx, ty)) continue;   // held but cannot be locked
            if (!t.pix && creates(t)) t.pix = map_tile_pixels(tx, ty, true);
            if (t.pix) work(t);
        }
    }
}

// The same for work that wants every overlapped tile.
template <class Creates, class Work>
void for_tiles(const Region& r, Creates creates, Work work) {
    for_tiles(r, [](const TileSpan&) { return true; }, creates, work);
}

const TPixmap* source_pixmap(const ImagePtr& image) {
    if (!image || image->frames.empty() || !image->frames[0]) return nullptr;
    const TPixmap* p = image->frames[0].get();
    return p->width > 0 && p->height > 0 ? p : nullptr;
}

// The stamp primitives' common start: frame 0 of the image and its footprint
// with the top-left at (x, y), clipped; false when nothing is left to do.
bool footprint(const ImagePtr& image, int x, int y, const TPixmap*& src, Region& reg) {
    src = source_pixmap(image);
    return src && clip(x, y, (int64_t)x + src->width - 1, (int64_t)y + src->height - 1, reg);
}

// a = alpha / 255 * strength and ia = 1 - a, each rounded to a float, for
// every source alpha, kept widened to double (exact) for the blends.
// i / 255 in double precision for every alpha i, worked out at compile time
// (the same correctly rounded quotients), so a table costs no division.
constexpr std::array<double, 256> kByAlpha = [] {
    std::array<double, 256> q{};
    for (int i = 0; i < 256; ++i) q[i] = (double)i / 255.0;
    return q;
}();

struct AlphaTable {
    double a[256], ia[256];
    explicit AlphaTable(float strength) { fill(strength); }
    AlphaTable() = default;
    void fill(float strength) {
        const double s = strength;
        for (int i = 0; i < 256; ++i) {
            const float fa = (float)(kByAlpha[i] * s);
            a[i] = fa;
            ia[i] = (float)(1.0 - (double)fa);
        }
    }
};

// The tables of recent strengths. Texturing stamps tens of thousands of
// small images (strips of 35 pixels, a 16 x 32 light) with a few hundred
// strengths, mostly the same as the stamp before; building a table costs more
// than such a stamp. Direct-mapped on the strength's bits.
const AlphaTable& alpha_table(float strength) {
    struct Slot {
        uint32_t key;
        bool used;
        AlphaTable t;
    };
    static Slot slots[32];
    uint32_t key;
    std::memcpy(&key, &strength, 4);
    Slot& s = slots[(key * 0x9E3779B1u) >> 27];
    if (!s.used || s.key != key) {
        s.t.fill(strength);
        s.key = key;
        s.used = true;
    }
    return s.t;
}

// True when some source pixel under the tile's part of the region has alpha
// above 128. (sx, sy) is the source pixel under map pixel (0, 0) of the map.
bool source_has_solid(const TPixmap& src, int sx, int sy, const TileSpan& t) {
    for (int ly = t.ly0; ly <= t.ly1; ++ly) {
        const uint32_t* s = src.Row(t.oy + ly + sy) + t.ox + sx;
        for (int lx = t.lx0; lx <= t.lx1; ++lx)
            if ((s[lx] >> 24) > 128) return true;
    }
    return false;
}

inline uint32_t clamp_channel(double v) {
    // NaN fails both tests and becomes 0, so it never reaches the conversion.
    return v > 0 ? (v < 255 ? (uint32_t)v : 255u) : 0u;
}

#if defined(__SSE2__)
// One tinted pixel: the blend of the header in double precision, channel by
// channel the same operations as the plain form below (so the same bits),
// two channels per instruction. rep holds the replacement channels in the
// lanes blue, green, red and keep the lanes whose source channel is used.
inline uint32_t tint_pixel(uint32_t tv, uint32_t sv, double a, double ia, __m128i rep, __m128i keep) {
    const __m128i zero = _mm_setzero_si128();
    __m128i t = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128((int)tv), zero), zero);   // b g r a
    __m128i c = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128((int)sv), zero), zero);
    c = _mm_or_si128(_mm_and_si128(c, keep), rep);
    const __m128d va = _mm_set1_pd(a), via = _mm_set1_pd(ia);
    __m128d lo = _mm_add_pd(_mm_mul_pd(via, _mm_cvtepi32_pd(t)), _mm_mul_pd(va, _mm_cvtepi32_pd(c)));
    __m128d hi = _mm_add_pd(_mm_mul_pd(via, _mm_cvtepi32_pd(_mm_unpackhi_epi64(t, t))),
                            _mm_mul_pd(va, _mm_cvtepi32_pd(_mm_unpackhi_epi64(c, c))));
    // Clamp to 0..255 (max first, so a NaN becomes 0), then truncate.
    const __m128d lim = _mm_set1_pd(255.0);
    lo = _mm_min_pd(_mm_max_pd(lo, _mm_setzero_pd()), lim);
    hi = _mm_min_pd(_mm_max_pd(hi, _mm_setzero_pd()), lim);
    __m128i n = _mm_unpacklo_epi64(_mm_cvttpd_epi32(lo), _mm_cvttpd_epi32(hi));
    n = _mm_packus_epi16(_mm_packs_epi32(n, zero), zero);
    return (tv & 0xFF000000u) | ((uint32_t)_mm_cvtsi128_si32(n) & 0xFFFFFFu);
}
#endif

// Replacement channels of a tint in the lanes blue, green, red, alpha: rep
// holds the value (0 where the source's channel is kept) and keep all ones
// where the source's channel is kept.
struct TintChannels {
    alignas(16) int32_t rep[4], keep[4];
    TintChannels(int r, int g, int b)
        : rep{b != -1 ? b : 0, g != -1 ? g : 0, r != -1 ? r : 0, 0},
          keep{b != -1 ? 0 : -1, g != -1 ? 0 : -1, r != -1 ? 0 : -1, 0} {}
};

// Tints the w x h block at d (rows kTileSize words apart) with the source
// block at s (rows sstride words apart). One call per tile: most stamps of
// the texturer are one pixel wide.
using TintRow = void (*)(uint32_t* d, const uint32_t* s, int sstride, int w, int h, const AlphaTable& alpha,
                         const TintChannels& ch);

#if defined(__SSE2__)
void tint_row_sse2(uint32_t* d, const uint32_t* s, int sstride, int w, int h, const AlphaTable& alpha,
                   const TintChannels& ch) {
    const __m128i rep = _mm_load_si128(reinterpret_cast<const __m128i*>(ch.rep));
    const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(ch.keep));
    for (; h > 0; --h, d += kTileSize, s += sstride)
        for (int i = 0; i < w; ++i) {
            const uint32_t tv = d[i], sv = s[i], as = sv >> 24;
            if ((tv >> 24) <= 128 || as == 0) continue;   // no material; or alpha 0 leaves it exactly
            d[i] = tint_pixel(tv, sv, alpha.a[as], alpha.ia[as], rep, keep);
        }
}
#else
void tint_row_plain(uint32_t* d, const uint32_t* s, int sstride, int w, int h, const AlphaTable& alpha,
                    const TintChannels& ch) {
    for (; h > 0; --h, d += kTileSize, s += sstride)
        for (int i = 0; i < w; ++i) {
            const uint32_t tv = d[i], sv = s[i], as = sv >> 24;
            if ((tv >> 24) <= 128 || as == 0) continue;
            const double a = alpha.a[as], ia = alpha.ia[as];
            uint32_t out = tv & 0xFF000000u;
            for (int c = 0; c < 3; ++c) {
                const int shift = 8 * c;
                const double cs = ch.keep[c] ? (double)((sv >> shift) & 255) : (double)ch.rep[c];
                out |= clamp_channel(ia * ((tv >> shift) & 255) + a * cs) << shift;
            }
            d[i] = out;
        }
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// The same with the three channels in one 256-bit register: the same
// operations per channel, so the same bits.
__attribute__((target("avx2"))) void tint_row_avx2(uint32_t* d, const uint32_t* s, int sstride, int w, int h,
                                                   const AlphaTable& alpha, const TintChannels& ch) {
    const __m128i rep = _mm_load_si128(reinterpret_cast<const __m128i*>(ch.rep));
    const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(ch.keep));
    const __m256d zero = _mm256_setzero_pd(), lim = _mm256_set1_pd(255.0);
    for (; h > 0; --h, d += kTileSize, s += sstride)
        for (int i = 0; i < w; ++i) {
            const uint32_t tv = d[i], sv = s[i], as = sv >> 24;
            if ((tv >> 24) <= 128 || as == 0) continue;
            const __m128i t = _mm_cvtepu8_epi32(_mm_cvtsi32_si128((int)tv));
            const __m128i c = _mm_or_si128(_mm_and_si128(_mm_cvtepu8_epi32(_mm_cvtsi32_si128((int)sv)), keep), rep);
            __m256d v = _mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(alpha.ia[as]), _mm256_cvtepi32_pd(t)),
                                      _mm256_mul_pd(_mm256_set1_pd(alpha.a[as]), _mm256_cvtepi32_pd(c)));
            v = _mm256_min_pd(_mm256_max_pd(v, zero), lim);   // max first: a NaN becomes 0
            __m128i q = _mm256_cvttpd_epi32(v);
            q = _mm_packus_epi16(_mm_packs_epi32(q, q), q);
            d[i] = (tv & 0xFF000000u) | ((uint32_t)_mm_cvtsi128_si32(q) & 0xFFFFFFu);
        }
}

#define GF_TARGET_AVX512 __attribute__((target("avx2,avx512f,avx512dq,avx512vl")))
// This compiler's AVX-512 header trips false "uninitialized" warnings.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
// Tints the pixels at d0 and d1 (targets tv0, tv1; sources sv0, sv1).
GF_TARGET_AVX512 inline void tint_pair_avx512(uint32_t* d0, uint32_t tv0, uint32_t sv0, uint32_t* d1, uint32_t tv1,
                                              uint32_t sv1, const AlphaTable& alpha, __m512i rep, __m512i keep) {
    const __m512d zero = _mm512_setzero_pd(), lim = _mm512_set1_pd(255.0);
    const __m512d t = _mm512_cvtepi64_pd(_mm512_cvtepu8_epi64(_mm_cvtsi64_si128((long long)((uint64_t)tv1 << 32 | tv0))));
    const __m512i ci = _mm512_cvtepu8_epi64(_mm_cvtsi64_si128((long long)((uint64_t)sv1 << 32 | sv0)));
    const __m512d c = _mm512_cvtepi64_pd(_mm512_or_si512(_mm512_and_si512(ci, keep), rep));
    const uint32_t as0 = sv0 >> 24, as1 = sv1 >> 24;
    const __m512d ia = _mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_set1_pd(alpha.ia[as0])), _mm256_set1_pd(alpha.ia[as1]), 1);
    const __m512d a = _mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_set1_pd(alpha.a[as0])), _mm256_set1_pd(alpha.a[as1]), 1);
    __m512d v = _mm512_add_pd(_mm512_mul_pd(ia, t), _mm512_mul_pd(a, c));
    v = _mm512_min_pd(_mm512_max_pd(v, zero), lim);   // max first: a NaN becomes 0
    // Each lane is 0..255 now, so narrowing keeps it exactly.
    const uint64_t q = (uint64_t)_mm_cvtsi128_si64(_mm512_cvtepi64_epi8(_mm512_cvttpd_epi64(v)));
    *d0 = (tv0 & 0xFF000000u) | ((uint32_t)q & 0xFFFFFFu);
    *d1 = (tv1 & 0xFF000000u) | ((uint32_t)(q >> 32) & 0xFFFFFFu);
}

// The same two pixels at a time, each in four 64-bit lanes: the same
// operations per channel in the same order, so the same bits. The pixels of a
// block are independent, so they are paired in the order met, across rows
// too: most stamps are one pixel wide. The blend is the costly part; pairing
// halves it and its conversions.
GF_TARGET_AVX512 void tint_row_avx512(uint32_t* d, const uint32_t* s, int sstride, int w, int h, const AlphaTable& alpha,
                                      const TintChannels& ch) {
    const __m128i rep4 = _mm_load_si128(reinterpret_cast<const __m128i*>(ch.rep));
    const __m128i keep4 = _mm_load_si128(reinterpret_cast<const __m128i*>(ch.keep));
    const __m512i rep = _mm512_broadcast_i64x4(_mm256_cvtepi32_epi64(rep4));
    const __m512i keep = _mm512_broadcast_i64x4(_mm256_cvtepi32_epi64(keep4));
    uint32_t* pending = nullptr;   // a pixel waiting for its partner
    uint32_t ptv = 0, psv = 0;
    for (; h > 0; --h, d += kTileSize, s += sstride)
        for (int i = 0; i < w; ++i) {
            const uint32_t tv = d[i], sv = s[i];
            if ((tv >> 24) <= 128 || (sv >> 24) == 0) continue;   // no material; or alpha 0 leaves it exactly
            if (!pending) {
                pending = d + i, ptv = tv, psv = sv;
                continue;
            }
            tint_pair_avx512(pending, ptv, psv, d + i, tv, sv, alpha, rep, keep);
            pending = nullptr;
        }
    if (pending) {
        // The last one alone: paired with itself, written twice alike.
        tint_pair_avx512(pending, ptv, psv, pending, ptv, psv, alpha, rep, keep);
    }
}
#pragma GCC diagnostic pop
#endif

TintRow pick_tint_row() {
#if defined(__x86_64__) && defined(__GNUC__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl"))
        return tint_row_avx512;
    if (__builtin_cpu_supports("avx2")) return tint_row_avx2;
#endif
#undef GF_TARGET_AVX512
#if defined(__SSE2__)
    return tint_row_sse2;
#else
    return tint_row_plain;
#endif
}

TintRow g_tint_row = pick_tint_row();

// The tint of map_alphaimage and map_alphaimagerect over a region whose
// source pixel for map pixel (px, py) is (px + sx, py + sy).
void tint(const TPixmap& src, const Region& reg, int sx, int sy, float strength, int r, int g, int b) {
    const TintRow row = g_tint_row;
    const AlphaTable& alpha = alpha_table(strength);
    const TintChannels ch(r, g, b);
    for_tiles(
        reg, [](const TileSpan&) { return false; },   // a tint needs material to work on
        [&](const TileSpan& t) {
            row(t.pix + t.ly0 * kTileSize + t.lx0, src.Row(t.oy + t.ly0 + sy) + t.ox + sx + t.lx0, src.width,
                t.lx1 - t.lx0 + 1, t.ly1 - t.ly0 + 1, alpha, ch);
        });
}

// Writes v to d[0..n-1] (n >= 1). Spans are at most a tile row
// (400 bytes) and most are short, so short ones take a few overlapping
// 16-byte stores with no loop. A plain fill loop with a value known only at
// run time is not vectorised at -O2, and a call to memset per piece of a row
// costs more than the stores themselves.
[[gnu::always_inline]] inline void fill_n(uint32_t* d, size_t n, uint32_t v) {
    const uint32_t q[4] = {v, v, v, v};
    if (n < 4) {
        d[0] = v;   // n 1..3: these three cover every word
        d[n / 2] = v;
        d[n - 1] = v;
        return;
    }
    if (n <= 16) {
        // 4..8 words: the first and last four (twice over); 9..16: the first
        // eight and the last eight. No branch on the length within the range.
        const size_t o1 = n > 8 ? 4 : 0, o2 = n > 8 ? n - 8 : 0;
        std::memcpy(d, q, 16);
        std::memcpy(d + o1, q, 16);
        std::memcpy(d + o2, q, 16);
        std::memcpy(d + n - 4, q, 16);
        return;
    }
    if (n <= 32) {
        uint32_t* e = d + n - 16;
        std::memcpy(d, q, 16);
        std::memcpy(d + 4, q, 16);
        std::memcpy(d + 8, q, 16);
        std::memcpy(d + 12, q, 16);
        std::memcpy(e, q, 16);
        std::memcpy(e + 4, q, 16);
        std::memcpy(e + 8, q, 16);
        std::memcpy(e + 12, q, 16);
        return;
    }
    for (size_t i = 0; i + 16 <= n; i += 16) {
        std::memcpy(d + i, q, 16);
        std::memcpy(d + i + 4, q, 16);
        std::memcpy(d + i + 8, q, 16);
        std::memcpy(d + i + 12, q, 16);
    }
    uint32_t* e = d + n - 16;
    std::memcpy(e, q, 16);
    std::memcpy(e + 4, q, 16);
    std::memcpy(e + 8, q, 16);
    std::memcpy(e + 12, q, 16);
}

inline void fill_span(uint32_t* d, int64_t first, int64_t last, uint32_t v) {
    fill_n(d + first, (size_t)(last - first + 1), v);
}

// The crater's rows inside one tile: distances e0..e1 from the centre row,
// row[px] being map column px of the tile row at distance e0, half[|e| - dlo]
// the half span at distance e (-1: nothing inside), cx the centre column and
// lo..hi the columns of the tile inside the terrain and the crater's box.
struct CarveRows {
    uint32_t* row;
    const int* half;
    int dlo, e0, e1, cx, lo, hi;
    uint32_t v;
};
using CarveTile = void (*)(const CarveRows& c);

// The inclusive columns of the row at distance e; first > last when empty.
[[gnu::always_inline]] inline void carve_cols(const CarveRows& c, int e, int& first, int& last) {
    const int64_t h = c.half[std::abs(e) - c.dlo];
    first = (int)std::max<int64_t>((int64_t)c.cx - h, c.lo);
    last = (int)std::min<int64_t>((int64_t)c.cx + h, c.hi);
}

void carve_tile_sse2(const CarveRows& rows) {
    const CarveRows c = rows;   // a copy: the stores cannot touch it
    uint32_t* row = c.row;
    for (int e = c.e0; e <= c.e1; ++e, row += kTileSize) {
        int f, l;
        carve_cols(c, e, f, l);
        if (f <= l) fill_n(row + f, (size_t)(l - f + 1), c.v);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same with 32-byte stores: a crater's long rows take half the stores.
__attribute__((target("avx2"))) void carve_tile_avx2(const CarveRows& rows) {
    const CarveRows c = rows;   // a copy: the stores cannot touch it
    const __m256i q = _mm256_set1_epi32((int)c.v);
    const __m128i q4 = _mm256_castsi256_si128(q);
    uint32_t* row = c.row;
    for (int e = c.e0; e <= c.e1; ++e, row += kTileSize) {
        int f, l;
        carve_cols(c, e, f, l);
        if (f > l) continue;
        uint32_t* d = row + f;
        const int n = l - f + 1;
        if (n < 4) {
            d[0] = c.v;   // n 1..3: these three cover every word
            d[n / 2] = c.v;
            d[n - 1] = c.v;
        } else if (n <= 8) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), q4);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 4), q4);
        } else if (n <= 16) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), q);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + n - 8), q);
        } else {
            // Eight words a store, the last store overlapping the one before.
            for (int i = 0; i + 8 < n; i += 8) _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), q);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + n - 8), q);
        }
    }
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
// With AVX-512 a piece of up to 16 words is one masked store, whatever its
// length: no branches on the length, which vary row by row.
__attribute__((target("avx512f"))) void carve_tile_avx512(const CarveRows& rows) {
    const CarveRows c = rows;   // a copy: the stores cannot touch it
    const __m512i q = _mm512_set1_epi32((int)c.v);
    uint32_t* row = c.row;
    for (int e = c.e0; e <= c.e1; ++e, row += kTileSize) {
        int f, l;
        carve_cols(c, e, f, l);
        if (f > l) continue;
        uint32_t* d = row + f;
        int n = l - f + 1;
        for (; n > 16; n -= 16, d += 16) _mm512_storeu_si512(d, q);
        _mm512_mask_storeu_epi32(d, (__mmask16)((1u << n) - 1), q);
    }
}
#endif

CarveTile pick_carve_tile() {
#if defined(__x86_64__) && defined(__GNUC__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return carve_tile_avx512;
    if (__builtin_cpu_supports("avx2")) return carve_tile_avx2;
#endif
    return carve_tile_sse2;
}

CarveTile g_carve_tile = pick_carve_tile();

// The half spans of the circle of radius r at distances 0..r, kept for the
// next crater: explosions of one weapon share a radius, and working the
// spans out again would cost a small crater as much as its stores.
constexpr int kCachedCircle = 4096;
const int* circle_half_spans(int r) {
    static int cached_r = 0;
    static std::vector<int> half;
    if (r != cached_r) {
        std::vector<int64_t> h((size_t)r + 1);
        Tmap_ellipse::circle_half_spans(r, 0, r, h.data());
        half.assign(h.begin(), h.end());
        cached_r = r;
    }
    return half.data();
}

}  // namespace

int map_tint_path(int path) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (path == 1 && __builtin_cpu_supports("avx2")) g_tint_row = tint_row_avx2;
    if (path == 2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
        __builtin_cpu_supports("avx512vl"))
        g_tint_row = tint_row_avx512;
#endif
#if defined(__SSE2__)
    if (path == 0) g_tint_row = tint_row_sse2;
#else
    if (path == 0) g_tint_row = tint_row_plain;
#endif
#if defined(__x86_64__) && defined(__GNUC__)
    return g_tint_row == tint_row_avx512 ? 2 : g_tint_row == tint_row_avx2 ? 1 : 0;
#else
    return 0;
#endif
}

int map_carve_path(int path) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (path == 1 && __builtin_cpu_supports("avx2")) g_carve_tile = carve_tile_avx2;
    if (path == 2 && __builtin_cpu_supports("avx512f")) g_carve_tile = carve_tile_avx512;
    if (path == 0) g_carve_tile = carve_tile_sse2;
    return g_carve_tile == carve_tile_avx512 ? 2 : g_carve_tile == carve_tile_avx2 ? 1 : 0;
#else
    return 0;
#endif
}

int map_rect(int x, int y, int w, int h, int argb) {
    map_unlock = 1;
    if (w < 0 || h < 0) return 0;
    Region reg;
    if (!clip(x, y, (int64_t)x + w, (int64_t)y + h, reg)) return 0;
    uint32_t v = (uint32_t)argb;
    for_tiles(
        reg, [v](const TileSpan&) { return v != 0; },
        [v](const TileSpan& t) {
            for (int ly = t.ly0; ly <= t.ly1; ++ly) fill_span(t.pix + ly * kTileSize, t.lx0, t.lx1, v);
        });
    return 0;
}

int map_oval(int x, int y, int rx, int ry, int argb) {
    if (rx < 1 || ry < 1) return 0;
    map_unlock = 1;
    Region reg;
    if (!clip((int64_t)x - rx, (int64_t)y - ry, (int64_t)x + rx, (int64_t)y + ry, reg)) return 0;
    // The half span of each distance d from the centre row is worked out once
    // for the whole crater (the ellipse is symmetric about its centre row);
    // half[d - hlo] for d = dlo..dhi, the distances the clipped rows need
    // (the table of a cached circle starts at hlo = 0). They fit an int:
    // |py - y| <= ry for every clipped row py, and a half span <= rx.
    const int d0 = (int)((int64_t)reg.y0 - y), d1 = (int)((int64_t)reg.y1 - y);
    const int dlo = d0 <= 0 && d1 >= 0 ? 0 : std::min(std::abs(d0), std::abs(d1));
    const int dhi = std::max(std::abs(d0), std::abs(d1));
    const int* half;
    int hlo = 0;
    static std::vector<int> ellipse_half;
    if (rx == ry && rx <= kCachedCircle) {
        half = circle_half_spans(rx);   // explosions: no ellipse to build
    } else {
        // Only the clipped rows' distances: a crater whose centre lies far
        // off the map costs no more than its rows on the map.
        static std::vector<int64_t> wide;
        wide.resize((size_t)(dhi - dlo + 1));
        if (rx == ry && rx <= (1 << 20))
            Tmap_ellipse::circle_half_spans(rx, dlo, dhi, wide.data());
        else
            Tmap_ellipse(rx, ry).half_spans(dlo, dhi, wide.data());
        ellipse_half.assign(wide.begin(), wide.end());
        half = ellipse_half.data();
        hlo = dlo;
    }
    const uint32_t v = (uint32_t)argb;
    const CarveTile carve_tile = g_carve_tile;
    for (int ty = reg.y0 / kTileSize; ty <= reg.y1 / kTileSize; ++ty) {
        const int oy = ty * kTileSize;
        // Distance from the centre row of map rows py0..py1 is py - y.
        const int py0 = std::max(reg.y0, oy), py1 = std::min(reg.y1, oy + kTileSize - 1);
        const int e0 = d0 + (py0 - reg.y0), e1 = d0 + (py1 - reg.y0);
        // The rows' spans are nested about the centre column, so the band's
        // widest row (the one nearest the centre row) covers every column
        // any of its rows touches: exactly the tiles under it are fetched,
        // an empty one created only when v can leave a non-zero pixel in it.
        CarveRows c{nullptr, half, hlo, e0, e1, x, reg.x0, reg.x1, v};
        int wf, wl;
        carve_cols(c, e0 <= 0 && e1 >= 0 ? 0 : std::min(std::abs(e0), std::abs(e1)), wf, wl);
        if (wf > wl) continue;
        // row[px] is map column px of the tile row at distance e0.
        const ptrdiff_t row_off = (ptrdiff_t)(py0 - oy) * kTileSize;
        for (int tx = wf / kTileSize; tx <= wl / kTileSize; ++tx) {
            uint32_t* pix = map_tile_pixels_fast(tx, ty, v != 0);
            if (!pix) continue;
            const int ox = tx * kTileSize;
            c.row = pix + row_off - ox;
            c.lo = std::max(reg.x0, ox);
            c.hi = std::min(reg.x1, ox + kTileSize - 1);
            carve_tile(c);
        }
    }
    return 0;
}

int map_image(const ImagePtr& image, int x, int y, int mode) {
    map_unlock = 1;
    const TPixmap* src;
    Region reg;
    if (!footprint(image, x, y, src, reg)) return 0;
    int sx = -x, sy = -y;
    if (mode == 0) {
        for_tiles(
            reg, [&](const TileSpan& t) { return source_has_solid(*src, sx, sy, t); },
            [&](const TileSpan& t) {
                for (int ly = t.ly0; ly <= t.ly1; ++ly) {
                    uint32_t* d = t.pix + ly * kTileSize;
                    const uint32_t* s = src->Row(t.oy + ly + sy) + t.ox + sx;
                    for (int lx = t.lx0; lx <= t.lx1; ++lx)
                        if ((s[lx] >> 24) > 128) d[lx] = s[lx];
                }
            });
    } else {
        for_tiles(
            reg, [](const TileSpan&) { return true; },
            [&](const TileSpan& t) {
                for (int ly = t.ly0; ly <= t.ly1; ++ly) {
                    uint32_t* d = t.pix + ly * kTileSize;
                    const uint32_t* s = src->Row(t.oy + ly + sy) + t.ox + sx;
                    for (int lx = t.lx0; lx <= t.lx1; ++lx) d[lx] = s[lx] | 0xFF000000u;
                }
            });
    }
    return 0;
}

int map_alphaimage(const ImagePtr& image, int x, int y, float strength, int r, int g, int b) {
    map_unlock = 1;
    const TPixmap* src;
    Region reg;
    if (!footprint(image, x, y, src, reg)) return 0;
    tint(*src, reg, -x, -y, strength, r, g, b);
    return 0;
}

int map_alphaimagerect(const ImagePtr& image, int x, int y, int sx, int sy, int w, int h, float strength, int r,
                       int g, int b) {
    map_unlock = 1;
    const TPixmap* src = source_pixmap(image);
    if (!src) return 0;
    int64_t ew = std::min<int64_t>(w, (int64_t)src->width - std::max(0, sx));
    int64_t eh = std::min<int64_t>(h, (int64_t)src->height - std::max(0, sy));
    if (ew <= 0 || eh <= 0) return 0;
    // Map pixel (px, py) reads source (px + ox, py + oy). A negative sx or sy
    // would reach left of or above the image: those map pixels are left out.
    int64_t ox = (int64_t)sx - x, oy = (int64_t)sy - y;
    int64_t x0 = x, y0 = y, x1 = (int64_t)x + ew - 1, y1 = (int64_t)y + eh - 1;
    x0 = std::max(x0, -ox);
    y0 = std::max(y0, -oy);
    x1 = std::min(x1, (int64_t)src->width - 1 - ox);
    y1 = std::min(y1, (int64_t)src->height - 1 - oy);
    Region reg;
    if (!clip(x0, y0, x1, y1, reg)) return 0;
    tint(*src, reg, (int)ox, (int)oy, strength, r, g, b);
    return 0;
}

int map_backimage(const ImagePtr& image, int x, int y, int dr, int dg, int db) {
    map_unlock = 1;
    const TPixmap* src;
    Region reg;
    if (!footprint(image, x, y, src, reg)) return 0;
    int sx = -x, sy = -y;
    const AlphaTable& alpha = alpha_table(1.0f);
    const int adj[3] = {dr, dg, db};
    for_tiles(
        reg, [&](const TileSpan& t) { return source_has_solid(*src, sx, sy, t); },
        [&](const TileSpan& t) {
            for (int ly = t.ly0; ly <= t.ly1; ++ly) {
                uint32_t* d = t.pix + ly * kTileSize;
                const uint32_t* s = src->Row(t.oy + ly + sy) + t.ox + sx;
                for (int lx = t.lx0; lx <= t.lx1; ++lx) {
                    uint32_t tv = d[lx], sv = s[lx];
                    uint32_t at = tv >> 24, as = sv >> 24;
                    if (at == 255 || as <= 128) continue;
                    const double a = alpha.a[as], ia = alpha.ia[as];
                    uint32_t out = std::min<uint32_t>(at + as, 255) << 24;
                    for (int c = 0; c < 3; ++c) {
                        int shift = 16 - 8 * c;
                        int ct = (int)((tv >> shift) & 255), cs = (int)((sv >> shift) & 255);
                        uint32_t nc;
                        if (adj[c] == 0) {
                            nc = clamp_channel((double)ia * ct + (double)a * cs);
                        } else {
                            int64_t u = std::clamp<int64_t>((int64_t)cs + adj[c], 0, 255);
                            float p = (float)((double)ia * ct);
                            float q = (float)((double)a * (double)u);
                            nc = clamp_channel((double)(float)((double)p + (double)q));
                        }
                        out |= nc << shift;
                    }
                    d[lx] = out;
                }
            }
        });
    return 0;
}
