// Deterministic sine and cosine beside the C library's in the same run
// (items = calls): the game's angles in radians, and huge arguments that
// take the long reduction.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/det_math.h"

namespace {

std::vector<double> angles(bool huge) {
    std::vector<double> v(4096);
    for (size_t i = 0; i < v.size(); ++i)
        v[i] = huge ? 1e10 * (double)(i + 1) : ((double)i * 0.37 - 720.0) * 3.141592653589793 / 180.0;
    return v;
}

template <double (*F)(double)>
void run(benchmark::State& state) {
    const auto v = angles(state.range(0) != 0);
    for (auto _ : state) {
        double acc = 0;
        for (double x : v) acc += F(x);
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)v.size());
}

double lib_sin(double x) { return std::sin(x); }

// Baseline: the C library's sine.
void BM_LibSin(benchmark::State& state) { run<lib_sin>(state); }
BENCHMARK(BM_LibSin)->Arg(0)->Arg(1);

void BM_DetSin(benchmark::State& state) { run<det_sin>(state); }
BENCHMARK(BM_DetSin)->Arg(0)->Arg(1);

void BM_DetCos(benchmark::State& state) { run<det_cos>(state); }
BENCHMARK(BM_DetCos)->Arg(0)->Arg(1);

}  // namespace
