// A generated map drawn into a real OpenGL window with sky, clouds and water,
// checked on the pixels read back (and saved as build/screen_terrain.png).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/settings.h"
#include "match/game.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "terrain/draw.h"
#include "terrain/edit.h"
#include "terrain/generate.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "terrain_test_util.h"
#include "world/water.h"

namespace {

constexpr int kW = 640, kH = 480;

// The game's picture when the asset files are there, else a stand-in of the
// same size drawn by paint(x, y, frame).
template <class Paint>
ImagePtr load_or_make(const char* path, int w, int h, int frames, Paint paint) {
    if (frames == 1) {
        if (ImagePtr img = LoadImage(path, -1)) {
            SetImageHandle(img, 0, 0);
            return img;
        }
    } else if (ImagePtr img = LoadAnimImage(path, w, h, 0, frames, -1)) {
        SetImageHandle(img, 0, 0);
        return img;
    }
    ImagePtr img = CreateImage(w, h, frames, -1);
    SetImageHandle(img, 0, 0);
    for (int f = 0; f < frames; ++f) {
        PixmapPtr p = LockImage(img, f, true, true);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) p->WritePixel(x, y, paint(x, y, f));
        UnlockImage(img, f);
    }
    return img;
}

uint32_t grey(int v, int a) { return (uint32_t)a << 24 | (uint32_t)v << 16 | (uint32_t)v << 8 | (uint32_t)v; }

TEST(ScreenTerrain, GeneratedMapWithSkyCloudsAndWater) {
    if (!GraphicsWindowOpen() || GraphicsWidth() != kW || GraphicsHeight() != kH) {
        ASSERT_TRUE(Graphics(kW, kH, 0)) << "no OpenGL window";
    }
    ASSERT_TRUE(GraphicsWindowOpen());
    SetOrigin(0, 0);
    SetViewport(0, 0, kW, kH);
    SetClsColor(0, 0, 0);
    set_scrx = kW;
    set_scry = kH;
    set_scrxh = kW / 2;
    set_scryh = kH / 2;
    set_background = 3;
    set_particles = 2;
    g_fps_render = 1;
    g_storm = 0.3f;
    gfx_bg = load_or_make("gfx/backgradient.bmp", 640, 480, 1, [](int, int y, int) {
        int v = 255 - y * 120 / 480;
        return 0xFF000000u | (uint32_t)v << 16 | (uint32_t)v << 8 | 255u;
    });
    gfx_clouds = load_or_make("gfx/clouds.png", 512, 256, 1, [](int x, int y, int) {
        double d = std::sin(x / 40.0) * std::cos(y / 25.0);
        return grey(250, d > 0.5 ? 200 : 0);
    });
    gfx_water[0] = load_or_make("gfx/waves0.png", 200, 30, 1, [](int x, int y, int) {
        return y > 14 + 4 * std::sin(x / 15.0) ? 0xFF1A6CC1u : 0u;
    });
    gfx_wateranim = load_or_make("gfx/water_animation.png", 128, 128, 8, [](int x, int y, int f) {
        return grey(((x + y + f * 16) / 8) % 2 ? 120 : 40, 255);
    });

    map_generate(1300, 600, 20240, 0, 1);
    map_x = -200;
    map_y = (float)(kH - map_ysize);   // the bottom of the map at the bottom of the screen
    g_waterlevel = map_ysize - 60;

    Cls();
    map_draw_bg();
    map_draw(0, 1);
    map_draw_water(1);
    PixmapPtr screen = GrabPixmap(0, 0, kW, kH);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(SavePixmapPNG(*screen, "screen_terrain.png"));   // into the build folder, the tests' working folder

    // Every opaque terrain pixel above the water lands exactly where the
    // tiles put it, in its own colour; every empty one shows the sky.
    const float s = map_y + g_waterlevel;   // screen y of the water surface
    long ground = 0, sky = 0;
    for (int sy = 0; sy < (int)s - 20; sy += 3)
        for (int sx = 0; sx < kW; sx += 3) {
            uint32_t px = screen->ReadPixel(sx, sy) & 0xFFFFFF;
            uint32_t terrain = (uint32_t)map_getcolor(sx - (int)map_x, sy - (int)map_y);
            if ((terrain >> 24) == 255) {
                ASSERT_EQ(px, terrain & 0xFFFFFF) << sx << "," << sy;
                ++ground;
            } else if (terrain == 0) {
                ASSERT_NE(px, 0u) << sx << "," << sy;
                ++sky;
            }
        }
    EXPECT_GT(ground, 1000);
    EXPECT_GT(sky, 1000);
    // Water fills the bottom rows, blue over everything.
    for (int sx = 0; sx < kW; sx += 7) {
        uint32_t px = screen->ReadPixel(sx, kH - 2);
        EXPECT_GT((int)(px & 255), (int)(px >> 16 & 255)) << sx;
    }
    Flip(0);
}

}  // namespace
