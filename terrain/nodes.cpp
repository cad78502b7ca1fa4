// Surface nodes: the scan, the list and the random pick.
#include "terrain/nodes.h"

#include "core/random.h"
#include "terrain/tiles.h"

std::vector<Tmap_tn> Tmap_tn::a;
int Tmap_tn::peak = 0;
int Tmap_tn::rx = 0;
int Tmap_tn::ry = 0;

int Tmap_tn::setup(int scan) {
    std::vector<Tmap_tn>(3 * (size_t)(map_xsize > 0 ? map_xsize : 0)).swap(a);
    peak = 0;
    if (scan != 1) return 0;
    // Reads the tiles directly (same result as asking map_getcolor for both
    // pixels of every pair, at a fraction of the cost); empty tiles read 0.
    for (int x = 0; x < map_xsize; ++x) {
        int tx = x / kTileSize, lx = x - tx * kTileSize;
        uint32_t above = 0;
        for (int ty = 0; ty < map_ytiles; ++ty) {
            const uint32_t* pix = map_tile_peek(tx, ty);
            if (!pix) {
                above = 0;
                continue;
            }
            for (int ly = 0; ly < kTileSize; ++ly) {
                uint32_t alpha = pix[ly * kTileSize + lx] >> 24;
                int y = ty * kTileSize + ly;
                if (y > 0 && above < 128 && alpha == 255) add((uint16_t)x, (uint16_t)y);
                above = alpha;
            }
        }
    }
    return 0;
}

int Tmap_tn::add(uint16_t x, uint16_t y) {
    if ((size_t)peak >= a.size()) a.resize(a.empty() ? 900 : a.size() * 2);
    a[peak].x = x;
    a[peak].y = y;
    ++peak;
    return 0;
}

int Tmap_tn::cleanup() {
    int i = 0;
    while (i < peak) {
        const Tmap_tn& n = a[i];
        if (map_argb(map_getcolor(n.x, n.y - 1), 0) == 255) {
            a[i] = a[peak - 1];
            --peak;
        } else {
            ++i;
        }
    }
    return 0;
}

int Tmap_tn::getrand() {
    if (peak == 0) return 0;
    // Every slot below peak holds a node, so the first draw always succeeds.
    const Tmap_tn& n = a[Rand(0, peak - 1)];
    rx = n.x;
    ry = n.y;
    return 1;
}
