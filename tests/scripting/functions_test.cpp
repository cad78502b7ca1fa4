// Environment, turn, weapon-use, input and stock functions: the records they
// write with and without the turn, the checked number reader, and their
// effects on the match state.
#include <lua.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/shared_state.h"
#include "frontend/screens/console.h"
#include "frontend/weaponset.h"
#include "match/game.h"
#include "scripting/script_objects.h"
#include "scripting/turn_state.h"
#include "terrain/tiles.h"
#include "tests/scripting/scripting_fixture.h"
#include "world/frame_buffer.h"
#include "world/particles.h"
#include "world/player.h"
#include "world/team.h"
#include "world/water.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Functions : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        g_frame_data = CreateBank(0);
        Tfb::loc = CreateBank(0);
        g_replay = 0;
        g_player = 0, g_turn_netplayer = 0;
        g_turn_state = 1, g_turn_frames = 0, set_roundtime_tmp = 30;
        map_ysize = 600;
        Tscro::clear();
        Tplayer::list.clear();
        Tteam::list.clear();
        Tp::clear();
        g_wpn_attacked = 0;
        g_storm = 0;
        for (int& u : Ts_weapons::uses) u = 0;
    }
    void TearDown() override {
        Tplayer::list.clear();
        Tteam::list.clear();
        Tp::clear();
        ScriptTest::TearDown();
    }
    static Bytes written() { return g_frame_data->Bytes(); }
    std::shared_ptr<Tteam> team(int id) {
        auto t = std::make_shared<Tteam>();
        t->id = id;
        Tteam::list.push_back(t);
        return t;
    }
};

TEST_F(Functions, RecordsWithTheTurnAndNoneWithout) {
    ASSERT_EQ(run("w = {} addweapon('w', 'W', 0)"), "");
    team(2);
    struct Case {
        const char* call;
        Bytes record;
    };
    const Case cases[] = {
        {"wind(0.5)", {0x1E, 0xCD, 0xCC, 0xCC, 0x3D}},
        {"wind(-7)", {0x1E, 0xCD, 0xCC, 0xCC, 0xBD}},
        {"wind(0.05)", {0x1E, 0xCD, 0xCC, 0x4C, 0x3D}},
        {"watery(-200)", {0x1F, 0xCE, 0xFF, 0xFF, 0xFF}},
        {"watery(12.9)", {0x1F, 12, 0, 0, 0}},
        {"watery(1e300)", {0x1F, 0x4E, 0x02, 0, 0}},   // map_ysize - 10 = 590
        {"changeturntime(-10)", {0x2A, 0x14, 0, 0, 0}},
        {"setweaponcount('w', 2, 250)", {0x2D, 2, 1, 0x64}},
        {"setweaponcount('w', 2, -5)", {0x2D, 2, 1, 0}},
        {"setweaponlock('w', 2, 7)", {0x2E, 2, 1, 1}},
    };
    for (const Case& c : cases) {
        g_frame_data->Resize(0);
        Tfb::loc->Resize(0);
        g_player = 0;
        ASSERT_EQ(run(c.call), "") << c.call;
        EXPECT_EQ(written(), c.record) << c.call;
        EXPECT_EQ(Tfb::loc->Bytes(), c.record) << c.call;
        g_frame_data->Resize(0);
        g_player = 1;
        ASSERT_EQ(run(c.call), "") << c.call;
        EXPECT_TRUE(written().empty()) << c.call;
    }
    // No record for an unknown team or weapon.
    g_player = 0;
    g_frame_data->Resize(0);
    ASSERT_EQ(run("setweaponcount('w', 3, 5) setweaponcount('nosuch', 2, 5) setweaponlock('w', 9, 1)"), "");
    EXPECT_TRUE(written().empty());
}

TEST_F(Functions, TheWritingMachineAppliesItsOwnRecords) {
    ASSERT_EQ(run("w = {} addweapon('w', 'W', 0)"), "");
    auto t = team(3);
    map_ysize = 600;
    ASSERT_EQ(run("wind(0.5) watery(100000) changeturntime(-10) setweaponcount('w', 3, 7) setweaponlock('w', 3, 1)"),
              "");
    EXPECT_EQ(g_storm, 0.0f);   // nothing acts before the frame's records are applied
    Tfb::process_additional(Tfb::loc, nullptr);
    EXPECT_EQ(g_storm, 0.1f);
    EXPECT_EQ(g_waterlevel_change, 590);
    EXPECT_EQ(set_roundtime_tmp, 20);
    EXPECT_EQ(t->wamount[1], 7);
    EXPECT_EQ(t->wlocked[1], 1);
    EXPECT_EQ(eval("getweaponcount('w', 3)"), "7");
    EXPECT_EQ(eval("getweaponlock('w', 3)"), "true");
}

TEST_F(Functions, NumbersThatAreNoNumbersWriteNothing) {
    for (const char* call : {"wind(0/0)", "wind(1/0)", "watery(0/0)", "changeturntime(2^65)", "scroll(0/0, 1)",
                             "quake(0/0)", "keydown(0/0)", "blood(0/0, 1)", "random(0/0)"}) {
        g_frame_data->Resize(0);
        EXPECT_NE(run(call).find("bad argument"), std::string::npos) << call;
        EXPECT_TRUE(written().empty()) << call;
    }
}

TEST_F(Functions, EndTurn) {
    g_turn_frames = 40;
    ASSERT_EQ(run("endturn()"), "");
    EXPECT_EQ(g_turn_state, 2);
    EXPECT_EQ(g_turn_backingstart, 40);
    g_turn_frames = 60;
    ASSERT_EQ(run("endturn()"), "");
    EXPECT_EQ(g_turn_backingstart, 40);
    // Closing states stay as they are.
    g_turn_state = 3;
    ASSERT_EQ(run("endturn()"), "");
    EXPECT_EQ(g_turn_state, 3);
    EXPECT_EQ(eval("getframesleft()"), "0");
    g_turn_state = 1;
    EXPECT_EQ(eval("getframesleft()"), std::to_string(30 * 50 - 60));
}

TEST_F(Functions, Queries) {
    set_scrxh = 320, set_scryh = 240;
    ASSERT_EQ(run("scroll(1000, 10)"), "");
    EXPECT_EQ(lua_scrolla, 1);
    EXPECT_EQ(lua_scrollx, -680);
    EXPECT_EQ(lua_scrolly, 230);
    g_waterlevel = 500;
    EXPECT_EQ(eval("getwatery()"), "530");
    g_mode = 0;
    EXPECT_EQ(eval("getturn()"), "-1");
    g_mode = 1, g_turn = 7;
    EXPECT_EQ(eval("getturn()"), "7");
    hud_turnbardone = 2, hud_turnbarall = 5;
    EXPECT_EQ(eval("getturn(1) .. ' ' .. getturn(2)"), "2 5");
    EXPECT_EQ(eval("random(3, 3)"), "3");
    EXPECT_EQ(eval("(function() randomseed(9) local a = random(1, 100) randomseed(9) return a == random(1, 100) end)()"),
              "true");
    EXPECT_EQ(eval("(function() local r = random() return r >= 0 and r < 1 end)()"), "true");
    EXPECT_EQ(eval("(function() local r = random(6) return r >= 1 and r < 6 end)()"), "true");
    in_console.clear();
    ASSERT_EQ(run("print('hello')"), "");
    EXPECT_EQ(in_console.back(), "hello");
}

TEST_F(Functions, UseWeaponBooksOneUse) {
    auto t = team(1);
    auto p = std::make_shared<Tplayer>();
    p->id = 4, p->team = 1, p->wpn = 3;
    Tplayer::list.push_back(p);
    g_turn_player = 4, g_turn_team = 1;
    t->wamount[3] = 3;
    ASSERT_EQ(run("useweapon() useweapon()"), "");
    EXPECT_EQ(t->wamount[3], 2);
    EXPECT_EQ(g_wpn_attacked, 1);
    EXPECT_EQ(Ts_weapons::uses[3], 1);
    g_wpn_attacked = 0;
    ASSERT_EQ(run("useweapon(5) useweapon(5)"), "");
    EXPECT_EQ(t->wamount[3], 0);
    EXPECT_EQ(g_wpn_attacked, 0);
    g_wpn_attacked = 0;
    ASSERT_EQ(run("useweapon(1) useweapon(1)"), "");
    EXPECT_EQ(g_wpn_attacked, 2);
    t->wamount[3] = 100;
    g_wpn_attacked = 0;
    ASSERT_EQ(run("useweapon()"), "");
    EXPECT_EQ(t->wamount[3], 100);
    EXPECT_EQ(Ts_weapons::uses[3], 4);
}

TEST_F(Functions, BloodFollowsTheGoreLevel) {
    struct Case {
        int gore;
        const char* call;
        size_t particles;
    };
    for (auto c : {Case{3, "blood(10, 20)", 12}, {1, "blood(10, 20)", 4}, {0, "blood(10, 20)", 0},
                   {2, "blood(10, 20, 99, 1)", 1}, {5, "blood(1, 2, 0, -4)", 1}, {4, "blood(1, 2, 0, 2)", 8},
                   {5, "blood(1, 2, 0, 1000000)", 600}}) {
        Tp::clear();
        set_gore = c.gore;
        ASSERT_EQ(run(c.call), "") << c.call;
        EXPECT_EQ(Tp::list[0].size(), c.particles) << c.gore << " " << c.call;
        for (auto& q : Tp::list[0]) {
            EXPECT_TRUE(q->typ == 4 || q->typ == 5);
            EXPECT_GE(q->fx, -3);
            EXPECT_LT(q->fx, 3);
        }
    }
}

TEST_F(Functions, AngleDeltaAndKeys) {
    struct Case {
        const char* call;
        const char* value;
    };
    for (auto c : {Case{"angledelta(350, 10)", "20"}, {"angledelta(10, 350)", "-20"}, {"angledelta(0, 180)", "180"},
                   {"angledelta(0, 181)", "-179"}, {"angledelta(0, 600)", "240"}})
        EXPECT_EQ(eval(c.call), c.value) << c.call;
    lua_resetturn();
    lua_keyup = 1, lua_keyattack = 1, lua_keyhitattack = 1, lua_keyrelleft = 1;
    EXPECT_EQ(eval("keydown(key_attack) .. keyhit(key_attack) .. keydown(1.9) .. keydown(0) .. keydown(8)"),
              "11100");
    EXPECT_EQ(eval("keyrelease(key_left) .. keyrelease(key_right) .. keyhit(key_up)"), "100");
    ASSERT_EQ(run("quake()"), "");
    EXPECT_EQ(g_shake, 15);
    ASSERT_EQ(run("quake(100)"), "");
    EXPECT_EQ(g_shake, 100);
}

TEST_F(Functions, RecoilOfTheActingPlayer) {
    auto p = std::make_shared<Tplayer>();
    p->id = 2;
    Tplayer::list.push_back(p);
    lua_p = 2;
    ASSERT_EQ(run("recoil(4.5)"), "");
    EXPECT_EQ(p->wpnrecoil, 4.5f);
    lua_p = 0;
    ASSERT_EQ(run("recoil(1)"), "");
    EXPECT_EQ(p->wpnrecoil, 4.5f);
}

TEST_F(Functions, WeaponInfoAndStock) {
    ASSERT_EQ(run("addweapon('a', 'Alpha', 11, 5, 3, 'fl') addweapon('b', 'Beta', 12) addweapon('c', 'Gamma', 13)"), "");
    Tscro::weapon[2] = nullptr;
    for (auto& g : g_weaponseti)
        for (auto& c : g)
            for (auto& r : c) r = 0;
    g_weaponseti[1][4][2] = 3;
    g_weaponseti[1][2][5] = 3;
    struct Case {
        const char* call;
        const char* value;
    };
    for (auto c : {Case{"getweaponinfo('a', 'id')", "1"}, {"getweaponinfo('a', 'NAME')", "Alpha"},
                   {"getweaponinfo('a', 'flags')", "fl"}, {"getweaponinfo('a', 'image')", "11"},
                   {"getweaponinfo('a', 'firstuse')", "3"}, {"getweaponinfo('a', 'x')", "-1"},
                   {"getweaponinfo('a', 'other')", "0"}, {"getweaponinfo('zz', 'name')", "-1"},
                   {"getweaponinfo('c', 'group') .. getweaponinfo('c', 'x') .. getweaponinfo('c', 'y')", "142"},
                   {"#getweaponlist() .. getweaponlist()[1] .. getweaponlist()[2]", "2ac"}})
        EXPECT_EQ(eval(c.call), c.value) << c.call;
    auto t = team(0);
    t->wamount[1] = 7;
    t->wlocked[3] = 1;
    EXPECT_EQ(eval("getweaponcount('a', 0)"), "7");
    EXPECT_EQ(eval("getweaponcount('a', 5)"), "0");
    EXPECT_EQ(eval("getweaponcount('zz', 0)"), "0");
    EXPECT_EQ(eval("getweaponlock('c', 0)"), "true");
    EXPECT_EQ(eval("getweaponlock('a', 0)"), "false");
    EXPECT_NE(run("setweaponlock('a', 0, true)").find("bad argument"), std::string::npos);
}

}  // namespace
