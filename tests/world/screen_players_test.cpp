// Two players standing on a generated map in a real OpenGL window, one facing
// left and aiming up, with their team overlays; checked on the pixels read
// back and saved as build/screen_players.png.
#include "tests/support/screen_players.h"
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalogue.h"
#include "core/input.h"
#include "app/main_loop.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "match/game.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "terrain/draw.h"
#include "terrain/generate.h"
#include "terrain/tiles.h"
#include "terrain/view.h"
#include "world/collision.h"
#include "world/player.h"
#include "world/team.h"
#include "world/water.h"

namespace {

constexpr int kW = 640, kH = 480;

// Pixels in the 32 x 32 box around a screen point for which pick says yes.
template <class Pick>
int count_box(const TPixmap& screen, int cx, int cy, Pick pick) {
    int n = 0;
    for (int y = cy - 16; y < cy + 16; ++y)
        for (int x = cx - 16; x < cx + 16; ++x) {
            uint32_t p = screen.ReadPixel(x, y);
            n += pick((int)(p >> 16 & 255), (int)(p >> 8 & 255), (int)(p & 255)) ? 1 : 0;
        }
    return n;
}

TEST(ScreenPlayers, TwoPlayersWithTeamOverlays) {
    screen_with_players(kW, kH);
    if (HasFatalFailure()) return;

    map_generate(800, 600, 4242, 0, 1);
    map_x = -80;
    map_y = (float)(kH - map_ysize);
    g_waterlevel = map_ysize + 100;   // no water in the picture
    Tplayer::list.clear();
    Tteam::list.clear();
    Tteam::add(0, 0, "Reds", 2, 1, 0);
    Tteam::add(1, 0, "Blues", 3, 1, 0);
    g_player = 0;
    g_turn_player = 2;
    for (int id : {1, 2}) {
        auto p = Tplayer::add(id, id - 1);
        p->health = 100;
        p->dir = id == 1 ? 1 : -1;
        p->wpnrot = id == 1 ? 90 : -30;   // the second one faces left and aims up
        // Stand each player on the ground below the sky, clear of the
        // floating rock at the top.
        for (int x = id == 1 ? 200 : 420; x < 760; x += 17) {
            p->x = (float)x;
            p->y = 100;
            if (p->query(0) != 0) continue;
            p->settoground(map_ysize);
            if (p->y > 100 && p->y < (float)(map_ysize - 30)) break;
        }
    }
    ASSERT_EQ(Tplayer::list.size(), 2u);

    SetMaskColor(0, 0, 0);
    gfx_bg = LoadImage("gfx/backgradient.bmp", -1);
    if (gfx_bg) SetImageHandle(gfx_bg, 0, 0);
    SetClsColor(0, 0, 0);
    Cls();
    map_draw_bg();
    map_draw(0, 1);
    Tplayer::draw();
    PixmapPtr screen = GrabPixmap(0, 0, kW, kH);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(SavePixmapPNG(*screen, "screen_players.png"));   // into the build folder, the tests' working folder

    auto red = Tplayer::get(1), blue = Tplayer::get(2);
    int rx = (int)(map_x + red->x), ry = (int)(map_y + red->y);
    int bx = (int)(map_x + blue->x), by = (int)(map_y + blue->y);
    auto reddish = [](int r, int g, int b) { return r > 150 && g < 70 && b < 70; };
    auto bluish = [](int r, int g, int b) { return b > 150 && g > 100 && r < 130; };
    EXPECT_GT(count_box(*screen, rx, ry, reddish), 10);
    EXPECT_EQ(count_box(*screen, rx, ry, bluish), 0);
    EXPECT_GT(count_box(*screen, bx, by, bluish), 10);
    // Each stands: the row under its feet is terrain, its body box is not.
    EXPECT_EQ(collide(gfx_pl_col, (int)red->x, (int)red->y + 1, 0, red.get(), nullptr), 1);
    EXPECT_EQ(collide(gfx_pl_col, (int)blue->x, (int)blue->y, 0, blue.get(), nullptr), 0);
    Flip(0);
    Tplayer::list.clear();
    Tteam::list.clear();
}

}  // namespace
