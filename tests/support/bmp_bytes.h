// BMP files built byte by byte for the tests: the one BMP builder of the test
// programs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline void PutLE(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) b[at + i] = (uint8_t)(v >> (8 * i));
}

// An uncompressed BMP with a 40-byte header. rows are top row first, each a
// list of ARGB words (24 and 32 bits) or palette indices (1, 4 and 8 bits).
inline std::vector<uint8_t> MakeBmp(int bpp, const std::vector<std::vector<uint32_t>>& rows,
                                    const std::vector<uint32_t>& palette = {}, bool top_down = false) {
    const int w = rows.empty() ? 0 : (int)rows[0].size(), h = (int)rows.size();
    const size_t stride = ((size_t)w * bpp + 31) / 32 * 4;
    const size_t off = 14 + 40 + palette.size() * 4;
    std::vector<uint8_t> b(off + stride * h, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLE(b, 2, (uint32_t)b.size(), 4);
    PutLE(b, 10, (uint32_t)off, 4);
    PutLE(b, 14, 40, 4);
    PutLE(b, 18, (uint32_t)w, 4);
    PutLE(b, 22, (uint32_t)(top_down ? -h : h), 4);
    PutLE(b, 26, 1, 2);
    PutLE(b, 28, (uint32_t)bpp, 2);
    PutLE(b, 46, (uint32_t)palette.size(), 4);
    for (size_t i = 0; i < palette.size(); i++) {
        b[54 + i * 4] = (uint8_t)palette[i];
        b[54 + i * 4 + 1] = (uint8_t)(palette[i] >> 8);
        b[54 + i * 4 + 2] = (uint8_t)(palette[i] >> 16);
    }
    for (int y = 0; y < h; y++) {
        uint8_t* dst = b.data() + off + stride * (size_t)(top_down ? y : h - 1 - y);
        for (int x = 0; x < w; x++) {
            uint32_t v = rows[y][x];
            switch (bpp) {
                case 1:
                    dst[x / 8] |= (uint8_t)((v & 1) << (7 - x % 8));
                    break;
                case 4:
                    dst[x / 2] |= (uint8_t)((v & 15) << (x % 2 ? 0 : 4));
                    break;
                case 8:
                    dst[x] = (uint8_t)v;
                    break;
                case 24:
                    dst[x * 3] = (uint8_t)v;
                    dst[x * 3 + 1] = (uint8_t)(v >> 8);
                    dst[x * 3 + 2] = (uint8_t)(v >> 16);
                    break;
                case 32:
                    PutLE(b, (size_t)(dst - b.data()) + x * 4, v, 4);
                    break;
            }
        }
    }
    return b;
}
