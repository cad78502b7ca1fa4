// Explosions and area damage. `explosion` is the terrain and spectacle side
// (debris, the hole, scenery, fire, smoke, sound, shake) and runs on every
// machine from the same record; `arealdamage` and `rectdamage` are the harm
// side and reach the world only as records written on the machine that holds
// the turn.
#pragma once

// At most this many debris samples per explosion, whatever the radius.
constexpr int kExplosionMaxSamples = 2000;

// Style 0: debris, hole, ricochet sound; 1: all, with burning fragments;
// 2: debris and hole, silent; 3: debris and fire effects, no hole; other
// values as 2. Returns 0.
int explosion(int x, int y, int radius, int style);
// Hurts (record 40) and pushes (73) every living player within the radius by
// distance, sprays blood, pushes mines and bear traps (74) and damages script
// objects (77). A radius of 0 or less does nothing. Returns 0.
int arealdamage(int x, int y, int radius, int damage);
// Record 40 with the full damage for every living player whose box meets the
// rectangle (both ends included). Returns 0.
int rectdamage(int x, int y, int w, int h, int damage);
// int(f) saturated at the int32 limits (0 for NaN).
int saturate_int(float f);
