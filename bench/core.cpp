// Core utility speeds, each beside its baseline in the same run: Rand,
// RndDouble and Rnd against a bare SFMT block fill that reads its outputs
// (items = 64-bit outputs), checksum_bank against a plain byte-summing pass, and
// CompressBank against zlib's compress() alone.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "core/bank_codec.h"
#include "core/random.h"
#include "bench_ratio.h"

namespace {

// Bytes that look like game data: runs, small values, some noise.
Bank sample_bank(size_t n) {
    Bank b(n);
    uint32_t x = 12345;
    for (size_t i = 0; i < n; i++) {
        x = x * 1103515245u + 12345u;
        b.Buf()[i] = (i / 512) % 3 == 0 ? (uint8_t)(x >> 24) : (uint8_t)((i / 64) & 0x1f);
    }
    return b;
}

// Baseline: regenerate the 624-word state and read its 312 64-bit outputs,
// the least any draw of a whole block must do.
void sfmt_block_fill(uint32_t* w) {
    rnd_regen_block(w);
    uint64_t acc = 0;
    for (int i = 0; i < 624; i += 2) acc += (uint64_t)w[i] | (uint64_t)w[i + 1] << 32;
    benchmark::DoNotOptimize(acc);
}

void BM_SfmtBlockFill(benchmark::State& state) {
    alignas(16) uint32_t w[624];
    rnd_seed_block(w, 4321);
    for (auto _ : state) sfmt_block_fill(w);
    state.SetItemsProcessed(state.iterations() * 312);
}
BENCHMARK(BM_SfmtBlockFill);

// The same with the portable (non-vector) recursion, for scale.
void BM_SfmtBlockFillPortable(benchmark::State& state) {
    alignas(16) uint32_t w[624];
    rnd_seed_block(w, 4321);
    for (auto _ : state) {
        rnd_regen_block_portable(w);
        uint64_t acc = 0;
        for (int i = 0; i < 624; i += 2) acc += (uint64_t)w[i] | (uint64_t)w[i + 1] << 32;
        benchmark::DoNotOptimize(acc);
    }
    state.SetItemsProcessed(state.iterations() * 312);
}
BENCHMARK(BM_SfmtBlockFillPortable);

// The renewal with its unit values alone, by path (as below), beside the
// block fill.
void BM_RenewalVsBlockFill(benchmark::State& state) {
    const int path = (int)state.range(0);
    alignas(32) uint32_t w[624], base[624];
    alignas(32) double units[312];
    rnd_seed_block(w, 4321);
    rnd_seed_block(base, 4321);
    if (!rnd_regen_block_units(w, units, path)) {
        state.SkipWithError("this machine lacks the path");
        return;
    }
    auto renew = [&] {
        rnd_regen_block_units(w, units, path);
        benchmark::DoNotOptimize(units);
    };
    for (auto _ : state) renew();
    state.SetItemsProcessed(state.iterations() * 312);
    bench::report_ratio(state, renew, [&] { sfmt_block_fill(base); }, 2000);
}
BENCHMARK(BM_RenewalVsBlockFill)->ArgName("path")->Arg(0)->Arg(1)->Arg(2);

// A block's worth of draws (312), so each call costs one regeneration, like
// the baseline. Bounds as the texturer's chance tests use them.
void rand_block() {
    int acc = 0;
    for (int i = 0; i < 312; i++) acc += Rand(1000, 1);
    benchmark::DoNotOptimize(acc);
}

// The reals are folded in by their bits: summing doubles would time the
// adder's latency chain, not the draws.
void rnd_double_block() {
    uint64_t acc = 0;
    for (int i = 0; i < 312; i++) acc ^= std::bit_cast<uint64_t>(RndDouble());
    benchmark::DoNotOptimize(acc);
}

void rnd_block() {
    uint64_t acc = 0;
    for (int i = 0; i < 312; i++) acc ^= std::bit_cast<uint64_t>(Rnd(-3.0, 3.0));
    benchmark::DoNotOptimize(acc);
}

// Each draw kind beside the block fill, timed alternately (ratio = draw /
// block fill per 312 outputs; the bound is 1.3). The argument is the renewal
// path (rnd_use_refill_path): -1 the best this machine has, else 1 AVX2 or
// 2 SSE2, so each path is timed on a machine that has the wider one.
template <void (*Draws)()>
void BM_DrawsVsBlockFill(benchmark::State& state) {
    if (!rnd_use_refill_path((int)state.range(0))) {
        state.SkipWithError("this machine lacks the path");
        return;
    }
    SeedRnd(4321);
    for (auto _ : state) Draws();
    state.SetItemsProcessed(state.iterations() * 312);
    alignas(16) uint32_t w[624];
    rnd_seed_block(w, 4321);
    bench::report_ratio(state, Draws, [&] { sfmt_block_fill(w); }, 2000);
    rnd_use_refill_path(-1);
}
void renewal_paths(benchmark::internal::Benchmark* b) { b->ArgName("path")->Arg(-1)->Arg(1)->Arg(2); }
BENCHMARK(BM_DrawsVsBlockFill<rand_block>)->Name("BM_Rand")->Apply(renewal_paths);
BENCHMARK(BM_DrawsVsBlockFill<rnd_double_block>)->Name("BM_RndDouble")->Apply(renewal_paths);
BENCHMARK(BM_DrawsVsBlockFill<rnd_block>)->Name("BM_Rnd")->Apply(renewal_paths);

constexpr size_t kChecksumBytes = 16 << 20;

// Baseline: one plain pass over the bytes.
void BM_ByteSumPass(benchmark::State& state) {
    Bank b = sample_bank(kChecksumBytes);
    for (auto _ : state) {
        const uint8_t* p = b.Buf();
        uint64_t sum = 0;
        for (size_t i = 0; i < b.Size(); i++) sum += p[i];
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)b.Size());
}
BENCHMARK(BM_ByteSumPass);

void BM_ChecksumBank(benchmark::State& state) {
    Bank b = sample_bank(kChecksumBytes);
    for (auto _ : state) benchmark::DoNotOptimize(checksum_bank(b));
    state.SetBytesProcessed(state.iterations() * (int64_t)b.Size());
}
BENCHMARK(BM_ChecksumBank);

constexpr size_t kCompressBytes = 1 << 20;

// Baseline: zlib's compress() into a buffer that is already there.
void BM_ZlibCompress(benchmark::State& state) {
    Bank b = sample_bank(kCompressBytes);
    std::vector<uint8_t> out(compressBound(b.Size()));
    for (auto _ : state) {
        uLongf len = out.size();
        compress(out.data(), &len, b.Buf(), b.Size());
        benchmark::DoNotOptimize(len);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)b.Size());
}
BENCHMARK(BM_ZlibCompress);

void BM_CompressBank(benchmark::State& state) {
    Bank b = sample_bank(kCompressBytes);
    for (auto _ : state) benchmark::DoNotOptimize(CompressBank(b));
    state.SetBytesProcessed(state.iterations() * (int64_t)b.Size());
}
BENCHMARK(BM_CompressBank);

void BM_UncompressBank(benchmark::State& state) {
    Bank b = sample_bank(kCompressBytes);
    BankPtr packed = CompressBank(b);
    for (auto _ : state) benchmark::DoNotOptimize(UncompressBank(*packed));
    state.SetBytesProcessed(state.iterations() * (int64_t)b.Size());
}
BENCHMARK(BM_UncompressBank);

// Baseline for the above: zlib's uncompress() into a buffer of the known size.
void BM_ZlibUncompress(benchmark::State& state) {
    Bank b = sample_bank(kCompressBytes);
    BankPtr packed = CompressBank(b);
    std::vector<uint8_t> out(b.Size());
    for (auto _ : state) {
        uLongf len = out.size();
        uncompress(out.data(), &len, packed->Buf() + 4, packed->Size() - 4);
        benchmark::DoNotOptimize(len);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)b.Size());
}
BENCHMARK(BM_ZlibUncompress);

}  // namespace
