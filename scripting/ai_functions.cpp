// AI and map-node functions of the interface. The AI functions press keys and
// choose the timer and weapon only while the AI lock is held (the AI script's
// callbacks, on the machine that holds the turn); the keys reach the other
// machines in the frame's key byte. The node functions only read.
#include <lua.hpp>

#include <algorithm>
#include <cctype>
#include <string>

#include "core/shared_state.h"
#include "scripting/interface.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "scripting/turn_state.h"
#include "terrain/spawns.h"
#include "world/player.h"
#include "world/team.h"

namespace {

int press(int& flag) {
    if (lua_ailock == 1) flag = 1;
    return 0;
}

std::string lower(std::string s) {
    for (char& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

const Tmap_spawn* node(const std::string& name) {
    for (auto& n : Tmap_spawn::nodes)
        if (n->nodename == name) return n.get();
    return nullptr;
}

}  // namespace

int lua_ai_up(lua_State*) { return press(lua_keyup); }
int lua_ai_down(lua_State*) { return press(lua_keydown); }
int lua_ai_left(lua_State*) { return press(lua_keyleft); }
int lua_ai_right(lua_State*) { return press(lua_keyright); }
int lua_ai_jump(lua_State*) { return press(lua_keyjump); }
int lua_ai_backjump(lua_State*) { return press(lua_keybackjump); }
int lua_ai_attack(lua_State*) { return press(lua_keyattack); }

// ai_settimer(timer): 1..10 for this frame.
int lua_ai_settimer(lua_State* L) {
    int t = std::clamp(lua_checkint(L, 1), 1, 10);
    if (lua_ailock == 1) lua_timersetto = t;
    return 0;
}

// ai_weapon(name): the first weapon of that name (any letter case), chosen
// when its first round has come and the acting player's team has one left.
int lua_ai_weapon(lua_State* L) {
    luaL_checkstring(L, 1);
    std::string name = lower(lua_tostr(L, 1));
    int chosen = 0;
    if (lua_ailock == 1) {
        for (size_t i = 0; i < Tscro::weapon.size() && i < 256; ++i) {
            const Tscro* w = Tscro::weapon[i].get();
            if (!w || lower(w->name) != name) continue;
            auto p = lua_p > 0 ? Tplayer::get(lua_p) : nullptr;
            auto t = p ? Tteam::get(p->team) : nullptr;
            if (g_round >= w->firstuse && t && t->wamount[i] > 0) {
                hud_wpnsel = (int)i;
                chosen = 1;
            }
            break;
        }
    }
    lua_pushinteger(L, chosen);
    return 1;
}

// nodetable([ignored]): the names of the map's nodes in map order.
int lua_nodetable(lua_State* L) {
    lua_optint(L, 1, 0);
    lua_createtable(L, (int)std::min<size_t>(Tmap_spawn::nodes.size(), 1u << 20), 0);
    int i = 0;
    for (auto& n : Tmap_spawn::nodes) {
        lua_pushstr(L, n->nodename);
        lua_rawseti(L, -2, ++i);
    }
    return 1;
}

int lua_getnodex(lua_State* L) {
    luaL_checkstring(L, 1);
    const Tmap_spawn* n = node(lua_tostr(L, 1));
    lua_pushinteger(L, n ? n->x : 0);
    return 1;
}

int lua_getnodey(lua_State* L) {
    luaL_checkstring(L, 1);
    const Tmap_spawn* n = node(lua_tostr(L, 1));
    lua_pushinteger(L, n ? n->y : 0);
    return 1;
}
