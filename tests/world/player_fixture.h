// Shared state for the player tests: the world fixture plus the real player
// collision mask, gravity 0.1 and the water far below.
#pragma once

#include "tests/support/builtins.h"

#include "core/host_settings.h"
#include "platform/draw.h"
#include "terrain/edit.h"
#include "world/collision.h"
#include "world_fixture.h"

// The built-in player mask as the game loads it: magenta masked, handle at its
// centre, solid in columns 9..22 and rows 4..27.
inline ImagePtr load_player_mask() {
    SetMaskColor(255, 0, 255);
    register_builtin_images();
    ImagePtr img = LoadImage("incbin::incgfx/playercol.bmp", -1);
    if (img) MidHandleImage(img);
    return img;
}

struct PlayerTest : WorldTest {
    void SetUp() override {
        world_clear();
        map_setup(4, 10, 1);   // 400 x 1000, water line at 990
        gfx_pl_col = load_player_mask();
        ASSERT_TRUE(gfx_pl_col);
        g_gravity = 0.1f;
        g_turn_team = -1;
        set[5] = 1;   // fall damage
        set[6] = 2;   // friction 0.9
        saved_gore = set_gore;
        set_gore = 3;
    }
    void TearDown() override {
        set_gore = saved_gore;
        gfx_pl_col = nullptr;
        WorldTest::TearDown();
    }
    // Solid terrain from column x0 to x1 (inclusive) with its top row at top,
    // down to the map's bottom.
    static void ground(int x0, int x1, int top) { map_rect(x0, top, x1 - x0 + 1, map_ysize - top, (int)0xFF808080u); }
    // The y at which a player stands with its feet on a surface whose top row is top.
    static float standing(int top) { return (float)(top - 12); }
    int saved_gore = 3;
};
