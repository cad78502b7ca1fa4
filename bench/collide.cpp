// Image collision speed: a 32x32 player against a 100x100 terrain tile, the
// test the world runs many times a frame, beside a plain loop that reads the
// same overlapping pixels once (the least any exact test must do).
#include <benchmark/benchmark.h>

#include "platform/image.h"

namespace {

struct Scene {
    ImagePtr player = CreateImage(32, 32, 1, 0);
    ImagePtr tile = CreateImage(100, 100, 1, 0);
    ImagePtr dot = CreateImage(1, 1, 1, 0);
    Scene() {
        ClearPixels(*LockImage(player), 0xFF3366AA);
        ClearPixels(*LockImage(dot), 0xFF000000);
        SetImageHandle(player, 16, 16);
        // Solid ground below y = 70 only: a player standing above it scans
        // the whole overlap and finds nothing (the slowest answer).
        PixmapPtr pm = LockImage(tile);
        for (int y = 70; y < 100; y++)
            for (int x = 0; x < 100; x++) pm->WritePixel(x, y, 0xFF5A4020);
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

// Player at (50, 53) covers tile rows 37..68: all empty, a full 32x32 overlap.
constexpr int kPlayerX = 50, kPlayerY = 53;

void BM_BaselineReadOverlap(benchmark::State& state) {
    const TPixmap& a = *LockImage(scene().player);
    const TPixmap& b = *LockImage(scene().tile);
    const int ox = kPlayerX - 16, oy = kPlayerY - 16;
    for (auto _ : state) {
        uint32_t both = 0;
        for (int y = 0; y < 32; y++) {
            const uint32_t* ra = a.Row(y);
            const uint32_t* rb = b.Row(oy + y) + ox;
            for (int x = 0; x < 32; x++) both |= ra[x] & rb[x];
        }
        benchmark::DoNotOptimize(both);
    }
}
BENCHMARK(BM_BaselineReadOverlap);

void BM_CollidePlayerTileMiss(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) benchmark::DoNotOptimize(ImagesCollide(s.player, kPlayerX, kPlayerY, 0, s.tile, 0, 0, 0));
}
BENCHMARK(BM_CollidePlayerTileMiss);

void BM_CollidePlayerTileHitOnLastRow(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) benchmark::DoNotOptimize(ImagesCollide(s.player, kPlayerX, kPlayerY + 1, 0, s.tile, 0, 0, 0));
}
BENCHMARK(BM_CollidePlayerTileHitOnLastRow);

void BM_CollideDotTile(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) benchmark::DoNotOptimize(ImagesCollide(s.dot, 40, 40, 0, s.tile, 0, 0, 0));
}
BENCHMARK(BM_CollideDotTile);

// The rare rotated case, for scale: it samples every world pixel of the overlap.
void BM_CollidePlayerTileRotated(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ImagesCollide(s.player, kPlayerX, kPlayerY - 6, 0, 30, 1, 1, s.tile, 0, 0, 0, 0, 1, 1));
}
BENCHMARK(BM_CollidePlayerTileRotated);

}  // namespace
