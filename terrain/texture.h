// Terrain texturing: turns a solid/empty mask into finished terrain with its
// surface nodes and scenery.
//
// The result is a pure function of mask, style, decorate, seed and reset (and
// of the image files): the generator is seeded with the map seed before the
// inner-earth pass and again before the surface pass, and every random draw,
// including those the scenery makers make, happens in a fixed order. Every
// machine that rebuilds a map from its recipe gets the same pixels, surface
// nodes and scenery. The local particle setting only decides which grass,
// foliage, root and reed sprites are kept, never what is drawn.
//
// Texture files are read once: map_check_textures loads all of them at
// start-up, so a missing file stops the program there and never half-way
// through building a match's map. Texturing loads a texture the check did not
// (tests, tools); one that still cannot be loaded is painted in a plain colour
// of its style, noted in the debug log, so a match is never cut short.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "terrain/grid.h"

// A texture as plain bytes: red, green, blue of pixel (x, y) at
// rgb[(x * h + y) * 3 + channel], channel 0 red, 1 green, 2 blue. Sampled at
// (x mod w, y mod h), so it tiles over the whole map. Empty (w = h = 0) when
// the image did not load.
struct Tmap_texture {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
};

// Paints every solid cell (value 1) of mask, [map_xsize][map_ysize], in the
// style's textures and dresses the terrain: inner earth, shade under
// overhangs, a surface strip and top light, surface nodes, scenery and, with
// decorate 1, rocks and branches behind the surface. reset 1 empties every
// other pixel; any other value leaves those pixels as they are. Seeds the
// shared generator (and in_seed) with seed. A style outside 0..4 is textured
// as map_texture_style(style). A mask of another size is read as if cut or
// padded with empty cells to the map's size. Returns 0.
int map_generate_fromarray(const Tmap_mask& mask, int style, int decorate, int seed, int reset);

// The style 0..4 whose textures and dressing a style number selects: itself
// for 0..4, else its remainder after division by 5 taken as 0..4, the same on
// every machine. Map packs keep the byte they carried; only the look maps.
int map_texture_style(int style);

// Loads the image at path and returns its pixels as a texture, with width
// and height set to its size (0 when it cannot be loaded).
Tmap_texture map_generate_loadtex(const std::string& path, int& width, int& height);

// The texture files of the five styles, each once: upper, body and shore
// textures of style 0, then the new ones of styles 1..4.
const std::vector<std::string>& map_texture_files();

// Start-up check: loads every texture file and keeps them for texturing.
// Returns 1 when all load; else 0 with error set to "can't load terrain
// texture " followed by the path of the first file that does not load.
// Start-up calls it right after the resource catalogue and ends the program
// with that message when it fails.
int map_check_textures(std::string& error);

// Forgets the loaded textures, so the next texturing reads the files again.
void map_forget_textures();

// A rock or branch that texturing stamped: image index, top-left corner of
// the image and the surface pixel it grows from.
struct Tmap_decoration {
    enum Kind { BRANCH, ROCK } kind;
    int image;
    int x, y;
    int px, py;
};
// Seam for tests and tools: while set, texturing appends every rock and
// branch it stamps, in order.
extern std::vector<Tmap_decoration>* map_decoration_trace;
