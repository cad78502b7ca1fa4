// Random numbers: the one process-wide SFMT-19937 generator behind every draw.
//
// Lockstep and replays rest on this: machines that seed alike and then draw in
// the same order get the same numbers, so the generator is bit-exact with the
// published SFMT-19937 (64-bit outputs, little-endian word order) and every
// conversion to an integer or real below is fixed. A draw before any seed
// seeds with 0 first.
#pragma once

#include <cstdint>

// 0 until the first SeedRnd (which a first draw performs with seed 0).
extern int kRndInitialized;

// Restarts the sequence; the seed's 32 bits are read as unsigned.
void SeedRnd(int seed);
// An integer between the bounds, both included, in either order; one output.
int Rand(int low, int high);
// A real between the bounds, the lower one included; one output.
double Rnd(double a, double b);
// The unit value u in [0, 1) from one 64-bit output.
double RndDouble();
// (w + 0.5) * 2^-32 from one 32-bit output w; in (0, 1).
float RndFloat();
// Rand on 64-bit integers; one output.
int64_t Rand64(int64_t low, int64_t high);

// Building blocks, exposed so tests can reach the raw sequence and the exact
// conversions. Game code uses the functions above.
//
// The next raw 64-bit output of the shared generator.
uint64_t rnd_next64();
// The next raw 32-bit output (advances the read index by one word).
uint32_t rnd_next32();

// u = v * 2^-64 rounded to the nearest double; a product that rounds up to 1
// becomes the largest double below 1. Scaling a rounded integer by a power of
// two is exact, so converting first and scaling after gives the same value.
inline double rnd_unit(uint64_t v) {
    double u = (double)v * 0x1p-64;
    return u < 1.0 ? u : 0x1.fffffffffffffp-1;
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
// init_gen_rand with its period certification.
void rnd_seed_block(uint32_t* w, uint32_t seed);
