// Terrain texturing (stand-in: plain earth colour and the surface nodes).
#include "terrain/texture.h"

#include <algorithm>
#include <cstdint>

#include "core/input.h"
#include "core/random.h"
#include "terrain/nodes.h"
#include "terrain/scenery_grid.h"
#include "terrain/tiles.h"

namespace {
constexpr uint32_t kEarth = 0xFF7B5A3Cu;
}

int map_generate_fromarray(const Tmap_mask& mask, int style, int decorate, int seed, int reset) {
    (void)style;
    (void)decorate;
    const int X = std::min(map_xsize, mask.w), Y = std::min(map_ysize, mask.h);
    for (int tx = 0; tx * kTileSize < X; ++tx) {
        int ox = tx * kTileSize, w = std::min(kTileSize, X - ox);
        for (int ty = 0; ty * kTileSize < Y; ++ty) {
            int oy = ty * kTileSize, h = std::min(kTileSize, Y - oy);
            uint32_t* pix = map_tile_pixels(tx, ty, false);
            if (!pix) {
                // An empty tile stays without memory unless a cell in it is solid.
                bool solid = false;
                for (int lx = 0; lx < w && !solid; ++lx) {
                    const unsigned char* col = mask[ox + lx] + oy;
                    solid = std::find(col, col + h, 1) != col + h;
                }
                if (!solid || !(pix = map_tile_pixels(tx, ty, true))) continue;
            }
            for (int lx = 0; lx < w; ++lx) {
                const unsigned char* col = mask[ox + lx] + oy;
                for (int ly = 0; ly < h; ++ly) {
                    if (col[ly] == 1)
                        pix[ly * kTileSize + lx] = kEarth;
                    else if (reset == 1)
                        pix[ly * kTileSize + lx] = 0;
                }
            }
        }
    }
    Tscc::clear();
    SeedRnd(seed);
    in_seed = seed;
    Tmap_tn::setup(0);
    for (int x = 0; x < X; ++x) {
        const unsigned char* col = mask[x];
        for (int y = 1; y < Y; ++y)
            if (col[y] == 1 && col[y - 1] != 1) Tmap_tn::add((uint16_t)x, (uint16_t)y);
    }
    Tmap_tn::cleanup();
    return 0;
}
