// Rotated stamps and the mask dump.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "platform/image.h"
#include "terrain/rotate.h"
#include "terrain/tiles.h"
#include "terrain_test_util.h"

namespace {

namespace fs = std::filesystem;

// Every pixel distinct: alpha 255, red = x, green = y.
ImagePtr numbered(int w, int h) {
    ImagePtr img = CreateImage(w, h, 1, -1);
    PixmapPtr p = LockImage(img, 0, true, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->WritePixel(x, y, 0xFF000000u | (uint32_t)x << 16 | (uint32_t)y << 8);
    UnlockImage(img, 0);
    return img;
}

TEST(RotateImage, ResultSizeFollowsTheRotatedCorners) {
    struct Case {
        int w, h;
        float angle;
        int nw, nh;
    };
    for (Case c : {Case{10, 6, 0, 10, 7}, {10, 6, 90, 7, 10}, {5, 5, 0, 4, 4}, {10, 6, 180, 10, 7}, {1, 1, 0, 0, 1},
                   {40, 20, 45, 43, 43}}) {
        ImagePtr r = map_rotateimage(numbered(c.w, c.h), c.angle);
        if (c.nw == 0 || c.nh == 0) {
            EXPECT_FALSE(r) << c.w << "x" << c.h << " at " << c.angle;
            continue;
        }
        ASSERT_TRUE(r);
        EXPECT_EQ(ImageWidth(r), c.nw) << c.w << "x" << c.h << " at " << c.angle;
        EXPECT_EQ(ImageHeight(r), c.nh) << c.w << "x" << c.h << " at " << c.angle;
        EXPECT_EQ(r->Frames(), 1);
    }
    EXPECT_FALSE(map_rotateimage(nullptr, 30));
}

TEST(RotateImage, NearestSamplesAndZeroOutsideTheSource) {
    ImagePtr src = numbered(10, 6);
    ImagePtr r = map_rotateimage(src, 0);
    PixmapPtr p = LockImage(r, 0, true, false);
    // Angle 0 is not an exact copy: cos(90) is a hair above 0, so columns
    // left of the centre sample from just above a whole row.
    EXPECT_EQ(p->ReadPixel(5, 3), 0xFF000000u | 5u << 16 | 3u << 8);
    EXPECT_EQ(p->ReadPixel(9, 5), 0xFF000000u | 9u << 16 | 5u << 8);
    EXPECT_EQ(p->ReadPixel(9, 6), 0u);   // the extra row samples row 6: outside
    EXPECT_EQ(p->ReadPixel(0, 6), 0u);
    EXPECT_EQ(p->ReadPixel(0, 3), 0xFF000000u | 0u << 16 | 2u << 8);
    // Every pixel is a source pixel or 0, channel for channel.
    for (uint32_t v : p->pixels) EXPECT_TRUE(v == 0 || (v >> 24) == 255);

    ImagePtr q = map_rotateimage(src, 90);
    PixmapPtr s = LockImage(q, 0, true, false);
    // Clockwise: the source's top row ends up on the right-hand side.
    EXPECT_EQ(s->ReadPixel(6, 5) >> 8 & 255, 0u);
    EXPECT_EQ(s->ReadPixel(0, 5), 0u);   // would sample row 6
    long zeros = 0;
    for (uint32_t v : s->pixels) zeros += v == 0;
    EXPECT_GT(zeros, 0);
    EXPECT_LT(zeros, 10 * 7);
    // The source is untouched.
    PixmapPtr o = LockImage(src, 0, true, false);
    EXPECT_EQ(o->ReadPixel(9, 5), 0xFF000000u | 9u << 16 | 5u << 8);
}

TEST(RotateImage, SameInputSamePixels) {
    ImagePtr src = numbered(37, 23);
    ImagePtr a = map_rotateimage(src, 33.3f), b = map_rotateimage(src, 33.3f);
    EXPECT_EQ(LockImage(a, 0, true, false)->pixels, LockImage(b, 0, true, false)->pixels);
}

TEST(PixelDump, ColumnByColumnOneBytePerCell) {
    map_setup(3, 3, 1);
    Tmap_mask mask(map_xsize, map_ysize);
    mask[0][1] = 1;
    mask[1][0] = 1;
    mask[299][299] = 7;
    std::string path = (fs::temp_directory_path() / ("dump_" + std::to_string(::getpid()) + ".bin")).string();
    EXPECT_EQ(map_pixeldump(mask, path), 0);
    BankPtr b = LoadBank(path);
    ASSERT_TRUE(b);
    ASSERT_EQ(b->Size(), 90000u);
    EXPECT_EQ(b->PeekByte(0), 0);
    EXPECT_EQ(b->PeekByte(1), 1);     // cell (0, 1)
    EXPECT_EQ(b->PeekByte(300), 1);   // cell (1, 0)
    EXPECT_EQ(b->PeekByte(89999), 7);
    // A smaller mask is padded with 0.
    Tmap_mask small(2, 2);
    small[1][1] = 1;
    map_pixeldump(small, path);
    b = LoadBank(path);
    ASSERT_EQ(b->Size(), 90000u);
    EXPECT_EQ(b->PeekByte(301), 1);
    DeleteFile(path);
    EXPECT_EQ(map_pixeldump(mask, "/nonexistent-dir/x/dump.bin"), 0);
    EXPECT_EQ(FileType("/nonexistent-dir/x/dump.bin"), 0);
}

}  // namespace
