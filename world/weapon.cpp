// Weapon use (stand-in: the selection rule).
#include "world/weapon.h"

#include "core/shared_state.h"

int weapon_select(int) {
    if (g_wpn_attacked == 1) return 0;
    g_wpn_attacked = 0;
    return 1;
}
