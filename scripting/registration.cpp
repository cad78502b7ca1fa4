// Registration functions of the interface: script images and sounds, weapons,
// projectile and object types, game modes and game enders.
#include <lua.hpp>

#include <cstdio>
#include <string>

#include "core/host_settings.h"
#include "core/resources.h"
#include "core/shared_state.h"
#include "core/text.h"
#include "platform/system.h"
#include "scripting/interface.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "terrain/background.h"

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


// Distinct files of each kind that one load may name. The resource tables
// find a path by scanning, so without a bound a script calling loadgfx in a
// loop with ever new paths would cost time growing with the square of its
// calls; paths named before are found through an index kept in the Lua state
// (so it goes with the state at the next load).
constexpr int kMaxResources = 1000;

// loadgfx and loadsfx. The path check comes before "$MISSION" expands: a
// script from another machine must not reach files outside the game's own
// folders. A refused path gives id 0 and a console line on every machine
// alike, so ids stay in step.
int load_resource(lua_State* L, const char* what, const char* index_key, const char* kind,
                  int (*load)(const std::string&), const Tres::Table& table) {
    luaL_checkstring(L, 1);
    lua_settop(L, 1);
    lua_getfield(L, LUA_REGISTRYINDEX, index_key);
    if (!lua_istable(L, 2)) {
        lua_pop(L, 1);
        lua_newtable(L);
        lua_pushvalue(L, 2);
        lua_setfield(L, LUA_REGISTRYINDEX, index_key);
    }
    lua_pushvalue(L, 1);
    lua_rawget(L, 2);
    int known = lua_isnumber(L, 3) ? (int)lua_tointeger(L, 3) : 0;
    lua_pop(L, 1);
    lua_rawgeti(L, 2, 0);
    int count = (int)lua_tointeger(L, 3);
    lua_pop(L, 1);
    int id = 0;
    bool loaded = false;
    {
        std::string path = lua_tostr(L, 1);
        // An indexed id counts while its entry is there and holds the path
        // ("$MISSION" paths are stored expanded, so only their entry is
        // checked).
        auto entry = known > 0 ? Tres::slot(table, known) : nullptr;
        if (entry && (entry->path == path || path.find('$') != std::string::npos)) {
            id = known;
        } else if (!map_bg_path_ok(path)) {
            gui_addcon(std::string(what) + ": path '" + path + "' refused");
        } else if (count >= kMaxResources) {
            gui_addcon(std::string(what) + ": too many " + kind + " (limit is " + std::to_string(kMaxResources) + ")");
        } else {
            id = load(path);
            loaded = true;
        }
    }
    // Lua may raise a memory error from here on: no C++ objects are alive.
    if (loaded) {
        lua_pushinteger(L, count + 1);
        lua_rawseti(L, 2, 0);
        lua_pushvalue(L, 1);
        lua_pushinteger(L, id);
        lua_rawset(L, 2);
    }
    lua_settop(L, 0);
    lua_pushinteger(L, id);
    return 1;
}

// Game modes and enders: 255 of each. Local scripts end the program at the
// 256th; scripts from a host or a replay raise a Lua error instead, so no
// peer can end this machine.
constexpr size_t kMaxModes = 255;

int list_full(lua_State* L, const char* message) {
    if (!lua_untrusted) {
        lua_notify(message, true);
        End(1);
    }
    return luaL_error(L, "%s", message);
}

int setting_index(const std::string& name) {
    for (int i = 0; i < kHostSettings; ++i)
        if (setn[i] == name) return i;
    return -1;
}

// Each bad piece asks the player whether to go on; a freeze text from another
// machine could hold thousands of them, so one call asks at most this often.
constexpr int kMaxFreezeReports = 8;

void check_freeze(const std::string& freeze) {
    const std::string section = "Parsing game mode scripts (addgamemode)";
    size_t start = 0;
    int reports = 0;
    auto report = [&](const std::string& message) {
        if (reports++ < kMaxFreezeReports) luaerror(section, message);
    };
    for (;;) {
        size_t comma = freeze.find(',', start);
        std::string piece = freeze.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t eq = piece.find('=');
        if (eq == std::string::npos) {
            report("Freeze parameters have to contain '=' followed by the freeze value!");
        } else {
            std::string key = trimstr(piece.substr(0, eq));
            int index = setting_index(key);
            if (index < 0)
                report("Freeze parameter '" + key + "' is no valid game setting!");
            else if (key == "gamemode" || key == "gameendertype")
                report("The setting '" + key + "' cannot be frozen!");
        }
        if (comma == std::string::npos || reports >= kMaxFreezeReports) return;
        start = comma + 1;
    }
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

// loadgfx(path): the image id of a file under gfx/; 0 for a refused path.
int lua_loadgfx(lua_State* L) { return load_resource(L, "loadgfx", "grombat.gfxindex", "images", Tres::loadgfx, Tres::gfx); }

// loadsfx(path): the sound id of a file under sfx/; 0 for a refused path.
int lua_loadsfx(lua_State* L) { return load_resource(L, "loadsfx", "grombat.sfxindex", "sounds", Tres::loadsfx, Tres::sfx); }

// addgamemode(internal, name [, score=0, winscore=0, freeze=""])
int lua_addgamemode(lua_State* L) {
    luaL_checkstring(L, 1);
    luaL_checkstring(L, 2);
    int score = lua_optint(L, 3, 0);
    int winscore = lua_optint(L, 4, 0);
    luaL_optstring(L, 5, "");
    if (g_gamemodes.size() >= kMaxModes) return list_full(L, "Too many game modes (limit 256)");
    {
        std::string freeze = lua_tostr(L, 5);
        g_gamemodes.push_back(lua_tostr(L, 2));
        g_gamemodesi.push_back(lua_tostr(L, 1));
        if (score != 1) score = 0;
        if (winscore < 0) winscore = 0;
        if (!freeze.empty()) check_freeze(freeze);
        g_gamemodess.push_back(std::to_string(score) + "," + std::to_string(winscore) + "," + freeze);
    }
    return 0;
}

// addgameender(internal, name)
int lua_addgameender(lua_State* L) {
    luaL_checkstring(L, 1);
    luaL_checkstring(L, 2);
    if (g_gameenders.size() >= kMaxModes) return list_full(L, "Too many game enders (limit 256)");
    g_gameenders.push_back(lua_tostr(L, 2));
    g_gameendersi.push_back(lua_tostr(L, 1));
    return 0;
}
