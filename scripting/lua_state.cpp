// The Lua state: sandbox, constants, interface names, loaders and cost limits.
#include "scripting/lua_state.h"

#include <lua.hpp>

#include <cstdlib>

#include "core/det_math.h"
#include "platform/files.h"
#include "platform/system.h"
#include "scripting/interface.h"
#include "scripting/lua_patterns.h"
#include "scripting/script_objects.h"

lua_State* lua = nullptr;
ChannelPtr lua_channel[10];
std::vector<std::string> g_gamemodes;
std::vector<std::string> g_gamemodesi;
std::vector<std::string> g_gamemodess;
std::vector<std::string> g_gameenders;
std::vector<std::string> g_gameendersi;

long long lua_instruction_budget = kLuaInstructionBudget;
size_t lua_memory_limit = kLuaMemoryLimit;
long long lua_instructions_used = 0;

std::function<void(const std::string&, bool)> lua_notify = [](const std::string& text, bool serious) {
    Notify(text, serious);
};
std::function<int(const std::string&)> lua_proceed = [](const std::string& text) { return Proceed(text, true); };

namespace {

// The count hook runs every kHookStep instructions; after the budget is spent
// it runs at every instruction, so that a script catching the error with
// pcall fails again at its very next instruction.
constexpr int kHookStep = 1000;

// Nesting of lua_protectedcall; the budget and the heap cap apply only inside,
// so that the game's own pushes never fail and never meet a Lua panic.
int g_guard_depth = 0;
size_t g_heap = 0;

void* heap_alloc(void*, void* ptr, size_t osize, size_t nsize) {
    if (nsize == 0) {
        std::free(ptr);
        g_heap -= osize;
        return nullptr;
    }
    if (nsize > osize && g_guard_depth > 0 && g_heap - osize + nsize > lua_memory_limit) return nullptr;
    void* p = std::realloc(ptr, nsize);
    if (p) g_heap = g_heap - osize + nsize;
    return p;
}

void count_hook(lua_State* L, lua_Debug*) {
    if (g_guard_depth == 0) return;
    int step = lua_gethookcount(L);
    lua_instructions_used += step;
    if (lua_instructions_used > lua_instruction_budget) {
        if (step != 1) lua_sethook(L, count_hook, LUA_MASKCOUNT, 1);
        luaL_error(L, "script ran too long (more than %d instructions)", (int)lua_instruction_budget);
    } else if (step != kHookStep) {
        lua_sethook(L, count_hook, LUA_MASKCOUNT, kHookStep);
    }
}

int on_panic(lua_State* L) {
    lua_notify("Lua Script Error:\n" + lua_tostr(L, -1), true);
    End(1);
}

const char* const kRefusedChunk = "precompiled chunks are refused";

bool precompiled(const char* s, size_t len) { return len > 0 && (unsigned char)s[0] == 27; }

int safe_loadbuffer(lua_State* L, const char* s, size_t len, const char* name) {
    if (precompiled(s, len)) {
        lua_pushstring(L, kRefusedChunk);
        return LUA_ERRSYNTAX;
    }
    return luaL_loadbuffer(L, s, len, name);
}

// loadstring(text [, name]) without precompiled chunks.
int lua_safe_loadstring(lua_State* L) {
    size_t len;
    const char* s = luaL_checklstring(L, 1, &len);
    const char* name = luaL_optstring(L, 2, s);
    if (safe_loadbuffer(L, s, len, name) == 0) return 1;
    lua_pushnil(L);
    lua_insert(L, -2);
    return 2;
}

// load(reader [, name]): the pieces are gathered first (the heap cap bounds
// them), so the first byte can be checked before Lua sees any of it.
int lua_safe_load(lua_State* L) {
    luaL_checktype(L, 1, LUA_TFUNCTION);
    const char* name = luaL_optstring(L, 2, "=(load)");
    lua_settop(L, 2);
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (;;) {
        lua_pushvalue(L, 1);
        lua_call(L, 0, 1);
        if (lua_isnil(L, -1)) {
            lua_pop(L, 1);
            break;
        }
        if (!lua_isstring(L, -1)) return luaL_error(L, "reader function must return a string");
        if (lua_objlen(L, -1) == 0) {
            lua_pop(L, 1);
            break;
        }
        luaL_addvalue(&b);
    }
    luaL_pushresult(&b);
    size_t len;
    const char* s = lua_tolstring(L, -1, &len);
    if (safe_loadbuffer(L, s, len, name) == 0) return 1;
    lua_pushnil(L);
    lua_insert(L, -2);
    return 2;
}

// string.rep that checks the size first: the library's loop runs in C out of
// the hook's reach and never ends for an empty string and a huge count.
int lua_safe_rep(lua_State* L) {
    size_t len;
    const char* s = luaL_checklstring(L, 1, &len);
    lua_Integer n = luaL_checkinteger(L, 2);
    if (n <= 0 || len == 0) {
        lua_pushliteral(L, "");
        return 1;
    }
    if ((unsigned long long)n > lua_memory_limit / len) return luaL_error(L, "string.rep result too large");
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (lua_Integer i = 0; i < n; ++i) luaL_addlstring(&b, s, len);
    luaL_pushresult(&b);
    return 1;
}

int lua_det_sin(lua_State* L) {
    lua_pushnumber(L, det_sin(luaL_checknumber(L, 1)));
    return 1;
}
int lua_det_cos(lua_State* L) {
    lua_pushnumber(L, det_cos(luaL_checknumber(L, 1)));
    return 1;
}
int lua_det_tan(lua_State* L) {
    double x = luaL_checknumber(L, 1);
    lua_pushnumber(L, det_sin(x) / det_cos(x));
    return 1;
}

int lua_unbuilt(lua_State* L) {
    return luaL_error(L, "'%s' is not available yet in this version of Grombat Fraycup",
                      lua_tostring(L, lua_upvalueindex(1)));
}

void open_library(lua_State* L, lua_CFunction open, const char* name) {
    lua_pushcfunction(L, open);
    lua_pushstring(L, name);
    lua_call(L, 1, 0);
}

void set_field_function(lua_State* L, const char* table, const char* field, lua_CFunction fn) {
    lua_getglobal(L, table);
    lua_pushcfunction(L, fn);
    lua_setfield(L, -2, field);
    lua_pop(L, 1);
}

void build_sandbox(lua_State* L) {
    open_library(L, luaopen_base, "");
    open_library(L, luaopen_table, LUA_TABLIBNAME);
    open_library(L, luaopen_string, LUA_STRLIBNAME);
    open_library(L, luaopen_math, LUA_MATHLIBNAME);
    open_library(L, luaopen_os, LUA_OSLIBNAME);

    for (const char* name : {"loadfile", "newproxy"}) {
        lua_pushnil(L);
        lua_setglobal(L, name);
    }
    lua_register(L, "loadstring", lua_safe_loadstring);
    lua_register(L, "load", lua_safe_load);
    lua_newtable(L);
    lua_setglobal(L, "io");

    // os keeps what tells the time; the values differ per machine.
    lua_getglobal(L, "os");
    lua_newtable(L);
    for (const char* name : {"time", "clock", "date", "difftime"}) {
        lua_getfield(L, -2, name);
        lua_setfield(L, -2, name);
    }
    lua_setglobal(L, "os");
    lua_pop(L, 1);

    set_field_function(L, "string", "rep", lua_safe_rep);
    lua_install_patterns(L);

    set_field_function(L, "math", "sin", lua_det_sin);
    set_field_function(L, "math", "cos", lua_det_cos);
    set_field_function(L, "math", "tan", lua_det_tan);
}

struct Constant {
    const char* name;
    int value;
};

void set_constants(lua_State* L) {
    static const Constant kConstants[] = {
        {"blend_mask", 0}, {"blend_solid", 1}, {"blend_alpha", 2}, {"blend_light", 3}, {"blend_shade", 4},
        {"p_smoke", 1}, {"p_lightpuff", 2}, {"p_fragment", 3}, {"p_blood", 4}, {"p_bigblood", 5},
        {"p_muzzle", 6}, {"p_bubble", 7}, {"p_waterray", 8}, {"p_waterhit", 9}, {"p_bodypart", 10},
        {"p_ring", 11}, {"p_firefragment", 12}, {"p_explosion", 13}, {"p_blooddrop", 14}, {"p_dust", 15},
        {"p_flare", 16}, {"p_spark", 17}, {"p_bullet", 18}, {"p_dirtfall", 21}, {"p_lightray", 22},
        {"p_explosionring", 23}, {"p_scaleflare", 24}, {"p_feather", 25}, {"p_blood3d", 26}, {"p_meat", 27},
        {"p_splatterbeam", 28},
        {"weapon_charge", 0}, {"weapon_mode", 0}, {"weapon_shots", 0}, {"weapon_timer", 0}, {"weapon_x", 0},
        {"weapon_y", 0}, {"weapon_position", 0},
        {"col1x1", -1}, {"col2x2", -2}, {"col3x3", -3}, {"col4x4", -4}, {"col5x5", -5}, {"colplayer", -6},
        {"col10x10", -7}, {"col20x20", -8}, {"col30x30", -9},
        {"sfx_explosion1", -1}, {"sfx_explosion2", -2}, {"sfx_explosion3", -3}, {"sfx_hitwater1", -4},
        {"sfx_hitwater2", -5}, {"sfx_hitwater3", -6}, {"sfx_ricochet1", -7}, {"sfx_splatter1", -8},
        {"sfx_splatter2", -9}, {"sfx_splatter3", -10}, {"sfx_splatter4", -11}, {"sfx_splatter5", -12},
        {"sfx_explosion4", -13}, {"sfx_explosion5", -14}, {"sfx_explosion6", -15}, {"sfx_explosion7", -16},
        {"sfx_hitwater4", -17}, {"sfx_hitwater5", -18}, {"sfx_waterstep", -19}, {"sfx_steam", -20},
        {"sfx_turn_next", -21}, {"sfx_turn_you", -22}, {"sfx_turn_roundgong", -23},
        {"gfx_crater100", -1}, {"gfx_crater125", -2}, {"gfx_crater150", -3}, {"gfx_blood25", -4},
        {"gfx_blood50", -5}, {"gfx_blood75", -6}, {"gfx_crater175", -7}, {"gfx_crater200", -8},
        {"gfx_crater75", -9}, {"gfx_crater50", -10}, {"gfx_crater25", -11}, {"gfx_fire", -12},
        {"gfx_flare1", -13}, {"gfx_flare2", -14}, {"gfx_flare3", -15},
        {"pos_normal", 1}, {"pos_invisible", 2}, {"pos_build", 3}, {"pos_range", 4}, {"pos_drop", 5},
        {"pos_build_noblock", 6},
        {"key_up", 1}, {"key_down", 2}, {"key_left", 3}, {"key_right", 4}, {"key_jump", 5},
        {"key_backjump", 6}, {"key_attack", 7},
        {"o_fire", -1}, {"o_supply", -2}, {"o_mine", -3}, {"o_beartrap", -4}, {"o_medikit", -5},
        {"o_node", -6}, {"o_item", -7},
        {"state_poisoned", 1}, {"state_confused", 2}, {"state_frozen", 4}, {"state_sleeping", 8},
        {"state_invisible", 16},
    };
    static_assert(sizeof kConstants / sizeof kConstants[0] == kLuaConstants);
    for (const Constant& c : kConstants) {
        lua_pushinteger(L, c.value);
        lua_setglobal(L, c.name);
    }
}

void register_interface(lua_State* L) {
    for (const Tlua_function& f : lua_interface_functions()) {
        if (f.fn) {
            lua_pushcfunction(L, f.fn);
        } else {
            lua_pushstring(L, f.name);
            lua_pushcclosure(L, lua_unbuilt, 1);
        }
        lua_setglobal(L, f.name);
    }
}

}  // namespace

int lua_reset() {
    // Every load (local, received or replayed) starts here: descriptions and
    // projectiles registered before the load's first weapon attach to no
    // weapon, the same on every machine.
    lua_lastdef_weapon = "N/A";
    lua_lastdef_flags = "";
    if (lua) {
        g_guard_depth = 0;
        lua_close(lua);
        lua = nullptr;
    }
    lua_State* L = lua_newstate(heap_alloc, nullptr);
    if (!L) {
        lua_notify("Failed to create the Lua state!", true);
        End(1);
    }
    lua = L;
    lua_atpanic(L, on_panic);
    build_sandbox(L);
    set_constants(L);
    if (luaL_loadstring(L, "projectiles=nil; projectiles={}; objects=nil; objects={};") == 0) lua_pcall(L, 0, 0, 0);
    lua_settop(L, 0);
    register_interface(L);
    lua_sethook(L, count_hook, LUA_MASKCOUNT, kHookStep);
    return 0;
}

const std::vector<std::string>& lua_interface_names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const Tlua_function& f : lua_interface_functions()) v.emplace_back(f.name);
        return v;
    }();
    return names;
}

int lua_loadchunk(const std::string& text, const std::string& chunkname) {
    return safe_loadbuffer(lua, text.data(), text.size(), chunkname.c_str());
}

int lua_runchunk(const std::string& text, const std::string& chunkname) {
    int r = lua_loadchunk(text, chunkname);
    if (r != 0) return r;
    return lua_protectedcall(0, 0);
}

int lua_runfile(const std::string& path) {
    BankPtr bank = LoadBank(path);
    if (!bank) {
        lua_pushstring(lua, ("cannot read " + path).c_str());
        return LUA_ERRFILE;
    }
    return lua_runchunk(std::string(bank->Bytes().begin(), bank->Bytes().end()), "@" + path);
}

int lua_protectedcall(int nargs, int nresults) {
    if (g_guard_depth == 0) {
        lua_instructions_used = 0;
        lua_sethook(lua, count_hook, LUA_MASKCOUNT, kHookStep);
    }
    ++g_guard_depth;
    int r = lua_pcall(lua, nargs, nresults, 0);
    --g_guard_depth;
    // Lua 5.1 has no emergency collection: garbage left by a call that met
    // the cap would make every later allocation fail.
    if (g_guard_depth == 0 && g_heap > lua_memory_limit / 2) lua_gc(lua, LUA_GCCOLLECT, 0);
    return r;
}

void lua_charge(lua_State* L, long long steps) {
    if (g_guard_depth == 0) return;
    lua_instructions_used += steps;
    if (lua_instructions_used > lua_instruction_budget) {
        lua_sethook(L, count_hook, LUA_MASKCOUNT, 1);
        luaL_error(L, "script ran too long (more than %d instructions)", (int)lua_instruction_budget);
    }
}

std::string lua_tostr(lua_State* L, int index) {
    int t = lua_type(L, index);
    if (t != LUA_TSTRING && t != LUA_TNUMBER) return "";
    size_t len = 0;
    const char* s = lua_tolstring(L, index, &len);
    return std::string(s, len);
}

void lua_pushstr(lua_State* L, const std::string& text) { lua_pushstring(L, text.c_str()); }

void lua_setglobalint(const char* name, long long value) {
    if (!lua) return;
    lua_pushstring(lua, name);
    lua_pushinteger(lua, (lua_Integer)value);
    lua_rawset(lua, LUA_GLOBALSINDEX);
}

long long lua_getglobalint(const char* name) {
    if (!lua) return 0;
    lua_pushstring(lua, name);
    lua_rawget(lua, LUA_GLOBALSINDEX);
    long long v = lua_isnumber(lua, -1) ? (long long)lua_tointeger(lua, -1) : 0;
    lua_pop(lua, 1);
    return v;
}
