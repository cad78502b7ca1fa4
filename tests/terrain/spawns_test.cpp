// Map spawn entries: the id grammar, box sizes, object creation, nodes and
// the check of player spawn points.
#include <gtest/gtest.h>
#include <lua.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "core/host_settings.h"
#include "frontend/editor/editor.h"
#include "map_state.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "terrain/edit.h"

namespace {

class Spawns : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        menu_editorobjectid = "";
        // Script objects record their setup calls in the global "calls".
        lua_reset();
        lua_runchunk("calls = ''; crate = {wood = {setup = function(id, arg) calls = calls .. id .. ':' .. arg .. ';' end}}", "test");
        map_setup(10, 5, 1);
    }
    void TearDown() override {
        for (auto* table : {&Tscro::weapon, &Tscro::obj})
            for (auto& slot : *table) slot = nullptr;
        gfx_pl_col = nullptr;
        MapTest::TearDown();
    }
    static void define(std::vector<std::shared_ptr<Tscro>>& table, int index, const std::string& path) {
        table[index] = std::make_shared<Tscro>();
        table[index]->path = path;
        table[index]->index = index;
        for (size_t start = 0, dot = 0; dot != std::string::npos; start = dot + 1) {
            dot = path.find('.', start);
            table[index]->pathtable.push_back(path.substr(start, dot - start));
        }
    }
};

TEST_F(Spawns, NameAndParameter) {
    struct Case {
        const char* id;
        const char* name;
        const char* param;
    };
    for (auto c : {Case{"{Spawnpoint}", "Spawnpoint", ""},
                   {"{Spawnpoint:3}", "Spawnpoint", "3"},
                   {"{Node:exit:2}", "Node", "exit:2"},
                   {"{Mine)", "Mine", ""},   // the last character is dropped whatever it is
                   {"crate.wood:7", "crate.wood", "7"},
                   {"crate.wood", "crate.wood", ""},
                   {"{", "", ""}}) {
        Tmap_spawn s;
        s.id = c.id;
        EXPECT_EQ(s.getname(), c.name) << c.id;
        EXPECT_EQ(s.getparam(), c.param) << c.id;
    }
}

TEST_F(Spawns, SetParameterRewritesTheId) {
    struct Case {
        const char* id;
        const char* param;
        const char* result;
    };
    for (auto c : {Case{"{Spawnpoint:5}", "2", "{Spawnpoint:2}"},
                   {"{Spawnpoint:5}", "", "{Spawnpoint}"},
                   {"{Item}", "weapons.rocket", "{Item:weapons.rocket}"},
                   {"crate.wood:7", "9", "crate.wood:9"},
                   {"crate.wood:7", "", "crate.wood"}}) {
        Tmap_spawn s;
        s.id = c.id;
        s.setparam(c.param);
        EXPECT_EQ(s.id, c.result);
        EXPECT_EQ(s.getparam(), c.param);
    }
}

TEST_F(Spawns, AddSizesTheBoxAndTakesTheEditorsChoice) {
    EXPECT_EQ(Tmap_spawn::size(), 4);
    Tmap_spawn::add(5, 6, "{Mine}");
    EXPECT_EQ(Tmap_spawn::size(), 20);
    Tmap_spawn::add(1, 1, "");   // nothing chosen: nothing added
    ASSERT_EQ(Tmap_spawn::list.size(), 1u);

    menu_editorobjectid = "{Supply Crate:65535}";
    Tmap_spawn::add(7, 8, "");
    Tmap_spawn::add(0, 0, "{Nothing}");
    Tmap_spawn::add(0, 0, "unknown.object");
    ASSERT_EQ(Tmap_spawn::list.size(), 4u);
    struct Box {
        int w, h, xo, yo;
    };
    std::vector<Box> want{{3, 3, 1, 1}, {20, 16, 10, 8}, {0, 0, 0, 0}, {25, 25, 12, 12}};
    auto it = Tmap_spawn::list.begin();
    for (const Box& b : want) {
        const auto& s = *it++;
        EXPECT_EQ(s->w, b.w) << s->id;
        EXPECT_EQ(s->h, b.h) << s->id;
        EXPECT_EQ(s->xo, b.xo) << s->id;
        EXPECT_EQ(s->yo, b.yo) << s->id;
        EXPECT_EQ(s->img, 0);
    }
    EXPECT_EQ((*std::next(Tmap_spawn::list.begin()))->id, "{Supply Crate:65535}");

    int w = 7, h = 8, img = 9;   // an unknown built-in leaves the outputs alone
    Tmap_spawn::getsize("{Nope}", w, h, img);
    EXPECT_EQ(w * 100 + h * 10 + img, 789);
}

TEST_F(Spawns, CopyKeepsPlaceAndBoxButNotNodeState) {
    Tmap_spawn::add(15, 25, "{Node:exit}");
    auto& s = Tmap_spawn::list.front();
    s->nodename = "exit";
    s->counter = 12;
    auto c = s->copy();
    EXPECT_EQ(c->id, s->id);
    EXPECT_EQ(c->x, 15);
    EXPECT_EQ(c->y, 25);
    EXPECT_EQ(c->w, 15);
    EXPECT_EQ(c->xo, 7);
    EXPECT_EQ(c->nodename, "");
    EXPECT_EQ(c->counter, 0);
    EXPECT_EQ(Tmap_spawn::list.size(), 1u);
}

TEST_F(Spawns, PerformCreatesObjectsInMapOrder) {
    define(Tscro::weapon, 5, "weapons.rocket");
    define(Tscro::obj, 3, "crate.wood");
    for (const char* id :
         {"{Spawnpoint:2}", "{Fire}", "{Supply Crate}", "{Supply Crate:65535}", "{Supply Crate:weapons.rocket}",
          "{Supply Crate:nosuch}", "{Mine}", "{Bear Trap}", "{Medikit}", "{Node}", "{Node:exit}", "{Item}",
          "{Item:weapons.rocket}", "{Item:nosuch}", "crate.wood:1", "not.registered"})
        Tmap_spawn::add(120, 340, id);
    set[4] = 0;   // no crate traps: a crate without content and no team gets -2
    Tmap_spawn::perform();

    struct Made {
        int typ, data;
    };
        // Data -1 takes each kind's default.
    std::vector<Made> want{{-1, 3}, {-2, -2}, {-2, 65535}, {-2, 5}, {-3, 100}, {-4, 100}, {-5, 0}, {-7, 5}, {3, 0}};
    ASSERT_EQ(Tobj::list.size(), want.size());
    int id = 56001;
    auto it = Tobj::list.begin();
    for (const Made& m : want) {
        const auto& o = *it++;
        EXPECT_EQ(o->typ, m.typ);
        EXPECT_EQ(o->data, m.data) << o->typ;
        EXPECT_EQ(o->id, id++);
        EXPECT_EQ(o->x, 120);
        EXPECT_EQ(o->y, 340);
    }
    lua_getglobal(lua, "calls");
    EXPECT_EQ(lua_tostr(lua, -1), "56009:0;");
    lua_settop(lua, 0);

    EXPECT_TRUE(console_has("Warning: Supply crate content 'nosuch' is not part of the weapon set. Removing crate."));
    EXPECT_TRUE(console_has("Warning: Item without specified type. Removing item."));
    EXPECT_TRUE(console_has("Warning: Item type 'nosuch' is not part of the weapon set. Removing item."));
    EXPECT_EQ(Tmap_spawn::list.size(), 16u);   // removed from the match, not from the map

    ASSERT_EQ(Tmap_spawn::nodes.size(), 2u);
    EXPECT_EQ(Tmap_spawn::nodes.front()->nodename, "120|340");
    EXPECT_EQ(Tmap_spawn::nodes.back()->nodename, "exit");
    Tmap_spawn::perform();   // nodes are rebuilt, not added to
    EXPECT_EQ(Tmap_spawn::nodes.size(), 2u);
}

class SpawnPoints : public Spawns {
protected:
    void SetUp() override {
        Spawns::SetUp();
        // The player's collision box: columns 9..22, rows 4..27, centred.
        gfx_pl_col = CreateImage(32, 32, 1, -1);
        SetImageHandle(gfx_pl_col, 16, 16);
        auto p = LockImage(gfx_pl_col, 0, true, true);
        for (int y = 4; y <= 27; ++y)
            for (int x = 9; x <= 22; ++x) p->WritePixel(x, y, 0xFFFFFFFFu);
        UnlockImage(gfx_pl_col, 0);
    }
    std::list<Tmap_spawn::Ptr> free_points;
};

TEST_F(SpawnPoints, OverlappingPointsLoseTheEarlierOne) {
    struct Case {
        int dx, dy;
        size_t left;
    };
    for (auto c : {Case{11, 23, 1}, {12, 23, 2}, {11, 24, 2}, {-11, -23, 1}}) {
        Tmap_spawn::list.clear();
        in_console.clear();
        free_points.clear();
        Tmap_spawn::add(200, 200, "{Spawnpoint}");
        Tmap_spawn::add(200 + c.dx, 200 + c.dy, "{Spawnpoint:1}");
        Tmap_spawn::add(50, 50, "{Mine}");
        Tmap_spawn::preparespawns(free_points);
        EXPECT_EQ(free_points.size(), c.left) << c.dx << "," << c.dy;
        EXPECT_EQ(Tmap_spawn::list.size(), c.left + 1);
        if (c.left == 1) {
            EXPECT_EQ(free_points.front()->id, "{Spawnpoint:1}");   // the later one stays
            EXPECT_TRUE(console_has("Warning: Colliding spawnpoints detected. Removing spawnpoint."));
        } else {
            EXPECT_EQ(free_points.front()->id, "{Spawnpoint:1}");   // reverse map order
        }
    }
}

bool overlap(const Tmap_spawn& a, const Tmap_spawn& b) { return std::abs(a.x - b.x) < 12 && std::abs(a.y - b.y) < 24; }

// In a crowd, a point survives exactly when no surviving point later in map
// order overlaps it, and every removal is reported once.
TEST_F(SpawnPoints, CrowdKeepsTheLatestOfEveryOverlap) {
    uint32_t r = 12345;
    auto next = [&r](int n) {
        r = r * 1103515245u + 12345u;
        return (int)((r >> 8) % (uint32_t)n);
    };
    std::vector<Tmap_spawn::Ptr> order;   // map order
    for (int i = 0; i < 400; ++i) {
        Tmap_spawn::add(-2000 + next(160), -2000 + next(160), "{Spawnpoint}");   // off the terrain: no collision
        order.push_back(Tmap_spawn::list.back());
    }
    // A long row of points just far enough apart: all of them stay.
    for (int i = 0; i < 5000; ++i) Tmap_spawn::add(-100000 + 12 * i, -5000, "{Spawnpoint}");
    Tmap_spawn::preparespawns(free_points);

    std::set<const Tmap_spawn*> kept;
    for (const auto& p : free_points) kept.insert(p.get());
    EXPECT_EQ(free_points.size(), Tmap_spawn::list.size());
    size_t removed = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        bool covered = false;
        for (size_t j = i + 1; j < order.size(); ++j)
            covered = covered || (kept.count(order[j].get()) && overlap(*order[i], *order[j]));
        EXPECT_EQ(kept.count(order[i].get()) == 1, !covered) << i;
        removed += kept.count(order[i].get()) == 0;
    }
    EXPECT_GT(removed, 0u);
    EXPECT_EQ(free_points.size(), order.size() - removed + 5000);
    EXPECT_EQ((size_t)std::count(in_console.begin(), in_console.end(),
                                 "Warning: Colliding spawnpoints detected. Removing spawnpoint."),
              removed);
}

TEST_F(SpawnPoints, PointsInTheGroundAreRemoved) {
    map_rect(0, 300, 999, 199, (int)0xFF806040u);
    Tmap_spawn::add(100, 290, "{Spawnpoint}");   // box reaches down to row 302
    Tmap_spawn::add(200, 287, "{Spawnpoint}");   // box ends at row 299
    Tmap_spawn::preparespawns(free_points);
    ASSERT_EQ(free_points.size(), 1u);
    EXPECT_EQ(free_points.front()->x, 200);
    EXPECT_EQ(Tmap_spawn::list.size(), 1u);
    EXPECT_TRUE(console_has("Warning: Spawnpoint colliding with terrain detected. Removing spawnpoint."));
}

}  // namespace
