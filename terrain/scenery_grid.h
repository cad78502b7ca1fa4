// Scenery grid: the decorative sprites of the terrain kept per tile, a back
// list drawn behind the tiles and a front list drawn over them.
//
// One cell per terrain tile; cell [cx][cy] holds the sprites whose position,
// divided by 100 in floating point and truncated toward zero, is (cx, cy), so
// positions between -100 and 0 (exclusive) fall into column or row 0.
// Sprites never move and never change cell. Order within a list is drawing
// order and the order of the knock-off tests. A sprite's draw may remove it
// from the list being walked; every walk here goes on with the sprite that
// followed it. Scenery is visual only: nothing the simulation decides reads it.
#pragma once

#include <memory>

#include "terrain/grid.h"
#include "terrain/scenery.h"

struct Tscc {
    // The two lists of a cell, made at the cell's first sprite: most cells of
    // a large map never get one, and an empty cell then costs one pointer.
    struct Lists {
        Tsc_list list;    // back sprites, drawing order
        Tsc_list listf;   // front sprites, drawing order
    };
    std::unique_ptr<Lists> lists;   // null while the cell has had no sprite

    // Back and front sprites, drawing order (empty for a cell without lists).
    const Tsc_list& list() const { return lists ? lists->list : no_sprites(); }
    const Tsc_list& listf() const { return lists ? lists->listf : no_sprites(); }
    static const Tsc_list& no_sprites();

    static Tmap_grid<Tscc> map;   // one cell per terrain tile, [column][row]
    static int w, h;              // highest column and row, -1 before setup

    // Rebuilds the grid at map_xtiles x map_ytiles with empty lists.
    static int setup();
    // Empties every list, keeping the grid; nothing before the first setup.
    static int clear();
    // Stores the sprite in its cell: the front list when front != 0, else
    // the back list; at the head when first != 0, else at the tail. A null
    // sprite or one outside the grid is dropped.
    static int add(const std::shared_ptr<Tsc>& sprite, int front, int first);
    // Draws the back (front 0) or front (other) sprites of columns x0..x1 and
    // rows y0..y1, both ends included, columns outer; bounds are clamped to
    // the grid.
    static int draw(int front, int x0, int y0, int x1, int y1);
    // Knocks off every sprite within distance r of (x, y): kill 1 and a new
    // fly-off velocity fx, fy = Rnd(-3, 3), Rnd(-3, 3) per hit, back lists
    // before front lists, columns outer. r < 0 hits nothing.
    static int check_circle(int x, int y, int r);
    // The same for sprites with x <= sprite x <= x + w and y <= sprite y <=
    // y + h; a negative w or h hits nothing.
    static int check_rect(int x, int y, int w, int h);
};
