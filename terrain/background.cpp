// The map's background image, with the limits on backgrounds named by packs
// from other machines.
#include "terrain/background.h"

#include <algorithm>
#include <cstdint>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/stream.h"
#include "terrain/tiles.h"

namespace {

bool side_ok(int64_t v) { return v >= 1 && v <= kBgMaxSide; }

bool sizes_ok(int64_t w, int64_t h) { return side_ok(w) && side_ok(h) && w * h <= kBgMaxPixels; }

}  // namespace

bool map_bg_probe_size(const uint8_t* d, size_t n, int& width, int& height) {
    // The decoders' own header reads: a hand parser can give up on a file the
    // decoder then reads anyway (a stray byte between segments), letting a
    // huge picture past the check.
    return ProbePixmapSize(d, n, width, height);
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
