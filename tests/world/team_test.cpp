// Teams: ids, replacement, clamping of outside values, the turn-order pick,
// sorting, the weapon-menu team, statistics copies and saturating sums.
#include <climits>

#include "world_fixture.h"

namespace {

using TeamTest = WorldTest;

std::vector<int> ids() {
    std::vector<int> out;
    for (auto& t : Tteam::list) out.push_back(t->id);
    return out;
}

TEST_F(TeamTest, AutomaticIdTakesTheFirstFreeOne) {
    for (int id : {0, 1, 3}) Tteam::add(id, 0, "t", 0, 1, 0);
    auto t = Tteam::add(8, 2, "auto", 1, 2, 0);
    EXPECT_EQ(t->id, 2);
    EXPECT_EQ(Tteam::add(200, 0, "auto", 0, 1, 0)->id, 4);
    EXPECT_EQ(Tteam::add(-2, 0, "auto", 0, 1, 0)->id, 5);
}

TEST_F(TeamTest, SameIdReplacesAndGoesToTheEnd) {
    Tteam::add(3, 0, "old", 0, 1, 0);
    Tteam::add(5, 0, "other", 0, 1, 0);
    auto t = Tteam::add(3, 1, "new", 2, 3, 4);
    EXPECT_EQ(ids(), (std::vector<int>{5, 3}));
    EXPECT_EQ(Tteam::get(3), t);
    EXPECT_EQ(t->name, "new");
    EXPECT_EQ(t->netplayer, 1);
}

TEST_F(TeamTest, OutsideValuesAreClamped) {
    struct Case { int color, players, extra, c, p, e; };
    for (auto k : {Case{2, 3, 4, 2, 3, 4}, {-1, 0, -5, 0, 1, 0}, {8, 7, 10, 7, 6, 9}, {255, 255, 255, 7, 6, 9}}) {
        auto t = Tteam::add(0, 0, "t", k.color, k.players, k.extra);
        EXPECT_EQ(t->color, k.c);
        EXPECT_EQ(t->players, k.p);
        EXPECT_EQ(t->extra, k.e);
    }
}

TEST_F(TeamTest, NoFreeIdEndsTheProgram) {
    for (int id = 0; id < 8; ++id) Tteam::add(id, 0, "t", 0, 1, 0);
    EXPECT_DEATH(Tteam::add(8, 0, "ninth", 0, 1, 0), "");
}

TEST_F(TeamTest, RandomIdWalksCyclicallyAfterThePick) {
    for (int id : {2, 5, 6}) Tteam::add(id, 0, "t", 0, 1, 0);
    Tteam::random = 5;
    EXPECT_EQ(Tteam::randomid(), 6);
    EXPECT_EQ(Tteam::randomid(), 2);
    EXPECT_EQ(Tteam::randomid(), 5);
    // The first pick is random among the listed teams.
    Tteam::random = -1;
    int first = Tteam::randomid();
    EXPECT_TRUE(first == 2 || first == 5 || first == 6);
    EXPECT_EQ(Tteam::random, first);
}

TEST_F(TeamTest, RandomIdOnAnEmptyList) {
    Tteam::random = 4;
    EXPECT_EQ(Tteam::randomid(), -1);
    EXPECT_EQ(Tteam::random, 4);
    Tteam::random = -1;
    EXPECT_EQ(Tteam::randomid(), 0);
    EXPECT_EQ(Tteam::random, -1);
}

TEST_F(TeamTest, SortOrdersById) {
    for (int id : {5, 1, 3}) Tteam::add(id, 0, "t", 0, 1, 0);
    Tteam::sort();
    EXPECT_EQ(ids(), (std::vector<int>{1, 3, 5}));
}

TEST_F(TeamTest, WeaponMenuTeam) {
    g_player = 1;
    auto mine = Tteam::add(0, 1, "mine", 3, 1, 0);
    auto turn = Tteam::add(1, 2, "theirs", 3, 1, 0);
    auto foe = Tteam::add(2, 2, "foe", 4, 1, 0);
    g_turn_team = 1;   // an ally's turn: its stock
    EXPECT_EQ(Tteam::weaponmenuteam(), turn);
    g_turn_team = 2;   // a foe's turn: the first own team
    EXPECT_EQ(Tteam::weaponmenuteam(), mine);
    g_turn_team = 0;
    EXPECT_EQ(Tteam::weaponmenuteam(), mine);
    g_replay = 1, g_turn_team = 2;
    EXPECT_EQ(Tteam::weaponmenuteam(), foe);
    g_turn_team = 7;
    EXPECT_EQ(Tteam::weaponmenuteam(), nullptr);
    g_replay = 0, g_player = 5;
    EXPECT_EQ(Tteam::weaponmenuteam(), nullptr);
    g_turn_team = -1;
}

TEST_F(TeamTest, LivingAndUnplacedPlayersAndOwners) {
    auto t = Tteam::add(4, 3, "t", 0, 3, 0);
    Tteam::add(5, 3, "u", 0, 3, 0);
    player(1, 4, 10, 0, 0);
    player(2, 4, 0, -5000, -5000);
    player(3, 4, -1, 0, 0);
    player(4, 5, 10, 0, 0);
    EXPECT_EQ(t->livingplayers(), 1);
    EXPECT_EQ(t->needspawnplayers(), 1);
    EXPECT_EQ(Tteam::netplayerteams(3), 2);
    EXPECT_EQ(Tteam::netplayerteams(0), 0);
}

TEST_F(TeamTest, CopyTeamKeepsPlayersAndExtra) {
    auto src = Tteam::add(2, 1, "src", 5, 4, 3);
    src->stats_kills = 7, src->stats_score = 9, src->stats_dmg_caused = 11;
    Tteam copy;
    copy.players = 6, copy.extra = 1;
    copy.copyteam(*src);
    EXPECT_EQ(copy.id, 2);
    EXPECT_EQ(copy.name, "src");
    EXPECT_EQ(copy.color, 5);
    EXPECT_EQ(copy.stats_kills, 7);
    EXPECT_EQ(copy.stats_score, 9);
    EXPECT_EQ(copy.stats_dmg_caused, 11);
    EXPECT_EQ(copy.players, 6);
    EXPECT_EQ(copy.extra, 1);
}

TEST_F(TeamTest, StatisticsSaturate) {
    int c = INT_MAX - 5;
    stats_add(c, 100);
    EXPECT_EQ(c, INT_MAX);
    c = INT_MIN + 1;
    stats_add(c, (int64_t)INT_MIN);
    EXPECT_EQ(c, INT_MIN);
    c = 10;
    stats_add(c, 5);
    EXPECT_EQ(c, 15);
}

}  // namespace
