// Helpers for the terrain tests: whole-map pixel access and small images.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/image.h"
#include "terrain/tiles.h"

// Every pixel of the map, row-major, read through map_getcolor.
inline std::vector<uint32_t> map_snapshot() {
    std::vector<uint32_t> out((size_t)map_xsize * map_ysize);
    for (int y = 0; y < map_ysize; ++y)
        for (int x = 0; x < map_xsize; ++x) out[(size_t)y * map_xsize + x] = (uint32_t)map_getcolor(x, y);
    return out;
}

// Number of pixels that differ from 0.
inline long map_count_nonzero() {
    long n = 0;
    for (int y = 0; y < map_ysize; ++y)
        for (int x = 0; x < map_xsize; ++x) n += map_getcolor(x, y) != 0;
    return n;
}

// A w x h image with every pixel argb (handle at the top-left).
inline ImagePtr solid_image(int w, int h, uint32_t argb) {
    ImagePtr img = CreateImage(w, h, 1, -1);
    SetImageHandle(img, 0, 0);
    PixmapPtr p = LockImage(img, 0, true, true);
    for (auto& px : p->pixels) px = argb;
    UnlockImage(img, 0);
    return img;
}

inline void set_pixel(const ImagePtr& img, int x, int y, uint32_t argb) {
    LockImage(img, 0, true, true)->WritePixel(x, y, argb);
    UnlockImage(img, 0);
}
