// Every built-in object kind on a generated map in a real OpenGL window:
// fire, crate, medikit, mine, armed and sprung bear trap, and the item's
// light-ray beacon with its weapon icon; checked on the pixels read back and
// saved as screen_objects.png in the working folder.
#include "tests/support/builtins.h"
#include <gtest/gtest.h>

#include <functional>

#include "app/main_loop.h"
#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "scripting/script_objects.h"
#include "terrain/draw.h"
#include "terrain/generate.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "world/objects.h"
#include "world/particles.h"
#include "world/water.h"

namespace {

constexpr int kW = 640, kH = 480;

ImagePtr centred(const std::string& path) {
    ImagePtr img = LoadImage(path, -1);
    if (img) MidHandleImage(img);
    return img;
}

int count_box(const TPixmap& px, int cx, int cy, int half, const std::function<bool(int, int, int)>& pick) {
    int n = 0;
    for (int y = cy - half; y <= cy + half; ++y)
        for (int x = cx - half; x <= cx + half; ++x) {
            if (x < 0 || y < 0 || x >= kW || y >= kH) continue;
            uint32_t p = px.ReadPixel(x, y);
            n += pick((int)(p >> 16 & 255), (int)(p >> 8 & 255), (int)(p & 255));
        }
    return n;
}

TEST(ScreenObjects, EveryBuiltInKind) {
    if (!GraphicsWindowOpen() || GraphicsWidth() != kW || GraphicsHeight() != kH) {
        ASSERT_TRUE(Graphics(kW, kH, 0)) << "no OpenGL window";
    }
    SetOrigin(0, 0);
    SetViewport(0, 0, kW, kH);
    set_scrx = kW, set_scry = kH, set_scrxh = kW / 2, set_scryh = kH / 2;
    g_fps_render = 1;
    set_particles = 2;
    menu = 2;
    register_builtin_images();
    SetMaskColor(255, 0, 255);
    for (int i = 0; i < 3; ++i) gfx_flare[i] = centred("gfx/flare" + std::to_string(i) + ".bmp");
    gfx_lightray = centred("gfx/lightray.png");
    AutoMidHandle(true);
    gfx_supply = LoadImage("incbin::incgfx/supply.bmp", -1);
    gfx_medikit = LoadImage("incbin::incgfx/medikit.bmp", -1);
    gfx_mine = LoadImage("incbin::incgfx/mine.bmp", -1);
    gfx_beartrap0 = LoadImage("incbin::incgfx/beartrap0.bmp", -1);
    gfx_beartrap1 = LoadImage("incbin::incgfx/beartrap1.bmp", -1);
    AutoMidHandle(false);
    SetImageHandle(gfx_supply, (float)(ImageWidth(gfx_supply) / 2), (float)(ImageHeight(gfx_supply) / 2));
    SetImageHandle(gfx_medikit, (float)(ImageWidth(gfx_medikit) / 2), (float)(ImageHeight(gfx_medikit) / 2));
    SetImageHandle(gfx_mine, 5, 3);
    SetImageHandle(gfx_beartrap0, 7, 9);
    SetImageHandle(gfx_beartrap1, 7, 9);
    ASSERT_TRUE(gfx_flare[1] && gfx_lightray && gfx_supply && gfx_mine && gfx_beartrap1) << "run after the asset build";
    // The item's weapon and its icon.
    const Tres::Table saved_gfx = Tres::gfx;
    auto icon = std::make_shared<Tres>();
    icon->path = "weapons/icon_missile.png";
    icon->image = centred("gfx/weapons/icon_missile.png");
    ASSERT_TRUE(icon->image);
    Tres::gfx.assign(3, nullptr);
    Tres::gfx[1] = icon;
    auto weapon = std::make_shared<Tscro>();
    weapon->path = weapon->name = "weapons.missile";
    weapon->image = 1;
    Tscro::weapon[2] = weapon;

    map_generate(800, 480, 4242, 0, 1);
    map_x = -80;
    map_y = 0;
    g_waterlevel = map_ysize + 100;
    Tobj::list.clear(), Tobj::firelist.clear();
    SeedRnd(5);
    // Left to right, each just above the ground of its column.
    const int kinds[7][2] = {{-1, 3}, {-2, 2}, {-5, 0}, {-3, 0}, {-4, 0}, {-4, 2000}, {-7, 2}};
    int id = 56001;
    std::vector<std::pair<int, int>> at;
    for (int k = 0; k < 7; ++k) {
        int x = 140 + 80 * k, y = 0;
        while (y < map_ysize && map_argb(map_getcolor(x, y), 0) == 0) ++y;
        ASSERT_LT(y, map_ysize);
        y -= k == 6 ? 30 : 8;
        auto o = Tobj::Create(kinds[k][0], x, y, kinds[k][1], id++, 0);
        if (kinds[k][0] == -4 && kinds[k][1] == 2000) o->alpha = 1;
        if (kinds[k][0] == -3) o->alpha = 1;   // mid-blink
        at.emplace_back((int)(map_x + (float)x), (int)(map_y + (float)y));
    }
    SetClsColor(20, 30, 60);
    Cls();
    map_draw(0, 1);
    Tobj::draw();
    Tp::draw(0);
    PixmapPtr screen = GrabPixmap(0, 0, kW, kH);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(SavePixmapPNG(*screen, "screen_objects.png"));
    auto orange = [](int r, int g, int b) { return r > 200 && g > 80 && g < 220 && b < 100; };
    auto green = [](int r, int g, int b) { return g > 150 && r < 120 && b < 120; };
    auto red = [](int r, int g, int b) { return r > 150 && g < 90 && b < 90; };
    EXPECT_GT(count_box(*screen, at[0].first, at[0].second, 15, orange), 20) << "fire";
    EXPECT_GT(count_box(*screen, at[1].first, at[1].second, 20, green), 20) << "crate glow";
    EXPECT_GT(count_box(*screen, at[2].first, at[2].second, 20, red), 20) << "medikit glow";
    EXPECT_GT(count_box(*screen, at[3].first, at[3].second - 2, 8, red), 5) << "mine blink";
    // The beacon is a faint green light around the icon.
    auto greenish = [](int r, int g, int b) { return g > r + 30 && g > b + 20; };
    auto icon_grey = [](int r, int g, int b) { return r > 60 && b > 90 && g < r + 30; };
    EXPECT_GT(count_box(*screen, at[6].first, at[6].second, 30, greenish), 300) << "beacon";
    EXPECT_GT(count_box(*screen, at[6].first, at[6].second, 10, icon_grey), 20) << "icon";
    ASSERT_EQ(Tobj::hudlist.size(), 2u);
    Flip(0);
    Tobj::list.clear(), Tobj::firelist.clear(), Tobj::hudlist.clear();
    Tscro::weapon[2] = nullptr;
    Tres::gfx = saved_gfx;
    Tp::clear();
}

}  // namespace
