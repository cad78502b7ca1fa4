// Random numbers: the one process-wide SFMT-19937 generator behind every draw.
//
// Lockstep and replays rest on this: machines that seed alike and then draw in
// the same order get the same numbers, so the generator is bit-exact with the
// published SFMT-19937 (64-bit outputs, little-endian word order) and every
// conversion to an integer or real below is fixed. A draw before any seed
// seeds with 0 first.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// 0 until the first SeedRnd (which a first draw performs with seed 0).
extern int kRndInitialized;

// Restarts the sequence; the seed's 32 bits are read as unsigned.
void SeedRnd(int seed);
// An integer between the bounds, both included, in either order; one output.
inline int Rand(int low, int high);
// A real between the bounds, the lower one included; one output.
inline double Rnd(double a, double b);
// The unit value u in [0, 1) from one 64-bit output.
inline double RndDouble();
// (w + 0.5) * 2^-32 from one 32-bit output w; in (0, 1).
float RndFloat();
// Rand on 64-bit integers; one output.
int64_t Rand64(int64_t low, int64_t high);

// Building blocks, exposed so tests can reach the raw sequence and the exact
// conversions. Game code uses the functions above.
//
// The next raw 64-bit output of the shared generator.
inline uint64_t rnd_next64();
// The next raw 32-bit output (advances the read index by one word).
uint32_t rnd_next32();

// u = v * 2^-64 rounded to the nearest double; a product that rounds up to 1
// becomes the largest double below 1. Scaling by a power of two is exact, so
// only v itself is rounded. The halves are placed in the mantissas of 2^52 and
// 2^84 (exact), the offsets removed (exact), and the one final addition rounds
// correctly: the same value as a direct conversion, without the branch and the
// slow conversion instructions that an unsigned 64-bit value costs on x86-64.
inline double rnd_unit(uint64_t v) {
    const double lo = std::bit_cast<double>(0x4330000000000000ull | (v & 0xffffffffu));  // 2^52 + lo
    const double hi = std::bit_cast<double>(0x4530000000000000ull | (v >> 32));          // 2^84 + hi * 2^32
    const double u = ((hi - 0x1.00000001p84) + lo) * 0x1p-64;                            // offset 2^84 + 2^52
    return u < 0x1.fffffffffffffp-1 ? u : 0x1.fffffffffffffp-1;                          // one min instruction
}

// low + trunc(u * (high - low + 1)) with the bounds put in order. The span is
// formed in 64 bits so wide ranges such as INT_MIN..INT_MAX cannot overflow;
// u < 1 and a span of at most 2^32 keep the product below span + 1.
inline int rnd_scale(double u, int low, int high) {
    int64_t r = (int64_t)high - low;
    if (r > 0) return (int)(low + (int64_t)(u * (double)(r + 1)));
    return (int)(high + (int64_t)(u * (double)(1 - r)));
}

// SFMT block regeneration over the 624-word state; the vector path and the
// portable path give identical words (tests compare them).
void rnd_regen_block(uint32_t* w);
void rnd_regen_block_portable(uint32_t* w);
// The 312 unit values of a block w (phase 0) by one conversion path: 0 the
// scalar rnd_unit, 1 AVX2, 2 SSE2 (the one inside the recursion).
// False when this machine lacks the path.
// Every path must give the same bits; tests compare them.
bool rnd_block_units(const uint32_t* w, double* out, int path);
// Renews block w and writes its 312 unit values (phase 0) to out by one
// renewal path, numbered as above: 0 portable with rnd_unit, 1 AVX2, 2 SSE2.
// False, leaving w alone, when this machine lacks the path. Every path must
// give the words of rnd_regen_block_portable and the bits of rnd_unit.
bool rnd_regen_block_units(uint32_t* w, double* out, int path);
// The renewal path of the shared generator: one of the above, or -1 for the
// best this machine has (the default). For benchmarks; false, changing
// nothing, when this machine lacks the path.
bool rnd_use_refill_path(int path);
// init_gen_rand with its period certification.
void rnd_seed_block(uint32_t* w, uint32_t seed);

// Returns the generator to its state at program start (unseeded), so the
// next draw seeds with 0. For tests.
void rnd_forget_seed();

// The draw path is inline so a draw costs little more than reading the block
// it comes from: one compare, one load and one pointer step. The state is
// private to random.cpp in spirit: only the functions of this header touch it.
//
// When a block is renewed, the unit value u of each of its 64-bit outputs is
// converted at once (vectorised, alongside the recursion) into `unit`:
// unit[k] is u of the output that starts at word 2k + phase, where phase is 0
// except after a 32-bit draw (which rebuilds the table), kept at unit[k + phase] so that the table
// always ends at unit + 312: the end test compares with a fixed address.
// `next` points at the unit value of the next 64-bit output, and a 64-bit
// draw reads its word index (2 * (next - unit) - phase) from the pointer.
//
// While kRndInitialized is 0 the cursor stands at the end of the block, so
// the one end-of-block test also catches the first draw of an unseeded
// program, which then seeds with 0.
namespace rnd_detail {
inline constexpr int kWords = 624;  // 32-bit words per block
extern uint32_t state[kWords];
extern double unit[kWords / 2];
extern const double* next;  // unit value of the next 64-bit output; unit + 312 at the end
extern int phase;           // word at which the 64-bit outputs start: 0 or 1
// Seeds with 0 if never seeded, then renews the block and its unit values.
void refill();
}  // namespace rnd_detail

inline uint64_t rnd_next64() {
    using namespace rnd_detail;
    if (next == unit + kWords / 2) [[unlikely]]
        refill();
    const std::ptrdiff_t i = 2 * (next - unit) - phase;
    ++next;
    uint64_t v;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, &state[i], 8);  // word i is the low half
    } else {
        v = (uint64_t)state[i] | (uint64_t)state[i + 1] << 32;
    }
    return v;
}

inline double RndDouble() {
    using namespace rnd_detail;
    if (next == unit + kWords / 2) [[unlikely]]
        refill();
    return *next++;  // == rnd_unit(the next 64-bit output)
}

inline int Rand(int low, int high) { return rnd_scale(RndDouble(), low, high); }

inline double Rnd(double a, double b) {
    double u = RndDouble();
    if (b > a) return a + u * (b - a);
    return b + u * (a - b);
}
