// Terrain shapes: the exact rasterisers, rebuilding a shape map and its
// match-start dressing.
#include "terrain/shapes.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "terrain/edit.h"
#include "terrain/ellipse.h"
#include "terrain/pack.h"
#include "terrain/scenery.h"
#include "terrain/texture.h"
#include "terrain/tiles.h"

std::list<Tmap_shape::Ptr> Tmap_shape::list;

namespace {

constexpr int kTriangle = 253, kRectangle = 254;
constexpr int64_t kFix = 10000;   // triangle edges step in 1/10000 pixel

// The inclusive box x..x+w by y..y+h clipped to the mask; false when empty.
bool clip_box(const Tmap_mask& mask, int64_t x, int64_t y, int64_t w, int64_t h, int64_t& c0, int64_t& c1, int64_t& r0,
              int64_t& r1) {
    c0 = std::max<int64_t>(0, x);
    c1 = std::min<int64_t>(mask.w - 1, x + w);
    r0 = std::max<int64_t>(0, y);
    r1 = std::min<int64_t>(mask.h - 1, y + h);
    return c0 <= c1 && r0 <= r1;
}

void fill_column(Tmap_mask& mask, int64_t col, int64_t r0, int64_t r1) {
    std::memset(mask[(int)col] + r0, 1, (size_t)(r1 - r0 + 1));
}

// One run of triangle rows: step i = 1..count gives row base + i with edges
// e1 + i * d1 and e2 + i * d2 (1/10000 pixel). Closed form instead of adding
// step by step, so rows off the map are skipped without walking them; the
// values are those of the running sums exactly.
void triangle_rows(Tmap_mask& mask, int64_t base, int64_t count, __int128 e1, __int128 d1, __int128 e2, __int128 d2) {
    int64_t first = std::max<int64_t>(1, -base), last = std::min<int64_t>(count, (int64_t)mask.h - 1 - base);
    for (int64_t i = first; i <= last; ++i) {
        int row = (int)(base + i);
        __int128 u = (e1 + d1 * i) / kFix, v = (e2 + d2 * i) / kFix;
        __int128 c0 = std::max<__int128>(0, std::min(u, v)), c1 = std::min<__int128>(mask.w - 1, std::max(u, v));
        for (int64_t c = (int64_t)c0; c <= (int64_t)c1; ++c) mask[(int)c][row] = 1;
    }
}

struct Corner {
    int64_t x, y;
};

int64_t slope(const Corner& a, const Corner& b) { return b.y > a.y ? (b.x - a.x) * kFix / (b.y - a.y) : 0; }

void rasterise_triangle(Tmap_mask& mask, Corner p1, Corner p2, Corner p3) {
    if (p2.y < p1.y) std::swap(p1, p2);
    if (p3.y < p2.y) {
        if (p3.y < p1.y) {
            Corner t = p3;
            p3 = p2;
            p2 = p1;
            p1 = t;
        } else {
            std::swap(p2, p3);
        }
    }
    const int64_t s12 = slope(p1, p2), s13 = slope(p1, p3), s23 = slope(p2, p3);
    const __int128 start = (__int128)p1.x * kFix;
    const int64_t n1 = p2.y - p1.y + 1;                // rows of the upper part
    const __int128 e13 = start + (__int128)n1 * s13;   // the long edge where the upper part ends
    // The row is filled after the step, so rows run from p1.y + 1. In the
    // first case the lower part starts again at p2.y + 1 with the long edge
    // carried on (one row ahead); in the second it goes on from p2.y + 2 with
    // the short edge restarted at p2 (one row behind). Stored maps rely on it.
    if (s12 <= s13) {
        triangle_rows(mask, p1.y, n1, start, s12, start, s13);
        triangle_rows(mask, p2.y, p3.y - p2.y + 1, (__int128)p2.x * kFix, s23, e13, s13);
    } else {
        triangle_rows(mask, p1.y, n1, start, s13, start, s12);
        triangle_rows(mask, p2.y + 1, p3.y - p2.y, e13, s13, (__int128)p2.x * kFix, s23);
    }
}

void rasterise_oval(Tmap_mask& mask, int x, int y, int w, int h) {
    const int64_t rx = w / 2, ry = h / 2;
    // A negative size gives an empty box, so only radii of 1 and up draw.
    if (rx < 1 || ry < 1) return;
    int64_t c0, c1, r0, r1;
    if (!clip_box(mask, x, y, w, h, c0, c1, r0, r1)) return;
    const int64_t cx = (int64_t)x + rx, cy = (int64_t)y + ry;
    // Swapping the axes together with the radii keeps the test, so the
    // swapped ellipse gives each column's exact row span.
    Tmap_ellipse cols(ry, rx);
    for (int64_t c = c0; c <= c1; ++c) {
        int64_t hs = cols.half_span(c - cx);
        if (hs < 0) continue;
        int64_t a = std::max(r0, cy - hs), b = std::min(r1, cy + hs);
        if (a <= b) fill_column(mask, c, a, b);
    }
}

// Mask cells collected row by row before they go to the column-major mask:
// one bit per cell in rows of 64-bit words, and per row a skip list over the
// words already full (next[i] == 0: word i still has a clear bit; otherwise
// the first word after it worth looking at). A span writes only words not yet
// full, so overlapping shapes cost a step per row, not a pass over the cells
// again. 30000 x 30000 cells take 113 MB of bits and 28 MB of skips.
class RowFill {
public:
    RowFill(int w, int h)
        : w_(w), h_(h), words_((w + 63) / 64), bits_((size_t)words_ * h), next_((size_t)(words_ + 1) * h) {}
    int width() const { return w_; }
    int height() const { return h_; }

    // Sets cells c0..c1 of row; callers clip: 0 <= row < h, 0 <= c0 <= c1 < w.
    void span(int64_t row, int64_t c0, int64_t c1) {
        uint64_t* b = bits_.data() + (size_t)row * words_;
        uint16_t* nx = next_.data() + (size_t)row * (words_ + 1);
        const int w0 = (int)(c0 >> 6), w1 = (int)(c1 >> 6);
        const uint64_t lo = ~0ull << (c0 & 63), hi = ~0ull >> (63 - (c1 & 63));
        if (w0 == w1) {
            set(b, nx, w0, lo & hi);
            return;
        }
        set(b, nx, w0, lo);
        set(b, nx, w1, hi);
        for (int i = find(nx, w0 + 1); i < w1; i = find(nx, i + 1)) {
            b[i] = ~0ull;
            nx[i] = (uint16_t)(i + 1);
        }
    }

    // Sets the collected cells in mask (map-sized), a column of words at a
    // time, so the writes run down 64 neighbouring columns together.
    void to_mask(Tmap_mask& mask) const {
        const int cols = std::min(w_, mask.w), rows = std::min(h_, mask.h);
        for (int wc = 0; wc < words_; ++wc) {
            const int x0 = wc * 64, n = std::min(64, cols - x0);
            if (n <= 0) break;
            unsigned char* base = mask[x0];
            const size_t stride = (size_t)mask.h;
            for (int y = 0; y < rows; ++y) {
                uint64_t v = bits_[(size_t)y * words_ + wc];
                if (n < 64) v &= (1ull << n) - 1;
                while (v) {
                    int k = std::countr_zero(v);
                    base[(size_t)k * stride + y] = 1;
                    v &= v - 1;
                }
            }
        }
    }

private:
    static void set(uint64_t* b, uint16_t* nx, int i, uint64_t m) {
        if (nx[i]) return;
        b[i] |= m;
        if (b[i] == ~0ull) nx[i] = (uint16_t)(i + 1);
    }
    // The first word at or after i with a clear bit (the sentinel words_ at
    // the latest), halving the path on the way.
    static int find(uint16_t* nx, int i) {
        while (nx[i]) {
            int up = nx[i];
            if (nx[up]) nx[i] = nx[up];
            i = up;
        }
        return i;
    }

    int w_, h_, words_;
    std::vector<uint64_t> bits_;
    std::vector<uint16_t> next_;
};

// triangle_rows for RowFill: the same rows and edges. The edges are linear in
// the step, so when both ends fit 62 bits every step does, and the running
// sums stay in 64-bit arithmetic (division by the constant becomes a multiply).
void triangle_spans(RowFill& fill, int64_t base, int64_t count, __int128 e1, __int128 d1, __int128 e2, __int128 d2) {
    const int64_t first = std::max<int64_t>(1, -base), last = std::min<int64_t>(count, (int64_t)fill.height() - 1 - base);
    if (first > last) return;
    const int64_t right = fill.width() - 1;
    auto fits = [](__int128 v) { return v > -((__int128)1 << 62) && v < ((__int128)1 << 62); };
    if (fits(e1 + d1 * first) && fits(e1 + d1 * last) && fits(e2 + d2 * first) && fits(e2 + d2 * last) && fits(d1) &&
        fits(d2)) {
        int64_t a = (int64_t)(e1 + d1 * first), b = (int64_t)(e2 + d2 * first);
        const int64_t da = (int64_t)d1, db = (int64_t)d2;
        for (int64_t i = first; i <= last; ++i, a += da, b += db) {
            int64_t u = a / kFix, v = b / kFix;
            int64_t c0 = std::max<int64_t>(0, std::min(u, v)), c1 = std::min<int64_t>(right, std::max(u, v));
            if (c0 <= c1) fill.span(base + i, c0, c1);
        }
        return;
    }
    for (int64_t i = first; i <= last; ++i) {
        __int128 u = (e1 + d1 * i) / kFix, v = (e2 + d2 * i) / kFix;
        __int128 c0 = std::max<__int128>(0, std::min(u, v)), c1 = std::min<__int128>(right, std::max(u, v));
        if (c0 <= c1) fill.span(base + i, (int64_t)c0, (int64_t)c1);
    }
}

// The corners of a triangle sorted by row, as rasterise_triangle sorts them.
void sort_corners(Corner& p1, Corner& p2, Corner& p3) {
    if (p2.y < p1.y) std::swap(p1, p2);
    if (p3.y < p2.y) {
        if (p3.y < p1.y) {
            Corner t = p3;
            p3 = p2;
            p2 = p1;
            p1 = t;
        } else {
            std::swap(p2, p3);
        }
    }
}

void fill_triangle(RowFill& fill, Corner p1, Corner p2, Corner p3) {
    sort_corners(p1, p2, p3);
    const int64_t s12 = slope(p1, p2), s13 = slope(p1, p3), s23 = slope(p2, p3);
    const __int128 start = (__int128)p1.x * kFix;
    const int64_t n1 = p2.y - p1.y + 1;
    const __int128 e13 = start + (__int128)n1 * s13;
    if (s12 <= s13) {
        triangle_spans(fill, p1.y, n1, start, s12, start, s13);
        triangle_spans(fill, p2.y, p3.y - p2.y + 1, (__int128)p2.x * kFix, s23, e13, s13);
    } else {
        triangle_spans(fill, p1.y, n1, start, s13, start, s12);
        triangle_spans(fill, p2.y + 1, p3.y - p2.y, e13, s13, (__int128)p2.x * kFix, s23);
    }
}

// The oval of rasterise_oval by rows: the ellipse test is symmetric in its
// axes, so each row's column span holds exactly the cells whose column span
// holds that row.
void fill_oval(RowFill& fill, const Tmap_mask& box, int x, int y, int w, int h) {
    const int64_t rx = w / 2, ry = h / 2;
    if (rx < 1 || ry < 1) return;
    int64_t c0, c1, r0, r1;
    if (!clip_box(box, x, y, w, h, c0, c1, r0, r1)) return;
    const int64_t cx = (int64_t)x + rx, cy = (int64_t)y + ry;
    Tmap_ellipse rows(rx, ry);
    int64_t hs = -1;
    for (int64_t r = std::max(r0, cy - ry); r <= std::min(r1, cy + ry); ++r) {
        hs = rows.half_span_near(r - cy, hs);
        if (hs < 0) continue;
        int64_t a = std::max(c0, cx - hs), b = std::min(c1, cx + hs);
        if (a <= b) fill.span(r, a, b);
    }
}

// Seed and style of a shape map: fields 1 and 2 of map_type when it has at
// least three, else 0 and 0.
void seed_and_style(int& seed, int& style) {
    std::vector<std::string> f = text_split(map_type, "|");
    seed = f.size() >= 3 ? text_toint_wrapping(f[1]) : 0;
    style = f.size() >= 3 ? text_toint_wrapping(f[2]) : 0;
}

}  // namespace

Tmap_shape::Ptr Tmap_shape::add(int id, int x, int y, int w, int h) {
    auto s = std::make_shared<Tmap_shape>();
    s->id = id;
    s->x = x;
    s->y = y;
    s->w = w;
    s->h = h;
    list.push_back(s);
    return s;
}

void Tmap_shape::fill(const std::list<Ptr>& shapes, Tmap_mask& mask) {
    if (mask.w <= 0 || mask.h <= 0) return;
    RowFill rows(mask.w, mask.h);
    // clip_box reads only the size of the mask it is given.
    Tmap_mask size_only;
    size_only.w = mask.w;
    size_only.h = mask.h;
    for (const Ptr& s : shapes) {
        if (s->id < kTriangle) continue;
        if (s->id == kTriangle) {
            fill_triangle(rows, {s->x, s->y}, {s->w, s->h}, {s->x3, s->y3});
        } else if (s->id == kRectangle) {
            int64_t c0, c1, r0, r1;
            if (!clip_box(size_only, s->x, s->y, s->w, s->h, c0, c1, r0, r1)) continue;
            for (int64_t r = r0; r <= r1; ++r) rows.span(r, c0, c1);
        } else {
            fill_oval(rows, size_only, s->x, s->y, s->w, s->h);
        }
    }
    rows.to_mask(mask);
}

int64_t Tmap_shape::rows(int map_w, int map_h) const {
    if (id < kTriangle || map_w <= 0 || map_h <= 0) return 0;
    int64_t r0, r1;
    if (id == kTriangle) {
        // Rows run from one below the top corner to one below the bottom one.
        r0 = std::max<int64_t>(0, (int64_t)std::min({y, h, y3}) + 1);
        r1 = std::min<int64_t>(map_h - 1, (int64_t)std::max({y, h, y3}) + 1);
    } else {
        if (id != kRectangle && (w / 2 < 1 || h / 2 < 1)) return 0;
        Tmap_mask size_only;
        size_only.w = map_w;
        size_only.h = map_h;
        int64_t c0, c1;
        if (!clip_box(size_only, x, y, w, h, c0, c1, r0, r1)) return 0;
    }
    return r0 <= r1 ? r1 - r0 + 1 : 0;
}

Tmap_shape::Ptr Tmap_shape::copy() const { return std::make_shared<Tmap_shape>(*this); }

void Tmap_shape::rasterise(Tmap_mask& mask) const {
    if (id < kTriangle) return;
    if (id == kTriangle) {
        rasterise_triangle(mask, {x, y}, {w, h}, {x3, y3});
    } else if (id == kRectangle) {
        int64_t c0, c1, r0, r1;
        if (!clip_box(mask, x, y, w, h, c0, c1, r0, r1)) return;
        for (int64_t c = c0; c <= c1; ++c) fill_column(mask, c, r0, r1);
    } else {
        rasterise_oval(mask, x, y, w, h);
    }
}

int Tmap_shape::perform() {
    int seed, style;
    seed_and_style(seed, style);
    // map_setup resets the background; a shape map keeps its own (the editor
    // packs the map right after rebuilding it).
    std::string bg_path = map_bg_path;
    int bg_transparency = map_bg_transparency, bg_render = map_bg_render, bg_align = map_bg_align;
    ImagePtr bg = map_bg;
    map_setup(map_xtiles, map_ytiles, 0);
    map_bg_path = bg_path;
    map_bg_transparency = bg_transparency;
    map_bg_render = bg_render;
    map_bg_align = bg_align;
    map_bg = bg;

    Tmap_mask mask(map_xsize, map_ysize);
    fill(list, mask);
    // Tiles go in before the texturing, which paints over them where a mask
    // shape covers them: every machine rebuilds stored maps in this order.
    for (const Ptr& s : list)
        if (s->id >= 0 && s->id < 252 && gfx_tile[s->id]) map_image(gfx_tile[s->id], s->x, s->y, 0);
    map_generate_fromarray(mask, style, 0, seed, 0);
    return 0;
}

int Tmap_shape::postperform() {
    int seed, style;
    seed_and_style(seed, style);
    for (const Ptr& s : list) {
        if (s->id >= 9 && s->id <= 20) {
            if (style == 0) Tsc::generatetreeleaves(s->x, s->y, s->id - 9);
        } else if (s->id == 26) {
            int half = ImageWidth(gfx_tile[26]) / 2;
            obj_create(-1, (int)((int64_t)s->x + half), (int)((int64_t)s->y + 2), -1, -1, 0);
        }
    }
    return 0;
}

// Stand-in: the leaves still grow inside postperform until that pass is
// split out.
int Tmap_shape::postperform_leaves() { return 0; }
