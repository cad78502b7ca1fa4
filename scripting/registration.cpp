// Registration functions of the interface that enter script types into the
// script object registry.
#include <lua.hpp>

#include <cstdio>
#include <string>

#include "scripting/interface.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"

namespace {

int clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// A full table raises its message as a script error (only reached for
// received and replayed scripts; local ones end the program in Tscro).
int registered(lua_State* L, int id, int kind) {
    if (id == 0) {
        char message[64];
        snprintf(message, sizeof message, "%s", Tscro::overflow_message(kind).c_str());
        return luaL_error(L, "%s", message);
    }
    lua_pushinteger(L, id);
    return 1;
}


}  // namespace

// The functions below check every argument before any text is copied out of
// Lua: an argument error unwinds with longjmp, past C++ destructors.

// addweapon(path, name, image [, ammo=100, firstuse=0, flags="", initiallock=0])
int lua_addweapon(lua_State* L) {
    luaL_checkstring(L, 1);
    luaL_checkstring(L, 2);
    int image = lua_checkint(L, 3);
    int ammo = clamp(lua_optint(L, 4, 100), 0, 100);
    int firstuse = clamp(lua_optint(L, 5, 0), 1, 10);
    luaL_optstring(L, 6, "");
    int lock = lua_optint(L, 7, 0);
    int id;
    {
        std::string path = lua_tostr(L, 1), flags = lua_tostr(L, 6);
        id = Tscro::addweapon(path, lua_tostr(L, 2), image, ammo, firstuse, flags, lock);
        if (id) {
            lua_lastdef_weapon = path;
            lua_lastdef_flags = flags;
        }
    }
    return registered(L, id, 0);
}

// addweaponinfo(text): describes the weapon registered last.
int lua_addweaponinfo(lua_State* L) {
    luaL_checkstring(L, 1);
    Tscro::addweaponinfo(lua_lastdef_weapon, lua_tostr(L, 1));
    return 0;
}

// addprojectile(path [, flags=""]): a projectile type of the weapon registered last.
int lua_addprojectile(lua_State* L) {
    luaL_checkstring(L, 1);
    luaL_optstring(L, 2, "");
    int id = Tscro::addprojectile(lua_tostr(L, 1), lua_lastdef_weapon, lua_tostr(L, 2));
    return registered(L, id, 1);
}

// addobject(path, image)
int lua_addobject(lua_State* L) {
    luaL_checkstring(L, 1);
    int image = lua_checkint(L, 2);
    int id = Tscro::addobject(lua_tostr(L, 1), image);
    return registered(L, id, 2);
}
