// Terrain texturing: textures, inner earth, shade, surface strips, nodes,
// scenery, rocks and branches.
#include "terrain/texture.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cmath>
#include <map>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/catalogue.h"
#include "core/det_math.h"
#include "core/input.h"
#include "core/random.h"
#include "core/services.h"
#include "platform/pixmap.h"
#include "terrain/edit.h"
#include "terrain/nodes.h"
#include "terrain/scenery.h"
#include "terrain/scenery_grid.h"
#include "terrain/tiles.h"

std::vector<Tmap_decoration>* map_decoration_trace = nullptr;

namespace {

const std::string kTex = "gfx/textures/";

struct Style {
    std::string upper, body, shore;   // texture files
    ImagePtr* strip;                  // surface strip image
    float strength;                   // strip strength S
    int a_range, b_range;             // decoration chances: branch 1 in a, rock 1 in b (0: no rocks)
    int branch_tint[3];
    int rock_tint[3];
    bool roots;
};

const Style& style_of(int style) {
    static const Style styles[5] = {
        {kTex + "tex_rock.bmp", kTex + "tex_earth.bmp", kTex + "tex_sand.bmp", &gfx_grass, 1.0f, 500, 1000,
         {-1, -1, -1}, {-1, -1, -1}, true},
        {kTex + "tex_desertrock.bmp", kTex + "tex_desert.bmp", kTex + "tex_sand.bmp", &gfx_desertgrass, 1.0f, 500,
         1000, {40, 40, 20}, {50, 45, 15}, true},
        {kTex + "tex_blackrock.bmp", kTex + "tex_black.bmp", kTex + "tex_sand.bmp", &gfx_desertgrass, 0.3f, 500, 300,
         {-50, -50, -50}, {-50, -50, -50}, true},
        {kTex + "tex_snowrock.bmp", kTex + "tex_snow.bmp", kTex + "tex_snowsand.bmp", &gfx_snowgrass, 0.3f, 1000, 0,
         {75, 100, 125}, {0, 0, 0}, false},
        {kTex + "tex_blackrock.bmp", kTex + "tex_mars.bmp", kTex + "tex_sand.bmp", &gfx_nograss, 0.8f, 1000, 300,
         {-25, -100, -100}, {20, -15, -15}, true},
    };
    return styles[map_texture_style(style)];
}

// Placement sizes of the branch and rock images. They are part of the map's
// recipe, so they come from this table and not from the loaded images.
constexpr int kBranchW[12] = {48, 17, 40, 25, 19, 13, 17, 12, 13, 20, 26, 33};
constexpr int kBranchH[12] = {58, 37, 38, 46, 35, 14, 19, 30, 37, 53, 67, 58};
constexpr int kRockW[9] = {50, 35, 125, 101, 42, 30, 26, 35, 30};
constexpr int kRockH[9] = {50, 47, 51, 79, 36, 23, 30, 20, 20};

// A texture as opaque ARGB words, row by row: pixel (x, y) at y * w + x, so
// a tile row reads along texture rows. Made once, when the texture is read.
struct Argb_texture {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
};

Argb_texture argb_of(const Tmap_texture& t) {
    Argb_texture a;
    a.w = t.w;
    a.h = t.h;
    a.px.resize((size_t)t.w * t.h);
    for (int x = 0; x < t.w; ++x)
        for (int y = 0; y < t.h; ++y) {
            const uint8_t* p = t.rgb.data() + ((size_t)x * t.h + y) * 3;
            a.px[(size_t)y * t.w + x] = 0xFF000000u | (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
        }
    return a;
}

// Textures read so far, by path (see the header on when they are read).
std::map<std::string, Argb_texture>& texture_cache() {
    static std::map<std::string, Argb_texture> cache;
    return cache;
}

const Argb_texture& texture(const std::string& path) {
    auto& cache = texture_cache();
    auto it = cache.find(path);
    if (it != cache.end()) return it->second;
    int w, h;
    Tmap_texture t = map_generate_loadtex(path, w, h);
    if (t.w == 0) {
        debugwrite("can't load terrain texture " + path);
        // A plain earth colour keeps the map playable; only its look suffers.
        t.w = t.h = 1;
        t.rgb = {123, 92, 62};
    }
    return cache.emplace(path, argb_of(t)).first->second;
}

#if defined(__SSE2__)
// trunc(g * p + f * q) per colour channel in single precision, alpha 255: the
// operations of the plain form below, four channels per instruction.
inline uint32_t blend(float g, uint32_t p, float f, uint32_t q) {
    const __m128i zero = _mm_setzero_si128();
    __m128 vp = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128((int)p), zero), zero));
    __m128 vq = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128((int)q), zero), zero));
    __m128 v = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(g), vp), _mm_mul_ps(_mm_set1_ps(f), vq));
    __m128i n = _mm_cvttps_epi32(v);   // 0..255: g + f is 1 within a rounding
    n = _mm_packus_epi16(_mm_packs_epi32(n, zero), zero);
    return 0xFF000000u | (uint32_t)_mm_cvtsi128_si32(n);
}
#else
inline uint32_t blend(float g, uint32_t p, float f, uint32_t q) {
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= (uint32_t)(g * (float)((p >> shift) & 255) + f * (float)((q >> shift) & 255)) << shift;
    return out;
}
#endif

// Calls f(y), y ascending, for every y in y0..y1 where col[y] is solid (1)
// and col[y + off] is not. Eight cells are tested at once: most of a mask is
// long runs of one value, which this skips a word at a time. The reads of
// col[y0 + off .. y1 + off] must lie inside the column.
template <class F>
void for_each_edge(const unsigned char* col, int y0, int y1, int off, F f) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kLow7 = 0x7F7F7F7F7F7F7F7Full;
    // 0x80 in each byte of x that is zero, and nothing in the others.
    auto zero_bytes = [](uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
    int y = y0;
    for (; y + 7 <= y1; y += 8) {
        uint64_t here, there;
        std::memcpy(&here, col + y, 8);
        std::memcpy(&there, col + y + off, 8);
        if (here == there) continue;   // no cell differs from its neighbour
        uint64_t hits = zero_bytes(here ^ kOnes) & ~zero_bytes(there ^ kOnes);
        while (hits) {
            f(y + std::countr_zero(hits) / 8);
            hits &= hits - 1;
        }
    }
    for (; y <= y1; ++y)
        if (col[y] == 1 && col[y + off] != 1) f(y);
}

// blend of four consecutive pixels p[0..3] and q[0..3] into out[0..3].
inline void blend4(float g, const uint32_t* p, float f, const uint32_t* q, uint32_t* out) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128 vg = _mm_set1_ps(g), vf = _mm_set1_ps(f);
    const __m128i pp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i qq = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    const __m128i plo = _mm_unpacklo_epi8(pp, zero), phi = _mm_unpackhi_epi8(pp, zero);
    const __m128i qlo = _mm_unpacklo_epi8(qq, zero), qhi = _mm_unpackhi_epi8(qq, zero);
    auto mix = [&](__m128i a, __m128i b) {   // one pixel's four channels as int32
        return _mm_cvttps_epi32(
            _mm_add_ps(_mm_mul_ps(vg, _mm_cvtepi32_ps(a)), _mm_mul_ps(vf, _mm_cvtepi32_ps(b))));
    };
    const __m128i r0 = mix(_mm_unpacklo_epi16(plo, zero), _mm_unpacklo_epi16(qlo, zero));
    const __m128i r1 = mix(_mm_unpackhi_epi16(plo, zero), _mm_unpackhi_epi16(qlo, zero));
    const __m128i r2 = mix(_mm_unpacklo_epi16(phi, zero), _mm_unpacklo_epi16(qhi, zero));
    const __m128i r3 = mix(_mm_unpackhi_epi16(phi, zero), _mm_unpackhi_epi16(qhi, zero));
    __m128i v = _mm_packus_epi16(_mm_packs_epi32(r0, r1), _mm_packs_epi32(r2, r3));
    v = _mm_or_si128(v, _mm_set1_epi32((int)0xFF000000u));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
#else
    for (int i = 0; i < 4; ++i) out[i] = blend(g, p[i], f, q[i]);
#endif
}

// The same with weights of their own for each of the four pixels.
inline void blend4v(const float* g, const uint32_t* p, const float* f, const uint32_t* q, uint32_t* out) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i pp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i qq = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    const __m128i plo = _mm_unpacklo_epi8(pp, zero), phi = _mm_unpackhi_epi8(pp, zero);
    const __m128i qlo = _mm_unpacklo_epi8(qq, zero), qhi = _mm_unpackhi_epi8(qq, zero);
    auto mix = [&](int k, __m128i a, __m128i b) {
        return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(g[k]), _mm_cvtepi32_ps(a)),
                                           _mm_mul_ps(_mm_set1_ps(f[k]), _mm_cvtepi32_ps(b))));
    };
    const __m128i r0 = mix(0, _mm_unpacklo_epi16(plo, zero), _mm_unpacklo_epi16(qlo, zero));
    const __m128i r1 = mix(1, _mm_unpackhi_epi16(plo, zero), _mm_unpackhi_epi16(qlo, zero));
    const __m128i r2 = mix(2, _mm_unpacklo_epi16(phi, zero), _mm_unpacklo_epi16(qhi, zero));
    const __m128i r3 = mix(3, _mm_unpackhi_epi16(phi, zero), _mm_unpackhi_epi16(qhi, zero));
    __m128i v = _mm_packus_epi16(_mm_packs_epi32(r0, r1), _mm_packs_epi32(r2, r3));
    v = _mm_or_si128(v, _mm_set1_epi32((int)0xFF000000u));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
#else
    for (int i = 0; i < 4; ++i) out[i] = blend(g[i], p[i], f[i], q[i]);
#endif
}

// The 100 x 100 cells of a tile, column-major at col (columns stride bytes
// apart), into rows[ly][lx]. The mask is stored by columns and the tiles by
// rows; turning the cells over once lets the pass read four cells with one
// load. Eight by eight at a time with byte interleaves.
void transpose_tile_mask(const unsigned char* col, int stride, unsigned char (*rows)[kTileSize + 4]) {
    int lx = 0;
#if defined(__SSE2__)
    for (; lx + 8 <= kTileSize; lx += 8) {
        int ly = 0;
        for (; ly + 8 <= kTileSize; ly += 8) {
            __m128i c[8];
            for (int k = 0; k < 8; ++k)
                c[k] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(col + (size_t)(lx + k) * stride + ly));
            const __m128i t0 = _mm_unpacklo_epi8(c[0], c[1]), t1 = _mm_unpacklo_epi8(c[2], c[3]);
            const __m128i t2 = _mm_unpacklo_epi8(c[4], c[5]), t3 = _mm_unpacklo_epi8(c[6], c[7]);
            const __m128i u0 = _mm_unpacklo_epi16(t0, t1), u1 = _mm_unpackhi_epi16(t0, t1);
            const __m128i u2 = _mm_unpacklo_epi16(t2, t3), u3 = _mm_unpackhi_epi16(t2, t3);
            const __m128i v[4] = {_mm_unpacklo_epi32(u0, u2), _mm_unpackhi_epi32(u0, u2), _mm_unpacklo_epi32(u1, u3),
                                  _mm_unpackhi_epi32(u1, u3)};
            for (int k = 0; k < 4; ++k) {
                _mm_storel_epi64(reinterpret_cast<__m128i*>(rows[ly + 2 * k] + lx), v[k]);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(rows[ly + 2 * k + 1] + lx), _mm_unpackhi_epi64(v[k], v[k]));
            }
        }
        for (; ly < kTileSize; ++ly)
            for (int k = 0; k < 8; ++k) rows[ly][lx + k] = col[(size_t)(lx + k) * stride + ly];
    }
#endif
    for (; lx < kTileSize; ++lx)
        for (int ly = 0; ly < kTileSize; ++ly) rows[ly][lx] = col[(size_t)lx * stride + ly];
}

// Step 3: every pixel once, straight into the tile pixels, each tile row by
// row so the stores run along memory. No random draws.
void pixel_pass(const Tmap_mask& mask, const Style& st, int reset) {
    const Argb_texture& U = texture(st.upper);
    const Argb_texture& E = texture(st.body);
    const Argb_texture& D = texture(st.shore);
    const int X = map_xsize, Y = map_ysize, mid = Y / 2;
    // Texture rows and columns of every map row and column.
    std::vector<const uint32_t*> urow(Y), erow(Y), drow(Y);
    for (int y = 0; y < Y; ++y) {
        urow[y] = U.px.data() + (size_t)(y % U.h) * U.w;
        erow[y] = E.px.data() + (size_t)(y % E.h) * E.w;
        drow[y] = D.px.data() + (size_t)(y % D.h) * D.w;
    }
    std::vector<int> ucol(X), ecol(X), dcol(X);
    for (int x = 0; x < X; ++x) ucol[x] = x % U.w, ecol[x] = x % E.w, dcol[x] = x % D.w;
    // Upper blend weights depend on the row only.
    std::vector<float> fu(mid + 1), gu(mid + 1);
    for (int y = 0; y <= mid; ++y) {
        fu[y] = (float)((double)y / (double)mid);
        gu[y] = 1.0f - fu[y];
    }
    // The shore band's top waves with the column.
    std::vector<int> wave(X);
    for (int x = 0; x < X; ++x) wave[x] = (int)(10.0 + 10.0 * det_sin(1.5 * x * std::numbers::pi / 180.0));
    // Shore weights by band height (80..100) and depth into the band.
    std::vector<float> shore_f(21 * 100);
    for (int band = 80; band <= 100; ++band)
        for (int d = 0; d < band; ++d) shore_f[(size_t)(band - 80) * 100 + d] = (float)d / (float)band * 0.7f;
    const unsigned char* cells = mask.cells.data();
    alignas(16) unsigned char rows[kTileSize][kTileSize + 4];   // a tile's cells, row by row

    for (int tx = 0; tx < map_xtiles; ++tx) {
        const int ox = tx * kTileSize;
        for (int ty = 0; ty < map_ytiles; ++ty) {
            const int oy = ty * kTileSize;
            uint32_t* pix = map_tile_pixels_fast(tx, ty, false);
            if (!pix) {
                // An empty tile only needs memory when a cell in it is solid.
                bool solid = false;
                for (int lx = 0; lx < kTileSize && !solid; ++lx) {
                    const unsigned char* col = mask[ox + lx] + oy;
                    solid = std::find(col, col + kTileSize, 1) != col + kTileSize;
                }
                if (!solid || !(pix = map_tile_pixels(tx, ty, true))) continue;
            }
            transpose_tile_mask(cells + (size_t)ox * Y + oy, Y, rows);
            for (int ly = 0; ly < kTileSize; ++ly) {
                const int y = oy + ly;
                uint32_t* out = pix + ly * kTileSize;
                const unsigned char* m = rows[ly];   // the cells of this row, left to right
                const uint32_t *ur = urow[y], *er = erow[y], *dr = drow[y];
                const float fy = y <= mid ? fu[y] : 0.0f, gy = y <= mid ? gu[y] : 0.0f;
                // One pixel by the rules of the pass.
                auto one = [&](int lx) {
                    const int x = ox + lx;
                    if (m[lx] != 1) {
                        if (reset == 1) out[lx] = 0;
                    } else if (y <= mid) {
                        out[lx] = blend(gy, ur[ucol[x]], fy, er[ecol[x]]);
                    } else {
                        const int band = 80 + wave[x], top = Y - band;
                        if (y >= top) {
                            const float f = shore_f[(size_t)(band - 80) * 100 + (y - top)];
                            out[lx] = blend(1.0f - f, er[ecol[x]], f, dr[dcol[x]]);
                        } else {
                            out[lx] = er[ecol[x]];
                        }
                    }
                };
                // Rows below the shore band's highest top never reach it.
                const bool plain_body = y > mid && y < Y - 100;
                for (int lx = 0; lx < kTileSize; lx += 4) {
                    const int x = ox + lx;
                    if ((lx & 15) == 0 && lx + 16 <= kTileSize) {
                        // Sixteen cells at once: long runs of sky and of body.
                        uint64_t c16[2];
                        std::memcpy(c16, m + lx, 16);
                        if ((c16[0] | c16[1]) == 0) {
                            if (reset == 1) std::memset(out + lx, 0, 64);
                            lx += 12;
                            continue;
                        }
                        if (plain_body && c16[0] == 0x0101010101010101ull && c16[1] == c16[0] &&
                            ecol[x] + 15 < E.w) {
                            std::memcpy(out + lx, er + ecol[x], 64);
                            lx += 12;
                            continue;
                        }
                    }
                    uint32_t cells4;
                    std::memcpy(&cells4, m + lx, 4);
                    if (cells4 == 0) {   // four empty cells
                        if (reset == 1) std::memset(out + lx, 0, 16);
                        continue;
                    }
                    if (cells4 == 0x01010101u) {   // four solid cells
                        if (plain_body && ecol[x] + 3 < E.w) {
                            std::memcpy(out + lx, er + ecol[x], 16);
                            continue;
                        }
                        if (y <= mid && ucol[x] + 3 < U.w && ecol[x] + 3 < E.w) {
                            blend4(gy, ur + ucol[x], fy, er + ecol[x], out + lx);
                            continue;
                        }
                        if (y > mid && ecol[x] + 3 < E.w && dcol[x] + 3 < D.w) {
                            // Near the shore band: a pixel above its column's band
                            // top takes weight 0, which gives the body colour
                            // exactly (1 * c + 0 * d = c).
                            float f4[4], g4[4];
                            for (int k = 0; k < 4; ++k) {
                                const int band = 80 + wave[x + k], top = Y - band;
                                f4[k] = y >= top ? shore_f[(size_t)(band - 80) * 100 + (y - top)] : 0.0f;
                                g4[k] = 1.0f - f4[k];
                            }
                            blend4v(g4, er + ecol[x], f4, dr + dcol[x], out + lx);
                            continue;
                        }
                    }
                    for (int k = lx; k < lx + 4; ++k) one(k);
                }
            }
        }
    }
}

// Step 10.4: the decoration draws of one surface pixel and the rock or branch
// they may place.
void decorate_at(const Tmap_mask& mask, int style, const Style& st, Tmap_grid<uint8_t>& occupied, int x, int y) {
    const int v = Rand(0, 1000);
    const int a = Rand(st.a_range, 1);
    const int b = st.b_range > 0 ? Rand(st.b_range, 1) : 0;
    uint8_t& occ = occupied[x / kTileSize][y / kTileSize];
    if (a == 1) {
        const int k = v % 12, w = kBranchW[k], h = kBranchH[k];
        const int bx = x - w / 2, by = y - h + 4;
        if (by < 0 || mask[x][by] == 1 || occ) return;
        map_backimage(gfx_branches[k], bx, by, st.branch_tint[0], st.branch_tint[1], st.branch_tint[2]);
        if (style == 0) Tsc::generatetreeleaves(bx, by, k);
        occ = 1;
        if (map_decoration_trace) map_decoration_trace->push_back({Tmap_decoration::BRANCH, k, bx, by, x, y});
    } else if (b == 1) {
        const int k = v % 9, w = kRockW[k], h = kRockH[k];
        const int rx = x - w / 2, ry = y - h + 10;
        if (ry < 0 || rx < 0 || x + w / 2 >= map_xsize || occ) return;
        map_backimage(gfx_rocks[k], rx, ry, st.rock_tint[0], st.rock_tint[1], st.rock_tint[2]);
        occ = 1;
        if (map_decoration_trace) map_decoration_trace->push_back({Tmap_decoration::ROCK, k, rx, ry, x, y});
    }
}

void texture_mask(const Tmap_mask& mask, int style, int decorate, int seed, int reset) {
    const Style& st = style_of(style);
    style = map_texture_style(style);
    const int X = map_xsize, Y = map_ysize;
    const int T = map_xtiles * map_ytiles;

    pixel_pass(mask, st, reset);

    Tscc::clear();
    SeedRnd(seed);
    in_seed = seed;

    // Inner earth: the four draws of each decal in this order.
    for (int i = 1; i <= T / 5; ++i) {
        float s = (float)Rnd(0.5, 1.0);
        int py = Rand(30, Y - 60);
        int px = Rand(30, X - 60);
        int k = Rand(0, 15);
        map_alphaimage(gfx_inearth[k], px, py, s, -1, -1, -1);
    }

    // Undersides: shade, and roots hanging from them.
    for (int x = 0; x < X; ++x) {
        for_each_edge(mask[x], 0, Y - 2, 1, [&](int y) {
            map_alphaimagerect(gfx_bottomshade, x, y - 24, x % 100, 0, 1, 25, 0.5f, -1, -1, -1);
            if (st.roots && y <= Y - 10 && Rand(45, 1) == 1) Tsc::addroot(x, y);
        });
    }

    Tmap_grid<uint8_t> occupied(map_xtiles, map_ytiles);
    Tmap_tn::setup(0);
    SeedRnd(seed);
    in_seed = seed;

    // Surface: nodes, strip, top light near the shore, scenery, decorations.
    const float S = st.strength;
    for (int x = 0; x < X; ++x) {
        for_each_edge(mask[x], 1, Y - 1, -1, [&](int y) {
            Tmap_tn::add((uint16_t)x, (uint16_t)y);
            if (y >= Y - 180) {
                float d = std::clamp((float)(y - (Y - 180)), 0.0f, 100.0f);
                float F = 1.0f - d / 100.0f;
                map_alphaimagerect(*st.strip, x, y, x % 200, 0, 1, 35, F * S, -1, -1, -1);
                map_alphaimage(gfx_toplight, x, y, (1.0f - F) * 0.25f, -1, -1, -1);
                if (y >= Y - 50) {
                    if (style == 0 && Rand(20, 1) == 1) Tsc::addreed(x, y);
                    if (style == 1 && Rand(30, 1) == 1) Tsc::addreed(x, y);
                }
            } else {
                map_alphaimagerect(*st.strip, x, y, x % 200, 0, 1, 35, S, -1, -1, -1);
                if (style == 0) {
                    if (Rand(5, 1) == 1)
                        Tsc::addgrass(x, y);
                    else if (Rand(30, 1) == 1)
                        Tsc::addfoliage(x, y);
                } else if (style == 1) {
                    if (Rand(60, 1) == 1) Tsc::addfoliage(x, y);
                }
            }
            if (decorate == 1) decorate_at(mask, style, st, occupied, x, y);
        });
    }
    Tmap_tn::cleanup();
}

}  // namespace

int map_texture_style(int style) { return (style % 5 + 5) % 5; }

const std::vector<std::string>& map_texture_files() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> out;
        for (int s = 0; s < 5; ++s)
            for (const std::string* p : {&style_of(s).upper, &style_of(s).body, &style_of(s).shore})
                if (std::find(out.begin(), out.end(), *p) == out.end()) out.push_back(*p);
        return out;
    }();
    return files;
}

Tmap_texture map_generate_loadtex(const std::string& path, int& width, int& height) {
    Tmap_texture t;
    width = height = 0;
    PixmapPtr p = LoadPixmap(path);
    if (!p || p->width < 1 || p->height < 1) return t;
    t.w = width = p->width;
    t.h = height = p->height;
    t.rgb.resize((size_t)t.w * t.h * 3);
    uint8_t* o = t.rgb.data();
    for (int x = 0; x < t.w; ++x)
        for (int y = 0; y < t.h; ++y) {
            uint32_t v = p->ReadPixel(x, y);
            *o++ = (uint8_t)(v >> 16);
            *o++ = (uint8_t)(v >> 8);
            *o++ = (uint8_t)v;
        }
    return t;
}

int map_check_textures(std::string& error) {
    error.clear();
    auto& cache = texture_cache();
    for (const std::string& path : map_texture_files()) {
        int w, h;
        Tmap_texture t = map_generate_loadtex(path, w, h);
        if (t.w == 0) {
            error = "can't load terrain texture " + path;
            return 0;
        }
        cache[path] = argb_of(t);
    }
    return 1;
}

void map_forget_textures() { texture_cache().clear(); }

int map_generate_fromarray(const Tmap_mask& mask, int style, int decorate, int seed, int reset) {
    if (map_xsize <= 0 || map_ysize <= 0) return 0;
    if (mask.w == map_xsize && mask.h == map_ysize) {
        texture_mask(mask, style, decorate, seed, reset);
    } else {
        Tmap_mask fit(map_xsize, map_ysize);
        for (int x = 0; x < std::min(mask.w, fit.w); ++x) std::copy_n(mask[x], std::min(mask.h, fit.h), fit[x]);
        texture_mask(fit, style, decorate, seed, reset);
    }
    return 0;
}
