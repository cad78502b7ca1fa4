// An explosion on a generated map in a real OpenGL window, a few frames
// after the blast: the hole, the fire and the debris drawn by the particle
// layers; checked on the pixels read back and saved as
// build/screen_explosion.png.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/catalogue.h"
#include "app/main_loop.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "terrain/draw.h"
#include "terrain/generate.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "world/explosion.h"
#include "world/particles.h"
#include "world/water.h"

namespace {

constexpr int kW = 640, kH = 480;

ImagePtr centred(const std::string& path) {
    ImagePtr img = LoadImage(path, -1);
    if (img) MidHandleImage(img);
    return img;
}

TEST(ScreenExplosion, HoleFireAndDebris) {
    if (!GraphicsWindowOpen() || GraphicsWidth() != kW || GraphicsHeight() != kH) {
        ASSERT_TRUE(Graphics(kW, kH, 0)) << "no OpenGL window";
    }
    SetOrigin(0, 0);
    SetViewport(0, 0, kW, kH);
    set_scrx = kW, set_scry = kH, set_scrxh = kW / 2, set_scryh = kH / 2;
    g_fps_render = 1;
    g_fps_skipping = 0;
    in_fps = 50;
    set_particles = 2;
    menu = 2;
    SetMaskColor(0, 0, 0);
    for (int i = 0; i < 4; ++i) gfx_puff[i] = centred("gfx/puff" + std::to_string(i) + ".bmp");
    for (int i = 0; i < 4; ++i) gfx_par[i] = centred("gfx/par" + std::to_string(i) + ".png");
    for (int i = 0; i < 3; ++i) gfx_flare[i] = centred("gfx/flare" + std::to_string(i) + ".bmp");
    gfx_expl[0] = centred("gfx/expl0.png");
    gfx_ring = centred("gfx/ring.png");
    gfx_explring = centred("gfx/explosion_ring.png");
    gfx_lightray = centred("gfx/lightray.png");
    ASSERT_TRUE(gfx_puff[0] && gfx_par[0] && gfx_flare[2] && gfx_expl[0]) << "run after the asset build";

    map_generate(800, 600, 4242, 0, 1);
    map_x = -80;
    map_y = (float)(kH - map_ysize);
    g_waterlevel = map_ysize + 100;
    // The blast on the first solid pixel from the top of column 400.
    int bx = 400, by = 0;
    while (by < map_ysize && map_argb(map_getcolor(bx, by), 0) == 0) ++by;
    ASSERT_LT(by, map_ysize);
    by += 20;
    Tp::clear();
    SeedRnd(9);
    explosion(bx, by, 50, 1);
    EXPECT_EQ(map_argb(map_getcolor(bx, by), 0), 0);   // the hole
    EXPECT_GT(Tp::list[0].size(), 100u);
    for (int f = 0; f < 6; ++f) {
        g_fps_render = f == 5 ? 1 : 0;
        if (g_fps_render) {
            SetClsColor(20, 30, 60);
            Cls();
            map_draw(0, 1);
        }
        Tp::draw(0);
    }
    PixmapPtr screen = GrabPixmap(0, 0, kW, kH);
    ASSERT_TRUE(screen);
    // Saved beside the other screen pictures in the build folder.
    EXPECT_TRUE(SavePixmapPNG(*screen, "screen_explosion.png"));
    // Fire light around the blast: bright orange-yellow pixels.
    int sx = (int)(map_x + (float)bx), sy = (int)(map_y + (float)by), fire = 0;
    for (int y = sy - 60; y < sy + 60; ++y)
        for (int x = sx - 60; x < sx + 60; ++x) {
            uint32_t p = screen->ReadPixel(x, y);
            int r = (int)(p >> 16 & 255), g = (int)(p >> 8 & 255), b = (int)(p & 255);
            fire += r > 200 && g > 90 && b < 120;
        }
    EXPECT_GT(fire, 200);
    Flip(0);
    Tp::clear();
}

}  // namespace
