// Weapon use.
#include "world/weapon.h"

#include "core/shared_state.h"
#include "world/player.h"

int weapon_attack(Tplayer& player, int state) {
    if (menu == 3 && mission_weaponempty() != 0) return 0;
    lua_p = player.id;
    if (!script_weaponinfo(player.wpn, nullptr, nullptr)) return 0;
    lua_weapon_attack(player.wpn, state);
    return 0;
}

int weapon_selectable() { return g_wpn_attacked == 1 ? 0 : 1; }

int weapon_select(int) {
    if (!weapon_selectable()) return 0;
    g_wpn_attacked = 0;
    hud_drawpos = 0;
    hud_drawposset = 0;
    hud_drawposx = 0;
    hud_drawposy = 0;
    hud_drawtimer = -1;
    hud_drawtimerval = 0;
    hud_drawtimermin = 0;
    hud_drawtimermax = 0;
    hud_drawtimertemp = 0;
    for (const char* name :
         {"weapon_charge", "weapon_mode", "weapon_shots", "weapon_timer", "weapon_x", "weapon_y", "weapon_position"})
        lua_setglobalint(name, 0);
    return 1;
}
