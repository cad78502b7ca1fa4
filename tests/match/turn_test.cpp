// The turn cycle: an idle hotseat turn frame by frame, the end
// synchronisation, turn times, the order of teams, players and rounds, and
// the turn message.
#include "match_fixture.h"

#include <tuple>

namespace {

struct TurnTest : MatchTest {
    // Frames the holder queued, by number: the full records (what the other
    // machines get), the key byte.
    std::map<int, Bytes> sent;
    int turn_of_sent = -1;

    void SetUp() override {
        MatchTest::SetUp();
        netplayer(0, false);
        team(0, 0, {1, 2});
        team(1, 0, {3, 4});
        set[1] = 5;   // round time
        set[2] = 3;
    }
    // One call; a frame the call queued lands in sent.
    void step() {
        int before = g_turn_frames, turn = g_turn;
        game();
        if (g_turn == turn && g_turn_frames == before + 1) sent[before] = bytes(g_frame_data);
    }
    static bool ends_with_resync(const Bytes& b) { return b.size() >= 22 && b[b.size() - 22] == 12; }
    std::vector<Treplay::Entry> replay_of_turn(int turn) {
        std::vector<Treplay::Entry> out;
        int t = 0;
        for (auto& e : Treplay::recorded) {
            if (e.frame == -1 && e.data->Size() >= 2 && e.data->PeekByte(1) == 1) t++;
            else if (t == turn) out.push_back(e);
        }
        return out;
    }
};

TEST_F(TurnTest, IdleHotseatTurnFrameByFrame) {
    step();   // the first turn starts in the host's first frame
    ASSERT_EQ(g_turn, 1);
    ASSERT_EQ(g_turn_state, 1);
    while (g_turn == 1 && g_turn_frames <= 300) step();
    ASSERT_EQ(g_turn_state, 100);
    ASSERT_EQ(g_turn_frames, 301);
    for (auto& [f, b] : sent) {
        if (f % 50 == 0) {
            EXPECT_TRUE(ends_with_resync(b)) << f;
        }
        if (f == 250) {
            EXPECT_EQ(Bytes(b.begin(), b.begin() + 2), (Bytes{1, 2}));
        }
        if (f > 250 && f < 300) {
            EXPECT_TRUE(b.empty()) << f;
        }
        if (f < 250) {
            EXPECT_TRUE(b.empty() || (f % 50 == 0 && b.size() == 22)) << f;
        }
    }
    const Bytes& end = sent[300];
    ASSERT_GE(end.size(), 3u);
    EXPECT_EQ(end[0], 1);
    EXPECT_EQ(end[1], 1);
    EXPECT_EQ(end[2], 4);
    EXPECT_EQ(end.size(), 3u + 4 * 14 + 22);
    // The replay has the same frames without record 12.
    auto replay = replay_of_turn(1);
    for (auto& e : replay) {
        if (e.frame == 250) {
            EXPECT_EQ(bytes(e.data), (Bytes{1, 2}));
        }
        if (e.frame == 0) {
            EXPECT_TRUE(bytes(e.data).empty());
        }
        if (e.frame == 300) {
            EXPECT_EQ(e.data->Size(), 3u + 4 * 14);
        }
    }
    // 101 and 102 in the next call, and the next turn starts in it.
    step();
    EXPECT_EQ(g_turn, 2);
    EXPECT_EQ(g_turn_state, 1);
    EXPECT_EQ(replay_of_turn(1).back().frame, 301);
}

TEST_F(TurnTest, NetworkedHolderRecordsChatWhileWaiting) {
    auto np = netplayer(1, true);
    step();
    while (g_turn_state < 102) step();
    EXPECT_EQ(Treplay::recorded.back().frame, 301);
    // Forced sending flushes the last partial batch within a batch's time.
    for (int i = 0; i < Tfb::kBatch && !np->frameout.empty(); ++i) game();
    EXPECT_TRUE(np->frameout.empty());
    EXPECT_EQ(g_turn, 1);   // the joined machine has not confirmed
    EXPECT_EQ(Treplay::recorded.back().frame, 301);
    g_replay_cbuffer->Bytes() = {92, 1, 0};
    game();
    EXPECT_EQ(Treplay::recorded.back().frame, 302);
    EXPECT_EQ(bytes(Treplay::recorded.back().data), (Bytes{92, 1, 0}));
    game();
    EXPECT_EQ(Treplay::recorded.back().frame, 302);   // nothing to carry: no frame
    np->turnready = 1;
    game();
    EXPECT_EQ(g_turn, 2);
}

TEST_F(TurnTest, SleepingPlayerEndsAtOnceAndPoisonStopsAtOne) {
    for (auto& p : Tplayer::list) p->state_sleeping = 1;
    Tplayer::get(1)->state_poisoned = 1, Tplayer::get(1)->health = 2;
    Tplayer::get(2)->state_poisoned = 1, Tplayer::get(2)->health = 1;
    Tplayer::get(3)->state_poisoned = 1, Tplayer::get(3)->health = 50;
    step();
    int turnplayer = g_turn_player;
    step();
    ASSERT_TRUE(sent.count(0));
    EXPECT_EQ(Bytes(sent[0].begin(), sent[0].begin() + 2), (Bytes{1, 2}));
    while (g_turn == 1) step();
    EXPECT_EQ(Tplayer::get(1)->health, 1);
    EXPECT_EQ(Tplayer::get(2)->health, 1);
    EXPECT_EQ(Tplayer::get(3)->health, 48);
    EXPECT_EQ(Tplayer::get(turnplayer)->state_sleeping, 0);
}

TEST_F(TurnTest, TurnTimeByTeamExtra) {
    for (auto [time, extra, expected] : {std::tuple{30, 1, 45}, {5, 2, 5}, {30, 2, 15}, {30, 0, 30}}) {
        Tteam::get(0)->extra = extra;
        Tteam::get(1)->extra = extra;
        set[1] = time;
        game_turn_start(0, 1);
        EXPECT_EQ(set_roundtime_tmp, expected) << time << " " << extra;
        EXPECT_EQ(set_backingtime_tmp, 3);
    }
}

TEST_F(TurnTest, TeamsPlayersAndRounds) {
    Tplayer::list.clear();
    Tteam::list.clear();
    team(2, 0, {1});
    team(5, 0, {2, 3});
    team(7, 0, {4, 5, 6});
    auto np = netplayer(1, true);
    set[1] = 30;
    Tteam::random = 5;
    using T = std::tuple<int, int, int, int, int>;
    const std::vector<T> expected = {{7, 4, 1, 1, 9}, {2, 1, 1, 2, 9}, {5, 2, 1, 3, 9}, {7, 5, 1, 4, 9},
                                     {2, 1, 1, 5, 9}, {5, 3, 1, 6, 9}, {7, 6, 1, 7, 9}, {2, 1, 1, 8, 9},
                                     {5, 2, 1, 9, 9}, {7, 4, 2, 1, 9}, {2, 1, 2, 2, 9}, {5, 3, 2, 3, 9}};
    for (size_t i = 0; i < expected.size(); ++i) {
        game_turn_start(0, 1);
        EXPECT_EQ(T(g_turn_team, g_turn_player, g_round, hud_turnbardone, hud_turnbarall), expected[i]) << i;
        if (i == 0) {
            ASSERT_FALSE(np->con->out.empty());
            Bytes m = np->con->out.front()->d->Bytes();
            Bytes head(m.begin(), m.begin() + 4), tail(m.begin() + 8, m.end());
            EXPECT_EQ(head, (Bytes{0x64, 1, 1, 4}));
            float wind;
            std::memcpy(&wind, &m[4], 4);
            EXPECT_EQ(wind, g_storm);
            EXPECT_EQ(tail, (Bytes{0x1E, 3, 1, 0, 1, 9}));
            EXPECT_EQ(np->turnready, 0);
            EXPECT_EQ(gui_lobby_lines.back(), "*** Next Turn: N0, Team T7, P4 ***");
        }
    }
    EXPECT_EQ(g_turn, 12);
}

TEST_F(TurnTest, MatchEndsWithTheLastColour) {
    game_turn_start(0, 1);
    EXPECT_TRUE(game_results.empty());
    Tteam::get(1)->color = 0;   // allies count as one colour
    game_turn_start(0, 1);
    EXPECT_EQ(game_results, std::vector<int>{1});
    TearDown();   // the match end emptied the players: a fresh match
    SetUp();
    game_turn_start(0, 1);
    game_results.clear();
    for (int id : {1, 2}) Tplayer::get(id)->health = 0;
    Tplayer::get(3)->health = 10;
    game_turn_start(0, 1);
    EXPECT_EQ(game_results, std::vector<int>{2});
    EXPECT_EQ(menu, 1);
}

TEST_F(TurnTest, JoinedMachineFollowsAndRecordsTheModeItStarts) {
    g_server = 0;
    g_server_hotseat = 0;
    g_player = 1;
    game_turn_start(3, 0);
    EXPECT_EQ(g_turn_player, 3);
    EXPECT_EQ(g_mode, 0);
    EXPECT_EQ(g_turn, 0);
    ASSERT_FALSE(Treplay::recorded.empty());
    EXPECT_EQ(Treplay::recorded.back().data->PeekByte(1), 0);
    game_turn_start(99, 1);   // unknown player: only the common part
    EXPECT_EQ(g_turn_player, 3);
    EXPECT_EQ(g_turn, 1);
    EXPECT_EQ(Treplay::recorded.back().data->PeekByte(2), 99);
}

TEST_F(TurnTest, PositioningTurnsThenTheFirstNormalTurn) {
    auto np = netplayer(1, true);
    for (int id : {2, 3}) {
        auto p = Tplayer::get(id);
        p->health = 0, p->x = -5000, p->y = -5000;
    }
    g_mode = 0;
    Tteam::random = 0;   // the cyclic pick gives team 1 first
    g_turn_team = -1;
    game_turn_start(0, 0);
    EXPECT_EQ(g_turn_team, 1);
    EXPECT_EQ(g_turn_player, 3);
    EXPECT_EQ(g_turn_state, 1);
    EXPECT_EQ(set_roundtime_tmp, 10);
    EXPECT_EQ(set_backingtime_tmp, 0);
    EXPECT_EQ(hud_turnbardone, 2);   // the players already placed
    EXPECT_EQ(hud_turnbarall, 4);
    EXPECT_EQ(g_turn, 0);
    EXPECT_EQ(np->con->out.back()->d->PeekByte(2), 0);   // mode 0
    EXPECT_TRUE(Treplay::recorded.empty());              // the host records normal turns only
    game_turn_start(0, 0);
    EXPECT_EQ(g_turn_team, 0);
    EXPECT_EQ(g_turn_player, 2);
    // Placed: the first normal turn starts round 1 with a fresh team pick.
    Tplayer::get(2)->health = Tplayer::get(3)->health = 100;
    Tplayer::get(2)->x = 100, Tplayer::get(3)->x = 200;
    Tplayer::get(2)->y = Tplayer::get(3)->y = 150;
    g_round = 5;
    game_turn_start(0, 1);
    EXPECT_EQ(g_round, 1);
    EXPECT_EQ(g_turn, 1);
    EXPECT_EQ(g_mode, 1);
    ASSERT_EQ(Treplay::recorded.size(), 1u);
    EXPECT_EQ(Treplay::recorded[0].data->PeekByte(1), 1);
}

TEST_F(TurnTest, BackingTimeFromEndturn) {
    set[1] = 60;
    step();
    while (g_turn_frames < 10) step();
    ASSERT_EQ(lua_runchunk("endturn()", "weapon"), 0);
    EXPECT_EQ(g_turn_state, 2);
    EXPECT_EQ(g_turn_backingstart, 10);
    while (g_turn == 1 && g_turn_state < 99) step();
    // Three seconds of backing time from frame 10, the world at rest.
    ASSERT_TRUE(sent.count(160));
    EXPECT_EQ(Bytes(sent[160].begin(), sent[160].begin() + 2), (Bytes{1, 2}));
    for (int f = 11; f < 160; ++f) EXPECT_TRUE(sent[f].empty() || sent[f][0] == 12) << f;
}

}  // namespace
