// Terrain drawing, headless: what is drawn where, recorded call by call.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <vector>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/settings.h"
#include "frontend/screens/menu.h"
#include "match/game.h"
#include "match/replay.h"
#include "platform/draw.h"
#include "terrain/draw.h"
#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "terrain_test_util.h"
#include "world/particles.h"
#include "world/water.h"

namespace {

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        set_scrx = 640;
        set_scry = 480;
        set_scrxh = 320;
        set_scryh = 240;
        set_background = 3;
        set_particles = 0;
        g_fps_render = 1;
        g_replay = 0;
        g_replay_pause = 0;
        g_replay_fastforward = 0;
        g_storm = 0;
        g_bgcola = 0;
        menu = 2;
        map_x = map_y = 0;
        gfx_bg = solid_image(640, 480, 0xFF8090A0u);
        gfx_clouds = solid_image(256, 128, 0x80FFFFFFu);
        gfx_water[0] = solid_image(200, 30, 0xFF2040A0u);
        gfx_wateranim = CreateImage(128, 128, 8, -1);
        DrawRecord(true);
    }
    void TearDown() override {
        DrawRecord(false);
        gfx_bg = gfx_clouds = gfx_water[0] = gfx_wateranim = nullptr;
        map_bg = nullptr;
    }
    static std::vector<DrawCall> calls_of(const ImagePtr& img) {
        std::vector<DrawCall> out;
        for (const DrawCall& c : DrawRecorded())
            if (c.image == img.get()) out.push_back(c);
        return out;
    }
    static std::vector<DrawCall> tile_calls() {
        std::vector<DrawCall> out;
        for (const DrawCall& c : DrawRecorded())
            for (const Tmap_tile& t : map_tiles.held)
                if (c.image == t.img.get()) out.push_back(c);
        return out;
    }
};

TEST_F(Drawing, VisibleTilesLandOnWholePixels) {
    map_setup(20, 10, 1);
    map_rect(0, 0, map_xsize - 1, map_ysize - 1, -1);
    map_x = -150.7f;
    map_y = 0;
    DrawRecord(true);
    map_draw(0, 1);
    std::vector<DrawCall> calls = tile_calls();
    ASSERT_EQ(calls.size(), 8u * 6u);   // columns 1..8, rows 0..5
    size_t i = 0;
    for (int tx = 1; tx <= 8; ++tx)
        for (int ty = 0; ty <= 5; ++ty, ++i) {
            EXPECT_EQ(calls[i].image, map_img[tx][ty].get());
            EXPECT_EQ(calls[i].x, -150 + 100 * tx);
            EXPECT_EQ(calls[i].y, 100 * ty);
            EXPECT_EQ(calls[i].r, 255);
        }
}

TEST_F(Drawing, RangeClampsToTheMap) {
    map_setup(20, 10, 1);
    map_rect(0, 0, map_xsize - 1, map_ysize - 1, -1);
    map_x = 200;   // map starts right of the screen's left edge: columns 0..5
    map_y = -850;  // rows 8..9 (13 clamped to 9)
    DrawRecord(true);
    map_draw(0, 1);
    std::vector<DrawCall> calls = tile_calls();
    ASSERT_EQ(calls.size(), 6u * 2u);
    EXPECT_EQ(calls.front().x, 200);
    EXPECT_EQ(calls.front().y, -50);
    EXPECT_EQ(calls.back().x, 700);
}

TEST_F(Drawing, EmptyTilesAreSkippedAndModeOneIsBlack) {
    map_setup(20, 10, 1);
    map_rect(150, 150, 0, 0, -1);   // tile (1, 1) only
    DrawRecord(true);
    map_draw(1, 0);
    std::vector<DrawCall> calls = tile_calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].r + calls[0].g + calls[0].b, 0);
}

TEST_F(Drawing, DrawnPassUnlocksEveryLockedTileSkippedPassNothing) {
    map_setup(20, 10, 1);
    map_rect(1900, 900, 50, 50, -1);   // far off screen
    ASSERT_NE(map_pxm[19][9], nullptr);
    g_fps_render = 0;
    map_draw(0, 1);
    EXPECT_NE(map_pxm[19][9], nullptr);
    EXPECT_EQ(map_unlock, 1);
    EXPECT_TRUE(DrawRecorded().empty());
    g_fps_render = 1;
    map_draw(0, 1);
    EXPECT_EQ(map_pxm[19][9], nullptr);
    EXPECT_EQ(map_unlock, 0);
}

TEST_F(Drawing, CloudsFollowTheStorm) {
    struct Case {
        float storm;
        int replay, speed, pause, fastforward;
        int moved;
    };
    for (Case c : {Case{0.25f, 0, 2, 0, 0, 25}, {-0.25f, 0, 2, 0, 0, -25}, {0.001f, 0, 2, 0, 0, 1},
                   {0, 0, 2, 0, 0, 0}, {0.25f, 1, 0, 0, 0, 7}, {0.25f, 1, 5, 0, 0, 200},
                   {0.25f, 1, 2, 1, 0, 0}, {0.25f, 1, 0, 0, 1, 200}, {0.05f, 0, 2, 0, 0, 6},
                   {-0.05f, 0, 2, 0, 0, -6}}) {
        g_storm = c.storm;
        g_replay = c.replay;
        g_replay_speed = c.speed;
        g_replay_pause = c.pause;
        g_replay_fastforward = c.fastforward;
        int before = map_stormx;
        map_draw_bg();
        EXPECT_EQ(map_stormx - before, c.moved) << c.storm << " replay " << c.replay << " speed " << c.speed;
    }
    g_replay = 0;
    g_replay_speed = 2;
}

TEST_F(Drawing, CloudOffsetWrapsInsteadOfOverflowing) {
    g_replay = 0;
    map_stormx = INT_MAX - 10;
    g_storm = 0.25f;
    map_draw_bg();
    EXPECT_EQ(map_stormx, INT_MIN + 14);
    // A storm that is no number leaves the clouds where they are; one far
    // beyond any real wind moves them without undefined arithmetic.
    g_storm = std::numeric_limits<float>::quiet_NaN();
    map_draw_bg();
    EXPECT_EQ(map_stormx, INT_MIN + 14);
    for (float storm : {1e30f, -1e30f, std::numeric_limits<float>::infinity()}) {
        g_storm = storm;
        int before = map_stormx;
        map_draw_bg();
        EXPECT_NE(map_stormx, before) << storm;
    }
    g_storm = 0;
}

TEST_F(Drawing, CloudLayersBySetting) {
    g_storm = 0.5f;
    for (int level : {0, 1, 2, 3}) {
        set_background = level;
        int before = map_stormx;
        DrawRecord(true);
        map_draw_bg();
        EXPECT_EQ(calls_of(gfx_clouds).size(), (size_t)level) << level;
        EXPECT_EQ(map_stormx != before, level > 0);
    }
    // Near layer last, fully opaque, at the storm offset / 7.
    map_stormx = 70;
    map_x = 0;
    map_y = 70;
    g_storm = 0;
    DrawRecord(true);
    map_draw_bg();
    std::vector<DrawCall> clouds = calls_of(gfx_clouds);
    ASSERT_EQ(clouds.size(), 3u);
    EXPECT_FLOAT_EQ(clouds[0].alpha, 0.3f);
    EXPECT_FLOAT_EQ(clouds[1].alpha, 0.5f);
    EXPECT_FLOAT_EQ(clouds[2].alpha, 1);
    EXPECT_FLOAT_EQ(clouds[2].x, 10);
    EXPECT_FLOAT_EQ(clouds[2].y, 10);
    EXPECT_FLOAT_EQ(clouds[1].y, 650 + 70.0f / 15);
}

TEST_F(Drawing, SkyTintFadesOverTenFrames) {
    g_bgcol[0] = 255;
    g_bgcol[1] = 0;
    g_bgcol[2] = 0;
    g_bgcola = 1;
    g_bgfadeout = 0.1f;
    std::vector<DrawCall> sky;
    for (int frame = 0; frame < 12; ++frame) {
        DrawRecord(true);
        map_draw_bg();
        sky.push_back(calls_of(gfx_bg).at(0));
    }
    EXPECT_EQ(sky[0].r, 255);
    EXPECT_EQ(sky[0].g, 0);
    EXPECT_GT(sky[5].g, 0);
    EXPECT_LT(sky[5].g, 120);
    for (int f : {10, 11}) {
        EXPECT_EQ(sky[f].r, 100);
        EXPECT_EQ(sky[f].g, 120);
        EXPECT_EQ(sky[f].b, 150);
    }
    EXPECT_FLOAT_EQ(sky[0].scale_x, 1);
    set_scrx = 1280;
    DrawRecord(true);
    map_draw_bg();
    EXPECT_FLOAT_EQ(calls_of(gfx_bg).at(0).scale_x, 2);
}

// Scripts store any int as the tint: each mixed channel is held to 0..255.
TEST_F(Drawing, SkyTintClampsEveryChannel) {
    g_bgcol[0] = 2147483647;
    g_bgcol[1] = -2147483647 - 1;
    g_bgcol[2] = 300;
    g_bgcola = 1;
    g_bgfadeout = 0.1f;
    DrawRecord(true);
    map_draw_bg();
    DrawCall sky = calls_of(gfx_bg).at(0);
    EXPECT_EQ(sky.r, 255);
    EXPECT_EQ(sky.g, 0);
    EXPECT_EQ(sky.b, 255);
}

TEST_F(Drawing, BackgroundImageAnchorsAndModes) {
    map_setup(20, 10, 1);
    map_bg = solid_image(300, 200, -1);
    map_x = -10;
    map_y = -20;
    struct Case {
        int render, align;
        bool drawn;
        float x, y;
    };
    for (Case c : {Case{0, 7, true, -10 + 1000 - 150, -20 + 1000 - 200}, {0, 0, true, -10, -20},
                   {0, 5, true, -10 + 2000 - 300, -20 + 500 - 100}, {4, 4, true, 320 - 150, 240 - 100},
                   {4, 8, true, 340, 280}, {1, 7, true, -10, -20}, {2, 0, true, 0, 0},
                   {5, 7, false, 0, 0}, {0, 9, false, 0, 0}, {4, -1, false, 0, 0}}) {
        map_bg_render = c.render;
        map_bg_align = c.align;
        DrawRecord(true);
        map_draw_bg();
        std::vector<DrawCall> bg = calls_of(map_bg);
        ASSERT_EQ(bg.size(), c.drawn ? 1u : 0u) << c.render << "/" << c.align;
        if (!c.drawn) continue;
        EXPECT_FLOAT_EQ(bg[0].x, c.x) << c.render << "/" << c.align;
        EXPECT_FLOAT_EQ(bg[0].y, c.y) << c.render << "/" << c.align;
    }
    map_bg_render = 1;
    DrawRecord(true);
    map_draw_bg();
    EXPECT_FLOAT_EQ(calls_of(map_bg).at(0).scale_x, 2000.0f / 300);
    map_bg_render = 0;
    map_bg_align = 7;
    map_bg_transparency = 3;
    menu = 1;
    for (int sub : {12, 42, 0}) {
        menu_sub = sub;
        DrawRecord(true);
        map_draw_bg();
        ASSERT_EQ(calls_of(map_bg).size(), sub ? 1u : 0u) << sub;
        if (sub) {
            EXPECT_FLOAT_EQ(calls_of(map_bg)[0].alpha, 0.7f);
        }
    }
}

TEST_F(Drawing, WaterAnimationRunsOnEveryCall) {
    map_setup(20, 10, 1);
    g_waterlevel = 300;
    g_fps_render = 0;
    map_watertimer = 0;
    std::vector<int> timer;
    for (int i = 0; i < 33; ++i) {
        map_draw_water(1);
        timer.push_back(map_watertimer);
    }
    EXPECT_EQ(timer[30], 31);
    EXPECT_EQ(timer[31], 0);
    EXPECT_EQ(timer[32], 1);
    EXPECT_TRUE(DrawRecorded().empty());
    g_fps_render = 1;
    map_watertimer = 6;
    DrawRecord(true);
    map_draw_water(1);
    std::vector<DrawCall> anim = calls_of(gfx_wateranim);
    ASSERT_FALSE(anim.empty());
    EXPECT_EQ(anim[0].frame, 1);
}

TEST_F(Drawing, WaterSurfaceNearTheScreenBottom) {
    map_setup(20, 10, 1);
    map_y = 0;
    struct Case {
        int surface;
        size_t waves, bodies;
        bool overlay;
    };
    for (Case c : {Case{480 - 5, 5, 0, true}, {480 - 20, 5, 1, true}, {480 + 14, 5, 0, false}, {480 + 20, 0, 0, false}}) {
        g_waterlevel = c.surface;
        DrawRecord(true);
        map_draw_water(1);
        size_t rects = 0;
        for (const DrawCall& d : DrawRecorded()) rects += d.kind == DrawCall::RECT;
        EXPECT_EQ(calls_of(gfx_water[0]).size(), c.waves) << c.surface;
        EXPECT_EQ(rects, c.bodies) << c.surface;
        std::vector<DrawCall> anim = calls_of(gfx_wateranim);
        EXPECT_EQ(!anim.empty(), c.overlay) << c.surface;
        if (!anim.empty()) {
            EXPECT_EQ(anim[0].r, c.bodies ? 26 : 255) << c.surface;
        }
    }
}

TEST_F(Drawing, WaterParticlesComeFromTheSharedGenerator) {
    map_setup(20, 10, 1);
    g_waterlevel = 300;
    set_particles = 2;
    for (auto& l : Tp::list) l.clear();
    for (int i = 0; i < 400; ++i) map_draw_water(1);
    int rays = 0, bubbles = 0;
    for (const auto& p : Tp::list[1]) {
        if (p->typ == 8) {
            ++rays;
            EXPECT_EQ(p->y, 0);
        } else if (p->typ == 7) {
            ++bubbles;
            EXPECT_GE(p->y, 360);
            EXPECT_LE(p->y, 500);
        }
    }
    EXPECT_GT(rays, 0);
    EXPECT_GT(bubbles, 0);
    Tp::clear();
}

}  // namespace
