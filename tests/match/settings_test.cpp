// Game modes and match settings: mode locks, hooks, wind, gravity, the
// health scale and the camera glides.
#include "match_fixture.h"

namespace {

using ModeTest = MatchTest;

TEST_F(ModeTest, LockItemsByExactNameLaterItemsWin) {
    g_gamemodes = {"Plain", "Locked"};
    g_gamemodesi = {"plain", "locked"};
    g_gamemodess = {"0,0", "1,5, roundtime = 45 ,Backingtime=3,gamemode=1,gameendertype=2,wind=1,wind=4,nothing,"
                           "gravity 2,minedelay=7"};
    set[19] = 1;
    ASSERT_EQ(game_mode_load(), 0);
    EXPECT_EQ(setfreeze[1], "45");
    EXPECT_EQ(setfreeze[2], "");    // names are case-sensitive
    EXPECT_EQ(setfreeze[19], "");   // the mode and the ender stay free
    EXPECT_EQ(setfreeze[18], "");
    EXPECT_EQ(setfreeze[11], "4");
    EXPECT_EQ(setfreeze[21], "");   // no "="
    EXPECT_EQ(setfreeze[10], "7");
    // Flag and score only: no locks, settings still clamped.
    set[19] = 0;
    set[11] = 99;
    game_mode_load();
    for (auto& f : setfreeze) EXPECT_EQ(f, "");
    EXPECT_LE(set[11], 4);
    // A mode index outside the tables means no mode.
    set[19] = 7;
    game_mode_load();
    for (auto& f : setfreeze) EXPECT_EQ(f, "");
}

TEST_F(ModeTest, UpdateHookBeforeStartHookOnce) {
    g_gamemodesi = {"m"};
    g_gamemodess = {"0,0"};
    g_gamemodes = {"M"};
    set[19] = 0;
    // Calls as digits: 1 update, 2 start, 3 draw.
    ASSERT_EQ(lua_runchunk("calls = 0 function m_gm_update() calls = calls * 10 + 1 end "
                           "function m_gm_start() calls = calls * 10 + 2 end "
                           "function m_gm_draw() calls = calls * 10 + 3 end",
                           "m"),
              0);
    game_mode_update(0, 1);
    game_mode_update(0, 1);
    g_fps_render = 1;
    game_mode_update(1, 0);
    g_fps_render = 0;
    game_mode_update(1, 0);   // skipped frames are not drawn
    EXPECT_EQ(lua_getglobalint("calls"), 1213);
}

TEST_F(ModeTest, WindTable) {
    SeedRnd(5);
    for (int i = 0; i < 200; ++i) {
        set[11] = 0;
        game_setstorm();
        EXPECT_EQ(g_storm, 0.0f);
        set[11] = 4;
        game_setstorm();
        EXPECT_TRUE(g_storm == 0.1f || g_storm == -0.1f) << g_storm;
        for (auto [wind, bound] : {std::pair{1, 0.025f}, {2, 0.05f}, {3, 0.1f}, {9, 0.1f}}) {
            set[11] = wind;
            game_setstorm();
            EXPECT_GE(g_storm, -bound);
            EXPECT_LE(g_storm, bound);
        }
    }
}

TEST_F(ModeTest, GravityAndHealthScale) {
    for (auto [setting, expected] : {std::pair{0, 0.1f}, {2, 0.2527f}, {6, 0.30581f}, {9, 0.1f}, {-1, 0.1f}}) {
        set[21] = setting;
        game_checksettings();
        EXPECT_EQ(g_gravity, expected) << setting;
    }
    team(0, 0, {1, 2});
    team(1, 0, {3});
    Tplayer::get(1)->health = 70;
    Tplayer::get(3)->health = 500;
    game_maxhealth();
    EXPECT_EQ(hud_maxhealth, 500);
    for (auto& p : Tplayer::list) p->health = 0;
    game_maxhealth();
    EXPECT_EQ(hud_maxhealth, 0);
}

TEST_F(ModeTest, ScriptGlideWinsOverGameGlide) {
    in_autotemp = 1, in_autotempx = 10, in_autotempy = 20;
    lua_scrolla = 1, lua_scrollx = 30, lua_scrolly = 40;
    game_scroll();
    EXPECT_EQ(in_auto, 1);
    EXPECT_EQ(in_autotx, 30);
    EXPECT_EQ(in_autoty, 40);
    EXPECT_EQ(in_autotemp, 0);
    EXPECT_EQ(lua_scrolla, 0);
    in_softmove_x = 3;
    game_resetscroll();
    EXPECT_EQ(in_auto, 0);
    EXPECT_EQ(in_softmove_x, 0);
}

}  // namespace
