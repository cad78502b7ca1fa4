// The map's background image, with the limits on backgrounds named by packs
// from other machines.
#include "terrain/background.h"

#include <algorithm>
#include <cstdint>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/stream.h"
#include "terrain/tiles.h"

namespace {

uint32_t be16(const uint8_t* p) { return (uint32_t)p[0] << 8 | p[1]; }
uint32_t be32(const uint8_t* p) { return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]; }
uint32_t le16(const uint8_t* p) { return (uint32_t)p[1] << 8 | p[0]; }
uint32_t le32(const uint8_t* p) { return (uint32_t)p[3] << 24 | (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0]; }

bool side_ok(int64_t v) { return v >= 1 && v <= kBgMaxSide; }

bool sizes_ok(int64_t w, int64_t h) { return side_ok(w) && side_ok(h) && w * h <= kBgMaxPixels; }

bool jpeg_size(const uint8_t* d, size_t n, int& width, int& height) {
    size_t i = 2;
    while (i + 1 < n) {
        if (d[i] != 0xFF) return false;
        while (i < n && d[i] == 0xFF) ++i;   // fill bytes
        if (i >= n) return false;
        const uint8_t m = d[i++];
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD8)) continue;   // markers without a length
        if (m == 0xD9 || m == 0xDA || i + 2 > n) return false;  // image data before any frame header
        const size_t len = be16(d + i);
        if (len < 2 || i + len > n) return false;
        const bool frame = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
        if (frame) {
            if (len < 7) return false;
            height = (int)be16(d + i + 3);
            width = (int)be16(d + i + 5);
            return true;
        }
        i += len;
    }
    return false;
}

}  // namespace

bool map_bg_probe_size(const uint8_t* d, size_t n, int& width, int& height) {
    width = height = 0;
    static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n >= 24 && std::equal(png, png + 8, d)) {
        if (d[12] != 'I' || d[13] != 'H' || d[14] != 'D' || d[15] != 'R') return false;
        uint32_t w = be32(d + 16), h = be32(d + 20);
        if (w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) return false;
        width = (int)w, height = (int)h;
        return true;
    }
    if (n >= 4 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return jpeg_size(d, n, width, height);
    if (n >= 26 && d[0] == 'B' && d[1] == 'M') {
        uint32_t dib = le32(d + 14);
        if (dib == 12) {
            width = (int)le16(d + 18);
            height = (int)le16(d + 20);
            return true;
        }
        if (dib < 40) return false;
        int32_t w = (int32_t)le32(d + 18), h = (int32_t)le32(d + 22);
        if (w <= 0 || h == INT32_MIN) return false;
        width = w;
        height = h < 0 ? -h : h;   // negative: rows stored top-down
        return true;
    }
    return false;
}

bool map_bg_path_ok(const std::string& path) {
    if (path.empty() || path[0] == '/' || path[0] == '\\') return false;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size()) {
            unsigned char c = (unsigned char)path[i];
            // A colon starts drive letters and "name::" prefixes.
            if (c < 32 || c == ':') return false;
            if (c != '/' && c != '\\') continue;
        }
        if (path.compare(start, i - start, "..") == 0 && i - start == 2) return false;
        start = i + 1;
    }
    return true;
}

int map_bg_load(int foreign) {
    map_bg = nullptr;
    if (map_bg_path.empty() || map_bg_path == "0") return 0;
    if (foreign != 0 && !map_bg_path_ok(map_bg_path)) return 0;
    if (FileType(map_bg_path) != 1) return 0;
    if (foreign != 0) {
        // Read the bytes once, look at the header, and decode only a picture
        // of sane size: a small file must not unpack into gigabytes.
        int64_t bytes = FileSize(map_bg_path);
        if (bytes <= 0 || bytes > kBgMaxFileBytes) return 0;
        BankPtr bank = LoadBank(map_bg_path);
        int w, h;
        if (!bank || !map_bg_probe_size(bank->Buf(), bank->Size(), w, h) || !sizes_ok(w, h)) return 0;
        StreamPtr in = CreateBankStream(bank);
        ImagePtr img = in ? LoadImage(*in, -1) : nullptr;
        if (!img || !sizes_ok(ImageWidth(img), ImageHeight(img))) return 0;
        map_bg = img;
    } else {
        map_bg = LoadImage(map_bg_path, -1);
    }
    if (map_bg) SetImageHandle(map_bg, 0, 0);
    return 0;
}
