// Editing primitives: regions, the ellipse test, stamps, tints, back stamps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "terrain/edit.h"
#include "terrain/tiles.h"
#include "terrain_test_util.h"

namespace {

constexpr int V = (int)0xFF336699u;

TEST(Rect, WritesExactlyItsInclusiveRegion) {
    struct Case {
        int x, y, w, h;
        int px0, py0, px1, py1;   // expected written box, px0 > px1 for none
    };
    for (Case c : {Case{10, 10, 0, 0, 10, 10, 10, 10},
                   {0, 0, 99, 99, 0, 0, 99, 99},
                   {-150, 0, 200, 0, 0, 0, 50, 0},
                   {250, 290, 100, 100, 250, 290, 299, 299},
                   {95, 95, 10, 10, 95, 95, 105, 105},
                   {10, 10, -1, 5, 1, 0, 0, 0},
                   {-500, -500, 10, 10, 1, 0, 0, 0}}) {
        map_setup(3, 3, 1);
        map_unlock = 0;
        map_rect(c.x, c.y, c.w, c.h, V);
        EXPECT_EQ(map_unlock, 1);
        long expected = c.px0 > c.px1 ? 0 : (long)(c.px1 - c.px0 + 1) * (c.py1 - c.py0 + 1);
        EXPECT_EQ(map_count_nonzero(), expected) << c.x << "," << c.y << " " << c.w << "x" << c.h;
        if (expected) {
            EXPECT_EQ(map_getcolor(c.px0, c.py0), V);
            EXPECT_EQ(map_getcolor(c.px1, c.py1), V);
        }
    }
}

TEST(Rect, EverySpanLengthAndOffsetWithinATile) {
    for (int x0 : {0, 1, 3, 50}) {
        map_setup(3, 3, 1);
        map_rect(0, 0, 299, 299, V);
        for (int w = 0; x0 + w < 100; ++w) map_rect(x0, w, w, 0, 0);
        for (int w = 0; x0 + w < 100; ++w)
            for (int x = 0; x < 110; ++x)
                ASSERT_EQ(map_getcolor(x, w) == 0, x >= x0 && x <= x0 + w) << x0 << " w " << w << " x " << x;
    }
}

TEST(Rect, CarvingLeavesZeroAndAllocatesNothingInEmptyTiles) {
    map_setup(3, 3, 1);
    map_rect(0, 150, 299, 149, V);
    int held = map_tiles_held();
    map_rect(50, 100, 100, 100, 0);
    EXPECT_EQ(map_getcolor(100, 160), 0);
    EXPECT_EQ(map_getcolor(151, 160), V);
    map_rect(0, 0, 299, 99, 0);   // air only
    EXPECT_EQ(map_tiles_held(), held);
}

TEST(Rect, HugeExtentsDoNotOverflow) {
    map_setup(3, 3, 1);
    map_rect(100, 100, std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), V);
    EXPECT_EQ(map_count_nonzero(), 200L * 200);
}

long oval_pixels(int rx, int ry) {
    map_setup(3, 3, 1);
    map_oval(150, 150, rx, ry, V);
    return map_count_nonzero();
}

TEST(Oval, PixelCounts) {
    struct Case {
        int rx, ry;
        long pixels;
    };
    for (Case c : {Case{1, 1, 1}, {2, 2, 9}, {3, 3, 25}, {10, 10, 305}, {3, 2, 17}, {2, 1, 3}, {1, 2, 3}})
        EXPECT_EQ(oval_pixels(c.rx, c.ry), c.pixels) << c.rx << "x" << c.ry;
}

TEST(Oval, LongAxisEndsFallInside) {
    map_setup(3, 3, 1);
    map_oval(150, 150, 3, 2, V);
    EXPECT_EQ(map_getcolor(147, 150), V);
    EXPECT_EQ(map_getcolor(153, 150), V);
    EXPECT_EQ(map_getcolor(150, 152), 0);
    map_setup(3, 3, 1);
    map_oval(150, 150, 2, 1, V);
    for (int x = 149; x <= 151; ++x) EXPECT_EQ(map_getcolor(x, 150), V);
}

TEST(Oval, RadiusBelowOneDoesNothing) {
    for (auto r : {std::pair{0, 5}, {5, 0}, {-3, 4}}) {
        map_setup(3, 3, 1);
        map_unlock = 0;
        map_oval(150, 150, r.first, r.second, V);
        EXPECT_EQ(map_unlock, 0);
        EXPECT_EQ(map_count_nonzero(), 0);
    }
}

// The ellipse test written out plainly (squares fit 32 bits for these radii).
bool inside(int dx, int dy, int rx, int ry) {
    int64_t a = ry * 1000 / rx, b = rx * 1000 / ry;
    int64_t k = rx < ry ? (int64_t)(rx * rx) * a : (int64_t)(ry * ry) * b;
    return (int64_t)(dx * dx) * a + (int64_t)(dy * dy) * b < k;
}

TEST(Oval, MatchesThePlainTestPixelForPixel) {
    // Ellipses and circles, centred and clipped by every edge.
    struct Case {
        int cx, cy, rx, ry;
    };
    for (auto c : {Case{150, 150, 1, 7}, {150, 150, 7, 1}, {150, 150, 4, 9}, {150, 150, 13, 5}, {150, 150, 40, 41},
                   {150, 150, 60, 23}, {150, 150, 1, 140}, {150, 150, 149, 2}, {150, 150, 1, 1}, {150, 150, 2, 2},
                   {150, 150, 12, 12}, {100, 100, 12, 12}, {150, 150, 50, 50}, {150, 150, 149, 149},
                   {10, 290, 40, 40}, {295, 3, 33, 33}, {-20, 150, 45, 45}, {150, 320, 60, 60}, {0, 0, 100, 100}}) {
        map_setup(3, 3, 1);
        map_oval(c.cx, c.cy, c.rx, c.ry, V);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x) {
                bool want = std::abs(x - c.cx) <= c.rx && std::abs(y - c.cy) <= c.ry &&
                            inside(x - c.cx, y - c.cy, c.rx, c.ry);
                ASSERT_EQ(map_getcolor(x, y) == V, want)
                    << c.cx << "," << c.cy << " " << c.rx << "x" << c.ry << " at " << x << "," << y;
            }
    }
}

TEST(Oval, CentreFarOffTheMapCostsOnlyTheRowsOnIt) {
    // An ellipse a billion rows tall whose centre lies far above the map: only
    // the map's rows are worked out, and their spans follow the exact test.
    const int64_t rx = 40, ry = 2000000000, cx = 150, cy = -1999999900;
    map_setup(3, 3, 1);
    map_oval((int)cx, (int)cy, (int)rx, (int)ry, V);
    const int64_t a = ry * 1000 / rx, b = rx * 1000 / ry;
    const __int128 k = (__int128)(rx * rx) * a;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            const int64_t dx = x - cx, dy = y - cy;
            const bool want = std::abs(dx) <= rx && dy <= ry && (__int128)(dx * dx) * a + (__int128)dy * dy * b < k;
            ASSERT_EQ(map_getcolor(x, y) == V, want) << x << "," << y;
        }
}

TEST(Oval, RadiiBeyond46340StayExact) {
    // A circle of radius 60000 centred far left of the map: with 32-bit
    // squares it would come out wrong; the exact edge is dx² + dy² < r².
    const int64_t r = 60000, cx = -59850, cy = 150;
    map_setup(3, 3, 1);
    map_oval((int)cx, (int)cy, (int)r, (int)r, V);
    for (int y = 0; y < 300; y += 7)
        for (int x = 0; x < 300; ++x) {
            int64_t dx = x - cx, dy = y - cy;
            ASSERT_EQ(map_getcolor(x, y) == V, dx * dx + dy * dy < r * r) << x << "," << y;
        }
    map_setup(3, 3, 1);
    map_oval(150, 150, 65535, 65535, V);
    EXPECT_EQ(map_count_nonzero(), 300L * 300);
}

TEST(Oval, CarvesAcrossATileCornerWithoutSeam) {
    map_setup(3, 3, 1);
    map_oval(100, 100, 10, 10, V);
    EXPECT_EQ(map_count_nonzero(), 305);
    EXPECT_EQ(map_tiles_held(), 4);
    map_rect(0, 0, 299, 299, V);
    map_oval(100, 100, 10, 10, 0);
    EXPECT_EQ(map_count_nonzero(), 300L * 300 - 305);
}

TEST(Oval, EmptyCornersOfTheBoxAreNotCreated) {
    // Box 90..210 square touches tiles 0..2, but the circle leaves the four
    // corner tiles untouched.
    map_setup(3, 3, 1);
    map_oval(150, 150, 60, 60, V);
    EXPECT_EQ(map_tiles_held(), 5);
}

// Explosion-sized circles near a tile corner, on every vector path this
// machine has: each pixel as the plain test says, tiles created exactly
// where a pixel is written, and a carve with 0 creating none and leaving the
// tiles it does not reach alone.
TEST(Oval, SmallCirclesNearATileCornerMatchThePlainTest) {
    const int machine = map_carve_path(-1);
    for (int path : {0, 1, 2}) {
        if (map_carve_path(path) != path) continue;
        for (int r : {1, 2, 5, 12, 33, 49, 50}) {
            for (int ox : {-r - 1, -r, -r + 1, -1, 0, 1, r - 1, r}) {
                for (int oy : {-r, -1, 0, r - 1}) {
                    const int cx = 200 + ox, cy = 200 + oy;   // the corner of tiles (1..2, 1..2)
                    SCOPED_TRACE("path " + std::to_string(path) + " r " + std::to_string(r) + " at " +
                                 std::to_string(cx) + "," + std::to_string(cy));
                    map_setup(3, 3, 1);
                    map_oval(cx, cy, r, r, V);
                    bool touched[3][3] = {};
                    long want_pixels = 0;
                    for (int y = 0; y < 300; ++y)
                        for (int x = 0; x < 300; ++x) {
                            const int64_t dx = x - cx, dy = y - cy;
                            const bool want = dx * dx + dy * dy < (int64_t)r * r;
                            want_pixels += want;
                            if (want) touched[x / 100][y / 100] = true;
                            ASSERT_EQ(map_getcolor(x, y) == V, want) << x << "," << y;
                        }
                    int tiles = 0;
                    for (auto& col : touched)
                        for (bool t : col) tiles += t;
                    EXPECT_EQ(map_tiles_held(), tiles);
                    // Carving with 0 over one filled tile: that tile loses
                    // exactly its part, no other tile appears.
                    map_setup(3, 3, 1);
                    map_rect(100, 100, 99, 99, V);
                    map_oval(cx, cy, r, r, 0);
                    long left = 0;
                    for (int y = 100; y < 200; ++y)
                        for (int x = 100; x < 200; ++x) {
                            const int64_t dx = x - cx, dy = y - cy;
                            left += dx * dx + dy * dy >= (int64_t)r * r;
                        }
                    EXPECT_EQ(map_count_nonzero(), left);
                    EXPECT_EQ(map_tiles_held(), 1);
                }
            }
        }
    }
    map_carve_path(machine);
}

TEST(Image, ModeZeroThresholdIsAlphaAbove128) {
    map_setup(3, 3, 1);
    map_rect(0, 0, 10, 10, (int)0xFF000001u);
    ImagePtr img = solid_image(3, 1, 0);
    set_pixel(img, 0, 0, 0x80FF0000u);   // alpha 128: skipped
    set_pixel(img, 1, 0, 0x8100FF00u);   // alpha 129: copied as it is
    set_pixel(img, 2, 0, 0x000000FFu);   // alpha 0: skipped
    map_image(img, 5, 5, 0);
    EXPECT_EQ((uint32_t)map_getcolor(5, 5), 0xFF000001u);
    EXPECT_EQ((uint32_t)map_getcolor(6, 5), 0x8100FF00u);
    EXPECT_EQ((uint32_t)map_getcolor(7, 5), 0xFF000001u);
    map_image(img, 5, 5, 1);   // every pixel, made opaque
    EXPECT_EQ((uint32_t)map_getcolor(5, 5), 0xFFFF0000u);
    EXPECT_EQ((uint32_t)map_getcolor(6, 5), 0xFF00FF00u);
    EXPECT_EQ((uint32_t)map_getcolor(7, 5), 0xFF0000FFu);
}

TEST(Image, StampAcrossATileCornerWritesAllFourTiles) {
    map_setup(3, 3, 1);
    ImagePtr img = solid_image(20, 20, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) set_pixel(img, x, y, 0xFF000000u | (uint32_t)(y * 20 + x));
    map_image(img, 90, 90, 0);
    EXPECT_EQ(map_tiles_held(), 4);
    EXPECT_EQ(map_count_nonzero(), 400);
    for (int y = 90; y < 110; ++y)
        for (int x = 90; x < 110; ++x)
            ASSERT_EQ((uint32_t)map_getcolor(x, y), 0xFF000000u | (uint32_t)((y - 90) * 20 + x - 90));
}

TEST(Image, ClippedAtEveryEdgeAndTransparentStampsAllocateNothing) {
    map_setup(3, 3, 1);
    ImagePtr img = solid_image(50, 50, 0xFFFFFFFFu);
    for (auto p : {std::pair{-25, -25}, {275, 275}, {-25, 275}, {275, -25}}) map_image(img, p.first, p.second, 0);
    EXPECT_EQ(map_count_nonzero(), 4 * 25 * 25);
    map_setup(3, 3, 1);
    map_image(solid_image(300, 300, 0x80FFFFFFu), 0, 0, 0);
    EXPECT_EQ(map_tiles_held(), 0);
    map_image(nullptr, 0, 0, 0);
    map_image(solid_image(50, 50, -1), 1 << 30, -(1 << 30), 1);
    EXPECT_EQ(map_tiles_held(), 0);
}

struct TintCase {
    uint32_t terrain, source;
    float strength;
    int r, g, b;
    uint32_t expected;
};

TEST(Tint, Blend) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (TintCase c : {
             // Full strength, opaque source: the source colour exactly, terrain alpha kept.
             TintCase{0xC8102030u, 0xFFAABBCCu, 1, -1, -1, -1, 0xC8AABBCCu},
             // Replacement channels, each on its own.
             {0xFF102030u, 0xFFAABBCCu, 1, 1, -1, 3, 0xFF01BB03u},
             // Half way.
             {0xFFC86432u, 0xFF000000u, 0.5f, -1, -1, -1, 0xFF643219u},
             // Strength 0 or source alpha 0: untouched.
             {0xFF102030u, 0xFFAABBCCu, 0, -1, -1, -1, 0xFF102030u},
             {0xFF102030u, 0x00AABBCCu, 1e30f, -1, -1, -1, 0xFF102030u},
             // Terrain alpha 128 or less is air: untouched.
             {0x80102030u, 0xFFAABBCCu, 1, -1, -1, -1, 0x80102030u},
             {0x00000000u, 0xFFAABBCCu, 1, -1, -1, -1, 0x00000000u},
             // Out-of-range script values clamp per channel; alpha and the
             // other channels stay intact.
             {0xFFC8C8C8u, 0xFFFFFFFFu, 2, -1, -1, -1, 0xFFFFFFFFu},
             {0xFF102030u, 0xFFAABBCCu, 1, 300, -1, -50, 0xFFFFBB00u},
             {0xFF102030u, 0xFF000000u, -1, -1, -1, -1, 0xFF204060u},
             {0xFF102030u, 0xFFAABBCCu, 1e30f, -1, -1, -1, 0xFFFFFFFFu},
             {0xFF102030u, 0xFFAABBCCu, nan, -1, -1, -1, 0xFF000000u},
         }) {
        map_setup(3, 3, 1);
        map_rect(40, 40, 0, 0, (int)c.terrain);
        ImagePtr img = solid_image(1, 1, c.source);
        map_alphaimage(img, 40, 40, c.strength, c.r, c.g, c.b);
        EXPECT_EQ((uint32_t)map_getcolor(40, 40), c.expected)
            << std::hex << c.terrain << " " << c.source << " " << c.strength;
    }
}

TEST(Tint, NeverCreatesATile) {
    map_setup(3, 3, 1);
    map_alphaimage(solid_image(300, 300, 0xFFFFFFFFu), 0, 0, 1, -1, -1, -1);
    EXPECT_EQ(map_tiles_held(), 0);
}

TEST(Tint, RectStopsAtTheImageEdgeAndReadsItsColumns) {
    map_setup(3, 3, 1);
    map_rect(0, 0, 299, 299, (int)0xFFFFFFFFu);
    ImagePtr img = solid_image(10, 5, 0);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 5; ++y) set_pixel(img, x, y, 0xFF000000u | (uint32_t)(x * 10 + y));
    map_alphaimagerect(img, 50, 60, 7, 1, 10, 3, 1, -1, -1, -1);
    for (int x = 50; x < 53; ++x)
        for (int y = 60; y < 63; ++y)
            EXPECT_EQ((uint32_t)map_getcolor(x, y), 0xFF000000u | (uint32_t)((x - 50 + 7) * 10 + (y - 60 + 1)));
    EXPECT_EQ((uint32_t)map_getcolor(53, 60), 0xFFFFFFFFu);
    EXPECT_EQ((uint32_t)map_getcolor(50, 63), 0xFFFFFFFFu);
    EXPECT_EQ(map_count_nonzero(), 300L * 300);
    // A negative source corner reads nothing left of or above the image.
    map_alphaimagerect(img, 100, 100, -2, 0, 4, 1, 1, -1, -1, -1);
    EXPECT_EQ((uint32_t)map_getcolor(100, 100), 0xFFFFFFFFu);
    EXPECT_EQ((uint32_t)map_getcolor(101, 100), 0xFFFFFFFFu);
    EXPECT_EQ((uint32_t)map_getcolor(102, 100), 0xFF000000u);
}

// The vector tints pair pixels in the order met; every path, odd counts and
// one-pixel-wide stamps included, must leave the same pixels as the plainest.
TEST(Tint, EveryVectorPathGivesTheSamePixels) {
    uint32_t x = 2463534242u;
    auto next = [&] { return x ^= x << 13, x ^= x >> 17, x ^= x << 5; };
    ImagePtr wide = solid_image(37, 23, 0), thin = solid_image(1, 31, 0);
    for (const ImagePtr& img : {wide, thin})
        for (int py = 0; py < img->height; ++py)
            for (int px = 0; px < img->width; ++px) set_pixel(img, px, py, next() & (px % 5 == 0 ? 0x00FFFFFFu : ~0u));
    const int machine = map_tint_path(-1);
    std::vector<uint32_t> first;
    for (int path : {0, 1, 2}) {
        if (map_tint_path(path) != path) continue;
        SCOPED_TRACE("tint path " + std::to_string(path));
        x = 88172645u;
        map_setup(3, 3, 1);
        for (int py = 0; py < 300; ++py)
            for (int px = 0; px < 300; ++px) map_rect(px, py, px, py, (int)next());
        for (int i = 0; i < 40; ++i) {
            const int r = i % 3 == 0 ? -1 : (int)(next() % 300), b = i % 4 == 0 ? -1 : (int)(next() % 256);
            map_alphaimage(i % 2 ? thin : wide, (int)(next() % 320) - 10, (int)(next() % 320) - 10,
                           (float)(next() % 1000) / 400.0f, r, -1, b);
        }
        if (first.empty())
            first = map_snapshot();
        else
            EXPECT_TRUE(map_snapshot() == first);
    }
    map_tint_path(machine);
}

struct BackCase {
    uint32_t terrain, source;
    int dr, dg, db;
    uint32_t expected;
};

TEST(BackImage, Blend) {
    for (BackCase c : {
             // Fully opaque terrain: untouched.
             BackCase{0xFF102030u, 0xFFAABBCCu, 0, 0, 0, 0xFF102030u},
             // Source alpha 128 or less: untouched.
             {0x00000000u, 0x80AABBCCu, 0, 0, 0, 0x00000000u},
             // Alphas add up, saturating at 255.
             {0xC8000000u, 0xC8000000u, 0, 0, 0, 0xFF000000u},
             // Empty space takes the source alpha; its colour 0 darkens the
             // source by its own alpha (200 * 140 / 255 = 109.8).
             {0x00000000u, 0x8CC8C8C8u, 0, 0, 0, 0x8C6D6D6Du},
             // Adjustments clamp the source channel before blending.
             {0x00000000u, 0xFF0A0A0Au, 300, -300, 5, 0xFFFF000Fu},
             {0x00000000u, 0xFF0A0A0Au, -1, -1, -1, 0xFF090909u},
         }) {
        map_setup(3, 3, 1);
        map_rect(40, 40, 0, 0, (int)c.terrain);
        map_backimage(solid_image(1, 1, c.source), 40, 40, c.dr, c.dg, c.db);
        EXPECT_EQ((uint32_t)map_getcolor(40, 40), c.expected) << std::hex << c.terrain << " " << c.source;
    }
}

TEST(BackImage, PaintsBehindExistingGround) {
    map_setup(3, 3, 1);
    map_rect(0, 50, 299, 0, (int)0xFF112233u);
    map_backimage(solid_image(300, 3, 0xFFAAAAAAu), 0, 49, 0, 0, 0);
    EXPECT_EQ((uint32_t)map_getcolor(10, 49), 0xFFAAAAAAu);
    EXPECT_EQ((uint32_t)map_getcolor(10, 50), 0xFF112233u);
    EXPECT_EQ((uint32_t)map_getcolor(10, 51), 0xFFAAAAAAu);
}

}  // namespace
