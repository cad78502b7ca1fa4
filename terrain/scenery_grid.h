// Scenery grid: the decorative sprites of the terrain kept per tile, a back
// list drawn behind the tiles and a front list drawn over them.
// (Stand-in: the grid is sized with the terrain; its lists stay empty until
// the scenery sprites exist.)
#pragma once

#include <list>
#include <memory>

#include "terrain/grid.h"

struct Tsc;

struct Tscc {
    std::list<std::shared_ptr<Tsc>> list;    // back sprites, drawing order
    std::list<std::shared_ptr<Tsc>> listf;   // front sprites, drawing order

    static Tmap_grid<Tscc> map;              // one cell per terrain tile
    static int w, h;                         // highest column and row, -1 before setup

    // Rebuilds the grid at map_xtiles x map_ytiles with empty lists.
    static int setup();
    // Empties every list, keeping the grid.
    static int clear();
    // Draws the back (layer 0) or front (other) sprites of cells x0..x1 by
    // y0..y1; x0, y0 below 0 are raised to 0.
    static int draw(int layer, int x0, int y0, int x1, int y1);
};
