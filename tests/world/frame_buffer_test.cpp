// Frame buffer: batching of outgoing frames, frame order, the end-of-turn
// confirmation, dead frames with their alarms and snapshot, keys and
// replay-only entries.
#include "world/frame_buffer.h"

#include <gtest/gtest.h>

#include "../support/temp_dir.h"
#include "platform/files.h"
#include "platform/system.h"
#include "world_fixture.h"

namespace {

struct FrameBufferTest : WorldTest {
    void TearDown() override {
        if (debugstream) debugstream->Close();
        debugstream = nullptr;
        SetDateSource(nullptr);
        WorldTest::TearDown();
    }
};

TEST_F(FrameBufferTest, ClientSendsFullBatchesOfTwentyFive) {
    TempDir dir({"debug"});
    debugstream = WriteFile("log.txt");
    g_server = 0;
    auto data = bank({0x1E, 0x00, 0x00, 0x80, 0x3F});
    for (int f = 0; f < 24; ++f) {
        Tfb::add(f + 3, 0x41, data, Tfb::fout);
        Tfb::send(0);
    }
    EXPECT_TRUE(server_con()->out.empty());
    Tfb::add(27, 0x41, data, Tfb::fout);
    Tfb::send(0);
    auto sent = packets(server_con());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].size(), 25u * 11u);
    EXPECT_EQ(Bytes(sent[0].begin(), sent[0].begin() + 11),
              (Bytes{0x1E, 0x03, 0x00, 0x41, 0x05, 0x00, 0x1E, 0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(server_con()->out.front()->id % 2, 0);   // reliable: even id
    EXPECT_EQ(server_con()->lp, nullptr);              // closed at once
    EXPECT_TRUE(Tfb::fout.empty());
    EXPECT_EQ(Tfb::sendtimer, 0);
    debugstream->Close();
    debugstream = nullptr;
    EXPECT_EQ(TempDir::read("log.txt"), "send frames (p#30) to server\r\n");
}

TEST_F(FrameBufferTest, ForcedRemainderWaitsForTwentyFiveCalls) {
    g_server = 0;
    for (int f = 0; f < 25; ++f) Tfb::add(f, 0, nullptr, Tfb::fout);
    Tfb::send(0);
    ASSERT_EQ(server_con()->out.size(), 1u);
    for (int f = 25; f < 28; ++f) Tfb::add(f, 0, nullptr, Tfb::fout);
    for (int call = 1; call < 25; ++call) {
        Tfb::send(1);
        ASSERT_EQ(server_con()->out.size(), 1u) << call;
    }
    Tfb::send(1);
    ASSERT_EQ(server_con()->out.size(), 2u);
    EXPECT_EQ(server_con()->out.back()->d->Size(), 3u * 6u);
}

TEST_F(FrameBufferTest, ServerSendsEachNetPlayersList) {
    g_server = 1;
    Tnetpl::add(0, "host", nullptr);
    auto c1 = std::make_shared<Tudp_con>(), c2 = std::make_shared<Tudp_con>();
    auto a = Tnetpl::add(1, "a", c1), b = Tnetpl::add(2, "b", c2);
    for (int f = 0; f < 25; ++f) Tfb::add(f, 0, nullptr, a->frameout);
    for (int f = 0; f < 3; ++f) Tfb::add(f, 0, nullptr, b->frameout);
    Tfb::send(1);
    EXPECT_EQ(c1->out.size(), 1u);
    EXPECT_EQ(c2->out.size(), 0u);   // the shared timer was zeroed by a's batch
    EXPECT_EQ(Tfb::allsent(), 0);
}

TEST_F(FrameBufferTest, FramesApplyInNumberOrder) {
    std::vector<std::string> traces;
    fb_trace = [&](const std::string& s) { traces.push_back(s); };
    g_turn_frames = 5;
    g_server = 0;
    for (int f : {5, 7, 6}) Tfb::add(f, 0, bank({30, 0, 0, (uint8_t)f, 0x40}), Tfb::fin);
    std::vector<int> applied;
    for (int call = 0; call < 3; ++call) {
        int before = g_turn_frames;
        Tfb::process();
        applied.push_back(before);
        EXPECT_EQ(g_turn_frames, before + 1);
    }
    EXPECT_EQ(applied, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(traces, (std::vector<std::string>{"unexpected frame: 7 (expected: 6)"}));
    EXPECT_TRUE(Tfb::fin.empty());
    EXPECT_EQ(g_matchlenght, 3);
    // A stale frame number is dropped, a waiting one is not queued twice.
    Tfb::add(3, 0, nullptr, Tfb::fin);
    Tfb::add(9, 0, nullptr, Tfb::fin);
    Tfb::add(9, 0, nullptr, Tfb::fin);
    EXPECT_EQ(Tfb::fin.size(), 2u);
    Tfb::process();
    ASSERT_EQ(Tfb::fin.size(), 1u);
    EXPECT_EQ(Tfb::fin.front()->frame, 9);
}

TEST_F(FrameBufferTest, TurnEndSyncIsConfirmedByTheClient) {
    g_server = 0;
    g_turn = 7;
    Tfb::add(0, 0, bank({0x01, 0x01, 0x00}), Tfb::fin);
    Tfb::process();
    auto sent = packets(server_con());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Bytes{0x64, 0x02, 0x07, 0x00}));
    EXPECT_EQ(server_con()->lp, nullptr);
    ASSERT_FALSE(in_console.empty());
    EXPECT_EQ(in_console.back(), "send endturn confirmation (turn 7) to server");
    EXPECT_EQ(g_turn_state, 102);
    // The server only ends the turn.
    world_clear();
    g_server = 1;
    Tfb::add(0, 0, bank({0x01, 0x01, 0x00}), Tfb::fin);
    Tfb::process();
    EXPECT_TRUE(Tudp_con::list.empty());
    EXPECT_EQ(g_turn_state, 102);
}

TEST_F(FrameBufferTest, DeadFramesRaiseCodeYellowAndRedOnAJoinedMachine) {
    TempDir dir;
    SetDateSource([] { return 1796694081LL; });   // 08 Dec 2026 01:41:21
    g_server = 0;
    g_player = 1;
    g_turn = 3;
    g_turn_frames = 40;
    Tnetpl::add(1, "me", nullptr);
    auto con = server_con();
    for (int call = 1; call <= 150; ++call) Tfb::process();
    EXPECT_TRUE(con->out.empty());
    Tfb::process();
    ASSERT_EQ(con->out.size(), 1u);
    EXPECT_EQ(con->out.back()->d->Bytes(), (Bytes{0x96, 0x01}));
    std::string snap = TempDir::read("debug/fs_08-Dec-2026_01-41-21.txt");
    EXPECT_EQ(snap.substr(0, 85),
              "code yellow\r\nTurn: 3 Turn State: 1\r\nExpecting Frame: 40\r\nDeadframes: 151\r\n---> Frame ");
    for (int call = 152; call <= 500; ++call) Tfb::process();
    EXPECT_EQ(con->out.size(), 1u);
    Tfb::process();
    ASSERT_EQ(con->out.size(), 2u);
    EXPECT_EQ(con->out.back()->d->Bytes(), (Bytes{0x96, 0x02}));
    EXPECT_EQ(g_turn_deadframes, 501);
    Tfb::add(40, 0, nullptr, Tfb::fin);
    Tfb::process();
    ASSERT_EQ(con->out.size(), 3u);
    EXPECT_EQ(con->out.back()->d->Bytes(), (Bytes{0x96, 0x00}));
    EXPECT_EQ(Tnetpl::get(1)->conerror, 0);
    EXPECT_EQ(g_turn_deadframes, 0);
}

TEST_F(FrameBufferTest, SnapshotListsFramesAndTheServerConnection) {
    TempDir dir;
    SetDateSource([] { return 1796694081LL; });
    g_server = 0;
    Tfb::add(44, 0, bank({1, 2, 3}), Tfb::fin);
    Tfb::add(45, 0, nullptr, Tfb::fin);
    auto p = std::make_shared<Tudp_p>();
    p->id = 6;
    p->d->Bytes() = {1, 2};
    server_con()->in.push_back(p);
    Tfb::savesnap("code red");
    EXPECT_EQ(TempDir::read("debug/fs_08-Dec-2026_01-41-21.txt"),
              "code red\r\nTurn: 0 Turn State: 1\r\nExpecting Frame: 0\r\nDeadframes: 0\r\n"
              "---> Frame Buffer Content:\r\n44 (3)\r\n45 (x)\r\n---------------------------------\r\n"
              "Connection: \r\nincoming queue packets: 1 (next id 2)\r\noutgoing queue packets: 0 (next id 2)\r\n"
              "error state: 0\r\n---> Incoming Packets:\r\n6 (2)\r\n");
}

TEST_F(FrameBufferTest, NoAlarmsWhereNoFramesAreDue) {
    TempDir dir;
    struct Case {
        const char* name;
        int server, mode, replay, state;
    };
    for (auto c : {Case{"positioning turn", 0, 0, 0, 1}, Case{"paused replay", 0, 1, 1, 1},
                   Case{"turn over", 0, 1, 0, 102}, Case{"server", 1, 1, 0, 1}}) {
        world_clear();
        g_server = c.server, g_mode = c.mode, g_replay = c.replay, g_turn_state = c.state;
        Tnetpl::add(0, "me", nullptr);
        for (int call = 0; call < 600; ++call) Tfb::process();
        EXPECT_TRUE(Tudp_con::list.empty() || Tudp_con::list.front()->out.empty()) << c.name;
        EXPECT_EQ(g_error_deadframes, 0) << c.name;
        EXPECT_EQ(g_turn_deadframes, 600) << c.name;
        EXPECT_EQ(FileType("debug"), FILETYPE_NONE) << c.name;
    }
}

TEST_F(FrameBufferTest, KeysMoveAndAimTheTurnPlayer) {
    struct Case {
        const char* name;
        int key, dir, rot, frozen, confused, allow;
        float want_x;
        int want_dir, want_rot;
    };
    const Case cases[] = {
        {"left turns round first", 1, 1, 30, 0, 0, 1, 100, -1, -30},
        {"right walks", 2, 1, 30, 0, 0, 1, 101, 1, 30},
        {"both: left then right", 3, 1, 30, 0, 0, 1, 100, 1, 30},
        {"confused left walks right", 1, 1, 30, 0, 1, 1, 101, 1, 30},
        {"frozen does not walk", 2, 1, 30, 1, 0, 1, 100, 1, 30},
        {"up facing right", 4, 1, 30, 0, 0, 1, 100, 1, 29},
        {"up facing right at 0", 4, 1, 0, 0, 0, 1, 100, 1, 0},
        {"up and down aims up only", 12, 1, 30, 0, 0, 1, 100, 1, 29},
        {"down at 180 stays", 8, 1, 180, 0, 0, 1, 100, 1, 180},
        {"up facing left at 0 stays", 4, -1, 0, 0, 0, 1, 100, -1, 0},
        {"down facing left", 8, -1, -179, 0, 0, 1, 100, -1, -180},
        {"down facing left at -180", 8, -1, -180, 0, 0, 1, 100, -1, -180},
        {"aiming ignores frozen", 8, 1, 30, 1, 0, 1, 100, 1, 31},
        {"no control", 7, 1, 30, 0, 0, 0, 100, 1, 30},
    };
    for (const auto& c : cases) {
        world_clear();
        auto p = player(1, 0, 100, 100, 50);
        p->dir = c.dir, p->wpnrot = c.rot, p->state_frozen = c.frozen, p->state_confused = c.confused;
        g_turn_player = 1;
        lua_allowplayercontrol = c.allow;
        g_turn_state = 99;   // keys only: no world step
        g_turn_state = 1;
        Tfb::add(0, c.key, nullptr, Tfb::fin);
        Tfb::process();
        EXPECT_EQ(p->x, c.want_x) << c.name;
        EXPECT_EQ(p->dir, c.want_dir) << c.name;
        EXPECT_EQ(p->wpnrot, c.want_rot) << c.name;
        EXPECT_EQ(lua_keyleft, c.key & 1) << c.name;
        EXPECT_EQ(lua_keyup, (c.key & 4) ? 1 : 0) << c.name;
    }
}

TEST_F(FrameBufferTest, KeyFlagsWithoutAPlayerAndActionBit) {
    g_turn_state = 3;
    Tfb::add(0, 0xC1, nullptr, Tfb::fin);
    Tfb::process();
    EXPECT_EQ(Tfb::action, 128);
    EXPECT_EQ(lua_keyleft, 1);
    EXPECT_EQ(lua_keyattack, 1);
    EXPECT_EQ(lua_keyhitleft, 1);   // left went 0 -> 1
    EXPECT_EQ(g_turn_frames, 1);
}

TEST_F(FrameBufferTest, WorldStepMovesWaterAndRunsOnlyBelow99) {
    g_waterlevel = 10, g_waterlevel_change = 5, g_terrainmodify = 2;
    Tfb::add(0, 0, nullptr, Tfb::fin);
    Tfb::process();
    EXPECT_EQ(g_waterlevel, 9);
    EXPECT_EQ(g_terrainmodify, 1);
    EXPECT_EQ(g_frame_move, 1);
    g_turn_state = 99;
    Tfb::add(1, 0, bank({30, 0, 0, 0x80, 0x3F}), Tfb::fin);
    Tfb::process();
    EXPECT_EQ(g_waterlevel, 9);
    EXPECT_EQ(g_storm, 1.0f);   // the records still apply
}

TEST_F(FrameBufferTest, ReplayOnlyEntries) {
    g_replay = 1;
    g_server = 0;   // playback follows the records like a joined machine
    g_turn_frames = 0;
    if (!Tteam::get(0)) Tteam::add(0, 0, "T", 0, 1, 0);
    if (!Tplayer::get(2)) Tplayer::add(2, 0)->team = 0;
    Rec start;
    start.u8(1).u8(1).u8(4).f32(-0.5f).u8(45).u8(5).u16(3).u8(2).u8(6);
    Tfb::add(-1, 1, bank(start.b), Tfb::fin);   // key byte set: removed unapplied
    Tfb::add(-1, 0, bank(start.b), Tfb::fin);
    Rec pos;
    pos.u8(3).u8(2).f32(10.7f).f32(-3.9f);
    Tfb::add(-1, 0, bank(pos.b), Tfb::fin);
    // The turn start empties fin (what came after it is gone); the walk
    // survives that.
    Tfb::process();
    EXPECT_TRUE(Tfb::fin.empty());
    EXPECT_EQ(g_turn_player, 4);
    EXPECT_EQ(g_mode, 1);
    EXPECT_EQ(g_turn, 1);
    EXPECT_EQ(g_storm, -0.5f);
    EXPECT_EQ(set_roundtime_tmp, 45);
    EXPECT_EQ(set_backingtime_tmp, 5);
    EXPECT_EQ(g_round, 3);
    EXPECT_EQ(hud_turnbardone, 2);
    EXPECT_EQ(hud_turnbarall, 6);
    EXPECT_EQ(g_turn_deadframes, 1);   // no numbered frame was there
    Tfb::add(-1, 0, bank(pos.b), Tfb::fin);
    Tfb::add(-1, 0, nullptr, Tfb::fin);
    Tfb::process();
    EXPECT_TRUE(Tfb::fin.empty());
    // The placement took the truncated position (player 2 of team 0).
    auto p2 = Tplayer::get(2);
    ASSERT_TRUE(p2);
    EXPECT_EQ(p2->x, 10.0f);
    EXPECT_EQ(p2->y, -3.0f);
}

}  // namespace
