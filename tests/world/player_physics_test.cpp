// Player movement and physics: free fall, the speed cap, walking over steps and
// into walls, jumps, landings with fall damage, pushes, water and rest.
#include <climits>

#include "player_fixture.h"

namespace {

using Physics = PlayerTest;

TEST_F(Physics, FreeFallAndTheSpeedCap) {
    auto p = player(1, 0, 100, 200, 20);
    for (int frame = 1; frame <= 10; ++frame) Tplayer::update();
    EXPECT_NEAR(p->y - 20.0f, 13.5f, 1e-4f);
    EXPECT_NEAR(p->fy, 3.0f, 1e-5f);
    int capped = 0;
    for (int frame = 11; frame <= 80 && capped == 0; ++frame) {
        Tplayer::update();
        if (p->fy == 20.0f) capped = frame;
    }
    EXPECT_EQ(capped, 67);
    EXPECT_EQ(p->health, 100);
}

TEST_F(Physics, DeadPlayersNeverMove) {
    auto p = player(1, 0, 0, 200, 20);
    for (int i = 0; i < 5; ++i) Tplayer::update();
    EXPECT_EQ(p->y, 20.0f);
    EXPECT_EQ(p->fy, 0.0f);
}

// Walks right for a number of frames as the frame processing does: one key
// step, then the physics step.
void walk_right(Tplayer& p, int frames) {
    for (int i = 0; i < frames; ++i) {
        p.move(1, 1);
        Tplayer::update();
    }
}

TEST_F(Physics, ClimbsThreePixelsButNotFour) {
    ground(0, 399, 600);
    ground(230, 260, 597);   // a 3-pixel step
    ground(330, 360, 593);   // a 4-pixel wall on top of the floor
    auto p = player(1, 0, 100, 200, standing(600));
    p->dir = 1;
    g_turn_player = 1;
    walk_right(*p, 45);
    EXPECT_GT(p->x, 235.0f);
    EXPECT_LE((int)p->y, (int)standing(597));
    walk_right(*p, 150);
    // Stopped by the wall: its right edge (x + 6) stays left of column 320.
    EXPECT_LT(p->x + 6.0f, 330.0f);
    EXPECT_GT(p->x, 300.0f);
}

TEST_F(Physics, TurningOnlyTurnsAndMirrorsTheAim) {
    ground(0, 399, 600);
    auto p = player(1, 0, 100, 200, standing(600));
    p->dir = 1, p->wpnrot = 45;
    p->move(0, 1);
    EXPECT_EQ(p->dir, -1);
    EXPECT_EQ(p->wpnrot, -45);
    EXPECT_EQ(p->x, 200.0f);
    p->move(0, 1);
    EXPECT_EQ(p->x, 199.0f);
    EXPECT_EQ(p->laststep, 5);
    EXPECT_EQ(p->idletimer, 50);
    EXPECT_EQ(p->movementinrow, 5);
}

TEST_F(Physics, JumpsNeedGroundAndNoAction) {
    ground(0, 399, 600);
    auto p = player(1, 0, 100, 200, standing(600));
    p->dir = -1;
    p->jump1();
    EXPECT_EQ(p->fx, -3.0f);
    EXPECT_EQ(p->fy, -3.0f);
    EXPECT_EQ(p->action, 10);
    p->fx = p->fy = 0;
    p->jump2();   // action is not 0
    EXPECT_EQ(p->fy, 0.0f);
    p->action = 0;
    p->jump2();
    EXPECT_EQ(p->fx, 1.0f);
    EXPECT_EQ(p->fy, -5.0f);
    auto air = player(2, 0, 100, 100, 300);
    air->dir = 1;
    air->jump1();
    air->jump2();
    EXPECT_EQ(air->action, 0);
    EXPECT_EQ(air->fy, 0.0f);
}

// A player falling from height h above the floor lands at a vertical speed.
TEST_F(Physics, FallDamageBySetting) {
    struct Case { int setting; float fy; int health_after; int state; };
    for (auto k : {Case{1, 8.0f, 100, 1}, {1, 8.5f, 99, 1}, {2, 8.5f, 99, 3}, {3, 8.5f, -1, 1}, {0, 15.0f, 100, 1}}) {
        world_clear();
        map_setup(4, 10, 1);
        ground(0, 399, 600);
        set[5] = k.setting;
        Tteam::add(0, 0, "t", 0, 1, 0);
        g_turn_team = 0;
        g_turn_state = 1;
        auto p = player(1, 0, 100, 200, standing(600) - 0.5f);
        g_turn_player = 1;
        p->fy = k.fy;
        Tplayer::update();
        if (k.health_after < 0)
            EXPECT_LE(p->health, 0) << k.setting;
        else
            EXPECT_EQ(p->health, k.health_after) << k.setting << " " << k.fy;
        EXPECT_EQ(g_turn_state, k.state) << k.setting;
        EXPECT_EQ(p->fy, 0.0f);
    }
}

TEST_F(Physics, TurnPlayerStopsDeadOthersSlide) {
    ground(0, 399, 600);
    auto turn = player(1, 0, 100, 100, standing(600) - 1.0f);
    auto other = player(2, 0, 100, 300, standing(600) - 1.0f);
    g_turn_player = 1;
    turn->fx = other->fx = 4.0f;
    turn->fy = other->fy = 2.0f;
    Tplayer::update();
    EXPECT_EQ(turn->fx, 0.0f);
    EXPECT_EQ(other->fx, 4.0f * 0.9f * 0.99f);
    EXPECT_EQ(turn->idle, 1);
    EXPECT_EQ(g_turn_idletimer, 22);
}

TEST_F(Physics, LandingOnAPlayerPushesIt) {
    ground(0, 399, 600);
    auto below = player(2, 0, 100, 200, standing(600));
    below->idle = 1;
    auto top = player(1, 0, 100, 200, standing(600) - 24.5f);
    top->fx = 1.0f;
    top->fy = 2.0f;
    g_turn_player = 1;
    Tplayer::update();
    // Pushed (fx 0.5, fy 2) and stepped later in the same frame: it lands on
    // the floor at once and slides with friction.
    EXPECT_EQ(below->fx, 0.5f * 0.9f * 0.99f);
    EXPECT_EQ(below->fy, 0.3f);
    EXPECT_EQ(below->y, standing(600));
    EXPECT_EQ(top->fy, 0.3f);   // stopped, then gravity of this frame
    EXPECT_EQ(top->dynamiccol, 1);
}

TEST_F(Physics, WaterSkipAndDrowning) {
    g_waterlevel = 500;
    auto skipper = player(1, 0, 100, 100, 499);
    skipper->fx = 10.0f, skipper->fy = 2.0f;
    Tplayer::update();
    EXPECT_LT(skipper->fy, 0.0f);
    EXPECT_EQ(skipper->health, 100);

    auto victims = Tteam::add(0, 0, "victims", 1, 1, 0);
    auto turn = Tteam::add(1, 0, "turn", 2, 1, 0);
    g_turn_team = 1;
    Tplayer::list.clear();
    auto p = player(3, 0, 70, 100, 450);
    for (int i = 0; i < 60 && p->health > 0; ++i) Tplayer::update();
    EXPECT_EQ(p->health, INT_MIN);
    EXPECT_EQ(victims->stats_dmg_suffered, 70);
    EXPECT_EQ(victims->stats_deaths, 1);
    EXPECT_EQ(turn->stats_dmg_caused, 70);
    EXPECT_EQ(turn->stats_kills, 1);
    EXPECT_EQ(g_turn_idletimer, 50);
    ASSERT_FALSE(Thud_flytext::list.empty());
    EXPECT_EQ(Thud_flytext::list.back().text, "-70");
}

TEST_F(Physics, SubStepsFollowTheSignedMaximum) {
    // fx = -20: one sub-step of -20 pixels, so a 10-pixel wall in the way is
    // jumped over in a single step.
    ground(0, 399, 600);
    auto p = player(1, 0, 100, 200, 300);
    p->fx = -20.0f;
    Tplayer::update();
    EXPECT_EQ(p->x, 180.0f);
}

TEST_F(Physics, RestingPlayerSkipsThePhysicsUntilWoken) {
    ground(0, 399, 600);
    auto p = player(1, 0, 100, 200, standing(600) - 0.5f);
    for (int i = 0; i < 20; ++i) Tplayer::update();
    EXPECT_EQ(p->idle, 1);
    float y = p->y;
    Tplayer::update();
    EXPECT_EQ(p->y, y);
    EXPECT_EQ(p->idle, 1);
    collide_update();
    EXPECT_EQ(p->fy, 0.3f);
    EXPECT_EQ(p->idle, 0);
    EXPECT_EQ(p->idletimer, 5);
}

}  // namespace
