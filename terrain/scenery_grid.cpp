// Scenery grid (stand-in: sized with the terrain, lists stay empty).
#include "terrain/scenery_grid.h"

#include "terrain/tiles.h"

Tmap_grid<Tscc> Tscc::map;
int Tscc::w = -1;
int Tscc::h = -1;

int Tscc::setup() {
    map.reset(map_xtiles, map_ytiles);
    w = map_xtiles - 1;
    h = map_ytiles - 1;
    return 0;
}

int Tscc::clear() {
    if (w < 0 || h < 0) return 0;
    for (auto& cell : map.cells) {
        cell.list.clear();
        cell.listf.clear();
    }
    return 0;
}

// No sprites exist yet, so there is nothing to walk.
int Tscc::draw(int, int, int, int, int) { return 0; }
