// Terrain drawing: sky, background image, clouds, tiles, water.
#include "terrain/draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/catalogue.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/draw.h"
#include "terrain/scenery_grid.h"
#include "terrain/tiles.h"
#include "terrain/view.h"

int map_stormx = 0;
int map_watertimer = 0;

namespace {

// Where the background image's top-left goes inside a rectangle for anchor
// align (0..8, a 3 x 3 grid read row by row); false for any other anchor.
bool anchor(int align, float left, float top, int width, int height, int w, int h, float& x, float& y) {
    if (align < 0 || align > 8) return false;
    int col = align % 3, row = align / 3;
    x = col == 0 ? left : col == 1 ? left + width / 2 - w / 2 : left + width - w;
    y = row == 0 ? top : row == 1 ? top + height / 2 - h / 2 : top + height - h;
    return true;
}

void draw_background_image() {
    if (!map_bg) return;
    // On the front end's own screens only the map editor shows it.
    if (menu == kMenuFrontEnd && menu_sub != kSubEditor && menu_sub != kSubLobbyEditor) return;
    SetAlpha(1.0f - (float)map_bg_transparency / 10.0f);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetBlend(ALPHABLEND);
    int w = ImageWidth(map_bg), h = ImageHeight(map_bg);
    float x, y;
    switch (map_bg_render) {
        case 0:
            if (anchor(map_bg_align, map_x, map_y, map_xsize, map_ysize, w, h, x, y)) DrawImage(map_bg, x, y);
            break;
        case 1:
            if (w > 0 && h > 0) {
                SetScale((float)map_xsize / w, (float)map_ysize / h);
                DrawImage(map_bg, map_x, map_y);
                SetScale(1, 1);
            }
            break;
        case 2:
            if (w > 0 && h > 0) {
                SetScale((float)set_scrx / w, (float)set_scry / h);
                DrawImage(map_bg, 0, 0);
                SetScale(1, 1);
            }
            break;
        case 3:
            TileImage(map_bg, map_x, map_y);
            break;
        case 4:
            if (anchor(map_bg_align, 0, 0, set_scrx, set_scry, w, h, x, y)) DrawImage(map_bg, x, y);
            break;
        default:
            break;
    }
}

}  // namespace

int map_draw_bg() {
    if (g_fps_render != 1) return 0;
    SetBlend(SOLIDBLEND);
    SetAlpha(1);
    if (g_bgcola > 0) {
        float a = g_bgcola;
        // Scripts store any int: each channel is held to 0..255 before the
        // conversion, which is undefined for values beyond the int range.
        auto mix = [a](int base, int tint) {
            float v = (float)base * (1 - a) + (float)tint * a;
            return (int)std::clamp(v, 0.0f, 255.0f);
        };
        SetColor(mix(100, g_bgcol[0]), mix(120, g_bgcol[1]), mix(150, g_bgcol[2]));
        g_bgcola -= g_bgfadeout;
        if (g_bgcola < 0) g_bgcola = 0;
    } else {
        SetColor(100, 120, 150);
    }
    SetScale((float)set_scrx / 640.0f, (float)set_scry / 480.0f);
    SetRotation(0);
    DrawImage(gfx_bg, 0, 0);

    draw_background_image();

    if (set_background > 0) {
        SetScale(1, 1);
        SetRotation(0);
        SetColor(255, 255, 255);
        SetBlend(ALPHABLEND);
        float sx = (float)map_stormx + map_x;
        if (set_background > 1) {
            SetAlpha(0.3f);
            TileImage(gfx_clouds, sx / 30, 300 + map_y / 30);
        }
        if (set_background > 2) {
            SetAlpha(0.5f);
            TileImage(gfx_clouds, sx / 15, 650 + map_y / 15);
        }
        SetAlpha(1);
        TileImage(gfx_clouds, sx / 7, map_y / 7);

        double f = 100;
        if (g_replay == 1 && menu == kMenuMatch) {
            static const double speed_factor[6] = {25, 50, 100, 200, 400, 800};
            if (g_replay_speed >= 0 && g_replay_speed <= 5) f = speed_factor[g_replay_speed];
            if (g_replay_fastforward == 1) f = 800;
            if (g_replay_pause == 1) f = 0;
        }
        // Any storm at all moves the clouds by at least a pixel a frame.
        double move = (double)g_storm * f;
        move = g_storm > 0 ? std::ceil(move) : std::floor(move);
        // The storm comes from the match and the offset grows for as long as
        // the program runs: a step beyond the int range (or not a number) is
        // cut, and the offset wraps around instead of overflowing (the
        // clouds then jump once).
        if (!(move > -2147483648.0)) move = move < 0 ? -2147483648.0 : 0;
        if (move > 2147483648.0) move = 2147483648.0;
        map_stormx = (int)(uint32_t)((int64_t)map_stormx + (int64_t)move);
    }
    SetBlend(ALPHABLEND);
    return 0;
}

int map_draw(int mode, int front) {
    if (g_fps_render != 1) return 0;
    int x0 = (int)std::floor(-(double)map_x / 100.0);
    int y0 = (int)std::floor(-(double)map_y / 100.0);
    int x1 = x0 + set_scrx / 100 + 1;
    int y1 = y0 + set_scry / 100 + 1;
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > map_xtiles - 1) x1 = map_xtiles - 1;
    if (y1 > map_ytiles - 1) y1 = map_ytiles - 1;

    if (mode == 0) Tscc::draw(0, x0 - 1, y0 - 1, x1, y1);

    if (map_unlock == 1) map_unlock_tiles();

    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetRotation(0);
    SetAlpha(1);
    if (mode == 1)
        SetColor(0, 0, 0);
    else
        SetColor(255, 255, 255);
    // Whole pixels: the offset is truncated before the tile offset is added.
    int ox = (int)map_x, oy = (int)map_y;
    for (int tx = x0; tx <= x1; ++tx)
        for (int ty = y0; ty <= y1; ++ty)
            if (const ImagePtr& tile = map_img[tx][ty])
                DrawImage(tile, (float)(ox + tx * kTileSize), (float)(oy + ty * kTileSize));

    if (mode == 0 && front == 1) Tscc::draw(1, x0 - 1, y0 - 1, x1, y1);
    return 0;
}

int map_draw_water(int update) {
    SetScale(1, 1);
    SetRotation(0);
    if (update != 1) return 0;
    ++map_watertimer;
    if (map_watertimer / 4 > 7) map_watertimer = 0;
    SetColor(255, 255, 255);
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    if (g_fps_render != 1) return 0;

    float s = map_y + (float)g_waterlevel;
    if (s - 14 <= set_scry)
        for (int64_t x = -200; x <= set_scrx; x += 200) DrawImage(gfx_water[0], (float)x, (float)(int)(s - 14));
    if (s + 11 <= set_scry) {
        SetColor(26, 108, 193);
        DrawRect(0, (float)(int)(s + 11), (float)set_scrx, (float)set_scry - s + 1);
    }
    if (s - 14 >= set_scry) return 0;

    SetBlend(LIGHTBLEND);
    SetAlpha(0.25f);
    int frame = map_watertimer / 4;
    int sy = (int)(s - 14);
    // 64-bit steps: a screen side near the int limit must not wrap the loop.
    for (int64_t x = (int)(std::fmod(map_x, 128.0f) - 128); x <= set_scrx; x += 128)
        for (int64_t y = sy; y <= set_scry; y += 128) DrawImage(gfx_wateranim, (float)x, (float)y, frame);
    if (set_particles >= 2) {
        SetScale(0.5f, 0.5f);
        SetAlpha(0.2f);
        for (int64_t x = (int)(std::fmod(map_x, 64.0f) - 64); x <= set_scrx; x += 64)
            for (int64_t y = sy; y <= set_scry; y += 64) DrawImage(gfx_wateranim, (float)x, (float)y, frame);
        SetScale(1, 1);
    }
    if (set_particles >= 2 && g_replay_pause == 0) {
        if (Rand(1, 20) == 1) {
            int x = (int)(-map_x + Rand(0, set_scrx));
            particles_add(8, x, 0, 1);
        }
        if (Rand(1, 20) == 1) {
            int y = g_waterlevel + Rand(60, 200);
            int x = (int)(-map_x + Rand(0, set_scrx));
            particles_add(7, x, y, 1);
        }
    }
    return 0;
}
