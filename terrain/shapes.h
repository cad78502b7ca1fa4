// Terrain shapes: the rectangles, ovals, triangles and tiles of a shape map.
// (Stand-in: the record, its list and add.)
#pragma once

#include <list>
#include <memory>

struct Tmap_shape {
    int id = 0;             // 253 triangle, 254 rectangle, 255 oval, else a tile
    int size = 0;
    int x = 0, y = 0, w = 0, h = 0;
    int x3 = 0, y3 = 0;     // third corner of a triangle

    static std::list<std::shared_ptr<Tmap_shape>> list;   // insertion order

    // Appends a shape with these fields (x3, y3 stay 0) and returns it.
    static std::shared_ptr<Tmap_shape> add(int id, int x, int y, int w, int h);
};
