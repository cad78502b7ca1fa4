// Terrain art: the tiling ground textures of the five styles, the modifier
// images the texturer and the particles stamp into the ground (surface strips,
// light, shade, craters, stains, decals) and the scenery sprites.
//
// Textures are sampled modulo their size, so every one tiles seamlessly: all
// their noise is periodic with the texture. Surface strips are sampled one
// column at a time modulo 200, so they tile every 200 columns. Stamps act
// through their alpha only where the ground is already solid.
#include <algorithm>
#include <optional>

#include "tools/makeassets/assets.h"

namespace ma {
namespace {

constexpr int kTex = 256;

Canvas texture(const std::function<Col(float, float)>& f) {
    Canvas c(kTex, kTex);
    for (int y = 0; y < kTex; y++)
        for (int x = 0; x < kTex; x++) c.set(x, y, with_alpha(f((float)x, (float)y), 1));
    return c;
}

// Periodic fractal noise over the texture with `cells` lattice cells across.
float tn(float x, float y, int cells, int oct, uint32_t seed) {
    return fbm_p(x * cells / kTex, y * cells / kTex, cells, cells, oct, seed);
}

Col shade(Col c, float f) { return f >= 1 ? lighten(c, std::min(1.0f, f - 1)) : scale_rgb(c, f); }

Worley tw2(float x, float y, int cells, uint32_t seed) { return worley2_p(x * cells / kTex, y * cells / kTex, cells, cells, seed); }

// Stones packed together: each cell its own shade, lit from the upper left
// across its face, with dark joints between cells and fine grain on top.
Col rocky(float x, float y, Col base, uint32_t seed, float crack_dark) {
    float warpx = 6 * (tn(x, y, 8, 2, seed + 20) - 0.5f), warpy = 6 * (tn(x, y, 8, 2, seed + 21) - 0.5f);
    Worley w = tw2(x + warpx, y + warpy, 7, seed + 3);
    Worley a = tw2(x + warpx - 1.5f, y + warpy - 1.5f, 7, seed + 3);
    float cell_shade = 0.8f + 0.35f * ((w.id >> 8) % 1000) / 1000.0f;
    float face = (a.f1 - w.f1) * 9;   // brighter on the side facing the light
    float joint = 1 - smoothstep(0.02f, 0.12f, w.f2 - w.f1);
    float n = tn(x, y, 16, 4, seed);
    float g = vnoise_p(x, y, kTex, kTex, seed + 6);
    float f = cell_shade * (0.85f + 0.3f * n) + 0.12f * face;
    f *= 1 - crack_dark * 0.8f * joint;
    f *= 0.92f + 0.16f * g;
    return shade(base, f);
}

// Loose stones scattered over a ground texture. They are placed once per
// texture by dart throwing on the wrapped plane: sizes follow a steep power
// law (many grains, some pebbles, a few big stones) and mid-sized ones gather
// where a coarse noise says "gravel", so they clump instead of spreading
// evenly. Each stone is a slightly lumpy ellipse lit as a dome from the upper
// left, casting a soft shadow to the lower right.
struct Stone {
    float x, y, rx, ry, ca, sa;   // centre, radii, rotation
    float tone;                   // brightness of this stone's colour
    float stain;                  // how much of the soil colour it has taken on
    float grain;                  // 1 for a grain (flat, faint), 0 for a stone
    uint32_t seed;
};

class Stones {
public:
    // amount scales how many stones there are (about 0.1 sparse .. 0.5 busy).
    Stones(uint32_t seed, float amount, float lit_max) : lit_max_(lit_max) {
        Rng rng(seed);
        auto crowded = [&](float x, float y, float r) {
            for (const Stone& s : list_) {
                float dx = wrapd(x - s.x), dy = wrapd(y - s.y);
                float rr = r + std::max(s.rx, s.ry) + 0.6f;
                if (dx * dx + dy * dy < rr * rr) return true;
            }
            return false;
        };
        auto gravel = [&](float x, float y) { return smoothstep(0.42f, 0.72f, tn(x, y, 4, 2, seed + 5)); };
        auto place = [&](int n, float rmin, float rmax, float power, float clump, float grain) {
            for (int tries = 0, placed = 0; placed < n && tries < n * 12; tries++) {
                float x = rng.range(0, kTex), y = rng.range(0, kTex);
                float r = rmin * std::pow(rmax / rmin, std::pow(rng.uniform(), power));
                if (rng.uniform() > 1 - clump + clump * gravel(x, y)) continue;
                if (crowded(x, y, r)) continue;
                float aspect = rng.range(0.62f, 0.95f), ang = rng.range(0, kPi);
                list_.push_back({x, y, r, r * aspect, std::cos(ang), std::sin(ang), rng.range(0.7f, 1.2f),
                                 rng.range(0.0f, 0.4f), grain, (uint32_t)rng.next()});
                placed++;
            }
        };
        place((int)(30 * amount), 4.0f, 7.5f, 1.5f, 0.3f, 0);      // big stones, anywhere
        place((int)(260 * amount), 1.6f, 4.0f, 2.0f, 0.85f, 0);    // pebbles, in gravel patches
        place((int)(1400 * amount), 0.6f, 1.4f, 1.0f, 0.5f, 1);    // grains
        for (const Stone& s : list_) {
            float reach = std::max(s.rx, s.ry) * 1.15f + 2.5f;
            int b0x = (int)std::floor((s.x - reach) / kBucket), b1x = (int)std::floor((s.x + reach) / kBucket);
            int b0y = (int)std::floor((s.y - reach) / kBucket), b1y = (int)std::floor((s.y + reach) / kBucket);
            for (int by = b0y; by <= b1y; by++)
                for (int bx = b0x; bx <= b1x; bx++)
                    buckets_[wrapb(by) * kBuckets + wrapb(bx)].push_back((int)(&s - list_.data()));
        }
    }

    // The ground colour g with the stones at (x, y) laid on it; stone colours
    // come from `pebble`, grains mix it with the ground.
    Col over(float x, float y, Col g, Col pebble) const {
        int b = wrapb((int)std::floor(y / kBucket)) * kBuckets + wrapb((int)std::floor(x / kBucket));
        Col stone;
        float shadow = 0, covered = 0;
        for (int i : buckets_[b]) {
            const Stone& s = list_[i];
            float dx = wrapd(x + 0.5f - s.x), dy = wrapd(y + 0.5f - s.y);
            // Shadow: the same outline moved down and right, soft.
            float sq = radius_at(s, dx - 1.1f - s.rx * 0.15f, dy - 1.4f - s.ry * 0.2f);
            shadow = std::max(shadow, (1 - smoothstep(0.8f, 1.25f, sq)) * (s.grain > 0 ? 0.25f : 0.5f));
            float q = radius_at(s, dx, dy);
            float cover = clamp01((1 - q) * std::min(s.rx, s.ry) + 0.5f);
            if (cover <= 0) continue;
            float u = std::clamp(dx / s.rx, -1.0f, 1.0f), v = std::clamp(dy / s.ry, -1.0f, 1.0f);
            float nz = std::sqrt(std::max(0.0f, 1 - u * u - v * v));
            float lit = 0.5f + 0.62f * (-0.55f * u - 0.62f * v + 0.56f * nz);
            float speck = vnoise(dx * 0.8f + 10, dy * 0.8f + 10, s.seed);
            Col col;
            if (s.grain > 0) {
                col = shade(mix(g, pebble, 0.6f), s.tone * (0.85f + 0.3f * lit));
            } else {
                col = shade(mix(pebble, g, s.stain), std::min(lit_max_, s.tone * (0.45f + 0.75f * lit) * (0.92f + 0.16f * speck)));
            }
            if (cover > covered) stone = col, covered = cover;
        }
        // Stones never overlap, so at most one covers a pixel (bar its rim).
        return mix(scale_rgb(g, 1 - shadow), stone, covered);
    }

private:
    static constexpr int kBucket = 16, kBuckets = kTex / kBucket;
    static float wrapd(float d) { return d - kTex * std::round(d / kTex); }
    static int wrapb(int b) { return ((b % kBuckets) + kBuckets) % kBuckets; }
    // Distance from the stone's centre in units of its (lumpy) outline.
    static float radius_at(const Stone& s, float dx, float dy) {
        float u = (dx * s.ca + dy * s.sa) / s.rx, v = (-dx * s.sa + dy * s.ca) / s.ry;
        float q = std::sqrt(u * u + v * v);
        if (q > 1.6f || s.rx < 2) return q;
        float ang = std::atan2(v, u);
        return q * (1 + 0.1f * (vnoise(std::cos(ang) * 1.5f + 4, std::sin(ang) * 1.5f + 4, s.seed) - 0.5f));
    }

    std::vector<Stone> list_;
    std::vector<int> buckets_[kBuckets * kBuckets];
    float lit_max_;
};

struct EarthLook {
    Col base, pebble;
    uint32_t seed;
    float stones;    // how many loose stones (see Stones)
    float lit_max;   // the brightest a stone's lit side gets, as a shade factor
};

// Soil with loose stones; `ground` may mark the soil (pits, stains) before the
// stones are laid on it.
Canvas earthy(const EarthLook& e, const std::function<Col(float, float, Col)>& ground = {}) {
    Stones stones(e.seed + 1, e.stones, e.lit_max);
    return texture([&](float x, float y) {
        float n = tn(x, y, 16, 4, e.seed);
        float big = tn(x, y, 4, 3, e.seed + 9);
        Col c = shade(e.base, 0.78f + 0.35f * n + 0.25f * (big - 0.5f));
        if (ground) c = ground(x, y, c);
        c = stones.over(x, y, c, e.pebble);
        float g = vnoise_p(x, y, kTex, kTex, e.seed + 6);   // fine grain
        return shade(c, 0.93f + 0.14f * g);
    });
}

Col sandy(float x, float y, Col base, uint32_t seed, float ripples) {
    float n = tn(x, y, 8, 3, seed);
    float g = vnoise_p(x * 0.7f, y * 0.7f, (int)(kTex * 0.7f), (int)(kTex * 0.7f), seed + 1);
    float g2 = vnoise_p(x, y, kTex, kTex, seed + 2);
    float rip = ripples * std::sin((y + 10 * tn(x, y, 4, 2, seed + 3)) * 2 * kPi / 16);
    return shade(base, 0.86f + 0.18f * n + 0.1f * g + 0.08f * g2 + 0.05f * rip);
}

Col strata(float x, float y, Col a, Col b, uint32_t seed) {
    float warp = 18 * tn(x, y, 4, 3, seed);
    float band = 0.5f + 0.5f * std::sin((y + warp) * 2 * kPi / 32);
    float band2 = 0.5f + 0.5f * std::sin((y + warp * 1.3f) * 2 * kPi / 12.8f);
    Col c = mix(a, b, band * 0.7f + band2 * 0.3f);
    return rocky(x, y, c, seed + 11, 0.35f);
}

void add_textures(Registry& reg) {
    auto tex = [&](const std::string& name, std::function<Col(float, float)> f) {
        reg.image("gfx/textures/" + name + ".bmp", Fmt::BmpFlat, [f] { return texture(f); });
    };
    // Textures that set something up first (the stones) draw themselves.
    auto recipe = [&](const std::string& name, std::function<Canvas()> make) {
        reg.image("gfx/textures/" + name + ".bmp", Fmt::BmpFlat, std::move(make));
    };
    tex("tex_rock", [](float x, float y) { return rocky(x, y, rgb(130, 122, 108), 11, 0.45f); });
    recipe("tex_earth", [] { return earthy({rgb(118, 80, 50), rgb(150, 130, 110), 21, 0.3f, 1.3f}); });
    tex("tex_sand", [](float x, float y) { return sandy(x, y, rgb(214, 190, 135), 31, 0.3f); });
    tex("tex_desertrock", [](float x, float y) { return strata(x, y, rgb(205, 140, 80), rgb(170, 100, 60), 41); });
    tex("tex_desert", [](float x, float y) { return sandy(x, y, rgb(222, 168, 98), 51, 0.8f); });
    tex("tex_blackrock", [](float x, float y) { return rocky(x, y, rgb(70, 66, 72), 61, 0.55f); });
    recipe("tex_black", [] { return earthy({rgb(46, 42, 44), rgb(60, 56, 60), 71, 0.15f, 1.1f}); });
    tex("tex_snowrock", [](float x, float y) {
        Col c = rocky(x, y, rgb(132, 142, 162), 81, 0.45f);
        float s = smoothstep(0.55f, 0.7f, tn(x, y, 8, 4, 82));
        return mix(c, rgb(232, 240, 250), s * 0.85f);
    });
    tex("tex_snow", [](float x, float y) {
        // Packed snow: broad bright and shaded stretches, thin broken layer
        // lines and a crisp grain, so it reads as a solid surface and not as
        // the soft white of the clouds behind it.
        float big = fbm_p(x * 2 / kTex, y * 3 / kTex, 2, 3, 2, 93);
        float n = tn(x, y, 8, 3, 91);
        float t = 0.6f + 1.6f * (big - 0.5f) + 0.35f * (n - 0.5f);
        float yy = (y + 14 * tn(x, y, 4, 2, 94)) * 9 / kTex;
        float f = yy - std::floor(yy);
        float line = smoothstep(0.0f, 0.05f, f) * (1 - smoothstep(0.05f, 0.2f, f));
        t -= 0.22f * line * smoothstep(0.42f, 0.6f, tn(x, y, 8, 2, 96));
        Col c = mix(rgb(180, 196, 222), rgb(245, 249, 255), smoothstep(0, 1, clamp01(t)));
        float g = vnoise_p(x / 2, y / 2, kTex / 2, kTex / 2, 92);
        c = shade(c, 0.96f + 0.06f * g);
        // Glints: single crystals catching the light where the snow is bright.
        uint32_t h = hash_u32((uint32_t)x * 7919u + (uint32_t)y * 104729u + 95);
        if ((h & 1023) < 5 && t > 0.5f) c = lighten(c, 0.8f);
        return c;
    });
    recipe("tex_snowsand", [] { return earthy({rgb(196, 200, 206), rgb(150, 156, 168), 101, 0.4f, 1.3f}); });
    recipe("tex_mars", [] {
        return earthy({rgb(176, 84, 52), rgb(120, 60, 40), 111, 0.3f, 1.3f}, [](float x, float y, Col c) {
            Worley w = tw2(x, y, 9, 112);
            float r = 0.12f + 0.2f * ((w.id >> 6) % 100) / 100.0f;
            if (((w.id >> 14) % 100) > 45) return c;
            float pit = 1 - smoothstep(r * 0.7f, r, w.f1);
            float rim = smoothstep(r * 0.8f, r, w.f1) * (1 - smoothstep(r, r * 1.35f, w.f1));
            Worley a = tw2(x - 1.5f, y - 1.5f, 9, 112);
            float inner = (w.f1 - a.f1) * 10 * pit;   // pits are lit on their far side
            return shade(c, 1.0f - 0.18f * pit + 0.12f * rim + 0.15f * inner);
        });
    });
}

// ----------------------------------------------------------- surface strips

// The top row is the rim the surface outline shows: top lightened, unless
// the style gives its own.
Canvas surface_strip(Col top, Col deep, float thick, float fringe, uint32_t seed, bool blades,
                     std::optional<Col> rim = std::nullopt) {
    const int W = 200, H = 35;
    Canvas c(W, H);
    for (int x = 0; x < W; x++) {
        float depth = thick + fringe * vnoise_p(x / 6.0f, 0.5f, W / 6, 1, seed) +
                      0.4f * fringe * vnoise_p(x / 2.0f, 1.5f, W / 2, 1, seed + 1);
        for (int y = 0; y < H; y++) {
            float t = y / depth;
            if (t > 1.6f) continue;
            float a = 1.0f - smoothstep(0.75f, 1.0f, t);
            Col col = mix(top, deep, clamp01(t));
            float g = vnoise_p(x / 1.5f, y / 1.5f, W * 2 / 3, 0, seed + 2);
            col = shade(col, 0.85f + 0.3f * g);
            if (blades) {
                // Blade streaks: vertical light and dark stripes near the top.
                float s = vnoise_p(x * 1.0f, y / 4.0f, W, 0, seed + 3);
                col = shade(col, 0.8f + 0.4f * s * (1 - clamp01(t)));
            }
            if (y == 0) col = rim ? *rim : lighten(col, 0.25f);
            c.set(x, y, with_alpha(col, a));
        }
    }
    return c;
}

// --------------------------------------------------------------- stamps

Canvas crater(int d) {
    Canvas c(d, d);
    float r = d / 2.0f;
    uint32_t seed = 300 + d;
    for (int y = 0; y < d; y++)
        for (int x = 0; x < d; x++) {
            float dx = x + 0.5f - r, dy = y + 0.5f - r;
            float ang = std::atan2(dy, dx);
            float wob = 0.08f * (vnoise(std::cos(ang) * 3 + 5, std::sin(ang) * 3 + 5, seed) - 0.5f);
            float q = std::hypot(dx, dy) / r + wob;
            if (q >= 1) continue;
            float a = 1.0f - smoothstep(0.45f, 1.0f, q);
            float n = fbm(x * 6.0f / d, y * 6.0f / d, 3, seed + 1);
            a *= 0.75f + 0.25f * n;
            c.set(x, y, with_alpha(shade(rgb(34, 26, 20), 0.7f + 0.6f * n), a));
        }
    return c;
}

Canvas splat(int size, uint32_t seed, Col col) {
    Canvas c(size, size);
    Rng rng(seed);
    float r = size / 2.0f;
    Shape s = roughen(circle(r, r, r * 0.42f), r * 0.18f, 3.0f / r, seed);
    int blobs = 5 + size / 12;
    for (int i = 0; i < blobs; i++) {
        float ang = rng.range(0, 2 * kPi), dist = rng.range(0.35f, 0.78f) * r, br = rng.range(0.06f, 0.16f) * r;
        float bx = r + std::cos(ang) * dist, by = r + std::sin(ang) * dist;
        s = unite(s, circle(bx, by, br));
        s = unite(s, taper(r + std::cos(ang) * dist * 0.4f, r + std::sin(ang) * dist * 0.4f, bx, by, br * 1.3f, br * 0.6f));
    }
    s = intersect(s, circle(r, r, r - 0.6f));
    c.draw(s, [&](float x, float y) {
        float n = fbm(x * 4 / size, y * 4 / size, 3, seed + 1);
        return with_alpha(shade(col, 0.75f + 0.5f * n), 0.65f + 0.35f * n);
    });
    return c;
}

Canvas drop_impact(int i) {
    Canvas c(32, 32);
    Rng rng(500 + i);
    float cx = 16 + rng.range(-2, 2), cy = 12 + rng.range(-2, 2), r = rng.range(2.5f, 5.0f);
    Shape s = roughen(ellipse(cx, cy, r * 1.3f, r), 0.8f, 0.5f, 500 + i);
    int n = rng.irange(2, 6);
    for (int k = 0; k < n; k++) {
        float ang = rng.range(-kPi, 0.2f), dist = rng.range(r + 1, r + 8);
        s = unite(s, circle(cx + std::cos(ang) * dist, cy + std::sin(ang) * dist * 0.7f, rng.range(0.6f, 1.4f)));
    }
    if (i % 3 == 0) s = unite(s, taper(cx, cy, cx + rng.range(-2, 2), cy + rng.range(6, 12), r * 0.5f, 0.7f));
    c.draw(s, rgb(150, 20, 20, 0.9f));
    return c;
}

Canvas inearth(int i) {
    Rng rng(700 + i);
    int w = 24 + (i * 7) % 36, h = 20 + (i * 11) % 30;
    Canvas c(w, h);
    float cx = w / 2.0f, cy = h / 2.0f;
    switch (i % 8) {
    case 0:
    case 4: {  // a few buried stones
        int n = 2 + i % 3;
        for (int k = 0; k < n; k++) {
            float rx = rng.range(3, std::min(w, h) / 3.0f), ry = rx * rng.range(0.6f, 0.9f);
            float x = rng.range(rx + 1, w - rx - 1), y = rng.range(ry + 1, h - ry - 1);
            Shape s = roughen(ellipse(x, y, rx, ry), 0.8f, 0.3f, 700 + i * 10 + k);
            Col col = i % 8 == 0 ? rgb(150, 140, 125) : rgb(95, 88, 84);
            c.draw(grow(s, 1.0f), rgb(40, 30, 22, 0.6f));
            c.draw(s, dome(s, solid(col), rx * 0.8f, 0.5f));
        }
        break;
    }
    case 1: {  // darker clay lump
        Shape s = roughen(ellipse(cx, cy, w * 0.42f, h * 0.38f), 2.0f, 0.15f, 700 + i);
        c.draw(s, [&](float x, float y) { return rgb(60, 38, 24, 0.5f + 0.3f * fbm(x / 6, y / 6, 3, 701 + i)); });
        break;
    }
    case 2: {  // old bone
        float len = w * 0.38f;
        Shape b = unite(capsule(cx - len, cy, cx + len, cy, h * 0.08f + 1),
                        unite(unite(circle(cx - len, cy - 1.5f, 2.2f), circle(cx - len, cy + 1.5f, 2.2f)),
                              unite(circle(cx + len, cy - 1.5f, 2.2f), circle(cx + len, cy + 1.5f, 2.2f))));
        b = rotated(b, cx, cy, rng.range(-35, 35));
        c.draw(grow(b, 0.8f), rgb(60, 45, 30, 0.7f));
        c.draw(b, dome(b, solid(rgb(215, 205, 180)), 2.0f, 0.4f));
        c.multiply_alpha(0.7f);
        break;
    }
    case 3: {  // spiral fossil
        float r0 = std::min(w, h) * 0.42f;
        std::vector<float> v;
        for (int k = 0; k <= 60; k++) {
            float t = k / 60.0f, ang = t * 4.2f * kPi, rr = r0 * (1 - t * 0.9f);
            v.push_back(cx + std::cos(ang) * rr);
            v.push_back(cy + std::sin(ang) * rr);
        }
        c.draw(circle(cx, cy, r0 + 1), rgb(160, 150, 130, 0.5f));
        c.draw(polyline(v, 0.7f), rgb(90, 80, 66, 0.7f));
        break;
    }
    case 5: {  // pale sandy patch
        Shape s = roughen(ellipse(cx, cy, w * 0.44f, h * 0.36f), 2.0f, 0.12f, 700 + i);
        c.draw(s, [&](float x, float y) { return rgb(200, 170, 120, 0.35f + 0.3f * fbm(x / 5, y / 5, 3, 702 + i)); });
        break;
    }
    case 6: {  // a tangle of thin roots
        for (int k = 0; k < 4; k++) {
            std::vector<float> v;
            float x = rng.range(2, w - 2), y = 1;
            for (int s = 0; s < 6; s++) {
                v.push_back(x);
                v.push_back(y);
                x += rng.range(-4, 4);
                y += h / 6.0f;
            }
            c.draw(polyline(v, 0.6f), rgb(70, 46, 28, 0.8f));
        }
        break;
    }
    default: {  // crystals
        for (int k = 0; k < 3; k++) {
            float x = cx + rng.range(-w * 0.2f, w * 0.2f), y = cy + rng.range(-h * 0.2f, h * 0.2f);
            float ang = rng.range(-40, 40);
            Shape s = rotated(polygon({x - 2.5f, y + 5, x - 2.5f, y - 3, x, y - 7, x + 2.5f, y - 3, x + 2.5f, y + 5}), x, y, ang);
            c.draw(grow(s, 0.8f), rgb(30, 30, 50, 0.6f));
            c.draw(s, bevel(s, solid(i == 15 ? rgb(170, 90, 190) : rgb(90, 170, 200)), 1.5f, 0.6f));
        }
        c.multiply_alpha(0.75f);
        break;
    }
    }
    return c;
}

// ---------------------------------------------------------------- scenery

Canvas hassock(int i) {
    static const int sizes[4][2] = {{20, 18}, {26, 20}, {16, 14}, {30, 22}};
    int w = sizes[i][0], h = sizes[i][1];
    Canvas c(w, h);
    Rng rng(800 + i);
    int blades = w / 2 + 3;
    float base = h - 4.0f;
    for (int k = 0; k < blades; k++) {
        float x0 = rng.range(w * 0.2f, w * 0.8f), lean = rng.range(-0.5f, 0.5f);
        float len = rng.range(h * 0.45f, h - 4.5f);
        float x1 = x0 + lean * len, y1 = base - len;
        float mx = (x0 + x1) / 2 + lean * 2, my = (base + y1) / 2;
        Col col = mix(rgb(60, 130, 30), rgb(150, 210, 70), rng.uniform());
        Shape s = unite(taper(x0, base + 3, mx, my, 1.1f, 0.8f), taper(mx, my, x1, y1, 0.8f, 0.25f));
        c.draw(s, linear(0, base, scale_rgb(col, 0.6f), 0, y1, col));
    }
    return c;
}

Canvas foliage(int i) {
    static const int sizes[6][2] = {{26, 24}, {32, 30}, {22, 26}, {36, 28}, {24, 34}, {30, 22}};
    int w = sizes[i][0], h = sizes[i][1];
    Canvas c(w, h);
    Rng rng(900 + i);
    float base = h - 4.0f;
    if (i == 4) {  // tall flower stalks
        for (int k = 0; k < 3; k++) {
            float x = w / 2.0f + (k - 1) * 5, top = rng.range(4, 10);
            c.draw(capsule(x, base + 3, x + rng.range(-2, 2), top, 0.8f), rgb(70, 140, 50));
            for (int p = 0; p < 5; p++) {
                float a = p * 72 * kPi / 180;
                c.draw(circle(x + 2.2f * std::cos(a), top + 2.2f * std::sin(a), 1.7f), k == 1 ? rgb(250, 220, 60) : rgb(240, 120, 200));
            }
            c.draw(circle(x, top, 1.2f), rgb(250, 160, 40));
        }
        return c;
    }
    // A leafy bush: overlapping leaf blobs, darker at the bottom.
    int leaves = 10 + w / 3;
    for (int k = 0; k < leaves; k++) {
        float x = rng.range(w * 0.2f, w * 0.8f), y = rng.range(h * 0.25f, base - 1);
        float r = rng.range(3.0f, 5.5f);
        float ang = rng.range(-60, 60);
        Shape leaf = rotated(ellipse(x, y, r, r * 0.6f), x, y, ang);
        Col col = mix(rgb(40, 110, 35), rgb(120, 200, 70), clamp01((base - y) / base + rng.range(-0.2f, 0.2f)));
        c.draw(grow(leaf, 0.6f), rgb(20, 60, 20));
        c.draw(leaf, dome(leaf, solid(col), r * 0.7f, 0.5f));
    }
    if (i == 1 || i == 3) {  // berries or blossoms
        for (int k = 0; k < 5; k++)
            c.draw(circle(rng.range(w * 0.25f, w * 0.75f), rng.range(h * 0.3f, h * 0.7f), 1.4f), i == 1 ? rgb(220, 30, 50) : rgb(255, 250, 250));
    }
    return c;
}

Canvas root(int i) {
    int w = 10 + (i * 5) % 16, h = 20 + (i * 9) % 32;
    Canvas c(w, h);
    Rng rng(1000 + i);
    std::function<void(float, float, float, float, float, int)> grow_root = [&](float x, float y, float dir, float len, float r, int depth) {
        std::vector<float> v = {x, y};
        float cx = x, cy = y;
        int steps = 6;
        for (int s = 0; s < steps; s++) {
            dir += rng.range(-0.35f, 0.35f);
            cx += std::sin(dir) * len / steps;
            cy += std::cos(dir) * len / steps;
            cx = std::clamp(cx, 1.5f, w - 1.5f);
            v.push_back(cx);
            v.push_back(cy);
            if (depth < 2 && rng.uniform() < 0.25f) grow_root(cx, cy, dir + rng.range(-1, 1), len * 0.45f, r * 0.6f, depth + 1);
        }
        for (size_t k = 0; k + 3 < v.size(); k += 2) {
            float t0 = (float)k / v.size(), t1 = (float)(k + 2) / v.size();
            c.draw(taper(v[k], v[k + 1], v[k + 2], v[k + 3], r * (1 - t0 * 0.8f), r * (1 - t1 * 0.8f)), rgb(96, 64, 38));
        }
    };
    grow_root(w / 2.0f, 1.0f, rng.range(-0.2f, 0.2f), h - 3.0f, 1.4f + w / 16.0f, 0);
    return c;
}

Canvas reed(int i) {
    int w = 24, h = 70 - i * 8;
    Canvas c(w, h);
    Rng rng(1100 + i);
    float base = h - 2.0f;
    int stems = 3 + i % 2;
    for (int k = 0; k < stems; k++) {
        float x0 = w / 2.0f + (k - stems / 2.0f) * 3, lean = rng.range(-0.15f, 0.15f);
        float top = rng.range(4, 16);
        float x1 = x0 + lean * (base - top);
        c.draw(taper(x0, base + 2, x1, top, 1.0f, 0.5f), rgb(90, 140, 60));
        if (k % 2 == 0) c.draw(capsule(x1 + lean * 2, top + 4, x1 + lean * 10, top + 13, 1.8f), rgb(120, 70, 40));
        // A long leaf bending off.
        c.draw(polyline({x0, base, x0 + (k % 2 ? 5 : -5), base - 18, x0 + (k % 2 ? 9 : -9), base - 24}, 0.6f), rgb(110, 160, 70));
    }
    return c;
}

Canvas tree_leaves() {
    Canvas c(34, 28);
    Rng rng(1200);
    for (int k = 0; k < 24; k++) {
        float x = 17 + rng.range(-11, 11), y = 14 + rng.range(-8, 8);
        if (std::hypot((x - 17) / 13, (y - 14) / 10) > 1) continue;
        float r = rng.range(2.8f, 4.5f);
        Shape leaf = rotated(ellipse(x, y, r, r * 0.65f), x, y, rng.range(0, 180));
        Col col = mix(rgb(50, 130, 40), rgb(140, 210, 80), clamp01(1 - (y - 4) / 22 + rng.range(-0.2f, 0.2f)));
        c.draw(grow(leaf, 0.5f), rgb(30, 80, 25));
        c.draw(leaf, dome(leaf, solid(col), r * 0.7f, 0.5f));
    }
    return c;
}

}  // namespace

void add_terrain_art(Registry& reg) {
    add_textures(reg);
    const std::string m = "gfx/modifiers/";
    reg.image(m + "toplight.png", Fmt::Png, [] {
        Canvas c(16, 32);
        c.paint_all([](float x, float y) { return rgb(255, 250, 235, (1 - y / 32) * (1 - std::fabs(x - 8) / 9)); });
        return c;
    });
    reg.image(m + "bottomshade.png", Fmt::Png, [] {
        Canvas c(100, 25);
        c.paint_all([](float x, float y) {
            float n = vnoise_p(x / 5, 0.5f, 20, 1, 1301);
            float t = clamp01((y + 0.5f) / 25.0f);
            return rgb(22, 14, 10, std::pow(t, 1.6f) * (0.75f + 0.25f * n));
        });
        return c;
    });
    reg.image(m + "grass.png", Fmt::Png, [] { return surface_strip(rgb(120, 200, 60), rgb(40, 100, 25), 10, 8, 1401, true); });
    reg.image(m + "desertgrass.png", Fmt::Png, [] { return surface_strip(rgb(225, 205, 130), rgb(160, 130, 70), 6, 6, 1402, true); });
    // Snow's rim is a blue-grey line, so snow against white cloud keeps an edge.
    reg.image(m + "snowgrass.png", Fmt::Png, [] {
        return surface_strip(rgb(250, 252, 255), rgb(210, 225, 245), 12, 7, 1403, false, rgb(196, 208, 228));
    });
    reg.image(m + "nograss.png", Fmt::Png, [] { return surface_strip(rgb(235, 170, 120), rgb(150, 80, 50), 4, 4, 1404, false); });
    for (int d : {25, 50, 75, 100, 125, 150, 175, 200})
        reg.image(m + "crater" + std::to_string(d) + ".png", Fmt::Png, [d] { return crater(d); });
    for (int i = 0; i < 3; i++)
        for (int size : {25, 50, 75})
            reg.image(m + "blood" + std::to_string(size) + "_" + std::to_string(i) + ".png", Fmt::Png,
                      [size, i] { return splat(size, 1500 + size * 3 + i, rgb(150, 10, 10)); });
    for (int i = 0; i < 16; i++)
        reg.image(m + "dropimpact_" + std::to_string(i) + ".png", Fmt::Png, [i] { return drop_impact(i); });
    for (int i = 0; i < 16; i++) reg.image(m + "inearth" + std::to_string(i) + ".png", Fmt::Png, [i] { return inearth(i); });
    for (int i = 0; i < 4; i++) reg.image(m + "hassock" + std::to_string(i) + ".png", Fmt::Png, [i] { return hassock(i); });
    for (int i = 0; i < 6; i++) reg.image(m + "foliage" + std::to_string(i) + ".png", Fmt::Png, [i] { return foliage(i); });
    for (int i = 0; i < 8; i++) reg.image(m + "root" + std::to_string(i) + ".png", Fmt::Png, [i] { return root(i); });
    for (int i = 0; i < 3; i++) reg.image(m + "reed" + std::to_string(i) + ".png", Fmt::Png, [i] { return reed(i); });
    reg.image(m + "treeleaves.png", Fmt::Png, tree_leaves);
}

}  // namespace ma
