// The game's calls into scripts. (Stand-in: the calls the players make, doing
// nothing until the scripting core's callback protocol lands here.)
#include <functional>
#include <string>

#include "core/shared_state.h"

int lua_p = 0;

void lua_weapon_attack(int, int) {}
void lua_weapon_draw(int) {}
int lua_gm_playerdamage(int, int amount) { return amount; }

// Stand-in projectile callbacks: the hook (set by tests) plays the script.
int lua_pro = 0;
std::function<void(const std::string& fn, int typ, int id)> lua_projectile_hook;

int lua_projectile_update(int typ, int id) {
    if (!script_projectilepath(typ, nullptr)) return 0;
    lua_pro = id;
    if (lua_projectile_hook) lua_projectile_hook("update", typ, id);
    return 1;
}

int lua_projectile_draw(int typ, int id) {
    if (!script_projectilepath(typ, nullptr)) return 0;
    lua_pro = id;
    if (lua_projectile_hook) lua_projectile_hook("draw", typ, id);
    return 1;
}
