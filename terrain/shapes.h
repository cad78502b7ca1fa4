// Terrain shapes: the tiles, triangles, rectangles and ovals of a shape map.
//
// A shape map travels as its shape list, seed and style only ("000|seed|style"
// in map_type), so every machine must rebuild the same terrain from them: the
// rasterisers below are exact integer rules. Mask shapes only ever set cells,
// so their order does not matter; tiles are stamped in list order (a later
// tile overwrites an earlier one) before the mask is textured over them.
//
// Shapes also arrive from map packs with any 32-bit values: every bound is
// worked out in 64 bits (128 where products need it) and every loop is
// clipped to the map, so a crafted shape costs no more than one covering the
// whole map.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "terrain/grid.h"

struct Tmap_shape {
    int id = 0;           // 0..251 tile (gfx_tile), 253 triangle, 254 rectangle, 255 oval; 252 nothing
    int size = 0;         // always 0 (extra bytes of a kind-252 pack entry)
    int x = 0, y = 0;     // tile: top-left; rectangle, oval: box corner; triangle: corner 1
    int w = 0, h = 0;     // rectangle, oval: box size; triangle: corner 2; tile: image size
    int x3 = 0, y3 = 0;   // triangle: corner 3

    using Ptr = std::shared_ptr<Tmap_shape>;
    static std::list<Ptr> list;   // insertion order

    // Appends a shape with these fields (size, x3, y3 stay 0) and returns it.
    static Ptr add(int id, int x, int y, int w, int h);
    // Rebuilds the terrain from map_type's seed and style and the list: mask
    // shapes are rasterised, tiles stamped, then the mask is textured over
    // them. Keeps the spawn and shape lists and the background settings.
    static int perform();
    // Match start dressing: tree leaves on branch tiles (style 0) and a fire
    // object on every tile 26.
    static int postperform();
    // Tree leaves on the branch tiles of a style-0 map; every machine runs
    // it at match start (joined machines and replay playback too).
    static int postperform_leaves();

    Ptr copy() const;
    // Sets the mask cells of a triangle, rectangle or oval (ids 253 and up);
    // other ids set nothing. The mask is map-sized, [x][y]. One shape at a
    // time, cell by cell: the reference for fill.
    void rasterise(Tmap_mask& mask) const;
    // Sets the cells that rasterise would set for every shape of shapes, row
    // span by row span, each cell once however many shapes cover it: the cost
    // is about one pass over the mask plus a step per row of rows().
    static void fill(const std::list<Ptr>& shapes, Tmap_mask& mask);
    // Mask rows that fill walks for this shape on a map of map_w x map_h
    // pixels: its rows clipped to the map (0 for tiles and shapes that set
    // nothing). Map packs cap the sum.
    int64_t rows(int map_w, int map_h) const;
};
