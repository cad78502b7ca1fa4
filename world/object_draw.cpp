// Object drawing: the looks of the built-in objects (flames with smoke,
// glowing pulsing crates and medikits, the blinking mine, bear traps, the
// item's light-ray beacon with its weapon icon), the script objects' draw
// callbacks, the HUD's list of fresh crates and the fire crackle.
//
// Runs on rendered frames only, which differ between machines: it changes
// only fields the world step never reads (anim, rot, the mine's blink alpha)
// and local state (particles, sounds, the HUD list).
#include <algorithm>
#include <cmath>

#include "core/catalogue.h"
#include "core/det_math.h"
#include "core/input.h"
#include "core/random.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "platform/draw.h"
#include "terrain/view.h"
#include "world/objects.h"
#include "world/particles.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

double sind(double deg) { return det_sin(deg * kDeg); }
double cosd(double deg) { return det_cos(deg * kDeg); }

int trunc_i(double v) { return tp_int(v); }

void state(int blend, int r, int g, int b, float alpha, float rot, float sx, float sy) {
    SetBlend(blend);
    SetColor(r, g, b);
    SetAlpha(alpha);
    SetRotation(rot);
    SetScale(sx, sy);
}

void draw_fire(Tobj& o) {
    o.anim += 5;
    if (o.anim > 360) o.anim = 5;
    const float sx = 0.5f + 0.2f * (float)std::fabs(sind(o.anim));
    const float sy = 0.5f + 0.2f * (float)std::fabs(cosd(o.anim));
    state(LIGHTBLEND, 255, 150, 0, o.alpha, o.rot, sx, sy);
    DrawImage(gfx_flare[1], map_x + o.x, map_y + o.y);
    // The trail starts behind the motion; a resting fire (+0, +0) counts as
    // falling straight down, so its smoke starts above it.
    const double a = std::atan2((double)o.fx, -(double)o.fy) / kDeg;
    if (g_replay_pause) return;
    if (o.turns > 0) {
        if (Rand(1, 15) == 1) {
            auto p = Tp::Create(1, trunc_i(o.x - sind(a) * 12), trunc_i(o.y + cosd(a) * 12), 0);
            p->fy = (float)Rnd(-1.5, -0.5);
            p->a = (float)Rnd(0.2, 0.5);
        } else if (Rand(1, 10) == 1) {
            auto p = Tp::Create(2, trunc_i(o.x - sind(a) * 3), trunc_i(o.y + cosd(a) * 3), 0);
            p->fx = (float)Rnd(-0.4, 0.4);
            p->fy = (float)Rnd(-0.9, -0.3);
        }
    } else if (Rand(1, 20) == 1) {
        auto p = Tp::Create(1, trunc_i(o.x), trunc_i(o.y), 0);
        p->r = (int)(p->r * 0.25);
        p->g = (int)(p->g * 0.25);
        p->b = (int)(p->b * 0.25);
        p->fx = (float)Rnd(-0.2, 0.2);
        p->fy = (float)Rnd(-1.2, -0.4);
        p->a = (float)Rnd(0.2, 0.5);
        p->fa = (float)Rnd(0.005, 0.01);
    }
}

void draw_box(const Tobj::Ptr& op) {
    Tobj& o = *op;
    const bool kit = o.typ == -5;
    state(LIGHTBLEND, kit ? 255 : 0, kit ? 0 : 255, 0, 1, o.rot, 0.5f, 0.5f);
    o.rot += 1;
    if (o.rot >= 360) o.rot -= 360;
    DrawImage(gfx_flare[1], map_x + o.x, map_y + o.y);
    state(ALPHABLEND, 255, 255, 255, 1, 0, 1 + 0.3f * (float)std::fabs(sind(5.0 * o.rot)),
          1 + 0.2f * (float)std::fabs(cosd(5.0 * o.rot)));
    DrawImage(kit ? gfx_medikit : gfx_supply, map_x + o.x, map_y + o.y);
    SetRotation(0);
    SetScale(1, 1);
    if (o.age < 450) Tobj::hudlist.push_back(op);
}

void draw_mine(Tobj& o) {
    const bool dud = o.data == 2000;
    state(ALPHABLEND, dud ? 230 : 255, dud ? 180 : 255, dud ? 180 : 255, 1, 0, 1, 1);
    DrawImage(gfx_mine, (float)trunc_i(map_x + o.x), (float)trunc_i(map_y + o.y));
    if (o.alpha > 0) {
        state(LIGHTBLEND, 255, 0, 0, o.alpha, (float)in_ms / 15.0f, 1, 1);
        DrawImage(gfx_flare[0], (float)trunc_i(map_x + o.x), (float)trunc_i(map_y + o.y - 2));
        o.alpha -= 0.1f;
    }
}

void draw_trap(const Tobj& o) {
    const bool sprung = o.data == 2000;
    state(ALPHABLEND, 255, 255, 255, sprung ? o.alpha : 1.0f, 0, 1, 1);
    DrawImage(sprung ? gfx_beartrap1 : gfx_beartrap0, (float)trunc_i(map_x + o.x), (float)trunc_i(map_y + o.y));
}

void draw_item(const Tobj& o) {
    const float px = map_x + o.x, py = map_y + o.y;
    const float r0 = (float)(in_ms / 20);
    state(LIGHTBLEND, 75, 255, 75, 0.15f, r0, 1.0f / 15, 2.0f / 15);
    DrawImage(gfx_lightray, px, py);
    SetRotation(r0 + 90);
    DrawImage(gfx_lightray, px, py);
    SetColor(0, 255, 0);
    SetScale(0.05f, 0.1f);
    SetRotation(r0 + 45);
    DrawImage(gfx_lightray, px, py);
    SetRotation(r0 + 135);
    DrawImage(gfx_lightray, px, py);
    SetAlpha(0.8f);
    SetRotation(r0);
    SetScale(0.5f, 0.5f);
    DrawImage(gfx_flare[1], px, py);
    if (set_particles > 1 && !g_replay_pause && Rand(1, 15) == 1) {
        int yo = Rand(-8, 2);
        int xo = Rand(-5, 5);
        auto p = Tp::Create(16, trunc_i(o.x + xo), trunc_i(o.y + yo), 1);
        p->sx = p->sy = (float)Rnd(2, 5);
        p->r = Rand(0, 50);
        p->g = 255;
        p->b = p->r;
        p->fx = 0;
        p->fy = -(float)Rnd(0.4, 1.1);
        p->fa = (float)Rnd(0.02, 0.03);
    }
    int icon_id = 0;
    if (o.data > 0 && o.data < script_weaponcount() && script_weaponinfo(o.data, nullptr, &icon_id)) {
        // Ids -4..-6 would draw from the shared generator; an icon is never one.
        ImagePtr icon = icon_id >= -6 && icon_id <= -4 ? nullptr : Tres::getimage(icon_id);
        if (icon) {
            int big = std::max(ImageWidth(icon), ImageHeight(icon));
            float s = big > 35 ? 35.0f / (float)big : 1.0f;
            state(ALPHABLEND, 255, 255, 255, 1, (float)in_ms / 10.0f, s, s);
            DrawImage(icon, px, py);
        }
    }
}

}  // namespace

int Tobj::draw() {
    if (g_fps_render != 1) return 0;
    hudlist.clear();
    bool fire = false;
    for (const Ptr& o : std::vector<Ptr>(list.begin(), list.end())) {
        if (o->unlisted) continue;
        switch (o->typ) {
            case -1:
                fire = true;
                draw_fire(*o);
                break;
            case -2:
            case -5: draw_box(o); break;
            case -3: draw_mine(*o); break;
            case -4: draw_trap(*o); break;
            case -7: draw_item(*o); break;
            case -6: break;
            default:
                if (o->typ > 0) lua_object_draw(o->typ, o->id, o->x, o->y);
                break;
        }
    }
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetRotation(0);
    SetScale(1, 1);
    if (fire) {
        burnsfxtimer -= 1;
        if (burnsfxtimer <= 0) {
            burnsfxtimer = Rand(120, 150);
            int count = (int)(sizeof sfx_burn / sizeof sfx_burn[0]);
            play(sfx_burn[Rand(0, count - 1)], 1.0f);
        }
    }
    return 0;
}
