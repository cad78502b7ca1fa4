// Terrain tile store: grid set-up, lazy tiles, the colour query.
#include "terrain/tiles.h"

#include "core/check.h"
#include "core/shared_state.h"
#include "terrain/scenery_grid.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"

int map_xtiles = 0, map_ytiles = 0;
int map_xsize = 0, map_ysize = 0;
Tmap_tile_grid map_tiles;
int map_unlock = 0;
int map_tile_failures = 0;

std::string map_bg_path;
int map_bg_transparency = 0;
int map_bg_render = 0;
int map_bg_align = 7;
ImagePtr map_bg;

std::string map_type;
BankPtr map_bank;

int map_setup(int xtiles, int ytiles, int clear) {
    g_fps_skipping_time = 0;
    if (xtiles < 3) xtiles = 3;
    if (xtiles > 300) xtiles = 300;
    if (ytiles < 3) ytiles = 3;
    if (ytiles > 300) ytiles = 300;
    map_xsize = xtiles * kTileSize;
    map_ysize = ytiles * kTileSize;
    map_xtiles = xtiles;
    map_ytiles = ytiles;
    g_waterlevel = map_ysize - 10;
    g_waterlevel_change = g_waterlevel;
    SetMaskColor(255, 0, 255);
    // Every tile starts empty: no image, no memory (see the header).
    std::vector<Tmap_tile>().swap(map_tiles.held);
    std::vector<uint32_t>().swap(map_tiles.slot);
    map_tiles.slot.resize((size_t)xtiles * ytiles);
    map_tiles.w = xtiles;
    map_tiles.h = ytiles;
    map_unlock = 1;
    map_tile_failures = 0;
    Tscc::setup();
    if (clear == 1) {
        Tmap_spawn::list.clear();
        Tmap_shape::list.clear();
    }
    map_bg_path = "";
    map_bg_transparency = 0;
    map_bg_render = 0;
    map_bg_align = 7;
    map_bg = nullptr;
    return 0;
}

uint32_t* map_tile_pixels(int tx, int ty, bool create) {
    if (!map_tiles.inside(tx, ty)) return nullptr;
    GF_ASSERT(map_tiles.slot.size() == (size_t)map_tiles.w * map_tiles.h, "the tile slots measure map_xtiles x map_ytiles");
    Tmap_tile* t = map_tiles.find(tx, ty);
    if (!t) {
        if (!create) return nullptr;
        // Filtered like every default image, but not masked: masking only
        // matters when pixels are loaded, and would scan every new tile.
        ImagePtr img = CreateImage(kTileSize, kTileSize, 1, FILTEREDIMAGE | DYNAMICIMAGE);
        if (!img) {
            ++map_tile_failures;
            return nullptr;
        }
        SetImageHandle(img, 0, 0);
        map_tiles.held.push_back({std::move(img), nullptr, nullptr});
        map_tiles.slot[(size_t)tx * map_tiles.h + ty] = (uint32_t)map_tiles.held.size();
        t = &map_tiles.held.back();
    }
    if (!t->pxm) {
        t->pxm = LockImage(t->img, 0, true, true);
        if (!t->pxm || t->pxm->width != kTileSize || t->pxm->height != kTileSize) {
            t->pxm = nullptr;
            return nullptr;
        }
        t->locked = t->pxm->pixels.data();
    }
    map_unlock = 1;
    return t->locked;
}

const uint32_t* map_tile_peek(int tx, int ty) {
    const Tmap_tile* t = map_tiles.find(tx, ty);
    if (!t) return nullptr;
    if (t->pxm) return t->pxm->pixels.data();
    const ImagePtr& img = t->img;
    if (!img || img->frames.empty() || !img->frames[0]) return nullptr;
    // The frame pixmap itself: reading it needs no lock and marks nothing stale.
    return img->frames[0]->pixels.data();
}

int map_tiles_held() {
    int n = 0;
    for (const Tmap_tile& t : map_tiles.held) n += t.img != nullptr;
    return n;
}

void map_unlock_tiles() {
    for (Tmap_tile& t : map_tiles.held) {
        if (!t.pxm) continue;
        UnlockImage(t.img, 0);
        t.pxm = nullptr;
        t.locked = nullptr;
    }
    map_unlock = 0;
}

int map_getcolor(int x, int y) {
    map_unlock = 1;
    int tx = x / kTileSize, ty = y / kTileSize;
    if (tx < 0 || ty < 0 || tx >= map_xtiles || ty >= map_ytiles) return 0;
    int lx = x - tx * kTileSize, ly = y - ty * kTileSize;
    if (lx < 0 || ly < 0) return 0;   // -99..-1 truncate into tile 0
    const uint32_t* pix = map_tile_peek(tx, ty);
    return pix ? (int)pix[ly * kTileSize + lx] : 0;
}

int map_argb(int argb, int channel) {
    uint32_t v = (uint32_t)argb;
    switch (channel) {
        case 0: return (int)(v >> 24);
        case 1: return (int)((v >> 16) & 255);
        case 2: return (int)((v >> 8) & 255);
        case 3: return (int)(v & 255);
        default: return 0;
    }
}
