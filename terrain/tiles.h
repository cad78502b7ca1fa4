// Terrain tile store: the map as a grid of 100x100 ARGB tiles.
//
// Pixel (x, y) lies in tile (x / 100, y / 100) at local (x % 100, y % 100).
// A tile's pixels are 100 rows of 100 ARGB words (alpha 0 = empty space), the
// frame-0 pixmap of its image, held on the CPU for the image's whole life.
//
// Invariants that collision, the map pack, the minimap and the editor rely on:
// - Empty tiles hold no memory. map_img[tx][ty] stays null until the first
//   write that can leave a non-zero pixel in that tile (carving with 0 or
//   tinting never creates one). A null tile reads as 0 at every pixel;
//   drawing skips it and collision treats it as empty. A tile once created
//   stays until the next map_setup, even if it is carved empty again.
// - Readers use map_tile_peek (null for an empty tile) and never create or
//   lock a tile. Writers use map_tile_pixels, the one path that creates a tile
//   and locks it.
// - map_pxm[tx][ty] is non-null while the tile is locked: written (or about to
//   be) since the last drawing pass. map_draw unlocks every locked tile when
//   map_unlock is set (map_unlock_tiles: UnlockImage marks the texture stale,
//   so a tile is re-uploaded only when it changed and is drawn) and clears
//   map_unlock. Reading never locks, so reads never cost an upload.
// - map_img and map_pxm always measure [map_xtiles][map_ytiles]; map_setup
//   replaces them whole and starts every tile empty (null).
// - Both are read-only views of one compact table (map_tiles): a cell is a
//   32-bit slot, and only tiles that hold pixels have an entry, so the largest
//   empty grid costs a few hundred kilobytes. Only this file's functions
//   change the table.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/bank.h"
#include "platform/image.h"

inline constexpr int kTileSize = 100;

extern int map_xtiles, map_ytiles;      // 3..300 after map_setup
extern int map_xsize, map_ysize;        // tiles x 100
// A tile that holds pixels: its image and, while locked, the pixmap handed
// out for writing (the image's own frame 0) and that pixmap's pixels (kept
// here so a writer reaches them in one step: craters fetch tiles by the
// thousand).
struct Tmap_tile {
    ImagePtr img;
    PixmapPtr pxm;
    uint32_t* locked = nullptr;   // pxm->pixels.data() while pxm is set, else null
};

// The tile table, [w][h]: slot[x * h + y] is 0 for an empty tile, else 1 +
// the index of its entry in held (entries in creation order).
struct Tmap_tile_grid {
    int w = 0, h = 0;
    std::vector<uint32_t> slot;
    std::vector<Tmap_tile> held;

    bool inside(int x, int y) const { return (unsigned)x < (unsigned)w && (unsigned)y < (unsigned)h; }
    // The entry of tile (x, y), null when it is empty or outside the grid.
    // Valid until the next tile is created.
    const Tmap_tile* find(int x, int y) const {
        if (!inside(x, y)) return nullptr;
        const uint32_t s = slot[(size_t)x * h + y];
        return s ? &held[s - 1] : nullptr;
    }
    Tmap_tile* find(int x, int y) { return const_cast<Tmap_tile*>(std::as_const(*this).find(x, y)); }
};
extern Tmap_tile_grid map_tiles;

// map_img[tx][ty] (the tile's image) and map_pxm[tx][ty] (its pixmap while
// locked), read-only; null for an empty tile or outside the grid.
template <class T, T Tmap_tile::*Field>
struct Tmap_tile_view {
    struct Column {
        int x;
        const T& operator[](int y) const {
            static const T none{};
            const Tmap_tile* t = map_tiles.find(x, y);
            return t ? t->*Field : none;
        }
    };
    Column operator[](int x) const { return {x}; }
};
inline constexpr Tmap_tile_view<ImagePtr, &Tmap_tile::img> map_img{};
inline constexpr Tmap_tile_view<PixmapPtr, &Tmap_tile::pxm> map_pxm{};
extern int map_unlock;                  // 1: some tile may be locked

// Background of the current map (drawn by map_draw_bg, stored in map packs).
extern std::string map_bg_path;         // "" (or "0") for none
extern int map_bg_transparency;         // tenths
extern int map_bg_render;               // 0..4
extern int map_bg_align;                // 0..8, 7 by default
extern ImagePtr map_bg;

// How the current map was made ("003|seed|style|form" ...) and its pack.
extern std::string map_type;
extern BankPtr map_bank;

// A new empty terrain of xtiles x ytiles (each clamped to 3..300). clear 1
// also empties the spawn and shape lists. Resets the water level, the scenery
// grid and the background; leaves map_type, map_bank and the view alone.
int map_setup(int xtiles, int ytiles, int clear);
// ARGB of pixel (x, y); 0 outside the terrain. Sets map_unlock.
int map_getcolor(int x, int y);
// Channel 0 alpha, 1 red, 2 green, 3 blue of an ARGB value (0..255); other
// channels give 0.
int map_argb(int argb, int channel);

// Pixels of tile (tx, ty) for writing (row-major, 100 words a row), locked
// and map_unlock set. An empty tile is created when create is true, else the
// result is null for it. Null outside the grid.
uint32_t* map_tile_pixels(int tx, int ty, bool create);
// Tiles that map_tile_pixels could not create (out of memory) since the last
// map_setup. A map built while this grew is not what its recipe describes, so
// builders treat any as a failed build, never as empty tiles.
extern int map_tile_failures;
// The same, inline for a tile that is already locked (the usual case while
// a map is built or a crater carved); the rest goes to map_tile_pixels.
inline uint32_t* map_tile_pixels_fast(int tx, int ty, bool create) {
    if (Tmap_tile* t = map_tiles.find(tx, ty); t && t->locked) {
        map_unlock = 1;
        return t->locked;
    }
    return map_tile_pixels(tx, ty, create);
}
// Pixels of tile (tx, ty) for reading only; null for an empty tile or outside
// the grid. Does not lock the tile.
const uint32_t* map_tile_peek(int tx, int ty);
// Number of tiles that hold pixels (the rest are empty and cost nothing).
int map_tiles_held();
// The drawing pass's unlock: every locked tile is unlocked (its texture marked
// stale) and map_unlock cleared.
void map_unlock_tiles();
