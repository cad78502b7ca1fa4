// Terrain shapes: the exact rasterisers, rebuilding a shape map and its
// match-start dressing.
#include "terrain/shapes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

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
    for (const Ptr& s : list) s->rasterise(mask);
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
