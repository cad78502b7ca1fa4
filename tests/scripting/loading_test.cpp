// Script loading: folder order, the fatal messages, weapon-set binding by
// path, and a full load of the game's own scripts and weapon set.
#include <lua.hpp>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "core/host_settings.h"
#include "core/resources.h"
#include "core/shared_state.h"
#include "frontend/screens/console.h"
#include "frontend/weaponset.h"
#include "platform/files.h"
#include "platform/system.h"
#include "match/mission.h"
#include "scripting/script_errors.h"
#include "scripting/interface.h"
#include "scripting/script_files.h"
#include "scripting/turn_state.h"
#include "terrain/tiles.h"
#include "world/frame_buffer.h"
#include "world/water.h"
#include "scripting/script_loading.h"
#include "scripting/script_objects.h"
#include "tests/scripting/scripting_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

void write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

void clear_set() {
    for (int g = 0; g < 3; ++g)
        for (int c = 0; c < 14; ++c)
            for (int r = 0; r < 9; ++r) {
                g_weaponset[g][c][r].clear();
                g_weaponseti[g][c][r] = 0;
                for (auto& b : g_weaponsets[g][c][r]) b = 0;
            }
    gui_weaponsb.clear();
}

class Loading : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        host_settings_init();
        menu = 2;
        clear_set();
        in_console.clear();
    }
    void TearDown() override {
        clear_set();
        ScriptTest::TearDown();
    }
    // A minimal tree: one mode, one ender and the AI in a temporary folder.
    static void minimal_tree() {
        write("scripts/Game Modes/m.lua", "addgamemode('m', 'M')");
        write("scripts/Game Enders/e.lua", "addgameender('<flood>', 'Flood')");
        write("scripts/AI/AI.lua", "function ai_init() end function ai_move() end function ai_back() end");
    }
    // A weapon script registering path p named n, with both callbacks.
    static std::string weapon(const std::string& p, const std::string& n) {
        return p + " = {} function " + p + ".attack() end function " + p + ".draw() end addweapon('" + p + "', '" +
               n + "', 0)";
    }
};

TEST_F(Loading, GameModesRunInByteOrderAndOnlyLuaFiles) {
    TempDir dir({"scripts/Game Modes", "scripts/Game Enders", "scripts/AI"});
    minimal_tree();
    std::remove("scripts/Game Modes/m.lua");
    for (const char* name : {"b.lua", "A.lua", "a.LUA", "readme.txt"})
        write(std::string("scripts/Game Modes/") + name, std::string("addgamemode('") + name + "', 'x')");
    set[19] = 7;
    lua_weaponscripts();
    EXPECT_EQ(g_gamemodesi, (std::vector<std::string>{"A.lua", "a.LUA", "b.lua"}));
    EXPECT_EQ(set[19], 2);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(Tscr::script[1]->path, "scripts/Game Modes/A.lua");
}

TEST_F(Loading, NoGameModesEndTheProgram) {
    TempDir dir({"scripts/Game Modes", "scripts/Game Enders", "scripts/AI"});
    minimal_tree();
    std::remove("scripts/Game Modes/m.lua");
    EXPECT_THROW(lua_weaponscripts(), ScriptEnded);
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.back().text, "No game modes defined (in scripts/Game Modes)!");
    EXPECT_TRUE(notes.back().serious);
}

TEST_F(Loading, SlotsAreBoundToTheWeaponOfTheirOwnScript) {
    TempDir dir({"scripts/Game Modes", "scripts/Game Enders", "scripts/AI", "scripts/w"});
    minimal_tree();
    write("scripts/w/p.lua", weapon("p", "P"));
    write("scripts/w/q.lua", weapon("q", "Q"));
    write("scripts/w/none.lua", "x = 1");
    write("scripts/w/r.lua", weapon("r", "R"));
    // Slots P, Q, P: the repeated path shares P's weapon; the first slot of a
    // path gives its amount, first use and chance.
    g_weaponset[0][0][0] = "scripts/w/p.lua";
    g_weaponset[0][1][0] = "scripts/w/q.lua";
    g_weaponset[0][2][0] = "scripts/w/p.lua";
    uint8_t first[3] = {7, 2, 4}, second[3] = {9, 9, 9};
    std::copy(first, first + 3, g_weaponsets[0][0][0]);
    std::copy(second, second + 3, g_weaponsets[0][2][0]);
    // A script that registers no weapon, then one that does.
    g_weaponset[1][0][0] = "scripts/w/none.lua";
    g_weaponset[1][1][0] = "scripts/w/r.lua";
    menu_wpns_listfromset();
    lua_weaponscripts();
    EXPECT_EQ(g_weaponseti[0][0][0], 1);
    EXPECT_EQ(g_weaponseti[0][1][0], 2);
    EXPECT_EQ(g_weaponseti[0][2][0], 1);
    EXPECT_EQ(g_weaponseti[1][0][0], 0);
    EXPECT_EQ(g_weaponseti[1][1][0], 3);
    ASSERT_TRUE(Tscro::weapon[3]);
    EXPECT_EQ(Tscro::weapon[3]->name, "R");
    EXPECT_EQ(Tscro::weapon[1]->amount, 7);
    EXPECT_EQ(Tscro::weapon[1]->firstuse, 2);
    EXPECT_EQ(Tscro::weapon[1]->chance, 4);
    EXPECT_EQ(Tscro::primaryweapon, 1);
    EXPECT_TRUE(questions.empty());
    // Each script ran once and stands once in the file registry.
    int scripts = 0;
    for (const auto& s : Tscr::script)
        if (s && s->path.rfind("scripts/w/", 0) == 0) ++scripts;
    EXPECT_EQ(scripts, 4);
}

TEST_F(Loading, AFailingScriptIsReportedAndLoadingGoesOn) {
    TempDir dir({"scripts/Game Modes", "scripts/Game Enders", "scripts/AI", "scripts/w"});
    minimal_tree();
    std::remove("scripts/AI/AI.lua");
    write("scripts/w/bad.lua", "this is no Lua");
    write("scripts/w/bin.lua", std::string("\x1bLua"));
    write("scripts/w/ok.lua", weapon("ok", "Ok"));
    write("scripts/w/notes.txt", "addgamemode('no', 'no')");
    g_weaponset[0][0][0] = "scripts/w/bad.lua";
    g_weaponset[0][1][0] = "scripts/w/bin.lua";
    g_weaponset[0][2][0] = "scripts/w/notes.txt";
    g_weaponset[0][3][0] = "scripts/w/ok.lua";
    menu_wpns_listfromset();
    lua_weaponscripts();
    ASSERT_EQ(questions.size(), 3u);
    EXPECT_NE(questions[0].find("Section: Parsing weapon scripts (scripts/w/bad.lua)"), std::string::npos);
    EXPECT_NE(questions[1].find("Section: Parsing weapon scripts (scripts/w/bin.lua)"), std::string::npos);
    EXPECT_NE(questions[2].find("Section: Parsing AI script (scripts/AI/AI.lua)"), std::string::npos);
    EXPECT_EQ(g_weaponseti[0][3][0], 1);
    EXPECT_EQ(g_gamemodes.size(), 1u);
    for (const std::string& f : g_filelist) EXPECT_NE(f, "scripts/w/notes.txt");
    EXPECT_EQ(Tlua_check::list.back().file, "scripts/AI/AI.lua");
}

TEST_F(Loading, AMissionRunsItsOwnScriptsInsteadOfModesAndEnders) {
    TempDir dir({"scripts/AI", "missions/m1"});
    write("scripts/AI/AI.lua", "function ai_init() end function ai_move() end function ai_back() end");
    write("missions/m1/general.lua", "general = 1");
    write("missions/m1/012.lua", "function mission_start() started = 1 end");
    menu = 3;
    Tmission::currentroot = "missions/m1/";
    Tmission::currentmap = 12;
    lua_weaponscripts();
    menu = 2;
    EXPECT_TRUE(notes.empty());
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(lua_getglobalint("general"), 1);
    ASSERT_EQ(run("mission_start() mission_update() mission_draw()"), "");
    EXPECT_EQ(lua_getglobalint("started"), 1);
    EXPECT_EQ(Tscr::script[1]->path, "missions/m1/general.lua");
    EXPECT_EQ(Tscr::script[2]->path, "missions/m1/012.lua");
}

TEST_F(Loading, TheProgressScreenRedrawsOnlyAfterTwentyMilliseconds) {
    int now = MilliSecs();
    int lasttime = now;
    lua_weaponscript_progress(lasttime, 1, 3);
    EXPECT_EQ(lasttime, now);
    lasttime = now - 50;
    lua_weaponscript_progress(lasttime, 1, 3);
    EXPECT_GE(lasttime, now);
}

// The game's own content, from the source tree.
class OwnScripts : public Loading {
protected:
    // 1 when the value at the dotted path has a function field fn.
    bool has(const std::string& path, const std::string& fn) {
        return eval("type(" + path + "." + fn + ")") == "function";
    }
};

TEST_F(OwnScripts, TheOriginalWeaponSetLoadsCleanly) {
    ASSERT_EQ(FileType("weaponsets/GF Original.gfws"), 1);
    menu_wpns_loadset("weaponsets/GF Original.gfws");
    menu_wpns_listfromset();
    ASSERT_EQ(gui_weaponsb.size(), 8u);
    lua_weaponscripts();
    for (const std::string& q : questions) ADD_FAILURE() << q;
    for (const std::string& line : in_console) EXPECT_NE(line.rfind("Error:", 0), 0u) << line;
    EXPECT_TRUE(notes.empty());

    // Every filled slot has its own weapon, in slot order.
    int bound = 0;
    for (const std::string& path : gui_weaponsb) {
        int g, x, y, found = 0;
        for (int k = 1; k < 256; ++k)
            if (Tscro::weapon[(size_t)k] && Tscro::weapon[(size_t)k]->filename == path) found = k;
        ASSERT_GT(found, 0) << path;
        Tscro::getweaponpositionbyindex(found, g, x, y);
        EXPECT_EQ(g_weaponset[g][x][y], path);
        ++bound;
    }
    EXPECT_EQ(bound, 8);
    EXPECT_EQ(Tscro::weapon[1]->name, "Wind Missile");

    for (const auto& w : Tscro::weapon)
        if (w)
            for (const char* fn : {"attack", "draw"}) EXPECT_TRUE(has(w->path, fn)) << w->path << "." << fn;
    int projectiles = 0, objects = 0;
    for (const auto& p : Tscro::projectile)
        if (p) {
            ++projectiles;
            for (const char* fn : {"update", "draw"}) EXPECT_TRUE(has(p->path, fn)) << p->path << "." << fn;
        }
    for (const auto& o : Tscro::obj)
        if (o) {
            ++objects;
            for (const char* fn : {"setup", "update", "draw", "damage"})
                EXPECT_TRUE(has(o->path, fn)) << o->path << "." << fn;
        }
    EXPECT_EQ(projectiles, 4);
    EXPECT_EQ(objects, 2);

    ASSERT_EQ(g_gamemodesi, (std::vector<std::string>{"standard", "scoremode"}));
    EXPECT_EQ(g_gamemodess[1], "1,300,wind=0");
    for (const std::string& m : g_gamemodesi)
        for (const char* suffix : {"_gm_start", "_gm_update", "_gm_draw", "_gm_endturn", "_gm_playerdamage"})
            EXPECT_EQ(eval("type(" + m + suffix + ")"), "function") << m << suffix;
    EXPECT_EQ(g_gameendersi, (std::vector<std::string>{"<flood>", "<laser-top>", "<laser-left>", "<laser-right>",
                                                       "<laser-left+right>", "<flood+laser-top>", "<laser-random>",
                                                       "thunder"}));
    EXPECT_EQ(eval("type(thunder_ge_run)"), "function");
    for (const char* fn : {"ai_init", "ai_move", "ai_back"}) EXPECT_EQ(eval(std::string("type(") + fn + ")"), "function");

    // Offered to joining machines: every script image, sound and file, not the AI.
    std::vector<std::string> expected;
    for (const auto& e : Tres::gfx)
        if (e && !e->path.empty()) expected.push_back("gfx/" + e->path);
    for (const auto& e : Tres::sfx)
        if (e && !e->path.empty()) expected.push_back("sfx/" + e->path);
    for (const auto& e : Tscr::script)
        if (e && !e->path.empty()) expected.push_back(e->path);
    EXPECT_EQ(g_filelist, expected);
    EXPECT_EQ(std::count(g_filelist.begin(), g_filelist.end(), "gfx/weapons/icon_missile.png"), 1);
    EXPECT_EQ(std::count(g_filelist.begin(), g_filelist.end(), "sfx/weapons/launch.wav"), 1);
    EXPECT_EQ(std::count(g_filelist.begin(), g_filelist.end(), "scripts/AI/AI.lua"), 0);
    size_t scripts = 0;
    for (const char* folder : {"scripts/Game Modes", "scripts/Game Enders"}) scripts += LoadDir(folder).size();
    EXPECT_EQ(g_filelist.size(), (size_t)Tres::countarray(Tres::gfx) + Tres::countarray(Tres::sfx) + scripts + 8);
    for (const auto& e : Tres::gfx)
        if (e && !e->path.empty()) {
            EXPECT_GT(e->size, 0) << e->path;
            EXPECT_TRUE(e->compr) << e->path;
        }
}

// The game's own scripts driven through their callbacks, with the interface
// functions of other families replaced by quiet stand-ins: catches mistakes
// in the scripts themselves (nil fields, misspelt names, wrong arguments to
// the functions built here).
TEST_F(OwnScripts, CallbacksRunWithoutScriptErrors) {
    menu_wpns_loadset("weaponsets/GF Original.gfws");
    menu_wpns_listfromset();
    lua_weaponscripts();
    ASSERT_TRUE(questions.empty());
    for (const Tlua_function& f : lua_interface_functions()) {
        if (f.fn) continue;
        std::string name = f.name;
        std::string body = name == "playertable" || name == "objecttable" || name == "nodetable"
                               ? "return {}"
                           : name == "createprojectile" ? "stub_ids = (stub_ids or 0) + 1 return stub_ids"
                                                        : "return 0";
        ASSERT_EQ(run(name + " = function() " + body + " end"), "") << name;
    }
    g_frame_data = CreateBank(0);
    Tfb::loc = CreateBank(0);
    g_player = g_turn_netplayer = 0;
    g_waterlevel = 1000, map_xsize = 2000, map_ysize = 1000;
    auto frames = [&](const std::string& weapon, int n, int pressed, bool hit) {
        for (int i = 0; i < n; ++i) {
            lua_keyhitattack = hit && i == 0 ? 1 : 0;
            std::string err = run(weapon + ".attack(" + std::to_string(pressed) + ") " + weapon + ".draw()");
            EXPECT_EQ(err, "") << weapon;
        }
    };
    struct Use {
        const char* weapon;
        const char* flights;   // table under projectiles, or ""
        const char* setup;     // Lua run before: a chosen spot
    };
    for (const Use& u : {Use{"wmissile", "wmissile", ""}, Use{"bouncer", "bouncer", ""},
                         Use{"twinshot", "twinshot", ""}, Use{"airstrike", "airstrike", "weapon_position = 1"},
                         Use{"wcharge", "", ""}, Use{"wall", "", "weapon_position = 1"},
                         Use{"hop", "", "weapon_position = 1"}, Use{"skip", "", ""}}) {
        lua_resetturn();
        g_turn_state = 1;
        ASSERT_EQ(run(u.setup), "");
        frames(u.weapon, 1, 0, false);
        frames(u.weapon, 20, 1, true);
        frames(u.weapon, 1, 0, false);
        frames(u.weapon, 1, 1, true);
        if (*u.flights) {
            std::string t = std::string("projectiles.") + u.flights;
            EXPECT_EQ(eval("next(" + t + ") ~= nil"), "true") << u.weapon;
            std::string type = std::string(u.weapon) + ".projectile";
            ASSERT_EQ(run("for i = 1, 600 do for id in pairs(" + t + ") do " + type + ".update(id) " + type +
                          ".draw(id) end end"),
                      "")
                << u.weapon;
            EXPECT_EQ(eval("next(" + t + ") == nil"), "true") << u.weapon << ": still flying";
        }
        EXPECT_EQ(g_turn_state, 2) << u.weapon << ": the turn goes on";
    }
    // Objects: a charge counts down and goes off; a barrel goes off once.
    ASSERT_EQ(run("wcharge.object.setup(5, 0) for i = 1, 200 do wcharge.object.update(5, 10, 10)"
                  " wcharge.object.draw(5, 10, 10) end wcharge.object.damage(5, 10)"),
              "");
    EXPECT_EQ(eval("objects.wcharge[5].done"), "true");
    ASSERT_EQ(run("barrel.setup(7, 0) barrel.damage(7, 10)"), "");
    EXPECT_EQ(eval("barrel.update(7, 1, 1)"), "0");
    ASSERT_EQ(run("barrel.damage(7, 25)"), "");
    EXPECT_EQ(eval("barrel.update(7, 1, 1)"), "1");
    ASSERT_EQ(run("barrel.update(7, 1, 1) barrel.update(7, 1, 1) barrel.damage(7, 40) barrel.draw(7, 1, 1)"), "");
    EXPECT_EQ(eval("objects.barrel[7].done"), "true");
    EXPECT_EQ(eval("objects.barrel[7].fuse"), "0");
    // Modes, the script ender and the AI.
    for (const std::string& m : g_gamemodesi)
        ASSERT_EQ(run(m + "_gm_start() " + m + "_gm_update() " + m + "_gm_draw() assert(" + m + "_gm_endturn() == -2)"
                      " assert(" + m + "_gm_playerdamage(1, 10) == 0)"),
                  "")
            << m;
    ASSERT_EQ(run("thunder_ge_run(0) thunder_ge_run(20)"), "");
    ASSERT_EQ(run("ai_init() for i = 1, 300 do ai_move() end ai_back()"), "");
    EXPECT_TRUE(questions.empty());
}

}  // namespace
