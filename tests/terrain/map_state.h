// Helpers for the map pack, map file, minimap, spawn and shape tests: a clean
// program state, the images the generator and shape maps use, and a summary
// of the current map for before/after comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/startup.h"
#include "core/bank_codec.h"
#include "core/catalogue.h"
#include "frontend/screens/console.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "terrain/tiles.h"
#include "terrain_test_util.h"
#include "world/objects.h"

// Everything a map is: terrain pixels, recipe, spawns and background.
struct MapState {
    std::string type;
    int xsize = 0, ysize = 0;
    std::vector<uint32_t> pixels;
    std::vector<std::string> spawns;   // "id@x,y wxh"
    std::string bg;                    // "path|transparency|render|align"

    static MapState now() {
        MapState s;
        s.type = map_type;
        s.xsize = map_xsize;
        s.ysize = map_ysize;
        s.pixels = map_snapshot();
        for (auto& e : Tmap_spawn::list)
            s.spawns.push_back(e->id + "@" + std::to_string(e->x) + "," + std::to_string(e->y) + " " +
                               std::to_string(e->w) + "x" + std::to_string(e->h));
        s.bg = map_bg_path + "|" + std::to_string(map_bg_transparency) + "|" + std::to_string(map_bg_render) + "|" +
               std::to_string(map_bg_align);
        return s;
    }
    bool operator==(const MapState& o) const {
        return type == o.type && xsize == o.xsize && ysize == o.ysize && pixels == o.pixels && spawns == o.spawns &&
               bg == o.bg;
    }
};

// The uncompressed content of map_bank (empty when there is none).
inline std::vector<uint8_t> pack_bytes() {
    if (!map_bank) return {};
    BankPtr raw = UncompressBank(*map_bank);
    return raw ? raw->Bytes() : std::vector<uint8_t>{};
}

inline BankPtr compressed(const std::vector<uint8_t>& raw) { return CompressBank(Bank(raw.data(), raw.size())); }

inline bool console_has(const std::string& line) {
    for (auto& l : in_console)
        if (l == line) return true;
    return false;
}

// Clean lists, console, bank, objects; the object kinds as start-up fills
// them; opaque border bars and tile 26.
class MapTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* names[10] = {"Spawnpoint", "Fire", "Supply Crate", "Mine", "Bear Trap",
                                 "Medikit",    "Node", "Item",         "",     ""};
        const int w[10] = {12, 2, 20, 3, 3, 20, 15, 20, 0, 0}, h[10] = {24, 2, 16, 3, 3, 16, 15, 16, 0, 0};
        for (int i = 0; i < 10; ++i) {
            objn[i] = names[i];
            objw[i] = w[i];
            objh[i] = h[i];
        }
        Tmap_spawn::list.clear();
        Tmap_spawn::nodes.clear();
        Tmap_shape::list.clear();
        Tobj::list.clear();
        in_console.clear();
        map_bank = nullptr;
        map_type = "";
        gfx_border_h = solid_image(100, 10, 0xFF404040u);
        gfx_border_v = solid_image(10, 100, 0xFF404040u);
        gfx_border_c = solid_image(10, 10, 0xFF202020u);
        gfx_tile[26] = solid_image(30, 20, 0xFF3366CCu);
    }
    void TearDown() override {
        gfx_border_h = gfx_border_v = gfx_border_c = nullptr;
        gfx_tile[26] = nullptr;
        Tmap_spawn::list.clear();
        Tmap_shape::list.clear();
        Tobj::list.clear();
        map_bank = nullptr;
    }
};
