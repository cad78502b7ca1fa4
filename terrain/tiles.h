// Terrain tile store: the map as a grid of 100x100 tiles (stand-in: sizes only).
#pragma once

// Map size in pixels and in tiles; 0 while there is no terrain.
extern int map_xsize, map_ysize;
extern int map_xtiles, map_ytiles;
