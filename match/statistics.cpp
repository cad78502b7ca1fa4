// Match statistics (stand-in: the weapon-usage counts scripts book).
#include "core/shared_state.h"

int Ts_weapons::uses[256];
