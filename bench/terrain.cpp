// Terrain speed and memory, each figure beside a baseline from the same run:
// - carving an explosion hole against a plain loop that writes the same row
//   spans of a flat pixel buffer once (the least any carve must do);
// - generating a map against one write pass over the same number of pixel
//   bytes;
// - the bytes a 300 x 300-tile map holds with a small terrain in one corner
//   against the pixel bytes of its non-empty tiles alone.
// The "ratio" counter is primary / baseline.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <malloc.h>
#include <vector>

#include "terrain/edit.h"
#include "terrain/generate.h"
#include "terrain/tiles.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class Fn>
double seconds_per_call(int64_t calls, Fn fn) {
    auto t0 = Clock::now();
    for (int64_t i = 0; i < calls; ++i) fn();
    return std::chrono::duration<double>(Clock::now() - t0).count() / (double)calls;
}

// ---- Carving ----

constexpr int kMapW = 3000, kMapH = 1000, kCx = 1530, kCy = 470;

// Row spans of a circle of radius r (dx² + dy² < r²), as x0, x1 per row.
std::vector<int> circle_spans(int r) {
    std::vector<int> spans;
    for (int dy = -r + 1; dy <= r - 1; ++dy) {
        int h = (int)std::sqrt((double)r * r - (double)dy * dy - 1e-9);
        spans.push_back(kCx - h);
        spans.push_back(kCx + h);
    }
    return spans;
}

// The least a carve must do: write each span of a flat map-sized buffer.
void touch_spans(std::vector<uint32_t>& flat, const std::vector<int>& spans, int r) {
    size_t row = (size_t)(kCy - r + 1) * kMapW;
    for (size_t i = 0; i < spans.size(); i += 2, row += kMapW)
        std::fill(flat.data() + row + spans[i], flat.data() + row + spans[i + 1] + 1, 0u);
    benchmark::ClobberMemory();
}

void BM_CarveBaselineTouchSpans(benchmark::State& state) {
    int r = (int)state.range(0);
    std::vector<uint32_t> flat((size_t)kMapW * kMapH, 0xFF806040u);
    std::vector<int> spans = circle_spans(r);
    for (auto _ : state) touch_spans(flat, spans, r);
    state.counters["pixels"] = (double)((long)r * r * 314 / 100);
}
BENCHMARK(BM_CarveBaselineTouchSpans)->Arg(25)->Arg(50)->Arg(100)->Arg(200);

void BM_CarveHole(benchmark::State& state) {
    int r = (int)state.range(0);
    map_setup(kMapW / 100, kMapH / 100, 1);
    map_rect(0, 0, kMapW - 1, kMapH - 1, (int)0xFF806040u);
    for (auto _ : state) map_oval(kCx, kCy, r, r, 0);
    // The baseline again, inside this run, for the ratio.
    std::vector<uint32_t> flat((size_t)kMapW * kMapH, 0xFF806040u);
    std::vector<int> spans = circle_spans(r);
    int64_t n = std::max<int64_t>(state.iterations(), 100);
    double carve = seconds_per_call(n, [&] { map_oval(kCx, kCy, r, r, 0); });
    double base = seconds_per_call(n, [&] { touch_spans(flat, spans, r); });
    state.counters["baseline_ns"] = base * 1e9;
    state.counters["ratio"] = carve / base;
}
BENCHMARK(BM_CarveHole)->Arg(25)->Arg(50)->Arg(100)->Arg(200);

// ---- Generation ----

void write_pass(std::vector<uint32_t>& flat) {
    std::fill(flat.begin(), flat.end(), 0xFF806040u);
    benchmark::ClobberMemory();
}

void BM_GenerateBaselineWritePass(benchmark::State& state) {
    std::vector<uint32_t> flat((size_t)state.range(0) * state.range(1));
    for (auto _ : state) write_pass(flat);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)flat.size() * 4);
}
BENCHMARK(BM_GenerateBaselineWritePass)->Args({1300, 600})->Args({3000, 1000})->Args({10000, 3000})->Unit(benchmark::kMillisecond);

void BM_Generate(benchmark::State& state) {
    int w = (int)state.range(0), h = (int)state.range(1), form = (int)state.range(2);
    int seed = 1;
    for (auto _ : state) map_generate(w, h, seed++, 0, form);
    std::vector<uint32_t> flat((size_t)w * h);
    int64_t n = std::max<int64_t>(state.iterations(), 3);
    double gen = seconds_per_call(n, [&] { map_generate(w, h, seed++, 0, form); });
    double base = seconds_per_call(n, [&] { write_pass(flat); });
    state.counters["baseline_ms"] = base * 1e3;
    state.counters["ratio"] = gen / base;
    state.counters["tiles_held"] = map_tiles_held();
}
BENCHMARK(BM_Generate)
    ->Args({1300, 600, 0})
    ->Args({3000, 1000, 0})
    ->Args({10000, 3000, 0})
    ->Args({3000, 1000, 3})
    ->Unit(benchmark::kMillisecond);

// ---- Memory ----

// Bytes the program holds from the allocator (glibc's count of blocks in use).
long held_bytes() { return (long)mallinfo2().uordblks; }

// held_bytes: everything the map holds; grid_bytes: of that, the empty
// 300 x 300 grid (tile, lock and scenery-cell arrays); tile_bytes: the rest,
// against the pixel bytes of the tiles that hold terrain (ratio).
void BM_MemoryLargestMapSmallTerrain(benchmark::State& state) {
    long before = 0, grid = 0, after = 0;
    for (auto _ : state) {
        map_setup(3, 3, 1);
        before = held_bytes();
        map_setup(300, 300, 1);
        grid = held_bytes();
        // A 600 x 400 hill in the bottom-left corner and a few craters in it.
        map_rect(0, 29600, 599, 399, (int)0xFF806040u);
        for (int i = 0; i < 5; ++i) map_oval(60 + i * 110, 29650, 40, 40, 0);
        after = held_bytes();
    }
    double tile_pixels = (double)map_tiles_held() * kTileSize * kTileSize * 4;
    state.counters["tiles_held"] = map_tiles_held();
    state.counters["held_bytes"] = (double)(after - before);
    state.counters["grid_bytes"] = (double)(grid - before);
    state.counters["tile_bytes"] = (double)(after - grid);
    state.counters["tile_pixel_bytes"] = tile_pixels;
    state.counters["ratio"] = (double)(after - grid) / tile_pixels;
    state.counters["full_map_bytes"] = 300.0 * 300 * kTileSize * kTileSize * 4;
}
BENCHMARK(BM_MemoryLargestMapSmallTerrain)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
