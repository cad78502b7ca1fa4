// Scene previews: a small landscape of each terrain style put together from
// the generated images by the same rules the game draws and textures with,
// so the art can be judged together rather than one file at a time.
#include <algorithm>
#include <map>

#include "tools/makeassets/assets.h"

namespace ma {
namespace {

class Library {
public:
    explicit Library(const Registry& reg) : reg_(reg) {}
    const Canvas& get(const std::string& path) {
        auto it = cache_.find(path);
        if (it != cache_.end()) return it->second;
        for (auto* group : {&reg_.images, &reg_.builtin})
            for (const ImageAsset& a : *group)
                if (a.path == path) return cache_[path] = as_loaded(a.make(), a);
        std::fprintf(stderr, "preview: no image %s\n", path.c_str());
        return cache_[path] = Canvas(1, 1);
    }

private:
    const Registry& reg_;
    std::map<std::string, Canvas> cache_;
};

// The texturer's tint: solid pixels move towards the stamp's colour by its
// alpha times the strength.
void tint_stamp(Canvas& dst, const Canvas& src, int x, int y, float strength, int sx = 0, int w = -1) {
    if (w < 0) w = src.w;
    for (int j = 0; j < src.h; j++)
        for (int i = 0; i < w; i++) {
            Col t = dst.get(x + i, y + j);
            if (t.a <= 0.5f) continue;
            Col s = src.get(sx + i, j);
            float a = s.a * strength;
            dst.set(x + i, y + j, {lerp(t.r, s.r, a), lerp(t.g, s.g, a), lerp(t.b, s.b, a), t.a});
        }
}

// Paints a stamp behind the ground: only into pixels not yet fully solid.
void back_stamp(Canvas& dst, const Canvas& src, int x, int y, float dr) {
    for (int j = 0; j < src.h; j++)
        for (int i = 0; i < src.w; i++) {
            Col s = src.get(i, j);
            Col t = dst.get(x + i, y + j);
            if (s.a <= 0.5f || t.a >= 1) continue;
            Col c = {clamp01(s.r + dr), clamp01(s.g + dr), clamp01(s.b + dr), 1};
            dst.set(x + i, y + j, mix(with_alpha(t, 1), c, s.a));
        }
}

// Draws an image with its handle at (x, y), tinted, alpha-blended or added.
void put(Canvas& dst, const Canvas& src, float x, float y, float hx, float hy, Col tint = rgb(255, 255, 255),
         float alpha = 1, bool add = false, float scale = 1) {
    Canvas c = src;
    c.tint(tint);
    if (scale == 1) {
        dst.blit(c, (int)(x - hx), (int)(y - hy), add ? Blend::Add : Blend::Over, alpha);
    } else {
        dst.blit_scaled(c, x - hx * scale, y - hy * scale, scale, add ? Blend::Add : Blend::Over, alpha);
    }
}

struct Style {
    const char *upper, *body, *shore, *strip;
    float strength;
    bool grass;
};

}  // namespace

Canvas scene_preview(const Registry& reg, int style) {
    static const Style styles[5] = {
        {"tex_rock", "tex_earth", "tex_sand", "grass", 1, true},
        {"tex_desertrock", "tex_desert", "tex_sand", "desertgrass", 1, false},
        {"tex_blackrock", "tex_black", "tex_sand", "desertgrass", 0.3f, false},
        {"tex_snowrock", "tex_snow", "tex_snowsand", "snowgrass", 0.3f, false},
        {"tex_blackrock", "tex_mars", "tex_sand", "nograss", 0.8f, false},
    };
    const Style& st = styles[std::clamp(style, 0, 4)];
    Library lib(reg);
    const int W = 640, H = 480, water = 440;
    Canvas out(W, H);
    // Sky: the clear colour times the gradient, then the cloud layers.
    const Canvas& bg = lib.get("gfx/backgradient.bmp");
    out.paint_all([&](float x, float y) {
        Col g = bg.get((int)x, (int)y);
        return Col{g.r * 100 / 255, g.g * 120 / 255, g.b * 150 / 255, 1};
    });
    // The three cloud layers as the game tiles them, far to near, for a view
    // scrolled like the game's test screens (map x -250, y 0).
    const Canvas& clouds = lib.get("gfx/clouds.png");
    const float sx = -250;
    const struct {
        float x, y, alpha;
    } layers[3] = {{sx / 30, 300, 0.3f}, {sx / 15, 650, 0.5f}, {sx / 7, 0, 1.0f}};
    for (const auto& l : layers) {
        int x0 = (int)std::floor(l.x - std::ceil(l.x / clouds.w) * clouds.w);
        int y0 = (int)std::floor(l.y - std::ceil(l.y / clouds.h) * clouds.h);
        for (int ty = y0; ty < H; ty += clouds.h)
            for (int tx = x0; tx < W; tx += clouds.w) out.blit(clouds, tx, ty, Blend::Over, l.alpha);
    }
    if (style == 5) return out;   // the sky alone

    // Terrain: a hill and a floating island, textured like the generator does.
    Canvas ground(W, H);
    auto solid = [&](int x, int y) {
        float s = 290 + 55 * std::sin(x / 95.0f) + 25 * std::sin(x / 31.0f + 1);
        bool island = std::hypot((x - 470) / 80.0f, (y - 150) / 28.0f) < 1;
        return y >= s || island;
    };
    const Canvas& U = lib.get(std::string("gfx/textures/") + st.upper + ".bmp");
    const Canvas& E = lib.get(std::string("gfx/textures/") + st.body + ".bmp");
    const Canvas& D = lib.get(std::string("gfx/textures/") + st.shore + ".bmp");
    const int mid = H / 2;
    for (int x = 0; x < W; x++) {
        int wave = (int)(10 + 10 * std::sin(1.5 * x * kPi / 180));
        for (int y = 0; y < H; y++) {
            if (!solid(x, y)) continue;
            Col u = U.get(x % U.w, y % U.h), e = E.get(x % E.w, y % E.h), d = D.get(x % D.w, y % D.h);
            Col c;
            if (y <= mid) c = mix(u, e, (float)y / mid);
            else if (y >= H - (80 + wave)) c = mix(e, d, (float)(y - (H - (80 + wave))) / (80 + wave) * 0.7f);
            else c = e;
            ground.set(x, y, with_alpha(c, 1));
        }
    }
    Rng rng(77 + style);
    for (int i = 0; i < 12; i++)
        tint_stamp(ground, lib.get("gfx/modifiers/inearth" + std::to_string(rng.irange(0, 15)) + ".png"),
                   rng.irange(30, W - 60), rng.irange(200, H - 60), rng.range(0.5f, 1.0f));
    const Canvas& shade = lib.get("gfx/modifiers/bottomshade.png");
    const Canvas& strip = lib.get(std::string("gfx/modifiers/") + st.strip + ".png");
    for (int x = 0; x < W; x++)
        for (int y = 0; y < H - 1; y++) {
            if (solid(x, y) && !solid(x, y + 1)) tint_stamp(ground, shade, x, y - 24, 0.5f, x % 100, 1);
            if (y > 0 && solid(x, y) && !solid(x, y - 1)) {
                float f = y >= H - 180 ? 1 - std::min(100.0f, (float)(y - (H - 180))) / 100 : 1;
                tint_stamp(ground, strip, x, y, f * st.strength, x % 200, 1);
            }
        }
    // Rocks and branches behind the surface, scenery on it.
    std::vector<std::pair<int, int>> surface;
    for (int x = 0; x < W; x++)
        for (int y = 1; y < H; y++)
            if (solid(x, y) && !solid(x, y - 1)) surface.push_back({x, y});
    auto pick = [&](int x) {
        for (auto& p : surface)
            if (p.first == x && p.second > 200) return p;
        return surface[0];
    };
    float dr = style == 2 ? -50 / 255.0f : style == 3 ? 0.3f : 0;
    for (int x : {60, 300, 560}) {
        auto p = pick(x);
        const Canvas& r = lib.get("incgfx/terrain/rock" + std::to_string(x % 9) + ".bmp");
        back_stamp(ground, r, p.first - r.w / 2, p.second - r.h + 10, dr);
    }
    for (int x : {150, 420}) {
        auto p = pick(x);
        int k = x == 150 ? 0 : 10;
        const Canvas& b = lib.get("incgfx/terrain/branches" + std::to_string(k) + ".bmp");
        back_stamp(ground, b, p.first - b.w / 2, p.second - b.h + 4, dr);
    }
    out.blit(ground, 0, 0);
    if (st.grass) {
        for (size_t i = 0; i < surface.size(); i += 9) {
            auto p = surface[i];
            if (p.second > H - 180) continue;
            const Canvas& g = lib.get("gfx/modifiers/hassock" + std::to_string(i % 4) + ".png");
            put(out, g, p.first, p.second, g.w / 2, g.h - 4);
            if (i % 7 == 0) {
                const Canvas& f = lib.get("gfx/modifiers/foliage" + std::to_string(i % 6) + ".png");
                put(out, f, p.first, p.second, f.w / 2, f.h - 4, rgb(220, 240, 210));
            }
        }
        const Canvas& leaves = lib.get("gfx/modifiers/treeleaves.png");
        auto p = pick(150);
        const int offs[6][2] = {{2, 7}, {13, 1}, {18, 11}, {30, 7}, {42, 6}, {47, 17}};
        for (auto& o : offs)
            put(out, leaves, p.first - 24 + o[0], p.second - 58 + 4 + o[1], leaves.w / 2, leaves.h / 2, rgb(230, 240, 230), 0.6f);
    }
    // Objects and fighters.
    const Canvas& flare = lib.get("gfx/flare1.bmp");
    auto crate_at = pick(235);
    put(out, flare, crate_at.first, crate_at.second - 8, 64, 64, rgb(0, 255, 0), 1, true, 0.5f);
    const Canvas& crate = lib.get("incgfx/supply.bmp");
    put(out, crate, crate_at.first, crate_at.second - 8, crate.w / 2, crate.h / 2);
    auto mine_at = pick(380);
    put(out, lib.get("incgfx/mine.bmp"), mine_at.first, mine_at.second - 3, 5, 3);
    auto trap_at = pick(505);
    put(out, lib.get("incgfx/beartrap0.bmp"), trap_at.first, trap_at.second - 1, 7, 9);
    const Canvas& body = lib.get("gfx/players/player.bmp");
    const Canvas& team = lib.get("gfx/players/playert.bmp");
    const Canvas& face = lib.get("gfx/players/playerf.bmp");
    const Canvas& hats = lib.get("gfx/players/accessory_head.bmp");
    const Col colours[4] = {rgb(255, 0, 0), rgb(80, 200, 255), rgb(255, 255, 0), rgb(0, 255, 0)};
    int k = 0;
    for (int x : {110, 200, 330, 600}) {
        auto p = pick(x);
        float cx = p.first, cy = p.second - 12;
        int frame = k == 1 ? 1 : 0;
        put(out, body.crop(frame * 32, 0, 32, 32), cx, cy, 16, 16);
        put(out, team.crop(frame * 32, 0, 32, 32), cx, cy, 16, 16, colours[k]);
        put(out, face.crop((k * 2) * 32, 0, 32, 32), cx, cy, 16, 16);
        if (k % 2 == 0) put(out, hats.crop((k * 5) * 32, 0, 32, 40), cx, cy - 4, 16, 20);
        k++;
    }
    // Water: the wave strip, the water body and the light overlay.
    const Canvas& waves = lib.get("gfx/waves0.png");
    for (int x = -200; x <= W; x += 200) out.blit(waves, x, water - 14);
    out.draw(rect(0, water + 11, W, H), rgb(26, 108, 193));
    const Canvas& anim = lib.get("gfx/water_animation.png");
    Canvas frame = anim.crop(128 * 3, 0, 128, 128);
    for (int x = -100; x <= W; x += 128)
        for (int y = water - 14; y <= H; y += 128) out.blit(frame, x, y, Blend::Add, 0.25f);
    return out;
}

}  // namespace ma
