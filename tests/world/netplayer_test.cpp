// Net players: ids, lobby messages in each direction, replay chat records,
// the ready flags with the start of a networked match and its refusals.
#include "world/netplayer.h"

#include <gtest/gtest.h>

#include "core/host_settings.h"
#include "core/settings.h"
#include "terrain/pack.h"
#include "world_fixture.h"

namespace {

struct NetplayerTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        set_record = 1;
        for (int i = 0; i < 8; ++i) gui_slot[i] = 1;
    }
};

TEST_F(NetplayerTest, AutomaticIdsAndRefusedDuplicates) {
    Tnetpl::add(0, "host", nullptr);
    Tnetpl::add(1, "a", nullptr);
    auto np = Tnetpl::add(8, "b", nullptr);
    ASSERT_TRUE(np);
    EXPECT_EQ(np->id, 2);
    EXPECT_FALSE(Tnetpl::add(1, "again", nullptr));
    EXPECT_EQ(Tnetpl::list.size(), 3u);
    for (int i = 3; i < 8; ++i) Tnetpl::add(i, "x", nullptr);
    EXPECT_FALSE(Tnetpl::add(8, "full", nullptr));
    EXPECT_EQ(Tnetpl::list.size(), 8u);
    EXPECT_EQ(Tnetpl::add(9, std::string(40, 'n'), nullptr), nullptr);
    EXPECT_EQ(Tnetpl::getfreeslotid(), 255);
    Tnetpl::list.pop_back();
    gui_slot[7] = 0;
    EXPECT_EQ(Tnetpl::getfreeslotid(), 255);
    gui_slot[7] = 1;
    EXPECT_EQ(Tnetpl::getfreeslotid(), 7);
    EXPECT_EQ(Tnetpl::get(2)->name, "b");
}

TEST_F(NetplayerTest, NamesAreTrimmedToThirty) {
    auto np = Tnetpl::add(8, std::string(40, 'n'), nullptr);
    EXPECT_EQ(np->name, std::string(30, 'n'));
}

TEST_F(NetplayerTest, HostChatRelaysAndRecords) {
    g_server = 1;
    Tnetpl::add(0, "host", nullptr);
    auto con = std::make_shared<Tudp_con>();
    Tnetpl::add(1, "joiner", con);
    Tnetpl::chat(0, "hi", 1);
    ASSERT_EQ(con->out.size(), 1u);
    EXPECT_EQ(con->out.front()->d->Bytes(), (Bytes{0xF0, 0x01, 0x00, 0x02, 0x00, 0x68, 0x69}));
    EXPECT_EQ(g_replay_cbuffer->Bytes(), (Bytes{0x5A, 0x00, 0x02, 0x00, 0x68, 0x69}));
    EXPECT_EQ(gui_lobby_lines.back(), "host: hi");
    ASSERT_FALSE(Thud_chat::list.empty());
    // A system line is shown and relayed but never recorded; in a replay
    // nothing is recorded either.
    Tnetpl::chat(255, "sys", 1);
    g_replay = 1;
    Tnetpl::chat(0, "again", 0);
    EXPECT_EQ(g_replay_cbuffer->Size(), 6u);
    EXPECT_EQ(gui_lobby_lines.back(), "host: again");
}

TEST_F(NetplayerTest, JoinedMachineSendsToTheHostOnly) {
    g_server = 0;
    g_player = 1;
    Tnetpl::add(0, "host", nullptr);
    Tnetpl::add(1, "me", nullptr);
    Tnetpl::chat(1, "hi", 1);
    Tnetpl::gfnotify(1, 1);
    Tnetpl::lobbyready(1, 1, 1);
    auto host = server_con();
    ASSERT_EQ(host->out.size(), 1u);   // all into the open reliable packet
    EXPECT_EQ(host->out.front()->d->Bytes(), (Bytes{0xF0, 1, 2, 0, 'h', 'i', 0xF0, 2, 0xF0, 30, 1}));
    EXPECT_TRUE(gui_lobby_lines.empty());
    EXPECT_EQ(Tnetpl::get(1)->ready, 0);   // set when the host echoes it
}

TEST_F(NetplayerTest, TeamChatGoesToTheSendersLowestAlliance) {
    g_server = 1;
    Tnetpl::add(0, "host", nullptr);
    auto c1 = std::make_shared<Tudp_con>(), c2 = std::make_shared<Tudp_con>();
    Tnetpl::add(1, "a", c1);
    Tnetpl::add(2, "b", c2);
    auto team = [](int id, int np, int color) {
        auto t = std::make_shared<Tteam>();
        t->id = id, t->netplayer = np, t->color = color;
        Tteam::list.push_back(t);
    };
    team(0, 0, 5);
    team(1, 0, 2);
    team(2, 1, 2);
    team(3, 2, 5);
    Tnetpl::teamchat(0, "go", 1);
    EXPECT_EQ(c1->out.size(), 1u);
    EXPECT_EQ(c2->out.size(), 0u);
    EXPECT_EQ(gui_lobby_lines.back(), "host (Team): go");
    EXPECT_EQ(g_replay_cbuffer->Bytes()[0], 91);
    // A net player without teams: nothing shown or sent.
    Tnetpl::add(3, "c", nullptr);
    size_t lines = gui_lobby_lines.size();
    Tnetpl::teamchat(3, "x", 1);
    EXPECT_EQ(gui_lobby_lines.size(), lines);
    EXPECT_EQ(c1->out.front()->d->Size(), 7u);
}

TEST_F(NetplayerTest, AudioSignalCoolDownOnTheHost) {
    g_server = 1;
    Tnetpl::add(0, "host", nullptr);
    Tnetpl::gfnotify(0, 1);
    EXPECT_EQ(gui_in_lobby_notify, 255);
    EXPECT_EQ(gui_lobby_lines.back(), "*** host sent an audio signal ***");
    size_t lines = gui_lobby_lines.size();
    Tnetpl::gfnotify(0, 0);
    EXPECT_EQ(gui_lobby_lines.size(), lines);
}

TEST_F(NetplayerTest, StartWhenEveryoneIsReadyAndTheMapPacks) {
    g_server = 1;
    map_type = "000|5|0";
    Tnetpl::add(0, "host", nullptr);
    auto con = std::make_shared<Tudp_con>();
    auto j = Tnetpl::add(1, "j", con);
    Tnetpl::add(2, "k", nullptr);
    auto t = std::make_shared<Tteam>();
    Tteam::list.push_back(t);
    Tnetpl::lobbyready(0, 1, 1);
    Tnetpl::lobbyready(1, 1, 0);
    g_round = 7;
    j->filelist = {"a", "b"};
    j->transferinfo = "x";
    Tnetpl::lobbyready(2, 1, 0);
    EXPECT_EQ(gui_lobby_lines.back(), "*** All players ready! Starting game! ***");
    EXPECT_EQ(g_round, 0);   // the previous match was cleared
    EXPECT_TRUE(j->filelist.empty());
    EXPECT_EQ(j->transferinfo, "");
    EXPECT_TRUE(map_bank);
    auto& b = con->out.back()->d->Bytes();
    EXPECT_EQ(Bytes(b.end() - 2, b.end()), (Bytes{0xF0, 100}));
}

TEST_F(NetplayerTest, StartRefusedWithoutTeamsOrWithoutAMapPack) {
    g_server = 1;
    map_type = "000|5|0";
    Tnetpl::add(0, "host", nullptr);
    Tnetpl::lobbyready(0, 1, 1);
    EXPECT_EQ(gui_lobby_lines.back(), "*** You cannot start without any teams! ***");
    EXPECT_EQ(Tnetpl::getlobbyready(0), 0);
    Tteam::list.push_back(std::make_shared<Tteam>());
    map_type = "9";   // not a packable map: map_bank stays null
    map_bank = nullptr;
    Tnetpl::lobbyready(0, 1, 1);
    EXPECT_EQ(Tnetpl::getlobbyready(0), 0);
    EXPECT_TRUE(game_calls.empty());
    EXPECT_NE(gui_lobby_lines.back().find("Not starting"), std::string::npos);
}

TEST_F(NetplayerTest, SettingsSendTheFrozenValue) {
    g_server = 1;
    auto con = std::make_shared<Tudp_con>();
    Tnetpl::add(0, "host", nullptr);
    Tnetpl::add(1, "j", con);
    for (int i = 0; i < kHostSettings; ++i) set[i] = i, setfreeze[i].clear();
    setfreeze[3] = "42";
    set[19] = 0, set[18] = 5;
    g_gamemodes = {"Classic"};
    g_gameenders.clear();
    Tnetpl::lobbysendsettings();
    const Bank& b = *con->out.front()->d;
    ASSERT_EQ(b.Size(), 2u + 88u + 8u + 1u);
    EXPECT_EQ(b.PeekInt(2 + 4 * 3), 42);
    EXPECT_EQ(b.PeekInt(2 + 4 * 4), 4);
    EXPECT_EQ(b.PeekByte(90), 7);
    setfreeze[3].clear();
    g_gamemodes.clear();
}

TEST_F(NetplayerTest, ResetAndRandomId) {
    auto np = Tnetpl::add(5, "x", nullptr);
    np->ready = np->turnready = np->progress = np->transfer = 1;
    np->conerror = 2;
    Tfb::add(1, 0, nullptr, np->frameout);
    Tnetpl::reset();
    EXPECT_EQ(np->ready + np->turnready + np->progress + np->transfer, 0);
    EXPECT_TRUE(np->frameout.empty());
    EXPECT_EQ(Tnetpl::randomid(), 5);
    Tnetpl::list.clear();
    EXPECT_EQ(Tnetpl::randomid(), 0);
}

}  // namespace
