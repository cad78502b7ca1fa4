// Terrain generator: sizes, recipe, determinism, forms and their draw counts.
#include <gtest/gtest.h>

#include <vector>

#include "core/catalogue.h"
#include "core/input.h"
#include "core/random.h"
#include "terrain/generate.h"
#include "terrain/nodes.h"
#include "terrain/tiles.h"
#include "terrain_test_util.h"

namespace {

// Raw outputs consumed by building the outline of form on an X x Y map,
// counted against the stream of a fresh seed.
int draws_for_outline(int xsize, int ysize, int seed, int form) {
    map_setup(xsize / 100, ysize / 100, 1);
    SeedRnd(seed);
    std::vector<uint64_t> stream(20000);
    for (auto& v : stream) v = rnd_next64();
    SeedRnd(seed);
    Tmap_mask mask(map_xsize, map_ysize);
    map_generate_outline(mask, form);
    uint64_t next = rnd_next64();
    for (size_t i = 0; i + 1 < stream.size(); ++i)
        if (stream[i] == next && stream[i + 1] == rnd_next64()) return (int)i;
    return -1;
}

class Generator : public ::testing::Test {
protected:
    void SetUp() override {
        // The border bars, fully opaque, as the catalogue loads them.
        gfx_border_h = solid_image(100, 10, 0xFF404040u);
        gfx_border_v = solid_image(10, 100, 0xFF404040u);
        gfx_border_c = solid_image(10, 10, 0xFF202020u);
    }
    void TearDown() override {
        gfx_border_h = gfx_border_v = gfx_border_c = nullptr;
    }
};

TEST_F(Generator, SizeAndRecipe) {
    map_generate(1250, 640, 7, 0, 0);
    EXPECT_EQ(map_xsize, 1200);
    EXPECT_EQ(map_ysize, 600);
    EXPECT_EQ(map_xtiles, 12);
    EXPECT_EQ(map_ytiles, 6);
    EXPECT_EQ(map_type, "003|7|0|0");
    EXPECT_EQ(in_seed, 7);
    map_generate(100, 100, -12, 3, 2);
    EXPECT_EQ(map_xsize, 300);
    EXPECT_EQ(map_ysize, 300);
    EXPECT_EQ(map_type, "003|-12|3|2");
}

TEST_F(Generator, SameRecipeSamePixelsWhateverWasDrawnBefore) {
    for (int form = 0; form <= 4; ++form) {
        SeedRnd(1);
        map_generate(1300, 600, 4242 + form, 0, form);
        std::vector<uint32_t> first = map_snapshot();
        std::vector<std::pair<int, int>> first_nodes;
        for (int i = 0; i < Tmap_tn::peak; ++i) first_nodes.emplace_back(Tmap_tn::a[i].x, Tmap_tn::a[i].y);
        long solid = 0;
        for (uint32_t p : first) solid += p != 0;
        EXPECT_GT(solid, 0) << form;

        SeedRnd(2);
        for (int i = 0; i < 1000; ++i) Rand(0, 1000);
        map_generate(1300, 600, 4242 + form, 0, form);
        EXPECT_TRUE(map_snapshot() == first) << "form " << form;
        std::vector<std::pair<int, int>> again;
        for (int i = 0; i < Tmap_tn::peak; ++i) again.emplace_back(Tmap_tn::a[i].x, Tmap_tn::a[i].y);
        EXPECT_EQ(again, first_nodes) << form;
    }
}

TEST_F(Generator, DifferentSeedsDiffer) {
    map_generate(1300, 600, 1, 0, 0);
    std::vector<uint32_t> a = map_snapshot();
    map_generate(1300, 600, 2, 0, 0);
    EXPECT_FALSE(map_snapshot() == a);
}

TEST_F(Generator, DrawnStyleAndFormAreRecordedAndReproduce) {
    SeedRnd(31337);
    map_generate(1300, 600, 55, -1, -1);
    ASSERT_EQ(map_type.substr(0, 7), "003|55|");
    int style = map_type[7] - '0', form = map_type[9] - '0';
    EXPECT_TRUE(style >= 0 && style <= 4 && form >= 0 && form <= 4) << map_type;
    std::vector<uint32_t> first = map_snapshot();
    std::string type = map_type;
    map_generate(1300, 600, 55, style, form);
    EXPECT_EQ(map_type, type);
    EXPECT_TRUE(map_snapshot() == first);
}

TEST_F(Generator, FormAboveFourBuildsNothing) {
    map_generate(1300, 600, 9, 1, 5);
    EXPECT_EQ(map_tiles_held(), 0);
    EXPECT_EQ(Tmap_tn::peak, 0);
    EXPECT_EQ(map_type, "003|9|1|5");
}

TEST_F(Generator, SurfaceColumnsAreOneRunDownToTheBottom) {
    for (int seed : {1, 2, 3}) {
        map_setup(13, 6, 1);
        SeedRnd(seed);
        Tmap_mask mask(map_xsize, map_ysize);
        map_generate_outline(mask, 0);
        long solid = 0;
        for (int x = 0; x < map_xsize; ++x) {
            int y = 0;
            while (y < map_ysize && !mask[x][y]) ++y;
            solid += map_ysize - y;
            for (; y < map_ysize; ++y) ASSERT_EQ(mask[x][y], 1) << x << "," << y;
        }
        EXPECT_GT(solid, 0);
    }
}

TEST_F(Generator, CaveKeepsItsEdgesAndGetsBorderBars) {
    for (int seed : {3, 4}) {
        map_setup(6, 4, 1);
        SeedRnd(seed);
        Tmap_mask mask(map_xsize, map_ysize);
        map_generate_outline(mask, 3);
        const int X = map_xsize, Y = map_ysize;
        long carved = 0;
        for (int x = 0; x < X; ++x)
            for (int y = 0; y < Y; ++y) {
                bool edge = x < 30 || y < 30 || x > X - 31 || y > Y - 31;
                if (edge) {
                    ASSERT_EQ(mask[x][y], 1) << x << "," << y;
                }
                carved += mask[x][y] == 0;
            }
        EXPECT_GT(carved, 0);
    }
    map_generate(600, 400, 3, 0, 3);
    for (int x = 0; x < map_xsize; ++x)
        for (int y = 0; y < 10; ++y) ASSERT_EQ(map_getcolor(x, y) >> 24 & 255, 255) << x << "," << y;
    for (int y = 0; y < map_ysize; ++y)
        for (int x : {0, 9, map_xsize - 10, map_xsize - 1})
            ASSERT_EQ(map_getcolor(x, y) >> 24 & 255, 255) << x << "," << y;
}

TEST_F(Generator, OpenSidesSpanTheFullHeightOfTheTallestMap) {
    map_setup(10, 300, 1);
    SeedRnd(8);
    Tmap_mask mask(map_xsize, map_ysize);
    map_generate_outline(mask, 4);
    for (int y = 0; y < map_ysize; ++y) {
        ASSERT_EQ(mask[0][y], 0) << y;
        ASSERT_EQ(mask[map_xsize - 1][y], 0) << y;
    }
    // Form 4 has top bars only.
    map_generate(1000, 600, 8, 0, 4);
    EXPECT_EQ(map_getcolor(0, 300), 0);
    EXPECT_EQ(map_getcolor(500, 5) >> 24 & 255, 255);
}

TEST_F(Generator, DrawCountsByForm) {
    // Cave: 4 draws per ellipse, min(30, 2T) ellipses, the two side openings free.
    EXPECT_EQ(draws_for_outline(300, 300, 5, 3), 4 * 18);
    EXPECT_EQ(draws_for_outline(1300, 600, 5, 3), 4 * 30);
    EXPECT_EQ(draws_for_outline(1300, 600, 5, 4), 4 * 28);
    // Sky islands: 1 + 84 per blob, between max(5, T/15) and min(30, T/5).
    int d = draws_for_outline(1300, 600, 6, 2);   // T = 78: 5..15 blobs
    EXPECT_EQ((d - 1) % 84, 0) << d;
    EXPECT_GE((d - 1) / 84, 5);
    EXPECT_LE((d - 1) / 84, 15);
    // Surface + islands adds 1 + 84 n to the surface's own draws; on 20 x 20
    // tiles (T = 400) n is 25 or 26.
    for (int seed : {1, 2, 3, 4}) {
        int surface = draws_for_outline(2000, 2000, seed, 0);
        int both = draws_for_outline(2000, 2000, seed, 1);
        EXPECT_GE(surface, 1 + 2000);
        EXPECT_EQ((both - surface - 1) % 84, 0);
        int n = (both - surface - 1) / 84;
        EXPECT_TRUE(n == 25 || n == 26) << n;
    }
}

}  // namespace
