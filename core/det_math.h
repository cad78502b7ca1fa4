// Deterministic sine and cosine (radians) for everything that changes the
// shared world: the same bits on every IEEE-754 machine and optimisation level.
#pragma once

double det_sin(double x);
double det_cos(double x);
