// Deterministic sine and cosine: argument reduction by pi/2 in extra
// precision, then fixed minimax polynomials on [-pi/4, pi/4].
//
// Every step is a plain IEEE-754 double + - * / (the build forbids contraction
// into fused multiply-add) or exact integer arithmetic, and nothing calls the C
// library, so every machine and every optimisation level gives the same bits.
// The results are within one unit in the last place of the true values.
#include "core/det_math.h"

#include <bit>
#include <cstdint>

namespace {

// pi/2 split into 33-bit pieces (n * piece is exact for n < 2^20) with the
// rounded remainder after each piece.
constexpr double pio2_1 = 0x1.921fb544p+0;            // 1.57079632673412561417
constexpr double pio2_1t = 0x1.0b4611a626331p-34;     // 6.07710050650619224932e-11
constexpr double pio2_2 = 0x1.0b4611a6p-34;           // 6.07710050630396597660e-11
constexpr double pio2_2t = 0x1.3198a2e037073p-69;     // 2.02226624879595063154e-21
constexpr double pio2_3 = 0x1.3198a2ep-69;            // 2.02226624871116645580e-21
constexpr double pio2_3t = 0x1.b839a252049c1p-104;    // 8.47842766036889956997e-32
constexpr double invpio2 = 0x1.45f306dc9c883p-1;      // 2/pi rounded
// pi/2 as a double-double for the large-argument path.
constexpr double pio2_hi = 0x1.921fb54442d18p+0;
constexpr double pio2_lo = 0x1.1a62633145c07p-54;

// Bits of 2/pi after the binary point, 64 to a word, behind one word of zeros
// so that a window may start a little before the point.
constexpr uint64_t two_over_pi[] = {
    0x0000000000000000ULL, 0xA2F9836E4E441529ULL, 0xFC2757D1F534DDC0ULL,
    0xDB6295993C439041ULL, 0xFE5163ABDEBBC561ULL, 0xB7246E3A424DD2E0ULL,
    0x06492EEA09D1921CULL, 0xFE1DEB1CB129A73EULL, 0xE88235F52EBB4484ULL,
    0xE99C7026B45F7E41ULL, 0x3991D639835339F4ULL, 0x9C845F8BBDF9283BULL,
    0x1FF897FFDE05980FULL, 0xEF2F118B5A0A6D1FULL, 0x6D367ECF27CB09B7ULL,
    0x4F463F669E5FEA2DULL, 0x7527BAC7EBE5F17BULL, 0x3D0739F78A5292EAULL,
    0x6BFB5FB11F8D5D08ULL, 0x56033046FC7B6BABULL, 0xF0CFBC209AF4361DULL,
    0xA9E391615EE61B08ULL,
};

// Minimax coefficients of sin(x)/x - 1 and cos(x) - 1 + x^2/2 on [-pi/4, pi/4].
constexpr double S1 = -1.66666666666666324348e-01;
constexpr double S2 = 8.33333333332248946124e-03;
constexpr double S3 = -1.98412698298579493134e-04;
constexpr double S4 = 2.75573137070700676789e-06;
constexpr double S5 = -2.50507602534068634195e-08;
constexpr double S6 = 1.58969099521155010221e-10;
constexpr double C1 = 4.16666666666666019037e-02;
constexpr double C2 = -1.38888888888741095749e-03;
constexpr double C3 = 2.48015872894767294178e-05;
constexpr double C4 = -2.75573143513906633035e-07;
constexpr double C5 = 2.08757232129817482790e-09;
constexpr double C6 = -1.13596475577881948265e-11;

int biased_exponent(double x) { return int((std::bit_cast<uint64_t>(x) >> 52) & 0x7ff); }

// 2^k for k in the normal range, built from its bits (no library call).
double pow2(int k) { return std::bit_cast<double>(uint64_t(k + 1023) << 52); }

// sin(x + y) for |x + y| <= pi/4, y being the small tail of x.
double kernel_sin(double x, double y) {
  double z = x * x;
  double w = z * z;
  double r = S2 + z * (S3 + z * S4) + z * w * (S5 + z * S6);
  double v = z * x;
  return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

// cos(x + y) for |x + y| <= pi/4.
double kernel_cos(double x, double y) {
  double z = x * x;
  double w = z * z;
  double r = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
  double hz = 0.5 * z;
  w = 1.0 - hz;
  return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// Exact product a * b = hi + lo by Veltkamp splitting (no fused multiply-add).
void two_prod(double a, double b, double& hi, double& lo) {
  constexpr double split = 134217729.0;  // 2^27 + 1
  hi = a * b;
  double ca = split * a, cb = split * b;
  double ah = ca - (ca - a), al = a - ah;
  double bh = cb - (cb - b), bl = b - bh;
  lo = ((ah * bh - hi) + ah * bl + al * bh) + al * bl;
}

// Cody-Waite reduction of a moderate |x| (below 2^19 * pi/2): x - n*pi/2 as
// y0 + y1, returning n. Each further piece of pi/2 is used only when the
// previous difference cancelled enough bits to need it.
int reduce_medium(double x, double& y0, double& y1) {
  double t = x < 0 ? -x : x;
  int n = int(t * invpio2 + 0.5);
  double fn = double(n);
  double r = t - fn * pio2_1;
  double w = fn * pio2_1t;
  int j = biased_exponent(t);
  y0 = r - w;
  if (j - biased_exponent(y0) > 16) {
    t = r;
    w = fn * pio2_2;
    r = t - w;
    w = fn * pio2_2t - ((t - r) - w);
    y0 = r - w;
    if (j - biased_exponent(y0) > 49) {
      t = r;
      w = fn * pio2_3;
      r = t - w;
      w = fn * pio2_3t - ((t - r) - w);
      y0 = r - w;
    }
  }
  y1 = (r - y0) - w;
  if (x < 0) {
    y0 = -y0;
    y1 = -y1;
    return -n;
  }
  return n;
}

// Payne-Hanek style reduction of a huge finite |x|: x = m * 2^e with m a
// 53-bit integer; only the bits of 2/pi from 2^-(e-1) on matter modulo 4, so
// m times a 192-bit window of them gives the quadrant and ~130 fraction bits,
// more than the worst cancellation any double can cause.
int reduce_large(double x, double& y0, double& y1) {
  uint64_t bits = std::bit_cast<uint64_t>(x);
  int be = int((bits >> 52) & 0x7ff);
  uint64_t m = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
  int e = be - 1075;
  // The window starts at the bit of weight 2^-(e-1); the table's bit of
  // weight 2^-i sits at position i + 63 counted from its first word's top.
  int g0 = (e - 1) + 63;
  int wi = g0 / 64, sh = g0 % 64;
  uint64_t g[3];
  for (int k = 0; k < 3; ++k) {
    uint64_t a = two_over_pi[wi + k], b = two_over_pi[wi + k + 1];
    g[k] = sh == 0 ? a : (a << sh) | (b >> (64 - sh));
  }
  using u128 = unsigned __int128;
  u128 p2 = u128(m) * g[2], p1 = u128(m) * g[1], p0 = u128(m) * g[0];
  uint64_t r2 = uint64_t(p2);
  u128 s1 = (p2 >> 64) + uint64_t(p1);
  uint64_t r1 = uint64_t(s1);
  uint64_t r0 = uint64_t(p1 >> 64) + uint64_t(p0) + uint64_t(s1 >> 64);
  // r0:r1:r2 is x*2/pi mod 4 with two integer bits on top.
  int n = int(r0 >> 62);
  u128 q = (u128((r0 << 2) | (r1 >> 62)) << 64) | ((r1 << 2) | (r2 >> 62));
  // Read as signed, q is the fraction taken into [-1/2, 1/2) times 2^128.
  bool neg = (q >> 127) != 0;
  if (neg) {
    n += 1;
    q = ~q + 1;
  }
  if (q == 0) {
    y0 = y1 = 0;
  } else {
    int lz = 0;
    while (((q >> (127 - lz)) & 1) == 0) ++lz;
    q <<= lz;
    uint64_t u = uint64_t(q >> 64), v = uint64_t(q);
    double fh = double(u >> 11) * pow2(75 - 128 - lz);
    double fl = double(((u & 0x7ff) << 53) | (v >> 11)) * pow2(11 - 128 - lz);
    // fh + fl (fl well below half an ulp of fh) times pi/2 in double-double.
    double ph, pl;
    two_prod(fh, pio2_hi, ph, pl);
    pl += fh * pio2_lo + fl * pio2_hi;
    y0 = ph + pl;
    y1 = pl - (y0 - ph);
    if (neg) {
      y0 = -y0;
      y1 = -y1;
    }
  }
  if (x < 0) {
    y0 = -y0;
    y1 = -y1;
    n = -n;
  }
  return n & 3;
}

// x - n*pi/2 = y0 + y1 with |y0 + y1| <= pi/4 (a hair more at ties); returns n mod 4.
int reduce(double x, double& y0, double& y1) {
  if (biased_exponent(x) < biased_exponent(0x1.921fb5p+19)) return reduce_medium(x, y0, y1) & 3;
  return reduce_large(x, y0, y1);
}

}  // namespace

double det_sin(double x) {
  int be = biased_exponent(x);
  if (be == 0x7ff) return x - x;                       // NaN or infinity: NaN
  if (be < 0x3fe || (be == 0x3fe && (x < 0 ? -x : x) <= 0x1.921fb54442d18p-1))
    return kernel_sin(x, 0.0);
  double y0, y1;
  switch (reduce(x, y0, y1)) {
    case 0: return kernel_sin(y0, y1);
    case 1: return kernel_cos(y0, y1);
    case 2: return -kernel_sin(y0, y1);
    default: return -kernel_cos(y0, y1);
  }
}

double det_cos(double x) {
  int be = biased_exponent(x);
  if (be == 0x7ff) return x - x;
  if (be < 0x3fe || (be == 0x3fe && (x < 0 ? -x : x) <= 0x1.921fb54442d18p-1))
    return kernel_cos(x, 0.0);
  double y0, y1;
  switch (reduce(x, y0, y1)) {
    case 0: return kernel_cos(y0, y1);
    case 1: return -kernel_sin(y0, y1);
    case 2: return -kernel_cos(y0, y1);
    default: return kernel_sin(y0, y1);
  }
}
