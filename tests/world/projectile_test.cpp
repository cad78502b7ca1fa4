// Weapon use and script projectiles: the selection reset, the attack
// hand-over, ids per turn, the walk that survives creation and removal, and
// unregistered types.
#include <gtest/gtest.h>

#include "match/mission.h"
#include "world/weapon.h"
#include "world_fixture.h"

namespace {

// Projectile types 1 and 2 whose callbacks log "fn id lua_pro" into the
// global text `log`; projectile 1 makes another and frees itself, 2 frees 3.
struct ProjectileTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        world_projectile_functions();
        world_define(Tscro::projectile, 1, "projectiles.p1");
        world_define(Tscro::projectile, 2, "projectiles.p2");
        ASSERT_EQ(lua_runchunk(R"(
            log = ""
            local function note(fn, id) log = log .. fn .. " " .. id .. " " .. projectileid() .. ";" end
            projectiles.p2 = {update = function(id) note("update", id) end, draw = function(id) note("draw", id) end}
            projectiles.p1 = {draw = projectiles.p2.draw, update = function(id)
                note("update", id)
                if id == 1 then
                    createprojectile(2)    -- id 4: updated in this pass
                    freeprojectile(1)      -- itself: its id stays readable
                    note("freed", id)
                end
                if id == 2 then freeprojectile(3) end   -- a later one: skipped
            end}
        )", "projectiles"),
                  0);
    }
    static std::string log() {
        lua_getglobal(lua, "log");
        std::string s = lua_tostring(lua, -1) ? lua_tostring(lua, -1) : "";
        lua_pop(lua, 1);
        lua_pushstring(lua, "");
        lua_setglobal(lua, "log");
        return s;
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
    Tpro::draw(0, 1);
    EXPECT_EQ(log(), "update 1 1;freed 1 1;update 2 2;update 4 4;");
    EXPECT_EQ(Tpro::list.size(), 2u);
    Tpro::draw(1, 1);
    EXPECT_EQ(log(), "draw 2 2;update 2 2;draw 4 4;update 4 4;");
    // An inactive one stays but is neither drawn nor updated.
    Tpro::get(2)->active = 0;
    Tpro::draw(1, 0);
    EXPECT_EQ(log(), "draw 4 4;");
    EXPECT_TRUE(world_luaerrors.empty());
}

// Twenty thousand projectiles that free themselves in their first update
// leave in one pass: the walk stays linear.
TEST_F(ProjectileTest, ManySelfRemovalsInOnePass) {
    world_define(Tscro::projectile, 5, "projectiles.brief");
    ASSERT_EQ(lua_runchunk("projectiles.brief = {update = function(id) freeprojectile(id) end}", "brief"), 0);
    for (int i = 0; i < 20000; ++i) make(5);
    make(2);
    Tpro::draw(0, 1);
    EXPECT_EQ(Tpro::list.size(), 1u);
    EXPECT_EQ(log(), "update 20001 20001;");
}

TEST_F(ProjectileTest, UnregisteredTypeIsRemovedAfterOneMessage) {
    make(9);
    make(2);
    Tpro::draw(0, 1);
    Tpro::draw(0, 1);
    EXPECT_EQ(in_console, (std::list<std::string>{"Invalid projectile type: 9 - deleting projectile!"}));
    EXPECT_EQ(Tpro::list.size(), 1u);
    EXPECT_EQ(log(), "update 2 2;update 2 2;");
}

TEST_F(ProjectileTest, FailingCallbackIsReportedWithItsSection) {
    world_define(Tscro::projectile, 3, "projectiles.broken");
    make(3);
    Tpro::draw(0, 1);
    ASSERT_EQ(world_luaerrors.size(), 1u);
    EXPECT_NE(world_luaerrors[0].find("Projectile Update (projectiles.broken.update)"), std::string::npos);
}

TEST_F(ProjectileTest, WeaponSelectResetsUnlessLocked) {
    hud_drawpos = hud_drawposset = hud_drawposx = hud_drawposy = 5;
    hud_drawtimer = hud_drawtimerval = hud_drawtimermin = hud_drawtimermax = hud_drawtimertemp = 5;
    g_wpn_attacked = 1;
    EXPECT_EQ(weapon_select(3), 0);
    EXPECT_EQ(hud_drawpos, 5);
    g_wpn_attacked = 2;
    lua_setglobalint("weapon_x", 9);
    EXPECT_EQ(weapon_select(3), 1);
    EXPECT_EQ(g_wpn_attacked, 0);
    EXPECT_EQ(hud_drawtimer, -1);
    for (int v : {hud_drawpos, hud_drawposset, hud_drawposx, hud_drawposy, hud_drawtimerval, hud_drawtimermin,
                  hud_drawtimermax, hud_drawtimertemp})
        EXPECT_EQ(v, 0);
    for (const char* name :
         {"weapon_charge", "weapon_mode", "weapon_shots", "weapon_timer", "weapon_x", "weapon_y", "weapon_position"})
        EXPECT_EQ(lua_getglobalint(name), 0) << name;
}

TEST_F(ProjectileTest, AttackHandsTheKeyToTheWeapon) {
    world_define(Tscro::weapon, 5, "weapons.gun");
    ASSERT_EQ(lua_runchunk("weapons = {gun = {attack = function(s) got = s + 10 end}}", "gun"), 0);
    auto p = player(4, 0, 100, 0, 0);
    p->wpn = 0;   // no registry entry: nothing is called
    lua_p = 0;
    weapon_attack(*p, 1);
    EXPECT_EQ(lua_p, 4);
    EXPECT_EQ(lua_getglobalint("got"), 0);
    p->wpn = 5;
    weapon_attack(*p, 1);
    EXPECT_EQ(lua_getglobalint("got"), 11);
    // A mission whose weapon is out of ammunition calls no script.
    menu = 3;
    Tmission::weaponempty = 1;
    weapon_attack(*p, 0);
    EXPECT_EQ(lua_getglobalint("got"), 11);
    Tmission::weaponempty = 0;
}

}  // namespace
