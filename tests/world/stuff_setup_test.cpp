// Game-start placement: health by the team's extra, names and accessories,
// spawn groups, mines and traps on surface nodes, a full id block, and the
// shape map's leaves and fires on the host and on a joined machine.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "core/random.h"
#include "terrain/nodes.h"
#include "terrain/scenery.h"
#include "terrain/scenery_grid.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "world/stuff_setup.h"
#include "object_fixture.h"

namespace {

struct StuffSetup : ObjectWorld {
    void SetUp() override {
        ObjectWorld::SetUp();
        Tteam::list.clear();
        Tplayer::list.clear();
        menu = 1;   // before the match loop: the host takes global ids
        g_server = 1, g_player = 0;
        map_type = "1|0|0";
        for (int i : {0, 7, 8, 13}) kept[i] = set[i];
        set[7] = 0, set[8] = 0, set[13] = 0;
        obj_notice_console = 1;
    }
    void TearDown() override {
        for (int i : {0, 7, 8, 13}) set[i] = kept[i];
        Tmap_tn::setup(0);
        Tmap_shape::list.clear();
        Tmap_spawn::list.clear();
        ObjectWorld::TearDown();
    }
    static std::shared_ptr<Tteam> team(int id, int players, int extra) {
        auto t = std::make_shared<Tteam>();
        t->id = id;
        t->players = players;
        t->extra = extra;
        Tteam::list.push_back(t);
        return t;
    }
    // Surface nodes at (10 + i mod 380, 300) for a random map, which keeps
    // its list.
    static void nodes(int count) {
        map_type = "3|0|0";
        Tmap_tn::setup(0);
        for (int i = 0; i < count; ++i) Tmap_tn::add((uint16_t)(10 + i % 380), 300);
    }
    int kept[22] = {};
};

TEST_F(StuffSetup, HealthByTheTeamsExtraClampedToOneAndUp) {
    set[0] = 20;
    struct Case {
        int extra, health;
    };
    const Case cases[] = {{6, 1}, {3, 45}, {5, 95}, {0, 20}, {9, 20}};
    for (int i = 0; i < 5; ++i) team(i, 1, cases[i].extra);
    ASSERT_EQ(map_stuffsetup(), 1);
    ASSERT_EQ(Tplayer::list.size(), 5u);
    for (auto& p : Tplayer::list) {
        EXPECT_EQ(p->health, cases[p->team].health) << "extra " << cases[p->team].extra;
        EXPECT_EQ(p->wpnrot, p->dir * 90);
        EXPECT_GE(p->x, 0);   // placed at random on the map (column 0 included)
        EXPECT_LT(p->x, map_xsize);
    }
}

TEST_F(StuffSetup, NamesAndAccessoriesByCreationIndexGrombatFromTheSeventh) {
    auto t = team(0, 1, 0);
    t->players = 7;   // beyond what Tteam::add allows
    t->playernames = {"Ann", " Bo ,3", "Cy,4,9", "", "Di,x", "Ed"};
    ASSERT_EQ(map_stuffsetup(), 1);
    std::vector<std::tuple<std::string, int>> got;
    for (auto& p : Tplayer::list) got.emplace_back(p->name, p->accessory);
    EXPECT_EQ(got, (std::vector<std::tuple<std::string, int>>{
                       {"Ann", 0}, {"Bo", 3}, {"Cy", 4}, {"", 0}, {"Di", 0}, {"Ed", 0}, {"Grombat", 0}}));
}

TEST_F(StuffSetup, ManualPositioningLeavesPlayersOffTheMap) {
    set[7] = 1;
    team(0, 3, 0);
    ASSERT_EQ(map_stuffsetup(), 1);
    for (auto& p : Tplayer::list) EXPECT_TRUE(p->x == -5000 && p->y == -5000 && p->health == 0);
}

TEST_F(StuffSetup, TeamsTakeWholeSpawnGroups) {
    map_rect(0, 300, 400, 100, 0);   // open air: every point is usable
    team(0, 3, 0), team(1, 3, 0);
    for (int run = 0; run < 5; ++run) {
        Tmap_spawn::list.clear();
        for (int g = 0; g < 2; ++g)
            for (int k = 0; k < 3; ++k)
                Tmap_spawn::add(40 + 100 * k, 60 + 150 * g, "{Spawnpoint:" + std::to_string(g) + "}");
        ASSERT_EQ(map_stuffsetup(), 1);
        std::set<std::pair<int, float>> rows;   // (team, y)
        for (auto& p : Tplayer::list) {
            EXPECT_TRUE(p->y == 60 || p->y == 210);
            rows.insert({p->team, p->y});
        }
        EXPECT_EQ(rows.size(), 2u) << "each team on one group's row";
    }
}

TEST_F(StuffSetup, FewMinesNeedFiveHundredNodes) {
    set[7] = 1;
    set[8] = 1;
    team(0, 1, 0);
    for (auto [count, mines] : {std::pair{500, 1u}, {499, 0u}}) {
        nodes(count);
        ASSERT_EQ(map_stuffsetup(), 1);
        EXPECT_EQ(Tobj::list.size(), mines) << count;
        for (auto& o : Tobj::list) EXPECT_TRUE(o->typ == -3 && o->data == 0 && o->y == 298);
    }
}

TEST_F(StuffSetup, FullGlobalBlockMakesNoMoreMines) {
    map_setup(40, 40, 1);   // 4000 x 4000, open air
    g_waterlevel = 5000;
    set[7] = 1;
    set[8] = 4;   // insane: nodes / 50
    set[13] = 4;
    team(0, 1, 0);
    map_type = "3|0|0";
    Tmap_tn::setup(0);
    // 10000 places 40 pixels apart, each listed 51 times: 10200 mines are due.
    for (int rep = 0; rep < 51; ++rep)
        for (int i = 0; i < 100; ++i)
            for (int j = 0; j < 100; ++j) Tmap_tn::add((uint16_t)(20 + 40 * i), (uint16_t)(32 + 40 * j));
    ASSERT_EQ(map_stuffsetup(), 1);
    EXPECT_EQ(Tobj::list.size(), 9535u);
    EXPECT_EQ(Tobj::counttype(-4), 0);
    EXPECT_EQ(Tobj::list.front()->id, Tobj::kGlobalFirst);
    EXPECT_EQ(Tobj::list.back()->id, Tobj::kGlobalLast);
}

// Leaves of every sprite in the scenery grid, in grid order.
std::vector<std::tuple<int, int, float, float>> leaves() {
    std::vector<std::tuple<int, int, float, float>> out;
    for (auto& cell : Tscc::map.cells)
        for (const Tsc_list* l : {&cell.list(), &cell.listf()})
            for (auto& s : *l) out.emplace_back(s->typ, s->sub, s->x, s->y);
    return out;
}

TEST_F(StuffSetup, ShapeMapLeavesEverywhereFiresOnTheHostOnly) {
    map_setup(5, 5, 1);
    g_waterlevel = 1000;
    gfx_tile[26] = CreateImage(31, 20);
    map_type = "000|3|0";
    Tmap_shape::add(9, 110, 110, 50, 50);
    Tmap_shape::add(26, 300, 200, 31, 20);
    set[7] = 1;
    team(0, 1, 0);
    Tscc::clear();
    ASSERT_EQ(map_stuffsetup(), 1);
    const auto host = leaves();
    EXPECT_FALSE(host.empty());
    ASSERT_EQ(Tobj::list.size(), 1u);
    EXPECT_EQ(Tobj::list.front()->typ, -1);
    EXPECT_EQ(Tobj::list.front()->x, 300 + 31 / 2);
    EXPECT_EQ(Tobj::list.front()->y, 202);
    // A joined machine or a replay: the leaves pass alone.
    Tscc::clear();
    Tobj::list.clear(), Tobj::firelist.clear();
    SeedRnd(12345);
    Tmap_shape::postperform_leaves();
    EXPECT_EQ(leaves(), host);
    EXPECT_TRUE(Tobj::list.empty());
    gfx_tile[26] = nullptr;
}

}  // namespace
