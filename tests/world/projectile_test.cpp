// Weapon use and script projectiles: the selection reset, the attack
// hand-over, ids per turn, the walk that survives creation and removal, and
// unregistered types.
#include <gtest/gtest.h>

#include "world/weapon.h"
#include "world_fixture.h"

namespace {

struct ProjectileTest : WorldTest {
    std::vector<std::string> calls;
    void SetUp() override {
        WorldTest::SetUp();
        for (int t : {1, 2}) {
            auto e = std::make_shared<Tscro>();
            e->path = "projectiles.p" + std::to_string(t);
            Tscro::projectile[(size_t)t] = e;
        }
        lua_projectile_hook = [this](const std::string& fn, int, int id) {
            calls.push_back(fn + " " + std::to_string(id));
        };
    }
    void TearDown() override {
        for (auto& e : Tscro::projectile) e = nullptr;
        WorldTest::TearDown();
    }
    static Tpro::Ptr make(int typ) {
        auto p = Tpro::Create();
        p->typ = typ;
        return p;
    }
};

TEST_F(ProjectileTest, IdsCountWithinATurn) {
    make(1), make(1), make(1);
    EXPECT_EQ(Tpro::list.back()->id, 3);
    Tpro::Remove(2);
    Tpro::Remove(7);
    EXPECT_EQ(Tpro::list.size(), 2u);
    EXPECT_FALSE(Tpro::get(2));
    // The turn start empties the list and restarts the ids.
    game_turn_start(1, 1);
    EXPECT_TRUE(Tpro::list.empty());
    EXPECT_EQ(make(1)->id, 1);
}

TEST_F(ProjectileTest, WalkVisitsNewOnesAndSkipsRemovedOnes) {
    make(1), make(1), make(1);
    lua_projectile_hook = [this](const std::string& fn, int, int id) {
        calls.push_back(fn + " " + std::to_string(id) + " " + std::to_string(lua_pro));
        if (id == 1) {
            make(2);          // id 4: updated in this pass
            Tpro::Remove(1);  // itself: its id stays readable
        }
        if (id == 2) Tpro::Remove(3);   // a later one: skipped
    };
    Tpro::draw(0, 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"update 1 1", "update 2 2", "update 4 4"}));
    calls.clear();
    Tpro::draw(1, 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"draw 2 2", "update 2 2", "draw 4 4", "update 4 4"}));
    // An inactive one stays but is neither drawn nor updated.
    Tpro::get(2)->active = 0;
    calls.clear();
    Tpro::draw(1, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"draw 4 4"}));
}

TEST_F(ProjectileTest, UnregisteredTypeIsRemovedAfterOneMessage) {
    make(9);
    make(1);
    Tpro::draw(0, 1);
    Tpro::draw(0, 1);
    EXPECT_EQ(in_console, (std::list<std::string>{"Invalid projectile type: 9 - deleting projectile!"}));
    EXPECT_EQ(Tpro::list.size(), 1u);
    EXPECT_EQ(calls, (std::vector<std::string>{"update 2", "update 2"}));
}

TEST_F(ProjectileTest, WeaponSelectResetsUnlessLocked) {
    hud_drawpos = hud_drawposset = hud_drawposx = hud_drawposy = 5;
    hud_drawtimer = hud_drawtimerval = hud_drawtimermin = hud_drawtimermax = hud_drawtimertemp = 5;
    g_wpn_attacked = 1;
    EXPECT_EQ(weapon_select(3), 0);
    EXPECT_EQ(hud_drawpos, 5);
    g_wpn_attacked = 2;
    lua_globalints["weapon_x"] = 9;
    EXPECT_EQ(weapon_select(3), 1);
    EXPECT_EQ(g_wpn_attacked, 0);
    EXPECT_EQ(hud_drawtimer, -1);
    for (int v : {hud_drawpos, hud_drawposset, hud_drawposx, hud_drawposy, hud_drawtimerval, hud_drawtimermin,
                  hud_drawtimermax, hud_drawtimertemp})
        EXPECT_EQ(v, 0);
    for (const char* name :
         {"weapon_charge", "weapon_mode", "weapon_shots", "weapon_timer", "weapon_x", "weapon_y", "weapon_position"})
        EXPECT_EQ(lua_globalints[name], 0) << name;
}

TEST_F(ProjectileTest, AttackSetsTheActingPlayer) {
    auto p = player(4, 0, 100, 0, 0);
    p->wpn = 0;   // no registry entry: nothing is called
    lua_p = 0;
    weapon_attack(*p, 1);
    EXPECT_EQ(lua_p, 4);
}

}  // namespace
