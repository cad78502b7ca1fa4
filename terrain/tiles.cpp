// Terrain tile store (stand-in: the tile store fills this file).
#include "terrain/tiles.h"

int map_xsize = 0, map_ysize = 0;
int map_xtiles = 0, map_ytiles = 0;
