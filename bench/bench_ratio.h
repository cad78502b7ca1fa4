// Side-by-side timing for the benchmarks: a piece of game code and its
// baseline are timed in alternating batches in the same run, and the medians
// and their ratio are reported as counters. Alternating keeps both under the
// same machine load, so the ratio holds even when the absolute times are
// noisy (the machine is shared while building).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

namespace bench {

template <class Fn>
double batch_seconds(int64_t calls, Fn& fn) {
    auto t0 = std::chrono::steady_clock::now();
    for (int64_t i = 0; i < calls; ++i) fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / (double)calls;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Sets counters primary_ns, baseline_ns and ratio (primary / baseline): the
// medians of `samples` alternating batches of `calls` calls each.
template <class Primary, class Baseline>
void report_ratio(benchmark::State& state, Primary primary, Baseline baseline, int64_t calls, int samples = 21) {
    std::vector<double> p, b;
    primary(), baseline();   // warm caches and lazy set-up
    for (int i = 0; i < samples; ++i) {
        p.push_back(batch_seconds(calls, primary));
        b.push_back(batch_seconds(calls, baseline));
    }
    double mp = median(p), mb = median(b);
    state.counters["primary_ns"] = mp * 1e9;
    state.counters["baseline_ns"] = mb * 1e9;
    state.counters["ratio"] = mp / mb;
}

}  // namespace bench
