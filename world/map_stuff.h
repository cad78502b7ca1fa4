// Match-start placement on the map: the teams' players and the scattered
// mines and bear traps.
#pragma once

// Seeds the random source, creates and places every team's players (left
// unplaced at (-5000, -5000) with health 0 under manual positioning) and
// scatters mines and traps; 1 when every player could be placed.
int map_stuffsetup();
