// Pixel-exact image collision: placement by handle, alpha threshold, live
// pixels of locked frames, frames, rotation, scale and mirroring.
#include <gtest/gtest.h>

#include <random>

#include "platform/image.h"

namespace {

constexpr uint32_t kSolid = 0xFF808080;

ImagePtr Filled(int w, int h, float hx = 0, float hy = 0, uint32_t argb = kSolid) {
    ImagePtr image = CreateImage(w, h, 1, 0);
    ClearPixels(*LockImage(image), argb);
    SetImageHandle(image, hx, hy);
    return image;
}

// Rows of '#' (solid) and '.' (empty).
ImagePtr Art(const std::vector<std::string>& rows, float hx = 0, float hy = 0) {
    ImagePtr image = CreateImage((int)rows[0].size(), (int)rows.size(), 1, 0);
    PixmapPtr pm = LockImage(image);
    for (int y = 0; y < (int)rows.size(); y++)
        for (int x = 0; x < (int)rows[y].size(); x++) pm->WritePixel(x, y, rows[y][x] == '#' ? kSolid : 0);
    SetImageHandle(image, hx, hy);
    return image;
}

struct At {
    int x, y;
    bool hit;
};

// A 1x1 dot at each point against the image as placed.
void ExpectDots(const ImagePtr& image, int ix, int iy, float rot, float sx, float sy, std::initializer_list<At> dots) {
    ImagePtr dot = Filled(1, 1);
    for (const At& d : dots)
        EXPECT_EQ(ImagesCollide(image, ix, iy, 0, rot, sx, sy, dot, d.x, d.y, 0, 0, 1, 1), d.hit)
            << "dot at " << d.x << "," << d.y << " rotation " << rot << " scale " << sx << "x" << sy;
}

}  // namespace

TEST(Collide, SquaresOverlapOnlyWhenPixelsShareAPlace) {
    ImagePtr a = Filled(10, 10), b = Filled(10, 10);
    const At cases[] = {{10, 0, false}, {9, 0, true},   {9, 9, true},    {-10, 0, false},
                        {-9, -9, true}, {0, 10, false}, {0, -10, false}, {100, 100, false}};
    for (const At& c : cases) {
        EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, c.x, c.y, 0), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(ImagesCollide(b, c.x, c.y, 0, a, 0, 0, 0), c.hit) << "swapped " << c.x << "," << c.y;
    }
}

TEST(Collide, HandlesPlaceTheImage) {
    // 10x10 with its handle at (5, 5), placed at (20, 20): covers 15..24.
    ExpectDots(Filled(10, 10, 5, 5), 20, 20, 0, 1, 1,
               {{15, 15, true}, {24, 24, true}, {14, 20, false}, {25, 24, false}, {20, 14, false}});
    // A handle on the other image moves it the other way.
    ImagePtr dot = Filled(1, 1, -3, 2);
    EXPECT_TRUE(ImagesCollide(Filled(1, 1), 13, 8, 0, dot, 10, 10, 0));
    EXPECT_FALSE(ImagesCollide(Filled(1, 1), 10, 10, 0, dot, 10, 10, 0));
    // Half-pixel handles: a 3x3 with handle (1.5, 1.5) at (10, 10) covers [8.5, 11.5),
    // sampled at pixel centres 8.5, 9.5 and 10.5.
    ExpectDots(Filled(3, 3, 1.5f, 1.5f), 10, 10, 0, 1, 1,
               {{8, 8, true}, {10, 10, true}, {11, 9, false}, {7, 9, false}, {9, 11, false}});
}

TEST(Collide, OnlyPixelsOfAlphaFromHalfCount) {
    for (auto [alpha, hit] : {std::pair{0u, false}, {127u, false}, {128u, true}, {255u, true}}) {
        ImagePtr a = Filled(1, 1, 0, 0, alpha << 24 | 0xFFFFFF);
        EXPECT_EQ(ImagesCollide(a, 5, 5, 0, Filled(1, 1), 5, 5, 0), hit) << alpha;
    }
    ImagePtr ring = Art({"###", "#.#", "###"});
    ExpectDots(ring, 0, 0, 0, 1, 1, {{1, 1, false}, {0, 1, true}, {2, 2, true}});
}

TEST(Collide, LockedTileWritesCountBeforeAndAfterUnlock) {
    ImagePtr tile = CreateImage(100, 100);  // default flags, like the terrain tiles
    ImagePtr player = Filled(32, 32, 16, 16);
    PixmapPtr pixels = LockImage(tile);
    EXPECT_FALSE(ImagesCollide(player, 60, 60, 0, tile, 0, 0, 0));
    pixels->WritePixel(70, 71, 0xFF00AA00);
    EXPECT_TRUE(ImagesCollide(player, 60, 60, 0, tile, 0, 0, 0));  // written, not yet unlocked
    UnlockImage(tile);
    EXPECT_TRUE(ImagesCollide(player, 60, 60, 0, tile, 0, 0, 0));
    EXPECT_FALSE(ImagesCollide(player, 20, 20, 0, tile, 0, 0, 0));
    // The terrain keeps the pixmap after the unlock and writes on.
    pixels->WritePixel(5, 5, 0xFF00AA00);
    EXPECT_TRUE(ImagesCollide(player, 20, 20, 0, tile, 0, 0, 0));
    pixels->WritePixel(5, 5, 0);
    pixels->WritePixel(70, 71, 0);
    EXPECT_FALSE(ImagesCollide(player, 60, 60, 0, tile, 0, 0, 0));
    // The tile itself placed elsewhere on the map.
    pixels->WritePixel(0, 0, 0xFF00AA00);
    EXPECT_TRUE(ImagesCollide(player, 300 + 16, 200 + 16, 0, tile, 300, 200, 0));
    EXPECT_FALSE(ImagesCollide(player, 300 + 17, 200 + 16, 0, tile, 300, 200, 0));
}

TEST(Collide, EachImageUsesItsOwnFrame) {
    ImagePtr anim = CreateImage(4, 4, 3, 0);
    ClearPixels(*LockImage(anim, 1), kSolid);
    ImagePtr dot = Filled(1, 1);
    EXPECT_FALSE(ImagesCollide(anim, 0, 0, 0, dot, 2, 2, 0));
    EXPECT_TRUE(ImagesCollide(anim, 0, 0, 1, dot, 2, 2, 0));
    EXPECT_FALSE(ImagesCollide(anim, 0, 0, 2, dot, 2, 2, 0));
    EXPECT_FALSE(ImagesCollide(anim, 0, 0, 3, dot, 2, 2, 0));
    EXPECT_FALSE(ImagesCollide(anim, 0, 0, 1, dot, 2, 2, 1));
    EXPECT_FALSE(ImagesCollide(nullptr, 0, 0, 0, dot, 0, 0, 0));
    EXPECT_FALSE(ImagesCollide(dot, 0, 0, 0, nullptr, 0, 0, 0));
}

TEST(Collide, QuarterTurnTurnsClockwiseAboutTheHandle) {
    // A 10x2 bar from its handle at (0, 0) turned by 90 degrees at (50, 50):
    // local (u, v) goes to (50 - v, 50 + u), covering pixels x 48..49, y 50..59.
    ImagePtr bar = Filled(10, 2);
    ExpectDots(bar, 50, 50, 90, 1, 1,
               {{48, 50, true},
                {49, 59, true},
                {48, 55, true},
                {50, 55, false},
                {47, 55, false},
                {49, 60, false},
                {49, 49, false},
                {55, 50, false}});
    // -90 and 270 agree.
    ExpectDots(bar, 50, 50, -90, 1, 1, {{50, 40, true}, {51, 49, true}, {50, 50, false}, {52, 45, false}});
    ExpectDots(bar, 50, 50, 270, 1, 1, {{50, 40, true}, {51, 49, true}, {50, 50, false}, {52, 45, false}});
}

TEST(Collide, ScaleStretchesAndNegativeScaleMirrors) {
    // 2x2 at (10, 10), handle (0, 0), scale 2: covers 10..13.
    ExpectDots(Filled(2, 2), 10, 10, 0, 2, 2, {{10, 10, true}, {13, 13, true}, {14, 13, false}, {13, 14, false}});
    // Only the left pixel of a 4x1 strip is solid; mirrored it lies left of the handle.
    ImagePtr left = Art({"#..."});
    ExpectDots(left, 20, 20, 0, 1, 1, {{20, 20, true}, {19, 20, false}});
    ExpectDots(left, 20, 20, 0, -1, 1, {{19, 20, true}, {20, 20, false}, {16, 20, false}});
    ExpectDots(left, 20, 20, 0, 1, -1, {{20, 19, true}, {20, 20, false}});
    // Scale 0 covers nothing.
    ExpectDots(Filled(4, 4), 0, 0, 0, 0, 1, {{0, 0, false}});
}

TEST(Collide, TurningMirroringOrScalingTheWholeSceneChangesNothing) {
    // Random sparse pictures at random places: the answer for the plain scene
    // must match the answer after the whole scene is turned by quarter turns,
    // mirrored or doubled, which moves world pixel centres onto pixel centres.
    std::mt19937 rng(12345);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto random_image = [&]() {
        int w = pick(1, 12), h = pick(1, 12);
        ImagePtr image = CreateImage(w, h, 1, 0);
        PixmapPtr pm = LockImage(image);
        for (uint32_t& p : pm->pixels) p = pick(0, 2) == 0 ? kSolid : 0x7FFFFFFF;
        SetImageHandle(image, (float)pick(0, w), (float)pick(0, h));
        return image;
    };
    int hits = 0;
    for (int trial = 0; trial < 400; trial++) {
        ImagePtr a = random_image(), b = random_image();
        int ax = pick(-3, 3), ay = pick(-3, 3), bx = pick(-3, 3), by = pick(-3, 3);
        const bool plain = ImagesCollide(a, ax, ay, 0, b, bx, by, 0);
        hits += plain;
        for (int q = 1; q < 4; q++) {
            int rax = ax, ray = ay, rbx = bx, rby = by;
            for (int i = 0; i < q; i++) {
                std::tie(rax, ray) = std::pair(-ray, rax);
                std::tie(rbx, rby) = std::pair(-rby, rbx);
            }
            EXPECT_EQ(ImagesCollide(a, rax, ray, 0, 90.0f * q, 1, 1, b, rbx, rby, 0, 90.0f * q, 1, 1), plain)
                << "trial " << trial << " quarter turns " << q;
        }
        EXPECT_EQ(ImagesCollide(a, -ax, ay, 0, 0, -1, 1, b, -bx, by, 0, 0, -1, 1), plain) << "mirror " << trial;
        EXPECT_EQ(ImagesCollide(a, ax, -ay, 0, 0, 1, -1, b, bx, -by, 0, 0, 1, -1), plain) << "flip " << trial;
        EXPECT_EQ(ImagesCollide(a, 2 * ax, 2 * ay, 0, 0, 2, 2, b, 2 * bx, 2 * by, 0, 0, 2, 2), plain)
            << "double " << trial;
        EXPECT_EQ(ImagesCollide(a, -2 * ay, -2 * ax, 0, 90, -2, 2, b, -2 * by, -2 * bx, 0, 90, -2, 2),
                  ImagesCollide(a, -ax, ay, 0, 0, -1, 1, b, -bx, by, 0, 0, -1, 1))
            << "mirrored, doubled and turned " << trial;
    }
    // The scenes are not all trivially apart or together.
    EXPECT_GT(hits, 80) << hits;
    EXPECT_LT(hits, 320) << hits;
}
