// Minimap: a 280 x 130 picture of the whole terrain (solid cells grey, 255 - y,
// empty cells transparent) and its solid/empty mask, which a host sends to
// joining machines in five parts of message 241.
//
// The map sits in the top-left corner at one scale for both axes,
// min(280 / map_xsize, 130 / map_ysize). A cell is solid when any terrain
// pixel that falls into it is not empty, so thin bridges and single pixels
// still show. It is built from the tile pixels on the CPU, the same with or
// without a window.
#pragma once

#include "net/udp/packet.h"
#include "platform/image.h"
#include "terrain/grid.h"

inline constexpr int kMiniW = 280, kMiniH = 130;

extern ImagePtr map_mini;                         // the picture, null before the first build
extern Tmap_grid<unsigned char> map_mini_array;   // [x][y], 1 solid
extern int map_mini_sw, map_mini_sh;              // size of the map shown, in pixels
extern int map_mini_rw, map_mini_rh;              // largest x and y of a solid cell, 0 for none

// Builds map_mini and map_mini_array from the current terrain. Returns 0.
int map_createminimap();
// Writes part 0..4 of the minimap to con (nothing without a connection):
// part 0 first adds the size header (241, 2, sw, sh, rw, rh) to the open
// reliable packet; every part opens a reliable packet of its own with 241, 1,
// part, n, then n mask bytes (n = 1000, 550 for part 4), cell
// part * 8000 + 8k + b in bit b of byte k. Returns 0.
int map_sendmini(Tudp_con* con, int part);
