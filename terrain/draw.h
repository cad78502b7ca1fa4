// Terrain drawing: the sky with the map's background image and the clouds,
// the visible terrain tiles with their scenery, and the animated water.
//
// Every function draws only on drawn frames (g_fps_render 1); the water
// animation counter advances on every call all the same. map_draw is where
// terrain edits reach the screen: it unlocks every locked tile at once.
#pragma once

extern int map_stormx;       // horizontal cloud offset; only map_draw_bg moves it
extern int map_watertimer;   // water animation counter 0..31 (frame = value / 4)

// Sky (tinted by g_bgcol / g_bgcola), background image, cloud layers and their
// drift with the storm.
int map_draw_bg();
// The tiles in view: mode 0 in their colours with the back scenery (and the
// front scenery when front is 1), mode 1 as black silhouettes.
int map_draw(int mode, int front);
// Wave strip, water body, animated overlay and water particles; update 1 is
// the only mode that does anything beyond resetting scale and rotation.
int map_draw_water(int update);
