// Resource catalogue: the fonts, images and sounds loaded at start-up into
// program-wide globals, in one fixed order (catalogue_load).
#pragma once

#include <string>
#include <vector>

#include "core/catalogue_list.h"
#include "platform/audio.h"
#include "platform/draw.h"
#include "platform/image.h"

// The globals of the list in catalogue_list.h.
#define GF_ONE(type, name) extern type name;
#define GF_MANY(type, name, count) extern type name[count];
GF_CATALOGUE_GLOBALS
#undef GF_ONE
#undef GF_MANY

// Loads everything in catalogue order under the two load screens; images
// and fonts that cannot be loaded end the program through the strict loaders.
// Also gives the three particle layers new empty lists.
int catalogue_load();

// Empties every global above (tests load the catalogue more than once).
void catalogue_free();
// The names of the globals above that hold nothing ("gfx_tile[43]", ...).
std::vector<std::string> catalogue_empty();

// One file that catalogue_load opens.
struct CatalogueFile {
    enum Kind { IMAGE, ANIM, FONT, SOUND } kind;
    std::string path;                       // as passed to the loader ("incbin::" for built-ins)
    bool strict;                            // a missing file ends the program
    int cell_w = 0, cell_h = 0, cells = 0;  // ANIM: the strip's cells
    int flags = -1;                         // IMAGE, ANIM: the image flags passed to the loader
    int mask_r = 0, mask_g = 0, mask_b = 0; // IMAGE, ANIM: the mask colour in force
};
// Every file catalogue_load opens, in load order, without loading anything.
// All four title tunes are listed, although a start loads one of them.
std::vector<CatalogueFile> catalogue_files();
