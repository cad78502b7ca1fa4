// Benchmark: match steps per second of the headless match driver in a busy
// match (three teams of three, one played by the AI, a laser sweep and the
// flood from the first round), beside real time's 50 steps per second. Each
// iteration plays one whole match from a fresh set-up; the set-up (map
// generation, script loading) is left out of the time.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/platform.h"
#include "tests/match/match_driver.h"

namespace {

void init_platform() {
    static bool done = [] {
        PlatformInit(PlatformOptions{true});
        return true;
    }();
    (void)done;
}

void BM_MatchSteps(benchmark::State& state) {
    init_platform();
    int64_t calls = 0;
    uint32_t seed = 11;
    // Kept past its iteration: removing its temporary folder is not timed.
    std::unique_ptr<match_driver::Driver> last;
    for (auto _ : state) {
        state.PauseTiming();
        last.reset();
        match_driver::Options o;
        o.seed = seed++;
        o.teams = 3;
        o.players = 3;
        o.ai_teams = 1;
        o.twin = 0;
        o.ender = "<flood+laser-top>";
        last = std::make_unique<match_driver::Driver>(o);
        auto& d = *last;
        d.setup(1);
        auto& r = d.r;
        state.ResumeTiming();
        // The host's loop of play(), without the set-up.
        for (r.calls = 0; r.calls < o.max_calls && menu == 2; ++r.calls) {
            in_ms += 20;
            d.human_keys();
            game();
        }
        calls += r.calls;
    }
    state.counters["steps_per_s"] = benchmark::Counter((double)calls, benchmark::Counter::kIsRate);
    // Real time runs 50 steps per second: the factor the driver runs faster.
    state.counters["x_realtime"] =
        benchmark::Counter((double)calls / 50.0, benchmark::Counter::kIsRate);
    state.counters["realtime_steps_per_s"] = 50;
}
BENCHMARK(BM_MatchSteps)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
