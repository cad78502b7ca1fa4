// Tile store: set-up, lazy tiles, the colour query and the channel extractor.
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "terrain/edit.h"
#include "terrain/scenery_grid.h"
#include "terrain/shapes.h"
#include "terrain/spawns.h"
#include "terrain/tiles.h"
#include "terrain_test_util.h"
#include "world/water.h"

namespace {

void fill_lists_and_background() {
    Tmap_spawn::list.push_back(std::make_shared<Tmap_spawn>());
    Tmap_shape::add(254, 1, 2, 3, 4);
    map_bg_path = "x.png";
    map_bg_transparency = 3;
    map_bg_render = 2;
    map_bg_align = 1;
    map_bg = CreateImage(4, 4, 1, -1);
}

TEST(TileStore, SetupClampsCountsAndSetsWaterLevel) {
    g_fps_skipping_time = 5;
    map_setup(2, 500, 1);
    EXPECT_EQ(map_xtiles, 3);
    EXPECT_EQ(map_ytiles, 300);
    EXPECT_EQ(map_xsize, 300);
    EXPECT_EQ(map_ysize, 30000);
    EXPECT_EQ(g_waterlevel, 29990);
    EXPECT_EQ(g_waterlevel_change, 29990);
    EXPECT_EQ(g_fps_skipping_time, 0);
    EXPECT_EQ(map_tiles.w, 3);
    EXPECT_EQ(map_tiles.h, 300);
    EXPECT_EQ(map_tiles.slot.size(), 900u);
    EXPECT_TRUE(map_tiles.held.empty());
    EXPECT_EQ(Tscc::w, 2);
    EXPECT_EQ(Tscc::h, 299);
    EXPECT_EQ(map_unlock, 1);
}

TEST(TileStore, ClearDecidesOnListsButBackgroundAlwaysResets) {
    for (int clear : {0, 1, 2}) {
        Tmap_spawn::list.clear();
        Tmap_shape::list.clear();
        fill_lists_and_background();
        map_type = "003|1|2|3";
        map_setup(4, 5, clear);
        size_t kept = clear == 1 ? 0 : 1;
        EXPECT_EQ(Tmap_spawn::list.size(), kept) << clear;
        EXPECT_EQ(Tmap_shape::list.size(), kept) << clear;
        EXPECT_EQ(map_bg_path, "");
        EXPECT_EQ(map_bg_transparency, 0);
        EXPECT_EQ(map_bg_render, 0);
        EXPECT_EQ(map_bg_align, 7);
        EXPECT_EQ(map_bg, nullptr);
        EXPECT_EQ(map_type, "003|1|2|3");   // the caller's to set
        EXPECT_EQ(Tscc::w, 3);
        EXPECT_EQ(Tscc::h, 4);
    }
}

TEST(TileStore, NewTerrainIsEmptyAndHoldsNoTiles) {
    map_setup(300, 300, 1);
    EXPECT_EQ(map_tiles_held(), 0);
    for (int y : {0, 99, 100, 15000, 29999})
        for (int x : {0, 1, 100, 29999}) EXPECT_EQ(map_getcolor(x, y), 0);
    EXPECT_EQ(map_tiles_held(), 0);   // reading never creates a tile
}

TEST(TileStore, ColourQueryOutsideTheTerrainIsZero) {
    map_setup(3, 3, 1);
    map_rect(0, 0, map_xsize - 1, map_ysize - 1, (int)0xFF102030);
    struct Case {
        int x, y;
    };
    for (Case c : {Case{-1, 10}, {-50, 10}, {-99, 10}, {10, -1}, {map_xsize, 10}, {10, map_ysize}, {-100, -100}}) {
        map_unlock = 0;
        EXPECT_EQ(map_getcolor(c.x, c.y), 0) << c.x << "," << c.y;
        EXPECT_EQ(map_unlock, 1) << c.x << "," << c.y;
    }
    EXPECT_EQ((uint32_t)map_getcolor(0, 0), 0xFF102030u);
}

TEST(TileStore, ColourQueryReadsTheTileUnderThePoint) {
    map_setup(3, 3, 1);
    map_rect(100, 100, 0, 0, 0x11223344);
    map_rect(99, 100, 0, 0, 0x55667788);
    EXPECT_EQ(map_getcolor(100, 100), 0x11223344);
    EXPECT_EQ(map_tile_peek(1, 1)[0], 0x11223344u);
    EXPECT_EQ(map_getcolor(99, 100), 0x55667788);
    EXPECT_EQ(map_tile_peek(0, 1)[99], 0x55667788u);
}

TEST(TileStore, ChannelExtractor) {
    const int v = (int)0x80FF0000u;   // alpha 128, red 255
    EXPECT_EQ(map_argb(v, 0), 128);
    EXPECT_EQ(map_argb(v, 1), 255);
    EXPECT_EQ(map_argb(v, 2), 0);
    EXPECT_EQ(map_argb((int)0x01020304, 3), 4);
    EXPECT_EQ(map_argb((int)0xFFFFFFFFu, 0), 255);
    EXPECT_EQ(map_argb(v, 4), 0);
    EXPECT_EQ(map_argb(v, -1), 0);
}

TEST(TileStore, WritingLocksAndCreatesOnlyWhenAsked) {
    map_setup(3, 3, 1);
    map_unlock = 0;
    EXPECT_EQ(map_tile_pixels(1, 1, false), nullptr);
    EXPECT_EQ(map_img[1][1], nullptr);
    uint32_t* p = map_tile_pixels(1, 1, true);
    ASSERT_NE(p, nullptr);
    EXPECT_NE(map_img[1][1], nullptr);
    EXPECT_NE(map_pxm[1][1], nullptr);
    EXPECT_EQ(map_unlock, 1);
    EXPECT_EQ(map_tiles_held(), 1);
    EXPECT_EQ(map_tile_pixels(3, 0, true), nullptr);
    EXPECT_EQ(map_tile_pixels(0, -1, true), nullptr);
    EXPECT_EQ(map_tile_peek(-1, 0), nullptr);
    // The pixels are the tile image's own: collision reads the same memory.
    p[5 * kTileSize + 7] = 0xFFABCDEF;
    EXPECT_EQ(map_img[1][1]->frames[0]->ReadPixel(7, 5), 0xFFABCDEFu);
}

TEST(TileStore, ReadingDoesNotLock) {
    map_setup(3, 3, 1);
    map_rect(0, 0, 10, 10, -1);
    map_unlock_tiles();   // as a drawing pass does
    EXPECT_NE(map_tile_peek(0, 0), nullptr);
    map_getcolor(5, 5);
    EXPECT_EQ(map_pxm[0][0], nullptr);
}

}  // namespace
