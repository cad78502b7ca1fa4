// The match step outside the holder's frame: replay feeding by speed, the
// end of a replay, the shake, the HUD keys, the positioning click and a
// joined holder's end-of-turn confirmation.
#include "match_fixture.h"

#include "terrain/view.h"

namespace {

using StepTest = MatchTest;

TEST_F(StepTest, ReplaySpeedsFeedRecordsPerCall) {
    g_replay = 1;
    g_server = 0;
    // Records per call at speeds 0..5, over eight calls: 1/4, 1/2, 1, 2, 4, 8.
    for (auto [speed, fed] : {std::pair{0, 2}, {1, 4}, {2, 8}, {3, 16}, {4, 32}, {5, 64}}) {
        Treplay::list.assign(1000, Treplay::Entry{-1, 1, nullptr});   // entries that change nothing
        g_replay_speed = speed;
        g_replay_timer = 0;
        for (int i = 0; i < 8; ++i) game();
        EXPECT_EQ(1000 - (int)Treplay::list.size(), fed) << speed;
    }
    // Paused: nothing is fed.
    g_replay_pause = 1;
    size_t left = Treplay::list.size();
    game();
    EXPECT_EQ(Treplay::list.size(), left);
    // Used up: the replay ends with its stored result.
    g_replay_pause = 0;
    Treplay::list.clear();
    Treplay::wincolor = 3;
    game();
    EXPECT_EQ(game_results, std::vector<int>{3});
    EXPECT_EQ(menu, 1);
}

TEST_F(StepTest, ShakeIsCappedAndOnlyMovesTheDrawing) {
    map_x = 10, map_y = -20;
    g_shake = 100;
    game();
    EXPECT_EQ(g_shake, 29);
    EXPECT_EQ(map_x, 10);
    EXPECT_EQ(map_y, -20);
}

TEST_F(StepTest, HudKeysOnlyWithTheChatClosed) {
    g_server = 0;   // no turn starts here (a turn start flushes the keys)
    hud_shownamehealth = 2, hud_showarrows = 0, hud_show = 1;
    for (int k : {78, 80, 72}) InjectKey(k, true);
    game();
    EXPECT_EQ(hud_shownamehealth, 0);
    EXPECT_EQ(hud_showarrows, 1);
    EXPECT_EQ(hud_show, 0);
    hud_chatprompt = 1;
    for (int k : {78, 80, 72}) InjectKey(k, false), InjectKey(k, true);
    game();
    EXPECT_EQ(hud_show, 0);
}

TEST_F(StepTest, PositioningHolderPlacesByClick) {
    g_server = 0;   // no turn starts here
    netplayer(0, false);
    team(0, 0, {1});
    g_mode = 0;
    g_turn_player = 1;
    map_x = -100, map_y = 0;
    in_m1 = 1, in_mx = 50, in_my = 70;
    auto p = Tplayer::get(1);
    auto unplace = [&] { p->x = p->y = -5000, p->health = 0; };
    unplace();
    game();
    EXPECT_EQ(p->x, 150.0f);   // the click, in map pixels, dropped onto the ground
    EXPECT_GT(p->health, 0);
    EXPECT_EQ(Thud_msg::info, "Click to set the initial position for P1!");
    hud_rmenu = 1;   // not with the weapon menu open
    unplace();
    game();
    EXPECT_EQ(p->health, 0);
}

TEST_F(StepTest, JoinedHolderConfirmsTheEndOfItsTurn) {
    g_server = 0;
    g_player = 1;
    netplayer(0, false);
    netplayer(1, false);
    team(0, 1, {1});
    g_turn = 7;
    g_turn_player = 1;
    g_turn_netplayer = 1;
    g_turn_state = 100;
    game();   // 100 -> 101: the confirmation, then 102
    EXPECT_EQ(g_turn_state, 102);
    auto con = Tudp_con::Get(g_server_ip, g_server_port, 0);
    ASSERT_TRUE(con);
    ASSERT_FALSE(con->out.empty());
    EXPECT_EQ(con->out.back()->d->Bytes(), (Bytes{100, 2, 7, 0}));
}

}  // namespace
