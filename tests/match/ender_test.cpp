// Game enders: the records of each built-in ender, the sweeps' last bands,
// once per turn, and script enders.
#include "match_fixture.h"

namespace {

struct EnderTest : MatchTest {
    void SetUp() override {
        MatchTest::SetUp();
        g_gameendersi = {"<flood>", "<laser-top>", "<laser-left>", "<laser-right>", "<laser-left+right>",
                         "<flood+laser-top>", "<laser-random>", "quake"};
        g_gameenders = g_gameendersi;
        set[17] = 1;
        g_round = 1;
        g_player = g_turn_netplayer = 0;
    }
    // One acting turn: the records the ender writes; the holder's own copy
    // is applied as in its frame.
    Bytes act(const std::string& name) {
        for (size_t i = 0; i < g_gameendersi.size(); ++i)
            if (g_gameendersi[i] == name) set[18] = (int)i;
        g_frame_data = CreateBank(0);
        Tfb::loc->Resize(0);
        g_enddone = 0;
        game_ender();
        Tfb::process_additional(Tfb::loc, nullptr);
        Tfb::loc->Resize(0);
        return g_frame_data->Bytes();
    }
};

TEST_F(EnderTest, LaserTopStepZeroHitsThePlayersInTheBand) {
    team(0, 0, {1, 2});
    Tplayer::get(1)->y = 20;    // in the band 0..30
    Tplayer::get(2)->y = 60;    // below it
    Bytes expected = Rec()
                         .u8(0x4E).u8(1)
                         .u8(0x4F).i32(0).i32(0).u16(30).u8(0)
                         .u8(0x28).u8(1).i32(100000)
                         .u8(0x50).u16(1)
                         .b;
    EXPECT_EQ(act("<laser-top>"), expected);
    EXPECT_EQ(g_endstep, 1);
    EXPECT_LE(Tplayer::get(1)->health, 0);
    EXPECT_EQ(Tplayer::get(2)->health, 100);
    EXPECT_GE(g_turn_idletimer, 50);
    // Once per turn.
    g_frame_data = CreateBank(0);
    game_ender();
    EXPECT_EQ(g_frame_data->Size(), 0u);
}

TEST_F(EnderTest, SweepsStopAtTheFarEdge) {
    map_setup(3, 6, 1);   // 300 x 600
    for (int s = 0; s <= 22; ++s) {
        Bytes b = act("<laser-top>");
        if (s <= 20) {
            ASSERT_EQ(b.size(), 2u + 12u + 3u) << s;
            EXPECT_EQ(b[2], 0x4F);
            EXPECT_EQ(b[7] | b[8] << 8, 30 * s);
        } else {
            EXPECT_EQ(b, Rec().u8(0x50).u16(s + 1).b) << s;
        }
    }
    g_endstep = 0;
    for (int s = 0; s <= 6; ++s) {
        Bytes b = act("<laser-left+right>");
        if (s <= 4) {
            ASSERT_EQ(b.size(), 2u + 24u + 3u) << s;
            if (s == 4) {
                EXPECT_EQ(b[3], 120);
                EXPECT_EQ(b[15], 150);
            }
        } else {
            EXPECT_EQ(b.size(), 3u) << s;
        }
    }
    g_endstep = 0;
    int last = 0;
    for (int s = 0; s <= 12; ++s) {
        Bytes b = act("<laser-right>");
        if (b.size() > 3) last = (int)(int32_t)(b[3] | b[4] << 8 | b[5] << 16 | (uint32_t)b[6] << 24);
    }
    EXPECT_EQ(last, 0);   // the smallest x of at least -25
}

TEST_F(EnderTest, FloodRandomAndScriptEnders) {
    g_waterlevel_change = 290;
    EXPECT_EQ(act("<flood>"), Rec().u8(31).i32(260).u8(78).u8(0).u8(80).u16(1).b);
    EXPECT_EQ(g_waterlevel_change, 260);
    Bytes both = act("<flood+laser-top>");
    EXPECT_EQ(both[0], 31);
    EXPECT_EQ(both[5], 78);
    EXPECT_EQ(both[7], 78);
    EXPECT_EQ(both[9], 79);
    Bytes r = act("<laser-random>");
    ASSERT_EQ(r.size(), 2u + 24u + 3u);
    EXPECT_EQ(r[13], 0);   // the first band is horizontal
    EXPECT_EQ(r[25], 1);
    ASSERT_EQ(lua_runchunk("steps = 0 function quake_ge_run(s) steps = steps * 10 + s + 1 end", "q"), 0);
    g_endstep = 0;
    act("quake");
    act("quake");
    EXPECT_EQ(lua_getglobalint("steps"), 12);
    EXPECT_EQ(g_endstep, 2);
}

TEST_F(EnderTest, NothingBeforeTheStartRoundOrWhenNever) {
    set[17] = 3;
    g_round = 2;
    EXPECT_TRUE(act("<laser-top>").empty());
    g_round = 3;
    EXPECT_FALSE(act("<laser-top>").empty());
    set[17] = 0;
    EXPECT_TRUE(act("<laser-top>").empty());
    set[17] = 1;
    set[18] = 40;   // outside the table
    g_enddone = 0;
    g_frame_data = CreateBank(0);
    game_ender();
    EXPECT_TRUE(g_frame_data->Bytes().empty());
}

}  // namespace
