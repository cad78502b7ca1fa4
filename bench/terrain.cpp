// Terrain speed and memory, each figure beside a baseline from the same run:
// - carving an explosion hole (radius 12, 50, 100; centred in a tile or on a
//   tile corner) against one memset per row over the same pixels of a flat
//   buffer (the least any carve must do);
// - generating an outline-only map (no art loaded) against one write pass
//   over the same number of pixel bytes (the textured case is bench_texture);
// - the memory an empty 300 x 300-tile grid adds over a 3 x 3 map, and what a
//   small hill on it adds against its tiles' pixel bytes.
// The "ratio" counter is primary / baseline.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench_ratio.h"
#include "terrain/edit.h"
#include "terrain/ellipse.h"
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

constexpr int kMapW = 3000, kMapH = 1000;

// Row spans of the crater of radius r at (cx, cy) as map_oval fills them,
// as x0, x1 per row from cy - r.
std::vector<int> crater_spans(int cx, int r) {
    Tmap_ellipse e(r, r);
    std::vector<int> spans;
    for (int dy = -r; dy <= r; ++dy) {
        int h = (int)e.half_span(dy);
        spans.push_back(h < 0 ? 1 : cx - h);
        spans.push_back(h < 0 ? 0 : cx + h);
    }
    return spans;
}

// Baseline: one memset per row over the same pixels of a flat map-sized
// buffer (no tiles, no ellipse test).
void memset_spans(std::vector<uint32_t>& flat, const std::vector<int>& spans, int cy, int r) {
    uint32_t* row = flat.data() + (size_t)(cy - r) * kMapW;
    for (size_t i = 0; i < spans.size(); i += 2, row += kMapW)
        if (spans[i] <= spans[i + 1]) std::memset(row + spans[i], 0, (size_t)(spans[i + 1] - spans[i] + 1) * 4);
    benchmark::ClobberMemory();
}

// map_oval with value 0 (an explosion) on solid ground, centred in the middle
// of a tile (corner 0) or on a tile corner (corner 1), beside the memset of
// the same pixels. The bound for the ratio: 1.3 at radii 50 and 100, 1.6 at
// radius 12.
void BM_Carve(benchmark::State& state) {
    const int r = (int)state.range(0);
    const bool corner = state.range(1) != 0;
    // The vector path (map_carve_path): -1 the best this machine has, else
    // 0 SSE2, 1 AVX2, 2 AVX-512, so the narrower ones are timed here too.
    const int machine = map_carve_path(-1), path = (int)state.range(2);
    if (path >= 0 && map_carve_path(path) != path) {
        map_carve_path(machine);
        state.SkipWithError("this machine lacks the path");
        return;
    }
    const int cx = corner ? 1500 : 1550, cy = corner ? 500 : 550;
    map_setup(kMapW / 100, kMapH / 100, 1);
    map_rect(0, 0, kMapW - 1, kMapH - 1, (int)0xFF806040u);
    for (auto _ : state) map_oval(cx, cy, r, r, 0);
    std::vector<uint32_t> flat((size_t)kMapW * kMapH, 0xFF806040u);
    std::vector<int> spans = crater_spans(cx, r);
    bench::report_ratio(
        state, [&] { map_oval(cx, cy, r, r, 0); }, [&] { memset_spans(flat, spans, cy, r); },
        std::max(20, 200000 / (r * r)));
    long pixels = 0;
    for (size_t i = 0; i < spans.size(); i += 2) pixels += std::max(0, spans[i + 1] - spans[i] + 1);
    state.counters["pixels"] = (double)pixels;
    map_carve_path(machine);
}
BENCHMARK(BM_Carve)->ArgsProduct({{12, 50, 100}, {0, 1}, {-1, 0, 1, 2}})->ArgNames({"r", "corner", "path"});

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

// Resident bytes of the process (/proc/self/statm), after handing freed
// memory back to the system so earlier maps do not hide the growth.
long resident_bytes() {
    malloc_trim(0);
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// The empty 300 x 300-tile grid and a 600 x 400 hill on it, each against its
// baseline in the same run: the grid's growth over a 3 x 3 map (bound 1.5 MB),
// the hill's growth against the pixel bytes of the tiles it fills (ratio,
// about 1). Resident and allocator figures both.
void BM_MemoryLargestMapSmallTerrain(benchmark::State& state) {
    long held0 = 0, held1 = 0, held2 = 0, rss0 = 0, rss1 = 0, rss2 = 0;
    for (auto _ : state) {
        map_setup(3, 3, 1);
        held0 = held_bytes();
        rss0 = resident_bytes();
        map_setup(300, 300, 1);
        held1 = held_bytes();
        rss1 = resident_bytes();
        // A 600 x 400 hill in the bottom-left corner and a few craters in it.
        map_rect(0, 29600, 599, 399, (int)0xFF806040u);
        for (int i = 0; i < 5; ++i) map_oval(60 + i * 110, 29650, 40, 40, 0);
        held2 = held_bytes();
        rss2 = resident_bytes();
    }
    double tile_pixels = (double)map_tiles_held() * kTileSize * kTileSize * 4;
    state.counters["tiles_held"] = map_tiles_held();
    state.counters["grid_rss_bytes"] = (double)(rss1 - rss0);
    state.counters["grid_held_bytes"] = (double)(held1 - held0);
    state.counters["hill_rss_bytes"] = (double)(rss2 - rss1);
    state.counters["hill_held_bytes"] = (double)(held2 - held1);
    state.counters["hill_pixel_bytes"] = tile_pixels;
    state.counters["hill_ratio"] = (double)(held2 - held1) / tile_pixels;
    state.counters["grid_bound_bytes"] = 1.5e6;
}
BENCHMARK(BM_MemoryLargestMapSmallTerrain)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
