// Weapon stock functions of the interface: the registered weapons, and each
// team's stock and locks. Weapons are named by their Lua table path. The two
// setters change shared match state and so write world-event records, only
// on the machine that holds the turn.
#include <lua.hpp>

#include "core/shared_state.h"
#include "scripting/interface.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "world/frame_buffer.h"
#include "world/team.h"

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return s;
}

// Records 45 and 46: team id (low 8 bits), weapon index, value.
void write_stock_record(int code, int team, int weapon, int value) {
    if (g_player != g_turn_netplayer || !Tfb::fits(4)) return;
    Tfb::wbyte(code);
    Tfb::wbyte(team & 255);
    Tfb::wbyte(weapon);
    Tfb::wbyte(value);
    Tfb::copyloc(4);
}

// The setters' common part: path, team, value; a record when the team exists
// and the path names a weapon.
void set_stock(lua_State* L, int code) {
    luaL_checkstring(L, 1);
    int team = lua_checkint(L, 2);
    int value = lua_checkint(L, 3);
    if (code == 45)
        value = value < 0 ? 0 : value > 100 ? 100 : value;
    else
        value = value != 0 ? 1 : 0;
    int weapon = Tscro::getbytable(0, lua_tostr(L, 1));
    if (weapon > 0 && Tteam::get(team)) write_stock_record(code, team, weapon, value);
}

}  // namespace

// getweaponinfo(path, key): -1 for an unknown path; 0 for an unknown key.
int lua_getweaponinfo(lua_State* L) {
    luaL_checkstring(L, 1);
    luaL_checkstring(L, 2);
    std::string path = lua_tostr(L, 1), key = lower(lua_tostr(L, 2));
    int id = Tscro::getbytable(0, path);
    if (id <= 0) {
        lua_pushinteger(L, -1);
        return 1;
    }
    const Tscro& w = *Tscro::weapon[(size_t)id];
    int group, x, y;
    Tscro::getweaponposition(path, group, x, y);
    if (key == "id")
        lua_pushinteger(L, id);
    else if (key == "name")
        lua_pushstr(L, w.name);
    else if (key == "flags")
        lua_pushstr(L, w.flags);
    else if (key == "image")
        lua_pushnumber(L, w.image);
    else if (key == "x")
        lua_pushinteger(L, x);
    else if (key == "y")
        lua_pushinteger(L, y);
    else if (key == "group")
        lua_pushinteger(L, group);
    else if (key == "firstuse")
        lua_pushnumber(L, w.firstuse);
    else
        lua_pushinteger(L, 0);
    return 1;
}

// getweaponlist(): the paths of all registered weapons, in slot order.
int lua_getweaponlist(lua_State* L) {
    int n = 0;
    for (size_t i = 1; i < Tscro::weapon.size(); ++i)
        if (Tscro::weapon[i]) ++n;
    lua_createtable(L, n, 0);
    int k = 0;
    for (size_t i = 1; i < Tscro::weapon.size(); ++i) {
        if (!Tscro::weapon[i]) continue;
        lua_pushstr(L, Tscro::weapon[i]->path);
        lua_rawseti(L, -2, ++k);
    }
    return 1;
}

// getweaponcount(path, team): the team's stock; 0 without the team.
int lua_getweaponcount(lua_State* L) {
    luaL_checkstring(L, 1);
    int team = lua_checkint(L, 2);
    auto t = Tteam::get(team);
    int weapon = Tscro::getbytable(0, lua_tostr(L, 1));
    lua_pushnumber(L, t ? t->wamount[weapon & 255] : 0);
    return 1;
}

// setweaponcount(path, team, count): record 45 with count held to 0..100.
int lua_setweaponcount(lua_State* L) {
    set_stock(L, 45);
    return 0;
}

// getweaponlock(path, team): a boolean.
int lua_getweaponlock(lua_State* L) {
    luaL_checkstring(L, 1);
    int team = lua_checkint(L, 2);
    auto t = Tteam::get(team);
    int weapon = Tscro::getbytable(0, lua_tostr(L, 1));
    lua_pushboolean(L, t && weapon > 0 && t->wlocked[weapon & 255] == 1);
    return 1;
}

// setweaponlock(path, team, lock): record 46 with lock 0 or 1.
int lua_setweaponlock(lua_State* L) {
    set_stock(L, 46);
    return 0;
}
