// Effect art: sky, clouds and water; particles, glows and explosions.
//
// Most effect images are drawn tinted (the colour multiplies them) or added to
// the screen, so they are white or grey and get their colour in the game.
// Glows saved as BMP are white on black: added to the screen, black adds
// nothing. Images the game turns into alpha masks are white on black, the
// grey level becoming the alpha.
#include <algorithm>

#include "tools/makeassets/assets.h"

namespace ma {
namespace {

const Col kWhite = rgb(255, 255, 255);
const Col kWater = rgb(26, 108, 193);   // the colour the game fills the water body with

// ---------------------------------------------------------------- sky, water

Canvas sky_gradient() {
    // Multiplied by the sky colour: darker overhead, bright at the horizon.
    Canvas c(640, 480);
    c.paint_all([](float x, float y) {
        float t = y / 480.0f;
        float v = 0.62f + 0.38f * std::pow(t, 0.8f);
        float d = (hash_u32((uint32_t)x * 7919u + (uint32_t)y * 104729u) & 255) / 255.0f - 0.5f;
        v += d / 255.0f;
        return Col{v * 0.97f, v * 0.99f, v, 1};
    });
    return c;
}

// A periodic grid of samples of f every `step` pixels over a w by h image,
// read back with bilinear filtering: for the smooth fields of big images.
class Coarse {
public:
    Coarse(int w, int h, int step, const std::function<float(float, float)>& f)
        : gw_(w / step), gh_(h / step), step_(step), v_((size_t)gw_ * gh_) {
        for (int j = 0; j < gh_; j++)
            for (int i = 0; i < gw_; i++) v_[(size_t)j * gw_ + i] = f((float)i * step, (float)j * step);
    }
    // Samples already taken, row by row.
    Coarse(int w, int h, int step, std::vector<float> v) : gw_(w / step), gh_(h / step), step_(step), v_(std::move(v)) {}
    float operator()(float x, float y) const {
        float gx = x / step_, gy = y / step_;
        int i = (int)std::floor(gx), j = (int)std::floor(gy);
        float tx = gx - i, ty = gy - j;
        return lerp(lerp(at(i, j), at(i + 1, j), tx), lerp(at(i, j + 1), at(i + 1, j + 1), tx), ty);
    }

private:
    float at(int i, int j) const { return v_[(size_t)(((j % gh_) + gh_) % gh_) * gw_ + ((i % gw_) + gw_) % gw_]; }
    int gw_, gh_, step_;
    std::vector<float> v_;
};

// The game tiles this image three times over the sky (far, middle, near) at
// the same horizontal phase until the view scrolls, the far layers moved down
// by 300 and 650 pixels. At 1024 pixels tall those copies of a cloud land at
// least 300 pixels apart, so they never stack into a column on screen; 1024
// across keeps a layer from repeating on screens up to that wide.
//
// Clouds are placed one by one, positions wrapping so the image tiles: a few
// big flat-bottomed heaps, more middling ones, thin streaks and small scraps,
// gathered loosely by a coarse noise with open sky between. A soft ellipse (two for a
// heap) says how thick each may be; its own noise, scaled to its size, cuts
// the outline, so big and small clouds are ragged alike, and streaky fine
// noise frays the thin parts into wisps.
struct Cloud {
    float x, y;      // heaps: middle of the flat underside; streaks: centre
    float w, h;
    bool heap;
    float thick;     // the densest it gets: streaks are thin
    float top_dx;    // where a heap piles up highest, from the middle
    uint32_t seed;
    float reach_x, reach_y;
};

// The shortest offset d on a ring of p pixels.
float wrapd(float d, int p) { return d - p * std::round(d / p); }

std::vector<Cloud> place_clouds(int W, int H, uint32_t seed) {
    Rng rng(seed);
    std::vector<Cloud> out;
    // Biggest first, so the small ones fill the gaps between them.
    const struct {
        int count;
        float w0, w1;
        bool heap;
    } kinds[] = {{4, 220, 420, true}, {6, 110, 200, true}, {8, 100, 320, false}, {8, 40, 80, true}};
    for (const auto& k : kinds) {
        for (int placed = 0, tries = 0; placed < k.count && tries < 400; tries++) {
            float x = rng.range(0, (float)W), y = rng.range(0, (float)H);
            float w = rng.range(k.w0, k.w1);
            float gather = fbm_p(x / 256, y / 256, W / 256, H / 256, 2, seed + 1);
            if (rng.uniform() > smoothstep(0.36f, 0.6f, gather)) continue;
            float h = k.heap ? w * rng.range(0.28f, 0.38f) : w * rng.range(0.05f, 0.09f);
            float thick = k.heap ? 1.0f : rng.range(0.4f, 0.75f);
            Cloud c{x, y, w, h, k.heap, thick, rng.range(-0.22f, 0.22f) * w, (uint32_t)rng.next(), w * 0.5f + 8,
                    k.heap ? h * 1.4f + 8 : h + 8};
            bool clear = true;
            for (const Cloud& o : out) {
                float dx = std::fabs(wrapd(x - o.x, W)), dy = std::fabs(wrapd(y - o.y, H));
                if (dx < (c.reach_x + o.reach_x) * 0.8f && dy < (c.reach_y + o.reach_y) * 0.8f) clear = false;
            }
            if (!clear) continue;
            out.push_back(c);
            placed++;
        }
    }
    return out;
}

// How much of a cloud covers the point (dx, dy) from its anchor, 0..1, and
// how far down its shaded belly the point lies, 0..1.
float cloud_cover(const Cloud& c, float dx, float dy, float& belly) {
    auto lens = [](float dx, float dy, float rx, float ry) {
        float q = (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry);
        return q < 1 ? 1 - q : 0.0f;
    };
    float env, u, v;
    if (c.heap) {
        env = std::max(lens(dx, dy + c.h * 0.45f, c.w * 0.5f, c.h * 0.6f),
                       lens(dx - c.top_dx, dy + c.h * 0.75f, c.w * 0.28f, c.h * 0.6f));
        // A flat, slightly wavy underside.
        float base = 3 * (vnoise(dx / 20 + 50, 0.5f, c.seed + 3) - 0.5f);
        env *= smoothstep(4, -3, dy - base);
        u = dx / (c.w * 0.2f), v = dy / (c.h * 0.4f);
        belly = smoothstep(-c.h * 0.75f, 0, dy);
    } else {
        env = lens(dx, dy, c.w * 0.5f, c.h);
        u = dx / (c.w * 0.1f), v = dy / (c.h * 1.2f);
        belly = 0.3f;
    }
    if (env <= 0) return 0;
    float body = fbm(u + 20, v + 20, 4, c.seed);
    float fine = fbm(u * 3 + 40, v * 1.2f + 40, 2, c.seed + 1);
    float cover = 0.8f * body + 0.2f * fine - (0.62f - 0.75f * env);
    return c.thick * smoothstep(0.0f, 0.45f, cover);
}

Canvas clouds() {
    const int W = 1024, H = 1024;
    std::vector<Cloud> list = place_clouds(W, H, 2000);
    // Which clouds can reach each 64-pixel block.
    const int B = 64, BW = W / B, BH = H / B;
    std::vector<std::vector<int>> blocks((size_t)BW * BH);
    for (size_t i = 0; i < list.size(); i++) {
        const Cloud& c = list[i];
        const float m = 24;   // the warp moves outlines by up to this
        for (int by = (int)std::floor((c.y - c.reach_y - m) / B); by <= (int)std::floor((c.y + c.reach_y + m) / B); by++)
            for (int bx = (int)std::floor((c.x - c.reach_x - m) / B); bx <= (int)std::floor((c.x + c.reach_x + m) / B); bx++)
                blocks[(size_t)(((by % BH) + BH) % BH) * BW + ((bx % BW) + BW) % BW].push_back((int)i);
    }
    for (auto& b : blocks) {
        std::sort(b.begin(), b.end());
        b.erase(std::unique(b.begin(), b.end()), b.end());
    }
    Coarse warp_x(W, H, 8, [](float x, float y) { return 30 * (fbm_p(x / 128, y / 128, W / 128, H / 128, 3, 2002) - 0.5f); });
    Coarse warp_y(W, H, 8, [](float x, float y) { return 16 * (fbm_p(x / 128, y / 128, W / 128, H / 128, 3, 2003) - 0.5f); });
    // Density and belly shade on a half-size grid, read back smoothly at
    // full size.
    const int S = 2;
    std::vector<float> dv((size_t)(W / S) * (H / S)), bv(dv.size());
    for (int j = 0; j < H / S; j++)
        for (int i = 0; i < W / S; i++) {
            float x = (float)i * S, y = (float)j * S;
            float wx = x + warp_x(x, y), wy = y + warp_y(x, y);
            float clear = 1, belly = 0, most = 0;
            for (int k : blocks[(size_t)(j * S / B) * BW + i * S / B]) {
                const Cloud& c = list[k];
                float dx = wrapd(wx - c.x, W), dy = wrapd(wy - c.y, H);
                if (std::fabs(dx) >= c.reach_x || std::fabs(dy) >= c.reach_y * 2) continue;
                float b = 0, d = cloud_cover(c, dx, dy, b);
                clear *= 1 - d;
                if (d > most) most = d, belly = b;
            }
            dv[(size_t)j * (W / S) + i] = 1 - clear;
            bv[(size_t)j * (W / S) + i] = belly;
        }
    Coarse dens(W, H, S, std::move(dv)), bellies(W, H, S, std::move(bv));
    Canvas c(W, H);
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            float d = dens((float)x, (float)y);
            if (d <= 0.002f) continue;
            // Lit from above: white tops, grey bellies, and the upper rim of
            // every billow brighter than what lies under it.
            float rim = clamp01((d - dens(x + 1.0f, y - 4.0f)) * 3);
            float shadow = bellies((float)x, (float)y) * d * (1 - rim);
            Col col = mix(rgb(255, 255, 255), rgb(182, 192, 212), shadow);
            c.set(x, y, with_alpha(col, d * 0.94f));
        }
    return c;
}

float wave_top(float x) {
    return 8.0f + 2.2f * std::sin(x * 2 * kPi / 100) + 1.3f * std::sin(x * 2 * kPi / 40 + 1.0f) +
           0.6f * std::sin(x * 2 * kPi / 25 + 2.0f);
}

Canvas waves() {
    Canvas c(200, 25);
    c.paint_all([](float x, float y) -> Col {
        float top = wave_top(x);
        float d = y - top;
        if (d < -0.5f) return {};
        float a = clamp01(d + 0.5f);
        float t = clamp01(d / (25 - top));
        Col col = mix(rgb(110, 185, 240), kWater, std::pow(t, 0.7f));
        if (d < 1.8f) col = mix(rgb(235, 248, 255), col, clamp01(d / 1.8f));   // foam on the crest
        return with_alpha(col, a * (0.8f + 0.2f * t));
    });
    return c;
}

// Caustic light on a 128-pixel grid, eight frames that loop: feature points
// circle around their cells so frame 8 would be frame 0 again.
Canvas water_frame(int frame) {
    const int N = 128, cells = 4;
    Canvas c(N, N);
    float phase = frame * 2 * kPi / 8;
    for (int y = 0; y < N; y++)
        for (int x = 0; x < N; x++) {
            float px = x * (float)cells / N, py = y * (float)cells / N;
            float wx = px + 0.25f * std::sin(py * 2 * kPi / cells * 2 + phase);
            float wy = py + 0.25f * std::sin(px * 2 * kPi / cells * 2 + phase);
            float f1 = 9, f2 = 9;
            int ix = (int)std::floor(wx), iy = (int)std::floor(wy);
            for (int j = -1; j <= 1; j++)
                for (int i = -1; i <= 1; i++) {
                    int cx = ix + i, cy = iy + j;
                    int hx = ((cx % cells) + cells) % cells, hy = ((cy % cells) + cells) % cells;
                    uint32_t h = hash_u32(hx * 131u + hy * 7u + 99u);
                    float ph = (h & 1023) / 1023.0f * 2 * kPi;
                    float r = 0.22f + 0.1f * ((h >> 10) & 255) / 255.0f;
                    float fx = cx + 0.5f + r * std::cos(phase + ph), fy = cy + 0.5f + r * std::sin(phase + ph);
                    float d = std::hypot(fx - wx, fy - wy);
                    if (d < f1) { f2 = f1; f1 = d; } else if (d < f2) f2 = d;
                }
            float edge = 1 - smoothstep(0.0f, 0.1f, f2 - f1);
            float vary = 0.45f + 0.55f * vnoise_p(px * 2, py * 2, cells * 2, cells * 2, 2050 + frame % 2);
            c.set(x, y, with_alpha(rgb(200, 235, 255), edge * 0.75f * vary));
        }
    return c;
}

Canvas bubble(int i) {
    Canvas c(32, 32);
    float r = 14.0f - i * 1.5f;
    c.draw(circle(16, 16, r), rgb(200, 230, 255, 0.18f));
    c.draw(ring(16, 16, r - 0.8f, 1.1f), rgb(230, 245, 255, 0.85f));
    c.draw(ellipse(11.5f, 11, r * 0.28f, r * 0.18f), rgb(255, 255, 255, 0.95f));
    c.draw(circle(20, 21, r * 0.1f), rgb(255, 255, 255, 0.6f));
    return c;
}

Canvas water_ray() {
    Canvas c(38, 160);
    c.paint_all([](float x, float y) {
        float across = 1 - std::fabs(x - 19) / 19;
        float along = std::pow(1 - y / 160, 1.5f);
        return with_alpha(rgb(220, 240, 255), across * across * along);
    });
    return c;
}

Canvas water_impact() {
    Canvas c(50, 64);
    Rng rng(2101);
    // A crown of spray rising from the point (25, 60).
    for (int k = 0; k < 9; k++) {
        float ang = (-90 + (k - 4) * 17 + rng.range(-5, 5)) * kPi / 180;
        float len = rng.range(28, 50) * (1 - std::fabs(k - 4.0f) / 9);
        float ex = 25 + std::cos(ang) * len * 0.9f, ey = 60 + std::sin(ang) * len;
        c.draw(taper(25 + (k - 4) * 1.5f, 60, ex, ey, 3.2f, 1.0f), rgb(210, 235, 255, 0.75f));
        c.draw(circle(ex + rng.range(-2, 2), ey - rng.range(2, 6), rng.range(1.2f, 2.2f)), rgb(230, 245, 255, 0.85f));
    }
    c.draw(ellipse(25, 60, 14, 3.5f), rgb(230, 245, 255, 0.8f));
    return c;
}

// ---------------------------------------------------------------- particles

Canvas crosshair() {
    Canvas c(24, 24, rgb(0, 0, 0));
    Shape s = subtract(ring(12, 12, 7.5f, 1.1f), unite(rect(10.5f, 0, 13.5f, 24), rect(0, 10.5f, 24, 13.5f)));
    s = unite(s, unite(capsule(12, 1.5f, 12, 7.0f, 0.9f), capsule(12, 17.0f, 12, 22.5f, 0.9f)));
    s = unite(s, unite(capsule(1.5f, 12, 7.0f, 12, 0.9f), capsule(17.0f, 12, 22.5f, 12, 0.9f)));
    c.draw(s, kWhite);
    c.draw(circle(12, 12, 1.3f), kWhite);
    return c;
}

Canvas puff(int i) {
    Canvas c(64, 64, rgb(0, 0, 0));
    Rng rng(2200 + i);
    Canvas d(64, 64);
    for (int k = 0; k < 7; k++) {
        float ang = rng.range(0, 2 * kPi), dist = rng.range(0, 12);
        float x = 32 + std::cos(ang) * dist, y = 32 + std::sin(ang) * dist, r = rng.range(9, 15);
        d.draw(circle(x, y, r), rgb(255, 255, 255, 0.55f));
    }
    d.blur(4);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            float a = d.alpha_at(x, y);
            float n = fbm(x / 9.0f, y / 9.0f, 4, 2210 + i);
            float v = clamp01(a * (0.6f + 0.7f * n) * 1.4f);
            float edge = 1 - smoothstep(26, 31, std::hypot(x - 31.5f, y - 31.5f));
            v *= edge;
            c.set(x, y, Col{v, v, v, 1});
        }
    return c;
}

Canvas particle(int i) {
    Canvas c(32, 32);
    switch (i) {
    case 0: c.draw(circle(16, 16, 12), radial(16, 16, 13, kWhite, rgb(255, 255, 255, 0.4f))); break;
    case 1: {  // droplet
        Shape s = unite(circle(16, 19, 9), polygon({8.5f, 16, 16, 3, 23.5f, 16}));
        c.draw(s, kWhite);
        c.draw(ellipse(13, 18, 2.5f, 3.5f), rgb(255, 255, 255, 0.5f), Blend::Erase);
        break;
    }
    case 2: c.draw(roughen(circle(16, 16, 11), 3, 0.2f, 2301), kWhite); break;
    default: {  // a splash of drops
        Rng rng(2302);
        for (int k = 0; k < 6; k++) c.draw(circle(rng.range(6, 26), rng.range(6, 26), rng.range(3, 6)), kWhite);
        break;
    }
    }
    return c;
}

Canvas flare(int i) {
    int n = i == 0 ? 64 : i == 1 ? 128 : 16;
    Canvas c(n, n, rgb(0, 0, 0));
    float h = n / 2.0f;
    c.paint_all([&](float x, float y) {
        float dx = x - h, dy = y - h, r = std::hypot(dx, dy) / h;
        float v;
        if (i == 0) {
            // Star: soft core and four long rays, four short ones.
            float ang = std::atan2(dy, dx);
            float rays = std::pow(std::fabs(std::cos(2 * ang)), 40.0f) * 0.9f + std::pow(std::fabs(std::sin(2 * ang)), 60.0f) * 0.35f;
            v = std::exp(-r * r * 9) + rays * std::max(0.0f, 1 - r) * 0.9f + 0.25f * std::max(0.0f, 1 - r) * std::max(0.0f, 1 - r);
        } else if (i == 1) {
            v = std::exp(-r * r * 5.5f) * 0.95f + 0.25f * std::max(0.0f, 1 - r);
            v *= 1 - smoothstep(0.9f, 1.0f, r);
        } else {
            v = std::exp(-r * r * 3.5f) * (1 - smoothstep(0.85f, 1.0f, r));
        }
        v = clamp01(v);
        return Col{v, v, v, 1};
    });
    return c;
}

Canvas bullet() {
    Canvas c(8, 20);
    Shape s = rect(1, 1, 7, 19, 1.2f);
    c.draw(s, linear(1, 0, rgb(150, 150, 150), 7, 0, rgb(250, 250, 250)));
    c.draw(rect(1, 1, 7, 3.5f, 1.0f), rgb(120, 120, 120));
    c.draw(rect(2.8f, 3.5f, 3.8f, 18), rgb(255, 255, 255, 0.7f));
    return c;
}

Canvas explosion() {
    Canvas c(64, 64);
    c.paint_all([](float x, float y) {
        float r = std::hypot(x - 32, y - 32) / 30;
        float n = fbm(x / 10, y / 10, 4, 2401);
        float a = clamp01((1 - r) * 1.6f + (n - 0.5f) * 0.9f);
        float v = clamp01(0.55f + 0.6f * (1 - r) + 0.3f * (n - 0.5f));
        return with_alpha(Col{v, v, v, 1}, a * a);
    });
    return c;
}

Canvas explosion_ring() {
    Canvas c(64, 64);
    c.paint_all([](float x, float y) {
        float r = std::hypot(x - 32, y - 32);
        float v = std::exp(-(r - 24) * (r - 24) / 18) + 0.25f * std::exp(-(r - 20) * (r - 20) / 40);
        return with_alpha(kWhite, clamp01(v));
    });
    return c;
}

Canvas fire() {
    Canvas c(30, 60);
    auto flame = [](float w, float top, float cx) {
        return unite(ellipse(cx, 50, w, 7), polygon({cx - w, 50, cx - w * 0.5f, 36, cx + 1, top, cx + w * 0.3f, 38, cx + w, 50}));
    };
    Shape outer = roughen(flame(11, 4, 15), 1.5f, 0.25f, 2501);
    Shape mid = roughen(flame(7.5f, 16, 15.5f), 1.2f, 0.3f, 2502);
    Shape core = roughen(flame(4.5f, 30, 15), 0.8f, 0.35f, 2503);
    c.draw(outer, linear(0, 6, rgb(220, 40, 10, 0.4f), 0, 54, rgb(240, 80, 20, 0.95f)));
    c.draw(mid, linear(0, 16, rgb(255, 140, 20, 0.8f), 0, 54, rgb(255, 170, 40)));
    c.draw(core, linear(0, 30, rgb(255, 240, 120), 0, 54, rgb(255, 255, 220)));
    c.glow(rgb(255, 120, 20), 3, 0.5f);
    return c;
}

Canvas dust(int i) {
    int n = 8 + i * 2;
    Canvas c(n, n);
    float h = n / 2.0f;
    c.paint_all([&](float x, float y) {
        float r = std::hypot(x - h, y - h) / h;
        return with_alpha(kWhite, clamp01(1 - r) * (0.6f + 0.4f * vnoise(x, y, 2600 + i)));
    });
    return c;
}

Canvas dirtfall() {
    Canvas c(24, 64);
    Rng rng(2701);
    for (int k = 0; k < 60; k++) {
        float y = std::pow(rng.uniform(), 1.4f) * 62 + 1;
        float spread = 3 + y * 0.12f;
        float x = 12 + rng.range(-spread, spread);
        float r = rng.range(0.6f, 1.6f) * (1 - y / 90);
        c.draw(circle(x, y, r), rgb(255, 255, 255, 1 - y / 80));
    }
    c.draw(rect(8, 0, 16, 10, 4), rgb(255, 255, 255, 0.8f));
    return c;
}

Canvas drop() {
    Canvas c(32, 16);
    c.draw(unite(polygon({14.5f, 0, 17.5f, 0, 24, 9, 8, 9}), ellipse(16, 9.5f, 8.2f, 6.0f)), kWhite);
    c.draw(ellipse(12.5f, 9, 1.8f, 2.6f), rgb(255, 255, 255, 0.5f), Blend::Erase);
    return c;
}

Canvas meat(int i) {
    Canvas c(32, 32);
    Rng rng(2800 + i);
    float r = rng.range(4.0f, 8.5f);
    Shape s = roughen(ellipse(16, 16, r * rng.range(0.8f, 1.3f), r * rng.range(0.6f, 1.0f)), r * 0.25f, 0.35f, 2800 + i);
    s = rotated(s, 16, 16, rng.range(0, 180));
    Col flesh = mix(rgb(200, 60, 60), rgb(240, 140, 130), rng.uniform());
    c.draw(grow(s, 1.0f), rgb(90, 10, 15));
    c.draw(s, dome(s, [&](float x, float y) {
        float n = fbm(x / 3, y / 3, 3, 2810 + i);
        return mix(flesh, rgb(150, 20, 30), n * 0.8f);
    }, r * 0.7f, 0.5f));
    if (i % 4 == 1) c.draw(capsule(16 - r * 0.6f, 16, 16 + r * 0.9f, 16 - r * 0.3f, 1.1f), rgb(245, 240, 225));
    if (i % 5 == 2) c.draw(circle(16 + r * 0.3f, 16 - r * 0.2f, r * 0.35f), rgb(250, 220, 60));
    c.harden();
    return c;
}

}  // namespace

void add_effect_art(Registry& reg) {
    reg.image("gfx/backgradient.bmp", Fmt::BmpBlack, sky_gradient);
    reg.image("gfx/waves0.png", Fmt::Png, waves);
    reg.image("gfx/clouds.png", Fmt::Png, clouds);
    for (int i = 0; i < 3; i++) reg.image("gfx/water_bubble" + std::to_string(i) + ".png", Fmt::Png, [i] { return bubble(i); });
    reg.image("gfx/water_ray.png", Fmt::Png, water_ray);
    reg.image("gfx/water_impact.png", Fmt::Png, water_impact);
    reg.anim("gfx/water_animation.png", Fmt::Png, 128, 128, 8, [] {
        std::vector<Canvas> f;
        for (int i = 0; i < 8; i++) f.push_back(water_frame(i));
        return strip(f);
    });
    reg.mask("gfx/crosshair.bmp", 0, 0, 1, crosshair);
    reg.image("gfx/ring.png", Fmt::Png, [] {
        Canvas c(128, 128);
        c.paint_all([](float x, float y) {
            float r = std::hypot(x - 64, y - 64);
            return with_alpha(kWhite, clamp01(std::exp(-(r - 56) * (r - 56) / 12)));
        });
        return c;
    });
    reg.image("gfx/lightray.png", Fmt::Png, [] {
        Canvas c(128, 512);
        c.paint_all([](float x, float y) {
            float dx = (x - 64) / 64, along = 1 - std::fabs(y - 256) / 256;
            float v = (std::exp(-dx * dx * 40) * 0.9f + std::exp(-dx * dx * 6) * 0.25f) * std::pow(along, 1.3f);
            return with_alpha(kWhite, clamp01(v));
        });
        return c;
    });
    for (int i = 0; i < 4; i++) reg.mask("gfx/puff" + std::to_string(i) + ".bmp", 0, 0, 1, [i] { return puff(i); });
    for (int i = 0; i < 4; i++) reg.image("gfx/par" + std::to_string(i) + ".png", Fmt::Png, [i] { return particle(i); });
    for (int i = 0; i < 3; i++) reg.image("gfx/flare" + std::to_string(i) + ".bmp", Fmt::BmpFlat, [i] { return flare(i); });
    reg.image("gfx/bullet.bmp", Fmt::BmpMagenta, [] {
        Canvas c = bullet();
        c.harden();
        return c;
    });
    reg.image("gfx/expl0.png", Fmt::Png, explosion);
    reg.image("gfx/explosion_ring.png", Fmt::Png, explosion_ring);
    reg.image("gfx/fire.png", Fmt::Png, fire);
    for (int i = 0; i < 5; i++) reg.image("gfx/dust" + std::to_string(i) + ".png", Fmt::Png, [i] { return dust(i); });
    reg.image("gfx/dirtfall0.png", Fmt::Png, dirtfall);
    reg.image("gfx/drop.png", Fmt::Png, drop);
    for (int i = 0; i < 19; i++) reg.image("gfx/splatter/meat" + std::to_string(i) + ".bmp", Fmt::BmpBlack, [i] { return meat(i); });
}

}  // namespace ma
