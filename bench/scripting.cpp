// Scripting speeds, each beside its baseline in the same run: an object
// update callback through the full protocol (stack reset, protected lookup,
// budget, result) against the same call made with bare Lua API calls; and a
// loop of Lua instructions under the budget's count hook against the same
// loop with the hook removed (items = loop iterations).
#include <benchmark/benchmark.h>

#include <lua.hpp>

#include "scripting/callbacks.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"

namespace {

void setup_object() {
    lua_reset();
    Tscro::clear();
    Tscro::addobject("objs.crate", 0);
    lua_runchunk("objs = {crate = {update = function(id, x, y) return id > 0 and 1 or 0 end}}\n"
                 "function spin(n) local s = 0 for i = 1, n do s = s + i end return s end",
                 "=bench");
}

// Baseline: globals and fields read directly, a bare lua_pcall.
void BM_ObjectUpdateBareLua(benchmark::State& state) {
    setup_object();
    int busy = 0;
    for (auto _ : state) {
        lua_settop(lua, 0);
        lua_getglobal(lua, "objs");
        lua_getfield(lua, -1, "crate");
        lua_getfield(lua, -1, "update");
        lua_pushinteger(lua, 56001);
        lua_pushnumber(lua, 1.5);
        lua_pushnumber(lua, 2.5);
        if (lua_pcall(lua, 3, 1, 0) == 0) busy += (int)lua_tointeger(lua, -1);
    }
    benchmark::DoNotOptimize(busy);
}
BENCHMARK(BM_ObjectUpdateBareLua);

void BM_ObjectUpdateProtocol(benchmark::State& state) {
    setup_object();
    int busy = 0;
    for (auto _ : state) busy += lua_object_update(1, 56001, 1.5f, 2.5f);
    benchmark::DoNotOptimize(busy);
}
BENCHMARK(BM_ObjectUpdateProtocol);

void spin(benchmark::State& state, bool hooked) {
    setup_object();
    if (!hooked) lua_sethook(lua, nullptr, 0, 0);
    for (auto _ : state) {
        lua_settop(lua, 0);
        lua_getglobal(lua, "spin");
        lua_pushinteger(lua, 100000);
        if (hooked)
            lua_protectedcall(1, 1);
        else
            lua_pcall(lua, 1, 1, 0);
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

// Baseline: the loop without the count hook.
void BM_LuaLoopNoHook(benchmark::State& state) { spin(state, false); }
BENCHMARK(BM_LuaLoopNoHook);

void BM_LuaLoopBudgeted(benchmark::State& state) { spin(state, true); }
BENCHMARK(BM_LuaLoopBudgeted);

}  // namespace
