// Mission functions of the interface. A mission is played on one machine, so
// none writes a record; outside a mission (menu not kMenuMission) the setters
// do nothing and the queries answer 0.
#include <lua.hpp>

#include "core/shared_state.h"
#include "scripting/interface.h"
#include "scripting/lua_args.h"
#include "scripting/terrain_hud_functions.h"
#include "world/player.h"

namespace {

bool in_mission() { return menu == kMenuMission; }

}  // namespace

// win(): ends the map as won.
int lua_win(lua_State*) {
    if (in_mission()) mission_win();
    return 0;
}

// cooldown(): starts the cooldown of every bar slot holding the turn
// player's weapon.
int lua_cooldown(lua_State*) {
    if (!in_mission()) return 0;
    auto p = Tplayer::get(g_turn_player);
    if (!p) return 0;
    for (int s = 0; s < 12; ++s)
        if (g_weaponseti[0][s][0] == p->wpn) g_cooldown[s] = g_weaponsetcd[0][s][0];
    return 0;
}

// cutscene(): the mission HUD's cut-scene mode.
int lua_cutscene(lua_State*) {
    if (in_mission()) hud_cutscene = 1;
    return 0;
}

int lua_inmission(lua_State* L) {
    lua_pushinteger(L, in_mission() ? 1 : 0);
    return 1;
}

// getscore([which=0]): 1 the saved best, else the current score.
int lua_getscore(lua_State* L) {
    int which = lua_optint(L, 1, 0);
    if (!in_mission()) {
        lua_pushinteger(L, 0);
        return 1;
    }
    lua_pushnumber(L, which == 1 ? (double)mission_bestscore() : (double)mission_cscore());
    return 1;
}

// setscore(score [, save=0]): outside a mission the arguments are not read.
int lua_setscore(lua_State* L) {
    if (!in_mission()) return 0;
    int score = lua_checkint(L, 1);
    int save = lua_optint(L, 2, 0);
    mission_setcscore(score);
    if (save == 1) mission_savescore(score);
    return 0;
}
