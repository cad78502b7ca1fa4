// Script callbacks: lookup, arguments, results and the game's decisions.
#include "core/host_settings.h"
#include "scripting/callbacks.h"
#include "scripting/script_objects.h"
#include "scripting/turn_state.h"
#include "scripting_fixture.h"

namespace {

class Callbacks : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        Tscro::clear();
        g_gamemodesi = {"", "mode"};
        set[19] = 1;   // gamemode
        set[18] = 0;   // gameendertype
        g_gameendersi = {"flood"};
    }
    void TearDown() override {
        Tscro::clear();
        g_gamemodesi.clear();
        g_gameendersi.clear();
        set[19] = set[18] = 0;
        ScriptTest::TearDown();
    }
};

TEST_F(Callbacks, PlayerDamageDecision) {
    struct Case {
        const char* result;
        int damage;
    };
    for (auto c : {Case{"-1", -1}, {"0", 10}, {"-2", 10}, {"30", 30}, {"'x'", 10}, {"nil", 10}, {"'25'", 25},
                   {"2.9", 2}, {"1e300", 2147483647}, {"error('bad')", 10}}) {
        ASSERT_EQ(run(std::string("function mode_gm_playerdamage(id, dmg) got = id * 1000 + dmg; return ") +
                      c.result + " end"),
                  "");
        questions.clear();
        EXPECT_EQ(lua_gm_playerdamage(7, 10), c.damage) << c.result;
        EXPECT_EQ(eval("got"), "7010");
        EXPECT_EQ(questions.size(), std::string(c.result).rfind("error", 0) == 0 ? 1u : 0u) << c.result;
    }
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find("Section: Game Mode Player Damage (mode_gm_playerdamage)\n"), std::string::npos);
    // No mode applies: the damage stands.
    set[19] = 0;
    EXPECT_EQ(lua_gm_playerdamage(7, 10), 10);
    set[19] = 5;
    EXPECT_EQ(lua_gm_playerdamage(7, 10), 10);
}

TEST_F(Callbacks, EndTurnDecision) {
    struct Case {
        const char* result;
        int living, last;
        bool single;
        int ends, winner;
    };
    for (auto c : {Case{"3", 3, 5, false, 1, 2}, {"9", 3, 5, false, 0, -1}, {"-1", 3, 5, false, 1, -1},
                   {"1", 3, 5, false, 1, 0}, {"8", 3, 5, false, 1, 7}, {"-2", 1, 4, false, 1, 4},
                   {"-2", 2, 4, false, 0, -1}, {"-2", 1, 4, true, 0, -1}, {"-2", 0, -1, true, 1, -1},
                   {"0", 0, -1, false, 1, -1}, {"nil", 1, 4, false, 0, -1}, {"error('x')", 0, -1, false, 0, -1}}) {
        ASSERT_EQ(run(std::string("function mode_gm_endturn() return ") + c.result + " end"), "");
        int winner = 99;
        EXPECT_EQ(lua_gm_endturn(c.living, c.last, c.single, winner), c.ends) << c.result << " " << c.living;
        EXPECT_EQ(winner, c.winner) << c.result << " " << c.living;
    }
    // Without a mode the standard rule decides.
    set[19] = 0;
    int winner = 99;
    EXPECT_EQ(lua_gm_endturn(1, 3, false, winner), 1);
    EXPECT_EQ(winner, 3);
    EXPECT_EQ(lua_gm_endturn(2, 3, false, winner), 0);
}

TEST_F(Callbacks, TypePathsMeetingNonTablesGiveTheSectionReport) {
    Tscro::addobject("a.b", 0);
    ASSERT_EQ(run("a = 5"), "");
    lua_objectcall(1, "setup", 56001, 0, "Object Setup (a.b.setup)");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].rfind("Lua Script Error:\nSection: Object Setup (a.b.setup)\n", 0), 0u) << questions[0];
    EXPECT_NE(questions[0].find("attempt to call"), std::string::npos);
    // A failing metamethod on the way is reported the same way.
    ASSERT_EQ(run("a = setmetatable({}, {__index = function() error('in index') end})"), "");
    lua_objectcall(1, "setup", 56001, 0, "Object Setup (a.b.setup)");
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_NE(questions[1].find("in index"), std::string::npos);
}

TEST_F(Callbacks, ArgumentsAndResultsReachScripts) {
    Tscro::addobject("objs.crate", 0);
    Tscro::addweapon("weapons.gun", "Gun", 0, 1, 0, "", 0);
    lua_lastdef_flags = "";
    Tscro::addprojectile("pro.shell", "weapons.gun", "");
    ASSERT_EQ(run("log = ''\n"
                  "local function note(s) log = log .. s .. ';' end\n"
                  "objs = {crate = {setup = function(id, arg) note('setup ' .. id .. ' ' .. arg) end,\n"
                  "  damage = function(id, n) note('damage ' .. id .. ' ' .. n) end,\n"
                  "  update = function(id, x, y) note('update ' .. id .. ' ' .. x .. ' ' .. y); return busy end,\n"
                  "  draw = function(id, x, y) note('draw ' .. id) end}}\n"
                  "weapons = {gun = {attack = function(a) note('attack ' .. a) end, draw = function() note('wdraw') end}}\n"
                  "pro = {shell = {update = function(id) note('pupdate ' .. id) end, draw = function(id) note('pdraw ' .. id) end}}\n"
                  "mode_gm_start = function() note('start') end\n"
                  "mode_gm_update = function() note('update') end\n"
                  "mode_gm_draw = function() note('mdraw') end\n"
                  "flood_ge_run = function(step) note('ender ' .. step) end\n"
                  "ai_move = function() note('ai ' .. tostring(ailock)) end\n"
                  "mission_draw = function() note('mission') end"),
              "");
    lua_objectcall(1, "setup", 56001, 4, "s");
    lua_objectcall(1, "damage", 56001, 25, "s");
    lua_objectcall(2, "setup", 56001, 4, "s");   // not registered: nothing
    EXPECT_EQ(lua_object_update(1, 56001, 1.5f, -2.0f), 0);
    ASSERT_EQ(run("busy = 1"), "");
    EXPECT_EQ(lua_object_update(1, 56001, 1.5f, -2.0f), 1);
    ASSERT_EQ(run("busy = true"), "");
    EXPECT_EQ(lua_object_update(1, 56001, 1.5f, -2.0f), 0);   // a boolean is not the number 1
    lua_object_draw(1, 56001, 0, 0);
    lua_weapon_attack(1, 1);
    lua_weapon_draw(1);
    lua_weapon_attack(9, 1);
    // lua_pro names the projectile only while its callback runs.
    EXPECT_EQ(lua_projectile_update(1, 17), 1);
    EXPECT_EQ(lua_pro, 0);
    EXPECT_EQ(lua_projectile_draw(1, 18), 1);
    EXPECT_EQ(lua_projectile_update(2, 19), 0);
    EXPECT_EQ(lua_pro, 0);
    lua_gm_update();
    lua_gm_start();
    lua_gm_draw();
    EXPECT_EQ(lua_ge_run(2), 1);
    lua_ai_call(4, "ai_move");
    EXPECT_EQ(lua_p, 4);
    EXPECT_EQ(lua_ailock, 0);
    lua_mission_call("mission_draw");
    EXPECT_EQ(eval("log"),
              "setup 56001 4;damage 56001 25;update 56001 1.5 -2;update 56001 1.5 -2;update 56001 1.5 -2;"
              "draw 56001;attack 1;wdraw;pupdate 17;pdraw 18;update;start;mdraw;ender 2;ai nil;mission;");
    EXPECT_TRUE(questions.empty());
    // A built-in ender has no callback.
    g_gameendersi = {"<flood>"};
    EXPECT_EQ(lua_ge_run(0), 0);
}

TEST_F(Callbacks, MissingCallbacksReportTheirSection) {
    struct Case {
        void (*call)();
        const char* section;
    };
    for (auto c : {Case{[] { lua_gm_start(); }, "Game Mode Start (mode_gm_start)"},
                   {[] { lua_gm_update(); }, "Game Mode Update (mode_gm_update)"},
                   {[] { lua_gm_draw(); }, "Game Mode Draw (mode_gm_draw)"},
                   {[] { lua_ge_run(0); }, "Game Ender (flood_ge_run)"},
                   {[] { lua_ai_call(1, "ai_init"); }, "AI Execution (ai_init)"},
                   {[] { lua_mission_call("mission_start"); }, "Mission Start (mission_start)"},
                   {[] { lua_mission_call("mission_update"); }, "Mission Update (mission_update)"}}) {
        questions.clear();
        c.call();
        ASSERT_EQ(questions.size(), 1u) << c.section;
        EXPECT_EQ(questions[0].rfind(std::string("Lua Script Error:\nSection: ") + c.section + "\n", 0), 0u)
            << questions[0];
    }
    EXPECT_EQ(lua_ailock, 0);
}

TEST_F(Callbacks, EndlessCallbackStopsAtTheSameInstructionEveryRun) {
    lua_instruction_budget = 100000;
    long long used[2];
    for (long long& u : used) {
        lua_reset();
        questions.clear();
        ASSERT_EQ(run("function mode_gm_update() local n = 0 while true do n = n + 1 end end"), "");
        lua_gm_update();
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_NE(questions[0].find("script ran too long"), std::string::npos) << questions[0];
        u = lua_instructions_used;
    }
    EXPECT_EQ(used[0], used[1]);
    // No ends the program through the End hook.
    answer = 0;
    EXPECT_THROW(lua_gm_update(), ScriptEnded);
}

}  // namespace
