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
        // 4..8 words: the first and last four; 9..16: the first eight and the
        // last eight.
        std::memcpy(d, q, 16);
        std::memcpy(d + n - 4, q, 16);
        if (n > 8) {
            std::memcpy(d + 4, q, 16);
            std::memcpy(d + n - 8, q, 16);
        }
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

// A band of crater rows (the rows of one tile row of the map) over up to
// kBandTiles neighbouring tiles. Rows are at distances e0..e1 from the centre
// row; lo..hi are the band's columns inside the terrain and the crater's
// box. Tile k covers map columns ox0 + 100k .. ox0 + 100k + 99; row[k] is
// its row at distance e0 (null: the tile is left alone).
constexpr int kBandTiles = 4;
struct CarveBand {
    uint32_t* row[kBandTiles];
    int e0, e1, lo, hi, ox0, n;
};
// Up to kJobBands bands of one crater, carved in one call: a small crater's
// tiles are all fetched before any is written, so their lookups overlap
// instead of queueing. half[|e| - dlo] is the half span at distance e from
// the centre row (-1: nothing inside); cx is the centre column.
constexpr int kJobBands = 4;
struct CarveJob {
    const int* half;
    int dlo, cx, nb;
    uint32_t v;
    CarveBand band[kJobBands];
};
using CarveFn = void (*)(const CarveJob& job);

// The crater's rows e0..e1 in one tile whose row at distance e0 is row and
// whose first column is ox, within columns lo..hi: a tight loop of one span
// and one fill per row. half[|e| - dlo] is the half span at distance e.
template <class Fill>
inline void carve_rows(uint32_t* row, int ox, int64_t lo, int64_t hi, int64_t cx, const int* half, int dlo, int e0,
                       int e1, uint32_t v) {
    for (int e = e0; e <= e1; ++e, row += kTileSize) {
        const int64_t h = half[std::abs(e) - dlo];
        const int64_t first = std::max(cx - h, lo), last = std::min(cx + h, hi);
        if (first <= last) Fill::fill(row + (first - ox), (int)(last - first + 1), v);
    }
}

// The same rows in two tiles side by side (a crater across a tile edge or
// corner): one span per row, cut at the edge, instead of a pass per tile.
// Columns count from the edge (negative: the left tile): c is the centre
// column, lo..hi the columns to keep within; left_end is one past the left
// tile's row at distance e0, right the right tile's row. Without kClip
// the crater's box lies inside both tiles and lo, hi are not needed.
template <class Fill, bool kClip>
inline void carve_rows_split(uint32_t* left_end, uint32_t* right, int64_t lo, int64_t hi, int64_t c, const int* half,
                             int dlo, int e0, int e1, uint32_t v) {
    for (int e = e0, off = 0; e <= e1; ++e, off += kTileSize) {
        const int64_t h = half[std::abs(e) - dlo];
        const int64_t first = kClip ? std::max(c - h, lo) : c - h, last = kClip ? std::min(c + h, hi) : c + h;
        if (first > last) continue;
        if (first < 0) Fill::fill(left_end + off + first, (int)(std::min<int64_t>(last, -1) - first + 1), v);
        if (last >= 0) {
            const int64_t f = std::max<int64_t>(first, 0);
            Fill::fill(right + off + f, (int)(last - f + 1), v);
        }
    }
}

template <class Fill>
inline void carve_band(const CarveJob& job, const CarveBand& band) {
    if (band.n == 2 && band.row[0] && band.row[1]) {
        const int split = band.ox0 + kTileSize;
        carve_rows_split<Fill, true>(band.row[0] + kTileSize, band.row[1], band.lo - split, band.hi - split,
                               (int64_t)job.cx - split, job.half, job.dlo, band.e0, band.e1, job.v);
        return;
    }
    for (int k = 0; k < band.n; ++k) {
        if (!band.row[k]) continue;
        const int ox = band.ox0 + k * kTileSize;
        carve_rows<Fill>(band.row[k], ox, std::max(band.lo, ox), std::min(band.hi, ox + kTileSize - 1), job.cx,
                         job.half, job.dlo, band.e0, band.e1, job.v);
    }
}

// Writes v to d[0..n-1] (n >= 1). Pieces are at most a tile row (400
// bytes) and most are short.
struct FillSse2 {
    static void fill(uint32_t* d, int n, uint32_t v) { fill_n(d, (size_t)n, v); }
};

#if defined(__x86_64__) && defined(__GNUC__)
// 32-byte stores; a long piece is stored aligned between an unaligned first
// and last store, so its middle stores never straddle two cache lines.
struct FillAvx2 {
    __attribute__((target("avx2"))) static void fill(uint32_t* d, int n, uint32_t v) {
        const __m256i q = _mm256_set1_epi32((int)v);
        if (n < 4) {
            d[0] = v;   // n 1..3: these three cover every word
            d[n / 2] = v;
            d[n - 1] = v;
        } else if (n <= 16) {
            // Crater rows change length a little from row to row: one test
            // fewer on the length costs less than the two stores it saves
            // (a mispredicted branch costs more than several stores).
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(q));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 4), _mm256_castsi256_si128(q));
            if (n >= 8) {
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), q);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + n - 8), q);
            }
        } else {
            uint32_t* const end = d + n - 8;
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), q);
            auto* p = reinterpret_cast<__m256i*>(((uintptr_t)d + 32) & ~(uintptr_t)31);
            for (; reinterpret_cast<uint32_t*>(p) < end; ++p) _mm256_store_si256(p, q);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(end), q);
        }
    }
};

// Up to 16 words is one masked store whatever the length (no branches on
// lengths that change row by row); up to 32 two overlapping stores; longer
// ones are stored aligned between an unaligned first and last store. (A
// masked store just after a store to the same line stalls, so it is kept
// for the short pieces.)
struct FillAvx512 {
    __attribute__((target("avx512f"))) static void fill(uint32_t* d, int n, uint32_t v) {
        const __m512i q = _mm512_set1_epi32((int)v);
        if (n <= 16) {
            _mm512_mask_storeu_epi32(d, (__mmask16)((1u << n) - 1), q);
        } else if (n <= 32) {
            _mm512_storeu_si512(d, q);
            _mm512_storeu_si512(d + n - 16, q);
        } else {
            uint32_t* const end = d + n - 16;
            _mm512_storeu_si512(d, q);
            auto* p = reinterpret_cast<uint32_t*>(((uintptr_t)d + 64) & ~(uintptr_t)63);
            for (; p < end; p += 16) _mm512_store_si512(p, q);
            _mm512_storeu_si512(end, q);
        }
    }
};
#endif

template <class Fill>
inline void carve_job(const CarveJob& job) {
    for (int i = 0; i < job.nb; ++i) carve_band<Fill>(job, job.band[i]);
}

// An explosion crater: a circle of radius 1..kSmallCrater whose box lies
// inside the terrain, so within 2 x 2 tiles. The general path's clipping and
// band bookkeeping cost more than such a crater's stores; this one fetches
// the same tiles (those under each band's widest row, created only when v
// can leave a non-zero pixel) and writes the same pixels.
constexpr int kSmallCrater = 49;
template <class Fill>
inline void carve_small(int x, int y, int r, uint32_t v, const int* half) {
    const int xs = (x + r) / kTileSize * kTileSize;   // the right tile's first column
    const int ys = (y + r) / kTileSize * kTileSize;   // the lower tile's first row
    const int tx = (x - r) / kTileSize;
    const bool two_cols = xs > x - r;
    const int64_t cx = x;
    // The bands (rows above and below ys) and their tiles' rows at distance
    // e0 (null: not written), all fetched before any is written so that the
    // lookups overlap.
    struct Band {
        int e0, e1;
        uint32_t *left, *right;
    } bands[2];
    int nb = 0;
    for (int band = 0; band < 2; ++band) {
        // Rows py0..py1 of this band; e is py - y.
        if (band == 1 && ys <= y - r) break;
        const int py0 = band == 0 ? y - r : ys, py1 = band == 0 && ys > y - r ? ys - 1 : y + r;
        const int e0 = py0 - y, e1 = py1 - y;
        const int64_t wh = half[e0 <= 0 && e1 >= 0 ? 0 : std::min(std::abs(e0), std::abs(e1))];
        if (wh < 0) continue;
        const int ty = py0 / kTileSize;
        const ptrdiff_t row_off = (ptrdiff_t)(py0 - ty * kTileSize) * kTileSize;
        const bool want_left = !two_cols || cx - wh < xs, want_right = two_cols && cx + wh >= xs;
        uint32_t* left = want_left ? map_tile_pixels_fast(tx, ty, v != 0) : nullptr;
        uint32_t* right = want_right ? map_tile_pixels_fast(tx + 1, ty, v != 0) : nullptr;
        bands[nb++] = {e0, e1, left ? left + row_off : nullptr, right ? right + row_off : nullptr};
    }
    for (int i = 0; i < nb; ++i) {
        const int e0 = bands[i].e0, e1 = bands[i].e1;
        uint32_t* const left = bands[i].left;
        uint32_t* const right = bands[i].right;
        if (left && right) {
            carve_rows_split<Fill, false>(left + kTileSize, right, 0, 0, cx - xs, half, 0, e0, e1, v);
            continue;
        }
        // One tile to write.
        if (left)
            carve_rows<Fill>(left, tx * kTileSize, 0, two_cols ? xs - 1 : INT64_MAX, cx, half, 0, e0, e1, v);
        else if (right)
            carve_rows<Fill>(right, xs, xs, INT64_MAX, cx, half, 0, e0, e1, v);
    }
}
using CarveSmallFn = void (*)(int x, int y, int r, uint32_t v, const int* half);

void carve_small_sse2(int x, int y, int r, uint32_t v, const int* half) { carve_small<FillSse2>(x, y, r, v, half); }
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx2"), flatten)) void carve_small_avx2(int x, int y, int r, uint32_t v, const int* half) {
    carve_small<FillAvx2>(x, y, r, v, half);
}
__attribute__((target("avx512f"), flatten)) void carve_small_avx512(int x, int y, int r, uint32_t v, const int* half) {
    carve_small<FillAvx512>(x, y, r, v, half);
}
#endif

void carve_sse2(const CarveJob& job) { carve_job<FillSse2>(job); }
#if defined(__x86_64__) && defined(__GNUC__)
// flatten: the fill, compiled for the wider vectors, can only be inlined
// into a caller that has them too.
__attribute__((target("avx2"), flatten)) void carve_avx2(const CarveJob& job) { carve_job<FillAvx2>(job); }
__attribute__((target("avx512f"), flatten)) void carve_avx512(const CarveJob& job) { carve_job<FillAvx512>(job); }
#endif

// The paths: 0 SSE2, 1 AVX2, 2 AVX-512.
struct CarvePath {
    CarveFn job;
    CarveSmallFn small;
};
CarvePath carve_path(int path) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (path == 2) return {carve_avx512, carve_small_avx512};
    if (path == 1) return {carve_avx2, carve_small_avx2};
#endif
    (void)path;
    return {carve_sse2, carve_small_sse2};
}

int machine_carve_path() {
#if defined(__x86_64__) && defined(__GNUC__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return 2;
    if (__builtin_cpu_supports("avx2")) return 1;
#endif
    return 0;
}

int g_carve_path = machine_carve_path();
CarvePath g_carve = carve_path(g_carve_path);

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
    if (path >= 0 && path <= machine_carve_path()) {
        g_carve_path = path;
        g_carve = carve_path(path);
    }
    return g_carve_path;
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
    if (rx == ry && rx <= kSmallCrater && x - rx >= 0 && y - ry >= 0 && x + rx < map_xsize && y + ry < map_ysize) {
        g_carve.small(x, y, rx, (uint32_t)argb, circle_half_spans(rx));
        return 0;
    }
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
    const CarveFn carve = g_carve.job;
    CarveJob job;   // bands are written before they are read: no clearing
    job.half = half;
    job.dlo = hlo;
    job.cx = x;
    job.nb = 0;
    job.v = v;
    for (int ty = reg.y0 / kTileSize; ty <= reg.y1 / kTileSize; ++ty) {
        const int oy = ty * kTileSize;
        // Distance from the centre row of map rows py0..py1 is py - y.
        const int py0 = std::max(reg.y0, oy), py1 = std::min(reg.y1, oy + kTileSize - 1);
        const int e0 = d0 + (py0 - reg.y0), e1 = d0 + (py1 - reg.y0);
        // The rows' spans are nested about the centre column, so the band's
        // widest row (the one nearest the centre row) covers every column
        // any of its rows touches: exactly the tiles under it are fetched,
        // an empty one created only when v can leave a non-zero pixel in it.
        const int64_t wh = half[(e0 <= 0 && e1 >= 0 ? 0 : std::min(std::abs(e0), std::abs(e1))) - hlo];
        const int wf = (int)std::max<int64_t>((int64_t)x - wh, reg.x0);
        const int wl = (int)std::min<int64_t>((int64_t)x + wh, reg.x1);
        if (wf > wl) continue;
        const ptrdiff_t row_off = (ptrdiff_t)(py0 - oy) * kTileSize;
        for (int t0 = wf / kTileSize, tl = wl / kTileSize; t0 <= tl; t0 += kBandTiles) {
            CarveBand& b = job.band[job.nb];
            b.e0 = e0;
            b.e1 = e1;
            b.ox0 = t0 * kTileSize;
            b.n = std::min(kBandTiles, tl - t0 + 1);
            bool any = false;
            for (int k = 0; k < b.n; ++k) {
                uint32_t* pix = map_tile_pixels_fast(t0 + k, ty, v != 0);
                b.row[k] = pix ? pix + row_off : nullptr;
                any = any || pix;
            }
            if (!any) continue;
            b.lo = std::max(reg.x0, b.ox0);
            b.hi = std::min(reg.x1, b.ox0 + b.n * kTileSize - 1);
            if (++job.nb == kJobBands) carve(job), job.nb = 0;
        }
    }
    if (job.nb) carve(job);
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
