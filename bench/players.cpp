// Player queries and physics with a full match of 48 players: a collision query
// among them (only players within reach are pixel-tested) beside the same query
// against the terrain alone, and a physics step of all 48 woken players beside
// 48 bare terrain queries (the least such a step can cost).
#include <benchmark/benchmark.h>

#include "core/catalogue.h"
#include "core/shared_state.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "world/collision.h"
#include "world/player.h"
#include "world/water.h"

namespace {

// The player mask as built in: solid in columns 9..22 and rows 4..27.
ImagePtr mask() {
    ImagePtr img = CreateImage(32, 32, 1, 0);
    PixmapPtr pm = LockImage(img);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) pm->WritePixel(x, y, x >= 9 && x <= 22 && y >= 4 && y <= 27 ? 0xFF000000u : 0u);
    SetImageHandle(img, 16, 16);
    return img;
}

// A 2000 x 1000 map with ground from row 600, 48 players standing on it.
void setup() {
    static bool done = false;
    if (done) return;
    done = true;
    gfx_pl_col = mask();
    map_setup(20, 10, 1);
    map_rect(0, 600, 2000, 400, (int)0xFF806040u);
    g_gravity = 0.1f;
    g_waterlevel = 990;
    Tplayer::list.clear();
    for (int i = 0; i < 48; i++) {
        auto p = Tplayer::add(0, i / 6);
        p->health = 100;
        p->x = 20.0f + 40.0f * (float)i;
        p->y = 588;
        p->dir = 1;
    }
}

void BM_BaselineTerrainQuery(benchmark::State& state) {
    setup();
    for (auto _ : state) benchmark::DoNotOptimize(collide_env(gfx_pl_col, 1000, 588, 0));
}
BENCHMARK(BM_BaselineTerrainQuery);

void BM_QueryAmong48Players(benchmark::State& state) {
    setup();
    auto self = Tplayer::get(25);
    for (auto _ : state) benchmark::DoNotOptimize(collide(gfx_pl_col, 1000, 588, 0, self.get(), nullptr));
}
BENCHMARK(BM_QueryAmong48Players);

void BM_Baseline48TerrainQueries(benchmark::State& state) {
    setup();
    for (auto _ : state)
        for (auto& p : Tplayer::list) benchmark::DoNotOptimize(collide_env(gfx_pl_col, (int)p->x, (int)p->y, 0));
}
BENCHMARK(BM_Baseline48TerrainQueries);

void BM_PhysicsStep48WokenPlayers(benchmark::State& state) {
    setup();
    for (auto _ : state) {
        collide_update();   // every player checks its footing again, as after a terrain change
        Tplayer::update();
    }
}
BENCHMARK(BM_PhysicsStep48WokenPlayers);

}  // namespace
