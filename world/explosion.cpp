// Explosions and area damage.
#include "world/explosion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/catalogue.h"
#include "core/det_math.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "core/sound.h"
#include "terrain/edit.h"
#include "terrain/scenery_grid.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/player.h"

namespace {

constexpr double kRad = 3.14159265358979323846 / 180.0;
double sind(double deg) { return det_sin(deg * kRad); }
double cosd(double deg) { return det_cos(deg * kRad); }

bool full_rate(int fps) { return g_fps_skipping == 0 && in_fps >= fps; }

// Terrain debris; true when a burning fragment flew.
bool debris(int x, int y, int radius, int style) {
    bool fragment_flew = false;
    const int64_t samples = std::min<int64_t>(4 * (int64_t)std::max(radius, 0), kExplosionMaxSamples);
    for (int64_t i = 0; i < samples; ++i) {
        int angle = Rand(1, 360);
        int distance = Rand(0, radius);
        int px = tp_int((double)x + sind(angle) * distance);
        int py = tp_int((double)y - cosd(angle) * distance);
        int argb = map_getcolor(px, py);
        if (map_argb(argb, 0) <= 0) continue;
        bool fragment = Rand(1, 20) == 1 && style == 1 && set_particles >= 2;
        fragment_flew = fragment_flew || fragment;
        auto p = Tp::Create(fragment ? 12 : 3, px, py, 0);
        double shade = Rnd(0.8, 0.95);
        p->r = (int)(map_argb(argb, 1) * shade);
        p->g = (int)(map_argb(argb, 2) * shade);
        p->b = (int)(map_argb(argb, 3) * shade);
        double direction = Rnd(0, 360), speed = Rnd(0, 3);
        p->fx = (float)(sind(direction) * speed);
        p->fy = (float)(-cosd(direction) * speed);
        p->a = (float)Rnd(1.3, 2.0);
        p->sx = p->sy = (float)Rand(4, 7);
        if (fragment) {
            p->fx *= 2;
            p->fy *= 2;
            p->a = (float)Rnd(0.5, 1.0);
        }
        if (style != 0 && full_rate(49) && Rand(1, 10) == 1) {
            auto d = Tp::Create(21, px, py, 0);
            d->r = p->r, d->g = p->g, d->b = p->b;
        }
    }
    return fragment_flew;
}

void fire_effects(int x, int y, int radius, bool fragment_flew) {
    const float r = (float)radius;
    if (set_particles >= 2) {
        auto flash = Tp::Create(6, x, y, 0);
        flash->sx = flash->sy = r / 10;
        flash->fa = (float)Rnd(0.01, 0.02);
        auto flare = Tp::Create(24, x, y, 0);
        flare->sx = r / 12;
        flare->sy = r / 80;
        flare->fa = 0.02f;
        flare->rot = 0;
        flare->fx = 1.05f;
        flare->fy = 1;
        if (radius <= 100 && full_rate(48)) {
            int count = Rand(2, 5);
            if (radius < 25) count = Rand(1, 2);
            for (int i = 0; i < count; ++i) Tp::Create(22, x, y, 0)->sx *= r / 10;
        }
    }
    int angle = Rand(1, 360);
    const bool few = set_particles <= 1 || radius < 20;
    for (int i = 0, n = few ? 3 : 6; i < n; ++i) {
        angle += few ? 120 : 60;
        double s = sind(angle), c = cosd(angle);
        auto p = Tp::Create(13, tp_int(x + s * r * 0.3), tp_int(y - c * r * 0.3), 0);
        p->sx = p->sy = r * 1.7f / 60;
        p->fx = (float)(s * r / 40);
        p->fy = (float)(-c * r / 40);
    }
    if (set_particles >= 1) {
        auto ring = Tp::Create(11, x, y, 0);
        ring->sx = ring->sy = r / 100;
    }
    if (set_particles >= 2) {
        auto ring = Tp::Create(23, x, y, 0);
        ring->sx = ring->sy = r / 175;
    }
    for (int direction = 0; direction < 360; direction += 10) {
        auto p = Tp::Create(2, x, y, 0);
        p->sx *= 2;
        p->sy *= 2;
        double speed = Rnd(1, 2);
        p->fx = (float)(sind(direction) * speed);
        p->fy = (float)(-cosd(direction) * speed);
        p->a = (float)Rnd(0.3, 0.5);
    }
    if (set_particles >= 1 && full_rate(48)) {
        auto p = Tp::Create(1, x, y, 0);
        p->sx = p->sy = (float)(r * Rnd(0.6, 0.8));
        p->fx = (float)(Rnd(-0.2, 0.2) + g_storm * 0.5);
        p->fy = -(float)Rnd(0.1, 0.6);
        p->fa = (float)Rnd(0.002, 0.01);
        p->a = 0.7f;
        p->fr = (float)Rnd(-1, 1);
    }
    if (set_particles >= 2 && full_rate(48)) {
        for (int i = 0, n = std::min(15, radius / 8); i < n; ++i) {
            double distance = Rnd(0, radius), direction = Rnd(0, 360);
            auto p = Tp::Create(17, tp_int(x + sind(direction) * distance), tp_int(y - cosd(direction) * distance), 0);
            p->a = (float)Rnd(0.8, 2.5);
        }
    }
    play(sfx_explosion[Rand(0, 6)], 1.0f);
    if (radius >= 30) play(Rand(1, 3) == 1 ? sfx_explosionbass1 : sfx_explosionbass0, 1.0f);
    if (fragment_flew) play(sfx_firefragment, 1.0f);
    g_shake = (int)std::clamp<int64_t>((int64_t)g_shake + radius, -1000000, 1000000);
}

bool turn_holder() { return g_player == g_turn_netplayer; }

// Distance and strength of a blast at a point: false when out of reach.
struct Reach {
    float f = 0;                 // strength, single precision
    double sin_a = 0, cos_a = 1;   // direction away from the centre (straight down at it)
};

bool reach(int x, int y, int radius, int damage, float px, float py, Reach& out) {
    double dx = (double)px - x, dy = (double)py - y;
    double dist = std::sqrt(dx * dx + dy * dy);
    if (!(dist <= radius)) return false;
    float q = (float)(dist / radius);
    out.f = (1 - q) * (float)damage;
    if (dist > 0) out.sin_a = dx / dist, out.cos_a = dy / dist;
    return true;
}

int blood_count(int damage) {
    int n = std::min(damage / 4, 6);
    switch (set_gore) {
        case 0: return 0;
        case 1: return std::max(1, (int)(n / 2.0));
        case 2: return std::max(1, n);
        case 3: return std::max(1, 2 * n);
        case 4: return std::max(1, 3 * n);
        case 5: return std::max(1, 5 * n);
        default: return n;
    }
}

}  // namespace

int saturate_int(float f) {
    if (f != f) return 0;
    if (f >= 2147483648.0f) return INT32_MAX;
    if (f <= -2147483648.0f) return INT32_MIN;
    return (int)f;
}

int explosion(int x, int y, int radius, int style) {
    bool fragment_flew = false;
    if (menu != 1) fragment_flew = debris(x, y, radius, style);
    if (style != 3) {
        map_oval(x, y, radius, radius, 0);
        Tscc::check_circle(x, y, radius);
    }
    if (style == 0) {
        play(sfx_ric, 1.0f);
        return 0;
    }
    if (style != 1 && style != 3) return 0;
    fire_effects(x, y, radius, fragment_flew);
    return 0;
}

int arealdamage(int x, int y, int radius, int damage) {
    if (radius <= 0) return 0;
    // Handles keep each member alive while records are written for it.
    for (auto it = Tplayer::list.begin(); it != Tplayer::list.end();) {
        auto next = std::next(it);
        auto p = *it;
        Reach r;
        if (p->health > 0 && reach(x, y, radius, damage, p->x, p->y, r)) {
            p->sync_damage(saturate_int(r.f));
            p->sync_push((float)(r.sin_a * r.f * 0.15), (float)(r.cos_a * r.f * 0.15));
            for (int i = 0, n = blood_count(damage); i < n; ++i) {
                double bx = (double)p->x + Rnd(-5, 5);
                double by = (double)p->y - 5 + Rnd(-5, 5);
                auto d = Tp::Create(4, tp_int(bx), tp_int(by), 0);
                d->fx = (float)(r.sin_a * r.f * 0.3 + Rnd(-3, 3));
                d->fy = (float)(r.cos_a * r.f * 0.3 + Rnd(-3, 3));
                if (Rand(1, 5) == 1) d->typ = 5;
            }
        }
        it = next;
    }
    for (auto it = Tobj::list.begin(); it != Tobj::list.end();) {
        auto next = std::next(it);
        auto o = *it;
        Reach r;
        if ((o->typ == -3 || o->typ == -4) && reach(x, y, radius, damage, o->x, o->y, r)) {
            o->sync_push((float)(r.sin_a * r.f * 0.15), (float)(r.cos_a * r.f * 0.15));
        } else if (o->typ > 0 && turn_holder() && reach(x, y, radius, damage, o->x, o->y, r) && Tfb::fits(7)) {
            Tfb::wbyte(77);
            Tfb::wshort(o->id & 0xFFFF);
            Tfb::wint(saturate_int(r.f));
            Tfb::copyloc(7);
        }
        it = next;
    }
    return 0;
}

int rectdamage(int x, int y, int w, int h, int damage) {
    if (!turn_holder()) return 0;
    const double left = x, top = y, right = (double)x + w, bottom = (double)y + h;
    for (auto& p : Tplayer::list) {
        if (p->health <= 0) continue;
        if (p->x + 7.0 >= left && p->x - 7.0 <= right && p->y + 12.0 >= top && p->y - 13.0 <= bottom && Tfb::fits(6)) {
            Tfb::wbyte(40);
            Tfb::wbyte(p->id & 255);
            Tfb::wint(damage);
            Tfb::copyloc(6);
        }
    }
    return 0;
}
