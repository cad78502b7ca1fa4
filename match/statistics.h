// Match statistics: per-turn samples (stand-in: counts the samples taken).
#pragma once

#include "core/shared_state.h"

struct Ts_turn {
    static int samples;   // turn samples taken in this process
    static int addturndata();
};
