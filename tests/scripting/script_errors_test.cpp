// Script errors and the record of loaded script files.
#include <filesystem>
#include <fstream>

#include "scripting/script_errors.h"
#include "scripting_fixture.h"
#include "support/temp_dir.h"

namespace {

class ScriptErrors : public ScriptTest {};

TEST_F(ScriptErrors, DialogTextAndAnswers) {
    struct Case {
        int answer;
        bool ends;
    };
    for (auto c : {Case{1, false}, {0, true}, {-1, false}}) {
        questions.clear();
        answer = c.answer;
        lua_pushstring(lua, "boom");
        bool ended = false;
        int r = -5;
        try {
            r = luaerror("", "");
        } catch (const ScriptEnded&) {
            ended = true;
        }
        EXPECT_EQ(ended, c.ends) << c.answer;
        EXPECT_EQ(r, c.ends ? -5 : 0);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0], "Lua Script Error:\nSection: N/A\nboom\n\nProceed?");
        // The error value stays where it was.
        EXPECT_EQ(lua_tostr(lua, -1), "boom");
        lua_settop(lua, 0);
    }
}

TEST_F(ScriptErrors, GivenMessageIgnoresTheStack) {
    lua_pushstring(lua, "on the stack");
    luaerror("Weapon Draw (w.draw)", "given");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], "Lua Script Error:\nSection: Weapon Draw (w.draw)\ngiven\n\nProceed?");
    lua_settop(lua, 0);
    // A value that is neither text nor number gives the empty message.
    lua_newtable(lua);
    luaerror("S", "");
    EXPECT_EQ(questions[1], "Lua Script Error:\nSection: S\n\n\nProceed?");
    lua_settop(lua, 0);
}

TEST_F(ScriptErrors, ReceivedScriptSectionsByFolder) {
    EXPECT_EQ(luaerror_received_section("scripts/Game Modes/ctf.lua"),
              "Parsing received game mode scripts (scripts/Game Modes/ctf.lua)");
    EXPECT_EQ(luaerror_received_section("scripts/Game Enders/flood.lua"),
              "Parsing received game ender scripts (scripts/Game Enders/flood.lua)");
    EXPECT_EQ(luaerror_received_section("scripts/weapons/gun.lua"),
              "Parsing received weapon scripts (scripts/weapons/gun.lua)");
}

TEST_F(ScriptErrors, CheckSeesEditedAndDeletedFiles) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    std::ofstream("a.lua") << "a = 1";
    std::ofstream("b.lua") << "b = 1";
    Tlua_check::clear();
    EXPECT_EQ(Tlua_check::check(), 0);   // an empty list
    Tlua_check::add("a.lua");
    Tlua_check::add("b.lua");
    Tlua_check::add("a.lua");
    EXPECT_EQ(Tlua_check::list.size(), 3u);
    EXPECT_EQ(Tlua_check::check(), 0);
    EXPECT_EQ(Tlua_check::check(), 0);

    namespace fs = std::filesystem;
    auto t = fs::last_write_time("b.lua");
    fs::last_write_time("b.lua", t - std::chrono::hours(24));   // moved backwards still counts
    EXPECT_EQ(Tlua_check::check(), 1);
    fs::last_write_time("b.lua", t);
    EXPECT_EQ(Tlua_check::check(), 0);
    fs::remove("a.lua");
    EXPECT_EQ(Tlua_check::check(), 1);
    Tlua_check::clear();
    EXPECT_TRUE(Tlua_check::list.empty());
}

}  // namespace
