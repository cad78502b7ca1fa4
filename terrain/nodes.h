// Surface nodes: terrain pixels on which something can stand (an opaque pixel
// with open air right above it), the pool from which game start draws places
// for mines and traps.
//
// One list for the program: slots 0..peak-1 of `a` are the nodes in the order
// they were added; slots from peak on are spare room. The list only changes by
// setup, add and cleanup; terrain edits during a match do not update it.
#pragma once

#include <cstdint>
#include <vector>

struct Tmap_tn {
    uint16_t x = 0;   // pixel column
    uint16_t y = 0;   // pixel row of the solid pixel itself

    static std::vector<Tmap_tn> a;   // a.size() is the capacity
    static int peak;                 // number of nodes in use
    static int rx, ry;               // the node the last successful getrand chose

    // Empties the list with room for 3 x map_xsize nodes; scan 1 then adds a
    // node for every pixel of alpha 255 whose upper neighbour has alpha below
    // 128, column by column, each top to bottom (row 0 is never a node).
    static int setup(int scan);
    // Appends a node, doubling the room when full.
    static int add(uint16_t x, uint16_t y);
    // Removes every node whose pixel above now has alpha 255; the last node
    // takes a removed node's slot.
    static int cleanup();
    // 1 and rx, ry set to a node drawn with Rand(0, peak - 1); 0 without
    // drawing when the list is empty.
    static int getrand();
};
