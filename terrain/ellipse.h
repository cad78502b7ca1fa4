// The integer ellipse test shared by map_oval and the generator's mask fill.
//
// A point (dx, dy) from the centre is inside when dx²·A + dy²·B < K, with
// A = ry·1000 / rx and B = rx·1000 / ry (truncated) and K = rx²·A when rx < ry,
// else ry²·B. The truncation lets the ends of the longer axis fall inside
// (rx 3, ry 2 covers (±3, 0)); generated maps and every peer's craters depend
// on these exact pixels, so the test stays integer. Everything is widened so
// that radii of any int size stay exact (K needs more than 64 bits for radii
// in the millions); the results for small radii are those of 32-bit squares.
#pragma once

#include <cmath>
#include <cstdint>

struct Tmap_ellipse {
    int64_t rx, ry, a, b;
    __int128 k;

    // rx, ry >= 1.
    Tmap_ellipse(int64_t radius_x, int64_t radius_y) : rx(radius_x), ry(radius_y) {
        a = ry * 1000 / rx;
        b = rx * 1000 / ry;
        k = rx < ry ? (__int128)(rx * rx) * a : (__int128)(ry * ry) * b;
    }

    // The largest |dx| inside on row dy (never above rx), or -1 when no point
    // of the row is inside. Exact: dx²·A < R  <=>  dx² <= (R - 1) / A.
    int64_t half_span(int64_t dy) const {
        if (dy < -ry || dy > ry) return -1;
        __int128 r = k - (__int128)(dy * dy) * b;
        if (r <= 0) return -1;
        if (a == 0) return rx;
        __int128 m = (r - 1) / a;
        if (m >= (__int128)(rx * rx)) return rx;
        uint64_t mm = (uint64_t)m;
        uint64_t s = (uint64_t)std::sqrt((double)mm);
        while (s * s > mm) --s;
        while ((s + 1) * (s + 1) <= mm) ++s;
        return (int64_t)s;
    }
};
