// World-event records: each code's effect, refusals of damaged or hostile
// records, and the bank walk (unknown codes, records cut short, records
// appended while the bank is applied).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/det_math.h"
#include "terrain/edit.h"
#include "world_fixture.h"

namespace {

struct EventsTest : WorldTest {
    std::shared_ptr<Tplayer> turn;
    void SetUp() override {
        WorldTest::SetUp();
        turn = player(1, 0, 100, 150, 100);
        g_turn_player = 1;
    }
    void apply(const Bytes& b) { Tfb::process_additional(bank(b), turn); }
};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST_F(EventsTest, UnknownCodeSkipsOneByteThenWind) {
    apply({0x02, 0x1E, 0x00, 0x00, 0x80, 0x3F});
    EXPECT_EQ(g_storm, 1.0f);
}

TEST_F(EventsTest, WeaponCountIsCappedAtHundred) {
    auto t = std::make_shared<Tteam>();
    t->id = 3;
    Tteam::list.push_back(t);
    apply(Rec().u8(45).u8(3).u8(7).u8(250).b);
    EXPECT_EQ(t->wamount[7], 100);
    apply(Rec().u8(46).u8(3).u8(255).u8(9).u8(45).u8(4).u8(1).u8(1).b);   // team 4 missing: nothing
    EXPECT_EQ(t->wlocked[255], 1);
}

TEST_F(EventsTest, PushClampsSpeedsToThirty) {
    auto p = player(2, 0, 50, 0, 0);
    apply(Rec().u8(73).u8(2).f32(10).f32(20).f32(45).f32(-31).b);
    EXPECT_EQ(p->x, 10);
    EXPECT_EQ(p->y, 20);
    EXPECT_EQ(p->fx, 30);
    EXPECT_EQ(p->fy, -30);
    EXPECT_EQ(p->action, 1);
    EXPECT_EQ(g_turn_idletimer, 10);
}

TEST_F(EventsTest, ResyncWithoutTurnPlayerIsSkippedWhole) {
    Rec r;
    r.u8(12).i32(5).f32(1).f32(2).f32(3).f32(4).u8(2).u8(30).f32(2.5f);
    Tfb::process_additional(bank(r.b), nullptr);
    EXPECT_EQ(turn->health, 100);
    EXPECT_EQ(g_storm, 2.5f);
    apply(r.b);
    EXPECT_EQ(turn->health, 5);
    EXPECT_EQ(turn->x, 1);
    EXPECT_EQ(turn->fy, 4);
    EXPECT_EQ(turn->dir, 1);
}

TEST_F(EventsTest, HostileFloatsLeaveThingsUnchangedOrClamped) {
    struct Case {
        const char* name;
        Bytes rec;
        float x, y, fx, fy;
    };
    const Case cases[] = {
        {"12 NaN", Rec().u8(12).i32(5).f32(kNaN).f32(2).f32(3).f32(4).u8(2).b, 150, 100, 0, 0},
        {"12 huge speed", Rec().u8(12).i32(5).f32(1).f32(2).f32(1e9f).f32(-1e30f).u8(0).b, 1, 2, 1000, -1000},
        {"12 huge position", Rec().u8(12).i32(5).f32(3e9f).f32(-1e20f).f32(0).f32(0).u8(0).b, 1e9f, -1e9f, 0, 0},
        {"73 infinity", Rec().u8(73).u8(1).f32(1).f32(2).f32(INFINITY).f32(0).b, 150, 100, 0, 0},
        {"1/1 NaN", Rec().u8(1).u8(1).u8(1).u8(1).i32(9).f32(kNaN).f32(0).u8(0).b, 150, 100, 0, 0},
    };
    for (const auto& c : cases) {
        turn->x = 150, turn->y = 100, turn->fx = 0, turn->fy = 0;
        apply(c.rec);
        EXPECT_EQ(turn->x, c.x) << c.name;
        EXPECT_EQ(turn->y, c.y) << c.name;
        EXPECT_EQ(turn->fx, c.fx) << c.name;
        EXPECT_EQ(turn->fy, c.fy) << c.name;
    }
    // Objects: NaN refused, huge clamped; 13's huge position clamps too.
    auto o = Tobj::Create(-6, 10, 10, 0, 5, 0);
    apply(Rec().u8(74).u16(5).f32(kNaN).f32(1).f32(1).f32(1).b);
    EXPECT_EQ(o->x, 10);
    apply(Rec().u8(76).u16(5).f32(-5e20f).f32(7).b);
    EXPECT_EQ(o->x, -1e9f);
    apply(Rec().u8(13).i32(INT32_MIN).i32(INT32_MAX).b);
    EXPECT_EQ(hud_drawposx, -1000000000);
    EXPECT_EQ(hud_drawposy, 1000000000);
    EXPECT_EQ(in_autotempx, set_scrxh + 1000000000);
}

TEST_F(EventsTest, HealOnlyTheLivingAndSaturate) {
    auto dead = player(2, 0, 10, 0, 0);
    // 40 kills player 2, the heal after it in the same frame does not revive it.
    apply(Rec().u8(40).u8(2).i32(50).u8(41).u8(2).i32(30).b);
    EXPECT_EQ(dead->health, -40);
    turn->health = INT32_MAX - 5;
    apply(Rec().u8(41).u8(1).i32(100).b);
    EXPECT_EQ(turn->health, INT32_MAX);
    ASSERT_FALSE(Thud_flytext::list.empty());
    EXPECT_EQ(Thud_flytext::list.back().text, "+100");
}

TEST_F(EventsTest, PlayerStateBits) {
    apply(Rec().u8(43).u8(1).u8(2).u8(7).b);
    EXPECT_EQ(turn->state_confused, 1);
    apply(Rec().u8(43).u8(1).u8(3).u8(1).b);
    EXPECT_EQ(turn->getstates(), 2);
    apply(Rec().u8(1).u8(1).u8(1).u8(1).i32(77).f32(5).f32(6).u8(4 | 16).b);
    EXPECT_EQ(Tfb::endturn, 1);
    EXPECT_EQ(turn->health, 77);
    EXPECT_EQ(turn->getstates(), 20);
}

TEST_F(EventsTest, TurnControl) {
    apply({1, 3});
    EXPECT_EQ(g_turn_state, 3);
    apply({1, 9, 1, 2});
    EXPECT_EQ(g_turn_state, 99);
    apply({1, 3});
    EXPECT_EQ(g_turn_state, 99);
}

TEST_F(EventsTest, StampsUseBuiltInImagesCentredAndRotated) {
    gfx_crater100 = CreateImage(5, 5);
    auto pix = LockImage(gfx_crater100);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) pix->WritePixel(x, y, 0xFF112233u);
    // 53 with image field 99 is built-in -1; mode 1 copies every pixel.
    apply(Rec().u8(53).u16(99).i32(50).i32(60).u8(1).i32(0).b);
    EXPECT_EQ((uint32_t)map_getcolor(48, 58), 0xFF112233u);
    EXPECT_EQ((uint32_t)map_getcolor(52, 62), 0xFF112233u);
    EXPECT_EQ(map_getcolor(47, 58), 0);
    EXPECT_EQ(map_getcolor(53, 62), 0);
    EXPECT_EQ(g_terrainmodify, 2);
    // A missing image stamps nothing but still marks the terrain.
    g_terrainmodify = 0;
    apply(Rec().u8(53).u16(5000).i32(150).i32(150).u8(1).i32(0).b);
    EXPECT_EQ(g_terrainmodify, 2);
    // 54 never touches g_terrainmodify.
    g_terrainmodify = 0;
    apply(Rec().u8(54).u16(99).i32(150).i32(150).f32(0.5f).i32(0).i32(0).i32(0).i32(30).b);
    EXPECT_EQ(g_terrainmodify, 0);
    // Rotated by 90 degrees the stamp is what the rotation gives, centred.
    apply(Rec().u8(53).u16(99).i32(200).i32(200).u8(1).i32(90).b);
    EXPECT_EQ((uint32_t)map_getcolor(200, 200), 0xFF112233u);
    gfx_crater100 = nullptr;
}

TEST_F(EventsTest, BloodStainVariantFollowsThePosition) {
    ImagePtr saved[3] = {gfx_blood25[0], gfx_blood25[1], gfx_blood25[2]};
    for (int v = 0; v < 3; ++v) {
        gfx_blood25[v] = CreateImage(1, 1);
        LockImage(gfx_blood25[v])->WritePixel(0, 0, 0xFF000000u | (uint32_t)(v + 1));
    }
    // Image -4 travels as 96; (x + y) mod 3 picks the variant, never negative.
    apply(Rec().u8(53).u16(96).i32(10).i32(11).u8(1).i32(0).u8(53).u16(96).i32(20).i32(12).u8(1).i32(0).b);
    EXPECT_EQ((uint32_t)map_getcolor(10, 11), 0xFF000001u);
    EXPECT_EQ((uint32_t)map_getcolor(20, 12), 0xFF000003u);
    apply(Rec().u8(53).u16(96).i32(-5).i32(-7).u8(1).i32(0).b);   // negative sum: still a valid variant
    for (int v = 0; v < 3; ++v) gfx_blood25[v] = saved[v];
}

TEST_F(EventsTest, ObjectsCreatedChangedAndRemoved) {
    auto reg = std::make_shared<Tscro>();
    reg->path = "objects.barrel";
    reg->pathtable = {"objects", "barrel"};
    Tscro::obj[4] = reg;
    // Each call leaves its function and argument behind and then fails, so the
    // section of its error shows too.
    ASSERT_EQ(lua_runchunk("objects.barrel = {setup = function(id, a) fn = 'setup'; arg = a; error('s') end,"
                           " damage = function(id, a) fn = 'damage'; arg = a; error('d') end}",
                           "barrel"),
              0);
    Tobj_fake::add(900);
    apply(Rec().u8(70).i32(4).i32(30).i32(40).i32(7).u16(900).u8(0).i32(12).b);
    auto o = Tobj::get(900);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->typ, 4);
    EXPECT_EQ(o->data, 7);
    EXPECT_EQ(Tobj_fake::get(900), 0);
    EXPECT_EQ(g_turn_idletimer, 50);
    EXPECT_EQ(lua_getglobalint("arg"), 12);
    ASSERT_EQ(world_luaerrors.size(), 1u);
    EXPECT_NE(world_luaerrors[0].find("Section: Object Setup (objects.barrel.setup)"), std::string::npos);
    apply(Rec().u8(75).u16(900).i32(-3).u8(77).u16(900).i32(25).b);
    EXPECT_EQ(o->data, -3);
    ASSERT_EQ(world_luaerrors.size(), 2u);
    EXPECT_NE(world_luaerrors[1].find("Section: Object Damage (objects.barrel.damage)"), std::string::npos);
    EXPECT_EQ(lua_getglobalint("arg"), 25);
    // 76 with the object's own position wakes nothing.
    o->idle = 1;
    apply(Rec().u8(76).u16(900).f32(30).f32(40).b);
    EXPECT_EQ(o->idle, 1);
    apply(Rec().u8(76).u16(900).f32(31).f32(40).b);
    EXPECT_EQ(o->idle, 0);
    apply(Rec().u8(72).u16(900).b);
    EXPECT_FALSE(Tobj::get(900));
}

TEST_F(EventsTest, ItemCollectedUsesTheRecordsWeapon) {
    auto w = std::make_shared<Tscro>();
    w->name = "Bazooka";
    w->image = 17;
    Tscro::weapon[9] = w;
    auto t = std::make_shared<Tteam>();
    t->id = 2;
    t->netplayer = 0;
    t->wamount[9] = 98;
    Tteam::list.push_back(t);
    // A crate whose own data names another weapon (65535 on this machine).
    Tobj::Create(-2, 60, 70, 65535, 11, 0);
    apply(Rec().u8(71).u16(11).u16(9).u8(2).b);
    EXPECT_FALSE(Tobj::get(11));
    EXPECT_EQ(t->wamount[9], 99);
    EXPECT_EQ(t->recentcol[9], 1500);
    EXPECT_EQ(Thud_msg::text, "Bazooka + 1");
    EXPECT_EQ(Thud_msg::icon, 17);
    EXPECT_EQ(Tp::list[0].size(), 11u);   // one flash and ten sparks
    // A stock of 99 stays, the effects still play.
    Tobj::Create(-7, 60, 70, 9, 12, 0);
    apply(Rec().u8(71).u16(12).u16(9).u8(2).b);
    EXPECT_EQ(t->wamount[9], 99);
    EXPECT_EQ(Tp::list[0].size(), 22u);
    // A bear trap hurts players within 70 pixels and goes.
    auto victim = player(3, 1, 100, 60, 70);
    Tobj::Create(-4, 60, 70, 100, 13, 0);
    apply(Rec().u8(71).u16(13).u16(65535).u8(2).b);
    // The damage travels as a record that this machine (the turn holder)
    // applies from its own copy.
    EXPECT_EQ(victim->health, 100);
    Tfb::process_additional(Tfb::loc, nullptr);
    EXPECT_EQ(victim->health, 65);
    EXPECT_FALSE(Tobj::get(13));
}

TEST_F(EventsTest, ChatAndReplayOnlyRecords) {
    Tnetpl::add(0, "Ann", nullptr);
    apply(Rec().u8(90).u8(0).u16(2).u8('h').u8('i').u8(92).u8(3).u8(1).u8(93).u8(5).b);
    ASSERT_FALSE(gui_lobby_lines.empty());
    EXPECT_EQ(gui_lobby_lines.back(), "Ann: hi");
    EXPECT_EQ(game_calls, (std::vector<std::string>{"freeplayer 3 1 0", "killteam 5"}));
}

TEST_F(EventsTest, TerrainRecordsCarveAndMarkTheTerrain) {
    map_rect(0, 0, 299, 299, (int)0xFF808080u);
    apply(Rec().u8(50).i32(100).i32(100).u16(10).i32(0).b);
    EXPECT_EQ(map_getcolor(100, 100), 0);
    EXPECT_EQ(g_terrainmodify, 2);
    apply(Rec().u8(51).i32(200).i32(200).u16(5).u16(5).i32(0).b);
    EXPECT_EQ(map_getcolor(205, 205), 0);
    apply(Rec().u8(79).i32(0).i32(20).u16(30).u8(0).b);
    EXPECT_EQ(map_getcolor(150, 35), 0);
    EXPECT_EQ((uint32_t)map_getcolor(150, 51), 0xFF808080u);
    apply(Rec().u8(80).u16(4).u8(31).i32(250).u8(42).i32(33).b);
    EXPECT_EQ(g_endstep, 4);
    EXPECT_EQ(g_waterlevel_change, 250);
    EXPECT_EQ(set_roundtime_tmp, 33);
}

TEST_F(EventsTest, RecordCutShortEndsTheBank) {
    // A whole wind record, then a damage record missing its last byte.
    apply(Rec().u8(30).f32(2).u8(40).u8(1).u8(5).u8(0).u8(0).b);
    EXPECT_EQ(g_storm, 2.0f);
    EXPECT_EQ(turn->health, 100);
    apply({1, 1, 2, 1});   // 1/1 claiming two entries with none present
    EXPECT_EQ(Tfb::endturn, 0);
    apply({90, 0, 0xFF, 0xFF, 'x'});
    EXPECT_TRUE(gui_lobby_lines.empty());
}

TEST_F(EventsTest, RecordsAppendedWhileApplyingJoinThePass) {
    // A record appended to the bank being applied (as a script callback
    // writing into Tfb::loc would) is applied in the same pass.
    Tfb::loc->Bytes() = Rec().u8(14).i32(3).b;
    Tfb::loc->Bytes().push_back(31);
    for (int i = 0; i < 4; ++i) Tfb::loc->Bytes().push_back(i == 0 ? 77 : 0);
    Tfb::process_additional(Tfb::loc, turn);
    EXPECT_EQ(hud_drawtimerval, 3);
    EXPECT_EQ(lua_getglobalint("weapon_timer"), 3);
    EXPECT_EQ(g_waterlevel_change, 77);
}

TEST_F(EventsTest, WeaponSwitch) {
    apply({10, 7});
    EXPECT_EQ(turn->wpn, 7);
    g_wpn_attacked = 1;
    apply({10, 8});
    EXPECT_EQ(turn->wpn, 7);
}

}  // namespace
