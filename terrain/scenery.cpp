// Scenery sprites: creation tables, the keep rule, tree leaves, swaying and
// knock-off.
#include "terrain/scenery.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/draw.h"
#include "terrain/scenery_grid.h"
#include "terrain/view.h"

namespace {

constexpr int kGrassImages = 4, kFoliageImages = 6, kRootImages = 8, kReedImages = 3;

// Rand(0, 1) decides the sign: 1 keeps the value, 0 negates it.
float signed_by_draw(float v) { return Rand(0, 1) == 1 ? v : -v; }

bool kept(int keep) {
    switch (set_particles) {
        case 1: return keep <= 2;
        case 2: return true;
        default: return false;
    }
}

// A sprite of the kind at (x, y), unscaled and opaque until its draws say
// otherwise.
std::shared_ptr<Tsc> make(int typ, int x, int y) {
    auto s = std::make_shared<Tsc>();
    s->typ = typ;
    s->x = (float)x;
    s->y = (float)y;
    s->sx = s->sy = 1;
    s->a = 1;
    return s;
}

// The tint: red, green and blue drawn from lo..255 each, in this order.
void tint_draws(Tsc& s, int r_lo, int g_lo, int b_lo) {
    s.r = Rand(r_lo, 255);
    s.g = Rand(g_lo, 255);
    s.b = Rand(b_lo, 255);
}

// The three draws every kind makes after its look (image, scale, tint):
// phase, sway amplitude, sway speed, in this order.
void sway_draws(Tsc& s, int sway_lo, int sway_hi, int sp_lo, int sp_hi) {
    s.t = Rand(1, 10000);
    s.sway = Rand(sway_lo, sway_hi);
    s.swaysp = Rand(sp_lo, sp_hi);
}

// The keep draw that ends every kind but tree leaves, then the keep rule:
// a kept sprite goes to its cell's back list, at the head when first is 1.
void keep_draw(const std::shared_ptr<Tsc>& s, int first) {
    int keep = Rand(1, 5);
    if (kept(keep)) Tscc::add(s, 0, first);
}

// Leaf offsets from a branch image's top-left corner, per variant.
struct Offset {
    int dx, dy;
};
const std::vector<Offset> kLeaves[12] = {
    {{2, 7}, {13, 1}, {18, 11}, {30, 7}, {42, 6}, {47, 17}},
    {{14, 0}, {4, 4}, {2, 13}, {16, 14}},
    {{1, 3}, {14, 2}, {24, 0}, {32, 4}, {27, 13}, {7, 14}},
    {{12, 0}, {24, 8}},
    {{5, 0}, {-1, 10}, {16, 1}},
    {},
    {},
    {},
    {{7, 0}},
    {{8, 0}, {14, 6}, {19, 16}, {4, 26}},
    {{2, 8}, {8, 0}, {18, 4}, {18, 22}, {25, 19}, {25, 39}, {1, 35}},
    {{-2, 14}, {3, 6}, {9, 0}, {20, 6}, {29, 5}, {27, 18}, {29, 28}, {-1, 27}},
};

// Screen box per kind, outside which a sprite is not drawn: px must lie
// strictly between left and set_scrx + right, py between top and set_scry +
// bottom.
struct Box {
    int left, right, top, bottom;
};
Box box_of(int typ) {
    switch (typ) {
        case Tsc::GRASS: return {-30, 30, -30, 30};
        case Tsc::ROOT: return {-25, 25, -60, 10};
        default: return {-50, 50, -50, 50};
    }
}

const ImagePtr* image_of(const Tsc& s) {
    switch (s.typ) {
        case Tsc::GRASS: return s.sub >= 0 && s.sub < kGrassImages ? &gfx_hassock[s.sub] : nullptr;
        case Tsc::FOLIAGE: return s.sub >= 0 && s.sub < kFoliageImages ? &gfx_foliage[s.sub] : nullptr;
        case Tsc::ROOT: return s.sub >= 0 && s.sub < kRootImages ? &gfx_roots[s.sub] : nullptr;
        case Tsc::TREELEAVES: return &gfx_treeleaves;
        case Tsc::REED: return s.sub >= 0 && s.sub < kReedImages ? &gfx_reed[s.sub] : nullptr;
        default: return nullptr;
    }
}

void knock_off_particles(const Tsc& s) {
    if (set_particles < 1) return;
    if (s.typ == Tsc::GRASS) {
        int n = Rand(1, 2);
        for (int i = 0; i < n; ++i) {
            int g = Rand(175, 250);
            particles_add(25, (int)s.x, (int)s.y, 0, 0, g, 0);
        }
    } else if (s.typ == Tsc::TREELEAVES) {
        for (int i = 0; i < set_particles * 5; ++i) {
            float oy = (float)Rnd(-5, 5);
            float ox = (float)Rnd(-5, 5);
            int g = Rand(90, 150);
            particles_add(25, (int)(s.x + ox), (int)(s.y + oy), 0, 0, g, 0);
        }
    }
}

// Truncation of a float sum that may lie outside int range (a sprite far off
// the view); such a value is simply off screen.
int screen_coord(float v) {
    if (!(v > -1e9f && v < 1e9f)) return v > 0 ? 1000000000 : -1000000000;
    return (int)v;
}

}  // namespace

int Tsc::addgrass(int x, int y) {
    auto s = make(GRASS, x, y);
    s->sub = Rand(0, kGrassImages - 1);
    s->sx = signed_by_draw(1);
    s->r = s->g = s->b = 255;
    sway_draws(*s, 5, 15, 3, 4);
    keep_draw(s, 1);
    return 0;
}

std::shared_ptr<Tsc> Tsc::addfoliage(int x, int y) {
    auto s = make(FOLIAGE, x, y);
    s->sub = Rand(0, kFoliageImages - 1);
    s->sx = signed_by_draw(1);
    tint_draws(*s, 150, 200, 150);
    sway_draws(*s, 5, 15, 3, 4);
    keep_draw(s, 0);
    return s;
}

int Tsc::addroot(int x, int y) {
    auto s = make(ROOT, x, y);
    s->sub = Rand(0, kRootImages - 1);
    s->sx = signed_by_draw(1);
    tint_draws(*s, 150, 150, 150);
    sway_draws(*s, 3, 10, 1, 3);
    keep_draw(s, 0);
    return 0;
}

int Tsc::addreed(int x, int y) {
    auto s = make(REED, x, y);
    s->sub = Rand(0, kReedImages - 1);
    s->sy = (float)Rnd(0.5, 0.9);
    s->sx = signed_by_draw(s->sy);
    tint_draws(*s, 200, 200, 200);
    sway_draws(*s, 3, 7, 2, 3);
    keep_draw(s, 1);
    return 0;
}

int Tsc::addtreeleaves(int x, int y) {
    auto s = make(TREELEAVES, x, y);
    // Each sign is drawn before its magnitude.
    int sign = Rand(0, 1);
    s->sx = (float)Rnd(0.5, 1);
    if (sign != 1) s->sx = -s->sx;
    sign = Rand(0, 1);
    s->sy = (float)Rnd(0.5, 1);
    if (sign != 1) s->sy = -s->sy;
    s->a = (float)Rnd(0.5, 0.6);
    tint_draws(*s, 200, 200, 200);
    sway_draws(*s, 3, 10, 1, 3);
    Tscc::add(s, 1, 0);
    return 0;
}

int Tsc::treeleaves_seed(int x, int y, int variant) {
    // Unsigned arithmetic wraps where signed overflow would be undefined; the
    // conversion back gives the two's-complement value.
    uint32_t v = (uint32_t)x * 8611u - (uint32_t)y * 7826u + (uint32_t)variant * 4154u;
    return (int)v;
}

int Tsc::generatetreeleaves(int x, int y, int variant) {
    const int saved = in_seed;
    in_seed = treeleaves_seed(x, y, variant);
    SeedRnd(in_seed);
    if (variant >= 0 && variant < 12)
        for (const Offset& o : kLeaves[variant]) addtreeleaves(x + o.dx, y + o.dy);
    SeedRnd(saved);
    in_seed = saved;
    return 0;
}

int Tsc::draw(Tsc_list& list) {
    // The phase only feeds a sine: keep it bounded, a whole number of turns
    // back, so it can run for ever.
    t += swaysp;
    if (t >= 360000000 || t <= -360000000) t %= 360;
    if (kill == 0) {
        int px = screen_coord(map_x + x), py = screen_coord(map_y + y);
        Box bx = box_of(typ);
        if (px > bx.left && px < set_scrx + bx.right && py > bx.top && py < set_scry + bx.bottom) {
            const ImagePtr* img = image_of(*this);
            if (img && *img) {
                SetRotation((float)(std::sin((double)t * std::numbers::pi / 180.0) * sway));
                SetScale(sx, sy);
                SetBlend(ALPHABLEND);
                SetAlpha(a);
                SetColor(r, g, b);
                DrawImage(*img, (float)px, (float)py, 0);
            }
        }
        return 0;
    }
    knock_off_particles(*this);
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->get() == this) {
            list.erase(it);   // may end this sprite: nothing below touches it
            break;
        }
    return 0;
}
