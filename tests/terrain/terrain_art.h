// The images and textures that texturing and scenery use, for tests.
//
// load_terrain_art fills the catalogue globals the texturer and the scenery
// read, with the flags and handles the start-up catalogue gives them: from
// the game's own files (gfx/ under the asset root, the built-in branch and
// rock images) where they exist, else from small pictures drawn here. The
// asset root is $GROMBAT_ASSETS when set, else the working directory.
// load_terrain_textures makes the texture check pass the same way.
#pragma once

#include "tests/support/builtins.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/catalogue.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/incbin.h"
#include "platform/pixmap.h"
#include "terrain/texture.h"

namespace terrain_art {

using ::register_builtin_images;

inline std::string root() {
    const char* r = std::getenv("GROMBAT_ASSETS");
    std::string s = r && *r ? r : "";
    if (!s.empty() && s.back() != '/') s += '/';
    return s;
}

// A small deterministic hash for the drawn stand-ins.
inline uint32_t mix(uint32_t v) {
    v ^= v >> 16;
    v *= 0x7feb352du;
    v ^= v >> 15;
    v *= 0x846ca68bu;
    return v ^ (v >> 16);
}

inline uint32_t argb(int a, int r, int g, int b) { return (uint32_t)a << 24 | (uint32_t)r << 16 | (uint32_t)g << 8 | b; }

// A w x h pixmap painted by f(x, y).
template <class F>
PixmapPtr paint(int w, int h, F f) {
    PixmapPtr p = CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->WritePixel(x, y, f(x, y));
    return p;
}

enum Handle { CENTRE, FOOT4, FOOT2, TOP2 };

inline void set_handle(const ImagePtr& img, Handle h) {
    if (!img) return;
    int w = ImageWidth(img), ht = ImageHeight(img);
    switch (h) {
        case CENTRE: MidHandleImage(img); break;
        case FOOT4: SetImageHandle(img, (float)(w / 2), (float)(ht - 4)); break;
        case FOOT2: SetImageHandle(img, (float)(w / 2), (float)(ht - 2)); break;
        case TOP2: SetImageHandle(img, (float)(w / 2), 2); break;
    }
}

// The file when it loads, else the drawn stand-in; either way with flags and
// the handle of the catalogue.
template <class F>
ImagePtr load_or_draw(const std::string& path, int flags, Handle handle, int w, int h, F f) {
    ImagePtr img = LoadImage(path, flags);
    if (!img) img = LoadImage(paint(w, h, f), flags);
    set_handle(img, handle);
    return img;
}

// Solid blob of colour c inside an ellipse filling the w x h box, on magenta.
inline auto blob(int w, int h, uint32_t c) {
    return [=](int x, int y) {
        double dx = (x + 0.5 - w / 2.0) / (w / 2.0), dy = (y + 0.5 - h / 2.0) / (h / 2.0);
        return dx * dx + dy * dy <= 1.0 ? c : argb(255, 255, 0, 255);
    };
}

// Fading blob for sprites: opaque middle, transparent rim.
inline auto sprite(int w, int h, int r, int g, int b) {
    return [=](int x, int y) {
        double dx = (x + 0.5 - w / 2.0) / (w / 2.0), dy = (y + 0.5 - h / 2.0) / (h / 2.0);
        double d = dx * dx + dy * dy;
        return d <= 1.0 ? argb(255, r, g, b) : 0u;
    };
}


inline void load_terrain_art() {
    register_builtin_images();
    const std::string g = root() + "gfx/modifiers/";
    SetMaskColor(255, 0, 255);
    AutoMidHandle(false);
    gfx_toplight = load_or_draw(g + "toplight.png", 8, CENTRE, 16, 32,
                                [](int, int y) { return argb(255 - y * 8, 255, 250, 235); });
    gfx_bottomshade = load_or_draw(g + "bottomshade.png", 8, CENTRE, 100, 25,
                                   [](int, int y) { return argb(y * 10, 20, 14, 10); });
    auto strip = [](int r, int gr, int b) {
        return [=](int x, int y) { return y < 8 + (int)(mix(x) % 5) ? argb(255 - y * 20, r, gr, b) : 0u; };
    };
    gfx_grass = load_or_draw(g + "grass.png", 8, CENTRE, 200, 35, strip(90, 180, 50));
    gfx_desertgrass = load_or_draw(g + "desertgrass.png", 8, CENTRE, 200, 35, strip(220, 200, 130));
    gfx_snowgrass = load_or_draw(g + "snowgrass.png", 8, CENTRE, 200, 35, strip(250, 250, 255));
    gfx_nograss = load_or_draw(g + "nograss.png", 8, CENTRE, 200, 35, strip(230, 170, 120));
    for (int i = 0; i < 16; ++i)
        gfx_inearth[i] = load_or_draw(g + "inearth" + std::to_string(i) + ".png", 8, CENTRE, 20 + i, 16,
                                      [](int, int) { return argb(140, 60, 40, 25); });
    for (int i = 0; i < 4; ++i)
        gfx_hassock[i] =
            load_or_draw(g + "hassock" + std::to_string(i) + ".png", 2, FOOT4, 20, 18, sprite(20, 18, 80, 170, 40));
    for (int i = 0; i < 6; ++i)
        gfx_foliage[i] =
            load_or_draw(g + "foliage" + std::to_string(i) + ".png", 2, FOOT4, 26, 24, sprite(26, 24, 50, 140, 40));
    for (int i = 0; i < 8; ++i)
        gfx_roots[i] =
            load_or_draw(g + "root" + std::to_string(i) + ".png", 2, TOP2, 12, 30, sprite(12, 30, 100, 65, 40));
    for (int i = 0; i < 3; ++i)
        gfx_reed[i] = load_or_draw(g + "reed" + std::to_string(i) + ".png", 2, FOOT2, 20, 60, sprite(20, 60, 90, 140, 60));
    gfx_treeleaves = load_or_draw(g + "treeleaves.png", 2, CENTRE, 34, 28, sprite(34, 28, 60, 150, 45));
    static const int bw[12] = {48, 17, 40, 25, 19, 13, 17, 12, 13, 20, 26, 33};
    static const int bh[12] = {58, 37, 38, 46, 35, 14, 19, 30, 37, 53, 67, 58};
    static const int rw[9] = {50, 35, 125, 101, 42, 30, 26, 35, 30};
    static const int rh[9] = {50, 47, 51, 79, 36, 23, 30, 20, 20};
    for (int i = 0; i < 12; ++i)
        gfx_branches[i] = load_or_draw("incbin::incgfx/terrain/branches" + std::to_string(i) + ".bmp", 9, CENTRE,
                                       bw[i], bh[i], blob(bw[i], bh[i], argb(255, 110, 75, 45)));
    for (int i = 0; i < 9; ++i)
        gfx_rocks[i] = load_or_draw("incbin::incgfx/terrain/rock" + std::to_string(i) + ".bmp", 9, CENTRE, rw[i],
                                    rh[i], blob(rw[i], rh[i], argb(255, 120, 118, 112)));
}

inline void forget_terrain_art() {
    gfx_toplight = gfx_bottomshade = gfx_grass = gfx_desertgrass = gfx_snowgrass = gfx_nograss = nullptr;
    gfx_treeleaves = nullptr;
    for (auto& i : gfx_inearth) i = nullptr;
    for (auto& i : gfx_hassock) i = nullptr;
    for (auto& i : gfx_foliage) i = nullptr;
    for (auto& i : gfx_roots) i = nullptr;
    for (auto& i : gfx_reed) i = nullptr;
    for (auto& i : gfx_branches) i = nullptr;
    for (auto& i : gfx_rocks) i = nullptr;
}

// A stand-in texture: a colour of its own per file, with some grain.
inline PixmapPtr drawn_texture(const std::string& path) {
    uint32_t h = 2166136261u;
    for (char c : path) h = (h ^ (uint8_t)c) * 16777619u;
    int r = 60 + h % 160, gr = 60 + (h >> 8) % 160, b = 40 + (h >> 16) % 140;
    return paint(64, 48, [=](int x, int y) {
        int n = (int)(mix((uint32_t)(x * 131 + y * 7919) ^ h) % 31) - 15;
        auto c = [&](int v) { return std::clamp(v + n, 0, 255); };
        return argb(255, c(r), c(gr), c(b));
    });
}

// Loads every texture (map_check_textures) from the asset root when the files
// are there, else from stand-ins written to a scratch folder.
inline void load_terrain_textures() {
    namespace fs = std::filesystem;
    std::string here = CurrentDir();
    std::string dir = root();
    fs::path scratch;
    if (FileType(dir + map_texture_files()[0]) != 1) {
        scratch = fs::temp_directory_path() / ("terrain_textures_" + std::to_string(::getpid()));
        fs::create_directories(scratch / "gfx/textures");
        for (const std::string& f : map_texture_files()) SavePixmapPNG(*drawn_texture(f), (scratch / f).string());
        dir = scratch.string() + "/";
    }
    if (!dir.empty()) ChangeDir(dir);
    std::string error;
    map_check_textures(error);
    ChangeDir(here);
    if (!scratch.empty()) fs::remove_all(scratch);
}

}  // namespace terrain_art
