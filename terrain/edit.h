// Terrain editing primitives: carve and fill rectangles and ellipses, stamp
// images, tint material through an image and paint behind the terrain.
//
// Every primitive takes map-pixel coordinates, clips to the terrain, works
// per overlapped tile on whole row spans and returns 0. A pixel's new value
// depends only on its old value and the arguments, so results are identical on
// every machine. Pixels written with 0 into an empty tile, and tints over one,
// change nothing, so they never make an empty tile hold memory.
#pragma once

#include "platform/image.h"

// Sets x..x+w by y..y+h (both ends included) to argb; negative w or h: nothing.
int map_rect(int x, int y, int w, int h, int argb);
// Sets the integer ellipse of centre (x, y) and radii rx, ry to argb; nothing
// (map_unlock untouched) when a radius is below 1.
int map_oval(int x, int y, int rx, int ry, int argb);
// Stamps frame 0 with its top-left at (x, y). Mode 0 copies source pixels of
// alpha above 128 as they are; any other mode copies every pixel as opaque.
int map_image(const ImagePtr& image, int x, int y, int mode);
// Tints material (alpha above 128) under the image toward the image's colour,
// or toward r, g, b where those are not -1, by source alpha / 255 * strength.
// The terrain alpha is kept; channels are clamped to 0..255.
int map_alphaimage(const ImagePtr& image, int x, int y, float strength, int r, int g, int b);
// The same with the w x h part of the image whose top-left is (sx, sy).
int map_alphaimagerect(const ImagePtr& image, int x, int y, int sx, int sy, int w, int h, float strength, int r,
                       int g, int b);
// Paints source pixels of alpha above 128 into terrain pixels of alpha below
// 255, behind what is there; non-zero dr, dg, db are added to the source
// channels (clamped). The new alpha is the sum of both, at most 255.
int map_backimage(const ImagePtr& image, int x, int y, int dr, int dg, int db);

// For tests: runs the tints on path 0 (SSE2), 1 (AVX2) or 2 (AVX-512, two
// pixels at a time), where the processor has it, from now on; any other
// value changes nothing. Returns the path in force. Every path gives the same
// pixels.
int map_tint_path(int path);
// The same for the ellipse fill: path 0 (16-byte stores), 1 (AVX2) or 2
// (AVX-512).
int map_carve_path(int path);
