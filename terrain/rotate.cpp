// Rotated stamps and the mask dump.
#include "terrain/rotate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "core/det_math.h"
#include "platform/stream.h"
#include "terrain/tiles.h"

ImagePtr map_rotateimage(const ImagePtr& image, float angle) {
    if (!image || image->frames.empty() || !image->frames[0]) return nullptr;
    const TPixmap& src = *image->frames[0];
    const int W = src.width, H = src.height, hw = W / 2, hh = H / 2;
    const double rad = (double)angle * std::numbers::pi / 180.0;
    const double rad9 = ((double)angle + 90.0) * std::numbers::pi / 180.0;
    // The shifted pair is computed, not derived from sa and ca: the two
    // differ in the last bits, and the result's size depends on them.
    const double sa = det_sin(rad), ca = det_cos(rad), s9 = det_sin(rad9), c9 = det_cos(rad9);

    const double xs[4] = {std::ceil(hh * sa + hw * s9), std::ceil(-hh * sa + hw * s9), std::ceil(-hh * sa - hw * s9),
                          std::ceil(hh * sa - hw * s9)};
    const double ys[4] = {std::ceil(-hh * ca - hw * c9), std::ceil(hh * ca - hw * c9), std::ceil(hh * ca + hw * c9),
                          std::ceil(-hh * ca + hw * c9)};
    const double nw = std::fabs(*std::min_element(xs, xs + 4)) + *std::max_element(xs, xs + 4);
    const double nh = std::fabs(*std::min_element(ys, ys + 4)) + *std::max_element(ys, ys + 4);
    if (!(nw >= 1 && nh >= 1 && nw <= kMaxPixmapSide && nh <= kMaxPixmapSide)) return nullptr;
    const int NW = (int)nw, NH = (int)nh, ncx = NW / 2, ncy = NH / 2;

    ImagePtr out = CreateImage(NW, NH, 1, -1);
    PixmapPtr dst = out ? LockImage(out, 0, true, true) : nullptr;
    if (!dst) return nullptr;
    // The column terms of the sums once per column; the sum itself is formed
    // per pixel in the fixed order (row term + column term).
    std::vector<double> cx_s(NW), cx_c(NW);
    for (int X = 0; X < NW; ++X) {
        cx_s[X] = (double)(X - ncx) * s9;
        cx_c[X] = (double)(X - ncx) * c9;
    }
    for (int Y = 0; Y < NH; ++Y) {
        const double ry_s = (double)(Y - ncy) * sa, ry_c = (double)(Y - ncy) * ca;
        uint32_t* row = dst->Row(Y);
        for (int X = 0; X < NW; ++X) {
            // Truncation toward zero; anything outside int range is outside
            // the source anyway.
            const double fx = hw + (ry_s + cx_s[X]), fy = hh + (ry_c + cx_c[X]);
            uint32_t v = 0;
            if (fx > -1.0 && fx < (double)W && fy > -1.0 && fy < (double)H) {
                const int sx = (int)fx, sy = (int)fy;
                if (sx >= 0 && sy >= 0) v = src.pixels[(size_t)sy * W + sx];
            }
            row[X] = v;
        }
    }
    UnlockImage(out, 0);
    return out;
}

int map_pixeldump(const Tmap_mask& mask, const std::string& path) {
    StreamPtr out = WriteFile(path);
    if (!out) return 0;
    std::vector<uint8_t> col(map_ysize > 0 ? map_ysize : 0);
    for (int x = 0; x < map_xsize; ++x) {
        std::fill(col.begin(), col.end(), 0);
        if (x < mask.w) std::copy_n(mask[x], std::min(mask.h, map_ysize), col.begin());
        out->Write(col.data(), col.size());
    }
    CloseStream(out);
    return 0;
}
