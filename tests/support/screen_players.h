// Screen tests with players: a window of the test's size with the game's
// screen globals set for it, and the players' art (the generated body, team
// and face strips from the build folder, the built-in collision mask).
#pragma once

#include <gtest/gtest.h>

#include "core/catalogue.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/draw.h"
#include "platform/graphics.h"
#include "tests/support/builtins.h"

// A 12-frame strip of 32 x 32 cells, magenta masked, handle at the centre.
inline ImagePtr player_strip(const char* path) {
    SetMaskColor(255, 0, 255);
    ImagePtr img = LoadAnimImage(path, 32, 32, 0, 12, -1);
    if (img) MidHandleImage(img);
    return img;
}

// Opens (or reuses) a w x h window, points the screen globals at it and loads
// the player art; fails the calling test when something is missing.
inline void screen_with_players(int w, int h) {
    if (!GraphicsWindowOpen() || GraphicsWidth() != w || GraphicsHeight() != h) {
        ASSERT_TRUE(Graphics(w, h, 0)) << "no OpenGL window";
    }
    SetOrigin(0, 0);
    SetViewport(0, 0, w, h);
    set_scrx = w, set_scry = h, set_scrxh = w / 2, set_scryh = h / 2;
    g_fps_render = 1;
    gfx_pl = player_strip("gfx/players/player.bmp");
    gfx_pl_t = player_strip("gfx/players/playert.bmp");
    gfx_pl_f = player_strip("gfx/players/playerf.bmp");
    ASSERT_TRUE(gfx_pl && gfx_pl_t && gfx_pl_f) << "run from the build folder after the asset build";
    SetMaskColor(255, 0, 255);
    register_builtin_images();
    gfx_pl_col = LoadImage("incbin::incgfx/playercol.bmp", -1);
    ASSERT_TRUE(gfx_pl_col);
    MidHandleImage(gfx_pl_col);
}
