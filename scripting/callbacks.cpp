// The game's calls into scripts. (Stand-in: the calls the players make, doing
// nothing until the scripting core's callback protocol lands here.)
#include "core/shared_state.h"

int lua_p = 0;

void lua_weapon_attack(int, int) {}
void lua_weapon_draw(int) {}
int lua_gm_playerdamage(int, int amount) { return amount; }
