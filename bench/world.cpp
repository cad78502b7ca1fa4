// One world step of a busy match: 50 objects (half of them script objects
// with collision images), 20 script projectiles and 500 particles of the
// kinds that test for contact (sparks, meat, blood, drops) and of those that
// only drift, on a 1000 x 1000 map with ground. Beside it the same particles
// moved by plain speed and fade without any contact test: the difference is
// the cost of the world's contact tests. A frame lasts 20 ms.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/catalogue.h"
#include "app/main_loop.h"
#include "core/random.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/image.h"
#include "scripting/script_objects.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/projectile.h"
#include "world/water.h"

namespace {

constexpr int kParticles = 500, kObjects = 50, kProjectiles = 20;

struct World {
    std::vector<Tp> start[3];   // the particles every step starts from
    World() {
        map_setup(10, 10, 1);
        map_rect(0, 600, 999, 399, (int)0xFF806040u);
        g_waterlevel = 900;
        g_gravity = 0.1f;
        g_fps_render = 0;
        menu = 2;
        set_gore = 3;
        set_particles = 1;   // no ambient dust: the same particles every step
        if (!gfx_coldot2) {
            gfx_coldot2 = CreateImage(1, 1, 1, 0);
            LockImage(gfx_coldot2)->WritePixel(0, 0, 0xFFFFFFFFu);
        }
        ImagePtr barrel = CreateImage(16, 16, 1, 0);
        ClearPixels(*LockImage(barrel), 0xFF404040u);
        SetImageHandle(barrel, 8, 8);
        if (Tres::gfx.size() < 2) Tres::gfx.resize(2);
        Tres::gfx[1] = std::make_shared<Tres>();
        Tres::gfx[1]->path = "barrel.png";
        Tres::gfx[1]->image = barrel;
        auto type = std::make_shared<Tscro>();
        type->path = "objects.barrel";
        type->image = 1;
        Tscro::obj[1] = type;
        auto pro = std::make_shared<Tscro>();
        pro->path = "projectiles.shell";
        Tscro::projectile[1] = pro;
        SeedRnd(1);
        Tobj::list.clear();
        for (int i = 0; i < kObjects; ++i) {
            auto o = Tobj::Create(i % 2 ? 1 : -1 - i % 7, 20 * i, 590, 0, 56001 + i, 0);
            o->fx = (float)(i % 3);   // some move, some rest
        }
        Tpro::clear();
        for (int i = 0; i < kProjectiles; ++i) Tpro::Create()->typ = 1;
        const int kinds[] = {17, 27, 5, 14, 3, 1, 2, 21, 13, 4};
        for (int i = 0; i < kParticles; ++i) {
            int kind = kinds[i % 10];
            auto p = Tp::Create(kind, Rand(0, 999), Rand(500, 640), i % 3 == 2 ? 1 : 0);
            p->fa = 0.0001f;   // alive for the whole run
        }
        for (int l = 0; l < 3; ++l) {
            for (auto& p : Tp::list[(size_t)l]) start[l].push_back(*p);
            Tp::list[(size_t)l].clear();
        }
    }
    void reset_particles() {
        for (int l = 0; l < 3; ++l) {
            auto& layer = Tp::list[(size_t)l];
            layer.clear();
            for (const Tp& p : start[l]) layer.push_back(std::make_shared<Tp>(p));
        }
    }
};

World& world() {
    static World w;
    return w;
}

void BM_BaselineParticlesWithoutContact(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        w.reset_particles();
        for (auto& layer : Tp::list)
            for (auto& p : layer) {
                p->x += p->fx;
                p->y += p->fy;
                p->fy += g_gravity;
                p->a -= p->fa;
                p->rot += p->fr;
            }
        benchmark::DoNotOptimize(Tp::list[0].front()->x);
    }
}
BENCHMARK(BM_BaselineParticlesWithoutContact);

void BM_WorldStep(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        w.reset_particles();
        Tobj::update(0);
        Tpro::draw(0, 1);
        for (int l = 0; l < 3; ++l) Tp::draw(l);
        benchmark::DoNotOptimize(Tp::list[0].size());
    }
}
BENCHMARK(BM_WorldStep);

}  // namespace
