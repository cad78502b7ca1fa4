// The holder's input: the controls table, the action bit, the timer digits,
// the weapon pick and target records, and the AI hooks.
#include "match_fixture.h"

namespace {

struct KeysTest : MatchTest {
    std::shared_ptr<Tplayer> p;
    void SetUp() override {
        MatchTest::SetUp();
        netplayer(0, false);
        team(0, 0, {1});
        team(1, 0, {2});
        set[1] = 60;
        game();   // the first turn starts
        p = Tplayer::get(g_turn_player);
        ASSERT_TRUE(p);
        for (int i = 0; i < 10; ++i) game();   // settle
    }
    // One call with the keys held (pressed anew when not held before);
    // returns the key byte and the records of the recorded frame.
    std::pair<int, Bytes> frame(std::initializer_list<int> held) {
        for (int k : held)
            if (!KeyDown(k)) InjectKey(k, true);
        for (int k = 0; k < kKeyCount; ++k)
            if (KeyDown(k) && std::find(held.begin(), held.end(), k) == held.end()) InjectKey(k, false);
        game();
        auto& e = Treplay::recorded.back();
        return {e.keybyte, bytes(e.data)};
    }
};

TEST_F(KeysTest, LeftExcludesRightUpExcludesDown) {
    p->dir = 1;
    float x = p->x;
    EXPECT_EQ(frame({37, 39}).first, 1);
    EXPECT_EQ(p->dir, -1);   // the first step turns
    EXPECT_EQ(frame({65, 68}).first, 1);
    EXPECT_LT(p->x, x);
    EXPECT_EQ(lua_keyright, 0);
    EXPECT_EQ(frame({38, 40}).first, 4);
    EXPECT_EQ(frame({40}).first, 8);
    EXPECT_EQ(frame({}).first, 0);
}

TEST_F(KeysTest, AimStaysOnItsSide) {
    p->dir = 1;
    p->wpnrot = 1;
    frame({38});
    frame({38});
    EXPECT_EQ(p->wpnrot, 0);
    p->wpnrot = 179;
    frame({40});
    frame({40});
    EXPECT_EQ(p->wpnrot, 180);
    EXPECT_EQ(game_aim(-1, -1, 1), 0);
    EXPECT_EQ(game_aim(-180, -1, 0), -180);
    EXPECT_EQ(game_aim(-40, -1, 0), -41);
}

TEST_F(KeysTest, HeldCtrlJumpsOnce) {
    int jumps = 0;
    for (int i = 0; i < 10; ++i) jumps += (frame({162}).first & 16) != 0;
    EXPECT_EQ(jumps, 1);
    frame({});
    EXPECT_EQ(frame({8}).first, 32);
}

TEST_F(KeysTest, ChatPromptOpenSendsTheActionBitOnly) {
    hud_chatprompt = 1;
    float x = p->x;
    int dir = p->dir;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(frame({37, 32, 162}).first, 128);
    EXPECT_EQ(p->x, x);
    EXPECT_EQ(p->dir, dir);
    hud_chatprompt = 0;
    frame({});
    FlushKeys();   // the chat input took the presses
    hud_rmenu = 1;
    EXPECT_EQ(frame({}).first, 128);   // the weapon menu open
    hud_rmenu = 0;
}

TEST_F(KeysTest, TimerDigitOnlyWhenTheBarWasDrawnNewAndInRange) {
    hud_drawtimermin = 1, hud_drawtimermax = 5, hud_drawtimerval = 3;
    struct Case {
        int key, bar;
        Bytes records;
    };
    for (const Case& c : {Case{50, 0, {}}, Case{50, 1, Rec().u8(14).i32(2).b}, Case{50, 1, {}},
                          Case{57, 1, {}}, Case{48, 1, {}}, Case{52, 1, Rec().u8(14).i32(4).b}}) {
        hud_drawtimertemp = c.bar;
        auto [key, records] = frame({c.key});
        EXPECT_EQ(records, c.records) << c.key << " " << c.bar;
        frame({});
    }
    EXPECT_EQ(hud_drawtimerval, 4);   // applied by the holder too
}

TEST_F(KeysTest, WeaponPickAndTarget) {
    hud_wpnsel = 7;
    auto [key, records] = frame({});
    EXPECT_EQ(records, (Bytes{10, 7}));
    EXPECT_EQ(p->wpn, 7);
    EXPECT_EQ(hud_wpnsel, -1);
    EXPECT_EQ(g_turn_selfaction_done, 1);
    g_wpn_attacked = 1;   // refused once the weapon attacked
    hud_wpnsel = 8;
    EXPECT_TRUE(frame({}).second.empty());
    EXPECT_EQ(p->wpn, 7);
    hud_drawposset = 2, hud_drawposx = 120, hud_drawposy = -4;
    EXPECT_EQ(frame({}).second, Rec().u8(13).i32(120).i32(-4).b);
    EXPECT_EQ(hud_drawposset, 1);
    EXPECT_EQ(lua_getglobalint("weapon_x"), 120);
    EXPECT_EQ(lua_getglobalint("weapon_position"), 1);
}

TEST_F(KeysTest, PickDropsTheTargetAndTimerOfItsFrame) {
    // The pick applies after the step, and clears both when it does.
    hud_drawtimermin = 1, hud_drawtimermax = 5, hud_drawtimerval = 3, hud_drawtimertemp = 1;
    hud_drawposset = 2, hud_drawposx = 120, hud_drawposy = 4;
    hud_wpnsel = 7;
    EXPECT_EQ(frame({50}).second, (Bytes{10, 7}));
    EXPECT_EQ(p->wpn, 7);
    EXPECT_EQ(hud_drawposset, 0);
    EXPECT_EQ(hud_drawtimertemp, 0);
    EXPECT_EQ(lua_getglobalint("weapon_position"), 0);
    EXPECT_EQ(lua_getglobalint("weapon_timer"), 0);
}

TEST_F(KeysTest, AiTurnRunsInitFirstThenMove) {
    Tteam::get(0)->extra = 9;
    Tteam::get(1)->extra = 9;
    ASSERT_EQ(lua_runchunk("log = 0 function ai_init() log = log * 10 + 1 end "
                           "function ai_move() log = log * 10 + 2 end function ai_back() log = log * 10 + 3 end",
                           "ai"),
              0);
    game_turn_start(0, 1);
    lua_ai_init = 0;
    game();
    game();
    EXPECT_EQ(lua_getglobalint("log"), 12);
    g_turn_state = 2;
    game();
    EXPECT_EQ(lua_getglobalint("log"), 123);
    EXPECT_EQ(lua_ailock, 0);
}

}  // namespace
