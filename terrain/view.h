// The view offset over the terrain: screen position = world position + offset.
#pragma once

extern float map_x, map_y;
