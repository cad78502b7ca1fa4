// Minimap: built from the tile pixels, sent in five parts.
#include "terrain/minimap.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/shared_state.h"
#include "terrain/tiles.h"

ImagePtr map_mini;
Tmap_grid<unsigned char> map_mini_array(kMiniW, kMiniH);
int map_mini_sw = 0, map_mini_sh = 0;
int map_mini_rw = 0, map_mini_rh = 0;

namespace {

// Whether a terrain pixel changes the masked background it is drawn over:
// anything not empty, unless it is the mask colour itself.
bool shows(uint32_t argb) { return (argb >> 24) != 0 && (argb & 0xFFFFFFu) != 0xFF00FFu; }

}  // namespace

int map_createminimap() {
    g_fps_skipping_time = 0;
    map_mini = nullptr;
    map_mini_sw = map_xsize;
    map_mini_sh = map_ysize;
    std::fill(map_mini_array.cells.begin(), map_mini_array.cells.end(), 0);

    if (map_xsize > 0 && map_ysize > 0) {
        // The scale as an exact ratio num / den: map pixel p lands in cell
        // p * num / den on both axes.
        int64_t num = kMiniW, den = map_xsize;
        if ((int64_t)kMiniH * map_xsize < (int64_t)kMiniW * map_ysize) num = kMiniH, den = map_ysize;
        std::vector<int> cell_x(kTileSize), cell_y(kTileSize);
        for (int tx = 0; tx < map_xtiles; ++tx)
            for (int ty = 0; ty < map_ytiles; ++ty) {
                const uint32_t* pix = map_tile_peek(tx, ty);
                if (!pix) continue;
                for (int i = 0; i < kTileSize; ++i) {
                    cell_x[i] = (int)((int64_t)(tx * kTileSize + i) * num / den);
                    cell_y[i] = (int)((int64_t)(ty * kTileSize + i) * num / den);
                }
                for (int ly = 0; ly < kTileSize; ++ly) {
                    const uint32_t* row = pix + ly * kTileSize;
                    const int cy = cell_y[ly];
                    for (int lx = 0; lx < kTileSize; ++lx)
                        if (shows(row[lx])) map_mini_array[cell_x[lx]][cy] = 1;
                }
            }
    }

    map_mini_rw = 0;
    map_mini_rh = 0;
    map_mini = CreateImage(kMiniW, kMiniH, 1, -1);
    PixmapPtr pm = map_mini ? LockImage(map_mini, 0, true, true) : nullptr;
    for (int x = 0; x < kMiniW; ++x)
        for (int y = 0; y < kMiniH; ++y) {
            const uint32_t grey = (uint32_t)(255 - y);
            const uint32_t rgb = grey << 16 | grey << 8 | grey;
            if (map_mini_array[x][y]) {
                map_mini_rw = std::max(map_mini_rw, x);
                map_mini_rh = std::max(map_mini_rh, y);
                if (pm) pm->WritePixel(x, y, 0xFF000000u | rgb);
            } else if (pm) {
                pm->WritePixel(x, y, rgb);
            }
        }
    if (pm) UnlockImage(map_mini, 0);
    return 0;
}

int map_sendmini(Tudp_con* con, int part) {
    if (!con) return 0;
    if (part == 0) {
        auto head = con->Createpacket(1, 0);
        head->wbyte(241);
        head->wbyte(2);
        head->wint(map_mini_sw);
        head->wint(map_mini_sh);
        head->wshort(map_mini_rw & 0xFFFF);
        head->wshort(map_mini_rh & 0xFFFF);
    }
    auto p = con->Createpacket(1, 1);
    const int n = part == 4 ? 550 : 1000;
    p->wbyte(241);
    p->wbyte(1);
    p->wbyte(part & 255);
    p->wshort(n);
    const int64_t first = (int64_t)part * 8000;
    for (int k = 0; k < n; ++k) {
        int byte = 0;
        for (int b = 0; b < 8; ++b) {
            int64_t cell = first + 8 * k + b;
            if (cell >= 0 && cell < kMiniW * kMiniH && map_mini_array[(int)(cell % kMiniW)][(int)(cell / kMiniW)])
                byte |= 1 << b;
        }
        p->wbyte(byte);
    }
    return 0;
}
