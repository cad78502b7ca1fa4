// Fuzz target: random bytes as map packs, both as a compressed bank (the form
// map files, replays and peers deliver) and as the content of one.
//
// Properties checked: nothing crashes or reads out of bounds; a refused pack
// leaves the map exactly as it was; a pack that rebuilt a map packs again into
// a pack that reads back sound. Maps above 600 x 600 pixels are only read,
// not built, to keep each run short (their sizes are checked the same way).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/bank_codec.h"
#include "core/catalogue.h"
#include "frontend/screens/console.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "terrain/pack.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "terrain/tiles.h"

namespace {

ImagePtr solid(int w, int h) {
    ImagePtr img = CreateImage(w, h, 1, -1);
    SetImageHandle(img, 0, 0);
    for (auto& px : LockImage(img, 0, true, true)->pixels) px = 0xFF505050u;
    UnlockImage(img, 0);
    return img;
}

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    gfx_border_h = solid(100, 10);
    gfx_border_v = solid(10, 100);
    gfx_border_c = solid(10, 10);
    gfx_tile[0] = solid(40, 30);
    gfx_tile[26] = solid(30, 20);
    map_setup(3, 3, 1);
    map_type = "003|1|0|0";
}

// What a refused pack must leave alone.
struct Summary {
    std::string type;
    int xsize, ysize;
    size_t spawns, shapes;
    std::string bg;
    bool operator==(const Summary&) const = default;
};
Summary summary() {
    return {map_type, map_xsize, map_ysize, Tmap_spawn::list.size(), Tmap_shape::list.size(), map_bg_path};
}

void check(bool ok) {
    if (!ok) std::abort();
}

void try_pack(const Bank& packed) {
    BankPtr raw = UncompressBank(packed);
    if (raw) {
        Tmap_pack p;
        if (map_pack_read(*raw, p).empty() && (int64_t)p.width * p.height > 600 * 600) return;
    }
    const Summary before = summary();
    if (map_unpack(packed, 1) == 0) {
        check(summary() == before);
        return;
    }
    map_compress();
    check(map_bank != nullptr);
    BankPtr again = UncompressBank(*map_bank);
    check(again != nullptr);
    Tmap_pack q;
    check(map_pack_read(*again, q).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    in_console.clear();   // the log would grow with every refused pack
    Bank bytes(data, size);
    try_pack(bytes);
    Tmap_pack p;
    map_pack_read(bytes, p);
    try_pack(*CompressBank(bytes));
    return 0;
}
