// Two-dimensional arrays of the terrain, indexed [column][row].
//
// Cells are stored column by column (cell (x, y) at x * h + y), so walking a
// column top to bottom, as the generator, the mask and the surface scans do,
// reads consecutive memory. grid[x] is the column pointer; grid[x][y] a cell.
#pragma once

#include <cstddef>
#include <vector>

template <class T>
struct Tmap_grid {
    int w = 0, h = 0;
    std::vector<T> cells;

    Tmap_grid() = default;
    Tmap_grid(int width, int height) { reset(width, height); }

    // Drops every cell and makes width x height default cells.
    void reset(int width, int height) {
        std::vector<T>().swap(cells);
        w = width > 0 ? width : 0;
        h = height > 0 ? height : 0;
        cells.resize((size_t)w * h);
    }
    T* operator[](int x) { return cells.data() + (size_t)x * h; }
    const T* operator[](int x) const { return cells.data() + (size_t)x * h; }
    bool inside(int x, int y) const { return (unsigned)x < (unsigned)w && (unsigned)y < (unsigned)h; }
};

// Terrain mask: one byte per map pixel, [x][y], 1 solid and 0 empty. The
// hand-over format between outline makers (generator, map packs, shapes,
// editor) and the texturing.
using Tmap_mask = Tmap_grid<unsigned char>;
