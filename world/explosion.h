// Explosions and area damage. (Stand-in: the crater and a linear damage
// fall-off; the game world fills this file.)
#pragma once

// A crater of the radius at x, y (style picks the effects).
int explosion(int x, int y, int radius, int style);
// Damages living players within the radius: damage at the centre, falling to
// 0 at the edge.
int arealdamage(int x, int y, int radius, int damage);
