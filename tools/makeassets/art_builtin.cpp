// Built-in images compiled into the program: collision shapes, the objects
// (crate, mine, bear trap, medikit), the terrain pieces the generator and the
// map editor stamp (branches, rocks, border bars, tiles).
//
// All are 24-bit BMPs with magenta (255, 0, 255) where transparent; sizes are
// fixed by the game. The collision shapes are exact: the player's is opaque on
// columns 9-22 by rows 4-27 and nowhere else, the dots are solid squares. The
// border bars are fully opaque. Branch twigs end where the game hangs leaves.
#include <algorithm>
#include <cstdio>

#include "tools/makeassets/assets.h"

namespace ma {
namespace {

const Col kSolid = rgb(255, 255, 255);
const Col kDark = rgb(30, 24, 20);

Canvas player_collision() {
    Canvas c(32, 32);
    for (int y = 4; y <= 27; y++)
        for (int x = 9; x <= 22; x++) c.set(x, y, kSolid);
    return c;
}

Canvas coldot(int n) { return Canvas(n, n, kSolid); }

Col metal(float y, float h) {
    float t = y / h;
    float v = t < 0.3f ? lerp(0.85f, 0.7f, t / 0.3f) : lerp(0.62f, 0.38f, (t - 0.3f) / 0.7f);
    return Col{v * 0.95f, v * 0.97f, v, 1};
}

void rivet(Canvas& c, float x, float y, float r = 1.4f) {
    Shape s = circle(x, y, r);
    c.draw(s, dome(s, solid(rgb(190, 195, 205)), r, 0.7f));
}

Canvas supply() {
    Canvas c(20, 16);
    Shape box = rect(0.5f, 0.5f, 19.5f, 15.5f, 1.5f);
    c.draw(box, kDark);
    Shape in = rect(1.5f, 1.5f, 18.5f, 14.5f, 1);
    c.draw(in, [](float, float y) { return ((int)(y / 3.3f) & 1) ? rgb(196, 138, 70) : rgb(178, 120, 58); });
    c.draw(rect(1.5f, 6.5f, 18.5f, 9.5f), rgb(110, 74, 40));
    c.draw(rect(8.5f, 1.5f, 11.5f, 14.5f), rgb(110, 74, 40));
    c.draw(circle(10, 8, 2.6f), rgb(250, 210, 60));
    c.draw(rect(1.5f, 1.5f, 18.5f, 2.5f), rgb(230, 180, 110));
    for (float x : {2.5f, 17.5f})
        for (float y : {2.5f, 13.5f}) c.draw(rect(x - 1, y - 1, x + 1, y + 1), rgb(150, 155, 165));
    c.harden();
    return c;
}

Canvas medikit() {
    Canvas c(20, 16);
    c.draw(rect(6.5f, 0.5f, 13.5f, 3.5f, 1), kDark);
    c.draw(rect(8, 1.5f, 12, 3.5f), Col{}, Blend::Replace);
    Shape box = rect(0.5f, 2.5f, 19.5f, 15.5f, 2);
    c.draw(box, kDark);
    Shape in = rect(1.5f, 3.5f, 18.5f, 14.5f, 1.5f);
    c.draw(in, bevel(in, solid(rgb(245, 245, 245)), 2, 0.5f));
    c.draw(unite(rect(8.3f, 5, 11.7f, 13.2f), rect(5.8f, 7.4f, 14.2f, 10.8f)), rgb(220, 30, 30));
    c.harden();
    return c;
}

Canvas mine() {
    Canvas c(11, 6);
    Shape d = intersect(ellipse(5.5f, 6, 5.3f, 4.8f), rect(0, 0, 11, 5.2f));
    c.draw(d, dome(d, solid(rgb(80, 84, 90)), 2.5f, 0.6f));
    c.draw(rect(0, 4.8f, 11, 6), rgb(50, 52, 56));
    c.draw(circle(5.5f, 1.6f, 1.3f), rgb(230, 30, 30));
    c.harden();
    return c;
}

Canvas beartrap(bool sprung) {
    Canvas c(15, 11);
    c.draw(rect(0.5f, 8.5f, 14.5f, 10.5f, 0.8f), rgb(70, 70, 76));
    c.draw(circle(7.5f, 9, 1.6f), rgb(120, 120, 130));
    const Col jaw = rgb(170, 172, 182);
    if (!sprung) {
        // Jaws lying open to both sides, teeth up.
        for (int side = -1; side <= 1; side += 2) {
            float cx = 7.5f + side * 4.0f;
            c.draw(intersect(ring(cx, 9.0f, 3.2f, 0.7f), rect(0, 0, 15, 9)), jaw);
            for (int k = 0; k < 3; k++) {
                float x = cx - 2.4f + k * 2.4f;
                c.draw(polygon({x - 0.8f, 7.2f, x, 4.2f + (k == 1 ? 0 : 1.2f), x + 0.8f, 7.2f}), rgb(220, 222, 230));
            }
        }
    } else {
        // Jaws snapped shut into an arch.
        c.draw(intersect(ring(7.5f, 9.0f, 6.2f, 0.9f), rect(0, 0, 15, 9)), jaw);
        for (int k = 0; k < 5; k++) {
            float x = 3.5f + k * 2.0f;
            float top = 4.0f + std::abs(k - 2) * 0.8f;
            c.draw(polygon({x - 0.8f, top, x, 8.0f, x + 0.8f, top}), rgb(220, 222, 230));
        }
    }
    c.harden();
    return c;
}

// ------------------------------------------------------------ terrain pieces

struct Tip {
    float x, y;
};

const std::vector<Tip>& branch_tips(int i) {
    static const std::vector<Tip> tips[12] = {
        {{2, 7}, {13, 1}, {18, 11}, {30, 7}, {42, 6}, {47, 17}},
        {{14, 0}, {4, 4}, {2, 13}, {16, 14}},
        {{1, 3}, {14, 2}, {24, 0}, {32, 4}, {27, 13}, {7, 14}},
        {{12, 0}, {24, 8}},
        {{5, 0}, {-1, 10}, {16, 1}},
        {{2, 3}, {10, 1}},
        {{3, 2}, {14, 4}, {9, 0}},
        {{5, 0}, {10, 8}},
        {{7, 0}},
        {{8, 0}, {14, 6}, {19, 16}, {4, 26}},
        {{2, 8}, {8, 0}, {18, 4}, {18, 22}, {25, 19}, {25, 39}, {1, 35}},
        {{-2, 14}, {3, 6}, {9, 0}, {20, 6}, {29, 5}, {27, 18}, {29, 28}, {-1, 27}},
    };
    return tips[i];
}

Canvas branch(int i, int w, int h) {
    Canvas c(w, h);
    Rng rng(4000 + i);
    float bx = w / 2.0f, by = h - 0.5f;
    float base_r = std::clamp(w * 0.09f, 1.6f, 3.5f);
    float fork_y = h * 0.55f;
    Shape wood = taper(bx, by + 2, bx + rng.range(-1.5f, 1.5f), fork_y, base_r, base_r * 0.75f);
    float fy = fork_y;
    for (const Tip& t : branch_tips(i)) {
        float tx = std::clamp(t.x + 0.5f, 1.0f, w - 1.0f), ty = std::clamp(t.y + 0.5f, 1.0f, h - 1.0f);
        // Twigs leave the trunk at the height nearest their tip, with a bend.
        float sy = std::clamp(ty + (fy - ty) * 0.55f + 4, fork_y - 2, by - 6);
        float sx = bx + (tx - bx) * 0.1f;
        float mx = (sx + tx) / 2 + rng.range(-2, 2), my = (sy + ty) / 2 + rng.range(-2, 1);
        float r0 = base_r * 0.6f, r1 = std::max(0.8f, base_r * 0.35f);
        wood = unite(wood, taper(sx, sy, mx, my, r0, (r0 + r1) / 2));
        wood = unite(wood, taper(mx, my, tx, ty, (r0 + r1) / 2, r1 * 0.8f));
        if (sy < fy) wood = unite(wood, taper(bx, fork_y, sx, sy, base_r * 0.75f, r0));
    }
    c.draw(grow(wood, 0.6f), rgb(50, 32, 20));
    c.draw(wood, bevel(wood, [i](float x, float y) {
        float n = vnoise(x * 0.8f, y * 0.25f, 4100 + i);
        return mix(rgb(96, 64, 38), rgb(140, 100, 62), n);
    }, 2.0f, 0.5f));
    c.harden();
    return c;
}

Canvas rock(int i, int w, int h) {
    Canvas c(w, h);
    uint32_t seed = 4200 + i;
    float cx = w / 2.0f, cy = h / 2.0f + 1;
    Shape s = roughen(ellipse(cx, cy, w / 2.0f - 2.5f, h / 2.0f - 2.5f), std::min(w, h) * 0.07f, 4.0f / std::min(w, h), seed);
    // A flattened underside: rocks sit in the ground.
    s = intersect(s, rect(0, 0, w, h - 1.0f));
    c.draw(grow(s, 0.8f), rgb(40, 38, 36));
    c.draw(s, bevel(s, [seed, w](float x, float y) {
        float n = fbm(x * 6 / w, y * 6 / w, 4, seed + 1);
        Worley cell = worley2_p(x / 9, y / 9, 64, 64, seed + 2);
        Col col = mix(rgb(110, 106, 100), rgb(170, 164, 150), n);
        float crack = 1 - smoothstep(0.0f, 0.1f, cell.f2 - cell.f1);
        return scale_rgb(col, 1 - 0.3f * crack * (n > 0.45f ? 1.0f : 0.0f));
    }, std::min(w, h) * 0.3f, 0.55f));
    c.harden();
    return c;
}

Canvas bar(int w, int h) {
    Canvas c(w, h);
    bool horiz = w >= h;
    c.paint_all([&](float x, float y) {
        Col m = metal(horiz ? y : x, horiz ? h : w);
        if (!horiz) m = scale_rgb(m, 0.9f + 0.1f * (1 - x / w));
        return m;
    });
    // Dark rims and rivets.
    if (horiz) {
        c.draw(rect(0, h - 1.0f, w, h), rgb(40, 42, 48));
        for (float x = 10; x < w; x += 20) rivet(c, x, h / 2.0f);
    } else {
        c.draw(rect(w - 1.0f, 0, w, h), rgb(40, 42, 48));
        for (float y = 10; y < h; y += 20) rivet(c, w / 2.0f, y);
    }
    if (w == h && w < 20) {
        c.draw(rect(w - 1.0f, 0, w, h), rgb(40, 42, 48));
        rivet(c, w / 2.0f, h / 2.0f, 2.0f);
    }
    return c;
}

Canvas diagonal_bar(bool down) {
    Canvas c(77, 77);
    Shape s = capsule(5, 5, 72, 72, 5.2f);
    if (!down) s = mirrored_x(s, 38.5f);
    c.draw(s, bevel(s, solid(rgb(160, 164, 172)), 3, 0.6f));
    for (int k = 0; k < 4; k++) {
        float t = 12 + k * 17.5f;
        rivet(c, down ? t : 77 - t, t);
    }
    c.harden();
    return c;
}

// ------------------------------------------------------------------ tiles

Canvas bricks(int w, int h, Col a, Col mortar, float bw, float bh, uint32_t seed) {
    Canvas c(w, h);
    c.paint_all([=](float x, float y) {
        int row = (int)(y / bh);
        float off = (row & 1) ? bw / 2 : 0;
        int col = (int)std::floor((x + off) / bw);
        float lx = x + off - col * bw, ly = y - row * bh;
        bool joint = lx < 1.5f || ly < 1.5f;
        if (joint) return mortar;
        uint32_t hh = hash_u32((uint32_t)(row * 977 + col * 131) ^ seed);
        float v = 0.85f + 0.25f * (hh & 255) / 255.0f;
        float n = fbm(x / 6, y / 6, 3, seed);
        Col col_ = scale_rgb(a, v * (0.85f + 0.3f * n));
        if (lx < 3 || ly < 3) col_ = lighten(col_, 0.15f);
        if (lx > bw - 2.5f || ly > bh - 2.5f) col_ = scale_rgb(col_, 0.75f);
        return col_;
    });
    return c;
}

Canvas planks(int w, int h, bool vertical, uint32_t seed) {
    Canvas c(w, h);
    c.paint_all([=](float x, float y) {
        float u = vertical ? x : y, v = vertical ? y : x;
        float pw = vertical ? std::max(5.0f, w / 2.0f) : std::max(5.0f, std::min(10.0f, (float)h));
        int k = (int)(u / pw);
        float lu = u - k * pw;
        float grain = vnoise(v * 0.08f, u * 0.9f + k * 13, seed);
        Col col = mix(rgb(150, 100, 55), rgb(196, 140, 80), grain);
        if (lu < 1.0f) col = rgb(80, 50, 28);
        else if (lu > pw - 1.5f) col = scale_rgb(col, 0.75f);
        else if (lu < 2.5f) col = lighten(col, 0.12f);
        return col;
    });
    return c;
}

Canvas metal_plate(int w, int h) {
    Canvas c(w, h);
    c.paint_all([=](float x, float y) {
        float n = vnoise(x * 0.5f, y * 0.05f, 4300);
        Col col = mix(rgb(120, 126, 136), rgb(160, 166, 176), n);
        if (x < 2 || y < 2) col = lighten(col, 0.25f);
        if (x > w - 2.5f || y > h - 2.5f) col = scale_rgb(col, 0.6f);
        return col;
    });
    if (w >= 20 && h >= 20) {
        for (float x : {5.0f, w - 5.0f})
            for (float y : {5.0f, h - 5.0f}) rivet(c, x, y, 1.8f);
    } else if (w > h) {
        for (float x = 5; x < w; x += 10) rivet(c, x, h / 2.0f, 1.4f);
    } else {
        for (float y = 5; y < h; y += 10) rivet(c, w / 2.0f, y, 1.4f);
    }
    return c;
}

Canvas crate_tile() {
    Canvas c = planks(100, 100, false, 4400);
    Col frame = rgb(110, 72, 40);
    c.draw(subtract(rect(0, 0, 100, 100), rect(9, 9, 91, 91)), frame);
    c.draw(rotated(rect(-10, 45, 110, 55), 50, 50, 45), frame);
    c.draw(subtract(rect(0, 0, 100, 100), rect(1.5f, 1.5f, 98.5f, 98.5f)), rgb(60, 38, 20));
    for (float x : {5.0f, 95.0f})
        for (float y : {5.0f, 95.0f}) rivet(c, x, y, 2.2f);
    return c;
}

Canvas earth_block() {
    Canvas c(100, 100);
    c.paint_all([](float x, float y) {
        float n = fbm_p(x / 25, y / 25, 4, 4, 4, 4500);
        Col col = scale_rgb(rgb(120, 82, 50), 0.8f + 0.4f * n);
        float top = 9 + 3 * vnoise_p(x / 10, 0.5f, 10, 1, 4501);
        if (y < top) col = mix(rgb(130, 210, 70), rgb(60, 140, 40), y / top);
        return col;
    });
    return c;
}

Canvas ramp(bool rising_right) {
    Canvas stone = bricks(100, 100, rgb(150, 140, 125), rgb(90, 84, 76), 25, 12.5f, 4600);
    Canvas c(100, 100);
    Shape tri = rising_right ? polygon({0, 100, 100, 0, 100, 100}) : polygon({0, 0, 100, 100, 0, 100});
    for (int y = 0; y < 100; y++)
        for (int x = 0; x < 100; x++) {
            float cov = clamp01(0.5f - tri(x + 0.5f, y + 0.5f));
            if (cov >= 0.5f) c.set(x, y, stone.get(x, y));
        }
    c.draw(subtract(grow(tri, 0), grow(tri, -2.5f)), rgb(80, 74, 66));
    c.harden();
    return c;
}

Canvas torch_post() {
    // The game lights a fire on top of this tile.
    Canvas c = planks(10, 30, true, 4700);
    c.draw(rect(0, 0, 10, 7), rgb(60, 60, 66));
    c.draw(rect(0, 0, 10, 2), rgb(120, 120, 130));
    c.draw(rect(0, 27, 10, 30), rgb(60, 60, 66));
    return c;
}

Canvas tile(int n) {
    switch (n) {
    case 0: return torch_post();
    case 1: {
        Canvas c(14, 6);
        Shape s = rect(0.5f, 0.5f, 13.5f, 5.5f, 2);
        c.draw(s, bevel(s, solid(rgb(150, 145, 135)), 2, 0.6f));
        c.harden();
        return c;
    }
    case 2: return bricks(100, 100, rgb(170, 90, 60), rgb(110, 100, 90), 25, 12.5f, 4800);
    case 3: return crate_tile();
    case 4: return metal_plate(100, 100);
    case 5: return bricks(100, 100, rgb(150, 146, 140), rgb(80, 78, 74), 20, 20, 4801);
    case 6: return earth_block();
    case 7: return metal_plate(100, 5);
    case 8: return metal_plate(5, 100);
    case 9: return ramp(true);
    case 10: return ramp(false);
    case 11: return planks(30, 10, false, 4802);
    case 12: return metal_plate(30, 10);
    case 13: return bricks(30, 10, rgb(170, 90, 60), rgb(110, 100, 90), 15, 10, 4803);
    case 14: return planks(10, 30, true, 4804);
    case 15: return metal_plate(10, 30);
    default: return bricks(10, 30, rgb(150, 146, 140), rgb(80, 78, 74), 10, 10, 4805);
    }
}

const int kBranchSize[12][2] = {{48, 58}, {17, 37}, {40, 38}, {25, 46}, {19, 35}, {13, 14},
                                {17, 19}, {12, 30}, {13, 37}, {20, 53}, {26, 67}, {33, 58}};
const int kRockSize[9][2] = {{50, 50}, {35, 47}, {125, 51}, {101, 79}, {42, 36}, {30, 23}, {26, 30}, {35, 20}, {30, 20}};

}  // namespace

void add_builtin_art(Registry& reg) {
    auto add = [&](const std::string& path, std::function<Canvas()> make) {
        reg.builtin.push_back({"incgfx/" + path, Fmt::BmpMagenta, 0, 0, 1, false, std::move(make)});
    };
    // Registration order of the built-in table.
    add("playercol.bmp", player_collision);
    for (int n : {1, 2, 3, 4, 5, 10, 20, 30}) add("coldot" + std::to_string(n) + ".bmp", [n] { return coldot(n); });
    add("supply.bmp", supply);
    add("mine.bmp", mine);
    add("beartrap0.bmp", [] { return beartrap(false); });
    add("beartrap1.bmp", [] { return beartrap(true); });
    add("medikit.bmp", medikit);
    for (int i = 0; i < 12; i++)
        add("terrain/branches" + std::to_string(i) + ".bmp", [i] { return branch(i, kBranchSize[i][0], kBranchSize[i][1]); });
    for (int i = 0; i < 9; i++)
        add("terrain/rock" + std::to_string(i) + ".bmp", [i] { return rock(i, kRockSize[i][0], kRockSize[i][1]); });
    add("terrain/bar_h.bmp", [] { return bar(100, 10); });
    add("terrain/bar_v.bmp", [] { return bar(10, 100); });
    add("terrain/bar_c.bmp", [] { return bar(10, 10); });
    add("terrain/bar_d1.bmp", [] { return diagonal_bar(true); });
    add("terrain/bar_d2.bmp", [] { return diagonal_bar(false); });
    for (int n = 0; n <= 16; n++) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d", n);
        add(std::string("tiles/") + name + ".bmp", [n] { return tile(n); });
    }
}

}  // namespace ma
