// Deterministic sine and cosine. (Stand-in: forwards to the C library until
// the argument reduction and fixed polynomials land.)
#include "core/det_math.h"

#include <cmath>

double det_sin(double x) { return std::sin(x); }
double det_cos(double x) { return std::cos(x); }
