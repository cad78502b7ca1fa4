// makeassets: draws and synthesises every image and sound file of the game.
//
//   makeassets ROOT               gfx/ and sfx/ files under ROOT
//   makeassets --incgfx ROOT      the built-in images under ROOT/incgfx/
//   makeassets --sheet OUT.png [FILTER [ZOOM]]
//                                 one picture of every image (or of those whose
//                                 path contains FILTER), as the game loads them
//   makeassets --scene OUT.png    landscapes of the five terrain styles put
//                                 together from the images, and the sky alone
//   makeassets --check [PATH]     only the check that every catalogued file has
//                                 a recipe; PATH drops that file's recipe first
//                                 (ctest shows the check stops, naming it)
//
// Every recipe seeds its own generator, so the files are the same bytes on
// every run; recipes are independent and run on a few threads.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include "core/catalogue.h"
#include "platform/platform.h"
#include "tools/makeassets/assets.h"
#include "tools/makeassets/strokefont.h"

namespace fs = std::filesystem;
using namespace ma;

namespace {

Registry build_registry() {
    Registry reg;
    add_player_art(reg);
    add_terrain_art(reg);
    add_effect_art(reg);
    add_interface_art(reg);
    add_title_art(reg);
    add_builtin_art(reg);
    add_sounds(reg);
    add_weapon_art(reg);
    return reg;
}

// Runs jobs 0..n-1 on up to four threads; returns false when any job failed.
bool run_parallel(size_t n, const std::function<bool(size_t)>& job) {
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; t++)
        pool.emplace_back([&] {
            for (size_t i; (i = next.fetch_add(1)) < n;)
                if (!job(i)) ok = false;
        });
    for (auto& th : pool) th.join();
    return ok;
}

bool ensure_parent(const std::string& path) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    return !ec;
}

bool check_size(const ImageAsset& a, const Canvas& c) {
    if (a.cell_w > 0 && (c.w != a.cell_w * a.cells || c.h != a.cell_h)) {
        std::fprintf(stderr, "%s: strip is %dx%d, want %d cells of %dx%d\n", a.path.c_str(), c.w, c.h, a.cells,
                     a.cell_w, a.cell_h);
        return false;
    }
    return true;
}

bool write_images(const std::vector<ImageAsset>& list, const std::string& root) {
    return run_parallel(list.size(), [&](size_t i) {
        const ImageAsset& a = list[i];
        Canvas c = a.make();
        std::string path = root + "/" + a.path;
        if (!check_size(a, c) || !ensure_parent(path) || !save_image(c, a, path)) {
            std::fprintf(stderr, "makeassets: cannot write %s\n", path.c_str());
            return false;
        }
        return true;
    });
}

bool write_sounds(const std::vector<SoundAsset>& list, const std::string& root) {
    return run_parallel(list.size(), [&](size_t i) {
        const SoundAsset& s = list[i];
        std::string path = root + "/" + s.path;
        if (!ensure_parent(path) || !save_sound(s.make(), s, path)) {
            std::fprintf(stderr, "makeassets: cannot write %s\n", path.c_str());
            return false;
        }
        return true;
    });
}

// Every gfx/ and sfx/ file the game's catalogue loads has a recipe here (the
// fonts are committed, the built-in images are the --incgfx set). A file
// without one would only be missed when the game starts, so the generator
// stops instead, naming it.
bool recipes_cover_catalogue(const Registry& reg) {
    std::vector<std::string> made;
    for (const ImageAsset& a : reg.images) made.push_back(a.path);
    for (const SoundAsset& a : reg.sounds) made.push_back(a.path);
    PlatformOptions headless;
    headless.headless = true;
    PlatformInit(headless);
    bool ok = true;
    for (const CatalogueFile& f : catalogue_files()) {
        if (f.kind == CatalogueFile::FONT) continue;
        if (f.path.rfind("gfx/", 0) != 0 && f.path.rfind("sfx/", 0) != 0) continue;
        if (std::find(made.begin(), made.end(), f.path) != made.end()) continue;
        std::fprintf(stderr, "makeassets: no recipe for %s, which the catalogue loads\n", f.path.c_str());
        ok = false;
    }
    PlatformShutdown();
    return ok;
}

// Lays out every matching image on one sheet: tiny ones enlarged, strips
// wrapped into rows of cells, each with its file name under it.
bool write_sheet(const Registry& reg, const std::string& out, const std::string& filter, float zoom) {
    std::vector<const ImageAsset*> list;
    std::vector<ImageAsset> extra;
    if (filter.empty() || std::string("gfx/players/preview").find(filter) != std::string::npos)
        extra.push_back({"gfx/players/preview", Fmt::Png, 0, 0, 1, false, player_preview});
    if (filter.empty() || std::string("gfx/title_preview").find(filter) != std::string::npos)
        extra.push_back({"gfx/title_preview", Fmt::Png, 0, 0, 1, false, title_preview});
    for (auto* group : {&reg.images, &reg.builtin, (const std::vector<ImageAsset>*)&extra})
        for (const ImageAsset& a : *group)
            if (filter.empty() || a.path.find(filter) != std::string::npos) list.push_back(&a);
    std::vector<Canvas> shown(list.size());
    run_parallel(list.size(), [&](size_t i) {
        const ImageAsset& a = *list[i];
        Canvas c = as_loaded(a.make(), a);
        if (a.cell_w > 0 && a.cells > 1) {
            int per_row = std::max(1, std::min(a.cells, 640 / a.cell_w));
            int rows = (a.cells + per_row - 1) / per_row;
            Canvas g(per_row * (a.cell_w + 2), rows * (a.cell_h + 2));
            for (int k = 0; k < a.cells; k++) {
                Canvas cell = c.crop(k * a.cell_w, 0, a.cell_w, a.cell_h);
                int gx = (k % per_row) * (a.cell_w + 2), gy = (k / per_row) * (a.cell_h + 2);
                g.draw(rect(gx, gy, gx + a.cell_w, gy + a.cell_h), rgb(70, 70, 90));
                g.blit(cell, gx, gy);
            }
            c = g;
        }
        shown[i] = c;
        return true;
    });
    const int sheet_w = 1600, pad = 8, label = 14;
    struct Place {
        int x, y;
        float s;
    };
    std::vector<Place> places;
    int x = pad, y = pad, row_h = 0;
    for (size_t i = 0; i < shown.size(); i++) {
        const Canvas& c = shown[i];
        const ImageAsset& a = *list[i];
        int m = a.cell_w > 0 ? std::max(a.cell_w, a.cell_h) : std::max(c.w, c.h);
        float s = m <= 16 ? 4.0f : m <= 40 ? 3.0f : m <= 100 ? 2.0f : 1.0f;
        if (zoom > 0) s = zoom;
        if (c.w * s > sheet_w - 2 * pad) s = (sheet_w - 2 * pad) / (float)c.w;
        int w = (int)std::ceil(c.w * s), h = (int)std::ceil(c.h * s) + label;
        w = std::max(w, 60);
        if (x + w > sheet_w - pad) {
            x = pad;
            y += row_h + pad;
            row_h = 0;
        }
        places.push_back({x, y, s});
        x += w + pad;
        row_h = std::max(row_h, h);
    }
    Canvas sheet(sheet_w, y + row_h + pad, rgb(40, 44, 52));
    TextStyle ts;
    ts.cap = 7;
    ts.weight = 0.6f;
    ts.spacing = 2.5f;
    for (size_t i = 0; i < shown.size(); i++) {
        const Canvas& c = shown[i];
        Place p = places[i];
        float w = c.w * p.s, h = c.h * p.s;
        // Checker behind, so transparency shows.
        sheet.draw(rect(p.x, p.y, p.x + w, p.y + h), [](float fx, float fy) {
            bool k = ((int)(fx / 8) + (int)(fy / 8)) & 1;
            return k ? rgb(110, 130, 150) : rgb(90, 108, 128);
        });
        sheet.blit_scaled(c, p.x, p.y, p.s);
        std::string name = list[i]->path.substr(list[i]->path.find_last_of('/') + 1);
        sheet.draw(text_shape(name, p.x, p.y + h + 10, ts), rgb(230, 230, 230));
    }
    ImageAsset a;
    a.path = out;
    a.fmt = out.size() > 4 && out.compare(out.size() - 4, 4, ".bmp") == 0 ? Fmt::BmpFlat : Fmt::Png;
    return save_image(sheet, a, out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: makeassets ROOT | --incgfx ROOT | --sheet OUT.png [FILTER [ZOOM]] | --scene OUT.png | "
                     "--check [PATH]\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    Registry reg = build_registry();
    bool ok;
    if (std::strcmp(argv[1], "--sheet") == 0 && argc >= 3) {
        ok = write_sheet(reg, argv[2], argc >= 4 ? argv[3] : "", argc >= 5 ? std::strtof(argv[4], nullptr) : 0);
    } else if (std::strcmp(argv[1], "--scene") == 0 && argc >= 3) {
        Canvas all(1280, 1440, rgb(20, 20, 24));
        std::vector<Canvas> scenes(6);
        run_parallel(6, [&](size_t i) {
            scenes[i] = scene_preview(reg, (int)i);
            return true;
        });
        for (int i = 0; i < 6; i++) all.blit(scenes[i], (i % 2) * 640, (i / 2) * 480);
        ImageAsset a;
        ok = save_image(all, a, argv[2]);
    } else if (std::strcmp(argv[1], "--check") == 0) {
        if (argc >= 3) {
            const std::string drop = argv[2];
            std::erase_if(reg.images, [&](const ImageAsset& a) { return a.path == drop; });
            std::erase_if(reg.sounds, [&](const SoundAsset& a) { return a.path == drop; });
        }
        ok = recipes_cover_catalogue(reg);
    } else if (std::strcmp(argv[1], "--incgfx") == 0 && argc >= 3) {
        ok = write_images(reg.builtin, argv[2]);
    } else {
        ok = recipes_cover_catalogue(reg) && write_images(reg.images, argv[1]) && write_sounds(reg.sounds, argv[1]);
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("makeassets: %s in %.2f s\n", ok ? "done" : "FAILED", secs);
    return ok ? 0 : 1;
}
