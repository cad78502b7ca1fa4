// Terrain generator: outlines of the five forms, blobs, caves, border bars.
//
// Draw order is part of the map format: a map pack of a generated map holds
// only its recipe, so any change in the number or order of Rand calls below
// changes every stored map. Arithmetic is integer throughout, widened to 64
// bits where products can pass 32.
#include "terrain/generate.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "core/shared_state.h"
#include "terrain/edit.h"
#include "terrain/ellipse.h"
#include "terrain/texture.h"
#include "terrain/tiles.h"

namespace {

// Sets every mask cell inside the ellipse of full size w x h centred at
// (cx, cy) to v (the map_oval test); cells off the mask are skipped.
void fill_ellipse(Tmap_mask& mask, int64_t cx, int64_t cy, int w, int h, unsigned char v) {
    int64_t rx = w / 2, ry = h / 2;
    if (rx < 1 || ry < 1) return;
    // The test is symmetric under swapping the axes together with the radii,
    // so the swapped ellipse gives exact column spans for the column-major mask.
    Tmap_ellipse cols(ry, rx);
    int64_t px0 = std::max<int64_t>(cx - rx, 0), px1 = std::min<int64_t>(cx + rx, mask.w - 1);
    int64_t hs = -1;
    for (int64_t px = px0; px <= px1; ++px) {
        hs = cols.half_span_near(px - cx, hs);
        if (hs < 0) continue;
        int64_t y0 = std::max<int64_t>(cy - hs, 0), y1 = std::min<int64_t>(cy + hs, mask.h - 1);
        if (y0 <= y1) std::memset(mask[(int)px] + y0, v, (size_t)(y1 - y0 + 1));
    }
}

struct Placed {
    int cx, cy, w, h;   // centre and full size
};

// An ellipse of random size (50..200 x 50..300) placed at random with its box
// at least margin pixels clear of every edge, filled with v. Four draws:
// width, height, centre x, centre y.
Placed random_ellipse(Tmap_mask& mask, int X, int Y, int margin, unsigned char v) {
    Placed e;
    e.w = Rand(50, 200);
    e.h = Rand(50, 300);
    const int rx = e.w / 2, ry = e.h / 2;
    e.cx = Rand(rx + margin, X - 1 - margin - rx);
    e.cy = Rand(ry + margin, Y - 1 - margin - ry);
    fill_ellipse(mask, e.cx, e.cy, e.w, e.h, v);
    return e;
}

// A floating island: a main ellipse and ten satellites around it (84 draws).
void blob(Tmap_mask& mask, int X, int Y) {
    const Placed main = random_ellipse(mask, X, Y, 1, 1);
    const int mx = main.cx, my = main.cy, W = main.w, H = main.h;
    for (int i = 0; i < 10; ++i) {
        int h2 = Rand(30, 100);
        int w2 = Rand(30, 150);
        int p = Rand(W / 2, 1);
        int q = Rand(W / 2, 1);
        int cx2 = Rand(mx - q, mx + p);
        int p2 = Rand(H / 2, 1);
        int q2 = Rand(H / 2, 1);
        int cy2 = Rand(my - q2, my + p2);
        int rx2 = w2 / 2, ry2 = h2 / 2;
        if (cx2 <= rx2 + 1) cx2 = rx2 + 1;
        if (cx2 >= X - 2 - rx2) cx2 = X - 2 - rx2;
        if (cy2 <= ry2 + 1) cy2 = ry2 + 1;
        if (cy2 >= Y - 2 - ry2) cy2 = Y - 2 - ry2;
        fill_ellipse(mask, cx2, cy2, w2, h2, 1);
    }
}

// Ground under a random, smoothed surface line, tapered to the bottom edge
// over the outer 100 columns.
void surface(Tmap_mask& mask, int X, int Y) {
    std::vector<int64_t> s((size_t)X);
    int64_t level = Rand(std::max(0, Y - 100) * 100, (Y + 300) * 100);
    for (int x = 0; x < X; ++x) {
        if (Rand(15, 1) == 1) level = Rand(std::max(0, Y - 550) * 100, (Y + 300) * 100);
        s[x] = level / 100;
        int64_t t = std::min({100, x, X - x});
        if (t < 100) s[x] = Y - ((Y - s[x]) * t) / 100;
    }
    // In place on purpose: each pass already sees its own new values left of x.
    // Outside the map and in the last column the line counts as the bottom.
    // The window sum slides along (exact integers, so the same sums as adding
    // all 31 terms): it drops the new value 15 left of x, takes the old value
    // 16 right of x, and swaps column x's old value for its new one.
    auto v = [&](int64_t i) { return (i >= 0 && i <= X - 2) ? s[(size_t)i] : (int64_t)Y; };
    for (int pass = 0; pass < 10; ++pass) {
        int64_t sum = 0;
        for (int i = -15; i <= 15; ++i) sum += v(i);
        for (int x = 0; x < X; ++x) {
            const int64_t old = v(x);
            s[x] = sum / 31;
            sum += v(x) - old - v(x - 15) + v(x + 16);
        }
    }
    for (int x = 0; x < X; ++x) {
        int64_t top = std::max<int64_t>(s[x], 0);
        if (top < Y) std::memset(mask[x] + top, 1, (size_t)(Y - top));
    }
}

// Ellipses carved out of solid rock, 30 pixels clear of every edge.
void cave(Tmap_mask& mask, int X, int Y, int T, bool open_sides) {
    std::fill(mask.cells.begin(), mask.cells.end(), 1);
    int n = std::min(30, 2 * T);
    for (int i = 1; i <= n; ++i) {
        if (open_sides && i <= 2) {
            fill_ellipse(mask, i == 1 ? 0 : X, Y / 2, 300, Y + 10, 0);
            continue;
        }
        random_ellipse(mask, X, Y, 30, 0);
    }
}

}  // namespace

void map_generate_outline(Tmap_mask& mask, int form) {
    const int X = map_xsize, Y = map_ysize, T = map_xtiles * map_ytiles;
    switch (form) {
        case 0:
        case 1:
            surface(mask, X, Y);
            if (form == 1) {
                int n = Rand(std::max(0, T / 15), std::min(25, T / 5));
                for (int i = 0; i < n; ++i) blob(mask, X, Y);
            }
            break;
        case 2: {
            int n = Rand(std::max(5, T / 15), std::min(30, T / 5));
            for (int i = 0; i < n; ++i) blob(mask, X, Y);
            break;
        }
        case 3:
        case 4:
            cave(mask, X, Y, T, form == 4);
            break;
        default:
            break;
    }
}

int map_generate(int xsize, int ysize, int seed, int style, int form) {
    g_fps_skipping_time = 0;
    if (style < 0) style = Rand(0, 4);
    if (form < 0) form = Rand(0, 4);
    map_setup(xsize / 100, ysize / 100, 1);
    SeedRnd(seed);
    in_seed = seed;
    const int X = map_xsize, Y = map_ysize;
    {
        Tmap_mask mask(X, Y);
        map_generate_outline(mask, form);
        map_generate_fromarray(mask, style, 1, seed, 1);
    }
    if (form == 3 || form == 4) {
        // The last top bar at x = X lies off the map; kept for the same pixels.
        for (int x = 0; x <= X; x += 100) map_image(gfx_border_h, x, 0, 0);
        map_image(gfx_border_c, 0, 0, 0);
        map_image(gfx_border_c, X - 10, 0, 0);
    }
    if (form == 3) {
        for (int y = 10; y <= Y; y += 100) {
            map_image(gfx_border_v, 0, y, 0);
            map_image(gfx_border_v, X - 10, y, 0);
        }
    }
    map_type = "003|" + std::to_string(seed) + "|" + std::to_string(style) + "|" + std::to_string(form);
    return 0;
}
