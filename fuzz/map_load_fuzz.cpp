// Fuzz target: random bytes as a map file, loaded by map_load as a pack
// (".gfm") or as an image (".png", ".bmp", ".jpg"), chosen by the first byte.
//
// Properties checked: nothing crashes; a refused file leaves the map, its
// spawns and its background exactly as they were; a map that loaded survives
// saving and loading again with the same pixels, spawns and background.
// Maps above 600 x 600 pixels are only checked for their size, not built, to
// keep each run short.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/bank_codec.h"
#include "core/catalogue.h"
#include "frontend/screens/console.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/platform.h"
#include "terrain/generate.h"
#include "terrain/mapfile.h"
#include "terrain/pack.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "terrain/tiles.h"

#include "scratch.h"

namespace {

ImagePtr solid(int w, int h) {
    ImagePtr img = CreateImage(w, h, 1, -1);
    SetImageHandle(img, 0, 0);
    for (auto& px : LockImage(img, 0, true, true)->pixels) px = 0xFF505050u;
    UnlockImage(img, 0);
    return img;
}

std::string folder;

void start() {
    PlatformOptions options;
    options.headless = true;
    PlatformInit(options);
    gfx_border_h = solid(100, 10);
    gfx_border_v = solid(10, 100);
    gfx_border_c = solid(10, 10);
    gfx_tile[0] = solid(40, 30);
    gfx_tile[26] = solid(30, 20);
    folder = fuzz_scratch_dir("map_load_fuzz");
    if (folder.empty()) folder = "/tmp";
    map_setup(3, 3, 1);
    map_type = "003|1|0|0";
}

// Everything a map is, pixels included.
struct Summary {
    int xsize, ysize;
    std::vector<uint32_t> pixels;
    std::vector<std::string> spawns;
    std::string bg;
    bool operator==(const Summary&) const = default;
};
Summary summary() {
    Summary s{map_xsize, map_ysize, {}, {}, map_bg_path};
    for (int y = 0; y < map_ysize; ++y)
        for (int x = 0; x < map_xsize; ++x) s.pixels.push_back((uint32_t)map_getcolor(x, y));
    for (auto& e : Tmap_spawn::list) s.spawns.push_back(e->id + "@" + std::to_string(e->x) + "," + std::to_string(e->y));
    return s;
}

void check(bool ok) {
    if (!ok) std::abort();
}

// True when the file would build a map above 600 x 600 pixels.
bool large(const Bank& file, bool pack) {
    int w = 0, h = 0;
    if (!pack) return ProbePixmapSize(file.Buf(), file.Size(), w, h) && (int64_t)w * h > 600 * 600;
    if (file.Size() >= 4 && (uint32_t)file.PeekInt(0) > 64u << 20) return true;
    BankPtr raw = UncompressBank(file);
    Tmap_pack p;
    return raw && map_pack_read(*raw, p).empty() && (int64_t)p.width * p.height > 600 * 600;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (start(), true);
    (void)started;
    in_console.clear();   // the log would grow with every refused file
    if (size < 1) return 0;
    static const char* const kExt[] = {".gfm", ".png", ".bmp", ".jpg"};
    const int kind = data[0] % 4;
    Bank file(data + 1, size - 1);
    if (large(file, kind == 0)) return 0;
    const std::string path = folder + "/in" + kExt[kind];
    check(SaveBank(file, path));
    // A previous map with a pack, so that a failed build has one to go back to.
    map_generate(300, 300, 1, 0, 0);
    Tmap_spawn::add(5, 5, "{Mine}");
    map_compress();
    const Summary before = summary();
    if (map_load(path) != 1) {
        check(summary() == before);
        return 0;
    }
    const Summary loaded = summary();
    const std::string saved = folder + "/out.gfm";
    check(map_save(saved) == 1);
    map_generate(300, 300, 2, 0, 0);
    check(map_load(saved) == 1);
    check(summary() == loaded);
    return 0;
}
