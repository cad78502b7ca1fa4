// Map files: loading packs and images, saving packs, exporting PNG.
#include "terrain/mapfile.h"

#include <new>

#include "core/shared_state.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/stream.h"
#include "terrain/background.h"
#include "terrain/edit.h"
#include "terrain/pack.h"
#include "terrain/tiles.h"

namespace {

// The background file beside an image map: the last suffix that has a file
// wins, and within a suffix the first extension.
std::string find_background(const std::string& path) {
    static const char* const kSuffixes[] = {"_bg", " bg", "_BG", " BG", " background", " Background"};
    static const char* const kExtensions[] = {".bmp", ".png", ".jpg", ".jpeg"};
    const std::string base = StripExt(path);
    std::string found;
    for (const char* suffix : kSuffixes)
        for (const char* ext : kExtensions) {
            std::string candidate = base + suffix + ext;
            if (FileType(candidate) == FILETYPE_FILE) {
                found = candidate;
                break;
            }
        }
    return found;
}

int load_pack_file(const std::string& path) {
    BankPtr file;
    try {
        file = LoadBank(path);
    } catch (const std::bad_alloc&) {
        file = nullptr;
    }
    if (!file) return 0;
    // The file's bytes become map_bank only once they unpacked; until then
    // map_bank still holds the previous map for a failed build to go back to.
    if (!map_unpack(*file, 0)) return 0;
    map_bank = file;
    return 1;
}

// -1 below 300 pixels a side (tested first), -2 above 30000, else 0.
int side_check(int w, int h) {
    if (w < 300 || h < 300) return -1;
    if (w > 30000 || h > 30000) return -2;
    return 0;
}

int refuse(int why, const std::string& path) {
    if (why == -1)
        gui_addcon("Map image at '" + path + "' is too small (min 300x300 pixels)");
    else
        gui_addcon("Map image at '" + path + "' is too large (max 30000x30000 pixels)");
    return why;
}

int load_image_file(const std::string& path) {
    // The decoder's own header read tells the size before any pixel is
    // decoded, so a picture of the wrong size is refused without unpacking it.
    ImagePtr image;
    int pw = 0, ph = 0;
    bool probed = false;
    try {
        BankPtr file = LoadBank(path);
        probed = file && ProbePixmapSize(file->Buf(), file->Size(), pw, ph);
        if (probed && side_check(pw, ph) == 0) {
            SetMaskColor(255, 0, 255);
            StreamPtr in = CreateBankStream(file);
            if (in) image = LoadImage(*in, MASKEDIMAGE);
        }
    } catch (const std::bad_alloc&) {
        image = nullptr;
    }
    if (probed && side_check(pw, ph) != 0) return refuse(side_check(pw, ph), path);
    if (!image) {
        gui_addcon("Failed to load map image from '" + path + "'");
        return 0;
    }
    const int w = image->width, h = image->height;
    if (side_check(w, h) != 0) return refuse(side_check(w, h), path);
    const int xt = (w + 99) / 100, yt = (h + 99) / 100;
    bool built = false;
    try {
        map_setup(xt, yt, 1);
        // Centred (an odd spare column goes to the right), resting on the bottom.
        map_image(image, (xt * 100 - w) / 2, yt * 100 - h, 0);
        built = map_tile_failures == 0;
    } catch (const std::bad_alloc&) {
        built = false;
    }
    image = nullptr;
    if (!built) {
        gui_addcon("Out of memory while building the map from '" + path + "', map not loaded");
        map_restore_previous(nullptr);
        return 0;
    }
    map_type = "001|" + path;
    std::string bg = find_background(path);
    if (!bg.empty()) {
        map_bg_path = bg;
        map_bg_transparency = 0;
        map_bg_render = 0;
        map_bg_align = 7;
        map_bg_load();
    }
    return 1;
}

}  // namespace

int map_load(const std::string& path) {
    g_fps_skipping_time = 0;
    if (ExtractExt(path) == "gfm") return load_pack_file(path);
    return load_image_file(path);
}

int map_save(const std::string& path) {
    g_fps_skipping_time = 0;
    map_compress();
    if (!map_bank) return 0;
    return SaveBank(*map_bank, path) ? 1 : 0;
}

int map_saveimage(const std::string& path) {
    g_fps_skipping_time = 0;
    PixmapPtr out;
    try {
        out = CreatePixmap(map_xsize, map_ysize);
    } catch (const std::bad_alloc&) {
        out = nullptr;
    }
    if (!out) return 0;
    // Empty tiles hold no pixels and stay transparent in the export.
    for (int tx = 0; tx < map_xtiles; ++tx)
        for (int ty = 0; ty < map_ytiles; ++ty) {
            const uint32_t* pix = map_tile_peek(tx, ty);
            if (!pix) continue;
            for (int ly = 0; ly < kTileSize; ++ly) {
                uint32_t* row = out->Row(ty * kTileSize + ly) + tx * kTileSize;
                std::copy(pix + ly * kTileSize, pix + (ly + 1) * kTileSize, row);
            }
        }
    return SavePixmapPNG(*out, path, 9) ? 1 : 0;
}
