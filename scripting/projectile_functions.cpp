// Projectile functions of the interface: create, free and ask about script
// projectiles.
//
// createprojectile acts at once on every machine (every machine runs the same
// callbacks in the same frames); freeprojectile removes at once everywhere and
// the turn owner also writes record 11, so a replay and a late peer agree.
#include <lua.hpp>

#include <algorithm>
#include <cctype>
#include <string>

#include "core/shared_state.h"
#include "scripting/callback_guard.h"
#include "scripting/interface.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "world/frame_buffer.h"
#include "world/projectile.h"

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = (char)std::tolower((unsigned char)c);
    return s;
}

}  // namespace

// createprojectile(type): the new id, or 0.
int lua_createprojectile(lua_State* L) {
    int type = lua_checkint(L, 1);
    if (lua_refuse_local("createprojectile")) {
        lua_pushinteger(L, 0);
        return 1;
    }
    if (type <= 0) {
        lua_notify("Lua 'createprojectile' FAILED", false);
        gui_addcon("Lua 'createprojectile' FAILED");
        lua_pushinteger(L, 0);
        return 1;
    }
    // Every machine runs every projectile's callbacks every frame: a script
    // that keeps creating them would stall all machines alike. The count is
    // shared state, so the refusal falls alike everywhere too.
    if (Tpro::list.size() >= (size_t)kMaxProjectiles) {
        gui_addcon("Lua 'createprojectile' FAILED");
        lua_pushinteger(L, 0);
        return 1;
    }
    auto p = Tpro::Create();
    p->typ = type;
    g_turn_idletimer = std::max(g_turn_idletimer, 50);
    lua_pushinteger(L, p->id);
    return 1;
}

// freeprojectile(id): removal now, and record 11 from the turn owner.
int lua_freeprojectile(lua_State* L) {
    int id = lua_checkint(L, 1);
    if (!lua_refuse_local("freeprojectile")) Tpro::Remove(id);
    if (g_player == g_turn_netplayer && Tfb::fits(3)) {
        Tfb::wbyte(11);
        Tfb::wshort(id & 0xFFFF);
        Tfb::copyloc(3);
    }
    return 0;
}

// projectileid() / getprojectileid(): the id whose callback runs.
int lua_projectileid(lua_State* L) {
    if (lua_pro == 0) gui_addcon("Lua 'getprojectileid'/'projectileid' FAILED");
    lua_pushinteger(L, lua_pro);
    return 1;
}

int lua_getprojectiletype(lua_State* L) {
    auto p = Tpro::get(lua_checkint(L, 1));
    lua_pushinteger(L, p ? p->typ : 0);
    return 1;
}

// getprojectileinfo(type, key): "table", "flags" or "weapon" of a type.
int lua_getprojectileinfo(lua_State* L) {
    int type = lua_checkint(L, 1);
    luaL_checkstring(L, 2);
    std::string key = lower(lua_tostr(L, 2));
    const Tscro* t = type >= 0 && type <= 255 && (size_t)type < Tscro::projectile.size()
                         ? Tscro::projectile[(size_t)type].get()
                         : nullptr;
    std::string v;
    if (t) {
        if (key == "table") v = t->path;
        else if (key == "flags") v = t->flags;
        else if (key == "weapon") v = t->name;
    }
    lua_pushstr(L, v);
    return 1;
}
