// Match statistics (stand-ins: the weapon-usage counts scripts book and the
// count of per-turn samples).
#include "match/statistics.h"

int Ts_weapons::uses[256];

int Ts_turn::samples = 0;
int Ts_turn::addturndata() {
    samples++;
    return 0;
}
