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
    // Radii up to 2^20 keep every product below 2^63 (h²·A <= rx·ry·1000):
    // the row walk can then stay in plain 64-bit arithmetic.
    bool small;
    int64_t k64;

    // rx, ry >= 1.
    Tmap_ellipse(int64_t radius_x, int64_t radius_y) : rx(radius_x), ry(radius_y) {
        a = ry * 1000 / rx;
        b = rx * 1000 / ry;
        k = rx < ry ? (__int128)(rx * rx) * a : (__int128)(ry * ry) * b;
        small = rx <= (1 << 20) && ry <= (1 << 20);
        k64 = small ? (int64_t)k : 0;
    }

    // The largest |dx| inside on row dy (never above rx), or -1 when no point
    // of the row is inside. Exact: dx²·A < R  <=>  dx² <= (R - 1) / A.
    int64_t half_span(int64_t dy) const {
        if (dy < -ry || dy > ry) return -1;
        uint64_t mm;
        if (small) {
            int64_t r = k64 - dy * dy * b;
            if (r <= 0) return -1;
            if (a == 0) return rx;
            int64_t m = (r - 1) / a;
            if (m >= rx * rx) return rx;
            mm = (uint64_t)m;
        } else {
            __int128 r = k - (__int128)(dy * dy) * b;
            if (r <= 0) return -1;
            if (a == 0) return rx;
            __int128 m = (r - 1) / a;
            if (m >= (__int128)(rx * rx)) return rx;
            mm = (uint64_t)m;
        }
        uint64_t s = (uint64_t)std::sqrt((double)mm);
        while (s * s > mm) --s;
        while ((s + 1) * (s + 1) <= mm) ++s;
        return (int64_t)s;
    }

    // The same, starting from the answer of a neighbouring row: a few steps of
    // multiplication instead of a division and a square root per row, which
    // is most of the cost of a small crater.
    int64_t half_span_near(int64_t dy, int64_t guess) const {
        if (!small || guess < 0) return half_span(dy);
        if (dy < -ry || dy > ry) return -1;
        int64_t r = k64 - dy * dy * b;
        if (r <= 0) return -1;
        if (a == 0) return rx;
        int64_t h = guess < rx ? guess : rx;
        for (int step = 0; step < 16; ++step) {
            if (h * h * a >= r) {
                --h;   // never below 0: dx = 0 is inside whenever r > 0
            } else if (h < rx && (h + 1) * (h + 1) * a < r) {
                ++h;
            } else {
                return h;
            }
        }
        return half_span(dy);
    }

    // half_span(d) for d = dlo..dhi (0 <= dlo <= dhi) into out[0..dhi-dlo].
    void half_spans(int64_t dlo, int64_t dhi, int64_t* out) const {
        if (rx == ry && small) return circle_half_spans(rx, dlo, dhi, out);
        for (int64_t d = dlo, h = -1; d <= dhi; ++d) *out++ = h = half_span_near(d, h);
    }

    // The same for a circle of radius r (1..2^20) without building the
    // ellipse: A = B = 1000, so the test is dx² + dy² < r². Spans shrink
    // outward one step at a time, so the walk is a compare or two per row.
    static void circle_half_spans(int64_t r, int64_t dlo, int64_t dhi, int64_t* out) {
        const int64_t r2 = r * r;
        int64_t h;
        if (dlo == 0) {
            h = r - 1;
        } else if (dlo >= r) {
            h = -1;
        } else {
            const int64_t m = r2 - dlo * dlo - 1;   // dx² <= m
            h = (int64_t)std::sqrt((double)m);
            while (h * h > m) --h;
            while ((h + 1) * (h + 1) <= m) ++h;
        }
        for (int64_t d = dlo; d <= dhi; ++d) {
            const int64_t room = r2 - d * d;   // dx² < room
            while (h >= 0 && h * h >= room) --h;
            *out++ = h;
        }
    }
};
