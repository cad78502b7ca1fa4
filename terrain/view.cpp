// The view offset over the terrain.
#include "terrain/view.h"

float map_x = 0, map_y = 0;
