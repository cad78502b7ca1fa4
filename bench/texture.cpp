// Map building speed: generating and texturing a whole map, and texturing a
// ready outline alone, beside one plain write pass over the same tile bytes
// (the least any texturing must do). Bytes processed = map pixels x 4.
// The images come from gfx/ ($GROMBAT_ASSETS or the working folder) when
// present, else from the small stand-ins the terrain tests draw.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench_ratio.h"
#include "core/random.h"
#include "core/settings.h"
#include "terrain/generate.h"
#include "terrain/texture.h"
#include "terrain/tiles.h"
#include "tests/terrain/terrain_art.h"

namespace {

void setup_art() {
    static bool done = false;
    if (done) return;
    done = true;
    terrain_art::load_terrain_art();
    terrain_art::load_terrain_textures();
    set_particles = 2;
}

// Baseline: every 100 x 100 tile of the map written once, word by word.
struct WritePass {
    std::vector<std::vector<uint32_t>> tiles;
    uint32_t v = 0xFF000000u;
    WritePass(int X, int Y) : tiles((size_t)(X / 100) * (Y / 100), std::vector<uint32_t>(100 * 100)) {}
    void operator()() {
        ++v;
        for (auto& t : tiles) std::fill(t.begin(), t.end(), v);
        benchmark::DoNotOptimize(tiles.front().data());
        benchmark::ClobberMemory();
    }
};

void BM_BaselineWritePass(benchmark::State& state) {
    const int X = (int)state.range(0), Y = (int)state.range(1);
    WritePass pass(X, Y);
    for (auto _ : state) pass();
    state.SetBytesProcessed(state.iterations() * (int64_t)X * Y * 4);
}
BENCHMARK(BM_BaselineWritePass)->Args({1300, 600})->Args({3000, 1000})->Unit(benchmark::kMillisecond);

// What a peer does with a received recipe: outline, texture, scenery, nodes;
// beside the write pass (ratio; the bound at 3000 x 1000 is 8).
void BM_GenerateAndTexture(benchmark::State& state) {
    setup_art();
    const int X = (int)state.range(0), Y = (int)state.range(1);
    int seed = 1000;
    for (auto _ : state) {
        map_generate(X, Y, seed++ % 8, 0, 1);
        benchmark::DoNotOptimize(map_tiles.held.data());
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)X * Y * 4);
    WritePass pass(X, Y);
    bench::report_ratio(state, [&] { map_generate(X, Y, seed++ % 8, 0, 1); }, pass, 1, 15);
}
BENCHMARK(BM_GenerateAndTexture)->Args({1300, 600})->Args({3000, 1000})->Unit(benchmark::kMillisecond);

// Texturing alone, over an outline made once.
void BM_TextureOutline(benchmark::State& state) {
    setup_art();
    const int X = (int)state.range(0), Y = (int)state.range(1);
    map_setup(X / 100, Y / 100, 1);
    SeedRnd(77);
    Tmap_mask mask(map_xsize, map_ysize);
    map_generate_outline(mask, 1);
    for (auto _ : state) {
        map_generate_fromarray(mask, 0, 1, 77, 1);
        benchmark::DoNotOptimize(map_tiles.held.data());
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)X * Y * 4);
}
BENCHMARK(BM_TextureOutline)->Args({1300, 600})->Args({3000, 1000})->Unit(benchmark::kMillisecond);

}  // namespace
