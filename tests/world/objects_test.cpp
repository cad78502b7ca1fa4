// Game objects and the collision precedence: id blocks and reservations,
// default data, creation notices, removal, data effects, push and move
// records, and which objects collide.
#include <gtest/gtest.h>

#include "core/host_settings.h"
#include "core/random.h"
#include "core/resources.h"
#include "terrain/edit.h"
#include "world_fixture.h"

namespace {

struct ObjectsTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        g_player = g_turn_netplayer = 2;
        g_server = 0;
    }
    // Applies the records written this frame, as the turn holder does after
    // its own step.
    static void apply_own() {
        Tfb::process_additional(Tfb::loc, nullptr);
        Tfb::loc->Resize(0);
    }
};

TEST_F(ObjectsTest, IdBlocksAndReservations) {
    EXPECT_EQ(Tobj::getfreeid(0), 14001);
    EXPECT_EQ(Tobj::getfreeid(1), 56001);
    // Two ids taken before their records apply differ ...
    int a = Tobj::getfreeid(0), b = Tobj::getfreeid(0);
    EXPECT_EQ(a, 14002);
    EXPECT_EQ(b, 14003);
    for (int id : {a, b}) {
        ASSERT_TRUE(Tfb::fits(24));
        Tfb::wbyte(70), Tfb::wint(-6), Tfb::wint(10), Tfb::wint(20), Tfb::wint(-1), Tfb::wshort(id), Tfb::wbyte(0),
            Tfb::wint(0);
        Tfb::copyloc(24);
    }
    apply_own();
    ASSERT_TRUE(Tobj::get(a) && Tobj::get(b));
    // ... and no reservation of theirs remains once both applied.
    EXPECT_EQ(Tobj_fake::get(a) + Tobj_fake::get(b), 0);
    // The host and a replay take global ids outside a match's own blocks.
    menu = 1, g_server = 1;
    EXPECT_EQ(Tobj::getfreeid(0), 56002);
}

TEST_F(ObjectsTest, UsedMedikitKeepsItsIdUntilTheTurnEnds) {
    int id = Tobj::getfreeid(0);
    auto kit = Tobj::Create(-5, 50, 50, -1, id, 0);
    Tobj_fake::free(id);
    EXPECT_EQ(kit->data, 0);
    Tobj::get(id)->setdata(0);
    EXPECT_FALSE(Tobj::get(id));
    EXPECT_EQ(Tp::list[0].size(), 11u);   // flash and ten sparks
    EXPECT_EQ(Tobj::getfreeid(0), id + 1);
    Tobj::turnupdate();
    EXPECT_EQ(Tobj::getfreeid(0), id);
}

TEST_F(ObjectsTest, FullBlockOrNoControlGivesZeroAndCreatesNothing) {
    g_turn_netplayer = 1;
    EXPECT_EQ(Tobj::getfreeid(0), 0);
    g_turn_netplayer = 2;
    // A whole block taken in one turn, in increasing ids.
    for (int i = 0; i < 6999; ++i) ASSERT_EQ(Tobj::getfreeid(0), 14001 + i);
    EXPECT_EQ(Tobj::getfreeid(0), 0);
    EXPECT_FALSE(Tobj::Create(-6, 1, 1, 0, -1, 0));
    EXPECT_TRUE(Tobj::list.empty());
}

TEST_F(ObjectsTest, CreateDrawsAnimThenRotAndTakesDefaults) {
    SeedRnd(5);
    int anim = Rand(0, 72) * 5, rot = Rand(1, 360);
    SeedRnd(5);
    auto o = Tobj::Create(-3, 7, 8, -1, 56001, 0);
    EXPECT_EQ(o->anim, anim);
    EXPECT_EQ(o->rot, rot);
    EXPECT_EQ(o->alpha, 0);   // a mine starts hidden
    EXPECT_EQ(o->data, 100);
    EXPECT_EQ(o->turns, 5);
    struct Case {
        int typ, data;
    };
    for (Case c : {Case{-1, 3}, {-4, 100}, {-5, 0}, {-6, 0}, {7, 0}}) EXPECT_EQ(Tobj::getdata(c.typ), c.data) << c.typ;
    // An unknown script kind becomes fire (a console line when a record made it).
    obj_notice_console = 1;
    auto f = Tobj::Create(9, 0, 0, -1, 56002, 0);
    EXPECT_EQ(f->typ, -1);
    EXPECT_EQ(f->data, 3);
    EXPECT_EQ(Tobj::firelist.size(), 1u);
    EXPECT_EQ(in_console, (std::list<std::string>{"Warning: Trying to create object with invalid type (9)",
                                                  "Creating fire instead!"}));
}

TEST_F(ObjectsTest, IdCollisionIsReportedAndBothStay) {
    obj_notice_console = 1;
    Tobj::Create(-6, 1, 2, 0, 77, 0);
    auto second = Tobj::Create(-3, 3, 4, 0, 77, 0);
    EXPECT_EQ(Tobj::list.size(), 2u);
    EXPECT_EQ(Tobj::get(77), Tobj::list.front());
    EXPECT_EQ(second->id, 77);
    EXPECT_EQ(in_console, (std::list<std::string>{"Warning: Object ID collision (ID 77)",
                                                  "-6 (77) @ 1.000000|2.000000", "-3 (0) @ 3.000000|4.000000"}));
}

TEST_F(ObjectsTest, CrateContentByTrapsChancesAndStock) {
    for (int w : {1, 2, 3}) {
        auto e = std::make_shared<Tscro>();
        e->chance = w == 3 ? 0 : w;   // 1 once, 2 twice, 3 never
        Tscro::weapon[(size_t)w] = e;
    }
    auto team = std::make_shared<Tteam>();
    team->id = 0;
    Tteam::list.push_back(team);
    set[4] = 0;
    int seen[4] = {};
    for (int i = 0; i < 300; ++i) ++seen[Tobj::getdata(-2)];
    EXPECT_EQ(seen[0] + seen[3], 0);
    EXPECT_GT(seen[2], seen[1]);
    set[4] = 100;
    EXPECT_EQ(Tobj::getdata(-2), 65535);
    EXPECT_NE(Tobj::getdata(-7), 65535);
    team->wamount[1] = team->wamount[2] = 100;   // unlimited stock never comes in crates
    EXPECT_EQ(Tobj::getdata(-7), -2);
    set[4] = 10;
}

TEST_F(ObjectsTest, FreeTurnUpdateAndIdle) {
    auto fire = Tobj::Create(-1, 0, 0, -1, 56001, 0);
    Tobj::Create(-2, 0, 0, 4, 56002, 0);
    auto script = std::make_shared<Tscro>();
    script->path = "objects.barrel";
    Tscro::obj[4] = script;
    auto barrel = Tobj::Create(4, 0, 0, 0, 56003, 0);
    barrel->turns = 2;
    Tobj::free(56001);
    Tobj::free(56002);
    EXPECT_EQ(fire->turns, 0);
    EXPECT_EQ(Tobj::list.size(), 2u);
    fire->timer = 9;
    Tobj::turnupdate();
    EXPECT_EQ(fire->turns, 0);
    EXPECT_EQ(fire->timer, 0);
    EXPECT_EQ(barrel->turns, 2);
    EXPECT_EQ(Tobj::burntimer, 1);
    EXPECT_EQ(Tobj::counttype(4), 1);
    EXPECT_EQ(Tobj::allidle(), 0);
    for (auto& o : Tobj::list) o->idle = 1;
    EXPECT_EQ(Tobj::allidle(), 1);
    Tobj::list.clear();
    EXPECT_EQ(Tobj::allidle(), 1);
}

TEST_F(ObjectsTest, PushAndMoveOnlyOnTheTurnHolder) {
    auto o = Tobj::Create(-3, 100, 150, 100, 300, 0);
    o->sync_push(1.5f, -2);
    o->sync_pos(7, 8);
    EXPECT_EQ(g_frame_data->Bytes(), (Bytes{74, 0x2C, 0x01, 0, 0, 0xC8, 0x42, 0, 0, 0x16, 0x43, 0, 0, 0xC0, 0x3F, 0, 0,
                                             0, 0xC0, 76, 0x2C, 0x01, 0, 0, 0xE0, 0x40, 0, 0, 0, 0x41}));
    EXPECT_EQ(o->x, 100);   // moved only when the records apply
    apply_own();
    EXPECT_EQ(o->x, 7);
    EXPECT_EQ(o->fx, 1.5f);
    g_frame_data->Resize(0);
    g_player = 0;
    o->sync_push(1, 1);
    o->sync_pos(1, 1);
    EXPECT_EQ(g_frame_data->Size(), 0u);
}

TEST_F(ObjectsTest, DudMineAndSnappedTrap) {
    auto mine = Tobj::Create(-3, 50, 50, 100, 301, 0);
    mine->setdata(2000);
    EXPECT_EQ(Tp::list[0].size(), 5u);
    for (auto& p : Tp::list[0]) EXPECT_EQ(p->r, p->g);
    Tp::clear();
    auto trap = Tobj::Create(-4, 50, 50, 100, 302, 0);
    for (int gore : {0, 1, 5}) {
        set_gore = gore;
        Tp::clear();
        trap->setdata(2000);
        EXPECT_EQ(trap->alpha, 2);
        EXPECT_EQ(Tp::list[0].size(), gore == 0 ? 0u : gore == 1 ? 2u : 25u);
    }
    trap->setdata(0);
    EXPECT_TRUE(Tobj::get(302));
}

// A small map with solid ground below y = 150, a living player, and one
// object of each built-in kind and two script objects, all on the ground.
struct CollideTest : WorldTest {
    ImagePtr dot, barrel_img;
    void SetUp() override {
        WorldTest::SetUp();
        map_rect(0, 150, 299, 149, (int)0xFF806040u);
        if (!gfx_pl_col) {
            gfx_pl_col = CreateImage(32, 32);
            auto pix = LockImage(gfx_pl_col);
            for (int y = 4; y <= 27; ++y)
                for (int x = 9; x <= 22; ++x) pix->WritePixel(x, y, 0xFFFFFFFFu);
            SetImageHandle(gfx_pl_col, 16, 16);
        }
        dot = CreateImage(9, 9);
        SetImageHandle(dot, 4, 4);
        auto pix = LockImage(dot);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x) pix->WritePixel(x, y, 0xFFFFFFFFu);
        barrel_img = CreateImage(10, 10);
        SetImageHandle(barrel_img, 5, 5);
        pix = LockImage(barrel_img);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) pix->WritePixel(x, y, 0xFFFFFFFFu);
        if (Tres::gfx.size() < 8) Tres::gfx.resize(8);
        Tres::gfx[5] = std::make_shared<Tres>();
        Tres::gfx[5]->path = "barrel.png";
        Tres::gfx[5]->image = barrel_img;
        for (int t : {4, 6}) {
            auto e = std::make_shared<Tscro>();
            e->path = "objects.o" + std::to_string(t);
            e->image = t == 4 ? 5 : 0;
            Tscro::obj[(size_t)t] = e;
        }
    }
    void TearDown() override {
        Tres::gfx[5] = nullptr;
        WorldTest::TearDown();
    }
};

TEST_F(CollideTest, PlayerThenTerrainThenScriptObject) {
    auto p = player(3, 0, 100, 100, 140);
    Tobj::Create(4, 200, 148, 0, 56001, 0);
    EXPECT_EQ(collide(dot, 100, 150, 0, nullptr, nullptr), 103);   // player and terrain
    EXPECT_EQ(collide(dot, 200, 150, 0, nullptr, nullptr), 1);     // terrain and script object
    EXPECT_EQ(collide(dot, 200, 140, 0, nullptr, nullptr), 200 + 56001);
    EXPECT_EQ(collide_object(dot, 200, 140, 0, nullptr), 56001);
    EXPECT_EQ(collide(dot, 200, 140, 0, nullptr, Tobj::get(56001).get()), 0);   // itself left out
    p->health = 0;
    EXPECT_EQ(collide(dot, 100, 150, 0, nullptr, nullptr), 1);
    EXPECT_EQ(collide(dot, 100, 100, 0, nullptr, nullptr), 0);
}

TEST_F(CollideTest, BuiltInKindsAndImagelessTypesNeverCollide) {
    int id = 56001;
    for (int typ : {-1, -2, -3, -4, -5, -7, 6}) Tobj::Create(typ, 150, 100, 0, id++, 0);
    EXPECT_EQ(collide(dot, 150, 100, 0, nullptr, nullptr), 0);
    EXPECT_EQ(collide_object(dot, 150, 100, 0, nullptr), 0);
}

TEST_F(CollideTest, DebugMarkersFadeOut) {
    TColDebug::add(dot, 5, 6);
    TColDebug::add(nullptr, 1, 1);
    TColDebug::draw();
    ASSERT_EQ(TColDebug::list.size(), 1u);
    EXPECT_FLOAT_EQ(TColDebug::list.front().alpha, 0.49f);
    for (int i = 0; i < 60; ++i) TColDebug::draw();
    EXPECT_TRUE(TColDebug::list.empty());
}

}  // namespace
