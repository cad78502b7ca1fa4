// Weapon use (stand-in: the selection rule).
#include "world/weapon.h"

#include "core/shared_state.h"
#include "world/player.h"

int weapon_select(int) {
    if (g_wpn_attacked == 1) return 0;
    g_wpn_attacked = 0;
    return 1;
}

int weapon_attack(Tplayer& player, int state) {
    lua_p = player.id;
    if (script_weaponinfo(player.wpn, nullptr, nullptr)) lua_weapon_attack(player.wpn, state);
    return 0;
}
