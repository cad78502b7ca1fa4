// Match flow around the turns: the start on the host and on a joined
// machine, the recent-values store, positioning, statistics, the match end
// and the replay file (read back by a reader written from the file layout).
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "../support/temp_dir.h"
#include "core/bank_codec.h"
#include "core/recent_values.h"
#include "frontend/screens/console.h"
#include "frontend/screens/menu.h"
#include "frontend/widgets/widgets.h"
#include "match/setup.h"
#include "match_fixture.h"
#include "platform/files.h"
#include "scripting/script_files.h"
#include "terrain/pack.h"
#include "terrain/scenery.h"
#include "terrain/scenery_grid.h"
#include "terrain/shapes.h"
#include "terrain/tiles.h"
#include "world/objects.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string text(const std::string& path) {
    auto b = LoadBank(path);
    return b ? std::string(b->Bytes().begin(), b->Bytes().end()) : "";
}

struct FlowTest : MatchTest {
    TempDir dir{{"sys", "sys/gamesettings", "replays", "weaponsets"}};
    void SetUp() override {
        MatchTest::SetUp();
        Tteam::statscopy.clear();
        set_scrx = 800, set_scrxh = 400, set_scry = 600, set_scryh = 300;
    }
    // Packets queued on a connection, as bytes; a packet the layer split
    // into parts (header 4, u16 part number, 65535 the last) joined again.
    static std::vector<Bytes> packets(const std::shared_ptr<Tudp_con>& con) {
        std::vector<Bytes> out;
        Bytes joined;
        for (auto& pk : con->out) {
            auto& b = pk->d->Bytes();
            if (b.size() >= 3 && b[0] == 4) {
                joined.insert(joined.end(), b.begin() + 3, b.end());
                if (b[1] == 255 && b[2] == 255) out.push_back(joined), joined.clear();
            } else {
                out.push_back(b);
            }
        }
        return out;
    }
};

// ---- Recent-values store

TEST_F(FlowTest, RecentValuesFileLines) {
    SaveBank(Bank((const uint8_t*)"  a = one two \r\nnoequals\r\nb=x=y\r\na=later\r\n", 42), "sys/r.cfg");
    Trec::loadkeys("r.cfg");
    ASSERT_EQ(Trec::list.size(), 2u);
    EXPECT_EQ(Trec::list[0].key, "a");
    EXPECT_EQ(Trec::getkey("a"), "later");   // the repeat replaces in the first place
    EXPECT_EQ(Trec::getkey("b"), "x");
    EXPECT_EQ(Trec::getkey("A"), "");
    Trec::savekeys("w.cfg");
    EXPECT_EQ(text("sys/w.cfg"), "a=later\r\nb=x\r\n");
    Trec::loadkeys("missing.cfg");
    EXPECT_TRUE(Trec::list.empty());
}

// ---- Start on the host and on a joined machine

TEST_F(FlowTest, HostSendsPartsAndAJoinedMachineBuildsTheSameMatch) {
    g_server = 1, g_server_hotseat = 0, g_player = 0;
    netplayer(0, false);
    auto j = netplayer(1, true);
    team(0, 0, {1, 2, 3, 4, 5, 6});
    team(1, 1, {7, 8, 9, 10, 11});
    Tplayer::list.clear();   // map_stuffsetup makes them from the teams
    for (auto& t : Tteam::list)
        for (int i = 0; i < t->players; ++i) t->playernames[(size_t)i] = "N" + std::to_string(i) + ",2";
    menu = 1;   // still in the lobby: objects take global ids
    Tscro::primaryweapon = 0x0102;
    game_start(nullptr);
    EXPECT_EQ(menu, 2);
    EXPECT_EQ(text("sys/recent_playercount.cfg"), "recent_playercount=6\r\n");
    ASSERT_EQ(Tplayer::list.size(), 11u);
    // With exactly 51 objects in the list (in place of the mines and traps
    // the placement scattered) the message carries two object parts.
    j->con->out.clear();
    j->con->lp = nullptr;
    Tobj::list.clear(), Tobj_fake::list.clear();
    menu = 1;
    for (int i = 0; i < 51; ++i) Tobj::Create(-3, 10 + i, 100, 0, -1, 0);
    Tobj::list.front()->x = -3.7f;
    (*std::next(Tobj::list.begin()))->x = 3.7f;
    menu = 2;
    game_start_send(j->con);
    auto out = packets(j->con);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(Bytes(out[0].begin(), out[0].begin() + 4), (Bytes{0xF1, 0x14, 0x01, 0x0A}));
    EXPECT_EQ(Bytes(out[1].begin(), out[1].begin() + 4), (Bytes{0xF1, 0x14, 0x01, 0x01}));
    EXPECT_EQ(Bytes(out[2].begin(), out[2].begin() + 4), (Bytes{0xF1, 0x14, 0x02, 0x32}));
    EXPECT_EQ(Bytes(out[2].begin() + 4 + 10, out[2].begin() + 4 + 14), (Bytes{0xFD, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Bytes(out[2].begin() + 22 + 10, out[2].begin() + 22 + 14), (Bytes{0x03, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Bytes(out[3].begin(), out[3].begin() + 4), (Bytes{0xF1, 0x14, 0x02, 0x01}));
    EXPECT_EQ(out[4], (Bytes{0xF1, 0x14, 0xFE, 0x02, 0x01}));
    EXPECT_EQ(out[5], (Bytes{0xF1, 0x14, 0xFF}));
    struct P { int id, team, health; float x, y; int dir; std::string name; int acc; };
    std::vector<P> want;
    for (auto& p : Tplayer::list) want.push_back({p->id, p->team, p->health, p->x, p->y, p->dir, p->name, p->accessory});
    std::vector<std::pair<int, float>> objs;
    for (auto& o : Tobj::list) objs.push_back({o->id, (float)(int)o->x});
    // The joined machine, fed the packets.
    Tplayer::list.clear(), Tobj::list.clear(), Tobj_fake::list.clear();
    Tudp_con::list.clear();
    menu = 1, g_server = 0, g_player = 1;
    set_saveres = 0;
    for (auto& b : out) {
        auto pk = Tudp_p::Create();
        pk->d = std::make_shared<Bank>(b.data(), b.size());
        pk->rbyte(), pk->rbyte();
        game_start(pk.get());
        if (b[2] != 0xFF) {
            EXPECT_EQ(menu, 1);
        }
    }
    EXPECT_EQ(menu, 2);
    ASSERT_EQ(Tplayer::list.size(), want.size());
    size_t i = 0;
    for (auto& p : Tplayer::list) {
        auto& w = want[i++];
        EXPECT_EQ(p->id, w.id);
        EXPECT_EQ(p->team, w.team);
        EXPECT_EQ(p->health, w.health);
        EXPECT_EQ(p->x, w.x);
        EXPECT_EQ(p->y, w.y);
        EXPECT_EQ(p->name, w.name);
        EXPECT_EQ(p->accessory, 2);
        EXPECT_EQ(p->wpn, 0x0102);
        EXPECT_EQ(p->wpnrot, p->dir * 90);
    }
    ASSERT_EQ(Tobj::list.size(), objs.size());
    i = 0;
    for (auto& o : Tobj::list) {
        EXPECT_EQ(o->id, objs[i].first);
        EXPECT_EQ(o->x, objs[i].second);
        ++i;
    }
    auto host = Tudp_con::Get(g_server_ip, g_server_port, 0);
    ASSERT_TRUE(host);
    EXPECT_EQ(packets(host), (std::vector<Bytes>{{0x64, 0x02, 0x00, 0x00}}));
    EXPECT_EQ(FileType("weaponsets/GF Download.gfws"), 0);
    EXPECT_EQ(text("sys/recent_team.cfg"), "recent_team=T1\r\n");
}

// The leaf sprites of the scenery grid, in grid order.
std::vector<std::tuple<int, int, float, float>> leaves() {
    std::vector<std::tuple<int, int, float, float>> out;
    for (auto& cell : Tscc::map.cells)
        for (const Tsc_list* l : {&cell.list(), &cell.listf()})
            for (auto& s : *l) out.emplace_back(s->typ, s->sub, s->x, s->y);
    return out;
}

// A style-0 shape map with branch tiles: the host's start grows the leaves;
// a joined machine fed the host's start message and a replay of the match
// grow the same ones, whatever their generators hold.
TEST_F(FlowTest, JoinedMachinesAndReplaysGetTheHostsTreeLeaves) {
    map_type = "000|3|0";
    Tmap_shape::list.clear();
    Tmap_shape::add(9, 100, 60, 50, 50);
    Tmap_shape::add(14, 250, 60, 50, 50);
    Tmap_shape::add(20, 400, 60, 50, 50);
    Tmap_shape::add(8, 500, 60, 50, 50);   // a rock: no leaves
    g_server = 1, g_server_hotseat = 0, g_player = 0;
    netplayer(0, false);
    auto j = netplayer(1, true);
    team(0, 0, {1});
    team(1, 1, {2});
    Tplayer::list.clear();
    map_compress();
    ASSERT_TRUE(map_bank);
    Tscc::clear();
    menu = 1;
    game_start(nullptr);
    ASSERT_EQ(menu, 2);
    const auto host = leaves();
    ASSERT_FALSE(host.empty());
    ASSERT_TRUE(Treplay::savereplay("leaves", 0));
    auto out = packets(j->con);
    ASSERT_FALSE(out.empty());
    // The joined machine.
    Tscc::clear();
    Tplayer::list.clear(), Tobj::list.clear(), Tobj_fake::list.clear();
    Tudp_con::list.clear();
    menu = 1, g_server = 0, g_player = 1;
    set_saveres = 0;
    SeedRnd(4242);
    for (auto& b : out) {
        auto pk = Tudp_p::Create();
        pk->d = std::make_shared<Bank>(b.data(), b.size());
        pk->rbyte(), pk->rbyte();
        game_start(pk.get());
    }
    ASSERT_EQ(menu, 2);
    EXPECT_EQ(leaves(), host);
    // The replay, loaded from its file alone.
    Tscc::clear();
    Tmap_shape::list.clear();
    SeedRnd(777);
    ASSERT_EQ(Treplay::loadreplay("leaves", -1), 1);
    EXPECT_EQ(Tmap_shape::list.size(), 4u);
    EXPECT_EQ(leaves(), host);
    g_replay = 0;
}

TEST_F(FlowTest, JoinedMachineIgnoresShortAndUnknownParts) {
    g_server = 0;
    for (Bytes b : {Bytes{}, Bytes{7}, Bytes{1}, Bytes{2, 3, 1, 0}, Bytes{254, 1}, Bytes{1, 1, 5, 0, 0, 0, 0, 0, 0, 0}}) {
        auto pk = Tudp_p::Create();
        pk->d = std::make_shared<Bank>(b.data(), b.size());
        game_start(pk.get());
    }
    EXPECT_TRUE(Tplayer::list.empty());
    EXPECT_TRUE(Tobj::list.empty());
    EXPECT_EQ(menu, 2);   // the fixture's value: nothing switched
}

TEST_F(FlowTest, HotseatStartFilesCameraWaterAndLockedPositioning) {
    map_setup(13, 3, 1);   // 1300 x 300
    map_rect(0, 200, 1300, 100, (int)0xFF808080u);
    g_server = 1, g_server_hotseat = 1, g_player = 0;
    netplayer(0, false);
    for (int id : {0, 3}) Tteam::add(id, 0, "Team" + std::to_string(id), id, 2, id == 3 ? 4 : 0);
    set[7] = 1;              // the host chose manual placement ...
    setfreeze[7] = "0";      // ... which the mode locks to random
    for (auto f : {"sys/recent_playercount.cfg", "sys/recent_team.cfg"}) DeleteFile(f);
    menu = 1;
    game_start(nullptr);
    EXPECT_EQ(menu, 2);
    EXPECT_EQ(map_x, -250.0f);
    EXPECT_EQ(g_waterlevel, map_ysize - 10);
    EXPECT_EQ(g_waterlevel_change, map_ysize - 10);
    ASSERT_EQ(Tplayer::list.size(), 4u);
    for (auto& p : Tplayer::list) EXPECT_GT(p->health, 0);
    EXPECT_EQ(game_positioningphase(), 0);
    EXPECT_NE(text("sys/gamesettings/Recent.cfg").find("positioning=1"), std::string::npos);
    Trec::loadkeys("recent_hotseatteams.cfg");
    EXPECT_EQ(Trec::list.size(), 8u);
    EXPECT_EQ(Trec::getkey("recent_team_slot3"), "Team3");
    EXPECT_EQ(Trec::getkey("recent_count_slot3"), "2");
    EXPECT_EQ(Trec::getkey("recent_color_slot3"), "3");
    EXPECT_EQ(Trec::getkey("recent_extra_slot3"), "4");
    EXPECT_EQ(FileType("sys/recent_playercount.cfg"), 0);
    EXPECT_EQ(FileType("sys/recent_team.cfg"), 0);
}

TEST_F(FlowTest, SpawnFailureStaysInTheLobbyAndOneColourIsSinglePlayer) {
    g_server = 1, g_server_hotseat = 1, g_player = 0;
    netplayer(0, false);
    Tteam::add(0, 0, "A", 4, 1, 0);
    Tteam::add(1, 0, "B", 4, 1, 0);
    map_setup(6, 3, 1);   // no ground anywhere
    menu = 1;
    game_start(nullptr);
    EXPECT_EQ(menu, 1);
    EXPECT_EQ(menu_error_message, "Failed to spawn players! Check your map!");
    EXPECT_EQ(menu_error_return, kSubLobby);
    map_rect(0, 200, 600, 100, (int)0xFF808080u);
    Tplayer::list.clear();
    in_console.clear();
    game_start(nullptr);
    EXPECT_EQ(menu, 2);
    EXPECT_EQ(g_singleplayer, 1);
    EXPECT_EQ(in_console.back(), "There is only one team! Using singleplayer mode!");
}

TEST_F(FlowTest, JoinedMachineKeepsTheWeaponSetWhenAsked) {
    g_server = 0, g_player = 1;
    set_saveres = 1;
    auto pk = Tudp_p::Create();
    pk->wbyte(255);
    game_start(pk.get());
    EXPECT_EQ(FileType("weaponsets/GF Download.gfws"), 1);
    set_saveres = 0;
}

// ---- Positioning

TEST_F(FlowTest, ClickSearchesTheSpotBelow) {
    g_server = 0;
    team(0, 0, {1});
    auto p = Tplayer::get(1);
    auto place = [&](int x, int y) {
        p->x = p->y = -5000, p->health = 0;
        game_setposition(1, x, y, 1);
        return p->health > 0;
    };
    // The highest free y above the ground at column 100.
    int free = 0;
    for (int y = 0; y < 300; ++y)
        if (collide(gfx_pl_col, 100, y, 0, nullptr, nullptr) == 0) free = y;
        else break;
    ASSERT_TRUE(place(100, free - 100));
    EXPECT_EQ(p->y, (float)free);
    EXPECT_EQ(p->x, 100.0f);
    EXPECT_FALSE(place(100, free - 125));   // ground more than 120 px below
    EXPECT_FALSE(place(100, free + 40));    // 30 px higher is still ground
    // Ground from the top edge: the only free point has y <= -12.
    map_rect(0, 0, 600, 300, (int)0xFF808080u);
    EXPECT_FALSE(place(100, -20));
}

TEST_F(FlowTest, HostRelaysAPlacementToTheOthersAndStartsTheNextTurn) {
    g_server = 1, g_server_hotseat = 0;
    set[7] = 1;
    netplayer(0, false);
    auto a = netplayer(1, true), b = netplayer(2, true);
    team(0, 1, {5}, 0, 6);
    team(1, 2, {6});
    Tplayer::get(6)->health = 0, Tplayer::get(6)->x = Tplayer::get(6)->y = -5000;
    Treplay::recorded.clear();
    game_setposition(5, 100, 150, 0);
    EXPECT_EQ(Tplayer::get(5)->health, 75);   // handicap 6 on 100
    EXPECT_TRUE(packets(a->con).empty() || packets(a->con).back()[1] != 4);   // not back to the sender
    ASSERT_FALSE(packets(b->con).empty());
    Bytes msg = packets(b->con).front();
    EXPECT_EQ(Bytes(msg.begin(), msg.begin() + 11), (Bytes{0x64, 0x04, 0x05, 0, 0, 0xC8, 0x42, 0, 0, 0x16, 0x43}));
    ASSERT_FALSE(Treplay::recorded.empty());
    EXPECT_EQ(bytes(Treplay::recorded.front().data), (Bytes{3, 5, 0, 0, 0xC8, 0x42, 0, 0, 0x16, 0x43}));
    // Player 6 is still unplaced: the next turn is a positioning turn for it.
    EXPECT_EQ(g_mode, 0);
    EXPECT_EQ(g_turn_player, 6);
}

TEST(Positioning, StartHealthAndName) {
    EXPECT_EQ(game_starthealth(100, 6), 75);
    EXPECT_EQ(game_starthealth(100, 5), 175);
    EXPECT_EQ(game_starthealth(50, 8), 1);
    EXPECT_EQ(game_starthealth(990, 5), 1000);
    for (auto [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"  ***Bob ", "**Bob"}, {"****x", "***x"}, {"   ", "Grombat"}, {"abcdefghijklmnopqrs uvwxy", "abcdefghijklmnopqrs"}}) {
        set_name = in;
        game_checkplayername();
        EXPECT_EQ(set_name, out);
    }
}

// ---- Statistics and the match end

TEST(Statistics, DurationsAndRanking) {
    menu_stats_buildup = 50;
    EXPECT_EQ(stats_duration(59), "59 Seconds");
    EXPECT_EQ(stats_duration(61), "1:01 Minutes");
    EXPECT_EQ(stats_duration(3725), "1:02:05 Hours");
    EXPECT_EQ(stats_duration(1), "1 Second");
    menu_stats_buildup = 25;
    EXPECT_EQ(stats_duration(3725), "0:01:02 Hours");
    Ts_weapons::clear();
    for (int w = 20; w <= 30; ++w) Ts_weapons::uses[w] = 1;
    Ts_weapons::finalize();
    for (int c = 0; c < 10; ++c) EXPECT_EQ(Ts_weapons::sorted[c], 20 + c);
    EXPECT_EQ(Ts_weapons::sorted[10], 0);
    EXPECT_EQ(Ts_weapons::totaluses, 11);
}

// The pages, through the small-text calls they make.
TEST_F(FlowTest, PagesAfterTheCountUp) {
    std::vector<Tgui_textcall> calls;
    gui_stext_record = &calls;
    auto has = [&](const std::string& t, int x, int y, int g = 255) {
        for (auto& c : calls)
            if (c.text == t && c.x == x && c.y == y && c.g == g) return true;
        return false;
    };
    menu_stats_buildup = 50;
    g_matchlenght = 61 * 50;
    Ts_turn::draw();
    EXPECT_TRUE(has("Duration:", 5, 58));
    EXPECT_TRUE(has("1:01 Minutes", 65, 58));
    calls.clear();
    team(0, 0, {1});
    team(1, 0, {2});
    Tteam::get(0)->stats_kills = 3;
    Tteam::get(1)->stats_kills = 1;
    stats_finalize();
    stats_drawstats();
    const int kills = 800 - 108 - 108 - 71 - 51 - 41;
    EXPECT_TRUE(has("Kills", kills + 6, 78, 100));
    EXPECT_TRUE(has("3", kills + 6, 97, 0));     // the best value in red
    EXPECT_TRUE(has("1", kills + 6, 115, 255));
    calls.clear();
    Ts_weapons::totaluses = 4;
    Ts_weapons::draw();
    EXPECT_TRUE(has("Weapons used:", 5, 58));
    EXPECT_TRUE(has("4", 100, 58));
    EXPECT_TRUE(has("-", 400 + 243, 217, 100));   // an empty rank
    gui_stext_record = nullptr;
}

TEST_F(FlowTest, MatchEndTextsAndMessages) {
    g_server = 1;
    set_record = 0;
    netplayer(0, false);
    auto a = netplayer(1, true), b = netplayer(2, true);
    for (int id : {1, 2, 5}) team(id, 0, {id * 10}, id == 1 ? 6 : 3);
    game_postgame(4);
    EXPECT_EQ(menu_winstring, "Winner: T2 & T5");
    EXPECT_EQ(menu_wincol, 3);
    EXPECT_EQ(menu, 1);
    EXPECT_EQ(menu_sub, kSubGameOver);
    EXPECT_EQ(menu_stats_buildup, 0);
    for (int i = 0; i < 50; ++i) menu_gameover_draw();
    EXPECT_EQ(menu_stats_buildup, 50);
    EXPECT_EQ(menu_stats_flash, 240);   // 255 on reaching 50, less 15 a pass
    EXPECT_TRUE(Tplayer::list.empty());
    EXPECT_EQ(Tteam::statscopy.size(), 3u);
    for (auto& np : {a, b}) EXPECT_EQ(packets(np->con).back(), (Bytes{0x64, 0x03, 0x04}));
    game_postgame(0);
    EXPECT_EQ(menu_winstring, "");
    EXPECT_EQ(menu_wincol, -1);
    game_cancelgame();
    EXPECT_EQ(menu_winstring, "CANCELED");
    EXPECT_EQ(menu_wincol, -1);
    EXPECT_EQ(packets(a->con).back(), (Bytes{0xF0, 0xC8}));
    // A joined machine sends nothing.
    g_server = 0;
    auto before = packets(a->con).size();
    game_postgame(1);
    EXPECT_EQ(packets(a->con).size(), before);
}

// ---- The replay file

// A reader of the file layout, independent of the loader.
struct File {
    const Bytes& b;
    size_t pos = 0;
    int u8() { return b.at(pos++); }
    int u16() { int v = b.at(pos) | b.at(pos + 1) << 8; pos += 2; return v; }
    int32_t i32() { int32_t v; std::memcpy(&v, &b.at(pos), 4); pos += 4; return v; }
    float f32() { float v; std::memcpy(&v, &b.at(pos), 4); pos += 4; return v; }
    std::string line() {
        std::string s;
        while (b.at(pos) != 13) s.push_back((char)b.at(pos++));
        EXPECT_EQ(b.at(pos + 1), 10);
        pos += 2;
        return s;
    }
    Bytes block() {
        int n = i32();
        Bytes out(b.begin() + (long)pos, b.begin() + (long)pos + n);
        pos += (size_t)n;
        return out;
    }
};

struct ReplayTest : FlowTest {
    void start_match() {
        g_server = 1, g_server_hotseat = 1;
        g_server_name = "Hotseat: Game";
        Tscr::clear();   // no script files: the replay holds none
        netplayer(0, false);
        team(0, 0, {1, 2});
        team(1, 0, {3});
        Tplayer::get(3)->name = "Ev\r\nil";
        map_compress();
        ASSERT_TRUE(map_bank);
        game_start_common();
    }
};

TEST_F(ReplayTest, SavedFileReadsFieldByField) {
    set[0] = 300;
    start_match();
    g_replay_cbuffer->Bytes() = {90, 1};
    Treplay::recordframe(0, 5, CreateBank(0));
    g_replay_cbuffer->Bytes() = {90, 2};
    g_replay_cbuffer->Bytes().push_back(91);
    Treplay::recordframe(1, 6, std::make_shared<Bank>(Bytes{12}.data(), 1));
    ASSERT_EQ(Treplay::savereplay("t", 3), 1);
    Bytes raw = LoadBank("replays/t.gfrp")->Bytes();
    File f{raw};
    EXPECT_EQ(f.i32(), 8);
    EXPECT_EQ(f.line(), "0.3");
    EXPECT_EQ(f.u8(), 1);
    EXPECT_EQ(f.i32(), 3);
    f.line();
    f.line();
    Bytes init = f.block();
    Bytes map = f.block();
    EXPECT_EQ(map, map_bank->Bytes());
    Bytes packed = f.block();
    EXPECT_EQ(f.u8(), 3);
    EXPECT_EQ(f.pos, raw.size());
    // Initial block.
    File i{init};
    EXPECT_EQ(i.u8(), 21);
    for (int k = 0; k < 22; ++k) EXPECT_EQ(i.u8(), set[k] & 255) << k;
    EXPECT_EQ(i.u8(), 1);
    EXPECT_EQ(i.u8(), 0);
    EXPECT_EQ(i.line(), "N0");
    EXPECT_EQ(i.u8(), 2);
    for (int t = 0; t < 2; ++t) {
        EXPECT_EQ(i.u8(), t);
        EXPECT_EQ(i.u8(), 0);
        EXPECT_EQ(i.line(), "T" + std::to_string(t));
        EXPECT_EQ(i.u8(), t);
        i.u8(), i.u8();
    }
    EXPECT_EQ(i.u8(), 3);
    for (auto& p : Tplayer::list) {
        EXPECT_EQ(i.u8(), p->team);
        EXPECT_EQ(i.u8(), p->id);
        EXPECT_EQ(i.line(), p->id == 3 ? "Evil" : p->name);   // control bytes dropped
        EXPECT_EQ(i.u8(), p->accessory);
        EXPECT_EQ(i.f32(), p->x);
        EXPECT_EQ(i.f32(), p->y);
        EXPECT_EQ(i.u8(), p->dir + 1);
        EXPECT_EQ(i.u16(), p->health);
    }
    EXPECT_EQ(i.u16(), (int)Tobj::list.size());
    i.pos += 12 * Tobj::list.size();
    int scripts = i.u16();
    for (int k = 0; k < scripts; ++k) i.block();
    i.pos += 378;
    EXPECT_EQ(i.u16(), Tscro::primaryweapon);
    // Records: the wide settings first, then the two frames.
    auto rb = UncompressBank(Bank(packed.data(), packed.size()));
    ASSERT_TRUE(rb);
    File r{rb->Bytes()};
    EXPECT_EQ(r.i32(), 3);
    EXPECT_EQ(r.i32(), -1);
    EXPECT_EQ(r.u8(), 0);
    Bytes wide = r.block();
    ASSERT_EQ(wide.size(), 90u);
    EXPECT_EQ(wide[0], 2);
    EXPECT_EQ(wide[1], 22);
    int32_t health;
    std::memcpy(&health, &wide[2], 4);
    EXPECT_EQ(health, 300);
    EXPECT_EQ(r.i32(), 0);
    EXPECT_EQ(r.u8(), 5);
    EXPECT_EQ(r.block(), (Bytes{90, 1}));   // an empty frame carries the waiting chat
    EXPECT_EQ(r.i32(), 1);
    EXPECT_EQ(r.u8(), 6);
    EXPECT_EQ(r.block(), (Bytes{12, 90, 2, 91}));   // both lines, in order, after the frame's own
    EXPECT_EQ(r.pos, rb->Size());
}

TEST_F(ReplayTest, MatchEndedBeforeItsFirstTurnSavesNoRecords) {
    start_match();
    EXPECT_TRUE(Treplay::recorded.empty());   // default health: no wide settings
    game_postgame(0);
    auto names = LoadDir("replays");
    ASSERT_EQ(names.size(), 1u);
    // Date and time, then the server name without the characters a file
    // name must not hold.
    ASSERT_EQ(names[0].size(), 19u + 3 + 12 + 5) << names[0];
    EXPECT_EQ(names[0].substr(19), " - Hotseat Game.gfrp");
    EXPECT_EQ(names[0][4], '-');
    EXPECT_EQ(names[0][13], '-');
    Bytes raw = LoadBank("replays/" + names[0])->Bytes();
    File f{raw};
    f.i32(), f.line(), f.u8();
    EXPECT_EQ(f.i32(), 0);
    f.line(), f.line(), f.block(), f.block();
    Bytes packed = f.block();
    auto rb = UncompressBank(Bank(packed.data(), packed.size()));
    EXPECT_EQ(rb->Bytes(), (Bytes{0, 0, 0, 0}));
}

TEST_F(ReplayTest, NothingWithoutAMapPack) {
    start_match();
    map_bank = nullptr;
    EXPECT_EQ(Treplay::savereplay("none", 0), 0);
    EXPECT_EQ(FileType("replays/none.gfrp"), 0);
}

TEST_F(ReplayTest, LoaderTakesEachVersionAndRefusesDamage) {
    set[0] = 300;
    g_weaponseti[0][2][1] = 5;   // one filled slot
    g_weaponsets[0][2][1][0] = 7, g_weaponsets[0][2][1][1] = 2;
    start_match();
    Treplay::recordframe(0, 0, nullptr);
    ASSERT_EQ(Treplay::savereplay("v3", 1), 1);
    Bytes good = LoadBank("replays/v3.gfrp")->Bytes();
    // Versions: the same file with another version line and the parts it lacks.
    auto with_version = [&](const char* v, bool settings, bool slots) {
        File f{good};
        f.i32();
        f.line();
        Bytes out(good.begin(), good.begin() + 4);
        for (const char* c = v; *c; ++c) out.push_back((uint8_t)*c);
        out.push_back(13), out.push_back(10);
        size_t head = f.pos;
        f.u8(), f.i32(), f.line(), f.line();
        out.insert(out.end(), good.begin() + (long)head, good.begin() + (long)f.pos);
        Bytes init = f.block();
        if (!settings) init.erase(init.begin(), init.begin() + 23);
        if (!slots) init.resize(init.size() - 2);
        int32_t n = (int32_t)init.size();
        out.insert(out.end(), (uint8_t*)&n, (uint8_t*)&n + 4);
        out.insert(out.end(), init.begin(), init.end());
        out.insert(out.end(), good.begin() + (long)f.pos, good.end());
        return out;
    };
    struct Case { const char* v; bool settings, slots; int health, ammo; };
    for (auto c : {Case{"0.3", true, true, 300, 7}, Case{"0.2", true, false, 300, 0}, Case{"0.1", false, false, 77, 0}}) {
        Bytes file = with_version(c.v, c.settings, c.slots);
        // 0.1 files keep the settings in place; the type-2 record still applies.
        set[0] = 77;
        g_weaponsets[0][2][1][0] = 0;
        if (!c.settings) {
            // Without the record the old settings would stay.
        }
        ASSERT_EQ(Treplay::loadbytes(Bank(file.data(), file.size()), "v", -1), 1) << c.v;
        EXPECT_EQ(g_replay, 1);
        EXPECT_EQ(menu, 2);
        EXPECT_EQ(set[0], 300) << c.v;   // the wide record restores it in every version
        EXPECT_EQ(g_weaponsets[0][2][1][0], c.ammo) << c.v;
        EXPECT_EQ(Tplayer::list.size(), 3u);
        EXPECT_EQ(Treplay::wincolor, 1);
        EXPECT_EQ(Thud_chat::list.size(), 3u);
        EXPECT_EQ(Thud_chat::list[0].text, "*** Now watching 'v' ***");
        g_replay = 0, menu = 2;
    }
    // A reload for a jump adds no welcome lines.
    Thud_chat::list.clear();
    ASSERT_EQ(Treplay::loadreplay("v3", 5), 1);
    EXPECT_TRUE(Thud_chat::list.empty());
    EXPECT_EQ(g_replay_goto, 5);
    // Damage anywhere: refused, and nothing changed.
    g_replay = 0;
    Tteam::list.clear();
    Tteam::add(6, 0, "keep", 6, 1, 0);
    std::vector<Bytes> bad;
    for (size_t cut : {good.size() - 2, good.size() / 2, (size_t)30, (size_t)3}) bad.push_back(Bytes(good.begin(), good.begin() + (long)cut));
    Bytes longer = good;
    longer[4 + 5 + 1 + 4 + 2] ^= 0x7F;   // inside the date line: harmless
    Bytes teams = good;
    {
        File f{good};
        f.i32(), f.line(), f.u8(), f.i32(), f.line(), f.line();
        size_t init = f.pos + 4;
        teams[init + 23 + 1 + 1 + 3 + 1] = 9;   // the first team's id
        Bytes badmap = good;
        f.block();
        badmap[f.pos + 4 + 6] ^= 0xFF;         // inside the map's zlib stream
        bad.push_back(badmap);
    }
    bad.push_back(teams);
    for (auto& b : bad) {
        in_console.clear();
        EXPECT_EQ(Treplay::loadbytes(Bank(b.data(), b.size()), "bad", -1), 0) << b.size();
        EXPECT_EQ(g_replay, 0);
        ASSERT_TRUE(Tteam::get(6));
        EXPECT_EQ(Tteam::list.size(), 1u);
        ASSERT_FALSE(in_console.empty());
        EXPECT_NE(in_console.back().find("'bad'"), std::string::npos);
    }
    EXPECT_EQ(Treplay::loadbytes(Bank(longer.data(), longer.size()), "fine", -1), 1);
    g_replay = 0;
}

}  // namespace
