// Terrain generator: a whole random map from size, seed, style and form.
//
// The map is a pure function of the five numbers (after a negative style or
// form is drawn): every random number comes from the shared generator, seeded
// with the map seed, in a fixed order, so every machine that rebuilds a map
// from its recipe "003|seed|style|form" gets the same pixels.
#pragma once

#include "terrain/grid.h"

// Forms: 0 surface, 1 surface + sky islands, 2 sky islands, 3 cave,
// 4 cave with open sides; above 4 no outline. Styles 0..4 (texturing).
// Negative style or form: one is drawn (before seeding) and recorded.
int map_generate(int xsize, int ysize, int seed, int style, int form);

// The outline alone, drawn from the shared generator as map_generate does
// after seeding, into a mask of map_xsize x map_ysize.
void map_generate_outline(Tmap_mask& mask, int form);
