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
//   map_unlock is set (UnlockImage marks the texture stale, so a tile is
//   re-uploaded only when it changed and is drawn) and clears map_unlock.
//   Reading never locks, so reads never cost an upload.
// - map_img and map_pxm always measure [map_xtiles][map_ytiles]; map_setup
//   replaces them whole and starts every tile empty (null).
#pragma once

#include <cstdint>
#include <string>

#include "platform/bank.h"
#include "platform/image.h"
#include "terrain/grid.h"

inline constexpr int kTileSize = 100;

extern int map_xtiles, map_ytiles;      // 3..300 after map_setup
extern int map_xsize, map_ysize;        // tiles x 100
extern Tmap_grid<ImagePtr> map_img;     // [tx][ty], null = empty tile
extern Tmap_grid<PixmapPtr> map_pxm;    // [tx][ty], non-null = locked
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
// Pixels of tile (tx, ty) for reading only; null for an empty tile or outside
// the grid. Does not lock the tile.
const uint32_t* map_tile_peek(int tx, int ty);
// Number of tiles that hold pixels (the rest are empty and cost nothing).
int map_tiles_held();
