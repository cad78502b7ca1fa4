// The turn player's HUD in a real OpenGL window on a generated map: labels,
// the crosshair and the weapon in hand that a script weapon's draw callback
// asks for, and its pos_build preview under the pointer; checked on the
// pixels read back and saved as screen_player_hud.png in the build folder.
#include "tests/support/screen_players.h"
#include <gtest/gtest.h>

#include "core/catalogue.h"
#include "core/host_settings.h"
#include "core/input.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "scripting/lua_state.h"
#include "scripting/script_objects.h"
#include "terrain/draw.h"
#include "terrain/generate.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "world/collision.h"
#include "world/player.h"
#include "world/team.h"
#include "world/water.h"

namespace {

constexpr int kW = 800, kH = 600;

// Pixels in the box (x0, y0) .. (x1, y1) for which pick says yes.
template <class Pick>
int count(const TPixmap& screen, int x0, int y0, int x1, int y1, Pick pick) {
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, kH); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, kW); ++x) {
            uint32_t p = screen.ReadPixel(x, y);
            n += pick((int)(p >> 16 & 255), (int)(p >> 8 & 255), (int)(p & 255)) ? 1 : 0;
        }
    return n;
}

TEST(ScreenPlayerHud, LabelsCrosshairWeaponAndBuildPreview) {
    screen_with_players(kW, kH);
    if (HasFatalFailure()) return;
    SetMaskColor(0, 0, 0);
    gfx_crosshair = LoadImage("gfx/crosshair.bmp", -1);
    ASSERT_TRUE(gfx_crosshair);
    MidHandleImage(gfx_crosshair);
    font_small = LoadImageFont("gfx/font_main.ttf", 12, SMOOTHFONT);
    ASSERT_TRUE(font_small);
    gfx_bg = LoadImage("gfx/backgradient.bmp", -1);
    if (gfx_bg) SetImageHandle(gfx_bg, 0, 0);

    map_generate(800, 600, 4242, 0, 1);
    map_x = 0, map_y = 0;
    g_waterlevel = map_ysize + 100;   // no water in the picture
    Tplayer::list.clear();
    Tteam::list.clear();
    Tteam::add(0, 0, "Reds", 2, 1, 0);
    Tteam::add(1, 1, "Blues", 3, 1, 0);
    g_player = 0, g_turn_netplayer = 0, g_turn_player = 1, g_turn_state = 1, g_replay = 0, menu = kMenuMatch;
    set[20] = 2;
    hud_shownamehealth = 2;
    g_turn_selfaction = 500;
    for (int id : {1, 2}) {
        auto p = Tplayer::add(id, id - 1);
        p->health = 100;
        p->name = id == 1 ? "Ruby" : "Blue";
        p->dir = id == 1 ? 1 : -1;
        p->wpnrot = 60;
        for (int x = id == 1 ? 200 : 560; x < 760; x += 17) {
            p->x = (float)x;
            p->y = 100;
            if (p->query(0) != 0) continue;
            p->settoground(map_ysize);
            if (p->y > 150 && p->y < (float)(map_ysize - 30)) break;
        }
    }
    auto me = Tplayer::get(1);

    // A script weapon whose draw asks for the hand image, the crosshair and
    // a build preview of a brick within 400 px.
    lua_reset();
    Tres::clear();
    Tscro::clear();
    ASSERT_EQ(lua_runchunk("gun = loadgfx('weapons/missile.png') brick = loadgfx('weapons/brick.png')\n"
                           "w = {draw = function() drawinhand(gun, 4, 0, 1.5) hudcrosshair()\n"
                           "  hudpositioning(pos_build, brick, 400) end}\n"
                           "addweapon('w', 'Builder', gun)",
                           "=screen"),
              0)
        << lua_tostr(lua, -1);
    me->wpn = 1;
    // The brick spot: in range, in the sky above the player, clear of everything.
    in_mx = (int)me->x + 60, in_my = (int)me->y - 120;

    for (int pass = 0; pass < 6; ++pass) {   // the weapon grows to full size
        DrawRecord(pass == 5);
        SetClsColor(0, 0, 0);
        Cls();
        map_draw_bg();
        map_draw(0, 1);
        Tplayer::draw();
        Tplayer::drawhud(1);
    }
    ImagePtr gun = Tres::getimage((int)lua_getglobalint("gun"));
    ASSERT_TRUE(gun);
    int in_hand = 0;
    for (const DrawCall& c : DrawRecorded())
        if (c.kind == DrawCall::IMAGE && c.image == gun.get()) {
            ++in_hand;
            EXPECT_EQ(c.x, (float)((int)me->x + 4));
            EXPECT_EQ(c.y, (float)((int)me->y + 3));
            EXPECT_EQ(c.rotation, 60.0f);
        }
    EXPECT_EQ(in_hand, 1);
    DrawRecord(false);
    PixmapPtr screen = GrabPixmap(0, 0, kW, kH);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(SavePixmapPNG(*screen, "screen_player_hud.png"));

    const int px = (int)me->x, py = (int)me->y;
    // Labels: text pixels in the team's red and white 25 .. 50 px below.
    auto lit = [](int r, int g, int b) { return r > 200 && (g < 90 || g > 200) && (b < 90 || b > 200); };
    EXPECT_GT(count(*screen, px - 30, py + 24, px + 30, py + 50, lit), 15);
    // The crosshair 50 px along the aim (60 degrees from straight up, right).
    int cx = px + 43, cy = py - 25;
    auto warm = [](int r, int g, int b) { return r > 200 && b < 80 && g < 240; };
    EXPECT_GT(count(*screen, cx - 8, cy - 8, cx + 8, cy + 8, warm), 4);
    // The build preview in green (the spot is valid) under the pointer.
    auto green = [](int r, int g, int b) { return g > 100 && g > 2 * r && g > 2 * b; };
    EXPECT_GT(count(*screen, in_mx - 20, in_my - 20, in_mx + 20, in_my + 20, green), 20);
    // Range disc and the enemy's blocking disc asked for the border too.
    EXPECT_EQ(hud_drawmapborder, 1);
    EXPECT_EQ(hud_drawpos, 0);
    Flip(0);
    Tplayer::list.clear();
    Tteam::list.clear();
}

}  // namespace
