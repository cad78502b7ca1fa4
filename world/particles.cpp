// Particles: creation with each kind's start values, blood colours, clearing.
#include "world/particles.h"

#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "terrain/view.h"
#include "world/water.h"

std::array<Tp::Layer, 3> Tp::list;

namespace {

float rnd(double a, double b) { return (float)Rnd(a, b); }

// Kinds 2, 3, 12 and the first part of 16 share these values.
void light_puff(Tp& p) {
    p.fx = rnd(-0.5, 0.5);
    p.fy = rnd(-0.5, 0.5);
    p.a = rnd(0.6, 1.0);
    p.sx = p.sy = rnd(5, 10);
    p.r = 255, p.g = Rand(100, 255), p.b = 0;
    p.fr = rnd(-5, 5);
    p.frame = Rand(0, 3);
    p.fa = 0.02f;
}

void blood(Tp& p) {
    p.fx = rnd(-0.5, 0.5);
    p.fy = rnd(-0.5, 0.5);
    p.a = rnd(0.5, 1.3);
    p.sx = p.sy = rnd(5, 8);
    p.bloodcolor();
    p.fr = rnd(-5, 5);
    p.frame = Rand(0, 3);
    p.fa = 0.02f;
}

void muzzle(Tp& p) {
    p.a = rnd(0.5, 0.7);
    p.fa = rnd(0.2, 0.3);
    p.sx = p.sy = rnd(0.5, 0.9);
    p.r = 255, p.g = Rand(200, 255), p.b = 0;
    p.frame = 1;
    p.rot = rnd(0, 360);
}

void start_values(Tp& p) {
    switch (p.typ) {
        case 1:
            p.fx = rnd(-0.5, 0.5);
            p.fy = rnd(-0.5, 0.5);
            p.a = rnd(0.3, 0.8);
            p.sx = p.sy = rnd(5, 10);
            p.r = p.g = p.b = Rand(100, 200);
            p.fr = rnd(-5, 5);
            p.frame = Rand(0, 3);
            p.fa = 0.02f;
            break;
        case 2: case 3: case 12: light_puff(p); break;
        case 4: case 5: blood(p); break;
        case 6: case 24: muzzle(p); break;
        case 7:
            p.fx = rnd(3, 8);
            p.fy = rnd(-1, -0.5);
            p.r = p.g = p.b = 255;
            p.sx = p.sy = rnd(0.3, 0.7);
            p.frame = Rand(0, 2);
            p.fa = rnd(0.2, 0.4);
            p.a = 0.01f;
            break;
        case 8:
            p.sx = p.sy = rnd(0.5, 1.3);
            p.r = p.g = p.b = 255;
            p.a = rnd(0.05, 0.1);
            p.fr = 0;
            p.fa = rnd(1.5, 2);
            break;
        case 9: {
            p.sx = p.sy = rnd(0.5, 1.0);
            p.r = p.g = p.b = 255;
            p.a = rnd(1.0, 1.5);
            p.fa = 0.1f;
            int n = 0;
            if (set_particles > 0) n = Rand(2, 3);
            if (set_particles > 1) n = Rand(3, 6);
            for (int i = 0; i < n; ++i) {
                int dy = g_waterlevel - Rand(1, 8);
                int dx = tp_int(p.x + Rnd(-3, 3));
                auto d = Tp::Create(3, dx, dy, 0);
                d->fx = rnd(-1.8, 1.8);
                d->fy = -rnd(1.5, 3.5);
                d->r = d->g = d->b = 255;
                d->sx = d->sy = rnd(3, 5);
            }
            break;
        }
        case 10:
            p.sx = p.sy = 1;
            p.r = p.g = p.b = 255;
            p.fx = rnd(-6, 6);
            p.fy = rnd(-10, 5);
            p.a = 1;
            p.rot = 0;
            p.fr = rnd(-3, 3);
            break;
        case 11:
            p.sx = p.sy = 0.1f;
            p.r = 255, p.g = 255, p.b = 0;
            p.a = 1;
            p.rot = rnd(0, 360);
            p.fx = 1.1f;
            p.fa = 0.055f;
            break;
        case 13:
            p.sx = p.sy = rnd(0.5, 1.2);
            p.r = 255, p.g = Rand(50, 255), p.b = 0;
            p.a = 1;
            p.rot = rnd(0, 360);
            p.fr = rnd(2, 3);
            if (Rand(0, 1) != 0) p.fr = -p.fr;
            p.fa = 0.03f;
            p.frame = 0;
            break;
        case 14:
            p.sx = rnd(0.3, 0.45);
            p.sy = rnd(0.7, 0.9);
            p.fy = rnd(0, 0.5);
            p.bloodcolor();
            p.frame = Rand(15, 100);
            p.a = rnd(0.2, 0.4);
            p.fa = rnd(0.6, 0.9);
            break;
        case 15:
            p.sx = p.sy = rnd(0.3, 1.0);
            p.r = p.g = p.b = 255;
            p.fa = rnd(0.001, 0.004);
            p.a = 0;
            p.fr = rnd(-3, 3);
            p.rot = rnd(0, 360);
            p.fx = g_storm * rnd(45, 50);
            p.fy = rnd(-1, 1);
            p.frame = Rand(0, 4);
            break;
        case 16:
            light_puff(p);
            p.frame = Rand(0, 1);
            break;
        case 17:
            p.fx = rnd(-2, 2);
            p.fy = rnd(-2.5, 2);
            p.a = rnd(0.6, 1.2);
            p.sx = p.sy = rnd(0.9, 1.2);
            p.r = 255, p.g = Rand(100, 255), p.b = 0;
            p.rot = rnd(0, 360);
            p.fr = rnd(-5, 5);
            p.fa = 0.02f;
            break;
        case 18:
            p.sx = p.sy = 1;
            p.r = 245, p.g = 230, p.b = 0;
            p.fx = rnd(-3, 3);
            p.fy = rnd(-5, -2);
            p.a = 1;
            p.rot = rnd(0, 360);
            p.fr = rnd(-6, 6);
            break;
        case 19:
            p.sx = p.sy = 32;
            p.r = 255, p.g = 0, p.b = 0;
            p.a = 1;
            p.fa = 0.02f;
            break;
        case 20:
            p.sx = p.sy = 1;
            p.r = 255, p.g = 0, p.b = 0;
            p.a = rnd(0.3, 0.7);
            p.fa = 0.02f;
            p.fx = rnd(-5, 5);
            p.fy = rnd(-7, 5);
            p.fr = rnd(-4, 4);
            p.rot = 0;
            break;
        case 21:
            p.sx = rnd(0.3, 0.7);
            p.sy = rnd(0.4, 0.8);
            p.r = p.g = p.b = (int)Rnd(50, 80);
            p.a = rnd(0.5, 0.9);
            p.fx = p.rot = p.fr = 0;
            p.fa = rnd(0.006, 0.01);
            p.fy = (float)(p.fa * 200 * Rnd(0.8, 1.0));
            break;
        case 22:
            p.sx = (float)(0.01 * Rnd(1, 1.5));
            p.sy = (float)(0.03 * Rnd(1, 1.5));
            p.r = 255, p.g = Rand(100, 255), p.b = Rand(0, 70);
            p.a = rnd(0.6, 0.7);
            p.fx = p.fy = 0;
            p.rot = rnd(0, 360);
            p.fr = rnd(0.1, 2.5);
            if (Rand(0, 1) != 0) p.fr = -p.fr;
            p.fa = rnd(0.02, 0.022);
            break;
        case 23:
            p.sx = p.sy = 1;
            p.r = 255, p.g = Rand(100, 255), p.b = Rand(0, 70);
            p.a = rnd(0.4, 0.7);
            p.fa = rnd(0.02, 0.03);
            p.rot = rnd(-50, 50);
            p.fx = p.fy = 1.05f;
            break;
        case 25:
            p.fx = rnd(-0.5, 0.5);
            p.fy = rnd(-2, 0.2);
            p.a = rnd(0.7, 1.5);
            p.sx = p.sy = rnd(5, 10);
            p.r = 255, p.g = Rand(100, 255), p.b = 0;
            p.fr = rnd(-10, 10);
            p.frame = Rand(0, 3);
            p.fa = rnd(0.005, 0.02);
            break;
        case 26:
            p.sx = p.sy = (float)Rand(1, 2);
            p.fx = (float)Rand(0, set_scrx);
            p.fy = (float)Rand(0, set_scry);
            p.a = 1;
            p.bloodcolor();
            p.x += map_x;
            p.y += map_y;
            break;
        case 27:
            p.fx = rnd(-3.5, 3.5);
            p.fy = rnd(-6, 2);
            p.a = rnd(3, 5);
            p.sx = p.sy = rnd(3, 8);
            p.grayscale(175, 255);
            p.rot = rnd(0, 360);
            p.fr = rnd(-7, 7);
            p.fa = rnd(0.01, 0.015);
            p.frame = Rand(0, 18);
            break;
        case 28:
            p.sx = rnd(0.05, 0.08);
            p.sy = rnd(0.002, 0.004);
            p.bloodcolor();
            p.a = rnd(1.3, 1.5);
            p.fy = rnd(0.12, 0.125);
            p.fx = p.fy / 10;
            p.rot = rnd(0, 360);
            p.fr = 0;
            p.fa = rnd(0.02, 0.023);
            break;
        default: break;
    }
}

}  // namespace

std::shared_ptr<Tp> Tp::Create(int kind, int x, int y, int layer) {
    auto p = std::make_shared<Tp>();
    p->typ = kind;
    p->x = (float)x;
    p->y = (float)y;
    // Listed before its start values are drawn: a kind-9 splash appends its
    // droplets to layer 0 while it is made, after itself.
    bool known = kind >= 1 && kind <= kKinds;
    bool room = layer >= 0 && layer < 3 && list[(size_t)layer].size() < kLayerMax;
    if (known && room) {
        list[(size_t)layer].push_back(p);
        start_values(*p);
    }
    return p;
}

std::shared_ptr<Tp> Tp::CreateScript(int kind, int x, int y, int layer) {
    auto p = Create(kind, x, y, layer);
    p->life = kScriptLife;
    return p;
}

int Tp::bloodcolor() {
    switch (set_bloodcolor) {
        case 1: r = 0, g = Rand(125, 255), b = 0; break;
        case 2: r = 0, g = 150, b = Rand(125, 255); break;
        case 3: r = g = Rand(100, 255), b = 0; break;
        case 4: r = g = b = Rand(0, 50); break;
        case 5: r = g = b = Rand(200, 255); break;
        case 6:
            r = Rand(0, 255);
            g = Rand(0, 255);
            b = Rand(0, 255);
            break;
        default: r = Rand(125, 255), g = 0, b = 0; break;
    }
    return 0;
}

int Tp::grayscale(int low, int high) {
    r = g = b = Rand(low, high);
    return 0;
}

int Tp::clear() {
    for (auto& l : list) l.clear();
    return 0;
}

int particles_add(int kind, int x, int y, int layer) {
    Tp::Create(kind, x, y, layer);
    return 0;
}

int particles_add(int kind, int x, int y, int layer, int r, int g, int b) {
    std::shared_ptr<Tp> p = Tp::Create(kind, x, y, layer);
    p->r = r;
    p->g = g;
    p->b = b;
    return 0;
}

int particles_clear() { return Tp::clear(); }
