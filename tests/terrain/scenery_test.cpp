// Scenery sprites and the scenery grid: cells, list order, walks that survive
// removal, knock-off tests, creation draws, keep rule, tree leaves, sway.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "core/settings.h"
#include "platform/draw.h"
#include "scenery_probe.h"
#include "terrain/draw.h"
#include "terrain/edit.h"
#include "terrain/scenery.h"
#include "terrain/scenery_grid.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "terrain_art.h"
#include "world/particles.h"

namespace {

std::shared_ptr<Tsc> sprite_at(float x, float y, int typ = Tsc::FOLIAGE) {
    auto s = std::make_shared<Tsc>();
    s->typ = typ;
    s->x = x;
    s->y = y;
    s->sx = s->sy = 1;
    s->a = 1;
    return s;
}

// The cell and list that hold s, or {-1, -1, -1}.
std::tuple<int, int, int> where(const std::shared_ptr<Tsc>& s) {
    for (int cx = 0; cx <= Tscc::w; ++cx)
        for (int cy = 0; cy <= Tscc::h; ++cy)
            for (int f = 0; f < 2; ++f)
                for (const auto& e : f ? Tscc::map[cx][cy].listf() : Tscc::map[cx][cy].list())
                    if (e == s) return {cx, cy, f};
    return {-1, -1, -1};
}

class Scenery : public ::testing::Test {
protected:
    static void SetUpTestSuite() { terrain_art::load_terrain_art(); }
    static void TearDownTestSuite() { terrain_art::forget_terrain_art(); }
    void SetUp() override {
        set_particles = 2;
        set_scrx = 800;
        set_scry = 600;
        map_x = map_y = 0;
        map_setup(5, 4, 1);
        Tp::clear();
    }
    void TearDown() override { DrawRecord(false); }
};

TEST_F(Scenery, SpritesGoToTheCellOfTheirTruncatedPosition) {
    struct Case {
        float x, y;
        int cx, cy;   // -1: dropped
    };
    for (Case c : {Case{99.5f, 10, 0, 0}, {100, 10, 1, 0}, {-2, 10, 0, 0}, {-99.9f, -50, 0, 0}, {-100, 10, -1, -1},
                   {499.9f, 399, 4, 3}, {500, 10, -1, -1}, {10, 400, -1, -1}, {NAN, 10, -1, -1}, {1e30f, 5, -1, -1}}) {
        auto s = sprite_at(c.x, c.y);
        Tscc::add(s, 0, 0);
        auto [cx, cy, f] = where(s);
        EXPECT_EQ(cx, c.cx) << c.x << "," << c.y;
        EXPECT_EQ(cy, c.cy) << c.x << "," << c.y;
    }
    Tscc::add(nullptr, 0, 0);
}

TEST_F(Scenery, EachKindTakesItsListAndEnd) {
    // Two of each kind in one cell: heads go before earlier sprites, tails after.
    Tsc::addgrass(10, 10);
    Tsc::addreed(11, 10);
    Tsc::addfoliage(12, 10);
    Tsc::addroot(13, 10);
    Tsc::addtreeleaves(14, 10);
    Tsc::addgrass(15, 10);
    Tsc::addfoliage(16, 10);
    Tsc::addtreeleaves(17, 10);
    std::vector<float> back, front;
    for (const auto& s : Tscc::map[0][0].list()) back.push_back(s->x);
    for (const auto& s : Tscc::map[0][0].listf()) front.push_back(s->x);
    EXPECT_EQ(back, (std::vector<float>{15, 11, 10, 12, 13, 16}));
    EXPECT_EQ(front, (std::vector<float>{14, 17}));
}

TEST_F(Scenery, ClearAndSetupLeaveNoSprite) {
    Tscc::map.reset(0, 0);
    int w = Tscc::w, h = Tscc::h;
    Tscc::w = Tscc::h = -1;
    EXPECT_EQ(Tscc::clear(), 0);   // before the first setup: nothing to do
    Tscc::w = w, Tscc::h = h;
    map_setup(5, 4, 1);
    Tsc::addtreeleaves(450, 350);
    map_setup(3, 3, 1);
    EXPECT_EQ(Tscc::w, 2);
    EXPECT_EQ(Tscc::h, 2);
    EXPECT_TRUE(scenery_records().empty());
    Tsc::addtreeleaves(250, 250);
    Tscc::clear();
    EXPECT_TRUE(scenery_records().empty());
    EXPECT_EQ(Tscc::w, 2);
}

TEST_F(Scenery, CreationDrawsAFixedNumberOfValues) {
    struct Case {
        int kind;
        void (*make)();
    };
    const Case cases[] = {
        {Tsc::GRASS, [] { Tsc::addgrass(5, 5); }},       {Tsc::FOLIAGE, [] { Tsc::addfoliage(5, 5); }},
        {Tsc::ROOT, [] { Tsc::addroot(5, 5); }},         {Tsc::REED, [] { Tsc::addreed(5, 5); }},
        {Tsc::TREELEAVES, [] { Tsc::addtreeleaves(5, 5); }},
    };
    for (int particles : {0, 1, 2}) {
        set_particles = particles;
        for (const Case& c : cases)
            for (int seed : {1, 2, 3, 40}) {
                SeedRnd(seed);
                std::vector<uint64_t> stream(20);
                for (auto& v : stream) v = rnd_next64();
                SeedRnd(seed);
                c.make();
                EXPECT_EQ(rnd_next64(), stream[Tsc::draws(c.kind)]) << "kind " << c.kind << " level " << particles;
            }
    }
    EXPECT_EQ(Tsc::draws(0), 0);
    EXPECT_EQ(Tsc::draws(6), 0);
}

TEST_F(Scenery, GrassFieldsInDrawOrder) {
    SeedRnd(2024);
    int sub = Rand(0, 3), sign = Rand(0, 1), t = Rand(1, 10000), sway = Rand(5, 15), sp = Rand(3, 4);
    SeedRnd(2024);
    Tsc::addgrass(250, 120);
    ASSERT_EQ(Tscc::map[2][1].list().size(), 1u);
    const Tsc& s = *Tscc::map[2][1].list().front();
    EXPECT_EQ(s.typ, Tsc::GRASS);
    EXPECT_EQ(s.sub, sub);
    EXPECT_EQ(s.sx, sign == 1 ? 1.0f : -1.0f);
    EXPECT_EQ(s.sy, 1.0f);
    EXPECT_EQ(s.t, t);
    EXPECT_EQ(s.sway, sway);
    EXPECT_EQ(s.swaysp, sp);
    EXPECT_EQ(s.a, 1.0f);
    EXPECT_EQ(s.r + s.g + s.b, 3 * 255);
    EXPECT_EQ(s.x, 250.0f);
    EXPECT_EQ(s.y, 120.0f);
}

TEST_F(Scenery, ReedsAreScaledEvenlyAndLeavesMayMirrorBothWays) {
    bool leaf_mirrored_x = false, leaf_mirrored_y = false;
    for (int seed = 1; seed <= 60; ++seed) {
        SeedRnd(seed);
        Tsc::addreed(20, 20);
        Tsc::addtreeleaves(30, 30);
    }
    for (const auto& s : Tscc::map[0][0].list()) {
        EXPECT_GE(s->sy, 0.5f);
        EXPECT_LE(s->sy, 0.9f);
        EXPECT_EQ(std::fabs(s->sx), s->sy);
        EXPECT_GE(s->r, 200);
    }
    for (const auto& s : Tscc::map[0][0].listf()) {
        EXPECT_GE(std::fabs(s->sx), 0.5f);
        EXPECT_GE(std::fabs(s->sy), 0.5f);
        EXPECT_GE(s->a, 0.5f);
        EXPECT_LE(s->a, 0.6f);
        leaf_mirrored_x |= s->sx < 0;
        leaf_mirrored_y |= s->sy < 0;
    }
    EXPECT_TRUE(leaf_mirrored_x && leaf_mirrored_y);
}

TEST_F(Scenery, KeepRuleByParticleLevel) {
    // The keep value is the last draw of a grass tuft.
    auto keep_of = [](int seed) {
        SeedRnd(seed);
        for (int i = 0; i < Tsc::draws(Tsc::GRASS) - 1; ++i) rnd_next64();
        return Rand(1, 5);
    };
    for (int level : {0, 1, 2, 3, -1}) {
        set_particles = level;
        for (int seed = 1; seed <= 30; ++seed) {
            Tscc::clear();
            int keep = keep_of(seed);
            SeedRnd(seed);
            Tsc::addgrass(50, 50);
            auto f = Tsc::addfoliage(60, 50);   // returned even when dropped
            ASSERT_TRUE(f);
            bool stored = !Tscc::map[0][0].list().empty() && Tscc::map[0][0].list().front()->typ == Tsc::GRASS;
            bool want = level == 2 || (level == 1 && keep <= 2);
            EXPECT_EQ(stored, want) << "level " << level << " keep " << keep;
        }
    }
    set_particles = 0;
    Tsc::addtreeleaves(70, 50);
    EXPECT_EQ(Tscc::map[0][0].listf().size(), 1u);
}

TEST_F(Scenery, TreeLeavesDependOnlyOnBranchAndRestartTheSeedsSequence) {
    in_seed = 123456;
    SeedRnd(555);   // some other state: the leaves must not care
    // All seven leaves lie in cell (1, 1), so the records keep call order.
    Tsc::generatetreeleaves(110, 110, 10);
    std::vector<SpriteRecord> first = scenery_records();
    EXPECT_EQ(first.size(), 7u);
    EXPECT_EQ(in_seed, 123456);
    SeedRnd(123456);
    int expect = Rand(1, 1000000);
    SeedRnd(999);
    Tsc::generatetreeleaves(110, 110, 10);
    EXPECT_EQ(Rand(1, 1000000), expect);
    std::vector<SpriteRecord> both = scenery_records();
    ASSERT_EQ(both.size(), 14u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(both[i].key(), first[i].key());   // the first set is still in place
        EXPECT_EQ(both[i + 7].key(), first[i].key());   // the second is identical
    }
    // Offsets of variant 10 in call order, from the branch's top-left corner.
    const int dx[7] = {2, 8, 18, 18, 25, 25, 1}, dy[7] = {8, 0, 4, 22, 19, 39, 35};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(first[i].x, 110 + dx[i]);
        EXPECT_EQ(first[i].y, 110 + dy[i]);
        EXPECT_EQ(first[i].front, 1);
    }
    // No leaves, but the same restart.
    for (int variant : {5, 6, 7, 12, -1}) {
        Tscc::clear();
        SeedRnd(31);
        Tsc::generatetreeleaves(40, 40, variant);
        EXPECT_TRUE(scenery_records().empty()) << variant;
        EXPECT_EQ(Rand(1, 1000000), expect) << variant;
        EXPECT_EQ(in_seed, 123456);
    }
}

TEST_F(Scenery, TreeLeafSeedWrapsAtThirtyTwoBits) {
    struct Case {
        int x, y, variant;
    };
    for (Case c : {Case{0, 0, 0}, {1, 1, 1}, {300000, -300000, 11}, {-2000000000, 2000000000, 7}, {4000, 3000, 2}}) {
        int64_t exact = (int64_t)c.x * 8611 - (int64_t)c.y * 7826 + (int64_t)c.variant * 4154;
        int32_t wrapped = (int32_t)(uint32_t)(uint64_t)exact;
        EXPECT_EQ(Tsc::treeleaves_seed(c.x, c.y, c.variant), wrapped) << c.x << "," << c.y;
    }
    EXPECT_EQ(Tsc::treeleaves_seed(4000, 3000, 2), 4000 * 8611 - 3000 * 7826 + 2 * 4154);
}

TEST_F(Scenery, DrawWalksTheGivenCellsAndSwaysInPlace) {
    // One sprite per cell; drawing cells (-1..2, -1..2) touches columns and rows 0..2 only.
    std::vector<std::shared_ptr<Tsc>> all;
    for (int cx = 0; cx < 5; ++cx)
        for (int cy = 0; cy < 4; ++cy) {
            auto s = sprite_at(cx * 100 + 50.0f, cy * 100 + 50.0f, Tsc::GRASS);
            s->swaysp = 3;
            s->sway = 5;
            Tscc::add(s, 0, 0);
            all.push_back(s);
        }
    Tscc::draw(0, -1, -1, 2, 2);
    for (const auto& s : all) {
        bool inside = s->x < 300 && s->y < 300;
        EXPECT_EQ(s->t, inside ? 3 : 0) << s->x << "," << s->y;
    }
    Tscc::draw(1, 0, 0, 4, 3);   // front lists are empty: nothing moves
    EXPECT_EQ(all[0]->t, 3);
}

TEST_F(Scenery, SwayTiltsWithinTheAmplitudeWithAPeriodOf360OverSpeed) {
    auto s = sprite_at(150, 150, Tsc::GRASS);
    s->sway = 5;
    s->swaysp = 3;
    s->r = 10, s->g = 20, s->b = 30;
    s->sx = -1;
    Tscc::add(s, 0, 0);
    map_x = -100.7f;
    map_y = 20.2f;
    DrawRecord(true);
    for (int i = 0; i < 240; ++i) Tscc::draw(0, 0, 0, 4, 3);
    const auto& calls = DrawRecorded();
    ASSERT_EQ(calls.size(), 240u);
    float lo = 0, hi = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
        const DrawCall& c = calls[i];
        EXPECT_EQ(c.image, gfx_hassock[0].get());
        EXPECT_EQ(c.x, 49.0f);    // trunc(-100.7 + 150)
        EXPECT_EQ(c.y, 170.0f);   // trunc(20.2 + 150)
        EXPECT_EQ(c.scale_x, -1.0f);
        EXPECT_EQ(c.r, 10);
        EXPECT_EQ(c.b, 30);
        lo = std::min(lo, c.rotation);
        hi = std::max(hi, c.rotation);
        if (i >= 120) {
            EXPECT_NEAR(c.rotation, calls[i - 120].rotation, 1e-4) << i;
        }
    }
    EXPECT_NEAR(lo, -5, 0.01);
    EXPECT_NEAR(hi, 5, 0.01);
}

TEST_F(Scenery, SpritesOffTheirScreenBoxAreNotDrawn) {
    struct Case {
        int typ;
        float x, y;
        bool drawn;
    };
    // Screen 800 x 600 at offset 0: boxes are strict on every side.
    for (Case c : {Case{Tsc::GRASS, -29, 10, true}, {Tsc::GRASS, -30, 10, false}, {Tsc::GRASS, 829, 10, true},
                   {Tsc::GRASS, 830, 10, false}, {Tsc::ROOT, 10, -59, true}, {Tsc::ROOT, 10, -60, false},
                   {Tsc::ROOT, 10, 609, true}, {Tsc::ROOT, 10, 610, false}, {Tsc::REED, -49, 649, true},
                   {Tsc::FOLIAGE, 850, 10, false}, {Tsc::TREELEAVES, 849, -49, true}}) {
        Tsc_list l;
        auto s = sprite_at(c.x, c.y, c.typ);
        l.push_back(s);
        DrawRecord(true);
        s->draw(l);
        EXPECT_EQ(DrawRecorded().size(), c.drawn ? 1u : 0u) << c.typ << " at " << c.x << "," << c.y;
        EXPECT_EQ(l.size(), 1u);
    }
}

TEST_F(Scenery, KnockedOffSpritesLeaveDuringTheWalkAndTheWalkGoesOn) {
    std::vector<std::shared_ptr<Tsc>> row;
    for (int i = 0; i < 6; ++i) {
        row.push_back(sprite_at(10.0f + i, 10, Tsc::FOLIAGE));
        row.back()->swaysp = 1;
        Tscc::add(row.back(), 0, 0);
    }
    row[0]->kill = row[2]->kill = row[3]->kill = row[5]->kill = 1;
    Tscc::draw(0, 0, 0, 0, 0);
    std::vector<float> left;
    for (const auto& s : Tscc::map[0][0].list()) left.push_back(s->x);
    EXPECT_EQ(left, (std::vector<float>{11, 14}));
    for (const auto& s : row) EXPECT_EQ(s->t, 1);   // every sprite was visited once
}

TEST_F(Scenery, KnockOffParticlesFollowTheParticleLevel) {
    struct Case {
        int typ, level;
        size_t min, max;
    };
    for (Case c : {Case{Tsc::GRASS, 2, 1, 2}, {Tsc::GRASS, 1, 1, 2}, {Tsc::GRASS, 0, 0, 0}, {Tsc::TREELEAVES, 2, 10, 10},
                   {Tsc::TREELEAVES, 1, 5, 5}, {Tsc::FOLIAGE, 2, 0, 0}, {Tsc::ROOT, 2, 0, 0}, {Tsc::REED, 2, 0, 0}}) {
        Tp::clear();
        set_particles = c.level;
        // Far outside the screen box: a knocked-off sprite still leaves.
        Tsc_list l;
        auto s = sprite_at(5000, 5000, c.typ);
        s->kill = 1;
        l.push_back(s);
        s->draw(l);
        EXPECT_TRUE(l.empty());
        size_t n = Tp::list[0].size();
        EXPECT_GE(n, c.min) << c.typ << " level " << c.level;
        EXPECT_LE(n, c.max) << c.typ << " level " << c.level;
        for (const auto& p : Tp::list[0]) {
            EXPECT_EQ(p->typ, 25);
            EXPECT_EQ(p->r, 0);
            EXPECT_EQ(p->b, 0);
            EXPECT_LE(std::fabs(p->x - 5000), 5);
            EXPECT_LE(std::fabs(p->y - 5000), 5);
            if (c.typ == Tsc::GRASS) {
                EXPECT_GE(p->g, 175);
                EXPECT_EQ(p->x, 5000);
            } else {
                EXPECT_GE(p->g, 90);
                EXPECT_LE(p->g, 150);
            }
        }
    }
    Tp::clear();
}

TEST_F(Scenery, CircleKnocksOffWhatLiesWithinItsRadius) {
    auto a = sprite_at(150, 150), b = sprite_at(153, 154), c = sprite_at(156, 158), d = sprite_at(40, 150);
    for (auto& s : {a, b, c, d}) Tscc::add(s, 0, 0);
    auto front = sprite_at(150, 152, Tsc::TREELEAVES);
    Tscc::add(front, 1, 0);
    Tscc::check_circle(150, 150, 0);
    EXPECT_EQ(a->kill, 1);
    EXPECT_EQ(b->kill + c->kill + front->kill, 0);
    Tscc::check_circle(150, 150, -1);
    EXPECT_EQ(b->kill, 0);
    // r = 5: b at distance 5 is hit, c at 10 is not; back lists draw first.
    SeedRnd(77);
    double r1 = Rnd(-3, 3), r2 = Rnd(-3, 3), r3 = Rnd(-3, 3), r4 = Rnd(-3, 3), r5 = Rnd(-3, 3), r6 = Rnd(-3, 3);
    SeedRnd(77);
    Tscc::check_circle(150, 150, 5);
    EXPECT_EQ(b->kill, 1);
    EXPECT_EQ(c->kill, 0);
    EXPECT_EQ(front->kill, 1);
    EXPECT_EQ(a->fx, (float)r1);   // hit again: new velocity
    EXPECT_EQ(a->fy, (float)r2);
    EXPECT_EQ(b->fx, (float)r3);
    EXPECT_EQ(b->fy, (float)r4);
    EXPECT_EQ(front->fx, (float)r5);
    EXPECT_EQ(front->fy, (float)r6);
    // Circles off the left edge: x + r <= -100 tests nothing; overlapping tests column 0.
    Tscc::check_circle(-150, 150, 50);
    EXPECT_EQ(d->kill, 0);
    Tscc::check_circle(-10, 150, 55);
    EXPECT_EQ(d->kill, 1);
    Tscc::check_circle(INT32_MAX, INT32_MIN, INT32_MAX);   // no overflow, nothing in range
}

TEST_F(Scenery, RectangleHitsItsEdgesInclusively) {
    auto on_right = sprite_at(160, 120), on_bottom = sprite_at(130, 140), outside = sprite_at(161, 120),
         inside = sprite_at(140, 130);
    for (auto& s : {on_right, on_bottom, outside, inside}) Tscc::add(s, 0, 0);
    Tscc::check_rect(120, 110, -1, 30);
    EXPECT_EQ(inside->kill, 0);
    Tscc::check_rect(120, 110, 40, 30);
    EXPECT_EQ(on_right->kill, 1);
    EXPECT_EQ(on_bottom->kill, 1);
    EXPECT_EQ(inside->kill, 1);
    EXPECT_EQ(outside->kill, 0);
    // A band across the whole map reaches every cell it overlaps.
    auto far = sprite_at(480, 390);
    Tscc::add(far, 0, 0);
    Tscc::check_rect(-1000, 385, 100000, 10);
    EXPECT_EQ(far->kill, 1);
}

TEST_F(Scenery, TerrainDrawingPutsBackSpritesBehindTheTilesAndFrontOnesOverThem) {
    g_fps_render = 1;
    map_rect(0, 200, 499, 399, -1);
    Tsc::addgrass(150, 200);         // back list
    Tsc::addtreeleaves(160, 190);    // front list
    Tsc::addtreeleaves(-150, 190);   // outside the grid: dropped
    map_x = -100;                    // the view starts in column 1; column 0 is walked too
    auto kinds = [] {
        std::vector<char> out;   // 'g' grass, 'l' leaves, 't' tile
        for (const DrawCall& c : DrawRecorded()) {
            bool grass = false;
            for (const ImagePtr& h : gfx_hassock) grass |= c.image == h.get();
            out.push_back(c.image == gfx_treeleaves.get() ? 'l' : grass ? 'g' : 't');
        }
        return out;
    };
    DrawRecord(true);
    map_draw(0, 1);
    std::vector<char> k = kinds();
    ASSERT_GE(k.size(), 3u);
    EXPECT_EQ(k.front(), 'g');
    EXPECT_EQ(k.back(), 'l');
    EXPECT_EQ(std::count(k.begin(), k.end(), 'l'), 1);
    DrawRecord(true);
    map_draw(0, 0);   // no front layer
    k = kinds();
    EXPECT_EQ(std::count(k.begin(), k.end(), 'l'), 0);
    EXPECT_EQ(k.front(), 'g');
    DrawRecord(true);
    map_draw(1, 1);   // the editor's black terrain: no scenery
    k = kinds();
    EXPECT_EQ(std::count(k.begin(), k.end(), 'g') + std::count(k.begin(), k.end(), 'l'), 0);
    g_fps_render = 0;   // a skipped pass draws nothing and advances no sway
    int t = Tscc::map[1][2].list().front()->t;
    DrawRecord(true);
    map_draw(0, 1);
    EXPECT_TRUE(DrawRecorded().empty());
    EXPECT_EQ(Tscc::map[1][2].list().front()->t, t);
    g_fps_render = 1;
}

}  // namespace
