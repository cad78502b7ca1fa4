// The largest maps the game can make, loaded from their packs, against
// generating a map of the same size in the same run: wall time and peak
// resident memory, each measured in a child process of its own so that one
// figure's peak never hides another's. Run from the build folder (gfx/ there
// holds the terrain textures).
//
// - four full-map triangles, a solid mask and an image map, 30000 x 30000:
//   ratio_time and ratio_memory against generating (for the image map the
//   baseline memory adds its inflated pack);
// - inflating the image map's pack alone: peak against its content;
// - every map type packed by the game at 30000 x 30000 and loaded again
//   (ok = 1 when the reload gave the same pack).
// Needs about 8 GB of memory; not part of the tests.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/bank_codec.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "terrain/generate.h"
#include "terrain/mapfile.h"
#include "terrain/pack.h"
#include "terrain/shapes.h"
#include "terrain/tiles.h"
#include "tests/support/streamed_pack.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kSide = 30000;

struct Cost {
    double seconds = 0, peak_mb = 0;
    int ok = 0;
};

// Runs body in a child: its wall time, its peak resident memory and its result.
Cost in_child(const std::function<int()>& body) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        auto t0 = std::chrono::steady_clock::now();
        int ok = body();
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        double out[2] = {s, (double)ok};
        ssize_t written = write(fds[1], out, sizeof out);
        _exit(written == sizeof out ? 0 : 1);
    }
    close(fds[1]);
    double in[2] = {0, 0};
    ssize_t got = read(fds[0], in, sizeof in);
    close(fds[0]);
    int status = 0;
    rusage use{};
    wait4(pid, &status, 0, &use);
    Cost c;
    if (got == sizeof in && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        c.seconds = in[0];
        c.ok = (int)in[1];
    }
    c.peak_mb = (double)use.ru_maxrss / 1024.0;
    return c;
}

Bytes head(int type) {
    Bytes b{(uint8_t)type};
    put16(b, kSide);
    put16(b, kSide);
    return b;
}

Bytes triangles_pack() {
    Bytes b = head(0);
    put32(b, 4), put32(b, 1), b.push_back(0);
    const int m = kSide - 1;
    for (auto t : {std::vector<int>{0, 0, m, 0, 0, m}, {m, 0, m, m, 0, m}, {0, 0, m, m, 0, m}, {m, 0, 0, m, m, m}}) {
        b.push_back(253);
        put32(b, t[0]), put32(b, t[1]), put32(b, t[2]), put32(b, t[3]), put32(b, t[4]), put32(b, t[5]);
    }
    Bank raw(b.data(), b.size());
    return CompressBank(raw)->Bytes();
}

Bytes mask_pack() {
    Bytes b = head(2);
    put32(b, 7), b.push_back(0);
    return streamed_pack(b, Bytes{0xFF}, (int64_t)kSide * kSide / 8, {});
}

Bytes image_pack() { return streamed_pack(head(1), Bytes{0x80, 0x60, 0x40}, (int64_t)kSide * kSide, {}); }

const std::string kFolder = "/tmp";

std::string write_pack(const std::string& name, const Bytes& bytes) {
    std::string path = kFolder + "/bench_map_load_" + std::to_string((long)getpid()) + "_" + name + ".gfm";
    SaveBank(Bank(bytes.data(), bytes.size()), path);
    return path;
}

// Generating a 30000 x 30000 map: the baseline, measured once per run. The
// cave form, whose rock fills the whole map as the loaded maps below do (a
// hill map holds terrain in a strip along the bottom only).
const Cost& generating() {
    static Cost c = in_child([] {
        map_generate(kSide, kSide, 1, 0, 3);
        return map_tiles_held() > 0 ? 1 : 0;
    });
    return c;
}

void report(benchmark::State& state, const Cost& load, double extra_baseline_mb) {
    const Cost& gen = generating();
    state.counters["seconds"] = load.seconds;
    state.counters["peak_mb"] = load.peak_mb;
    state.counters["ok"] = load.ok;
    state.counters["baseline_seconds"] = gen.seconds;
    state.counters["baseline_peak_mb"] = gen.peak_mb + extra_baseline_mb;
    state.counters["ratio_time"] = load.seconds / gen.seconds;
    state.counters["ratio_memory"] = load.peak_mb / (gen.peak_mb + extra_baseline_mb);
}

void load_pack(benchmark::State& state, const Bytes& pack, double extra_baseline_mb) {
    const std::string path = write_pack("in", pack);
    Cost c;
    for (auto _ : state)
        c = in_child([&] {
            map_setup(3, 3, 1);
            return map_load(path) == 1 && map_xsize == kSide && map_tiles_held() > 0 ? 1 : 0;
        });
    DeleteFile(path);
    report(state, c, extra_baseline_mb);
}

void BM_LoadFourFullMapTriangles(benchmark::State& state) { load_pack(state, triangles_pack(), 0); }
BENCHMARK(BM_LoadFourFullMapTriangles)->Iterations(1)->Unit(benchmark::kSecond);

void BM_LoadSolidMask(benchmark::State& state) { load_pack(state, mask_pack(), 0); }
BENCHMARK(BM_LoadSolidMask)->Iterations(1)->Unit(benchmark::kSecond);

void BM_LoadImageMap(benchmark::State& state) {
    load_pack(state, image_pack(), (5.0 + 3.0 * kSide * kSide) / (1 << 20));
}
BENCHMARK(BM_LoadImageMap)->Iterations(1)->Unit(benchmark::kSecond);

// Inflating the largest pack: peak against its content (the bank is all the
// child holds besides the program).
void BM_InflateLargestPack(benchmark::State& state) {
    const Bytes pack = image_pack();
    Cost c;
    for (auto _ : state)
        c = in_child([&] {
            Bank packed(pack.data(), pack.size());
            BankPtr raw = UncompressBank(packed);
            return raw ? 1 : 0;
        });
    const double content_mb = (5.0 + 3.0 * kSide * kSide) / (1 << 20);
    const Cost idle = in_child([] { return 1; });
    state.counters["ok"] = c.ok;
    state.counters["seconds"] = c.seconds;
    state.counters["peak_mb"] = c.peak_mb - idle.peak_mb;
    state.counters["content_mb"] = content_mb;
    state.counters["ratio"] = (c.peak_mb - idle.peak_mb) / content_mb;
}
BENCHMARK(BM_InflateLargestPack)->Iterations(1)->Unit(benchmark::kSecond);

// Each map type built at the largest size, packed by the game, loaded from
// the file and packed again: ok = 1 when both packs are the same bytes.
void BM_EveryTypeTheGamePacksLoads(benchmark::State& state) {
    const int type = (int)state.range(0);
    const std::string path = write_pack("roundtrip", {});
    Cost c;
    for (auto _ : state)
        c = in_child([&] {
            switch (type) {
                case 0:
                    map_setup(300, 300, 1);
                    map_type = "000|5|0";
                    Tmap_shape::add(253, 0, 0, kSide - 1, 0)->x3 = 0;
                    Tmap_shape::list.back()->y3 = kSide - 1;
                    Tmap_shape::add(255, 100, 100, kSide - 200, kSide - 200);
                    Tmap_shape::perform();
                    break;
                case 1:
                case 2:
                    map_generate(kSide, kSide, 3, 0, 1);
                    map_type = type == 1 ? "001" : "002|3|0";
                    break;
                default:
                    map_generate(kSide, kSide, 3, 0, 1);
                    break;
            }
            if (map_save(path) != 1) return 0;
            BankPtr first = map_bank;
            map_setup(3, 3, 1);
            map_bank = nullptr;
            if (map_load(path) != 1) return 0;
            map_compress();
            return map_bank && map_bank->Bytes() == first->Bytes() ? 1 : 0;
        });
    DeleteFile(path);
    state.counters["ok"] = c.ok;
    state.counters["seconds"] = c.seconds;
    state.counters["peak_mb"] = c.peak_mb;
}
BENCHMARK(BM_EveryTypeTheGamePacksLoads)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
