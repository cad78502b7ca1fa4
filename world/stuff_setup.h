// Game-start placement: the host's players, mines and bear traps, and the
// fires of a shape map's fire tiles.
#pragma once

// Creates every team's players (names, accessories, facing, aim, health) and
// places them on the map's spawn points (by spawn group) or at random free
// places, then scatters mines and bear traps on surface nodes and adds the
// shape map's leaves and fires. Seeds the shared generator from the clock
// (in_seed). Only the machine that starts a match as host runs it: what it
// makes reaches the others as data. 1 when every player was placed; 0 at the
// first player that fits nowhere (the rest is then not made).
int map_stuffsetup();

// A fire object (kind -1) at the top centre of every tile 26 of the shape
// list, with a global id. Host and single player only; joined machines get
// these fires with the host's objects, and run only the leaves pass
// (Tmap_shape::postperform_leaves). Returns 0.
int map_shapefires();
