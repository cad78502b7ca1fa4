// Rotated stamps and the mask dump: a rotated copy of an image for stamping
// it into the terrain at an angle, and a raw dump of a terrain mask.
//
// map_rotateimage runs inside the lockstep simulation (script stamps at an
// angle), so it uses only fixed double arithmetic: four sines and cosines per
// call and nearest-pixel sampling, the same on every machine.
#pragma once

#include <string>

#include "platform/image.h"
#include "terrain/grid.h"

// A new one-frame image (default flags) holding frame 0 of image turned by
// angle degrees, clockwise on screen. Each destination pixel copies the
// source pixel its centre maps to, all four channels, or is 0 where that
// falls outside the source. The size follows from the rotated corners: a 10
// x 6 source gives 10 x 7 at 0 degrees and 7 x 10 at 90. Null for a null
// source or a result without pixels. The source is left unchanged.
ImagePtr map_rotateimage(const ImagePtr& image, float angle);

// Writes the mask as map_xsize x map_ysize bytes, column after column, each
// top to bottom, no header (cells outside the mask as 0). Nothing when the
// file cannot be created. Returns 0.
int map_pixeldump(const Tmap_mask& mask, const std::string& path);
