// Object behaviour: mine fuses, explosions and duds, bear traps, fire
// charges, sinking, crate and medikit collection on the holder and the
// follower, the supply drop.
#include <gtest/gtest.h>

#include <array>

#include "core/random.h"
#include "world/explosion.h"
#include "object_fixture.h"

namespace {

using ObjectUpdate = ObjectWorld;

Bytes le32(int v) { return Rec().i32(v).b; }
void append(Bytes& a, const Bytes& b) { a.insert(a.end(), b.begin(), b.end()); }

TEST_F(ObjectUpdate, MineExplodesWithTheRecordsOfItsDamageSetting) {
    set[9] = 0, set[12] = 2;
    machine(1);
    map_rect(0, 300, 400, 100, 0);   // the mine falls freely
    player(1, 0, 100, 250, 290);     // in reach
    player(2, 1, 100, 320, 290);     // beyond 105
    // What arealdamage(200, 300, 105, 50) writes with the mine where its
    // step leaves it (it pushes the mine itself too).
    auto mine = make(-3, 200.7f, 300.2f, 1001, 56001);
    const float fallen = 300.2f + 0.1f;
    mine->y = fallen;
    arealdamage(200, 300, 105, 50);
    Bytes expect = take_frame();
    Tfb::loc->Resize(0);
    ASSERT_EQ(records_of(expect, 40).size(), 1u);
    mine->y = 300.2f;
    Tobj::update(1);
    EXPECT_EQ(mine->y, fallen);
    append(expect, {0x34, 0xC8, 0, 0, 0, 0x2C, 0x01, 0, 0, 0x1E, 0, 0x01});
    append(expect, {0x36, 0x63, 0x00, 0xC8, 0, 0, 0, 0x2C, 0x01, 0, 0, 0xCD, 0xCC, 0x4C, 0x3F, 0x0A, 0, 0, 0,
                    0x0A, 0, 0, 0, 0x0A, 0, 0, 0, 0, 0, 0, 0});
    append(expect, {72, 0xC1, 0xDA});   // id 56001
    EXPECT_EQ(take_frame(), expect);
    apply_own();
    EXPECT_FALSE(Tobj::get(56001));
}

TEST_F(ObjectUpdate, MineFuseLastsByTheDelaySetting) {
    set[9] = 0;
    machine(1);
    for (auto [delay, fuse] : {std::pair{0, 1}, {3, 60}}) {
        Tobj::list.clear(), Tplayer::list.clear();
        set[10] = delay;
        make(-3, 100, 297, 0, 56001);
        player(1, 0, 100, 115, 290);
        g_turn_frames = 1;   // the trigger scan runs on every 5th turn frame only
        Tobj::update(1);
        EXPECT_TRUE(take_frame().empty());
        g_turn_frames = 5;
        Tobj::update(1);
        auto trig = records_of(take_frame(), 75);
        ASSERT_EQ(trig.size(), 1u) << delay;
        EXPECT_EQ(Bytes(trig[0].begin() + 3, trig[0].end()), le32(1000 + 20 * delay));
        apply_own();
        int exploded = -1;
        for (int f = 1; f <= 100 && exploded < 0; ++f) {
            g_turn_frames = 5 + f;
            Tobj::update(1);
            if (!records_of(take_frame(), 72).empty()) exploded = f;
            apply_own();
        }
        EXPECT_EQ(exploded, fuse) << delay;
        EXPECT_FALSE(Tobj::get(56001));
    }
}

TEST_F(ObjectUpdate, DudsByTheDudSetting) {
    machine(1);
    for (auto [duds, dud] : {std::pair{0, false}, {9, false}, {100, true}}) {
        set[9] = duds;
        for (int k = 0; k < 20; ++k) {
            Tobj::list.clear();
            SeedRnd(k);
            make(-3, 100, 297, 1001, 56001);
            Tobj::update(1);
            Bytes frame = take_frame();
            apply_own();
            EXPECT_EQ(records_of(frame, 72).empty(), dud) << duds;
            if (dud) {
                ASSERT_EQ(records_of(frame, 75).size(), 1u);
                EXPECT_EQ(records_of(frame, 75)[0], (Bytes{75, 0xC1, 0xDA, 0xD0, 0x07, 0, 0}));
                EXPECT_EQ(Tobj::get(56001)->data, 2000);
            }
        }
    }
}

TEST_F(ObjectUpdate, ArmedBearTrapCatchesOnEveryThirdFrame) {
    machine(1);
    g_gravity = 0;   // the trap stays where it is: only the scan matters here
    struct Case {
        float dx, dy;
        bool caught;
    };
    for (const Case& c : {Case{14, 19, true}, Case{-14, -19, true}, Case{15, 0, false}, Case{0, 20, false}}) {
        Tobj::list.clear(), Tplayer::list.clear();
        auto trap = make(-4, 100, 297, 0, 56001);
        trap->idle = 1;
        player(1, 0, 100, 100 + c.dx, 297 + c.dy);
        for (int f = 1; f <= 3; ++f) {
            g_turn_frames = f;
            Tobj::update(1);
            Bytes frame = take_frame();
            bool snapped = !records_of(frame, 75).empty();
            EXPECT_EQ(snapped, c.caught && f == 3) << c.dx << "," << c.dy << " frame " << f;
            if (snapped) {
                EXPECT_EQ(records_of(frame, 75)[0], (Bytes{75, 0xC1, 0xDA, 0xD0, 0x07, 0, 0}));
                EXPECT_EQ(records_of(frame, 40), (std::vector<Bytes>{Bytes{40, 1, 30, 0, 0, 0}}));
            }
        }
        Tfb::loc->Resize(0);
    }
}

// A fire with two living players in reach on a burn-contact frame: the same
// charges on the holder and the follower; only the holder frees it.
TEST_F(ObjectUpdate, FireChargesDropOnEveryMachine) {
    for (int holder : {1, 0}) {
        Tobj::list.clear(), Tobj::firelist.clear(), Tplayer::list.clear();
        machine(holder);
        auto fire = make(-1, 100, 280, 3, 56001);
        fire->idle = 1, fire->mode = 1;
        player(1, 0, 100, 110, 290);
        player(2, 1, 100, 90, 270);
        Tobj::burntimer = 19;
        Tobj::update(holder);
        EXPECT_EQ(fire->data, 1) << holder;
        Bytes first = take_frame();
        EXPECT_EQ(records_of(first, 40).size(), holder ? 2u : 0u);
        EXPECT_TRUE(records_of(first, 72).empty());
        Tobj::burntimer = 19;
        Tobj::update(holder);
        EXPECT_EQ(fire->data, 0) << holder;
        auto freed = records_of(take_frame(), 72);
        EXPECT_EQ(freed, (holder ? std::vector<Bytes>{Bytes{72, 0xC1, 0xDA}} : std::vector<Bytes>{}));
        Tfb::loc->Resize(0);
    }
}

TEST_F(ObjectUpdate, WaterTakesCratesEverywhereAndMinesByRecord) {
    g_waterlevel = g_waterlevel_change = 250;
    for (int holder : {1, 0}) {
        Tobj::list.clear();
        machine(holder);
        auto crate = make(-2, 100, 249.5f, 2, 56001);
        crate->fy = 1;
        auto mine = make(-3, 200, 254.9f, 50, 56002);
        mine->fy = 1;
        Tobj::update(holder);
        Bytes frame = take_frame();
        EXPECT_FALSE(Tobj::get(56001)) << holder;
        ASSERT_TRUE(Tobj::get(56002));
        EXPECT_EQ(mine->data, 2001);
        EXPECT_EQ(frame, holder ? (Bytes{72, 0xC2, 0xDA}) : Bytes{});
        Tobj::update(holder);   // sinking on: the record is written once
        EXPECT_TRUE(take_frame().empty());
        apply_own();
        EXPECT_EQ(Tobj::get(56002) == nullptr, holder == 1);
    }
}

// One frame of a crate of id 1 falling onto player 1 of team 0, on the holder
// or the follower (fed the holder's frame).
struct Collection {
    std::vector<std::array<float, 3>> objects;   // id, x, y after the walk
    int stock_after_walk = 0, stock_after_records = 0;
    Bytes frame;
    bool listed_after = false;
};

Collection collect_run(int holder, int weapon, const Bytes& holder_frame) {
    Collection out;
    Tobj::list.clear(), Tplayer::list.clear();
    ObjectWorld::machine(holder);
    WorldTest::player(1, 0, 100, 100, 288);
    auto crate = ObjectWorld::make(-2, 100, 268, weapon, 1);
    crate->fy = 6;   // three sub-steps, each touching the player
    Tteam::get(0)->wamount[weapon] = 5;
    Tobj::update(holder);
    out.frame = ObjectWorld::take_frame();
    for (auto& o : Tobj::list) out.objects.push_back({(float)o->id, o->x, o->y});
    out.stock_after_walk = Tteam::get(0)->wamount[weapon];
    if (holder) {
        ObjectWorld::apply_own();
    } else {
        auto bank = CreateBank(0);
        bank->Bytes() = holder_frame;
        Tfb::process_additional(bank, nullptr);
    }
    out.stock_after_records = Tteam::get(0)->wamount[weapon];
    out.listed_after = Tobj::get(1) != nullptr;
    return out;
}

TEST_F(ObjectUpdate, CrateCollectionIsTheSameOnHolderAndFollower) {
    world_define(Tscro::weapon, 2, "weapons.two");
    Collection h = collect_run(1, 2, {});
    EXPECT_EQ(records_of(h.frame, 71), std::vector<Bytes>{(Bytes{0x47, 0x01, 0x00, 0x02, 0x00, 0x00})});
    Collection f = collect_run(0, 2, h.frame);
    EXPECT_TRUE(f.frame.empty());
    EXPECT_EQ(h.objects, f.objects);
    EXPECT_EQ(h.stock_after_walk, 5);
    EXPECT_EQ(f.stock_after_walk, 5);
    EXPECT_EQ(h.stock_after_records, 6);
    EXPECT_EQ(f.stock_after_records, 6);
    EXPECT_FALSE(h.listed_after || f.listed_after);
    // An empty weapon slot: nothing collected, the crate falls on.
    Collection e = collect_run(1, 3, {});
    EXPECT_TRUE(e.frame.empty());
    ASSERT_EQ(e.objects.size(), 1u);
    EXPECT_GT(e.objects[0][2], 268.0f);
    Collection ef = collect_run(0, 3, e.frame);
    EXPECT_EQ(e.objects, ef.objects);
    EXPECT_TRUE(e.listed_after && ef.listed_after);
}

TEST_F(ObjectUpdate, MedikitWritesHealAndCollectOnceAndMovesOn) {
    set[15] = 25;
    machine(1);
    player(1, 0, 60, 100, 288);
    auto kit = make(-5, 100, 268, 0, 56001);
    kit->fy = 6;
    Tobj::update(1);
    Bytes frame = take_frame();
    EXPECT_EQ(records(frame), (std::vector<Bytes>{{41, 1, 25, 0, 0, 0}, {75, 0xC1, 0xDA, 0, 0, 0, 0}}));
    EXPECT_GT(kit->y, 268.0f);
    apply_own();
    EXPECT_FALSE(Tobj::get(56001));
    EXPECT_EQ(Tplayer::get(1)->health, 85);
}

TEST_F(ObjectUpdate, TrapCrateOpensThroughItsRecord) {
    machine(1);
    player(1, 0, 100, 100, 288);
    auto crate = make(-2, 100, 268, 65535, 56001);
    crate->fy = 6;
    Tobj::update(1);
    auto recs = records(take_frame());
    ASSERT_GE(recs.size(), 3u);
    EXPECT_EQ(recs[0], (Bytes{71, 0xC1, 0xDA, 0xFF, 0xFF, 0}));
    EXPECT_EQ(recs[1][0], 52);
    EXPECT_EQ(Bytes(recs[1].begin() + 9, recs[1].end()), (Bytes{20, 0, 1}));
    EXPECT_EQ(recs[2][0], 54);
    EXPECT_EQ(Bytes(recs[2].begin() + 1, recs[2].begin() + 3), (Bytes{91, 0}));
    // The area damage comes when 71 applies: the player is hurt then.
    apply_own();
    EXPECT_FALSE(Tobj::get(56001));
    EXPECT_LT(Tplayer::get(1)->health, 100);
}

TEST_F(ObjectUpdate, SupplyDropRollsAndRestartsItsCountdown) {
    machine(1);
    menu = 2;
    set[3] = 3, set[14] = 0, set[16] = 15;
    world_define(Tscro::weapon, 2, "weapons.two");
    Tscro::weapon[2]->chance = 3;
    int drops = 0, quiet = 0;
    for (int k = 0; k < 40; ++k) {
        Tobj::list.clear(), Tobj_fake::list.clear();
        SeedRnd(k);
        g_turn_team = k % 2 ? 0 : -1;   // -1: nothing to give
        g_supply_turncount = 0;
        g_supply_lastspawn = -49;
        Tobj::update(1);
        Bytes frame = take_frame();
        Tfb::loc->Resize(0);
        ASSERT_TRUE(g_supply_lastspawn == 250 || g_supply_lastspawn == -1);
        if (g_supply_lastspawn == 250 && g_turn_team == -1) {
            EXPECT_TRUE(frame.empty());
            ++quiet;
        }
        if (!frame.empty()) {
            auto r = records_of(frame, 70);
            ASSERT_EQ(r.size(), 1u);
            EXPECT_EQ(Bytes(r[0].begin() + 1, r[0].begin() + 5), le32(-2));
            EXPECT_EQ(Bytes(r[0].begin() + 9, r[0].begin() + 13), le32(-150));
            EXPECT_EQ(Bytes(r[0].begin() + 13, r[0].begin() + 17), le32(2));
            EXPECT_EQ(r[0][19], 1);   // the arrival sound
            EXPECT_EQ(g_supply_turncount, 1);
            ++drops;
        }
    }
    EXPECT_GT(drops, 0);
    EXPECT_GT(quiet, 0);
    // The cap: with supplycrates 3, two drops per turn at most.
    g_turn_team = 0;
    g_supply_turncount = 2;
    g_supply_lastspawn = -49;
    Tobj::update(1);
    EXPECT_TRUE(take_frame().empty());
    EXPECT_EQ(g_supply_lastspawn, -1);
}

}  // namespace
