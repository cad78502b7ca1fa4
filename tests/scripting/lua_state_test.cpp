// The Lua state: sandbox, constants, interface names, loaders, cost limits.
#include <cstring>
#include <fstream>

#include "core/det_math.h"
#include "scripting/interface.h"
#include "scripting/script_errors.h"
#include "scripting_fixture.h"
#include "support/temp_dir.h"

namespace {

class LuaState : public ScriptTest {};

TEST_F(LuaState, SandboxLeavesNoWayOut) {
    struct Case {
        const char* expr;
        const char* value;
    };
    for (auto c : {Case{"next(io) == nil", "true"},
                   {"pcall(os.execute)", "false"},
                   {"require", "nil"},
                   {"module", "nil"},
                   {"package", "nil"},
                   {"debug", "nil"},
                   {"loadfile", "nil"},
                   {"newproxy", "nil"},
                   {"os.remove", "nil"},
                   {"os.exit", "nil"},
                   {"os.getenv", "nil"},
                   {"os.execute", "nil"},
                   {"type(os.time)", "function"},
                   {"type(os.clock)", "function"},
                   {"type(os.date)", "function"},
                   {"type(os.difftime)", "function"},
                   {"type(string.format)", "function"},
                   {"type(table.insert)", "function"}})
        EXPECT_EQ(eval(c.expr), c.value) << c.expr;
}

TEST_F(LuaState, ConstantsHaveTheirValues) {
    struct Case {
        const char* name;
        int value;
    };
    for (auto c : {Case{"blend_mask", 0}, {"blend_shade", 4}, {"p_smoke", 1}, {"p_fragment", 3},
                   {"p_bullet", 18}, {"p_dirtfall", 21}, {"p_splatterbeam", 28}, {"weapon_position", 0},
                   {"col1x1", -1}, {"colplayer", -6}, {"col30x30", -9}, {"sfx_explosion1", -1},
                   {"sfx_turn_roundgong", -23}, {"gfx_crater100", -1}, {"gfx_flare3", -15}, {"pos_normal", 1},
                   {"pos_build_noblock", 6}, {"key_up", 1}, {"key_attack", 7}, {"o_fire", -1}, {"o_item", -7},
                   {"state_poisoned", 1}, {"state_invisible", 16}})
        EXPECT_EQ(eval(c.name), std::to_string(c.value)) << c.name;
    // Kinds 19 and 20 have no name.
    EXPECT_EQ(eval("p_19"), "nil");
}

TEST_F(LuaState, AllInterfaceNamesAreFunctions) {
    const auto& names = lua_interface_names();
    ASSERT_EQ(names.size(), 153u);
    EXPECT_EQ(names.front(), "dofile");
    EXPECT_EQ(names[3], "print");
    EXPECT_EQ(names.back(), "setscore");
    for (const std::string& n : names) EXPECT_EQ(eval("type(" + n + ")"), "function") << n;
    // A family not built yet fails clearly, naming the function.
    for (const Tlua_function& f : lua_interface_functions())
        if (!f.fn) {
            EXPECT_NE(run(std::string(f.name) + "()").find(std::string("'") + f.name + "' is not available yet"),
                      std::string::npos);
            break;
        }
}

TEST_F(LuaState, ResetRestoresConstantsAndDropsGlobals) {
    EXPECT_EQ(run("p_smoke = 99; foo = 1; projectiles.x = 1"), "");
    lua_reset();
    EXPECT_EQ(eval("p_smoke"), "1");
    EXPECT_EQ(eval("foo"), "nil");
    EXPECT_EQ(eval("next(projectiles) == nil and next(objects) == nil"), "true");
}

TEST_F(LuaState, DofileShowsItsMessageAndReturnsNothing) {
    EXPECT_EQ(eval("select('#', dofile('x'))"), "0");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].text, "'dofile' is currently not supported by Grombat Fraycup!");
    EXPECT_EQ(run("dofile('x'); after = 1"), "");
    EXPECT_EQ(eval("after"), "1");
}

TEST_F(LuaState, PrecompiledChunksAreRefused) {
    EXPECT_EQ(eval("loadstring(string.dump(function() return 1 end))"), "nil");
    EXPECT_EQ(eval("select(2, loadstring(string.dump(function() end)))"), "precompiled chunks are refused");
    EXPECT_EQ(run("local s = string.dump(function() end); local done = false\n"
                  "f, e = load(function() if done then return nil end; done = true; return s end)"),
              "");
    EXPECT_EQ(eval("f"), "nil");
    EXPECT_EQ(eval("loadstring('return 5')()"), "5");
    EXPECT_EQ(eval("load(function() if x then return nil end; x = 1; return 'return 6' end)()"), "6");

    EXPECT_EQ(lua_runchunk("\x1bLua\x51", "=received"), LUA_ERRSYNTAX);
    EXPECT_EQ(lua_tostr(lua, -1), "precompiled chunks are refused");
    lua_settop(lua, 0);

    TempDir dir;
    ASSERT_TRUE(dir.ok());
    std::ofstream("bin.lua") << "\x1bLua\x51 anything";
    std::ofstream("ok.lua") << "fromfile = 7";
    EXPECT_EQ(lua_runfile("bin.lua"), LUA_ERRSYNTAX);
    lua_settop(lua, 0);
    EXPECT_EQ(lua_runfile("ok.lua"), 0);
    EXPECT_EQ(eval("fromfile"), "7");
    EXPECT_EQ(lua_runfile("missing.lua"), LUA_ERRFILE);
    lua_settop(lua, 0);
}

TEST_F(LuaState, TrigIsTheDeterministicOne) {
    for (double x : {1.0, -2.5, 0.0, 100.25}) {
        lua_getglobal(lua, "math");
        for (const char* fn : {"sin", "cos", "tan"}) {
            lua_getfield(lua, -1, fn);
            lua_pushnumber(lua, x);
            lua_call(lua, 1, 1);
            double got = lua_tonumber(lua, -1);
            lua_pop(lua, 1);
            double want = std::strcmp(fn, "sin") == 0   ? det_sin(x)
                          : std::strcmp(fn, "cos") == 0 ? det_cos(x)
                                                        : det_sin(x) / det_cos(x);
            EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << fn << "(" << x << ")";
        }
        lua_settop(lua, 0);
    }
}

TEST_F(LuaState, EndlessLoopsStopAtTheSameInstruction) {
    lua_instruction_budget = 200000;
    long long used[2];
    for (long long& u : used) {
        lua_reset();
        std::string err = run("while true do end");
        EXPECT_NE(err.find("script ran too long"), std::string::npos) << err;
        u = lua_instructions_used;
    }
    EXPECT_EQ(used[0], used[1]);
    EXPECT_GT(used[0], 200000);
    // A script catching the error fails again at its next instruction.
    EXPECT_NE(run("while true do pcall(function() while true do end end) end").find("too long"), std::string::npos);
    EXPECT_NE(run("local co = coroutine.wrap(function() while true do end end); co()").find("too long"),
              std::string::npos);
    // The next call has its own budget.
    EXPECT_EQ(run("for i = 1, 1000 do end"), "");
}

TEST_F(LuaState, HeapCapAndStringRepEndTheCall) {
    lua_memory_limit = 8u << 20;
    EXPECT_NE(run("local t = {} for i = 1, 1e7 do t[i] = tostring(i) .. 'xxxxxxxxxxxxxxxx' end"), "");
    EXPECT_NE(run("local s = string.rep('x', 1e9)"), "");
    EXPECT_EQ(eval("#string.rep('', 1e15)"), "0");
    EXPECT_EQ(eval("string.rep('ab', 3)"), "ababab");
    // The state goes on working after the cap hit.
    EXPECT_EQ(eval("1 + 1"), "2");
    EXPECT_EQ(eval("('x'):rep(2)"), "xx");
}

TEST_F(LuaState, TextsCrossOneBytePerCharacter) {
    EXPECT_EQ(run("s = 'a\\0b\\255'"), "");
    lua_getglobal(lua, "s");
    EXPECT_EQ(lua_tostr(lua, -1), std::string("a\0b\xff", 4));
    lua_settop(lua, 0);
    lua_pushstr(lua, std::string("cut\0here", 8));
    EXPECT_EQ(lua_tostr(lua, -1), "cut");
    lua_settop(lua, 0);
}

}  // namespace
