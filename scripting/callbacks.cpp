// Script callbacks: the calling protocol and the game's entry points.
#include "scripting/callbacks.h"

#include <lua.hpp>

#include <cmath>
#include <optional>

#include "core/host_settings.h"
#include "scripting/callback_guard.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"

namespace {

// Host settings that select the active game ender and game mode.
constexpr int kSetGameEnderType = 18;
constexpr int kSetGameMode = 19;

struct Call {
    const std::vector<std::string>* path;
    const std::string* name;
    std::initializer_list<Tlua_arg> args;
    int nresults;
};

// The protected part of the protocol: lookup, arguments, the call.
int run_call(lua_State* L) {
    const Call* c = static_cast<const Call*>(lua_touserdata(L, 1));
    lua_settop(L, 0);
    if (c->path) {
        lua_pushpath(L, *c->path);
        if (lua_istable(L, -1)) {
            lua_getfield(L, -1, c->name->c_str());
            lua_remove(L, -2);
        } else {
            lua_pop(L, 1);
            lua_pushnil(L);
        }
    } else {
        lua_getglobal(L, c->name->c_str());
    }
    for (const Tlua_arg& a : c->args) {
        if (a.integer)
            lua_pushinteger(L, (lua_Integer)a.value);
        else
            lua_pushnumber(L, a.value);
    }
    lua_call(L, (int)c->args.size(), c->nresults);
    return c->nresults;
}

// A result as an integer: numbers (and numeric text) truncated toward zero
// and held to the int range; anything else 0.
int result_int(lua_State* L) {
    if (!lua_isnumber(L, -1)) return 0;
    double d = lua_tonumber(L, -1);
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return 2147483647;
    if (d <= -2147483648.0) return -2147483647 - 1;
    return (int)d;
}

const Tscro* registered(const std::vector<std::shared_ptr<Tscro>>& table, int typ) {
    if (typ <= 0 || (size_t)typ >= table.size()) return nullptr;
    return table[(size_t)typ].get();
}

bool type_call(const std::vector<std::shared_ptr<Tscro>>& table, int typ, const char* fn, const char* what,
               std::initializer_list<Tlua_arg> args, int* result) {
    const Tscro* t = registered(table, typ);
    if (!t) return false;
    // Copied: a callback may register types and so replace the record.
    std::vector<std::string> path = t->pathtable;
    std::string section = std::string(what) + " (" + t->path + "." + fn + ")";
    return lua_callback(&path, fn, args, result, section);
}

std::string active(const std::vector<std::string>& names, int setting) {
    int i = set[setting];
    if (i < 0 || (size_t)i >= names.size()) return "";
    return names[(size_t)i];
}

void mode_call(const char* suffix, const char* what) {
    std::string mode = lua_gamemode_active();
    if (mode.empty()) return;
    lua_callback(nullptr, mode + suffix, {}, nullptr, std::string(what) + " (" + mode + suffix + ")");
}

int standard_rule(int living, int last, bool singleplayer, int& winner) {
    if (living <= (singleplayer ? 0 : 1)) {
        winner = living > 0 ? last : -1;
        return 1;
    }
    return 0;
}

}  // namespace

void lua_pushpath(lua_State* L, const std::vector<std::string>& pathtable) {
    if (pathtable.empty()) {
        lua_pushnil(L);
        return;
    }
    lua_getglobal(L, pathtable[0].c_str());
    for (size_t i = 1; i < pathtable.size(); ++i) {
        if (!lua_istable(L, -1)) {
            lua_pop(L, 1);
            lua_pushnil(L);
            return;
        }
        lua_getfield(L, -1, pathtable[i].c_str());
        lua_remove(L, -2);
    }
}

bool lua_callback(const std::vector<std::string>* path, const std::string& name, std::initializer_list<Tlua_arg> args,
                  int* result, const std::string& section) {
    if (!lua) return false;
    lua_settop(lua, 0);
    Call c{path, &name, args, result ? 1 : 0};
    lua_pushcfunction(lua, run_call);
    lua_pushlightuserdata(lua, &c);
    if (lua_protectedcall(1, c.nresults) != 0) {
        luaerror(section, "");
        return false;
    }
    if (result) *result = result_int(lua);
    return true;
}

void lua_weapon_attack(int weapon, int arg) {
    type_call(Tscro::weapon, weapon, "attack", "Weapon Attack", {Tlua_arg::i(arg)}, nullptr);
}

void lua_weapon_draw(int weapon) {
    Tlua_local_scope local;
    type_call(Tscro::weapon, weapon, "draw", "Weapon Draw", {}, nullptr);
}

int lua_projectile_update(int typ, int id) {
    if (!registered(Tscro::projectile, typ)) return 0;
    lua_pro = id;
    type_call(Tscro::projectile, typ, "update", "Projectile Update", {Tlua_arg::i(id)}, nullptr);
    lua_pro = 0;
    return 1;
}

int lua_projectile_draw(int typ, int id) {
    if (!registered(Tscro::projectile, typ)) return 0;
    Tlua_local_scope local;
    lua_pro = id;
    type_call(Tscro::projectile, typ, "draw", "Projectile Draw", {Tlua_arg::i(id)}, nullptr);
    lua_pro = 0;
    return 1;
}

int lua_object_update(int typ, int id, float x, float y) {
    int busy = 0;
    if (!type_call(Tscro::obj, typ, "update", "Object Update", {Tlua_arg::i(id), Tlua_arg::n(x), Tlua_arg::n(y)},
                   &busy))
        return 0;
    return busy == 1 ? 1 : 0;
}

void lua_object_draw(int typ, int id, float x, float y) {
    Tlua_local_scope local;
    type_call(Tscro::obj, typ, "draw", "Object Draw", {Tlua_arg::i(id), Tlua_arg::n(x), Tlua_arg::n(y)}, nullptr);
}

std::string lua_gamemode_active() { return active(g_gamemodesi, kSetGameMode); }

std::string lua_gameender_active() {
    std::string ender = active(g_gameendersi, kSetGameEnderType);
    return !ender.empty() && ender[0] == '<' ? "" : ender;
}

void lua_gm_start() { mode_call("_gm_start", "Game Mode Start"); }
void lua_gm_update() { mode_call("_gm_update", "Game Mode Update"); }
void lua_gm_draw() {
    Tlua_local_scope local;
    mode_call("_gm_draw", "Game Mode Draw");
}

int lua_gm_endturn(int living, int last, bool singleplayer, int& winner) {
    winner = -1;
    std::string mode = lua_gamemode_active();
    if (mode.empty()) return standard_rule(living, last, singleplayer, winner);
    int r = 0;
    Tlua_local_scope local;
    if (!lua_callback(nullptr, mode + "_gm_endturn", {}, &r, "Game Mode End Turn (" + mode + "_gm_endturn)"))
        return 0;
    if (r == -1) return 1;
    if (r >= 1 && r <= 8) {
        winner = r - 1;
        return 1;
    }
    if (r == -2) return standard_rule(living, last, singleplayer, winner);
    return living == 0 ? 1 : 0;
}

int lua_gm_playerdamage(int player_id, int amount) {
    std::string mode = lua_gamemode_active();
    if (mode.empty()) return amount;
    int r = 0;
    if (!lua_callback(nullptr, mode + "_gm_playerdamage", {Tlua_arg::i(player_id), Tlua_arg::i(amount)}, &r,
                      "Game Mode Player Damage (" + mode + "_gm_playerdamage)"))
        return amount;
    if (r == -1) return -1;
    return r > 0 ? r : amount;
}

int lua_ge_run(int step) {
    std::string ender = lua_gameender_active();
    if (ender.empty()) return 0;
    Tlua_local_scope local;
    lua_callback(nullptr, ender + "_ge_run", {Tlua_arg::i(step)}, nullptr, "Game Ender (" + ender + "_ge_run)");
    return 1;
}

void lua_ai_call(int player, const std::string& name) {
    lua_p = player;
    lua_ailock = 1;
    Tlua_local_scope local;
    lua_callback(nullptr, name, {}, nullptr, "AI Execution (" + name + ")");
    lua_ailock = 0;
}

void lua_mission_call(const std::string& name) {
    const char* what = name == "mission_start"    ? "Mission Start"
                       : name == "mission_update" ? "Mission Update"
                                                  : "Mission Draw";
    std::optional<Tlua_local_scope> local;
    if (name == "mission_draw") local.emplace();
    lua_callback(nullptr, name, {}, nullptr, std::string(what) + " (" + name + ")");
}
