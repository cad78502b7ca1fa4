// Terrain texturing: turns a solid/empty mask into finished terrain with its
// surface nodes and scenery. (Stand-in until the textures exist: solid cells
// become one plain earth colour; the surface nodes are recorded as they will
// be.)
#pragma once

#include "terrain/grid.h"

// Paints every solid cell of mask ([map_xsize][map_ysize]) into the terrain;
// with reset 1 every other cell becomes empty, else it keeps its pixel.
// Seeds the shared generator (and in_seed) with seed. decorate 1 asks for
// rocks and branches.
int map_generate_fromarray(const Tmap_mask& mask, int style, int decorate, int seed, int reset);
