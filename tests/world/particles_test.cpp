// Particles: start values, blood colours, the layer bound, script lifetimes,
// motion edge cases, stains that never change solidity, and every kind
// leaving its layer in time.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/catalogue.h"
#include "app/main_loop.h"
#include "core/random.h"
#include "terrain/edit.h"
#include "terrain/view.h"
#include "world_fixture.h"

namespace {

struct ParticlesTest : WorldTest {
    void SetUp() override {
        WorldTest::SetUp();
        g_fps_render = 0;
        g_gravity = 0.1f;
        g_waterlevel = 250;
        set_scrx = 800, set_scry = 600;
        map_x = map_y = 0;
        // Stain images: half-transparent squares (the real ones are loaded
        // at start-up).
        auto square = [](int side) {
            auto img = CreateImage(side, side);
            auto pix = LockImage(img);
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) pix->WritePixel(x, y, 0xC0FF0000u);
            return img;
        };
        for (int i = 0; i < 3; ++i) {
            if (!gfx_blood25[i]) gfx_blood25[i] = square(25);
            if (!gfx_blood50[i]) gfx_blood50[i] = square(50);
            if (!gfx_blood75[i]) gfx_blood75[i] = square(75);
        }
        for (auto& d : gfx_dropimpact)
            if (!d) d = square(32);
        if (!gfx_coldot2) {
            gfx_coldot2 = CreateImage(1, 1);
            LockImage(gfx_coldot2)->WritePixel(0, 0, 0xFFFFFFFFu);
            SetImageHandle(gfx_coldot2, 0, 0);
        }
    }
    void TearDown() override {
        g_fps_render = 1;
        WorldTest::TearDown();
    }
    static size_t total() { return Tp::list[0].size() + Tp::list[1].size() + Tp::list[2].size(); }
    static void frame() {
        for (int l = 0; l < 3; ++l) Tp::draw(l);
    }
};

TEST_F(ParticlesTest, StartValuesAndBloodColours) {
    g_storm = 0;
    auto dust = Tp::Create(15, 1, 1, 1);
    EXPECT_EQ(dust->fx, 0);
    for (int i = 0; i < 50; ++i) {
        EXPECT_LE(Tp::Create(16, 0, 0, 0)->frame, 1);
        EXPECT_LE(Tp::Create(2, 0, 0, 0)->frame, 3);
    }
    map_x = -40, map_y = 10;
    auto screen = Tp::Create(26, 100, 50, 0);
    EXPECT_EQ(screen->x, 60);
    EXPECT_EQ(screen->y, 60);
    set_bloodcolor = 7;
    auto red = Tp::Create(4, 0, 0, 0);
    EXPECT_GE(red->r, 125);
    EXPECT_EQ(red->g + red->b, 0);
    set_bloodcolor = 4;
    auto black = Tp::Create(4, 0, 0, 0);
    EXPECT_TRUE(black->r == black->g && black->g == black->b && black->r <= 50);
    // Splash droplets by the particle amount.
    for (int level : {0, 1, 2}) {
        set_particles = level;
        Tp::clear();
        Tp::Create(9, 10, 10, 1);
        size_t n = Tp::list[0].size();
        const size_t low[] = {0, 2, 3}, high[] = {0, 3, 6};
        EXPECT_GE(n, low[level]) << level;
        EXPECT_LE(n, high[level]) << level;
    }
}

TEST_F(ParticlesTest, UnknownKindsAndFullLayersJoinNoList) {
    for (int kind : {0, 29, -1}) {
        auto p = Tp::Create(kind, 1, 2, 0);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->typ, kind);
    }
    EXPECT_TRUE(Tp::list[0].empty());
    EXPECT_TRUE(Tp::Create(1, 0, 0, 3));
    EXPECT_TRUE(Tp::Create(1, 0, 0, -1));
}

TEST_F(ParticlesTest, ScriptParticlesAreBoundedAndEnd) {
    for (int i = 0; i < 30000; ++i) {
        auto p = Tp::CreateScript(1, 10, 10, 0);
        p->fa = 0;   // never fades on its own
        p->fx = p->fy = 0;
    }
    EXPECT_EQ(Tp::list[0].size(), Tp::kLayerMax);
    for (int f = 0; f < Tp::kScriptLife - 1; ++f) Tp::draw(0);
    EXPECT_EQ(Tp::list[0].size(), Tp::kLayerMax);
    Tp::draw(0);
    EXPECT_TRUE(Tp::list[0].empty());
}

// Stains and drops recolour the terrain and never change its alpha.
TEST_F(ParticlesTest, StainsNeverChangeTerrainAlpha) {
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; x += 3) map_rect(x, y, 0, 0, (int)((uint32_t)((x + y) % 2 ? 0xFF : 0xC8) << 24 | 0x406080u));
    map_rect(0, 0, 299, 99, 0);
    std::vector<int> before;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) before.push_back(map_argb(map_getcolor(x, y), 0));
    set_gore = 5;
    SeedRnd(3);
    for (int i = 0; i < 3000; ++i) {
        Tp::Create(Rand(0, 1) ? 5 : 14, Rand(0, 299), Rand(0, 299), 0);
        if (i % 100 == 0) Tp::draw(0);
    }
    for (int f = 0; f < 2000 && !Tp::list[0].empty(); ++f) Tp::draw(0);
    EXPECT_TRUE(Tp::list[0].empty());
    size_t k = 0;
    int changed = 0, stained = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            int c = map_getcolor(x, y);
            changed += map_argb(c, 0) != before[k++];
            stained += map_argb(c, 0) != 0 && (c & 0xFFFFFF) != 0x406080;
        }
    EXPECT_EQ(changed, 0);
    EXPECT_GT(stained, 1000);
}

TEST_F(ParticlesTest, EveryKindOfEveryLayerEndsInTime) {
    set_particles = 1;   // no ambient dust, which would keep layer 1 busy
    for (int screen : {2, 1}) {
        menu = screen;
        for (int layer = 0; layer < 3; ++layer)
            for (int kind = 1; kind <= Tp::kKinds; ++kind) Tp::Create(kind, 100 + kind, 100, layer);
        int frames = 0;
        while (total() > 0 && frames < 5000) frame(), ++frames;
        EXPECT_EQ(total(), 0u) << "screen " << screen;
    }
}

TEST_F(ParticlesTest, BouncingIsBoundedAndNonFiniteSpeedsEnd) {
    map_rect(0, 150, 299, 149, (int)0xFF806040u);
    auto fast = Tp::Create(17, 100, 100, 0);
    fast->fx = 1e9f;
    auto lost = Tp::Create(27, 100, 100, 0);
    lost->fy = std::numeric_limits<float>::quiet_NaN();
    Tp::draw(0);
    EXPECT_EQ(Tp::list[0].size(), 1u);
    EXPECT_EQ(Tp::list[0].front(), fast);
    // A spark dropped onto the ground bounces up at 0.3 of its speed.
    Tp::clear();
    auto spark = Tp::Create(17, 50, 147, 0);
    spark->fx = 0, spark->fy = 4, spark->fa = 0;
    Tp::draw(0);
    EXPECT_LT(spark->fy, 0);
    EXPECT_LT(spark->y, 150);
}

TEST_F(ParticlesTest, DropStartsFallingInItsThirdStep) {
    auto drop = Tp::Create(14, 50, 50, 0);
    Tp::draw(0);
    Tp::draw(0);
    float y = drop->y;
    EXPECT_GE(drop->sy, 1);
    Tp::draw(0);
    EXPECT_GT(drop->y, y);
}

TEST_F(ParticlesTest, WalkVisitsAppendedParticlesUnlessTheCurrentWasLast) {
    // A fire fragment makes a puff each step. Made by the last particle of
    // the layer, the puff first moves in the next pass ...
    Tp::Create(12, 10, 10, 0);
    Tp::draw(0);
    ASSERT_EQ(Tp::list[0].size(), 2u);
    EXPECT_EQ(Tp::list[0].back()->x, 10);
    // ... made by one that is followed by others, it moves in this pass.
    Tp::clear();
    Tp::Create(12, 10, 10, 0);
    Tp::Create(12, 20, 10, 0);
    Tp::draw(0);
    ASSERT_EQ(Tp::list[0].size(), 4u);
    auto puff = *std::next(Tp::list[0].begin(), 2);
    EXPECT_EQ(puff->x, 10 + puff->fx);
}

TEST_F(ParticlesTest, ReplaySpeedsAndPause) {
    auto p = Tp::Create(21, 0, 0, 0);
    p->fy = 1, p->fa = 0;
    g_replay_speed = 5;
    Tp::draw(0);
    EXPECT_EQ(p->y, 8);
    g_replay_pause = 1;
    Tp::draw(0);
    EXPECT_EQ(p->y, 8);
    g_replay_pause = 0;
    g_replay_speed = 0;
    for (g_replay_timer = 0; g_replay_timer < 8; ++g_replay_timer) Tp::draw(0);
    EXPECT_EQ(p->y, 10);
}

}  // namespace
