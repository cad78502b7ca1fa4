// Stroke font: a small rounded sans drawn as thick anti-aliased strokes, so
// logo lettering, key labels and icons share one hand without any font file.
//
// Glyphs are designed on a grid with the baseline at 0, x-height 7 and cap
// height 10 (y up); text is scaled so the cap height becomes `cap` pixels.
#pragma once

#include <string>
#include <vector>

#include "tools/makeassets/canvas.h"

namespace ma {

struct TextStyle {
    float cap = 10;        // cap height in pixels
    float weight = 1.0f;   // stroke radius in pixels
    float spacing = 2.0f;  // extra advance between letters, in glyph units
    float slant = 0.0f;    // x shift per unit of height (italic)
};

// The strokes of a text as one shape; (x, baseline) is the left end of the
// baseline in pixels (y down).
Shape text_shape(const std::string& text, float x, float baseline, const TextStyle& style);
float text_width(const std::string& text, const TextStyle& style);

}  // namespace ma
